// The builder's classes, enumerations, namespaces, comments, data members, typedefs and type names. Its
// functions are in cpp_document_parse_functions.cc.
#include "frontend/builder/cpp_document_parse.h"

#include <algorithm>
#include <utility>

#include "common/message_output.h"
#include "frontend/recognizer/type_text.h"

namespace quillet {

namespace {

void trimSpaces(std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) {
    text.clear();
    return;
  }
  text.erase(text.find_last_not_of(' ') + 1);
  text.erase(0, first);
}

bool declaresNested(const Class& owner, std::string_view name) {
  for (const Enum& nested : owner.enums)
    if (nested.name == name) return true;
  for (const TypedefRecord& record : owner.typedefs)
    if (record.name == name) return true;
  return false;
}

// Where the last "::" outside template arguments starts in `name`; npos when there is none.
size_t lastScopeSeparator(std::string_view name) {
  size_t found = std::string_view::npos;
  int angles = 0;
  for (size_t i = 0; i + 1 < name.size(); ++i) {
    if (name[i] == '<') ++angles;
    if (name[i] == '>' && angles > 0) --angles;
    if (angles == 0 && name[i] == ':' && name[i + 1] == ':') found = i++;
  }
  return found;
}

std::string qualified(std::string_view scope, std::string_view name) {
  std::string text(scope);
  text += "::";
  text += name;
  return text;
}

}  // namespace

void CppDocumentParse::clearFlags() {
  counting_ = false;
  commentAfterPrototype_ = false;
  lastFunction_ = nullptr;
}

void CppDocumentParse::OnTemplatePrefix(std::string_view text) {
  pendingTemplate_ = text;
}

void CppDocumentParse::OnClassBegin() {
  clearFlags();
  currentEnum_ = Enum();
  OpenClass& entry = classStack_.emplace_back();
  if (classStack_.size() > kMaxNesting) {
    entry.tooDeep = true;
    reportNesting(reportedClassNesting_, "classes", "the deeper ones are not documented");
  }
  entry.assembled.file = fileName_;
  entry.assembled.templatePrefix = std::move(pendingTemplate_);
  entry.assembled.classType = std::move(pendingClassKey_);
  entry.pausedTypedef = std::move(typedef_);
  typedef_ = TypedefText();
  pendingTemplate_.clear();
  pendingClassKey_.clear();
  inClass_ = true;
}

void CppDocumentParse::OnClassKey(std::string_view key) {
  pendingClassKey_ = key;
}

void CppDocumentParse::OnClassName(std::string_view name) {
  if (!inClass_ || top().tooDeep) return;
  Class& assembled = top().assembled;
  assembled.name = classStack_.size() > 1
                       ? qualified(classStack_[classStack_.size() - 2].assembled.name, name)
                       : std::string(name);
  // A nested class of a template defined outside it (template <class T> class Map<T>::iterator) belongs to
  // the primary, as out-of-class members do, unless the qualifier names a specialization of its own.
  if (classStack_.size() == 1 && assembled.templatePrefix != "template<>") {
    const size_t last = lastScopeSeparator(assembled.name);
    if (last != std::string::npos) {
      const std::string_view qualifier = std::string_view(assembled.name).substr(0, last);
      if (qualifier.find('<') != std::string_view::npos && !store_.GetClass(qualifier))
        assembled.name = withoutArguments(qualifier) + assembled.name.substr(last);
    }
  }
  assembled.line = static_cast<int32_t>(declarationLine());
  if (!namespaceStack_.empty()) assembled.nameSpace = joinedNamespace_;
  if (writtenNamespace_.size() != joinedNamespace_.size()) assembled.inlineNamespace = writtenNamespace_;
}

void CppDocumentParse::OnBaseClass(int access, std::string_view text) {
  if (inClass_) top().assembled.AddParent(access, std::string(text));
}

void CppDocumentParse::OnClassComment() {
  if (inClass_) top().assembled.doc = pendingComment_;
  pendingComment_.clear();
}

void CppDocumentParse::OnAccessLabel(int access) {
  if (inClass_) top().access = access;
}

void CppDocumentParse::OnClassEnd() {
  clearFlags();
  if (!inClass_) return;
  OpenClass& entry = top();
  Class& assembled = entry.assembled;
  // The first class read of a name and namespace is kept; an unnamed class is never stored.
  if (!store_.HasSameClass(assembled)) {
    int32_t access = kAccessPublic;
    for (size_t i = 0; i + 1 < classStack_.size(); ++i) access = std::max(access, classStack_[i].access);
    assembled.access = access;
    if (!assembled.name.empty()) store_.AddClass(std::move(assembled));
  }
  typedef_ = std::move(entry.pausedTypedef);
  classStack_.pop_back();
  inClass_ = !classStack_.empty();
  OnComment("", false);
}

