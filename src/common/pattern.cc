#include "common/pattern.h"

#include <algorithm>
#include <cstring>

namespace quillet {

namespace {

// Element codes. A literal is its byte value (0 to 255); every other element has the top bit set. A class
// element is followed by 16 words holding its 256-bit membership set; a closure element stands in front
// of the element it repeats.
constexpr uint16_t kEnd = 0x8000;
constexpr uint16_t kEndAnchor = 0x8001;
constexpr uint16_t kStartAnchor = 0x8002;
constexpr uint16_t kAny = 0x8003;
constexpr uint16_t kClass = 0x8004;
constexpr uint16_t kStar = 0x8005;
constexpr uint16_t kPlus = 0x8006;
constexpr uint16_t kOptional = 0x8007;

constexpr size_t kClassWords = 16;
constexpr size_t kClassWidth = 1 + kClassWords;
// Elements that may carry the pattern; the last slot of the array is kept for the end marker.
constexpr size_t kPatternRoom = Pattern::kMaxElements - 1;

bool isLiteral(uint16_t code) {
  return code < 0x100;
}
bool isClosure(uint16_t code) {
  return code == kStar || code == kPlus || code == kOptional;
}
bool isAnchor(uint16_t code) {
  return code == kEndAnchor || code == kStartAnchor;
}
size_t widthAt(const uint16_t* elements, size_t i) {
  return elements[i] == kClass ? kClassWidth : 1;
}

bool isOctal(char c) {
  return c >= '0' && c <= '7';
}
bool isAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = lowerAscii(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads one character of the pattern at `i`, which may be an escape, and leaves `i` after it.
unsigned readCharacter(std::string_view text, size_t& i) {
  const char first = text[i++];
  if (first != '\\') return static_cast<unsigned char>(first);
  if (i == text.size()) return '\\';  // a backslash ending the pattern is itself
  const char c = text[i++];
  switch (lowerAscii(c)) {
    case 'b':
      return 8;
    case 'e':
      return 27;
    case 'f':
      return 12;
    case 'n':
      return 10;
    case 'r':
      return 13;
    case 's':
      return 32;
    case 't':
      return 9;
    case 'x': {
      unsigned value = 0;
      for (int digits = 0; digits < 2 && i < text.size() && hexValue(text[i]) >= 0; ++digits) {
        value = value * 16 + static_cast<unsigned>(hexValue(text[i++]));
      }
      return value;
    }
    case '^':
      if (i < text.size() && isAsciiLetter(text[i])) {
        const char letter = text[i++];
        return static_cast<unsigned>(letter >= 'a' ? letter - 'a' + 'A' : letter) - 64;
      }
      return '^';
    default:
      break;
  }
  if (isOctal(c)) {
    unsigned value = static_cast<unsigned>(c - '0');
    for (int digits = 1; digits < 3 && i < text.size() && isOctal(text[i]); ++digits) {
      value = value * 8 + static_cast<unsigned>(text[i++] - '0');
    }
    return value & 0xFF;
  }
  return static_cast<unsigned char>(c);
}

void addMember(uint16_t* set, unsigned c) {
  set[c >> 4] |= static_cast<uint16_t>(1u << (c & 15));
}

// Reads a class after its "[" into `set`; false when the pattern ends before the closing "]".
bool readClass(std::string_view text, size_t& i, uint16_t* set) {
  std::fill(set, set + kClassWords, uint16_t{0});
  bool negated = false;
  if (i < text.size() && text[i] == '^') {
    negated = true;
    ++i;
  }
  for (;;) {
    if (i >= text.size()) return false;
    if (text[i] == ']') {
      ++i;
      break;
    }
    unsigned low = readCharacter(text, i);
    if (i + 1 < text.size() && text[i] == '-' && text[i + 1] != ']') {
      ++i;
      unsigned high = readCharacter(text, i);
      if (low > high) std::swap(low, high);
      for (unsigned c = low; c <= high; ++c) addMember(set, c);
    } else {
      addMember(set, low);
    }
  }
  if (negated) {
    for (size_t w = 0; w < kClassWords; ++w) set[w] = static_cast<uint16_t>(~set[w]);
  }
  return true;
}

// Compiles `text` into `out` (room for kMaxElements); gives the status and the element count.
int compileElements(std::string_view text, uint16_t* out, size_t& count) {
  count = 0;
  if (text.empty() || text[0] == '*' || text[0] == '+' || text[0] == '?') return Pattern::kIllegal;
  size_t last = 0;  // where the element stored last begins
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (count >= kPatternRoom) return Pattern::kMalformed;
    if (c == '*' || c == '+' || c == '?') {
      if (isAnchor(out[last]) || isClosure(out[last])) return Pattern::kMalformed;
      std::memmove(out + last + 1, out + last, (count - last) * sizeof(uint16_t));
      out[last] = c == '*' ? kStar : c == '+' ? kPlus : kOptional;
      ++count;
      ++i;
      continue;  // `last` now marks the closure, so a second closure in a row is refused
    }
    last = count;
    if (c == '$' && i + 1 == text.size()) {
      out[count++] = kEndAnchor;
      ++i;
    } else if (c == '^' && count == 0) {
      out[count++] = kStartAnchor;
      ++i;
    } else if (c == '.') {
      out[count++] = kAny;
      ++i;
    } else if (c == '[') {
      // The class and the end marker after it must both fit.
      if (count + kClassWidth > kPatternRoom) return Pattern::kMalformed;
      ++i;
      if (!readClass(text, i, out + count + 1)) return Pattern::kMalformed;
      out[count] = kClass;
      count += kClassWidth;
    } else {
      out[count++] = static_cast<uint16_t>(readCharacter(text, i));
    }
  }
  out[count] = kEnd;
  return Pattern::kOk;
}

// One search over one subject. Besides walking the elements it remembers, for each closure, the last
// greedy run it made and the stretch of positions at which the rest of the pattern is known to fail.
// Whether the rest matches at a position does not depend on how the position was reached, so skipping
// known failures never changes which match is found; it keeps nested closures such as a*a*a*b from
// backtracking exponentially and repeated attempts over one long run from going quadratic.
class Matcher {
 public:
  Matcher(const uint16_t* elements, size_t length, std::string_view subject)
      : el_(elements), s_(reinterpret_cast<const unsigned char*>(subject.data())), n_(subject.size()) {
    for (size_t i = 0; i < length; ++i) {
      run_from_[i] = Pattern::npos;
      run_end_[i] = 0;
      fail_low_[i] = 1;
      fail_high_[i] = 0;
    }
  }

