// The recognizer's function and data declarations: the tokens of a declaration are gathered in
// VAR_OR_FUNC_DECL and analysed when it ends. A declaration with one (or three) parenthesised groups and
// no "=" before them is a function: its parameter list, name, scope, return type, parameters and trailer
// are reported. Anything else is data. MEMBER_FNC_INIT skips a constructor's initializer list or a
// bit-field width.
#include <algorithm>
#include <string_view>

#include "frontend/recognizer/declaration_shape.h"
#include "frontend/recognizer/recognizer.h"
#include "frontend/recognizer/type_text.h"

namespace quillet {

using namespace declaration;

// Words no declaration contains: met while one is gathered, they show that it never ended (as after the
// stray tokens of a macro body), and they start something new.
bool Recognizer::endsDeclaration(const token_t& token) const {
  switch (token.kind) {
    case T_NAMESPACE:
    case T_EXTERN:
    case T_TYPEDEF:
    case T_USING:
    case T_IF:
    case T_ELSE:
    case T_WHILE:
    case T_FOR:
    case T_DO:
    case T_SWITCH:
    case T_CASE:
      return true;
    case T_TEMPLATE:
      // typename T::template rebind<U> is part of a type.
      return accumulated_.empty() || (accumulated_.back().kind != T_SCOPE && accumulated_.back().kind != '.');
    default:
      return false;
  }
}

// ---- Gathering ----

void Recognizer::onVarOrFuncDecl(const token_t& token) {
  const int32_t kind = token.kind;
  if (kind == T_INLINE) return;
  if (startsAttribute(token)) {
    skipAttribute(token);  // attribute groups say nothing about the declaration's shape
    return;
  }
  if (declBraces_ == 0) {
    if (kind == ';') {
      reportedFunction_ = false;
      if (!accumulated_.empty()) analyseDeclaration(token);
      abandonDeclaration();
      // A prototype followed on its line by a comment marked as documenting it (void f(); ///< ...).
      if (reportedFunction_) {
        const std::string trailing = takeTrailingComment(cursor_.peek(), token.line, true);
        if (!trailing.empty()) lexer_.OnComment(trailing, true);
      }
      lexer_.OnFunctionEnd(true);
      pop();
      return;
    }
    if (kind == '}' || kind == T_PUBLIC || kind == T_PROTECTED || kind == T_PRIVATE ||
        endsDeclaration(token)) {
      // The declaration never ended; the token belongs to the state below.
      if (!accumulated_.empty()) skipped("it does not end before '" + token.text + "'");
      pop();
      cursor_.backUp();
      abandonDeclaration();
      return;
    }
    if (declParens_ == 0 && kind == ':') {
      analyseDeclaration(token);
      abandonDeclaration();
      lexer_.OnFunctionEnd(false);
      replace(State::MEMBER_FNC_INIT);
      initParens_ = 0;
      initBraces_ = 0;
      initLastKind_ = ':';
      return;
    }
    if (declParens_ == 0 && kind == '{') {
      if (accumulated_.empty()) return;
      if (commentsAfterPrototype_) deliverCombined(token, true);
      analyseDeclaration(token);
      abandonDeclaration();
      pop();
      braceDepth_ = 1;
      push(State::IN_SCOPE);
      lexer_.OnFunctionEnd(false);
      return;
    }
  }
  // Braces inside parentheses belong to default arguments: void f(std::vector<int> v = {}).
  if (kind == '(') {
    ++declParens_;
  } else if (kind == ')') {
    if (declParens_ > 0) --declParens_;
  } else if (kind == '{') {
    ++declBraces_;
  } else if (kind == '}') {
    --declBraces_;
  }
  accumulate(token);
}

void Recognizer::accumulate(const token_t& token) {
  if (accumulated_.size() >= kMaxDeclarationTokens) {
    // Far too long for a declaration: give it up and go on with what follows.
    skipped("it is too long");
    abandonDeclaration();
    pop();
    return;
  }
  if (!accumulated_.empty()) {
    accumulated_.push_back(token);
    return;
  }
  const token_t* before = cursor_.before(1);
  declPreviousLine_ = before != nullptr ? before->line : 0;
  accumulated_.push_back(token);
  if (hasAttributeLead_) {
    // The comment before an attribute group ([[nodiscard]] int f();) belongs to the declaration.
    if (!token.comment) {
      accumulated_.back().comment = attributeLead_.comment;
      accumulated_.back().commentLine = attributeLead_.commentLine;
      declPreviousLine_ = attributeLeadPreviousLine_;
    }
    hasAttributeLead_ = false;
  }
}

void Recognizer::abandonDeclaration() {
  accumulated_.clear();
  declParens_ = 0;
  declBraces_ = 0;
}

void Recognizer::onMemberInit(const token_t& token) {
  switch (token.kind) {
    case '(':
      ++initParens_;
      break;
    case ')':
      if (initParens_ > 0) --initParens_;
      break;
    case '{':
      // A braced initializer (member{1}) or the body, which follows a ")" or "}".
      if (initParens_ > 0 || initBraces_ > 0 || initLastKind_ == T_IDENTIFIER || initLastKind_ == '>') {
        ++initBraces_;
        break;
      }
      pop();
      braceDepth_ = 1;
      push(State::IN_SCOPE);
      return;
    case '}':
      if (initBraces_ > 0) --initBraces_;
      break;
    case ';':
      if (initParens_ == 0 && initBraces_ == 0) {
        pop();
        return;
      }
      break;
    default:
      break;
  }
  initLastKind_ = token.kind;
}

// ---- Analysis ----

void Recognizer::analyseDeclaration(const token_t& terminator) {
  if (accumulated_.empty()) return;
  if (isWord(accumulated_.front(), "static_assert") || isWord(accumulated_.front(), "_Static_assert")) return;
  const Shape shape = shapeOf(accumulated_);
  if (!shape.balanced) {
    skipped("its parentheses do not match");
    return;
  }
  if ((shape.groups == 1 || shape.groups == 3) && !shape.equalsBeforeGroup) {
    if (shape.listOpen == 0) {
      skipped("it has no name before its parameter list");
      return;
    }
    reportFunction(shape.listOpen, shape.listClose, shape.throwAt);
    return;
  }
  reportData(terminator);
}

// Tells the lexer about the declaration gathered so far, which is passed over because of `why`.
void Recognizer::skipped(std::string_view why) {
  if (accumulated_.empty()) return;
  std::string text;
  for (size_t i = 0; i < accumulated_.size() && text.size() < 60; ++i)
    appendTypeWord(text, accumulated_[i].text);
  text = tightText(std::move(text));
  if (text.size() >= 60) text += " ...";
  text += "\" (";
  text += why;
  text += ')';
  lexer_.OnSkippedDeclaration("\"" + text, accumulated_.front().line);
}

void Recognizer::reportFunction(size_t open, size_t close, size_t throwAt) {
  const std::vector<token_t>& tokens = accumulated_;
  const size_t count = tokens.size();

  // The name: the token before the list; a template argument list after it is stepped over.
  size_t at = open - 1;
  if (tokens[at].kind == '>') {
    at = matchingAngle(tokens, at);
    if (at == kNone || at == 0) return;
    --at;
  }
  if (!isWordKind(tokens[at].kind)) return;
  reportedFunction_ = true;
  std::string name = tokens[at].text;
  size_t start = at;
  if (start > 0 && tokens[start - 1].kind == '~') {
    name = "~" + name;
    --start;
  }
  // The scope: names joined by "::" before the name, each with the template arguments written after it
  // (X<int>::f names a member of the specialization X<int>).
  std::vector<std::string> scopes;
  while (start >= 2 && tokens[start - 1].kind == T_SCOPE) {
    const size_t last = start - 2;
    size_t scope = last;
    if (tokens[scope].kind == '>') {
      scope = matchingAngle(tokens, scope);
      if (scope == kNone || scope == 0) break;
      --scope;
    }
    if (!isWordKind(tokens[scope].kind)) break;
    scopes.push_back(templateNameText(&tokens[scope], &tokens[last] + 1));
    start = scope;
  }
  std::string scope;
  for (size_t i = scopes.size(); i-- > 0;) {
    if (!scope.empty()) scope += "::";
    scope += scopes[i];
  }

  // A trailing return type (auto f() -> int) takes the place of "auto" in the return type.
  size_t arrow = kNone;
  size_t arrowEnd = kNone;
  int depth = 0;
  for (size_t i = close + 1; i + 1 < count; ++i) {
    const int32_t kind = tokens[i].kind;
    if (kind == '(' || kind == '[') ++depth;
    if ((kind == ')' || kind == ']') && depth > 0) --depth;
    if (depth == 0 && kind == '-' && tokens[i + 1].kind == '>') {
      arrow = i;
      break;
    }
  }
  if (arrow != kNone) {
    Nesting nesting;
    arrowEnd = count;
    for (size_t i = arrow + 2; i < count; ++i) {
      const token_t& token = tokens[i];
      if (nesting.step(token) && (token.kind == '=' || token.kind == T_THROW || isWord(token, "override") ||
                                  isWord(token, "final") || isWord(token, "requires"))) {
        arrowEnd = i;
        break;
      }
    }
  }
  // A deduction guide (template <class T> X(T) -> X<T>;) names no return type and declares no function.
  if (arrow != kNone && scope.empty() && (start == 0 || (start == 1 && isWord(tokens[0], "explicit"))))
    return;

  std::vector<const token_t*> words;
  bool replaced = false;
  for (size_t i = 0; i < start; ++i) {
    if (arrow != kNone && !replaced && isWord(tokens[i], "auto")) {
      for (size_t j = arrow + 2; j < arrowEnd; ++j) words.push_back(&tokens[j]);
      replaced = true;
      continue;
    }
    words.push_back(&tokens[i]);
  }
  if (arrow != kNone && !replaced)
    for (size_t j = arrow + 2; j < arrowEnd; ++j) words.push_back(&tokens[j]);
  lexer_.OnReturnType(joinTypeText(words));
  lexer_.declarationLine_ = tokens[at].line;
  lexer_.OnFunctionName(scope, name);

  reportParameters(open, close);

  // The trailer: attributes before "throw", the throw specification from it on.
  std::vector<const token_t*> attributes;
  std::vector<const token_t*> throwSpec;
  for (size_t i = close + 1; i < count; ++i) {
    if (arrow != kNone && i >= arrow && i < arrowEnd) continue;
    (i < throwAt ? attributes : throwSpec).push_back(&tokens[i]);
  }
  lexer_.OnFunctionTrailer(joinTypeText(attributes), joinTypeText(throwSpec));
}

void Recognizer::reportParameters(size_t open, size_t close) {
  Nesting nesting;
  size_t begin = open + 1;
  for (size_t i = open + 1; i < close; ++i) {
    if (nesting.step(accumulated_[i]) && accumulated_[i].kind == ',') {
      reportParameter(begin, i);
      begin = i + 1;
      nesting.restart();
    }
  }
  if (begin < close) reportParameter(begin, close);
}

// One parameter, the tokens [begin, end), followed by the "," or ")" at `end`.
void Recognizer::reportParameter(size_t begin, size_t end) {
  const std::vector<token_t>& tokens = accumulated_;
  if (begin >= end) return;
  const size_t equals = initializerAt(tokens, begin, end);
  const std::string defaultValue = equals < end ? sourceText(&tokens[equals + 1], tokens.data() + end) : "";

  // The comment: one that begins on the line of the parameter's last token, just before it or just after
  // it, or a comment that ends the line after the parameter's comma.
  std::string comment;
  const token_t& last = tokens[end - 1];
  const token_t& delimiter = tokens[end];
  if (last.comment && last.commentLine == last.line) comment += ownComment(last);
  if (delimiter.comment && delimiter.commentLine == last.line) comment += ownComment(delimiter);
  if (delimiter.kind == ',' && end + 1 < tokens.size()) {
    const token_t& after = tokens[end + 1];
    if (after.comment && after.commentLine == delimiter.line && after.line > delimiter.line)
      comment += ownComment(after);
  }

  if (equals - begin == 3 && tokens[begin].kind == '.' && tokens[begin + 1].kind == '.' &&
      tokens[begin + 2].kind == '.') {
    lexer_.OnParameter("...", "...", "", defaultValue, comment);
    return;
  }
  if (equals == begin) return;

  // The name: inside a parenthesised declarator (void (*callback)(int)), or else the last identifier
  // before any array part when a type word precedes it. A lone type (std::string, struct X, unsigned) has
  // no name.
  size_t name = kNone;
  size_t nameEnd = kNone;
  const size_t declarator = parenthesisedDeclarator(tokens, begin, equals);
  if (declarator != kNone) {
    name = nameInDeclarator(tokens, declarator, matchingClose(tokens, declarator, equals));
    nameEnd = name + 1;
  } else {
    size_t at = equals;
    while (at > begin && tokens[at - 1].kind == ']') {
      const size_t open = matchingOpenBracket(tokens, at - 1, begin);
      if (open == kNone) break;
      at = open;
    }
    const size_t candidate = at - 1;
    if (candidate > begin && tokens[candidate].kind == T_IDENTIFIER && !isLanguageWord(tokens[candidate])) {
      const token_t& before = tokens[candidate - 1];
      const bool qualified = before.kind == T_SCOPE || before.kind == '.' || before.kind == T_CLASS_KEY ||
                             before.kind == T_ENUM || isWord(before, "typename");
      bool typed = false;
      for (size_t i = begin; i < candidate && !typed; ++i) typed = isTypeWord(tokens[i]);
      if (!qualified && typed) {
        name = candidate;
        nameEnd = equals;  // the array part goes with the name, as for data
      }
    }
  }
  std::vector<const token_t*> words;
  for (size_t i = begin; i < equals; ++i)
    if (name == kNone || i < name || i >= nameEnd) words.push_back(&tokens[i]);
  const std::string signatureType = buildTypeText(words, true);
  const std::string type = buildTypeText(words, false);
  lexer_.OnParameter(signatureType, type, name == kNone ? std::string() : nameText(tokens, name, nameEnd),
                     defaultValue, comment);
}

// A parameter's type text with each type name answered by ResolveTypeName (`resolve`) or QualifyTypeName;
// a "signed" or "unsigned" without a built-in type after it is an int.
std::string Recognizer::buildTypeText(const std::vector<const token_t*>& words, bool resolve) {
  std::string text;
  for (size_t i = 0; i < words.size(); ++i) {
    const token_t& word = *words[i];
    if (word.kind == T_IDENTIFIER && !isLanguageWord(word)) {
      appendTypeWord(text, resolve ? lexer_.ResolveTypeName(word.text) : lexer_.QualifyTypeName(word.text));
    } else {
      appendTypeWord(text, word.text);
    }
    if (isSignWord(word) && (i + 1 == words.size() || words[i + 1]->kind != T_TYPE))
      appendTypeWord(text, "int");
  }
  return cleanTypeText(std::move(text));
}

// Data: one or more declarators sharing a type (int a, *b;), each reported with its type and its name
// with any array part; initializers are left out.
void Recognizer::reportData(const token_t& terminator) {
  const std::vector<token_t>& tokens = accumulated_;
  const size_t count = tokens.size();

  // The comment: the one before the declaration, unless it began on the line where the previous
  // declaration ended (it is that one's trailing comment), and the one after it on the line of the ";" (or
  // marked as documenting it).
  std::string comment;
  const token_t& first = tokens.front();
  if (first.comment &&
      (partlyClaimed(first) || declPreviousLine_ == 0 || first.commentLine != declPreviousLine_))
    comment += ownComment(first);
  if (terminator.kind == ';') comment += takeTrailingComment(cursor_.peek(), terminator.line, false);
  lexer_.OnComment("", false);
  if (!comment.empty()) lexer_.OnComment(comment, false);

  std::vector<const token_t*> base;  // the type the declarators share, without pointer and reference marks
  Nesting nesting;
  size_t begin = 0;
  for (size_t i = 0; i <= count; ++i) {
    if (i < count && !(nesting.step(tokens[i]) && tokens[i].kind == ',')) continue;
    nesting.restart();
    const size_t end = initializerAt(tokens, begin, i);
    const bool firstDeclarator = begin == 0;
    std::vector<const token_t*> type;
    if (!firstDeclarator) type = base;
    std::string name;
    const size_t declarator = parenthesisedDeclarator(tokens, begin, end);
    if (declarator != kNone) {
      // int (*handler)(int): the name comes out of the parentheses, the rest is the type.
      const size_t close = matchingClose(tokens, declarator, end);
      const size_t at = nameInDeclarator(tokens, declarator, close);
      size_t nameEnd = at == kNone ? at : at + 1;
      while (at != kNone && nameEnd < close && tokens[nameEnd].kind == '[')
        nameEnd = matchingClose(tokens, nameEnd, close) + 1;
      if (at != kNone) name = nameText(tokens, at, std::min(nameEnd, close));
      for (size_t j = begin; j < end; ++j)
        if (at == kNone || j < at || j >= nameEnd) type.push_back(&tokens[j]);
    } else {
      size_t bracket = begin;
      while (bracket < end && tokens[bracket].kind != '[') ++bracket;
      if (bracket > begin) {
        const size_t at = bracket - 1;
        name = nameText(tokens, at, end);
        for (size_t j = begin; j < at; ++j) type.push_back(&tokens[j]);
      }
    }
    if (firstDeclarator) {
      int angles = 0;
      for (const token_t* word : type) {
        if (word->kind == '<') ++angles;
        if (word->kind == '>' && angles > 0) --angles;
        if (angles == 0 &&
            (word->kind == '*' || word->kind == '&' || word->kind == T_ANDAND || word->kind == '('))
          break;
        base.push_back(word);
      }
    }
    if (!name.empty()) lexer_.OnDataMember(joinTypeText(type), name);
    begin = i + 1;
  }
}

}  // namespace quillet
