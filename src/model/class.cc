#include "model/class.h"

#include <ostream>

#include "config/configuration.h"
#include "model/shared_properties.h"
#include "template_objects/markup.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

int32_t clampedSum(int64_t sum) {
  return sum > INT32_MAX ? INT32_MAX : static_cast<int32_t>(sum);
}

// " : " and the documented bases with their access words, each base linked; nothing without any.
void writeParentList(const Class& object, const EvaluationContext& context, std::ostream& out) {
  const Configuration& configuration = runConfiguration();
  bool first = true;
  for (const BaseClass& base : object.parents) {
    if (!configuration.isDocumented(base.access)) continue;
    out << (first ? " : " : ", ");
    first = false;
    out << (base.access == kAccessPublic      ? "public "
            : base.access == kAccessProtected ? "protected "
                                              : "private ");
    writeLinkedText(context, out, base.name, "", LinkWords::kProse);
  }
}

// The primary template of a specialization, linked.
void writePrimary(const Class& object, const EvaluationContext& context, std::ostream& out) {
  writeLinkedText(context, out, object.PrimaryName(), "");
}

// The specializations of a template, each linked, separated by ", ".
void writeSpecializations(const Class& object, const EvaluationContext& context, std::ostream& out) {
  for (size_t i = 0; i < object.specializations.size(); ++i) {
    if (i > 0) out << ", ";
    writeLinkedText(context, out, object.specializations[i], "");
  }
}

// The texts of `list` (friends, using-declarations), each linked, separated by ", ".
template <std::vector<std::string> Class::*List>
void writeLinkedList(const Class& object, const EvaluationContext& context, std::ostream& out) {
  const std::vector<std::string>& list = object.*List;
  for (size_t i = 0; i < list.size(); ++i) {
    if (i > 0) out << ", ";
    writeLinkedText(context, out, list[i], "");
  }
}

template <std::vector<std::string> Class::*List>
int32_t countOf(const Class& object) {
  return static_cast<int32_t>((object.*List).size());
}

// The number of member functions with the access `Access`.
template <AccessCode Access>
void writeFunctionCount(const Class& object, const EvaluationContext&, std::ostream& out) {
  out << object.CountFunctions(Access);
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

std::string_view Class::PrimaryName() const {
  const std::string_view text = name;
  if (!text.ends_with('>')) return {};
  int depth = 0;
  for (size_t i = text.size(); i-- > 0;) {
    if (text[i] == '>') ++depth;
    if (text[i] == '<' && --depth == 0) return text.substr(0, i);
  }
  return {};
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

int32_t Class::CountFunctions(int32_t wanted) const {
  int64_t count = 0;
  for (const Function& function : *functions) count += function.access == wanted ? 1 : 0;
  return clampedSum(count);
}

template <>
struct PropertyTable<Class> {
  static constexpr PropertyRow<Class> kClassRows[] = {
      {"class_type", writeFilteredValue<Class, &Class::classType>},
      {"template", writeFilteredValue<Class, &Class::templatePrefix>,
       testNotEmpty<Class, &Class::templatePrefix>},
      {"parent_list", writeParentList},
      {"size", writeNumberValue<Class, &Class::totalSize>, testValue<Class, &Class::totalSize>},
      {"mccabe", writeNumberValue<Class, &Class::totalMcCabe>, testValue<Class, &Class::totalMcCabe>},
      {"number_public_members", writeFunctionCount<kAccessPublic>},
      {"number_protected_members", writeFunctionCount<kAccessProtected>},
      {"number_private_members", writeFunctionCount<kAccessPrivate>},
      {"primary", writePrimary, [](const Class& c) -> int32_t { return !c.PrimaryName().empty(); }},
      {"specializations", writeSpecializations,
       [](const Class& c) -> int32_t { return static_cast<int32_t>(c.specializations.size()); }},
      {"friends", writeLinkedList<&Class::friends>, countOf<&Class::friends>},
      {"using_declarations", writeLinkedList<&Class::usingDeclarations>, countOf<&Class::usingDeclarations>},
      {"inline_namespace", writeFilteredValue<Class, &Class::inlineNamespace>,
       testNotEmpty<Class, &Class::inlineNamespace>},
      {"constraint",
       [](const Class& c, const EvaluationContext& context, std::ostream& out) {
         writeLinkedText(context, out, c.constraint, c.name);
       },
       testNotEmpty<Class, &Class::constraint>},
      {"class", nullptr, [](const Class& c) -> int32_t { return c.classType == "class"; }},
      {"struct", nullptr, [](const Class& c) -> int32_t { return c.classType == "struct"; }},
      {"union", nullptr, [](const Class& c) -> int32_t { return c.classType == "union"; }},
      {"enum_list", nullptr, nullptr, [](Class& c) { return c.enumList_.over(c.enums); }},
      {"function_list", nullptr, nullptr, [](Class& c) { return c.functionList_.over(*c.functions); }},
      {"data_list", nullptr, nullptr, [](Class& c) { return c.dataList_.over(c.dataMembers); }},
      {"derived_list", nullptr, nullptr, [](Class& c) { return c.derivedList_.over(c.derivedClasses); }},
      {"inherited_list", nullptr, nullptr, [](Class& c) { return c.inheritedList_.over(c.inherited); }},
  };
  // A class's comment resolves links from the class itself.
  static constexpr auto kRows =
      propertyRows(kNameProperty<Class>, kTextProperty<Class, &Class::name>,
                   kTextSummaryProperty<Class, &Class::name>, kCommentSectionProperties<Class, &Class::name>,
                   kDeclarationProperties<Class>, kAccessTests<Class>, kClassRows);
};

bool InheritedMembers::WriteProperty(const EvaluationContext& context, std::string_view property,
                                     std::ostream& out) {
  if (property != "name" || !base) return false;
  writeFiltered(context, out, base->name);
  return true;
}

bool InheritedMembers::Test(std::string_view property, int32_t& value) const {
  if (property != "continued") return false;
  value = continued ? 1 : 0;
  return true;
}

StyleSheetObject* InheritedMembers::GetList(std::string_view name) {
  if (name == "base") return base;
  if (name == "function_list") return functionList_.over(functions);
  return nullptr;
}

bool Class::WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) {
  return writeProperty(*this, property, context, out);
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
  // The argument list of a specialization is spelled out as in function anchors: c_XLTTPtrGT.
  return makeIdentifier(spellArguments(anchor));
}

std::string Class::DeclarationKey() const {
  return nameSpace + "::" + name;
}

std::string Class::FileName(const EvaluationContext&) const {
  return objectFileName(AnchorName());
}

bool Class::Test(std::string_view property, int32_t& value) const {
  return testProperty(*this, property, value);
}

StyleSheetObject* Class::GetList(std::string_view name) {
  return listProperty(*this, name);
}

}  // namespace quillet
