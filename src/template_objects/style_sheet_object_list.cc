#include "template_objects/style_sheet_object_list.h"

#include <limits>

namespace quillet {

bool StyleSheetObjectList::WriteProperty(const EvaluationContext&, std::string_view, std::ostream&) {
  return false;
}

bool StyleSheetObjectList::Test(std::string_view property, int32_t& value) const {
  if (property != "size") return false;
  const size_t count = Count();
  value = count > static_cast<size_t>(std::numeric_limits<int32_t>::max())
              ? std::numeric_limits<int32_t>::max()
              : static_cast<int32_t>(count);
  return true;
}

}  // namespace quillet
