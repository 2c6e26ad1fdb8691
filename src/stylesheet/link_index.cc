#include "stylesheet/link_index.h"

#include <algorithm>

#include "template_objects/evaluation_context.h"
#include "template_objects/style_sheet_filter.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

namespace {

// The part of a recorded name after its last "::" outside template arguments: "Node" of "List<T>::Node",
// "X<a::b>" of "ns::X<a::b>".
std::string_view lastPart(std::string_view name) {
  int angles = 0;
  size_t from = 0;
  for (size_t i = 0; i + 1 < name.size(); ++i) {
    if (name[i] == '<') ++angles;
    if (name[i] == '>' && angles > 0) --angles;
    if (angles == 0 && name[i] == ':' && name[i + 1] == ':') from = i + 2;
  }
  return name.substr(from);
}

}  // namespace

std::string LinkIndex::linkText(const EvaluationContext& context, const Entry& entry) {
  if (context.filter && context.filter->markupKind() != kHtmlMarkup) return entry.anchorName;
  std::string link;
  link.reserve(entry.fileName.size() + 1 + entry.anchorName.size());
  link += entry.fileName;
  link += '#';
  link += entry.anchorName;
  return link;
}

const std::string& LinkIndex::anchorName(const StyleSheetObject& object) {
  static const std::string kNone;
  std::string base = object.AnchorName();
  if (base.empty()) return kNone;  // objects without an anchor name of their own are told apart by postfixes
  std::string owner(object.TypeName());
  owner += '\n';
  owner += object.DeclarationKey();
  if (frozen_) return frozenAnchorName(std::move(base), owner);
  const auto [first, added] = anchorOwners_.try_emplace(base, owner);
  if (added || first->second == owner) return first->first;
  // Another declaration has this name: this one gets the first free suffixed name, once for good.
  std::string key = owner;
  key += '\n';
  key += base;
  const auto [renamed, fresh] = renamed_.try_emplace(std::move(key));
  if (fresh) {
    for (unsigned suffix = 2;; ++suffix) {
      std::string candidate = base + "_" + std::to_string(suffix);
      if (anchorOwners_.try_emplace(candidate, owner).second) {
        renamed->second = std::move(candidate);
        break;
      }
    }
  }
  return renamed->second;
}

const std::string& LinkIndex::frozenAnchorName(std::string base, const std::string& owner) const {
  // The name given out in the dictionary pass; for a declaration that pass never met, its own name when
  // free, else the first suffixed name still free (nothing recorded refers to it either way).
  if (auto first = anchorOwners_.find(base); first == anchorOwners_.end() || first->second == owner) {
    if (first != anchorOwners_.end()) return first->first;
    thread_local std::string unrecorded;
    unrecorded = std::move(base);
    return unrecorded;
  }
  std::string key = owner;
  key += '\n';
  key += base;
  if (auto renamed = renamed_.find(key); renamed != renamed_.end()) return renamed->second;
  thread_local std::string unrecorded;
  for (unsigned suffix = 2;; ++suffix) {
    unrecorded = base + "_" + std::to_string(suffix);
    if (anchorOwners_.find(unrecorded) == anchorOwners_.end()) return unrecorded;
  }
}

bool LinkIndex::addObject(std::string_view fileName, const StyleSheetObject& object) {
  Entry entry{std::string(fileName), anchorName(object), object.linkKind()};
  std::string fullName = object.FullName();
  // An empty full name names nothing a text could mention; recording it would only list a nameless line.
  if (!fullName.empty()) recordName(std::move(fullName), entry);
  return objects_.try_emplace(&object, std::move(entry)).second;
}

void LinkIndex::addNamed(std::string_view fileName, std::string_view key, std::string_view anchorName) {
  recordLastWord(key);
  if (ambiguous_.find(key) != ambiguous_.end() || named_.find(key) != named_.end()) return;
  named_.emplace(std::string(key), Entry{std::string(fileName), std::string(anchorName)});
}

void LinkIndex::addTypedef(std::string_view name, Entry target) {
  if (!name.empty()) recordName(std::string(name), target);
}

size_t LinkIndex::wordBit(std::string_view word) {
  uint64_t hash = 14695981039346656037ull;  // FNV-1a: a few multiplications for a short word
  for (char c : word) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return static_cast<size_t>(hash ^ (hash >> 32)) & (kWordBits - 1);
}

void LinkIndex::recordLastWord(std::string_view name) {
  const std::string_view last = lastPart(name);
  const size_t bit = wordBit(last);
  wordBits_[bit / 64] |= uint64_t{1} << (bit % 64);
  if (lastWords_.find(last) == lastWords_.end()) lastWords_.emplace(last);
}

void LinkIndex::recordName(std::string name, const Entry& entry) {
  recordLastWord(name);
  if (!ambiguous_.empty() && ambiguous_.find(name) != ambiguous_.end()) return;
  auto [found, inserted] = named_.try_emplace(std::move(name), entry);
  if (!inserted && !(found->second == entry)) {
    ambiguous_.insert(found->first);
    named_.erase(found);
  }
}

const LinkIndex::Entry* LinkIndex::findObject(const StyleSheetObject& object) const {
  auto found = objects_.find(&object);
  return found == objects_.end() ? nullptr : &found->second;
}

const LinkIndex::Entry* LinkIndex::findNamed(std::string_view key) const {
  auto found = named_.find(key);
  return found == named_.end() ? nullptr : &found->second;
}

bool LinkIndex::mayName(std::string_view word) const {
  const size_t bit = wordBit(word);
  if ((wordBits_[bit / 64] & (uint64_t{1} << (bit % 64))) == 0) return false;
  return lastWords_.find(word) != lastWords_.end();
}

bool LinkIndex::isAmbiguous(std::string_view name) const {
  return ambiguous_.find(name) != ambiguous_.end();
}

std::string LinkIndex::objectLink(const StyleSheetObject& object, const EvaluationContext& context) const {
  const Entry* entry = findObject(object);
  return entry ? linkText(context, *entry) : std::string();
}

std::string LinkIndex::namedLink(const EvaluationContext& context, std::string_view key) const {
  const Entry* entry = findNamed(key);
  return entry ? linkText(context, *entry) : std::string();
}

LinkTarget LinkIndex::namedTarget(const EvaluationContext& context, std::string_view key) const {
  const Entry* entry = findNamed(key);
  if (!entry) return {};
  return {linkText(context, *entry), entry->kind};
}

std::string LinkIndex::objectAnchor(const EvaluationContext&, const StyleSheetObject& object) {
  const Entry* entry = findObject(object);
  return entry ? entry->anchorName : anchorName(object);
}

std::string LinkIndex::namedAnchor(const EvaluationContext&, std::string_view key) const {
  const Entry* entry = findNamed(key);
  return entry ? entry->anchorName : std::string(key);
}

std::string LinkIndex::postfixKey(const StyleSheetObject& object, std::string_view postfix) {
  std::string key(kPostfixPrefix);
  key += anchorName(object);
  key += postfix;
  return key;
}

std::vector<LinkIndex::NamedEntry> LinkIndex::namedEntries() const {
  std::vector<NamedEntry> entries;
  entries.reserve(named_.size());
  for (const auto& [name, entry] : named_) entries.push_back({name, &entry});
  std::sort(entries.begin(), entries.end(),
            [](const NamedEntry& a, const NamedEntry& b) { return a.name < b.name; });
  return entries;
}

}  // namespace quillet