void CppDocumentParse::OnEnumBegin() {
  clearFlags();
  currentEnum_ = Enum();
  currentEnum_.line = static_cast<int32_t>(declarationLine());
  if (inClass_) {
    currentEnum_.access = top().access;
    currentEnum_.className = top().assembled.name;
  } else if (!namespaceStack_.empty()) {
    currentEnum_.nameSpace = joinedNamespace_;  // an unnamed enumeration gets no name, but its namespace
  }
  currentEnum_.doc = pendingComment_;
}

void CppDocumentParse::OnEnumName(std::string_view name) {
  currentEnum_.name = name;
  if (!inClass_ && !namespaceStack_.empty()) currentEnum_.nameSpace = joinedNamespace_;
}

void CppDocumentParse::OnEnumerator(std::string_view text, std::string_view comment) {
  EnumTag& tag = currentEnum_.tags.emplace_back();
  tag.name = text;
  tag.doc = DocText(comment, false, DocText::kParameterLevel, fileName_);
  tag.scope = currentEnum_.className;
}

void CppDocumentParse::OnEnumEnd() {
  if (inClass_) {
    top().assembled.enums.push_back(std::move(currentEnum_));
  } else {
    currentEnum_.file = fileName_;
    store_.AddEnum(std::move(currentEnum_));
  }
  currentEnum_ = Enum();
}

void CppDocumentParse::reportNesting(bool& reported, const char* what, const char* effect) {
  if (reported) return;
  reported = true;
  reportMessage("warning: (" + fileName_ + ") " + what + " are nested more than " +
                std::to_string(kMaxNesting) + " levels deep; " + effect);
}

void CppDocumentParse::OnNamespaceBegin(std::string_view name) {
  enterNamespace(name, false);
}

// The names declared in an inline namespace (fmt::v9) are filed under the namespace around it (fmt), as
// users name them; the namespace itself is known under both names.
void CppDocumentParse::OnInlineNamespaceBegin(std::string_view name) {
  enterNamespace(name, true);
}

void CppDocumentParse::enterNamespace(std::string_view name, bool isInline) {
  if (namespaceStack_.size() >= kMaxNesting) {
    ++namespacesTooDeep_;
    reportNesting(reportedNamespaceNesting_, "namespaces", "the deeper ones count as the one at that depth");
    pendingComment_.clear();
    return;
  }
  namespaceStack_.push_back({joinedNamespace_.size(), writtenNamespace_.size()});
  if (!writtenNamespace_.empty()) writtenNamespace_ += "::";
  writtenNamespace_ += name;
  if (!isInline) {
    if (!joinedNamespace_.empty()) joinedNamespace_ += "::";
    joinedNamespace_ += name;
  }
  store_.AddNamespace(writtenNamespace_, joinedNamespace_);
  pendingComment_.clear();
}

void CppDocumentParse::OnNamespaceEnd() {
  if (namespacesTooDeep_ > 0) {
    --namespacesTooDeep_;
    return;
  }
  if (namespaceStack_.empty()) return;
  joinedNamespace_.resize(namespaceStack_.back().shownLength);
  writtenNamespace_.resize(namespaceStack_.back().writtenLength);
  namespaceStack_.pop_back();
}

void CppDocumentParse::OnFriend(std::string_view text) {
  if (inClass_) top().assembled.friends.emplace_back(text);
  pendingComment_.clear();
  pendingTemplate_.clear();
}

void CppDocumentParse::OnUsingDeclaration(std::string_view text) {
  if (inClass_) top().assembled.usingDeclarations.emplace_back(text);
  pendingComment_.clear();
}

// A concept is documented as a class of the kind "concept", its constraint kept with it.
void CppDocumentParse::OnConcept(std::string_view name, std::string_view constraint) {
  clearFlags();
  Class concept_;
  concept_.classType = "concept";
  concept_.name = name;
  concept_.nameSpace = joinedNamespace_;
  concept_.templatePrefix = std::move(pendingTemplate_);
  pendingTemplate_.clear();
  concept_.constraint = constraint;
  concept_.doc = pendingComment_;
  concept_.file = fileName_;
  concept_.access = kAccessPublic;
  if (!inClass_ && !store_.HasSameClass(concept_)) store_.AddClass(std::move(concept_));
  pendingComment_.clear();
}

void CppDocumentParse::OnSkippedDeclaration(std::string_view text, uint32_t line) {
  if (!options_.verbose) return;
  reportMessage("warning: (" + fileName_ + ":" + std::to_string(line) +
                ") declaration passed over: " + std::string(text));
}

