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
      startUsing(false);
      return;
    case T_NAMESPACE: {
      namespaceNames_.clear();
      namespaceInline_.clear();
      const token_t* before = cursor_.before(1);
      nextNamespaceInline_ = before != nullptr && before->kind == T_INLINE;
      push(State::IN_NAMESPACE_DECL);
      return;
    }
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
  if (token.kind == T_IDENTIFIER && token.text == "concept" && cursor_.peek().kind == T_IDENTIFIER) {
    hasAttributeLead_ = false;
    readConcept();
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
      friendText_.clear();
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
      startUsing(true);
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
  text = cleanTypeText(std::move(text));
  if (closed) {
    std::string clause;
    readRequiresClause(clause);
    if (!clause.empty()) text += " " + tightText(std::move(clause));
  }
  lexer_.OnTemplatePrefix(text);
  pop();
}

// A requires clause after a template head (requires Sortable<T> && (N > 0)) is part of the head.
void Recognizer::readRequiresClause(std::string& text) {
  if (!(cursor_.peek().kind == T_IDENTIFIER && cursor_.peek().text == "requires")) return;
  appendTypeWord(text, cursor_.next().text);
  // Appends the balanced group that opens with the next token; false when it does not close in reach.
  auto group = [&](int32_t open, int32_t close) {
    int depth = 0;
    for (size_t read = 0; read < kMaxDeclarationTokens; ++read) {
      const token_t& next = cursor_.next();
      if (next.kind == T_EOF || (next.kind == ';' && open != '{')) {
        cursor_.backUp();
        return false;
      }
      appendTypeWord(text, next.text);
      if (next.kind == open) ++depth;
      if (next.kind == close && --depth <= 0) return true;
    }
    return false;
  };
  for (size_t terms = 0; terms < kLookAhead; ++terms) {
    const token_t& first = cursor_.peek();
    if (first.kind == '(') {
      if (!group('(', ')')) return;
    } else if (first.kind == T_IDENTIFIER && first.text == "requires") {
      appendTypeWord(text, cursor_.next().text);
      if (cursor_.peek().kind == '(' && !group('(', ')')) return;
      if (cursor_.peek().kind == '{' && !group('{', '}')) return;
    } else if (first.kind == T_IDENTIFIER || first.kind == T_SCOPE || first.kind == '!') {
      while (cursor_.peek().kind == T_IDENTIFIER || cursor_.peek().kind == T_SCOPE ||
             cursor_.peek().kind == '!')
        appendTypeWord(text, cursor_.next().text);
      if (cursor_.peek().kind == '<' && !group('<', '>')) return;
    } else {
      return;
    }
    const int32_t joiner = cursor_.peek().kind;
    if (joiner != T_ANDAND && joiner != T_OROR) return;
    appendTypeWord(text, cursor_.next().text);
  }
}

// A concept definition: template <class T> concept Name = constraint;
void Recognizer::readConcept() {
  const std::string name = cursor_.next().text;
  std::string text;
  int depth = 0;
  bool afterEquals = false;
  for (size_t read = 0; read < kMaxDeclarationTokens; ++read) {
    const token_t& next = cursor_.next();
    if (next.kind == T_EOF) break;
    if (depth == 0 && next.kind == ';') break;
    if (next.kind == '(' || next.kind == '{' || next.kind == '[') ++depth;
    if ((next.kind == ')' || next.kind == '}' || next.kind == ']') && depth > 0) --depth;
    if (!afterEquals) {
      afterEquals = next.kind == '=';
      continue;
    }
    appendTypeWord(text, next.text);
  }
  lexer_.OnConcept(name, tightText(std::move(text)));
  lexer_.OnComment("", false);
}

