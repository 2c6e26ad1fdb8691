// Template conditions: the expressions of if, for_each_if and count_if. A condition names numeric and
// yes/no properties by object paths ("function.public && !function.static", "count_if(function_list,
// function.virtual) > 0"); it is rewritten into a C integer expression with every path replaced by its value
// and computed by the front end's expression evaluator. The template evaluator calls it for every if
// section and every candidate element of a conditional loop.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "stylesheet/object_path.h"

namespace quillet {

/// True when the condition `tokens` (command tokens, comparison words already operators) holds for the
/// objects of `stack`. A path whose value cannot be found counts as 1 after its report; an expression that
/// cannot be computed is false after its report. Messages name the style sheet `styleSheetName`. The stack
/// is the same on return (count_if pushes and pops the elements it tests).
bool evaluateCondition(std::span<const std::string> tokens, ObjectStack& stack,
                       std::string_view styleSheetName);

/// True with the numeric or yes/no `property` of the object at `path` in `value`; false after reporting a
/// missing object or an unknown property (naming the whole condition `expression`).
bool testProperty(std::span<const std::string> expression, std::span<const std::string> path,
                  std::string_view property, const ObjectStack& stack, int32_t& value,
                  std::string_view styleSheetName);

/// The condition text handed to the expression evaluator for `tokens`: every path replaced by its value,
/// every count_if by its count. Reports as evaluateCondition does.
std::string rewriteCondition(std::span<const std::string> tokens, ObjectStack& stack,
                             std::string_view styleSheetName);

}  // namespace quillet
