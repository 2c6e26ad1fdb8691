// Finding bytes in short texts. Comment text is read line by line, and its lines are a few dozen
// characters, where a call of the library's search costs more than the search itself. These look at
// sixteen bytes at a time with SSE2 where the machine has it (the last bytes of a text too, through a
// chunk that ends where the text ends), and at one at a time elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet {

/// How many bytes a chunk holds.
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

namespace byte_search_detail {

// A mask of the lowest `count` bits (count <= kChunkSize).
inline uint32_t lowBits(size_t count) {
  return (1u << count) - 1;
}

#if defined(__SSE2__)
inline __m128i loadChunk(const char* data) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
}

// The chunk that holds the last bytes of `text` (not empty): the one that ends where the text ends, or a
// copy padded with zeros when the text is shorter than a chunk. `start` is where it starts in the text.
inline __m128i lastChunk(std::string_view text, size_t& start) {
  if (text.size() >= kChunkSize) {
    start = text.size() - kChunkSize;
    return loadChunk(text.data() + start);
  }
  alignas(16) char copy[kChunkSize] = {};
  std::memcpy(copy, text.data(), text.size());
  start = 0;
  return _mm_load_si128(reinterpret_cast<const __m128i*>(copy));
}

// A mask of the bytes of `chunk` that are one of `Bytes` or (when `kControls`) below the blank.
template <bool kControls, char... Bytes>
uint32_t hitsIn(__m128i chunk) {
  const __m128i zero = _mm_setzero_si128();
  __m128i hits = kControls ? _mm_cmpeq_epi8(_mm_subs_epu8(chunk, _mm_set1_epi8(0x1f)), zero) : zero;
  ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(Bytes)))), ...);
  return static_cast<uint32_t>(_mm_movemask_epi8(hits));
}
#endif

template <bool kControls, char... Bytes>
bool isHit(char c) {
  return ((c == Bytes) || ...) || (kControls && static_cast<unsigned char>(c) < 0x20);
}

// The first position at or after `from` in `text` whose byte `chunkHits` (a chunk's mask of hits, with
// SSE2) or `byteHit` (one byte's, without) says is sought; std::string_view::npos when there is none.
template <class ChunkHits, class ByteHit>
size_t findFirst(std::string_view text, size_t from, ChunkHits chunkHits, ByteHit byteHit) {
  const size_t size = text.size();
#if defined(__SSE2__)
  (void)byteHit;
  for (; from + kChunkSize <= size; from += kChunkSize) {
    const uint32_t hits = chunkHits(loadChunk(text.data() + from));
    if (hits != 0) return from + static_cast<size_t>(__builtin_ctz(hits));
  }
  if (from >= size) return std::string_view::npos;
  size_t start = 0;
  const uint32_t hits = chunkHits(lastChunk(text, start)) & lowBits(size - start) & ~lowBits(from - start);
  return hits != 0 ? start + static_cast<size_t>(__builtin_ctz(hits)) : std::string_view::npos;
#else
  (void)chunkHits;
  for (; from < size; ++from)
    if (byteHit(text[from])) return from;
  return std::string_view::npos;
#endif
}

}  // namespace byte_search_detail

/// The position of the first `byte` in `text` at or after `from`, or std::string_view::npos.
inline size_t findByte(std::string_view text, char byte, size_t from = 0) {
#if defined(__SSE2__)
  const auto chunk_hits = [wanted = _mm_set1_epi8(byte)](__m128i chunk) {
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted)));
  };
#else
  const std::nullptr_t chunk_hits = nullptr;
#endif
  return byte_search_detail::findFirst(text, from, chunk_hits, [byte](char c) { return c == byte; });
}

/// The position of the first `first` or `second` in `text`, or std::string_view::npos.
inline size_t findEitherByte(std::string_view text, char first, char second) {
#if defined(__SSE2__)
  const auto chunk_hits = [one = _mm_set1_epi8(first), other = _mm_set1_epi8(second)](__m128i chunk) {
    return static_cast<uint32_t>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, one), _mm_cmpeq_epi8(chunk, other))));
  };
#else
  const std::nullptr_t chunk_hits = nullptr;
#endif
  return byte_search_detail::findFirst(text, 0, chunk_hits,
                                       [first, second](char c) { return c == first || c == second; });
}

/// The position of the first byte at or after `from` in `text` that is one of `Bytes`, or (when
/// `kControls`) a control character below the blank; std::string_view::npos when there is none.
template <bool kControls, char... Bytes>
size_t findAnyOf(std::string_view text, size_t from = 0) {
#if defined(__SSE2__)
  const auto chunk_hits = byte_search_detail::hitsIn<kControls, Bytes...>;
#else
  const std::nullptr_t chunk_hits = nullptr;
#endif
  return byte_search_detail::findFirst(text, from, chunk_hits,
                                       byte_search_detail::isHit<kControls, Bytes...>);
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
        const uint32_t ahead = mask_ & ~byte_search_detail::lowBits(from - chunk_);
        if (ahead != 0) return chunk_ + static_cast<size_t>(__builtin_ctz(ahead));
        from = chunk_ + kChunkSize;
      }
      if (from >= size) return size;
      has_chunk_ = true;
      if (from + kChunkSize <= size) {
        chunk_ = from;
        mask_ = byte_search_detail::hitsIn<kControls, Bytes...>(
            byte_search_detail::loadChunk(text_.data() + from));
      } else {
        // The last chunk may start before `from`; its bits from there on are what is left.
        const __m128i last = byte_search_detail::lastChunk(text_, chunk_);
        mask_ = byte_search_detail::hitsIn<kControls, Bytes...>(last) &
                byte_search_detail::lowBits(size - chunk_);
      }
    }
#else
    for (; from < size; ++from)
      if (byte_search_detail::isHit<kControls, Bytes...>(text_[from])) return from;
    return size;
#endif
  }

 private:
  std::string_view text_;
  size_t chunk_ = 0;  // where the chunk whose mask is kept starts
  uint32_t mask_ = 0;
  bool has_chunk_ = false;
};

/// The position of the first byte at or after `from` in `text` that is not a blank (" "), or the text's
/// size when there is none. Comment lines start with the blanks left where their markers were.
inline size_t skipBlanks(std::string_view text, size_t from = 0) {
  for (; from + kChunkSize <= text.size(); from += kChunkSize) {
    const uint32_t blanks = chunkMask(text.data() + from, ' ');
    if (blanks != (1u << kChunkSize) - 1) return from + static_cast<size_t>(__builtin_ctz(~blanks));
  }
  while (from < text.size() && text[from] == ' ') ++from;
  return from;
}

/// The end of the line that starts at `begin` in `text`: the position of its line break, or the text's end.
inline size_t lineEnd(std::string_view text, size_t begin) {
  const size_t end = findByte(text, '\n', begin);
  return end == std::string_view::npos ? text.size() : end;
}

}  // namespace quillet
