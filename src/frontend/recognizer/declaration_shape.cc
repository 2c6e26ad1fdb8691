#include "frontend/recognizer/declaration_shape.h"

#include "frontend/recognizer/type_text.h"

namespace quillet::declaration {

bool isWord(const token_t& token, std::string_view word) {
  return token.kind == T_IDENTIFIER && token.text == word;
}

bool opensOtherGroup(const token_t& token) {
  if (token.kind == T_DECLSPEC || token.kind == T_THROW) return true;
  if (token.kind != T_IDENTIFIER) return false;
  static constexpr std::string_view kWords[] = {"noexcept", "decltype", "sizeof",        "alignof",
                                                "alignas",  "_Alignas", "__attribute__", "__attribute",
                                                "typeof",   "__typeof", "__typeof__",    "requires",
                                                "asm",      "__asm",    "__asm__",       "__alignof__"};
  for (std::string_view word : kWords)
    if (token.text == word) return true;
  return false;
}

bool isLanguageWord(const token_t& token) {
  static constexpr std::string_view kWords[] = {
      "typename", "constexpr", "mutable",      "explicit", "noexcept", "decltype",  "auto",
      "nullptr",  "this",      "thread_local", "final",    "override", "consteval", "constinit"};
  for (std::string_view word : kWords)
    if (token.text == word) return true;
  return false;
}

bool isSignWord(const token_t& token) {
  return token.kind == T_QUALIFIER && (token.text == "signed" || token.text == "unsigned");
}

bool isTypeWord(const token_t& token) {
  if (token.kind == T_TYPE || token.kind == '>' || token.kind == ')' || isSignWord(token)) return true;
  return token.kind == T_IDENTIFIER && (!isLanguageWord(token) || token.text == "auto");
}

bool inTrailer(const std::vector<token_t>& tokens, size_t open) {
  if (open == 0 || tokens[open - 1].kind != T_IDENTIFIER) return false;
  for (size_t i = open - 1; i-- > 0;) {
    const int32_t kind = tokens[i].kind;
    if (kind == ')') return true;
    if (kind != T_IDENTIFIER && kind != T_QUALIFIER && kind != '&' && kind != T_ANDAND) return false;
  }
  return false;
}

Shape shapeOf(const std::vector<token_t>& tokens) {
  Shape shape;
  const size_t count = tokens.size();
  shape.throwAt = count;
  for (size_t i = 0; i < count; ++i)
    if (tokens[i].kind == T_THROW) {
      shape.throwAt = i;
      break;
    }
  int parens = 0;
  int brackets = 0;
  int angles = 0;
  bool counting = true;  // no "=" and no trailing return type yet
  bool counted = false;
  size_t open = 0;
  for (size_t i = 0; i < shape.throwAt; ++i) {
    const int32_t kind = tokens[i].kind;
    if (kind == '(') {
      if (parens == 0) {
        open = i;
        counted = counting && brackets == 0 && angles == 0 && !(i > 0 && opensOtherGroup(tokens[i - 1])) &&
                  !(shape.groups > 0 && inTrailer(tokens, i));
      }
      ++parens;
      continue;
    }
    if (kind == ')') {
      if (parens == 0) {
        shape.balanced = false;
        return shape;
      }
      if (--parens == 0 && counted) {
        ++shape.groups;
        shape.listOpen = open;
        shape.listClose = i;
      }
      continue;
    }
    if (parens > 0) continue;
    switch (kind) {
      case '[':
        ++brackets;
        break;
      case ']':
        if (brackets > 0) --brackets;
        break;
      case '<':
        if (counting) ++angles;
        break;
      case '>':
        if (angles > 0) --angles;
        break;
      case '=':
        if (brackets == 0) {
          if (shape.groups == 0) shape.equalsBeforeGroup = true;
          counting = false;
        }
        break;
      case '-':
        if (i + 1 < shape.throwAt && tokens[i + 1].kind == '>') {
          ++i;  // "->": what follows a parameter list is a trailing return type
          if (shape.groups > 0 && angles == 0) counting = false;
        }
        break;
      default:
        break;
    }
  }
  if (parens != 0) shape.balanced = false;
  return shape;
}

size_t matchingAngle(const std::vector<token_t>& tokens, size_t close) {
  int depth = 0;
  for (size_t i = close + 1; i-- > 0;) {
    if (tokens[i].kind == '>') ++depth;
    if (tokens[i].kind == '<' && --depth == 0) return i;
  }
  return kNone;
}

size_t matchingOpenBracket(const std::vector<token_t>& tokens, size_t close, size_t begin) {
  int depth = 0;
  for (size_t i = close + 1; i-- > begin;) {
    if (tokens[i].kind == ']') ++depth;
    if (tokens[i].kind == '[' && --depth == 0) return i;
  }
  return kNone;
}

size_t matchingClose(const std::vector<token_t>& tokens, size_t open, size_t end) {
  const int32_t opening = tokens[open].kind;
  const int32_t closing = opening == '(' ? ')' : opening == '[' ? ']' : '}';
  int depth = 0;
  for (size_t i = open; i < end; ++i) {
    if (tokens[i].kind == opening) ++depth;
    if (tokens[i].kind == closing && --depth == 0) return i;
  }
  return end;
}

size_t initializerAt(const std::vector<token_t>& tokens, size_t begin, size_t end) {
  Nesting nesting;
  for (size_t i = begin; i < end; ++i)
    if (nesting.step(tokens[i]) && tokens[i].kind == '=') return i;
  return end;
}

size_t parenthesisedDeclarator(const std::vector<token_t>& tokens, size_t begin, size_t end) {
  int depth = 0;
  for (size_t i = begin; i + 1 < end; ++i) {
    const int32_t kind = tokens[i].kind;
    if (kind == '(' && depth == 0) {
      const token_t& next = tokens[i + 1];
      if (next.kind == '*' || next.kind == '&' || next.kind == T_ANDAND || next.kind == T_OTHER) return i;
      if (next.kind == T_IDENTIFIER && i + 2 < end && tokens[i + 2].kind == T_SCOPE) return i;
      return kNone;
    }
    if (kind == '(' || kind == '[' || kind == '<') ++depth;
    if ((kind == ')' || kind == ']' || kind == '>') && depth > 0) --depth;
  }
  return kNone;
}

size_t nameInDeclarator(const std::vector<token_t>& tokens, size_t open, size_t close) {
  size_t name = kNone;
  for (size_t i = open + 1; i < close; ++i) {
    if (tokens[i].kind == '(' || tokens[i].kind == '[') break;
    if (tokens[i].kind == T_IDENTIFIER && !(i + 1 < close && tokens[i + 1].kind == T_SCOPE)) name = i;
  }
  return name;
}

std::string nameText(const std::vector<token_t>& tokens, size_t begin, size_t end) {
  std::string text;
  for (size_t i = begin; i < end; ++i) {
    const token_t& token = tokens[i];
    const int32_t previous = i > begin ? tokens[i - 1].kind : 0;
    const bool attached = token.kind == '[' || token.kind == ']' || token.kind == '(' || token.kind == ')' ||
                          previous == '[' || previous == '(';
    if (!text.empty() && !attached) text += ' ';
    text += token.text;
  }
  return text;
}

std::string joinTypeText(const std::vector<const token_t*>& words) {
  std::string text;
  for (const token_t* word : words) appendTypeWord(text, word->text);
  return cleanTypeText(std::move(text));
}

bool Nesting::step(const token_t& token) {
  const bool outside = parens_ == 0 && brackets_ == 0 && braces_ == 0 && angles_ == 0;
  switch (token.kind) {
    case '(':
      ++parens_;
      break;
    case ')':
      if (parens_ > 0) --parens_;
      break;
    case '[':
      ++brackets_;
      break;
    case ']':
      if (brackets_ > 0) --brackets_;
      break;
    case '{':
      ++braces_;
      break;
    case '}':
      if (braces_ > 0) --braces_;
      break;
    case '<':
      if (!initializer_ && parens_ == 0 && brackets_ == 0 && braces_ == 0) ++angles_;
      break;
    case '>':
      if (!initializer_ && angles_ > 0 && parens_ == 0) --angles_;
      break;
    case '=':
      if (outside) initializer_ = true;
      break;
    default:
      break;
  }
  return outside;
}

}  // namespace quillet::declaration
