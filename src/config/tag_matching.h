// Finding and applying comment tags in the text of a declaration comment. Comment text processing calls
// findTagMatches and then applyTags before cutting the text into paragraphs, and keeps the changed match
// list to choose each paragraph's formatting.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/pattern.h"
#include "config/comment_tag.h"

namespace quillet {

/// One occurrence of a tag in a comment text.
struct TagMatch {
  size_t tagIndex = 0;  // index of the tag in the configuration's list
  size_t length = 0;
  size_t position = 0;
  bool operator==(const TagMatch&) const = default;
};

/// The tags of a configuration with their names compiled once, for matching many comments.
class TagMatcher {
 public:
  /// Compiles every tag name; a name that does not compile never matches.
  explicit TagMatcher(const std::vector<CommentTag>& tags);
  /// The matches of all tags in `text`, sorted by position (tag order among equal positions), with
  /// overlaps resolved in favour of the longer match (the earlier one when equally long).
  std::vector<TagMatch> find(std::string_view text) const;

 private:
  std::vector<Pattern> patterns_;
};

/// The tag matches of `tags` in `text`, as TagMatcher::find gives them.
std::vector<TagMatch> findTagMatches(std::string_view text, const std::vector<CommentTag>& tags);

/// `text` with the tags' operations applied at `matches` (sorted, without overlaps, as found); the matches
/// are updated to their positions and lengths in the returned text.
std::string applyTags(std::string_view text, std::vector<TagMatch>& matches,
                      const std::vector<CommentTag>& tags);

}  // namespace quillet
