// Comment markup: a comment may hold a little HTML written by the programmer (bold, code, lists, tables) and
// names of documented symbols. A comment text builder reads one paragraph (or summary) of a comment, lets
// the 59 allowed HTML tags through to its format's WriteTag, and writes everything else as text: words
// through the output filter's linked-text writer, punctuation and blanks escaped by the filter. DocText
// makes one builder of its output format for every paragraph it writes; the builders themselves are in
// comment_markup_writers.h.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct EvaluationContext;

/// One attribute of a comment tag, as written: the name lower case, the value with its quotes. A name
/// written without "=" has no value and `bare` set.
struct TagAttribute {
  std::string name;
  std::string value;
  bool bare = false;
  bool operator==(const TagAttribute&) const = default;
};
/// The attributes of a tag in the order written; a name occurs once (its first value).
using TagAttributes = std::vector<TagAttribute>;

/// True when `name`, compared ignoring case, is one of the HTML tags a comment may use.
bool isAllowedCommentTag(std::string_view name);

/// True when `c` is a token of its own in comment markup (blank, tab, line break or ASCII punctuation other
/// than "_").
bool isCommentSeparator(char c);

class CommentTextBuilder {
 public:
  /// A builder writing to `out` through the context's filter, linking names within `classContext`; the
  /// context and the class context must outlive the builder.
  CommentTextBuilder(std::ostream& out, const EvaluationContext& context, std::string_view classContext);
  virtual ~CommentTextBuilder() = default;
  CommentTextBuilder(const CommentTextBuilder&) = delete;
  CommentTextBuilder& operator=(const CommentTextBuilder&) = delete;

  /// Writes `text`: allowed tags through WriteTag, the text between them through WriteText. A tag still
  /// open when the text ends is left out.
  void Build(std::string_view text);

 protected:
  /// Writes a recognised tag: `name` in lower case, starting with "/" for a closing tag.
  virtual void WriteTag(std::string_view name, const TagAttributes& attributes) = 0;
  /// Writes a stretch of text that holds no recognised tag.
  virtual void WriteText(std::string_view text) = 0;

  std::ostream& out_;
  const EvaluationContext& context_;
  std::string_view classContext_;
};

}  // namespace quillet
