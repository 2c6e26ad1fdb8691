#include "import/shell_words.h"

namespace quillet {

bool splitShellWords(std::string_view command, std::vector<std::string>& words) {
  words.clear();
  std::string word;
  bool in_word = false;
  size_t i = 0;
  while (i < command.size()) {
    const char c = command[i++];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
      continue;
    }
    in_word = true;
    if (c == '\\') {
      if (i < command.size() && command[i] != '\n') word += command[i];
      ++i;  // a backslash before a line break joins the lines
    } else if (c == '\'') {
      const size_t close = command.find('\'', i);
      if (close == std::string_view::npos) return false;
      word.append(command.substr(i, close - i));
      i = close + 1;
    } else if (c == '"') {
      for (;; ++i) {
        if (i >= command.size()) return false;
        const char q = command[i];
        if (q == '"') break;
        if (q == '\\' && i + 1 < command.size()) {
          const char next = command[i + 1];
          if (next == '"' || next == '\\' || next == '$' || next == '`') {
            word += next;
            ++i;
            continue;
          }
          if (next == '\n') {
            ++i;
            continue;
          }
        }
        word += q;
      }
      ++i;
    } else {
      word += c;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return true;
}

}  // namespace quillet
