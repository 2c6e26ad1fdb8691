#include "frontend/builder/code_store.h"

namespace quillet {

namespace {

// The enumerators of two enumerations are written alike.
bool sameTags(const Enum& a, const Enum& b) {
  if (a.tags.size() != b.tags.size()) return false;
  for (size_t i = 0; i < a.tags.size(); ++i)
    if (a.tags[i].name != b.tags[i].name) return false;
  return true;
}

bool sameComment(const DocText& a, const DocText& b) {
  if (a.fileName() != b.fileName() || a.paragraphs().size() != b.paragraphs().size()) return false;
  for (size_t i = 0; i < a.paragraphs().size(); ++i)
    if (!(a.paragraphs()[i] == b.paragraphs()[i])) return false;
  return true;
}

}  // namespace

Class* CodeStore::GetClass(std::string_view name) {
  const auto found = classIndex_.find(name);
  return found == classIndex_.end() ? nullptr : &classes_[found->second.back()];
}

const Class* CodeStore::GetClass(std::string_view name) const {
  const auto found = classIndex_.find(name);
  return found == classIndex_.end() ? nullptr : &classes_[found->second.back()];
}

Class* CodeStore::GetClass(std::string_view name, std::string_view nameSpace) {
  const auto found = classIndex_.find(name);
  if (found == classIndex_.end()) return nullptr;
  for (auto position = found->second.rbegin(); position != found->second.rend(); ++position)
    if (classes_[*position].nameSpace == nameSpace) return &classes_[*position];
  return &classes_[found->second.back()];
}

bool CodeStore::HasSameClass(const Class& other) const {
  const auto found = classIndex_.find(other.name);
  if (found == classIndex_.end()) return false;
  for (size_t position : found->second)
    if (classes_[position].SameClass(other)) return true;
  return false;
}

Class& CodeStore::AddClass(Class stored) {
  classIndex_[stored.name].push_back(classes_.size());
  return classes_.emplace_back(std::move(stored));
}

Function* CodeStore::FindFunction(const Function& function) {
  const auto found = functionKeys_.find(function.MatchKey());
  return found == functionKeys_.end() ? nullptr : &functions_[found->second];
}

Function& CodeStore::AddFunction(Function function) {
  functionIndex_[function.name].push_back(functions_.size());
  functionKeys_[function.MatchKey()] = functions_.size();
  return functions_.emplace_back(std::move(function));
}

bool CodeStore::AddEnum(Enum enumeration) {
  std::vector<size_t>& positions = enumIndex_[enumeration.name];
  for (size_t position : positions) {
    const Enum& stored = enums_[position];
    if (stored.nameSpace != enumeration.nameSpace) continue;
    // Unnamed enumerations are told apart by where they are and what they hold, so that each one of a
    // header is kept while a header read twice still gives each once.
    if (!enumeration.name.empty() || (stored.file == enumeration.file && sameTags(stored, enumeration)))
      return false;
  }
  positions.push_back(enums_.size());
  enums_.push_back(std::move(enumeration));
  return true;
}

void CodeStore::AddTypedef(TypedefRecord record) {
  if (typedefIndex_.contains(record.name)) return;
  typedefIndex_.emplace(record.name, typedefs_.size());
  typedefs_.push_back(std::move(record));
}

const TypedefRecord* CodeStore::GetTypedef(std::string_view name) const {
  const auto found = typedefIndex_.find(name);
  return found == typedefIndex_.end() ? nullptr : &typedefs_[found->second];
}

void CodeStore::AddNamespace(std::string_view written, std::string_view shown) {
  namespaces_.emplace(written);
  if (shown.empty() || written == shown) return;
  namespaces_.emplace(shown);
  shownNamespaces_.try_emplace(std::string(written), shown);
}

std::string CodeStore::ShownNamespace(std::string_view written) const {
  const auto found = shownNamespaces_.find(written);
  return found == shownNamespaces_.end() ? std::string(written) : found->second;
}

bool CodeStore::IsNamespace(std::string_view name) const {
  return namespaces_.find(name) != namespaces_.end();
}

bool CodeStore::HasNestedType(std::string_view name) const {
  if (HasClass(name)) return true;
  const size_t scope = name.rfind("::");
  if (scope == std::string_view::npos) return false;
  const Class* owner = GetClass(name.substr(0, scope));
  if (!owner) return false;
  const std::string_view member = name.substr(scope + 2);
  for (const Enum& nested : owner->enums)
    if (nested.name == member) return true;
  for (const TypedefRecord& record : owner->typedefs)
    if (record.name == member) return true;
  return false;
}

void CodeStore::AssignComment(std::string_view target, const DocText& comment) {
  const auto found = assignedIndex_.find(target);
  if (found == assignedIndex_.end()) {
    assignedIndex_.emplace(std::string(target), assigned_.size());
    assigned_.push_back({std::string(target), {Part{comment}}});
    return;
  }
  std::vector<Part>& parts = assigned_[found->second].parts;
  for (const Part& part : parts)
    if (sameComment(part.comment, comment)) return;
  parts.push_back({comment});
}

}  // namespace quillet
