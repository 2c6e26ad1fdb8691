// The builder's functions: names split into namespace and class, parameters, prototypes matched with
// definitions, and the statement and decision counts of bodies.
#include "common/message_output.h"
#include "frontend/builder/cpp_document_parse.h"

namespace quillet {

namespace {

bool isWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// True when `word` occurs in `text` as a word of its own (not inside a longer name such as static_info).
bool containsWord(std::string_view text, std::string_view word) {
  for (size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
    const size_t end = at + word.size();
    if ((at == 0 || !isWordCharacter(text[at - 1])) && (end == text.size() || !isWordCharacter(text[end])))
      return true;
  }
  return false;
}

// The stored declaration takes the definition's comments and the parameter names it lacks.
void merge(Function& declaration, const Function& definition) {
  declaration.definitionDoc = definition.definitionDoc;
  if (definition.file != declaration.file || definition.line != declaration.line) {
    declaration.definitionFile = definition.file;
    declaration.definitionLine = definition.line;
  }
  for (size_t i = 0; i < declaration.args.size() && i < definition.args.size(); ++i) {
    FunctionArg& arg = declaration.args[i];
    if (arg.name.empty()) arg.name = definition.args[i].name;
    arg.definitionDoc = definition.args[i].definitionDoc;
  }
}

// The end of the scope component that begins at `start`: the next "::" outside template arguments
// (X<std::string>::f), or the end.
size_t scopeEnd(std::string_view scope, size_t start) {
  int angles = 0;
  for (size_t i = start; i < scope.size(); ++i) {
    if (scope[i] == '<') ++angles;
    if (scope[i] == '>' && angles > 0) --angles;
    if (angles == 0 && scope[i] == ':') return i;
  }
  return scope.size();
}

// An explicit specialization (template <>) of a function template or of one member of a class template:
// no declaration of its own to document, and never to be mixed into the template's.
bool isExplicitSpecialization(const Function& function) {
  return function.templatePrefix == "template<>";
}

// The parameter names of a template head: template <typename K, class A = B, int N> gives K, A, N; an
// unnamed parameter gives an empty name.
std::vector<std::string> templateParameterNames(std::string_view head) {
  std::vector<std::string> names;
  const size_t open = head.find('<');
  const size_t close = head.rfind('>');
  if (open == std::string_view::npos || close == std::string_view::npos || close <= open) return names;
  int depth = 0;
  bool defaulted = false;
  std::string last;
  std::string word;
  auto endWord = [&] {
    if (!word.empty() && !defaulted) last = word;
    word.clear();
  };
  for (size_t i = open + 1; i <= close; ++i) {
    const char c = head[i];
    if (depth == 0 && (c == ',' || i == close)) {
      endWord();
      names.push_back(last == "typename" || last == "class" ? std::string() : last);
      last.clear();
      defaulted = false;
      continue;
    }
    if (c == '<' || c == '(') ++depth;
    if ((c == '>' || c == ')') && depth > 0) --depth;
    if (depth == 0 && c == '=') defaulted = true;
    if (isWordCharacter(c)) {
      word += c;
    } else {
      endWord();
    }
  }
  return names;
}

// `text` with every whole word `from` replaced by `to`.
std::string renameWord(const std::string& text, std::string_view from, std::string_view to) {
  std::string renamed;
  size_t i = 0;
  while (i < text.size()) {
    if (isWordCharacter(text[i])) {
      size_t end = i;
      while (end < text.size() && isWordCharacter(text[end])) ++end;
      const std::string_view word = std::string_view(text).substr(i, end - i);
      renamed += word == from ? to : word;
      i = end;
    } else {
      renamed += text[i++];
    }
  }
  return renamed;
}

}  // namespace

void CppDocumentParse::OnReturnType(std::string_view text) {
  inFunction_ = true;
  currentFunction_.returnType = text;
}

void CppDocumentParse::OnFunctionName(std::string_view scope, std::string_view name) {
  clearFlags();
  currentEnum_ = Enum();
  inFunction_ = true;
  if (!inClass_ && scope.empty() && containsWord(currentFunction_.returnType, "static")) {
    inFunction_ = false;  // a file-static function is never documented
    return;
  }
  currentFunction_.name = name;
  currentFunction_.line = static_cast<int32_t>(declarationLine());
  if (inClass_) {
    currentFunction_.className = top().assembled.name;
    return;
  }

  // The longest leading run of the qualifier's components that names a known namespace is the namespace
  // part; the rest names the class.
  std::string namespacePart;
  size_t classStart = 0;
  std::string joined;
  size_t start = 0;
  while (start < scope.size()) {
    const size_t end = scopeEnd(scope, start);
    const std::string_view component = scope.substr(start, end - start);
    start = end + 1;
    if (component.empty()) continue;
    if (!joined.empty()) joined += "::";
    joined += component;
    // A namespace named relative to the open ones (internal:: inside namespace testing) counts too.
    if (!store_.IsNamespace(joined) &&
        (joinedNamespace_.empty() || !store_.IsNamespace(joinedNamespace_ + "::" + joined)))
      break;
    namespacePart = joined;
    classStart = end;
  }
  std::string_view classPart = scope.substr(classStart);
  while (!classPart.empty() && classPart.front() == ':') classPart.remove_prefix(1);

  currentFunction_.nameSpace = joinedNamespace_;
  if (!namespacePart.empty()) {
    if (!currentFunction_.nameSpace.empty()) currentFunction_.nameSpace += "::";
    currentFunction_.nameSpace += namespacePart;
    currentFunction_.nameSpace = store_.ShownNamespace(currentFunction_.nameSpace);  // fmt::v9 is fmt
  }
  currentFunction_.className = classPart;
  // A member of the template itself (template <class T> void Vec<T>::f) is read in the primary's scope,
  // so that the names the class declares resolve in its parameters as in its declarations. An explicit
  // specialization of a member keeps the scope as written, and is left out when it ends.
  if (classPart.find('<') != std::string_view::npos && pendingTemplate_ != "template<>" &&
      !store_.GetClass(classPart))
    currentFunction_.className = withoutArguments(classPart);
}

void CppDocumentParse::OnParameter(std::string_view signatureType, std::string_view type,
                                   std::string_view name, std::string_view defaultValue,
                                   std::string_view comment) {
  if (!options_.parameterComments) comment = {};
  std::string signature(signatureType);
  // A parameter of the class's own template type (const Vec<T>&) compares as the plain class (const Vec&),
  // in the template and in its specializations alike.
  const std::string className = withoutArguments(currentFunction_.className);
  if (!className.empty()) {
    const size_t found = signature.find(className);
    const size_t after = found == std::string::npos ? found : found + className.size();
    if (after < signature.size() && signature[after] == '<') {
      const size_t close = signature.find('>', after);
      if (close != std::string::npos) signature.erase(after, close - after + 1);
    }
  }
  if (!inFunction_ || signature == "void") return;
  currentFunction_.AddArg(std::move(signature), std::string(type), std::string(name),
                          std::string(defaultValue), {});
  // Like the function's own comment, a parameter's comment is its definition comment until a prototype
  // takes it as the declaration comment.
  currentFunction_.args.back().definitionDoc = DocText(comment, false, DocText::kParameterLevel, fileName_);
}

void CppDocumentParse::OnFunctionTrailer(std::string_view attributes, std::string_view throwSpec) {
  if (!inFunction_) return;
  currentFunction_.attributes = attributes;
  currentFunction_.throwSpec = throwSpec;
}

void CppDocumentParse::OnFunctionEnd(bool isPrototype) {
  if (!inFunction_) {
    currentFunction_ = Function();
    pendingComment_.clear();
    pendingTemplate_.clear();
    return;
  }
  lastFunction_ = nullptr;
  commentAfterPrototype_ = false;
  counting_ = !isPrototype;
  if (isPrototype) commentAfterPrototype_ = !options_.commentsBeforePrototypes;

  // A template head belongs to the one declaration that follows it.
  currentFunction_.templatePrefix = std::move(pendingTemplate_);
  pendingTemplate_.clear();
  currentFunction_.file = fileName_;
  currentFunction_.definitionDoc = pendingComment_;
  if (isPrototype) currentFunction_.TakeDefinitionComment();

  if (isExplicitSpecialization(currentFunction_) &&
      (inClass_ || currentFunction_.className.empty() ||
       !store_.GetClass(currentFunction_.className, currentFunction_.nameSpace))) {
    commentAfterPrototype_ = false;
    counting_ = false;
  } else if (inClass_) {
    currentFunction_.access = top().access;
    lastFunction_ = &top().assembled.AddFunction(std::move(currentFunction_));
  } else if (currentFunction_.className.empty()) {
    storeFreeFunction(isPrototype);
  } else if (isPrototype) {
    commentAfterPrototype_ = false;  // a qualified declaration outside its class adds nothing
  } else {
    storeMemberDefinition();
  }

  // A body read a second time (a header read again) is not counted again.
  if (lastFunction_ && lastFunction_->size != 0 && !commentAfterPrototype_) {
    lastFunction_ = nullptr;
    counting_ = false;
  }
  inFunction_ = false;
  currentFunction_ = Function();
  pendingComment_.clear();
}

// A free function lands in the stored function it matches (a definition merged into it), else it is
// appended.
void CppDocumentParse::storeFreeFunction(bool isPrototype) {
  if (Function* stored = store_.FindFunction(currentFunction_)) {
    if (!isPrototype) merge(*stored, currentFunction_);
    lastFunction_ = stored;
    return;
  }
  lastFunction_ = &store_.AddFunction(std::move(currentFunction_));
}

// A member function defined outside its class is merged into its declaration in the stored class: the
// one it matches, or the only one of its name and parameter count.
void CppDocumentParse::storeMemberDefinition() {
  Function& definition = currentFunction_;
  // Among classes of one name in several namespaces, the one of the definition's namespace.
  // A member of a specialization (X<int>::f) goes to that class; a member of the template itself
  // (template <class T> void X<T>::f) to the primary.
  Class* owner = store_.GetClass(definition.className, definition.nameSpace);
  if (!owner && definition.className.find('<') != std::string::npos) {
    definition.className = withoutArguments(definition.className);
    owner = store_.GetClass(definition.className, definition.nameSpace);
  }
  // A member defined through a typedef of its class (LoopPassManager::addPass).
  if (!owner) {
    if (const TypedefRecord* record = store_.GetTypedef(definition.className)) {
      Class* named = store_.GetClass(record->writtenType, definition.nameSpace);
      if (!named) named = store_.GetClass(record->resolvedType, definition.nameSpace);
      if (named) {
        owner = named;
        definition.className = named->name;
      }
    }
  }
  if (!owner) {
    reportMessage("error: (" + fileName_ +
                  ") A member function has been processed without first processing the class or struct "
                  "declaration for " +
                  definition.className);
    counting_ = false;
    return;
  }
  if (definition.nameSpace.empty()) definition.nameSpace = owner->nameSpace;
  FunctionList& members = *owner->functions;
  for (Function& member : members) {
    if (!member.Matches(definition, false)) continue;
    merge(member, definition);
    lastFunction_ = &member;
    return;
  }
  Function* only = nullptr;
  size_t candidates = 0;
  for (Function& member : members) {
    if (member.name != definition.name || member.args.size() != definition.args.size()) continue;
    only = &member;
    ++candidates;
  }
  if (candidates == 1) {
    merge(*only, definition);
    lastFunction_ = only;
    return;
  }
  // A definition may name the template parameters otherwise than the class does (Allocator for
  // AllocatorTy): with the class's names its parameters match.
  const std::vector<std::string> theirs = templateParameterNames(definition.templatePrefix);
  const std::vector<std::string> ours = templateParameterNames(owner->templatePrefix);
  if (!theirs.empty() && theirs.size() == ours.size() && theirs != ours) {
    Function renamed = definition;
    for (FunctionArg& arg : renamed.args)
      for (size_t i = 0; i < theirs.size(); ++i)
        if (!theirs[i].empty() && !ours[i].empty() && theirs[i] != ours[i])
          arg.signatureType = renameWord(arg.signatureType, theirs[i], ours[i]);
    for (Function& member : members) {
      if (!member.Matches(renamed, false)) continue;
      merge(member, definition);
      lastFunction_ = &member;
      return;
    }
  }
  std::string message = "error: (" + fileName_ + ") function not in class " + definition.SignatureText();
  for (const Function& member : members)
    if (member.name == definition.name) message += " failed match: " + member.SignatureText();
  reportMessage(message);
  counting_ = false;
}

void CppDocumentParse::countStatement() {
  if (counting_ && lastFunction_) lastFunction_->CountStatement();
}

void CppDocumentParse::countDecision() {
  if (counting_ && lastFunction_) lastFunction_->CountDecision();
}

void CppDocumentParse::OnStatement() {
  countStatement();
}

void CppDocumentParse::OnIf() {
  countStatement();
  countDecision();
}

void CppDocumentParse::OnWhile() {
  countStatement();
  countDecision();
}

void CppDocumentParse::OnCase() {
  countDecision();
}

void CppDocumentParse::OnFor() {
  countDecision();
}

void CppDocumentParse::OnDefault() {
  countDecision();
}

void CppDocumentParse::OnBodyEnd() {
  countDecision();
  counting_ = false;
}

}  // namespace quillet
