#include "model/function_arg.h"

#include "model/shared_properties.h"

namespace quillet {

namespace {

// " = " and the default argument with the type names in it linked; nothing without a default.
void writeDefault(const FunctionArg& arg, const EvaluationContext& context, std::ostream& out) {
  if (arg.defaultValue.empty()) return;
  writeFiltered(context, out, " = ");
  writeLinkedText(context, out, arg.defaultValue, arg.className);
}

}  // namespace

template <>
struct PropertyTable<FunctionArg> {
  static constexpr PropertyRow<FunctionArg> kArgRows[] = {
      {"type", writeLinkedValue<FunctionArg, &FunctionArg::type>},
      {"default", writeDefault},
      {"direction", writeFilteredValue<FunctionArg, &FunctionArg::direction>,
       testNotEmpty<FunctionArg, &FunctionArg::direction>},
  };
  // A parameter's comment (either of its two, as the run chooses) resolves links from its function's class.
  static constexpr auto kRows =
      propertyRows(kNameProperty<FunctionArg>, kTextProperty<FunctionArg, &FunctionArg::className>, kArgRows);
};

bool FunctionArg::WriteProperty(const EvaluationContext& context, std::string_view property,
                                std::ostream& out) {
  return writeProperty(*this, property, context, out);
}

bool FunctionArg::Test(std::string_view property, int32_t& value) const {
  return testProperty(*this, property, value);
}

}  // namespace quillet
