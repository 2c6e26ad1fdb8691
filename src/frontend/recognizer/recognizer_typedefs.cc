// The recognizer's typedef states: the base type of a typedef (which may define a struct or an
// enumeration of its own), its name parts, and the declarators that follow it.
#include "frontend/recognizer/recognizer.h"

namespace quillet {

void Recognizer::onTypedefBase(const token_t& token) {
  switch (token.kind) {
    case ',':
      lexer_.OnTypedefNext();
      return;
    case ';':
      lexer_.OnTypedefEnd();
      pop();
      return;
    case '{':
      braceDepth_ = 1;
      push(State::IN_SCOPE);
      return;
    case T_IDENTIFIER:
    case T_TYPE:
      cursor_.backUp();
      replace(State::IN_TYPEDEF_BASE_LINK);
      return;
    case T_CLASS_KEY: {
      const std::string key = token.text;
      if (cursor_.peek().kind == '{') {
        // typedef struct { ... } Name;: the struct is named after the typedef.
        replace(State::IN_TYPEDEF_ANON_STRUCT_BACK);
        lexer_.OnClassKey(key);
        enterClassDecl(key);
      } else if (braceFollows(2)) {
        typedefTagName(cursor_.peek());
        replace(State::IN_TYPEDEF_BACK);
        push(State::CLASS_END);
        lexer_.OnClassKey(key);
        enterClassDecl(key);
      }
      return;
    }
    case T_ENUM:
      if (cursor_.peek().kind == '{') {
        replace(State::IN_TYPEDEF_BACK);
        enterEnum(State::IN_TYPEDEF_ANON_ENUM);
      } else if (braceFollows(2)) {
        typedefTagName(cursor_.peek());
        replace(State::IN_TYPEDEF_BACK);
        enterEnum(State::IN_ENUM);
      }
      return;
    default:
      lexer_.OnTypedefPart(token.text);
      return;
  }
}

// The tag of typedef struct tagX { ... } X; is the typedef's base type.
void Recognizer::typedefTagName(const token_t& tag) {
  const std::string name = tag.text;
  lexer_.OnTypedefDeclared(name);
  lexer_.OnTypedefPart(name);
  lexer_.OnTypedefBaseEnd();
}

void Recognizer::onTypedefBaseLink(const token_t& token) {
  lexer_.OnTypedefPart(token.text);
  switch (token.kind) {
    case ';':
      lexer_.OnTypedefEnd();
      pop();
      return;
    case T_SCOPE:
      lexer_.OnTypedefDeclared(token.text);
      return;
    case T_IDENTIFIER:
    case T_TYPE:
      lexer_.OnTypedefDeclared(token.text);
      if (cursor_.peek().kind != T_SCOPE) {
        lexer_.OnTypedefBaseEnd();
        replace(State::IN_TYPEDEF_BACK);
      }
      return;
    default:
      return;
  }
}

// The declarators: names, pointer and reference marks, array parts. A template argument list of the base
// type goes to the typedef's text whole, so that the names inside it are not taken for the typedef's. A
// parenthesised declarator (typedef void (*Handler)(int);) gives the name inside it; any other "(" ends
// the typedef.
void Recognizer::onTypedefBack(const token_t& token) {
  const int32_t kind = token.kind;
  if (kind == ';') {
    endTypedefDeclarators();
    lexer_.OnTypedefEnd();
    pop();
    return;
  }
  if (typedefAngles_ > 0) {
    lexer_.OnTypedefPart(token.text);
    if (kind == '<') ++typedefAngles_;
    if (kind == '>') --typedefAngles_;
    return;
  }
  if (typedefParens_ > 0) {
    if (kind == T_IDENTIFIER && typedefDeclarator_ && cursor_.peek().kind != T_SCOPE) {
      lexer_.OnTypedefName(token.text);
    } else {
      lexer_.OnTypedefPart(token.text);
    }
    if (kind == '(') ++typedefParens_;
    if (kind == ')' && --typedefParens_ == 0) typedefDeclarator_ = false;
    return;
  }
  switch (kind) {
    case '(': {
      const int32_t next = cursor_.peek().kind;
      const bool pointer = next == '*' || next == '&' || next == '^' || next == T_IDENTIFIER;
      if (typedefAfterDeclarator_ || (pointer && !typedefDeclarator_)) {
        lexer_.OnTypedefPart(token.text);
        typedefParens_ = 1;
        typedefDeclarator_ = !typedefAfterDeclarator_;
        typedefAfterDeclarator_ = true;
        return;
      }
      endTypedefDeclarators();
      lexer_.OnTypedefEnd();
      pop();
      return;
    }
    case ',':
      typedefAfterDeclarator_ = false;
      lexer_.OnTypedefNext();
      return;
    case T_IDENTIFIER:
      lexer_.OnTypedefName(token.text);
      return;
    default:
      lexer_.OnTypedefPart(token.text);
      if (kind == '<') typedefAngles_ = 1;
      return;
  }
}

void Recognizer::endTypedefDeclarators() {
  typedefAngles_ = 0;
  typedefParens_ = 0;
  typedefDeclarator_ = false;
  typedefAfterDeclarator_ = false;
}

void Recognizer::onTypedefAnonStructBack(const token_t& token) {
  if (token.kind != T_IDENTIFIER) return;
  const std::string name = token.text;
  lexer_.OnClassName(name);
  lexer_.OnClassEnd();
  lexer_.OnTypedefDeclared(name);
  lexer_.OnTypedefPart(name);
  lexer_.OnTypedefBaseEnd();
  replace(State::IN_TYPEDEF_BACK);
  cursor_.backUp();
}

}  // namespace quillet
