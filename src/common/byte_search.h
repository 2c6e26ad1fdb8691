// Finding a byte in a short text. Comment text is read line by line, and its lines are a few dozen
// characters, where a call of the library's search costs more than the search itself. These look at
// sixteen bytes at a time with SSE2 where the machine has it, and at one at a time elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet {

/// How many bytes chunkMask looks at.
inline constexpr size_t kChunkSize = 16;

/// A mask with bit i set when byte i of the kChunkSize bytes at `data` equals `byte`.
inline uint32_t chunkMask(const char* data, char byte) {
#if defined(__SSE2__)
  const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
  return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8(byte))));
#else
  uint32_t mask = 0;
  for (size_t i = 0; i < kChunkSize; ++i)
    if (data[i] == byte) mask |= 1u << i;
  return mask;
#endif
}

/// The position of the first `byte` in `text` at or after `from`, or std::string_view::npos.
inline size_t findByte(std::string_view text, char byte, size_t from = 0) {
  const char* const data = text.data();
  const size_t size = text.size();
  size_t i = from;
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi8(byte);
  for (; i + 16 <= size; i += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const int found = _mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted));
    if (found != 0) return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(found)));
  }
#endif
  for (; i < size; ++i)
    if (data[i] == byte) return i;
  return std::string_view::npos;
}

/// The position of the first `first` or `second` in `text`, or std::string_view::npos.
inline size_t findEitherByte(std::string_view text, char first, char second) {
  const char* const data = text.data();
  const size_t size = text.size();
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i one = _mm_set1_epi8(first);
  const __m128i other = _mm_set1_epi8(second);
  for (; i + 16 <= size; i += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    const int found =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, one), _mm_cmpeq_epi8(chunk, other)));
    if (found != 0) return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(found)));
  }
#endif
  for (; i < size; ++i)
    if (data[i] == first || data[i] == second) return i;
  return std::string_view::npos;
}

/// The position of the first byte at or after `from` in `text` that is one of `Bytes`, or (when
/// `kControls`) a control character below the blank; std::string_view::npos when there is none.
template <bool kControls, char... Bytes>
size_t findAnyOf(std::string_view text, size_t from = 0) {
  const char* const data = text.data();
  const size_t size = text.size();
  size_t i = from;
  const auto wanted = [](char c) {
    return ((c == Bytes) || ...) || (kControls && static_cast<unsigned char>(c) < 0x20);
  };
#if defined(__SSE2__)
  const __m128i below_blank = _mm_set1_epi8(0x1f);
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= size; i += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    __m128i hits = kControls ? _mm_cmpeq_epi8(_mm_subs_epu8(chunk, below_blank), zero) : zero;
    ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(Bytes)))), ...);
    const int found = _mm_movemask_epi8(hits);
    if (found != 0) return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(found)));
  }
#endif
  for (; i < size; ++i)
    if (wanted(data[i])) return i;
  return std::string_view::npos;
}

/// Finds, one after another, the bytes of a text that are one of `Bytes` or (when `kControls`) a control
/// character below the blank. Each chunk of the text is compared once, however many bytes of it are
/// found, which makes it the one to use when the bytes sought are frequent.
template <bool kControls, char... Bytes>
class ByteSetFinder {
 public:
  explicit ByteSetFinder(std::string_view text) : text_(text) {}

  /// The position of the first such byte at or after `from`, or the text's size when none follows.
  /// Successive calls must not ask for an earlier position.
  size_t next(size_t from) {
    const size_t size = text_.size();
#if defined(__SSE2__)
    for (;;) {
      if (has_chunk_ && from < chunk_ + kChunkSize) {
        const uint32_t ahead = mask_ & (~0u << (from - chunk_));
        if (ahead != 0) return chunk_ + static_cast<size_t>(__builtin_ctz(ahead));
        from = chunk_ + kChunkSize;
      }
      if (from + kChunkSize > size) break;
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text_.data() + from));
      __m128i hits = kControls ? _mm_cmpeq_epi8(_mm_subs_epu8(chunk, _mm_set1_epi8(0x1f)), _mm_setzero_si128())
                               : _mm_setzero_si128();
      ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(Bytes)))), ...);
      chunk_ = from;
      mask_ = static_cast<uint32_t>(_mm_movemask_epi8(hits));
      has_chunk_ = true;
    }
#endif
    for (; from < size; ++from) {
      const char c = text_[from];
      if (((c == Bytes) || ...) || (kControls && static_cast<unsigned char>(c) < 0x20)) return from;
    }
    return size;
  }

 private:
  std::string_view text_;
  size_t chunk_ = 0;  // where the chunk whose mask is kept starts
  uint32_t mask_ = 0;
  bool has_chunk_ = false;
};

/// The end of the line that starts at `begin` in `text`: the position of its line break, or the text's end.
inline size_t lineEnd(std::string_view text, size_t begin) {
  const size_t end = findByte(text, '\n', begin);
  return end == std::string_view::npos ? text.size() : end;
}

}  // namespace quillet
