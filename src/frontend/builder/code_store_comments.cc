// Applying the comments that "assign" directives gave to named targets, once every module is read.
#include "common/message_output.h"
#include "frontend/builder/code_store.h"

namespace quillet {

namespace {

// A comment found by a directive adds to the target's comment, or becomes it when there is none, so that
// a directive can document a declaration that has no comment of its own.
void extend(DocText& target, const DocText& comment) {
  if (target.empty()) {
    target = comment;
  } else {
    target.append(comment);
  }
}

// A function's two comments each take the assigned comment; one without either takes it as its
// declaration comment.
void extendFunction(Function& function, const DocText& comment) {
  if (function.declarationDoc.empty() && function.definitionDoc.empty()) {
    function.declarationDoc = comment;
    return;
  }
  if (!function.declarationDoc.empty()) function.declarationDoc.append(comment);
  if (!function.definitionDoc.empty()) function.definitionDoc.append(comment);
}

// Extends the nested enumerations and member functions of `owner` called `member`; true when any was.
bool extendMembers(Class& owner, std::string_view member, const DocText& comment) {
  bool matched = false;
  for (Enum& nested : owner.enums) {
    if (nested.name != member) continue;
    extend(nested.doc, comment);
    matched = true;
  }
  for (Function& function : *owner.functions) {
    if (function.name != member) continue;
    extendFunction(function, comment);
    matched = true;
  }
  return matched;
}

}  // namespace

void CodeStore::ApplyAssignedComments() {
  for (const Assigned& assigned : assigned_) {
    DocText comment;
    for (const Part& part : assigned.parts) comment.append(part.comment);
    if (!applyComment(assigned.target, comment) && !applyQualifiedComment(assigned.target, comment))
      reportMessage("error:(" + comment.fileName() + ") cannot find comment target " + assigned.target + ".");
  }
  FinishComments();
}

// The target as a plain name (enumerations and free functions, else a class) or as Class::member.
bool CodeStore::applyComment(std::string_view target, const DocText& comment) {
  bool matched = false;
  if (const auto found = enumIndex_.find(target); found != enumIndex_.end()) {
    for (size_t position : found->second) extend(enums_[position].doc, comment);
    matched = !found->second.empty();
  }
  if (const auto found = functionIndex_.find(target); found != functionIndex_.end()) {
    for (size_t position : found->second) extendFunction(functions_[position], comment);
    matched = matched || !found->second.empty();
  }
  if (matched) return true;
  if (Class* owner = GetClass(target)) {
    extend(owner->doc, comment);
    return true;
  }
  const size_t scope = target.rfind("::");
  if (scope == std::string_view::npos) return false;
  Class* owner = GetClass(target.substr(0, scope));
  return owner && extendMembers(*owner, target.substr(scope + 2), comment);
}

// The target written with its namespaces: ns::function, ns::Enum, ns::Class or ns::Class::member.
bool CodeStore::applyQualifiedComment(std::string_view target, const DocText& comment) {
  const size_t scope = target.rfind("::");
  if (scope == std::string_view::npos) return false;
  const std::string_view prefix = target.substr(0, scope);
  const std::string_view last = target.substr(scope + 2);
  bool matched = false;
  if (const auto found = enumIndex_.find(last); found != enumIndex_.end()) {
    for (size_t position : found->second) {
      if (enums_[position].nameSpace != prefix) continue;
      extend(enums_[position].doc, comment);
      matched = true;
    }
  }
  if (const auto found = functionIndex_.find(last); found != functionIndex_.end()) {
    for (size_t position : found->second) {
      if (functions_[position].nameSpace != prefix) continue;
      extendFunction(functions_[position], comment);
      matched = true;
    }
  }
  if (matched) return true;
  forEachQualifiedClass(target, [&](Class& owner) {
    extend(owner.doc, comment);
    matched = true;
  });
  if (matched) return true;
  forEachQualifiedClass(prefix,
                        [&](Class& owner) { matched = extendMembers(owner, last, comment) || matched; });
  return matched;
}

// Calls `visit` with each stored class whose namespace and name, joined by "::", are `qualified`.
template <typename Visit>
void CodeStore::forEachQualifiedClass(std::string_view qualified, Visit visit) {
  for (size_t scope = qualified.find("::"); scope != std::string_view::npos;
       scope = qualified.find("::", scope + 2)) {
    const std::string_view nameSpace = qualified.substr(0, scope);
    if (!IsNamespace(nameSpace)) continue;
    const auto found = classIndex_.find(qualified.substr(scope + 2));
    if (found == classIndex_.end()) continue;
    for (size_t position : found->second)
      if (classes_[position].nameSpace == nameSpace) visit(classes_[position]);
  }
}

}  // namespace quillet
