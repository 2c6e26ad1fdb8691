// Integer expressions in C syntax, as written in preprocessor conditions and template conditions: the
// text is parsed into a tree of expression nodes (operator precedence with two stacks) and evaluated.
// Identifiers are not known here: every name must already have been replaced by a number. A
// process-wide cache maps each expression text to its value, so a text is parsed and evaluated once.
// Used by the preprocessor and by the style sheet evaluator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/expression_nodes.h"

namespace quillet {

/// What parsing made of an expression text.
enum ExpressionStatus : int {
  kExpressionValid = 1,
  kExpressionInvalidToken = 2,  // a name, a period, a lone "&", "|" or "=", any other character
  kExpressionInvalid = 3,       // an operator without operands, a stray parenthesis, nothing at all
  kExpressionUnbalanced = 4,    // more "(" than ")" or the reverse
};

class Base_Expression : public ExpObj {
 public:
  ~Base_Expression() override;

  /// The value of the expression (cached per text); 0 when the status is not valid.
  int32_t Evaluate() override;
  int Kind() const override { return 3; }
  /// One of ExpressionStatus.
  int status() const { return status_; }
  /// The text the expression was made from.
  const std::string& text() const { return text_; }

  /// The deepest tree an expression may build; deeper ones are invalid (they would exhaust the stack).
  static constexpr uint32_t kMaxHeight = 2000;

 protected:
  explicit Base_Expression(std::string text);

  /// Checks the parentheses and parses the text; derived constructors call it once they can tokenize.
  void parseText();
  /// Moves a finished node to the operand stack, giving operators their operands.
  virtual void Output(ExpPtr node);
  /// Places one node of the token stream: operands are output, operators wait on the operator stack.
  virtual void Process(ExpPtr node);
  /// Builds the tree; leaves it null when the text is already cached or invalid.
  virtual ExpObj* Parse();
  /// Reads the next token: appends a number's characters to `literal`, sets `code` (on entry the previous
  /// token's code); returns 1, or the status that an invalid token gives.
  virtual int NextToken(std::string& literal, int& code) = 0;

 private:
  ExpPtr popOperand();

  std::string text_;
  int status_ = kExpressionValid;
  ExpPtr root_;
  std::vector<ExpPtr> operands_;
  std::vector<ExpPtr> operators_;
};

class C_Like_Expression : public Base_Expression {
 public:
  /// Parses `text`; the object is ready for Evaluate at once.
  explicit C_Like_Expression(std::string text);

 protected:
  int NextToken(std::string& literal, int& code) override;

 private:
  size_t position_ = 0;
};

/// Reads the longest C integer at the start of `text` ("0x" hexadecimal, leading "0" octal, else decimal),
/// saturating at the largest 32-bit value; returns the number of characters used.
size_t readCInteger(std::string_view text, int32_t& value);

}  // namespace quillet
