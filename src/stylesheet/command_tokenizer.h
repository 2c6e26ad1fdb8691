// The tokenizer of template commands: cuts a command body, an expression or an object path into names and
// single-character operators. The style sheet reader cuts commands with it; the evaluator cuts object paths
// and conditions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

/// True for the characters that are tokens by themselves: ! % & ( ) * + , - . / < = > [ ] ^ | ~
bool isCommandOperator(char c);

/// The token starting at `position` after blanks and tabs: one operator character, or the run up to the next
/// blank, tab or operator. Advances `position` past it; empty at the end of `text`.
std::string_view nextCommandToken(std::string_view text, size_t& position);

/// Every token of `text`, in order.
std::vector<std::string> cutCommandTokens(std::string_view text);

/// Every token of the expression `text`, with the comparison words "GT", "LT", "LE" and "GE" replaced by
/// ">", "<", "<=" and ">=".
std::vector<std::string> cutExpressionTokens(std::string_view text);

/// True when `token` is one of the comparison words "GT", "LT", "LE" and "GE".
bool isComparisonWord(std::string_view token);
/// The operator a comparison word stands for (">", "<", "<=", ">="); empty for any other token.
std::string_view comparisonOperator(std::string_view token);

}  // namespace quillet
