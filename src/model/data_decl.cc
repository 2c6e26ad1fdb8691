#include "model/data_decl.h"

#include "model/shared_properties.h"

namespace quillet {

template <>
struct PropertyTable<DataDecl> {
  static constexpr PropertyRow<DataDecl> kDataRows[] = {
      {"type", writeLinkedValue<DataDecl, &DataDecl::type>},
  };
  // A data member's comment resolves links from its class.
  static constexpr auto kRows = propertyRows(
      kNameProperty<DataDecl>, kTextProperty<DataDecl, &DataDecl::className>,
      kTextSummaryProperty<DataDecl, &DataDecl::className>,
      kCommentSectionProperties<DataDecl, &DataDecl::className>, kAccessTests<DataDecl>, kDataRows);
};

bool DataDecl::WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) {
  return writeProperty(*this, property, context, out);
}

bool DataDecl::Test(std::string_view property, int32_t& value) const {
  return testProperty(*this, property, value);
}

StyleSheetObject* DataDecl::GetList(std::string_view name) {
  return listProperty(*this, name);
}

}  // namespace quillet
