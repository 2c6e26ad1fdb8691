#include "model/function_arg.h"

#include "model/model_properties.h"
#include "template_objects/markup.h"

namespace quillet {

bool FunctionArg::WriteProperty(const EvaluationContext& context, std::string_view property,
                                std::ostream& out) {
  if (property == "text") {
    CombinedComment().WriteFull(context, className, out);
  } else if (property == "type") {
    writeLinkedText(context, out, type, className);
  } else if (property == "name") {
    writeFiltered(context, out, name);
  } else if (property == "default") {
    if (!defaultValue.empty()) {
      writeFiltered(context, out, " = ");
      writeLinkedText(context, out, defaultValue, className);
    }
  } else {
    return false;
  }
  return true;
}

bool FunctionArg::Test(std::string_view property, int32_t& value) const {
  if (property != "text") return false;
  value = CombinedComment().empty() ? 0 : 1;
  return true;
}

}  // namespace quillet
