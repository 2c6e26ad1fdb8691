// DataDecl: a data member of a class in the code model, with its declared type and its comment. Classes own
// them; templates see them as "data" objects in a class's "data_list".
#pragma once

#include <string>

#include "model/model_mixins.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

class DataDecl final : public HasAName, public HasADoc, public HasProtection, public StyleSheetObject {
 public:
  /// The declared type text.
  std::string type;
  /// The owning class (the context for links).
  std::string className;

  DataDecl() = default;
  DataDecl(const DataDecl&) = default;
  DataDecl(DataDecl&&) noexcept = default;
  DataDecl& operator=(const DataDecl&) = default;
  DataDecl& operator=(DataDecl&&) noexcept = default;
  ~DataDecl() = default;

  /// Writes a property of the data member's property table (data_decl.cc).
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// "data".
  std::string_view TypeName() const override { return "data"; }
  /// A variable.
  LinkKind linkKind() const override { return LinkKind::kVariable; }
  /// Answers a test of the data member's property table.
  bool Test(std::string_view property, int32_t& value) const override;
  /// A list of the data member's property table (its comment's sections).
  StyleSheetObject* GetList(std::string_view name) override;
};

}  // namespace quillet
