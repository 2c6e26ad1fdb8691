#include "stylesheet/command_tokenizer.h"

namespace quillet {

namespace {

constexpr std::string_view kOperators = "!%&()*+,-./<=>[]^|~";

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::string_view comparisonOperator(std::string_view token) {
  if (token == "GT") return ">";
  if (token == "LT") return "<";
  if (token == "LE") return "<=";
  if (token == "GE") return ">=";
  return {};
}

bool isCommandOperator(char c) {
  return c != '\0' && kOperators.find(c) != std::string_view::npos;
}

std::string_view nextCommandToken(std::string_view text, size_t& position) {
  while (position < text.size() && isBlank(text[position])) ++position;
  const size_t start = position;
  if (position >= text.size()) return {};
  if (isCommandOperator(text[position])) {
    ++position;
  } else {
    while (position < text.size() && !isBlank(text[position]) && !isCommandOperator(text[position]))
      ++position;
  }
  return text.substr(start, position - start);
}

std::vector<std::string> cutCommandTokens(std::string_view text) {
  std::vector<std::string> tokens;
  size_t position = 0;
  for (std::string_view token = nextCommandToken(text, position); !token.empty();
       token = nextCommandToken(text, position)) {
    tokens.emplace_back(token);
  }
  return tokens;
}

std::vector<std::string> cutExpressionTokens(std::string_view text) {
  std::vector<std::string> tokens = cutCommandTokens(text);
  for (std::string& token : tokens) {
    const std::string_view replacement = comparisonOperator(token);
    if (!replacement.empty()) token = replacement;
  }
  return tokens;
}

bool isComparisonWord(std::string_view token) {
  return !comparisonOperator(token).empty();
}

}  // namespace quillet
