// The integer expressions of preprocessor conditions ("#if", "#elif"), evaluated the way a C++ compiler
// evaluates them: 64-bit signed and unsigned arithmetic with the usual conversions, every C operator that
// may appear there (the conditional operator, bitwise operators and shifts included), character
// literals, and names that survive macro expansion counting as 0 ("true" as 1). The preprocessor hands
// over the text once "defined" and the other condition operators have been answered and macros expanded.
// A process-wide cache keeps the result of each text, so a condition repeated in many files is parsed
// once. Template conditions keep their own, simpler evaluator (expression.h).
#pragma once

#include <cstdint>
#include <string_view>

namespace quillet {

/// What a condition text evaluated to.
struct ConditionResult {
  /// False when the text is no expression (a stray character, a missing operand, unbalanced parentheses,
  /// a floating-point number...); the condition then counts as false.
  bool valid = false;
  /// The value; 0 when the text is not valid.
  int64_t value = 0;
};

/// Evaluates the condition `text`. A division or remainder by zero reports "error: division by zero." and
/// gives 0 for that operation; operands that the operators "&&", "||" and "?:" do not evaluate report
/// nothing.
ConditionResult evaluateCondition(std::string_view text);

}  // namespace quillet
