#include "frontend/preprocessor/directive_line.h"

#include <utility>

#include "frontend/preprocessor/raw_scanner.h"

namespace quillet {

namespace {

token_t literal(const token_t& at, bool value) {
  token_t token;
  token.kind = T_LITERAL;
  token.text.assign(1, value ? '1' : '0');
  token.line = at.line;
  token.column = at.column;
  return token;
}

}  // namespace

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
  bool function_like = i < line.size() && line[i].kind == '(';
  std::vector<std::string> parameters;
  if (function_like) {
    for (++i; i < line.size() && line[i].kind != ')'; ++i)
      if (line[i].kind != ',' && line[i].kind != T_WHITESPACE) parameters.push_back(line[i].text);
    if (i < line.size()) ++i;
  }
  std::vector<token_t> replacement;
  for (; i < line.size(); ++i) {
    if (line[i].kind == T_WHITESPACE) continue;
    replacement.push_back(line[i]);
    if (!keep_comments) replacement.back().comment.reset();
  }
  return makeMacro(std::move(name), function_like, std::move(parameters), std::move(replacement));
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

std::vector<token_t> answerDefined(const std::vector<token_t>& line, const MacroTable& macros) {
  std::vector<token_t> out;
  out.reserve(line.size());
  for (size_t i = 0; i < line.size(); ++i) {
    const token_t& token = line[i];
    if (token.kind == T_IDENTIFIER && token.text == "defined") {
      if (i + 1 < line.size() && isWordKind(line[i + 1].kind)) {
        out.push_back(literal(token, macros.find(std::string_view(line[i + 1].text)) != macros.end()));
        i += 1;
        continue;
      }
      if (i + 3 < line.size() && line[i + 1].kind == '(' && isWordKind(line[i + 2].kind) &&
          line[i + 3].kind == ')') {
        out.push_back(literal(token, macros.find(std::string_view(line[i + 2].text)) != macros.end()));
        i += 3;
        continue;
      }
    }
    out.push_back(token);
  }
  return out;
}

std::string conditionText(const std::vector<token_t>& line) {
  std::string text;
  for (const token_t& token : line) {
    text += ' ';
    text += token.text;
  }
  return text;
}

}  // namespace quillet
