// DocText: a processed source comment. The raw comment text is cleaned of comment markers, stripped of its
// "$$(assign, target)" directives, filtered through the configuration's comment tags, cut into paragraphs
// and each paragraph kept as preformatted text or reflowed as prose. A comment written with comment
// commands (@brief, @param, @code, ...) or read as Markdown is also split into its description and its
// sections (CommentSections), and its paragraphs are prepared markup. The code model builder makes one for
// every comment, the model objects and chapters hold them and write them for the "text", "text_summary",
// "details" and section properties; a comment is also a style sheet object of its own ("text").
//
// Comments are made for every declaration of every header and copied wherever a model object is copied,
// so the processed data is immutable and shared between copies; an empty comment allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/comment_paragraphs.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

struct CommentSections;

class DocText : public StyleSheetObject {
 public:
  /// The levels a comment starts from.
  static constexpr int32_t kDeclarationLevel = kAutoLevel;  // comments before or after declarations
  static constexpr int32_t kParameterLevel = kFlowLevel;    // parameter and enumerator comments
  static constexpr int32_t kPreformatted = kPreformattedLevel;

  /// Comments longer than this are shown as text, without reading their commands or Markdown.
  static constexpr size_t kLongestStructuredComment = 256 * 1024;

  /// An empty comment.
  DocText() = default;
  /// Processes `rawText` with the run's configuration (defaults outside a run); comment tags are applied
  /// when `applyTags` is set. Bad directives are reported through the run's message output, naming
  /// `fileName`, and left out of the text.
  DocText(std::string_view rawText, bool applyTags, int32_t level, std::string fileName);

  /// Copies share the processed text, so copying a comment allocates nothing.
  DocText(const DocText&) = default;
  DocText& operator=(const DocText&) = default;
  DocText(DocText&&) noexcept = default;
  DocText& operator=(DocText&&) noexcept = default;
  ~DocText() = default;

  /// A comment made of paragraphs already formatted (the text of a section), as found in `fileName`.
  static DocText fromParagraphs(std::vector<DocParagraph> paragraphs, std::string fileName);

  /// True when the comment had no text or nothing of it is left to show.
  bool empty() const { return !data_ || (data_->paragraphs.empty() && !data_->sections); }
  /// The summed length of the paragraphs' texts (and of the sections' texts).
  size_t size() const { return data_ ? data_->size : 0; }
  /// The sections the comment's commands wrote, or null when it has none.
  const CommentSections* sections() const { return data_ ? data_->sections.get() : nullptr; }
  /// The text @param gave the parameter `name`, or null.
  const DocText* parameterText(std::string_view name) const;
  /// The names the comment's @copydoc commands named.
  std::span<const std::string> copyTargets() const;
  /// True when the comment documents something the code model does not hold (a file, a namespace, a
  /// group): it belongs to no declaration.
  bool documentsNoDeclaration() const { return data_ && data_->documentsNoDeclaration; }
  /// The paragraphs in order.
  std::span<const DocParagraph> paragraphs() const;
  /// The targets named by the comment's "assign" directives, in text order.
  std::span<const std::string> directiveTargets() const;
  /// The level the comment started from (4 for a comment made from no text).
  int32_t level() const { return data_ ? data_->level : kPreformatted; }
  /// True when the comment tags were applied.
  bool applyTags() const { return data_ && data_->applyTags; }
  /// The source file the comment came from (empty for a comment made from no text).
  const std::string& fileName() const;

  /// Appends the paragraphs of `other`, in order. A comment made from no text takes over `other` whole, so
  /// that appending to an absent comment shows what was appended.
  void append(const DocText& other);
  /// Makes this an empty comment.
  void clear() { data_.reset(); }

  /// Writes every paragraph for the context's output format (HTML when its filter writes HTML markup, RTF
  /// otherwise), then the sections; names are linked within `classContext`.
  void WriteFull(const EvaluationContext& context, std::string_view classContext, std::ostream& out) const;
  /// Writes the paragraphs without the sections.
  void WriteDetails(const EvaluationContext& context, std::string_view classContext, std::ostream& out) const;
  /// Writes the brief (@brief), else the first sentence of the first paragraph (the whole first paragraph
  /// when the run's configuration turns automatic briefs off), without paragraph markup; nothing when
  /// empty.
  void WriteSummary(const EvaluationContext& context, std::string_view classContext, std::ostream& out) const;

  /// Knows "text": writes the full comment with no class context.
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// "text".
  std::string_view TypeName() const override { return "text"; }
  /// Knows "text": 1 when the comment is not empty.
  bool Test(std::string_view property, int32_t& value) const override;

 private:
  struct Data {
    std::vector<DocParagraph> paragraphs;
    std::vector<std::string> directiveTargets;
    std::string fileName;
    size_t size = 0;
    int32_t level = kDeclarationLevel;
    bool applyTags = false;
    bool documentsNoDeclaration = false;
    std::shared_ptr<const CommentSections> sections;  // null when the comment has none
    std::vector<std::string> copyTargets;
  };

  void writeParagraphs(const EvaluationContext& context, std::string_view classContext, bool withSections,
                       std::ostream& out) const;

  // Reads the commands (and with `markdown` the Markdown) of the cleaned `text` into `data`; false when it
  // holds none and is to be read as before (doc_text_structured.cc).
  static bool readStructured(std::string_view text, std::span<const TagRegion> regions,
                             const ParagraphOptions& options, bool markdown, Data& data);

  std::shared_ptr<const Data> data_;
};

}  // namespace quillet
