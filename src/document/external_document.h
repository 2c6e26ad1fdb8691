// An external document placed in a chapter by the arrangement: a link to a file, a text file inserted as a
// processed comment, or a text embedded in the configuration. Style sheets see it as "external_doc".
#pragma once

#include <string>

#include "model/doc_text.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

class ExternalDocument final : public StyleSheetObject {
 public:
  /// A link to `file_name`.
  static ExternalDocument link(std::string title, std::string file_name);
  /// An inserted (with a file name) or embedded (without) text.
  static ExternalDocument inserted(std::string title, std::string file_name, DocText text);

  ExternalDocument(const ExternalDocument&) = default;
  ExternalDocument& operator=(const ExternalDocument&) = default;
  ExternalDocument(ExternalDocument&&) noexcept = default;
  ExternalDocument& operator=(ExternalDocument&&) noexcept = default;
  ~ExternalDocument() = default;

  bool isLink() const { return isLink_; }
  const DocText& text() const { return text_; }
  const std::string& fileName() const { return fileName_; }
  const std::string& title() const { return title_; }

  /// Writes a property of the document's property table (external_document.cc).
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// "external_doc".
  std::string_view TypeName() const override { return "external_doc"; }
  /// The title, or the file-name part of the file when there is no title.
  std::string FullName() const override;
  /// "d_" and the full name, made an identifier.
  std::string AnchorName() const override;
  /// Answers a test of the document's property table.
  bool Test(std::string_view property, int32_t& value) const override;

 private:
  ExternalDocument(bool is_link, std::string title, std::string file_name, DocText text);

  bool isLink_;
  DocText text_;
  std::string fileName_;
  std::string title_;
};

}  // namespace quillet
