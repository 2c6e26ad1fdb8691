#include "model/class.h"

#include <ostream>

#include "config/configuration.h"
#include "model/model_properties.h"
#include "template_objects/markup.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

int32_t clampedSum(int64_t sum) {
  return sum > INT32_MAX ? INT32_MAX : static_cast<int32_t>(sum);
}

}  // namespace

Function& Class::AddFunction(Function function) {
  function.nameSpace = nameSpace;
  function.className = name;
  return functions->emplace_back(std::move(function));
}

void Class::AddData(std::string type, std::string name, DocText comment, int32_t access) {
  DataDecl& data = dataMembers.emplace_back();
  data.type = std::move(type);
  data.name = std::move(name);
  data.doc = std::move(comment);
  data.access = access;
  data.className = this->name;
}

void Class::AddParent(int32_t access, std::string name) {
  parents.push_back({std::move(name), access});
}

bool Class::SameClass(const Class& other) const {
  return name == other.name && nameSpace == other.nameSpace;
}

void Class::UnshareFunctions() {
  functions = std::make_shared<FunctionList>(*functions);
}

void Class::ForgetCommentsFrom(std::string_view fileName) {
  forgetCommentFrom(doc, fileName);
  for (Function& function : *functions) function.ForgetCommentsFrom(fileName);
  for (DataDecl& data : dataMembers) forgetCommentFrom(data.doc, fileName);
  for (Enum& nested : enums) nested.ForgetCommentsFrom(fileName);
}

int32_t Class::totalSize() const {
  int64_t sum = 0;
  for (const Function& function : *functions) sum += function.size;
  return clampedSum(sum);
}

int32_t Class::totalMcCabe() const {
  int64_t sum = 0;
  for (const Function& function : *functions) sum += function.mccabe;
  return clampedSum(sum);
}

int32_t Class::countWithAccess(int32_t wanted) const {
  int64_t count = 0;
  for (const Function& function : *functions) count += function.access == wanted ? 1 : 0;
  return clampedSum(count);
}

bool Class::WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) {
  if (property == "class_type") {
    writeFiltered(context, out, classType);
  } else if (property == "name") {
    writeFiltered(context, out, name);
  } else if (property == "size") {
    out << totalSize();
  } else if (property == "mccabe") {
    out << totalMcCabe();
  } else if (property == "text") {
    doc.WriteFull(context, name, out);
  } else if (property == "text_summary") {
    doc.WriteSummary(context, name, out);
  } else if (property == "file") {
    writeFileProperty(context, out, file);
  } else if (property == "file_url") {
    writeFileUrl(context, out, file);
  } else if (property == "namespace") {
    writeFiltered(context, out, nameSpace);
  } else if (property == "template") {
    writeFiltered(context, out, templatePrefix);
  } else if (property == "parent_list") {
    const Configuration& configuration = runConfiguration();
    bool first = true;
    for (const BaseClass& base : parents) {
      if (!configuration.isDocumented(base.access)) continue;
      out << (first ? " : " : ", ");
      first = false;
      out << (base.access == kAccessPublic      ? "public "
              : base.access == kAccessProtected ? "protected "
                                                : "private ");
      writeLinkedText(context, out, base.name, "");
    }
  } else if (property == "number_public_members") {
    out << countWithAccess(kAccessPublic);
  } else if (property == "number_protected_members") {
    out << countWithAccess(kAccessProtected);
  } else if (property == "number_private_members") {
    out << countWithAccess(kAccessPrivate);
  } else {
    return false;
  }
  return true;
}

std::string Class::FullName() const {
  return name;
}

std::string Class::AnchorName() const {
  std::string text = "c_";
  if (!nameSpace.empty()) text += nameSpace + "::";
  text += name;
  std::string anchor;
  anchor.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ':' && i + 1 < text.size() && text[i + 1] == ':') {
      anchor += "_scp_";
      ++i;
    } else {
      anchor += text[i];
    }
  }
  return makeIdentifier(anchor);
}

std::string Class::FileName(const EvaluationContext&) const {
  return objectFileName(AnchorName());
}

bool Class::Test(std::string_view property, int32_t& value) const {
  if (testAccess(property, access, value)) return true;
  bool yes;
  if (property == "template") {
    yes = !templatePrefix.empty();
  } else if (property == "struct" || property == "union" || property == "class") {
    yes = classType == property;
  } else if (property == "size") {
    value = totalSize();
    return true;
  } else if (property == "mccabe") {
    value = totalMcCabe();
    return true;
  } else if (property == "text") {
    yes = !doc.empty();
  } else if (property == "namespace") {
    yes = !nameSpace.empty();
  } else {
    return false;
  }
  value = yes ? 1 : 0;
  return true;
}

StyleSheetObject* Class::GetList(std::string_view name) {
  if (name == "enum_list") return enumList_.over(enums);
  if (name == "function_list") return functionList_.over(*functions);
  if (name == "data_list") return dataList_.over(dataMembers);
  return nullptr;
}

}  // namespace quillet
