#include "frontend/recognizer/type_text.h"

#include "frontend/preprocessor/macro_expander.h"

namespace quillet {

namespace {

// Replaces every occurrence of `from` in `text` by `to`, scanning left to right once.
void replaceAll(std::string& text, std::string_view from, std::string_view to) {
  size_t at = text.find(from);
  if (at == std::string::npos) return;
  std::string out;
  out.reserve(text.size());
  size_t start = 0;
  for (; at != std::string::npos; at = text.find(from, start)) {
    out.append(text, start, at - start);
    out.append(to);
    start = at + from.size();
  }
  out.append(text, start, std::string::npos);
  text.swap(out);
}

}  // namespace

void appendTypeWord(std::string& text, std::string_view word) {
  if (word == "&" || word == "&&" || word == "*" || word == ">" || word == "<" || word == ".") {
    text += word;
  } else if (word == ",") {
    text += ", ";
  } else {
    text += ' ';
    text += word;
  }
}

std::string cleanTypeText(std::string text) {
  replaceAll(text, ":: ", "::");
  replaceAll(text, " ::", "::");
  replaceAll(text, "< ", "<");
  replaceAll(text, " <", "<");
  replaceAll(text, "> ", ">");
  replaceAll(text, " >", ">");
  replaceAll(text, " , ", ", ");
  // A run of blanks of any length becomes one.
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != ' ' || out.empty() || out.back() != ' ') out += c;
  const size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const size_t last = out.find_last_not_of(' ');
  return out.substr(first, last - first + 1);
}

std::string typeText(const token_t* begin, const token_t* end) {
  std::string text;
  for (const token_t* token = begin; token < end; ++token) appendTypeWord(text, token->text);
  return cleanTypeText(std::move(text));
}

std::string tightText(std::string text) {
  text = cleanTypeText(std::move(text));
  if (text.find_first_of("([;") == std::string::npos) return text;
  for (std::string_view tight : {"(", ")", "[", "]", ";"}) {
    replaceAll(text, " " + std::string(tight), tight);
    if (tight == "(" || tight == "[") replaceAll(text, std::string(tight) + " ", tight);
  }
  return text;
}

std::string sourceText(const token_t* begin, const token_t* end) {
  std::string text;
  for (const token_t* token = begin; token < end; ++token) {
    if (token != begin && (token->flags & kSpaceBefore)) text += ' ';
    text += spellingOf(*token);  // a string literal with its quotes and escaped quotes
  }
  return text;
}

std::string templateNameText(const token_t* begin, const token_t* end) {
  std::string text;
  for (const token_t* token = begin; token < end; ++token) appendTypeWord(text, token->text);
  return tightText(std::move(text));
}

std::string commentText(const token_t& token) {
  std::string text;
  if (token.comment)
    for (const std::string& part : *token.comment) text += part;
  return text;
}

}  // namespace quillet
