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
    size_t end = scope.find(':', start);
    if (end == std::string_view::npos) end = scope.size();
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
  }
  currentFunction_.className = classPart;
}

void CppDocumentParse::OnParameter(std::string_view signatureType, std::string_view type,
                                   std::string_view name, std::string_view defaultValue,
                                   std::string_view comment) {
  if (!options_.parameterComments) comment = {};
  std::string signature(signatureType);
  // A parameter of the class's own template type (const Vec<T>&) compares as the plain class (const Vec&).
  const std::string& className = currentFunction_.className;
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

  if (inClass_) {
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
  Class* owner = store_.GetClass(definition.className, definition.nameSpace);
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
