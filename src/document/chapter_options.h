// The document-wide options of the run's configuration as a chapter shows them to style sheets ("options"):
// whether functions appear in the table of contents, which metrics are shown, which members are documented.
#pragma once

#include "template_objects/style_sheet_object.h"

namespace quillet {

class ChapterOptions final : public StyleSheetObject {
 public:
  /// Knows no property.
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// "options".
  std::string_view TypeName() const override { return "options"; }
  /// Answers an option test of the options' property table (chapter_options.cc) from the run's configuration,
  /// 1 or 0.
  bool Test(std::string_view property, int32_t& value) const override;
};

}  // namespace quillet
