// Comment markup: a comment may hold a little HTML written by the programmer (bold, code, lists, tables) and
// names of documented symbols. A comment text builder reads one paragraph (or summary) of a comment, lets
// the 59 allowed HTML tags through to its format's WriteTag, and writes everything else as text: words
// through the output filter's linked-text writer, punctuation and blanks escaped by the filter. A tag that
// must be closed (bold, a link, a list) counts as markup only when the paragraph closes it, so text that
// merely looks like a tag ("vector<S>") stays text. Paragraphs made from comment commands or Markdown are
// prepared markup instead: their tags stand between two control characters and everything else is text.
// DocText makes one builder of its output format for every paragraph it writes; the builders themselves are
// in comment_markup_writers.h.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "template_objects/markup.h"

namespace quillet {

struct EvaluationContext;

/// Prepared markup: a tag is written kMarkupTagOpen, the tag's name and attributes as in HTML (values
/// double-quoted), kMarkupTagClose. Every other character is text. Comment text never holds either
/// character (the preparation turns them into blanks).
inline constexpr char kMarkupTagOpen = '\x01';
inline constexpr char kMarkupTagClose = '\x02';

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

/// True when an opening tag `name` (lower case) is markup only when a closing tag follows it: every
/// allowed tag except those that stand alone or whose end HTML leaves implied (br, p, li, td, ...).
bool needsClosingTag(std::string_view name);

/// True when `c` is a token of its own in comment markup (blank, tab, line break or ASCII punctuation other
/// than "_").
bool isCommentSeparator(char c);

/// A stretch of a paragraph as the markup reader cuts it: text (an empty `tag`) or a recognised tag, whose
/// name is lower case and starts with "/" for a closing tag.
struct MarkupPiece {
  size_t begin = 0;
  size_t end = 0;
  std::string tag;
  TagAttributes attributes;
};

/// The pieces of `text`: allowed tags, and the text between them. An opening tag that must be closed and
/// that no closing tag of its name follows is text; a tag still open when the text ends is left out.
std::vector<MarkupPiece> readCommentMarkup(std::string_view text);

/// The tag written in prepared markup between the two markers: its name (lower case) and attributes.
void readPreparedTag(std::string_view written, std::string& name, TagAttributes& attributes);

class CommentTextBuilder {
 public:
  /// A builder writing to `out` through the context's filter, linking names within `classContext`; the
  /// context and the class context must outlive the builder.
  CommentTextBuilder(std::ostream& out, const EvaluationContext& context, std::string_view classContext);
  virtual ~CommentTextBuilder() = default;
  CommentTextBuilder(const CommentTextBuilder&) = delete;
  CommentTextBuilder& operator=(const CommentTextBuilder&) = delete;

  /// Writes the paragraph `text`, or with `limit` its first `limit` bytes: allowed tags through WriteTag,
  /// the text between them through WriteText. Tags the written part leaves open are closed at its end.
  void Build(std::string_view text, size_t limit = std::string_view::npos);
  /// Writes the prepared paragraph `text` (or its first `limit` bytes) the same way.
  void BuildPrepared(std::string_view text, size_t limit = std::string_view::npos);
  /// Makes the text a code block: its words link only to types. Otherwise it is running text, whose words
  /// link to types and, where written as code, to other symbols.
  void setCodeBlock(bool codeBlock) { codeBlock_ = codeBlock; }

 protected:
  /// Writes a recognised tag: `name` in lower case, starting with "/" for a closing tag.
  virtual void WriteTag(std::string_view name, const TagAttributes& attributes) = 0;
  /// Writes a stretch of text that holds no recognised tag.
  virtual void WriteText(std::string_view text) = 0;
  /// Closes what the tags written so far left open (called at the end of every paragraph).
  virtual void EndText() {}

  /// The words the text being written may link: none inside a link the comment writes, every documented
  /// name inside code tags, types only in a code block (or pre tags), running text otherwise.
  LinkWords linkWords() const;
  /// True when the paragraph being written is prepared markup.
  bool prepared() const { return prepared_; }

  std::ostream& out_;
  const EvaluationContext& context_;
  std::string_view classContext_;

 private:
  void tag(std::string_view name, const TagAttributes& attributes);
  void text(std::string_view text);
  void endReference();

  int codeDepth_ = 0;
  int linkDepth_ = 0;
  int preDepth_ = 0;
  bool codeBlock_ = false;
  bool prepared_ = false;
  // A reference being written (a "ref" tag of prepared markup): its target and the text shown for it.
  bool inReference_ = false;
  bool reportUnknown_ = false;  // an explicit reference to nothing documented is reported
  std::string referenceTarget_;
  std::string referenceText_;
};

}  // namespace quillet
