// The recognizer's class and enumeration states: the class head with its name and base list, the end of
// a class, and the body of an enumeration with its enumerators.
#include "frontend/recognizer/recognizer.h"
#include "frontend/recognizer/type_text.h"

namespace quillet {

namespace {

// Words after a class name that are no part of it: class X final {.
bool isClassVirtSpecifier(const std::string& text) {
  return text == "final" || text == "sealed";
}

}  // namespace

// A class key at file level or in a class body: a class definition or forward declaration, or else a
// declaration that merely uses the class (struct X x;).
void Recognizer::onClassKey(const token_t& token) {
  if (!isClassDefinition()) {
    push(State::VAR_OR_FUNC_DECL);
    cursor_.backUp();
    return;
  }
  push(State::CLASS_END);
  lexer_.OnClassKey(token.text);
  enterClassDecl(token.text);
}

void Recognizer::enterClassDecl(const std::string& key) {
  classHead_.clear();
  classHeadAngles_ = 0;
  classIsStruct_ = key != "class";
  push(classIsStruct_ ? State::STRUCT_DECL : State::CLASS_DECL);
}

void Recognizer::onClassDecl(const token_t& token) {
  deliverHeadComment(token);
  const int32_t kind = token.kind;
  if (kind == ':' && classHeadAngles_ == 0) {
    beginClass();
    const int access = classIsStruct_ ? kPublic : kPrivate;
    lexer_.OnAccessLabel(access);
    replace(State::CLASS_PARENTS);
    baseAccess_ = access;
    templateDepth_ = 0;
    baseText_.clear();
    return;
  }
  if (kind == '{') {
    deliverHeadComment(cursor_.peek());  // a comment just inside the body documents the class
    beginClass();
    lexer_.OnClassComment();
    lexer_.OnAccessLabel(classIsStruct_ ? kPublic : kPrivate);
    braceDepth_ = 1;
    replace(State::IN_CLASS);
    return;
  }
  if (kind == ';') {
    // A forward declaration.
    const bool isClass = top() == State::CLASS_DECL;
    pop();
    pop();
    if (isClass) lexer_.OnTemplatePrefix("");
    lexer_.OnComment("", false);
    return;
  }
  if (kind == T_DECLSPEC ||
      (kind == T_IDENTIFIER && (token.text == "__attribute__" || token.text == "__attribute"))) {
    declSpecDepth_ = 0;
    push(State::IN_DECL_SPEC);
    return;
  }
  if (startsAttribute(token)) {
    skipAttribute(token);
    return;
  }
  // The name and whatever else the head holds; the name is found once the head is complete.
  if (kind == '<') ++classHeadAngles_;
  if (kind == '>' && classHeadAngles_ > 0) --classHeadAngles_;
  if (classHead_.size() >= kLookAhead)
    classHead_.erase(classHead_.begin(), classHead_.begin() + kLookAhead / 2);
  classHead_.push_back({kind, token.text, token.line});
}

// The class name is the last name of the head, qualified by the names and "::" before it. The argument
// list of a specialization stays part of the name (hash<Key>, X<T*>), so that a specialization is a class
// of its own; a trailing "final" is no part of it.
void Recognizer::beginClass() {
  lexer_.OnClassBegin();
  size_t end = classHead_.size();
  if (end >= 2 && classHead_[end - 1].kind == T_IDENTIFIER && isClassVirtSpecifier(classHead_[end - 1].text))
    --end;
  // The index of the name that ends at `at`: a template argument list is stepped over; npos when none.
  auto nameBefore = [this](size_t at) -> size_t {
    if (classHead_[at].kind != '>') return at;
    int depth = 0;
    for (size_t i = at + 1; i-- > 0;) {
      if (classHead_[i].kind == '>') ++depth;
      if (classHead_[i].kind == '<' && --depth == 0) return i > 0 ? i - 1 : std::string::npos;
    }
    return std::string::npos;
  };
  // The name at `at` with the argument list up to `last` written as a type text.
  auto spelled = [this](size_t at, size_t last) {
    if (at == last) return classHead_[at].text;
    std::vector<token_t> tokens(last - at + 1);
    for (size_t i = at; i <= last; ++i) tokens[i - at].text = classHead_[i].text;
    return templateNameText(tokens.data(), tokens.data() + tokens.size());
  };
  if (end == 0) return;  // unnamed
  size_t at = nameBefore(end - 1);
  if (at == std::string::npos) return;
  std::string name = spelled(at, end - 1);
  while (at >= 2 && classHead_[at - 1].kind == T_SCOPE) {
    const size_t scope = nameBefore(at - 2);
    if (scope == std::string::npos) break;
    name = spelled(scope, at - 2) + "::" + name;
    at = scope;
  }
  lexer_.declarationLine_ = classHead_[at].line;
  lexer_.OnClassName(name);
}

void Recognizer::onClassParents(const token_t& token) {
  deliverHeadComment(token);
  const int defaultAccess = classIsStruct_ ? kPublic : kPrivate;
  auto endBase = [&] {
    std::string text = cleanTypeText(std::move(baseText_));
    if (!text.empty()) lexer_.OnBaseClass(baseAccess_, text);
    baseAccess_ = defaultAccess;
    templateDepth_ = 0;
    baseText_.clear();
  };
  switch (token.kind) {
    case T_PUBLIC:
      baseAccess_ = kPublic;
      return;
    case T_PROTECTED:
      baseAccess_ = kProtected;
      return;
    case T_PRIVATE:
      baseAccess_ = kPrivate;
      return;
    case '<':
      ++templateDepth_;
      appendTypeWord(baseText_, token.text);
      return;
    case '>':
      appendTypeWord(baseText_, token.text);
      --templateDepth_;
      return;
    case ',':
      if (templateDepth_ == 0) {
        endBase();
      } else {
        appendTypeWord(baseText_, token.text);
      }
      return;
    case '{':
      braceDepth_ = 1;
      replace(State::IN_CLASS);
      if (templateDepth_ == 0) {
        deliverHeadComment(cursor_.peek());
        endBase();
        lexer_.OnClassComment();
      }
      return;
    default:
      if (baseText_.size() < (1u << 20)) appendTypeWord(baseText_, token.text);
      return;
  }
}

// The token after a class's closing brace: the class ends and the token goes to the state below.
void Recognizer::onClassEnd(const token_t&) {
  cursor_.backUp();
  lexer_.OnClassEnd();
  pop();
}

// "enum" at file level or in a class body.
void Recognizer::onEnumKeyword() {
  if (braceFollows(2)) {
    enterEnum(State::IN_ENUM);
    return;
  }
  switch (enumHead()) {
    case EnumHead::kDefinition:
      enterEnum(State::IN_ENUM);
      return;
    case EnumHead::kOpaque:
      // enum class E : int; declares no enumerators.
      for (size_t read = 0; read < kLookAhead; ++read) {
        const int32_t kind = cursor_.next().kind;
        if (kind == ';' || kind == T_EOF) break;
      }
      return;
    case EnumHead::kOther:
      push(State::VAR_OR_FUNC_DECL);
      return;
  }
}

void Recognizer::enterEnum(State state) {
  accumulated_.clear();
  enumParens_ = 0;
  enumOpen_ = false;
  push(state);
}

// The name of an enumeration from the tokens of its head: the last one before the "{", or before the
// ":" of an underlying type; none when the head is just "enum", "enum class" or "enum struct".
std::string Recognizer::enumName() const {
  size_t end = accumulated_.size();
  for (size_t i = 0; i < accumulated_.size(); ++i)
    if (accumulated_[i].kind == ':') {
      end = i;
      break;
    }
  if (end == 0) return {};
  const token_t& name = accumulated_[end - 1];
  if (name.kind == T_CLASS_KEY || name.kind == T_ENUM) return {};
  return name.text;
}

void Recognizer::onEnum(const token_t& token, bool inTypedef) {
  switch (token.kind) {
    case '{':
      if (enumOpen_) break;
      {
        deliverCombined(token, true);
        const std::string name = inTypedef ? std::string() : enumName();
        accumulated_.clear();
        enumOpen_ = true;
        enumPreviousLine_ = token.line;
        lexer_.declarationLine_ = token.line;
        lexer_.OnEnumBegin();
        if (!name.empty()) lexer_.OnEnumName(name);
      }
      return;
    case ',':
      if (!enumOpen_ || enumParens_ > 0) break;
      endEnumerator(token.line, cursor_.peek());
      return;
    case '}':
      if (!enumOpen_) break;
      endEnumerator(accumulated_.empty() ? token.line : accumulated_.back().line, token);
      if (!inTypedef) {
        lexer_.OnEnumEnd();
        lexer_.OnComment("", false);
        pop();
      } else {
        // typedef enum { ... } Name;: the enumeration takes the typedef's name.
        const std::string name = cursor_.peek().text;
        lexer_.OnEnumName(name);
        lexer_.OnEnumEnd();
        lexer_.OnTypedefDeclared(name);
        lexer_.OnTypedefPart(name);
        lexer_.OnTypedefBaseEnd();
        pop();
      }
      return;
    case ';':
      if (inTypedef) lexer_.OnTypedefEnd();
      accumulated_.clear();
      pop();
      return;
    case '(':
      ++enumParens_;
      break;
    case ')':
      if (enumParens_ > 0) --enumParens_;
      break;
    default:
      break;
  }
  if (accumulated_.size() < kMaxDeclarationTokens) accumulated_.push_back(token);
}

// One enumerator from the tokens gathered since the last "," or the "{", written with one blank between
// tokens (Red = 1), ended on `line` with `next` the token after its ",". Its comment is the one before it
// (unless that began on the line of the "{" or "," before it, where it documents something else) and the
// one after it on its line or marked as documenting it.
void Recognizer::endEnumerator(uint32_t line, const token_t& next) {
  if (accumulated_.empty()) return;  // a trailing comma
  std::string text;
  for (const token_t& part : accumulated_) {
    if (!text.empty()) text += ' ';
    text += part.text;
  }
  const token_t& first = accumulated_.front();
  std::string comment;
  if (first.comment && (partlyClaimed(first) || first.commentLine != enumPreviousLine_))
    comment = ownComment(first);
  comment += takeTrailingComment(next, line, false);
  accumulated_.clear();
  enumPreviousLine_ = line;
  lexer_.OnEnumerator(text, comment);
}

}  // namespace quillet
