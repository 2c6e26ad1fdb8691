#include "frontend/recognizer/recognizer.h"

#include <cstdio>

#include "common/message_output.h"
#include "frontend/preprocessor/preprocessor.h"
#include "frontend/recognizer/type_text.h"

namespace quillet {

namespace {

constexpr const char* kStateNames[] = {
    "",
    "EMPTY",
    "EMPTY_EXTERN_C",
    "EMPTY_NAMESPACE",
    "TEMPLATE",
    "IN_SCOPE",
    "IN_ENUM",
    "IN_FRIEND",
    "IN_NAMESPACE_DECL",
    "IN_USING",
    "CLASS_DECL",
    "STRUCT_DECL",
    "CLASS_PARENTS",
    "CLASS_END",
    "IN_CLASS",
    "IN_TYPEDEF_BASE",
    "IN_TYPEDEF_BASE_LINK",
    "IN_TYPEDEF_BACK",
    "IN_TYPEDEF_ANON_ENUM",
    "IN_TYPEDEF_ANON_STRUCT_BACK",
    "IN_DECL_SPEC",
    "VAR_OR_FUNC_DECL",
    "MEMBER_FNC_INIT",
};

// Words that introduce a parenthesised attribute group.
bool isAttributeWord(const token_t& token) {
  if (token.kind == T_DECLSPEC) return true;
  if (token.kind != T_IDENTIFIER) return false;
  const std::string& t = token.text;
  return t == "__attribute__" || t == "__attribute" || t == "alignas" || t == "_Alignas";
}

}  // namespace

const char* stateName(RecognizerState state) {
  const auto index = static_cast<size_t>(state);
  return index < std::size(kStateNames) ? kStateNames[index] : "";
}

Recognizer::Recognizer(CppLexer& lexer, TokenStream& preprocessor)
    : lexer_(lexer),
      preprocessor_(preprocessor),
      cursor_(preprocessor),
      trace_(preprocessor.options().traceTokens),
      verbose_(preprocessor.options().verbose),
      commentsAfterPrototype_(preprocessor.options().commentsAfterPrototype) {}

void Recognizer::run() {
  braceDepth_ = 0;
  stack_.assign(1, State::EMPTY);
  for (;;) {
    const token_t& token = cursor_.next();
    if (token.kind == T_EOF) {
      // Comments after the last declaration arrive with the end of the module.
      deliverComments(token);
      return;
    }
    if (trace_) {
      std::fputs("! ", stdout);
      std::fwrite(token.text.data(), 1, token.text.size(), stdout);
      std::fputc('\n', stdout);
    }
    if (runCanceled()) return;
    const std::string& file = preprocessor_.currentFileName();
    if (file != fileName_) {
      fileName_ = file;
      lexer_.OnFileBegin(fileName_);
      if (verbose_) reportStatus("Parsing file: " + fileName_);
    }
    if (token.kind == '\\') continue;  // left over from a continued line
    dispatch(token);
  }
}

// ---- The state stack ----

void Recognizer::push(State state) {
  stack_.push_back(state);
  traceTop();
}

void Recognizer::pop() {
  stack_.pop_back();
  // Unbalanced input may pop more than was pushed; file level is where it ends up.
  if (stack_.empty()) stack_.push_back(State::EMPTY);
  traceTop();
}

void Recognizer::replace(State state) {
  stack_.back() = state;
  traceTop();
}

void Recognizer::traceTop() const {
  if (!trace_) return;
  std::fputs(stateName(top()), stdout);
  std::fputc('\n', stdout);
}

void Recognizer::dispatch(const token_t& token) {
  switch (top()) {
    case State::EMPTY:
      onEmpty(token);
      break;
    case State::EMPTY_EXTERN_C:
      if (token.kind == '}') {
        deliverComments(token);  // a comment just before the closing brace is delivered like any other
        pop();
      } else {
        onEmpty(token);
      }
      break;
    case State::EMPTY_NAMESPACE:
      if (token.kind == '}') {
        deliverComments(token);
        onNamespaceEnd();
      } else {
        onEmpty(token);
      }
      break;
    case State::TEMPLATE:
      onTemplate(token);
      break;
    case State::IN_SCOPE:
      onScope(token);
      break;
    case State::IN_ENUM:
      onEnum(token, false);
      break;
    case State::IN_FRIEND:
      onFriend(token);
      break;
    case State::IN_NAMESPACE_DECL:
      onNamespaceDecl(token);
      break;
    case State::IN_USING:
      onUsing(token);
      break;
    case State::CLASS_DECL:
    case State::STRUCT_DECL:
      onClassDecl(token);
      break;
    case State::CLASS_PARENTS:
      onClassParents(token);
      break;
    case State::CLASS_END:
      onClassEnd(token);
      break;
    case State::IN_CLASS:
      onInClass(token);
      break;
    case State::IN_TYPEDEF_BASE:
      onTypedefBase(token);
      break;
    case State::IN_TYPEDEF_BASE_LINK:
      onTypedefBaseLink(token);
      break;
    case State::IN_TYPEDEF_BACK:
      onTypedefBack(token);
      break;
    case State::IN_TYPEDEF_ANON_ENUM:
      onEnum(token, true);
      break;
    case State::IN_TYPEDEF_ANON_STRUCT_BACK:
      onTypedefAnonStructBack(token);
      break;
    case State::IN_DECL_SPEC:
      onDeclSpec(token);
      break;
    case State::VAR_OR_FUNC_DECL:
      onVarOrFuncDecl(token);
      break;
    case State::MEMBER_FNC_INIT:
      onMemberInit(token);
      break;
  }
}

// ---- Look-ahead ----

bool Recognizer::startsAttribute(const token_t& token) {
  if (token.kind == '[') return cursor_.peek().kind == '[';
  return isAttributeWord(token) && cursor_.peek().kind == '(';
}

void Recognizer::skipAttribute(const token_t& token) {
  if (token.kind == '[') {
    skipGroup('[', ']', true, kMaxDeclarationTokens);
  } else {
    skipGroup('(', ')', false, kMaxDeclarationTokens);
  }
}

// Reads the balanced group of `open` and `close` that follows, at most `limit` tokens; with `inside` the
// caller has already read one `open`. Stops before ";", "{", "}" or the end of input, which no attribute
// group contains. Returns the number of tokens read.
size_t Recognizer::skipGroup(int32_t open, int32_t close, bool inside, size_t limit) {
  int depth = inside ? 1 : 0;
  size_t read = 0;
  while (read < limit) {
    const int32_t kind = cursor_.peek().kind;
    if (kind == T_EOF || kind == ';' || kind == '{' || kind == '}') break;
    if (depth == 0 && kind != open) break;
    cursor_.next();
    ++read;
    if (kind == open) {
      ++depth;
    } else if (kind == close && --depth == 0) {
      break;
    }
  }
  return read;
}

bool Recognizer::isClassDefinition() {
  size_t read = 0;
  int names = 0;
  bool answer = false;
  // Reads a parenthesised or angle-bracketed group; false when it holds ";" or "{" or runs too long.
  auto group = [&](int32_t open, int32_t close) {
    int depth = 0;
    while (read < kLookAhead) {
      const token_t& token = cursor_.next();
      ++read;
      if (token.kind == ';' || token.kind == '{' || token.kind == T_EOF) return false;
      if (token.kind == open) ++depth;
      if (token.kind == close && --depth <= 0) return true;
    }
    return false;
  };
  while (read < kLookAhead) {
    const token_t& token = cursor_.next();
    ++read;
    const int32_t kind = token.kind;
    if (kind == ':' || kind == '{') {
      answer = true;
      break;
    }
    if (kind == ';') {
      answer = names == 1;
      break;
    }
    if (isAttributeWord(token)) {
      if (cursor_.peek().kind == '(' && !group('(', ')')) break;
      continue;
    }
    if (kind == '[' && cursor_.peek().kind == '[') {
      if (!group('[', ']') || cursor_.peek().kind != ']') break;
      cursor_.next();
      ++read;
      continue;
    }
    if (kind == T_IDENTIFIER) {
      ++names;
      continue;
    }
    if (kind == T_SCOPE) continue;
    // The argument list of a specialization: struct hash<Key> {.
    if (kind == '<' && names > 0) {
      cursor_.backUp();
      --read;
      if (!group('<', '>')) break;
      continue;
    }
    break;
  }
  for (; read > 0; --read) cursor_.backUp();
  return answer;
}

bool Recognizer::braceFollows(int tokens) {
  int read = 0;
  bool found = false;
  while (read < tokens) {
    const token_t& token = cursor_.next();
    ++read;
    if (token.kind == '{') {
      found = true;
      break;
    }
    if (token.kind == T_EOF) break;
  }
  for (; read > 0; --read) cursor_.backUp();
  return found;
}

// An enumeration head written the modern way: enum class E : unsigned {, enum E : int {, or the opaque
// declaration enum class E;
Recognizer::EnumHead Recognizer::enumHead() {
  size_t read = 0;
  bool scoped = false;
  bool based = false;
  EnumHead answer = EnumHead::kOther;
  while (read < kLookAhead) {
    const token_t& token = cursor_.next();
    ++read;
    const int32_t kind = token.kind;
    if (kind == '{') {
      answer = EnumHead::kDefinition;
      break;
    }
    if (kind == ';') {
      if (scoped || based) answer = EnumHead::kOpaque;
      break;
    }
    if (kind == T_CLASS_KEY && read == 1) {
      scoped = true;
    } else if (kind == ':') {
      based = true;
    } else if (kind == '[' && cursor_.peek().kind == '[') {
      read += skipGroup('[', ']', true, kLookAhead - read);
    } else if (isAttributeWord(token)) {
      read += skipGroup('(', ')', false, kLookAhead - read);
    } else if (kind != T_IDENTIFIER && kind != T_SCOPE &&
               !(based && (kind == T_TYPE || kind == T_QUALIFIER))) {
      break;
    }
  }
  for (; read > 0; --read) cursor_.backUp();
  return answer;
}

}  // namespace quillet
