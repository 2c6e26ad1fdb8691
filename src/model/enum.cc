#include "model/enum.h"

#include "model/model_properties.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

std::string_view beforeInitializer(std::string_view enumerator) {
  return enumerator.substr(0, enumerator.find('='));
}

}  // namespace

bool EnumTag::WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) {
  if (property == "tag") {
    writeFiltered(context, out, name);
  } else if (property == "text") {
    doc.WriteFull(context, scope, out);
  } else {
    return false;
  }
  return true;
}

std::string EnumTag::FullName() const {
  std::string full;
  if (!scope.empty()) full = scope + "::";
  full += beforeInitializer(name);
  return full;
}

std::string EnumTag::AnchorName() const {
  std::string anchor = "et_";
  if (!scope.empty()) anchor += scope + "::";
  anchor += name;
  return makeIdentifier(beforeInitializer(anchor));
}

bool EnumTag::Test(std::string_view property, int32_t& value) const {
  if (property != "text") return false;
  value = doc.empty() ? 0 : 1;
  return true;
}

void Enum::ForgetCommentsFrom(std::string_view fileName) {
  forgetCommentFrom(doc, fileName);
  for (EnumTag& tag : tags) forgetCommentFrom(tag.doc, fileName);
}

bool Enum::WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) {
  if (property == "text") {
    doc.WriteFull(context, className, out);
  } else if (property == "text_summary") {
    doc.WriteSummary(context, className, out);
  } else if (property == "name") {
    writeFiltered(context, out, name);
  } else if (property == "file") {
    writeFileProperty(context, out, file);
  } else if (property == "file_url") {
    writeFileUrl(context, out, file);
  } else if (property == "class_name") {
    writeFiltered(context, out, className);
  } else if (property == "namespace") {
    writeFiltered(context, out, nameSpace);
  } else {
    return false;
  }
  return true;
}

std::string Enum::FullName() const {
  return className.empty() ? name : className + "::" + name;
}

std::string Enum::AnchorName() const {
  std::string anchor = "e_";
  if (!nameSpace.empty()) anchor += nameSpace + "_";
  if (!className.empty()) {
    anchor += className + "_sc_";
    anchor += name.empty() ? std::string("__noname") : name;
  } else {
    anchor += name;
  }
  return makeIdentifier(anchor);
}

std::string Enum::FileName(const EvaluationContext&) const {
  return objectFileName(AnchorName());
}

bool Enum::Test(std::string_view property, int32_t& value) const {
  if (testAccess(property, access, value)) return true;
  bool yes;
  if (property == "text") {
    yes = !doc.empty();
  } else if (property == "nameless") {
    yes = name.empty();
  } else if (property == "namespace") {
    yes = !nameSpace.empty();
  } else {
    return false;
  }
  value = yes ? 1 : 0;
  return true;
}

StyleSheetObject* Enum::GetList(std::string_view name) {
  return name == "tag_list" ? tagList_.over(tags) : nullptr;
}

}  // namespace quillet
