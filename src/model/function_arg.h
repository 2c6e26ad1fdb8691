// FunctionArg: one parameter of a function in the code model, with the two comments found for it at the
// function's declaration and definition. Functions own their parameters; templates see them through the
// function's "arg_list".
#pragma once

#include <string>

#include "model/model_mixins.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

class FunctionArg final : public HasAName, public HasTwoDocs, public StyleSheetObject {
 public:
  /// The parameter type as compared between declarations and definitions and used in anchors.
  std::string signatureType;
  /// The parameter type as shown.
  std::string type;
  /// The default argument, empty if none.
  std::string defaultValue;
  /// The class of the owning function (the context for links).
  std::string className;
  /// "in", "out" or "in,out" when the function's @param gave the parameter's text with a direction.
  std::string direction;

  FunctionArg() = default;
  FunctionArg(const FunctionArg&) = default;
  FunctionArg(FunctionArg&&) noexcept = default;
  FunctionArg& operator=(const FunctionArg&) = default;
  FunctionArg& operator=(FunctionArg&&) noexcept = default;
  ~FunctionArg() = default;

  /// Writes a property of the parameter's property table (function_arg.cc).
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// "arg".
  std::string_view TypeName() const override { return "arg"; }
  /// Answers a test of the parameter's property table.
  bool Test(std::string_view property, int32_t& value) const override;
};

}  // namespace quillet
