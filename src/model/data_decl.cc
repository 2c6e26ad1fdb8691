#include "model/data_decl.h"

#include "model/model_properties.h"
#include "template_objects/markup.h"

namespace quillet {

bool DataDecl::WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) {
  if (property == "type") {
    writeLinkedText(context, out, type, className);
  } else if (property == "name") {
    writeFiltered(context, out, name);
  } else if (property == "text") {
    doc.WriteFull(context, className, out);
  } else if (property == "text_summary") {
    doc.WriteSummary(context, className, out);
  } else {
    return false;
  }
  return true;
}

bool DataDecl::Test(std::string_view property, int32_t& value) const {
  if (testAccess(property, access, value)) return true;
  if (property != "text") return false;
  value = doc.empty() ? 0 : 1;
  return true;
}

}  // namespace quillet
