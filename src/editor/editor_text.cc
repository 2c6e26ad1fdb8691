#include "editor/editor_text.h"

#include <vector>

namespace quillet {

std::string formatMessage(std::string_view pattern, std::initializer_list<std::string_view> arguments) {
  const std::vector<std::string_view> values(arguments);
  std::string result;
  result.reserve(pattern.size());
  size_t i = 0;
  while (i < pattern.size()) {
    // A placeholder is "%", digits, then "!s!".
    if (pattern[i] == '%') {
      size_t end = i + 1;
      size_t number = 0;
      while (end < pattern.size() && pattern[end] >= '0' && pattern[end] <= '9' && end - i < 4)
        number = number * 10 + static_cast<size_t>(pattern[end++] - '0');
      if (end > i + 1 && pattern.substr(end, 3) == "!s!" && number >= 1 && number <= values.size()) {
        result += values[number - 1];
        i = end + 3;
        continue;
      }
    }
    result += pattern[i++];
  }
  return result;
}

}  // namespace quillet