void Recognizer::onFriend(const token_t& token) {
  auto report = [&] {
    std::string text = tightText(std::move(friendText_));
    friendText_.clear();
    if (!text.empty()) lexer_.OnFriend(text);
  };
  switch (token.kind) {
    case ';':
      if (friendParens_ == 0) report();
      pop();
      return;
    case '(':
      ++friendParens_;
      break;
    case ')':
      if (friendParens_ > 0) --friendParens_;
      break;
    case '{':
      if (friendParens_ > 0) break;  // a braced default argument
      report();
      lexer_.OnComment("", false);
      braceDepth_ = 1;
      replace(State::IN_SCOPE);
      return;
    default:
      break;
  }
  if (friendText_.size() < (1u << 12)) appendTypeWord(friendText_, token.text);
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
      for (size_t i = 0; i < namespaceNames_.size(); ++i) {
        if (namespaceInline_[i]) {
          lexer_.OnInlineNamespaceBegin(namespaceNames_[i]);
        } else {
          lexer_.OnNamespaceBegin(namespaceNames_[i]);
        }
      }
      namespaceLevels_.push_back(namespaceNames_.size());
      namespaceNames_.clear();
      return;
    }
    default:
      break;
  }
  if (startsAttribute(token)) {
    skipAttribute(token);
  } else if (token.kind == T_INLINE) {
    nextNamespaceInline_ = true;  // namespace fmt::inline v9 {
  } else if (token.kind == T_IDENTIFIER && namespaceNames_.size() < kLookAhead) {
    namespaceNames_.push_back(token.text);
    namespaceInline_.push_back(nextNamespaceInline_);
    nextNamespaceInline_ = false;
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

// "using": an alias (using Name = type;) is reported as a typedef; a using-declaration in a class body
// (using Base::f;) is noted; anything else (using namespace std;) is passed over.
void Recognizer::startUsing(bool inClass) {
  if (readAlias()) return;
  if (inClass && cursor_.peek().kind != T_NAMESPACE) {
    std::string text;
    size_t read = 0;
    while (read < kLookAhead) {
      const token_t& next = cursor_.next();
      ++read;
      if (next.kind == ';') {
        if (!text.empty()) lexer_.OnUsingDeclaration(cleanTypeText(std::move(text)));
        return;
      }
      if (next.kind == T_EOF || next.kind == '{' || next.kind == '}' || next.kind == '=') break;
      if (!(read == 1 && next.text == "typename")) appendTypeWord(text, next.text);
    }
    for (; read > 0; --read) cursor_.backUp();
  }
  push(State::IN_USING);
}

// using Name = type; reported as typedef Name of that type. False, with nothing read, for anything else
// or for an alias of a class body (using S = struct {...};), which IN_USING skips.
bool Recognizer::readAlias() {
  size_t read = 0;
  auto giveUp = [&] {
    for (; read > 0; --read) cursor_.backUp();
    return false;
  };
  const token_t& name = cursor_.next();
  ++read;
  if (name.kind != T_IDENTIFIER) return giveUp();
  std::string nameText = name.text;
  while (cursor_.peek().kind == '[') {  // using Name [[deprecated]] = type;
    cursor_.next();
    ++read;
    if (cursor_.peek().kind != '[') return giveUp();
    read += skipGroup('[', ']', true, kLookAhead);
  }
  if (cursor_.next().kind != '=') {
    ++read;
    return giveUp();
  }
  ++read;
  std::vector<token_t> type;
  int depth = 0;
  for (;;) {
    if (read >= kLookAhead) return giveUp();
    const token_t& next = cursor_.next();
    ++read;
    if (next.kind == T_EOF || next.kind == '{' || next.kind == '}') return giveUp();
    if (depth == 0 && next.kind == ';') break;
    if (next.kind == '(' || next.kind == '[') ++depth;
    if ((next.kind == ')' || next.kind == ']') && depth > 0) --depth;
    type.push_back(next);
  }
  lexer_.OnTypedefBegin();
  size_t i = 0;
  while (i < type.size() && (type[i].kind == T_QUALIFIER || type[i].text == "typename"))
    lexer_.OnTypedefPart(type[i++].text);
  for (; i < type.size(); ++i) {
    const int32_t kind = type[i].kind;
    if (kind != T_IDENTIFIER && kind != T_TYPE && kind != T_SCOPE) break;
    lexer_.OnTypedefPart(type[i].text);
    lexer_.OnTypedefDeclared(type[i].text);
    if (kind != T_SCOPE && (i + 1 == type.size() || type[i + 1].kind != T_SCOPE)) {
      ++i;
      break;
    }
  }
  lexer_.OnTypedefBaseEnd();
  for (; i < type.size(); ++i) lexer_.OnTypedefPart(type[i].text);
  lexer_.OnTypedefName(nameText);
  lexer_.OnTypedefEnd();
  return true;
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