  // The end of a match of the elements from `i` on at position `p`, or npos.
  size_t match(size_t i, size_t p) {
    for (;;) {
      const uint16_t code = el_[i];
      if (isLiteral(code)) {
        if (p < n_ && s_[p] == code) {
          ++p;
          ++i;
          continue;
        }
        return Pattern::npos;
      }
      switch (code) {
        case kEnd:
          return p;
        case kEndAnchor:
          if (p != n_) return Pattern::npos;
          ++i;
          break;
        case kStartAnchor:  // only ever first, and consumed by the search itself
          ++i;
          break;
        case kAny:
        case kClass:
          if (p < n_ && matchesOne(i, s_[p])) {
            ++p;
            i += widthAt(el_, i);
            break;
          }
          return Pattern::npos;
        case kOptional:
          if (p < n_ && matchesOne(i + 1, s_[p])) ++p;
          i += 1 + widthAt(el_, i + 1);
          break;
        default:
          return closure(i, p);
      }
    }
  }

 private:
  bool matchesOne(size_t i, unsigned char c) const {
    const uint16_t code = el_[i];
    if (isLiteral(code)) return code == c;
    if (code == kAny) return c != '\n';
    return (el_[i + 1 + (c >> 4)] >> (c & 15)) & 1;
  }

  // A "*" or "+" closure at `i`: the longest run first, then ever shorter ones.
  size_t closure(size_t i, size_t p) {
    const size_t operand = i + 1;
    const size_t next = operand + widthAt(el_, operand);
    size_t from = p;
    if (el_[i] == kPlus) {
      if (p >= n_ || !matchesOne(operand, s_[p])) return Pattern::npos;
      from = p + 1;
    }
    size_t end;
    if (run_from_[i] <= from && from <= run_end_[i]) {
      end = run_end_[i];  // inside the run found before: it ends at the same place
    } else {
      // Scan, joining the run found before when this one reaches its start.
      end = from;
      while (end < n_ && matchesOne(operand, s_[end])) {
        if (++end == run_from_[i]) {
          end = run_end_[i];
          break;
        }
      }
      run_from_[i] = from;
      run_end_[i] = end;
    }
    if (el_[next] == kEnd) return end;

    size_t& low = fail_low_[i];
    size_t& high = fail_high_[i];
    for (size_t pos = end;;) {
      if (low <= pos && pos <= high) {
        if (low <= from) break;
        pos = low - 1;
        continue;
      }
      const size_t result = match(next, pos);
      if (result != Pattern::npos) return result;
      if (pos == from) break;
      --pos;
    }
    // Every position from `from` to `end` failed; keep one stretch, merged when the two touch.
    if (low <= high && low <= end + 1 && from <= high + 1) {
      low = std::min(low, from);
      high = std::max(high, end);
    } else {
      low = from;
      high = end;
    }
    return Pattern::npos;
  }

  const uint16_t* el_;
  const unsigned char* s_;
  size_t n_;
  size_t run_from_[Pattern::kMaxElements];
  size_t run_end_[Pattern::kMaxElements];
  size_t fail_low_[Pattern::kMaxElements];
  size_t fail_high_[Pattern::kMaxElements];
};

}  // namespace

Pattern::Pattern() {
  elements_[0] = kEnd;
}

Pattern::Pattern(std::string_view text) {
  compile(text);
}

void Pattern::compile(std::string_view text) {
  status_ = compileElements(text, elements_.data(), length_);
  if (status_ != kOk) {
    elements_[0] = kEnd;
    length_ = 0;
  }
}

Pattern::Match Pattern::search(std::string_view subject, size_t start) const {
  Match found;
  if (status_ != kOk || start > subject.size()) return found;
  Matcher matcher(elements_.data(), length_, subject);
  if (elements_[0] == kStartAnchor) {
    const size_t end = matcher.match(1, start);
    if (end != npos) found = {start, end - start};
    return found;
  }
  const uint16_t first = elements_[0];
  for (size_t at = start;; ++at) {
    if (isLiteral(first)) {
      // An attempt can only succeed where the first literal occurs.
      const void* hit =
          at < subject.size() ? std::memchr(subject.data() + at, first, subject.size() - at) : nullptr;
      if (!hit) break;
      at = static_cast<size_t>(static_cast<const char*>(hit) - subject.data());
    }
    const size_t end = matcher.match(0, at);
    if (end != npos) return {at, end - at};
    if (at >= subject.size()) break;
  }
  return found;
}

bool Pattern::matchesWhole(std::string_view subject) const {
  const Match match = search(subject, 0);
  return match.position == 0 && match.length == subject.size();
}

}  // namespace quillet
