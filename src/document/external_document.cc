#include "document/external_document.h"

#include <cctype>
#include <ostream>

#include "common/file_services.h"
#include "common/relative_path.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/property_table.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

// The inserted or embedded text as processed comment text; nothing for a link.
void writeText(const ExternalDocument& document, const EvaluationContext& context, std::ostream& out) {
  document.text().WriteFull(context, "", out);
}

// The title, or the file as given when there is no title.
void writeName(const ExternalDocument& document, const EvaluationContext& context, std::ostream& out) {
  context.filter->write(out, document.title().empty() ? document.fileName() : document.title());
}

void writeFileName(const ExternalDocument& document, const EvaluationContext& context, std::ostream& out) {
  context.filter->write(out, document.fileName());
}

// A reference to the document's file from the output folder: a relative path when there is one, else
// "file:///" and the path.
void writeHtmlUrl(const ExternalDocument& document, const EvaluationContext& context, std::ostream& out) {
  std::string relative;
  if (!relativePath(context.outputFolder, document.fileName(), relative))
    relative = "file:///" + networkForm(document.fileName());
  // In HTML escaped, so that a quote or an ampersand in a path cannot end the attribute it stands in.
  if (context.filter && context.filter->markupKind() == kHtmlMarkup) {
    writeHtmlEscaped(out, relative);
  } else {
    out << relative;
  }
}

// A copy of the document's file in the output folder, so that the site holds everything it links to: the
// copy's name, HTML-escaped. The copy is named after the whole path, so that two documents of one name in
// different folders get copies of their own.
void writeSiteUrl(const ExternalDocument& document, const EvaluationContext& context, std::ostream& out) {
  const std::string& file = document.fileName();
  if (file.empty()) return;
  const size_t slash = file.find_last_of("/\\");
  const size_t dot = file.rfind('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasExtension ? file.substr(0, dot) : file;
  std::string extension = hasExtension ? file.substr(dot) : std::string();
  for (char& c : extension)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.') c = '_';
  const std::string name = outputFileName("doc_" + makeIdentifier(stem)) + extension;
  if (context.currentFile != context.outputFolder + name) copyToOutput(file, context.outputFolder + name);
  writeHtmlEscaped(out, name);
}

}  // namespace

ExternalDocument::ExternalDocument(bool is_link, std::string title, std::string file_name, DocText text)
    : isLink_(is_link), text_(std::move(text)), fileName_(std::move(file_name)), title_(std::move(title)) {}

ExternalDocument ExternalDocument::link(std::string title, std::string file_name) {
  return ExternalDocument(true, std::move(title), std::move(file_name), DocText());
}

ExternalDocument ExternalDocument::inserted(std::string title, std::string file_name, DocText text) {
  return ExternalDocument(false, std::move(title), std::move(file_name), std::move(text));
}

template <>
struct PropertyTable<ExternalDocument> {
  static constexpr PropertyRow<ExternalDocument> kDocumentRows[] = {
      {"text", writeText, testNotEmpty<ExternalDocument, &ExternalDocument::text>},
      {"name", writeName},
      {"filename", writeFileName, testNotEmpty<ExternalDocument, &ExternalDocument::fileName>},
      {"html_url", writeHtmlUrl},
      {"site_url", writeSiteUrl},
      {"link", nullptr, testValue<ExternalDocument, &ExternalDocument::isLink>},
  };
  static constexpr auto kRows = propertyRows(kDocumentRows);
};

bool ExternalDocument::WriteProperty(const EvaluationContext& context, std::string_view property,
                                     std::ostream& out) {
  return writeProperty(*this, property, context, out);
}

std::string ExternalDocument::FullName() const {
  if (!title_.empty()) return title_;
  const size_t cut = fileName_.find_last_of("/\\");
  return cut == std::string::npos ? fileName_ : fileName_.substr(cut + 1);
}

std::string ExternalDocument::AnchorName() const {
  return makeIdentifier("d_" + FullName());
}

bool ExternalDocument::Test(std::string_view property, int32_t& value) const {
  return testProperty(*this, property, value);
}

}  // namespace quillet
