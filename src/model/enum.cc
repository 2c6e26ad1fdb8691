#include "model/enum.h"

#include "model/shared_properties.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

std::string_view beforeInitializer(std::string_view enumerator) {
  return enumerator.substr(0, enumerator.find('='));
}

}  // namespace

template <>
struct PropertyTable<EnumTag> {
  // "tag" is the enumerator as written, initializer included.
  static constexpr PropertyRow<EnumTag> kTagRows[] = {
      {"tag", writeFilteredValue<EnumTag, &EnumTag::name>},
  };
  // An enumerator's comment resolves links from the class enclosing its enumeration.
  static constexpr auto kRows = propertyRows(kTextProperty<EnumTag, &EnumTag::scope>, kTagRows);
};

bool EnumTag::WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) {
  return writeProperty(*this, property, context, out);
}

std::string EnumTag::FullName() const {
  std::string full;
  if (!scope.empty()) full = scope + "::";
  full += beforeInitializer(name);
  return full;
}

std::string EnumTag::AnchorName() const {
  std::string anchor = "et_";
  if (!scope.empty()) anchor += spellArguments(scope) + "::";
  anchor += name;
  return makeIdentifier(beforeInitializer(anchor));
}

bool EnumTag::Test(std::string_view property, int32_t& value) const {
  return testProperty(*this, property, value);
}

void Enum::ForgetCommentsFrom(std::string_view fileName) {
  forgetCommentFrom(doc, fileName);
  for (EnumTag& tag : tags) forgetCommentFrom(tag.doc, fileName);
}

template <>
struct PropertyTable<Enum> {
  static constexpr PropertyRow<Enum> kEnumRows[] = {
      {"class_name", writeFilteredValue<Enum, &Enum::className>},
      {"nameless", nullptr, [](const Enum& e) -> int32_t { return e.name.empty(); }},
      {"tag_list", nullptr, nullptr, [](Enum& e) { return e.tagList_.over(e.tags); }},
  };
  // An enumeration's comment resolves links from its enclosing class.
  static constexpr auto kRows = propertyRows(kNameProperty<Enum>, kTextProperty<Enum, &Enum::className>,
                                             kTextSummaryProperty<Enum, &Enum::className>,
                                             kCommentSectionProperties<Enum, &Enum::className>,
                                             kDeclarationProperties<Enum>, kAccessTests<Enum>, kEnumRows);
};

bool Enum::WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) {
  return writeProperty(*this, property, context, out);
}

std::string Enum::FullName() const {
  return className.empty() ? name : className + "::" + name;
}

std::string Enum::AnchorName() const {
  std::string anchor = "e_";
  if (!nameSpace.empty()) anchor += nameSpace + "_";
  if (!className.empty()) {
    anchor += spellArguments(className) + "_sc_";
    anchor += name.empty() ? std::string("__noname") : name;
  } else {
    anchor += name;
  }
  return makeIdentifier(anchor);
}

std::string Enum::DeclarationKey() const {
  return nameSpace + "::" + FullName();
}

std::string Enum::FileName(const EvaluationContext&) const {
  return objectFileName(AnchorName());
}

bool Enum::Test(std::string_view property, int32_t& value) const {
  return testProperty(*this, property, value);
}

StyleSheetObject* Enum::GetList(std::string_view name) {
  return listProperty(*this, name);
}

}  // namespace quillet
