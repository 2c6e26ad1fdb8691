// The recognizer at file level, in namespace and extern "C" bodies and in class bodies, and the small
// states that skip template heads, friend declarations, namespace heads, using declarations, attribute
// groups and function bodies.
#include <algorithm>

#include "frontend/recognizer/recognizer.h"
#include "frontend/recognizer/type_text.h"

namespace quillet {

namespace {

bool isGnuAttribute(const token_t& token) {
  return token.kind == T_IDENTIFIER && (token.text == "__attribute__" || token.text == "__attribute");
}

}  // namespace

void Recognizer::onEmpty(const token_t& token) {
  deliverComments(token);
  switch (token.kind) {
    case '{':
      lexer_.OnComment("", false);
      braceDepth_ = 1;
      push(State::IN_SCOPE);
      return;
    case '}':
      replace(State::EMPTY);
      return;
    case T_EXTERN: {
      // extern "C" { and extern "C++" { open a transparent block; any other extern is passed over.
      const token_t& language = cursor_.next();
      const bool linkage = language.kind == T_LITERAL && (language.text == "C" || language.text == "C++");
      if (linkage && cursor_.peek().kind == '{') {
        cursor_.next();
        push(State::EMPTY_EXTERN_C);
      } else {
        cursor_.backUp();
      }
      return;
    }
    case T_USING:
      push(State::IN_USING);
      return;
    case T_NAMESPACE:
      namespaceNames_.clear();
      push(State::IN_NAMESPACE_DECL);
      return;
    default:
      break;
  }
  if (!onDeclarationStart(token)) hasAttributeLead_ = false;
}

// The reactions that file level and class bodies share. Returns false for tokens that start nothing.
bool Recognizer::onDeclarationStart(const token_t& token) {
  if (token.kind == T_DECLSPEC || isGnuAttribute(token)) {
    startDeclSpec(token);
    return true;
  }
  if (startsAttribute(token)) {
    if (!hasAttributeLead_) {
      attributeLead_ = token;
      const token_t* before = cursor_.before(1);
      attributeLeadPreviousLine_ = before != nullptr ? before->line : 0;
      hasAttributeLead_ = true;
    }
    skipAttribute(token);
    return true;
  }
  switch (token.kind) {
    case T_IDENTIFIER:
    case T_TYPE:
    case T_QUALIFIER:
      push(State::VAR_OR_FUNC_DECL);
      cursor_.backUp();
      return true;
    default:
      break;
  }
  hasAttributeLead_ = false;
  switch (token.kind) {
    case T_CLASS_KEY:
      onClassKey(token);
      return true;
    case T_TEMPLATE:
      cursor_.backUp();
      push(State::TEMPLATE);
      return true;
    case T_FRIEND:
      friendParens_ = 0;
      push(State::IN_FRIEND);
      return true;
    case T_ENUM:
      onEnumKeyword();
      return true;
    case T_TYPEDEF:
      lexer_.OnTypedefBegin();
      endTypedefDeclarators();
      push(State::IN_TYPEDEF_BASE);
      return true;
    default:
      return false;
  }
}

// __declspec(...) and __attribute__((...)) before a declaration.
void Recognizer::startDeclSpec(const token_t& token) {
  if (!hasAttributeLead_) {
    attributeLead_ = token;
    const token_t* before = cursor_.before(1);
    attributeLeadPreviousLine_ = before != nullptr ? before->line : 0;
    hasAttributeLead_ = true;
  }
  declSpecDepth_ = 0;
  push(State::IN_DECL_SPEC);
}

void Recognizer::onInClass(const token_t& token) {
  deliverComments(token);
  switch (token.kind) {
    case '}':
      pop();
      return;
    case '~':
      push(State::VAR_OR_FUNC_DECL);
      cursor_.backUp();
      return;
    case T_PUBLIC:
    case T_PROTECTED:
    case T_PRIVATE:
      hasAttributeLead_ = false;
      lexer_.OnComment("", false);
      lexer_.OnAccessLabel(token.kind == T_PUBLIC      ? kPublic
                           : token.kind == T_PROTECTED ? kProtected
                                                       : kPrivate);
      return;
    case T_USING:
      // A using-declaration or alias in a class declares no member of its own.
      hasAttributeLead_ = false;
      push(State::IN_USING);
      return;
    default:
      break;
  }
  if (!onDeclarationStart(token)) hasAttributeLead_ = false;
}

// The template head: from "template" to the ">" that closes its parameter list.
void Recognizer::onTemplate(const token_t& token) {
  if (cursor_.peek().kind != '<') {
    // An explicit instantiation (template class X<int>;) declares nothing new.
    pop();
    for (size_t read = 0; read < kMaxDeclarationTokens; ++read) {
      const int32_t kind = cursor_.next().kind;
      if (kind == ';') break;
      if (kind == T_EOF || kind == '{' || kind == '}') {
        cursor_.backUp();
        break;
      }
    }
    return;
  }
  std::string text = token.text;
  int angles = 0;
  int parens = 0;
  bool closed = false;
  for (;;) {
    const token_t& next = cursor_.next();
    if (next.kind == T_EOF || next.kind == ';') break;
    appendTypeWord(text, next.text);
    if (next.kind == '(') {
      ++parens;
    } else if (next.kind == ')' && parens > 0) {
      --parens;
    } else if (parens == 0 && next.kind == '<') {
      ++angles;
    } else if (parens == 0 && next.kind == '>' && --angles <= 0) {
      closed = true;
      break;
    }
  }
  if (!closed) cursor_.backUp();
  lexer_.OnTemplatePrefix(cleanTypeText(std::move(text)));
  pop();
}

void Recognizer::onFriend(const token_t& token) {
  switch (token.kind) {
    case ';':
      pop();
      break;
    case '(':
      ++friendParens_;
      break;
    case ')':
      if (friendParens_ > 0) --friendParens_;
      break;
    case '{':
      if (friendParens_ > 0) break;  // a braced default argument
      lexer_.OnComment("", false);
      braceDepth_ = 1;
      replace(State::IN_SCOPE);
      break;
    default:
      break;
  }
}

// The names of a namespace head are announced when its body opens, so that an alias (namespace fs =
// std::filesystem;) opens nothing and namespace a::b { opens both.
void Recognizer::onNamespaceDecl(const token_t& token) {
  switch (token.kind) {
    case ';':
      namespaceNames_.clear();
      pop();
      return;
    case '{': {
      pop();
      push(State::EMPTY_NAMESPACE);
      for (const std::string& name : namespaceNames_) lexer_.OnNamespaceBegin(name);
      namespaceLevels_.push_back(namespaceNames_.size());
      namespaceNames_.clear();
      return;
    }
    default:
      break;
  }
  if (startsAttribute(token)) {
    skipAttribute(token);
  } else if (token.kind == T_IDENTIFIER && namespaceNames_.size() < kLookAhead) {
    namespaceNames_.push_back(token.text);
  }
}

void Recognizer::onNamespaceEnd() {
  // Each name the head announced is closed; an unnamed namespace announced none and closes none, so that
  // the namespace around it stays open.
  size_t names = 1;
  if (!namespaceLevels_.empty()) {
    names = namespaceLevels_.back();
    namespaceLevels_.pop_back();
  }
  for (size_t i = 0; i < names; ++i) lexer_.OnNamespaceEnd();
  pop();
}

void Recognizer::onUsing(const token_t& token) {
  if (token.kind == ';') {
    pop();
  } else if (token.kind == '{') {
    // using X = struct { ... }; the braces are skipped whole.
    braceDepth_ = 1;
    replace(State::IN_SCOPE);
  }
}

void Recognizer::onDeclSpec(const token_t& token) {
  if (token.kind == '(') {
    ++declSpecDepth_;
  } else if (token.kind == ';' || (token.kind == ')' && --declSpecDepth_ <= 0)) {
    pop();
  }
}

// A function body or skipped block: braces are counted, statements and decisions reported.
void Recognizer::onScope(const token_t& token) {
  switch (token.kind) {
    case '{':
      ++braceDepth_;
      break;
    case '}':
      if (--braceDepth_ <= 0) {
        braceDepth_ = 0;
        pop();
        lexer_.OnBodyEnd();
        lexer_.OnComment("", false);
      }
      break;
    case ';':
      lexer_.OnStatement();
      break;
    case T_IF:
      lexer_.OnIf();
      break;
    case T_ELSE:
      lexer_.OnElse();
      break;
    case T_WHILE:
      lexer_.OnWhile();
      break;
    case T_FOR:
      lexer_.OnFor();
      break;
    case T_CASE:
      lexer_.OnCase();
      break;
    case T_DEFAULT:
      lexer_.OnDefault();
      break;
    case T_ANDAND:
    case T_OROR:
      lexer_.OnLogicalOperator();
      break;
    default:
      break;
  }
}

}  // namespace quillet