void CppDocumentParse::OnComment(std::string_view text, bool afterDeclaration) {
  if (!inFunction_) currentFunction_ = Function();
  DocText comment(text, true, DocText::kDeclarationLevel, fileName_);
  if (!comment.directiveTargets().empty()) {
    for (const std::string& target : comment.directiveTargets()) store_.AssignComment(target, comment);
    return;
  }
  if (comment.documentsNoDeclaration()) {  // a file's or a namespace's comment documents no declaration
    pendingComment_.clear();
    return;
  }
  if (!text.empty() && commentAfterPrototype_) {
    // The first comment after a prototype documents the function the prototype landed in. Parameter
    // comments already taken at the prototype stay.
    if (lastFunction_ && (lastFunction_->CombinedComment().empty() || !afterDeclaration)) {
      lastFunction_->declarationDoc = std::move(comment);
      lastFunction_->definitionDoc.clear();
      for (FunctionArg& arg : lastFunction_->args)
        if (!arg.definitionDoc.empty()) arg.TakeDefinitionComment();
    }
    pendingComment_.clear();
    commentAfterPrototype_ = false;
    return;
  }
  if (pendingComment_.empty() || !afterDeclaration) pendingComment_ = std::move(comment);
}

bool CppDocumentParse::OnFileBegin(std::string_view fileName) {
  commentAfterPrototype_ = false;
  lastFunction_ = nullptr;
  fileName_ = fileName;
  return false;
}

void CppDocumentParse::OnDataMember(std::string_view type, std::string_view name) {
  clearFlags();
  if (inClass_) top().assembled.AddData(std::string(type), std::string(name), pendingComment_, top().access);
}

void CppDocumentParse::OnTypedefBegin() {
  clearFlags();
  pendingTemplate_.clear();  // the head of an alias template belongs to the alias
  typedef_ = TypedefText();
}

void CppDocumentParse::OnTypedefPart(std::string_view text) {
  const std::string_view separator = !text.empty() && (text[0] == '*' || text[0] == '&') ? "" : " ";
  const std::string resolved = ResolveTypeName(text);
  if (typedef_.inBase) {
    typedef_.base += separator;
    typedef_.base += resolved;
    appendTypeWord(typedef_.writtenBase, text);
  }
  appendTypeWord(typedef_.written, text);
  typedef_.resolved += separator;
  typedef_.resolved += resolved;
}

void CppDocumentParse::OnTypedefBaseEnd() {
  typedef_.inBase = false;
}

void CppDocumentParse::OnTypedefDeclared(std::string_view text) {
  typedef_.declared += ResolveTypeName(text);
}

void CppDocumentParse::OnTypedefName(std::string_view name) {
  typedef_.name = name;
}

// Files one declarator of the typedef being read: in the open class (under its own name) and in the store
// (qualified by the class).
void CppDocumentParse::finishTypedefDeclarator() {
  trimSpaces(typedef_.name);
  typedef_.declared = cleanTypeText(std::move(typedef_.declared));
  typedef_.resolved = cleanTypeText(std::move(typedef_.resolved));
  TypedefRecord record;
  record.name = typedef_.name;
  record.declaredText = typedef_.declared;
  record.resolvedType = typedef_.resolved;
  record.writtenType = tightText(typedef_.written);
  if (inClass_) {
    record.access = top().access;
    top().assembled.typedefs.push_back(record);
    record.name = qualified(top().assembled.name, typedef_.name);
  }
  store_.AddTypedef(std::move(record));
}

void CppDocumentParse::OnTypedefNext() {
  finishTypedefDeclarator();
  typedef_.resolved = typedef_.base;
  typedef_.written = typedef_.writtenBase;
  typedef_.name.clear();
}

void CppDocumentParse::OnTypedefEnd() {
  finishTypedefDeclarator();
  typedef_ = TypedefText();
  OnComment("", false);
}

std::string CppDocumentParse::ResolveTypeName(std::string_view name) {
  std::string resolved(name);
  const Class* scope = inClass_ ? &top().assembled : store_.GetClass(currentFunction_.className);
  if (scope) {
    for (const TypedefRecord& record : scope->typedefs) {
      if (record.name != resolved) continue;
      resolved = record.resolvedType;
      break;
    }
  }
  if (const TypedefRecord* record = store_.GetTypedef(resolved)) resolved = record->resolvedType;
  return QualifyTypeName(resolved);
}

std::string CppDocumentParse::QualifyTypeName(std::string_view name) {
  if (inClass_) {
    const Class& open = top().assembled;
    std::string nested = qualified(open.name, name);
    if (store_.HasClass(nested) || declaresNested(open, name)) return nested;
    return std::string(name);
  }
  std::string nested = qualified(currentFunction_.className, name);
  return store_.HasNestedType(nested) ? nested : std::string(name);
}

bool CppDocumentParse::IsTypeName(std::string_view name) {
  if (inClass_) {
    const Class& open = top().assembled;
    if (store_.HasNestedType(qualified(open.name, name)) || declaresNested(open, name)) return true;
  }
  if (inFunction_ && store_.HasNestedType(qualified(currentFunction_.className, name))) return true;
  return store_.HasNestedType(name);
}

}  // namespace quillet
