#include "document/external_document.h"

#include <ostream>

#include "common/file_services.h"
#include "common/relative_path.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

ExternalDocument::ExternalDocument(bool is_link, std::string title, std::string file_name, DocText text)
    : isLink_(is_link), text_(std::move(text)), fileName_(std::move(file_name)), title_(std::move(title)) {}

ExternalDocument ExternalDocument::link(std::string title, std::string file_name) {
  return ExternalDocument(true, std::move(title), std::move(file_name), DocText());
}

ExternalDocument ExternalDocument::inserted(std::string title, std::string file_name, DocText text) {
  return ExternalDocument(false, std::move(title), std::move(file_name), std::move(text));
}

bool ExternalDocument::WriteProperty(const EvaluationContext& context, std::string_view property,
                                     std::ostream& out) {
  if (property == "text") {
    text_.WriteFull(context, "", out);
  } else if (property == "name") {
    context.filter->write(out, title_.empty() ? fileName_ : title_);
  } else if (property == "filename") {
    context.filter->write(out, fileName_);
  } else if (property == "html_url") {
    std::string relative;
    if (relativePath(context.outputFolder, fileName_, relative)) {
      out << relative;
    } else {
      out << "file:///" << networkForm(fileName_);
    }
  } else {
    return false;
  }
  return true;
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
  if (property == "text") {
    value = text_.empty() ? 0 : 1;
  } else if (property == "link") {
    value = isLink_ ? 1 : 0;
  } else if (property == "filename") {
    value = fileName_.empty() ? 0 : 1;
  } else {
    return false;
  }
  return true;
}

}  // namespace quillet
