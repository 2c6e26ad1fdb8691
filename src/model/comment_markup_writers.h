// The two comment text builders: HTML output copies the allowed tags (without attributes that could run
// script) and closes at the end of a paragraph what it left open; RTF output turns them into groups and
// control words (for prepared markup also lists, headings and table rows). DocText makes one per paragraph
// it writes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/comment_markup.h"

namespace quillet {

class HTMLCommentTextBuilder final : public CommentTextBuilder {
 public:
  using CommentTextBuilder::CommentTextBuilder;

 protected:
  /// Writes the tag with its attributes as written, leaving out event handlers ("on..."), "javascript:"
  /// values and attributes a browser would read differently from the way they were cut here.
  void WriteTag(std::string_view name, const TagAttributes& attributes) override;
  /// Writes the text linked and HTML-escaped.
  void WriteText(std::string_view text) override;
  /// Closes the tags still open, innermost first.
  void EndText() override;

 private:
  std::vector<std::string> open_;  // the tags written and not yet closed that need a closing tag
};

class RTFCommentTextBuilder final : public CommentTextBuilder {
 public:
  /// A builder that writes `monospaceOpen` and `monospaceClose` around monospace tags (pre, code, kbd, tt,
  /// samp); both must outlive the builder.
  RTFCommentTextBuilder(std::ostream& out, const EvaluationContext& context, std::string_view classContext,
                        std::string_view monospaceOpen, std::string_view monospaceClose);
  /// Closes every group the tags opened and nothing closed (with the monospace closing where it belongs).
  ~RTFCommentTextBuilder() override;

 protected:
  /// An opening tag opens a group with its control word; a closing tag closes the innermost open group (if
  /// any), writing the monospace closing first when a monospace tag opened that group. In prepared markup
  /// a tag that stands alone opens no group, and lists, headings and tables break lines.
  void WriteTag(std::string_view name, const TagAttributes& attributes) override;
  /// Writes the text linked and RTF-escaped, each line break as "\line ".
  void WriteText(std::string_view text) override;

 private:
  struct Group {
    bool monospace = false;  // the monospace closing goes before its "}"
    std::string_view after;  // written after its "}"
  };
  void closeGroup();
  bool writePreparedTag(std::string_view name);

  std::vector<Group> openGroups_;  // the groups opened by tags and not yet closed
  std::string_view monospaceOpen_;
  std::string_view monospaceClose_;
};

/// True when the HTML builder writes `attribute`: a plain name that is no event handler, and a value that
/// is quoted or plain and does not lead to "javascript:" (ignoring case, blanks and character references).
bool isSafeCommentAttribute(const TagAttribute& attribute);

}  // namespace quillet
