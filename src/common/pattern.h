// The small pattern engine behind every user-supplied name pattern (comment tags, symbol and file names of
// the arrangement) and the fixed patterns of the style sheet reader. Not POSIX: literals, ".", classes,
// the closures "*", "+" and "?", and the anchors "^" and "$"; greedy, backtracking, leftmost search.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillet {

class Pattern {
 public:
  enum Status { kOk = 0, kIllegal = 1, kNoMemory = 2, kMalformed = 3 };
  static constexpr size_t kMaxElements = 128;  // including the end marker
  static constexpr size_t npos = static_cast<size_t>(-1);

  struct Match {
    size_t position = npos;  // npos when nothing matched
    size_t length = 0;
    /// True when the search found a match.
    bool found() const { return position != npos; }
  };

  /// An empty, illegal pattern.
  Pattern();
  /// Compiles `text`; check status() before searching.
  explicit Pattern(std::string_view text);

  /// Compiles `text`, replacing the pattern held so far.
  void compile(std::string_view text);
  /// 0 ok, 1 illegal, 2 no memory, 3 too long or malformed.
  int status() const { return status_; }
  /// True when the pattern compiled and may be searched with.
  bool ok() const { return status_ == kOk; }

  /// The leftmost match at or after `start`; never allocates. Only for patterns whose status is ok; any
  /// other pattern, and a start beyond the subject, finds nothing.
  Match search(std::string_view subject, size_t start = 0) const;
  /// True when the leftmost match from position 0 covers the whole subject.
  bool matchesWhole(std::string_view subject) const;

 private:
  std::array<uint16_t, kMaxElements> elements_{};
  size_t length_ = 0;  // elements in use, without the end marker
  int status_ = kIllegal;
};

}  // namespace quillet
