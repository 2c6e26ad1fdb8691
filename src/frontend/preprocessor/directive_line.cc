#include "frontend/preprocessor/directive_line.h"

#include <utility>

#include "frontend/preprocessor/macro_expander.h"
#include "frontend/preprocessor/raw_scanner.h"

namespace quillet {

std::string includeName(const std::vector<token_t>& line, bool& angle) {
  angle = !line.empty() && line.front().kind == '<';
  std::string name;
  if (line.empty()) return name;
  if (!angle) return line.front().text;
  for (size_t i = 1; i + 1 < line.size(); ++i) name += line[i].text;
  return name;
}

MacroPtr defineFromLine(const std::vector<token_t>& line, bool keep_comments) {
  size_t i = 0;
  while (i < line.size() && line[i].kind == T_WHITESPACE) ++i;
  if (i == line.size() || !isWordKind(line[i].kind)) return nullptr;
  std::string name = line[i++].text;
  // Function-like only when "(" follows the name with no white space between.
  const bool function_like = i < line.size() && line[i].kind == '(';
  std::vector<std::string> parameters;
  bool variadic = false;
  if (function_like) {
    for (++i; i < line.size() && line[i].kind != ')'; ++i) {
      if (line[i].kind == '.' && i + 2 < line.size() && line[i + 1].kind == '.' && line[i + 2].kind == '.') {
        // "..." alone takes the variable arguments as __VA_ARGS__; "name..." under that name.
        if (!variadic && (parameters.empty() || line[i - 1].kind == ',' ||
                          (line[i - 1].kind == T_WHITESPACE && line[i - 2].kind == ',')))
          parameters.push_back("__VA_ARGS__");
        variadic = true;
        i += 2;
        continue;
      }
      if (line[i].kind != ',' && line[i].kind != T_WHITESPACE && !variadic)
        parameters.push_back(line[i].text);
    }
    if (i < line.size()) ++i;
  }
  std::vector<token_t> replacement;
  bool space = false;
  for (; i < line.size(); ++i) {
    if (line[i].kind == T_WHITESPACE) {
      space = true;
      continue;
    }
    replacement.push_back(line[i]);
    token_t& token = replacement.back();
    token.flags = static_cast<uint8_t>((token.flags & kStringLiteral) |
                                       (space && replacement.size() > 1 ? kSpaceBefore : 0));
    if (token.comment && replacement.size() > 1) token.flags |= kSpaceBefore;
    if (!keep_comments) token.comment.reset();
    space = false;
  }
  return makeMacro(std::move(name), function_like, std::move(parameters), std::move(replacement), variadic);
}

MacroPtr defineFromSetting(std::string_view setting) {
  size_t equals = setting.find('=');
  std::string_view name = setting.substr(0, equals);
  if (name.empty()) return nullptr;
  std::vector<token_t> replacement;
  if (equals != std::string_view::npos) {
    RawScanner scanner{std::string(setting.substr(equals + 1))};
    token_t token;
    for (scanner.nextToken(token); token.kind != T_EOF; scanner.nextToken(token)) {
      if (token.kind == T_WHITESPACE) continue;
      replacement.push_back(token);
      replacement.back().comment.reset();
    }
  }
  return makeMacro(std::string(name), false, {}, std::move(replacement));
}

std::string conditionText(const std::vector<token_t>& line) {
  std::string text;
  const token_t* previous = nullptr;
  for (const token_t& token : line) {
    // A number's suffix that the scanner read as a name of its own ("10UL" then "L") stays joined to it.
    const bool suffix = previous != nullptr && previous->kind == T_LITERAL && token.kind == T_IDENTIFIER &&
                        (token.flags & kSpaceBefore) == 0 && !previous->text.empty() &&
                        previous->text[0] >= '0' && previous->text[0] <= '9';
    if (!suffix) text += ' ';
    text += token.kind == T_LITERAL && (token.flags & kStringLiteral) != 0 ? spellingOf(token) : token.text;
    previous = &token;
  }
  return text;
}

}  // namespace quillet
