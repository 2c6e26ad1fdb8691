// Finishing a class after all sources are read: references to other documented classes, the member order,
// and virtual functions inherited from documented bases. Also the class dictionary those steps read.
#include <algorithm>
#include <unordered_set>

#include "config/configuration.h"
#include "model/class.h"
#include "model/class_dictionary.h"
#include "model/model_properties.h"

namespace quillet {

namespace {

bool isTypeDelimiter(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '<' || c == '>' || c == '*' || c == '&';
}

bool contains(const std::vector<std::string>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Calls `take` with the name of every documented class that a word of `type` names, directly or through a
// typedef standing for it.
template <typename Take>
void forEachClassIn(const ClassDictionary& dictionary, std::string_view type, Take take) {
  size_t i = 0;
  while (i < type.size()) {
    while (i < type.size() && isTypeDelimiter(type[i])) ++i;
    size_t end = i;
    while (end < type.size() && !isTypeDelimiter(type[end])) ++end;
    if (end > i) {
      const std::string_view word = type.substr(i, end - i);
      if (const Class* named = dictionary.findTypedefClass(word)) {
        take(named->name);
      } else if (dictionary.findClass(word)) {
        take(word);
      }
    }
    i = end;
  }
}

// The first word of a base's text that is not "virtual" or an access word: the base class's name.
std::string_view baseClassName(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    size_t end = text.find(' ', i);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view word = text.substr(i, end - i);
    if (!word.empty() && word != "virtual" && word != "public" && word != "private" && word != "protected")
      return word;
    i = end;
  }
  return {};
}

bool isVirtual(const Function& function) {
  return startsWith(function.returnType, "virtual");
}

// The qualifiers of a function that say whether it is the same function in a derived class: its
// attributes without "override", "final" and a pure specifier.
std::string overrideQualifiers(std::string_view attributes) {
  std::string text;
  size_t i = 0;
  while (i < attributes.size()) {
    while (i < attributes.size() && attributes[i] == ' ') ++i;
    size_t end = attributes.find(' ', i);
    if (end == std::string_view::npos) end = attributes.size();
    std::string_view word = attributes.substr(i, end - i);
    if (word == "=" && end + 2 <= attributes.size() && attributes.substr(end + 1, 1) == "0") {
      end += 2;
      word = {};
    } else if (word == "=0" || word == "override" || word == "final") {
      word = {};
    }
    if (!word.empty()) {
      if (!text.empty()) text += ' ';
      text += word;
    }
    i = end;
  }
  return text;
}

// True when `derived` overrides `base` if `base` is virtual: same name and parameters, and the same
// qualifiers; the namespaces and classes of the two may differ.
bool sameSignature(const Function& base, const Function& derived) {
  if (base.name != derived.name || base.args.size() != derived.args.size()) return false;
  for (size_t i = 0; i < base.args.size(); ++i)
    if (base.args[i].signatureType != derived.args[i].signatureType) return false;
  return base.attributes == derived.attributes ||
         overrideQualifiers(base.attributes) == overrideQualifiers(derived.attributes);
}

// The documented class a base's name stands for: the class of that name (a specialization when its
// arguments are written alike), the class a typedef or alias of that name stands for, the primary template
// of a specialization that is not documented, each also with the namespaces in front left out (ns::Base).
const Class* findBaseClass(const ClassDictionary& dictionary, std::string_view name) {
  while (name.starts_with("::")) name.remove_prefix(2);
  for (std::string_view candidate = name; !candidate.empty();) {
    if (const Class* found = dictionary.findClass(candidate)) return found;
    if (const Class* found = dictionary.findTypedefClass(candidate)) return found;
    if (candidate.find('<') != std::string_view::npos) {
      const std::string plain = withoutArguments(candidate);
      if (const Class* found = dictionary.findClass(plain)) return found;
      if (const Class* found = dictionary.findTypedefClass(plain)) return found;
    }
    // The next "::" outside template arguments.
    int angles = 0;
    size_t scope = std::string_view::npos;
    for (size_t i = 0; i + 1 < candidate.size() && scope == std::string_view::npos; ++i) {
      if (candidate[i] == '<') ++angles;
      if (candidate[i] == '>' && angles > 0) --angles;
      if (angles == 0 && candidate[i] == ':' && candidate[i + 1] == ':') scope = i;
    }
    if (scope == std::string_view::npos) break;
    candidate.remove_prefix(scope + 2);
  }
  return nullptr;
}

}  // namespace

void ClassDictionary::addClass(const Class& documented) {
  classes_.emplace(documented.name, &documented);
  for (const Function& function : *documented.functions)
    if (isVirtual(function)) virtualNames_.insert(function.name);
  const std::string_view name = documented.name;
  // A specialization (X<int>, X<T*>) is listed with its primary template X.
  if (!name.ends_with('>')) return;
  int depth = 0;
  for (size_t i = name.size(); i-- > 0;) {
    if (name[i] == '>') ++depth;
    if (name[i] == '<' && --depth == 0) {
      if (i > 0) specializations_[std::string(name.substr(0, i))].push_back(&documented);
      return;
    }
  }
}

const std::vector<const Class*>& ClassDictionary::specializationsOf(std::string_view name) const {
  static const std::vector<const Class*> kNone;
  const auto found = specializations_.find(name);
  return found == specializations_.end() ? kNone : found->second;
}

void ClassDictionary::addTypedef(std::string_view name, std::string_view className) {
  if (const Class* target = findClass(className)) typedefs_.emplace(std::string(name), target);
}

bool ClassDictionary::hasVirtualNamed(std::string_view name) const {
  return virtualNames_.find(name) != virtualNames_.end();
}

const Class* ClassDictionary::findClass(std::string_view name) const {
  const auto found = classes_.find(name);
  return found == classes_.end() ? nullptr : found->second;
}

const Class* ClassDictionary::findTypedefClass(std::string_view name) const {
  const auto found = typedefs_.find(name);
  return found == typedefs_.end() ? nullptr : found->second;
}

void Class::CollectReferences(const ClassDictionary& dictionary) {
  for (const DataDecl& data : dataMembers) {
    forEachClassIn(dictionary, data.type, [&](std::string_view named) {
      if (named != name && !contains(referencedByData, named)) referencedByData.emplace_back(named);
    });
  }
  auto byFunction = [&](std::string_view named) {
    if (named != name && !contains(referencedByData, named) && !contains(referencedByFunctions, named))
      referencedByFunctions.emplace_back(named);
  };
  for (const Function& function : *functions) {
    forEachClassIn(dictionary, function.returnType, byFunction);
    if (function.access == kAccessPrivate) continue;
    for (const FunctionArg& arg : function.args) forEachClassIn(dictionary, arg.type, byFunction);
  }
}

void Class::Finish(const ClassDictionary& dictionary) {
  CollectReferences(dictionary);
  if (runConfiguration().sortMembers()) {
    std::stable_sort(functions->begin(), functions->end(),
                     [](const Function& a, const Function& b) { return a.LessThan(b); });
    std::stable_sort(dataMembers.begin(), dataMembers.end(), [](const DataDecl& a, const DataDecl& b) {
      if (a.access != b.access) return a.access < b.access;
      return a.name < b.name;
    });
  }
  std::stable_sort(enums.begin(), enums.end(), [](const Enum& a, const Enum& b) { return a.name < b.name; });
  std::stable_sort(typedefs.begin(), typedefs.end(),
                   [](const TypedefRecord& a, const TypedefRecord& b) { return a.name < b.name; });
  specializations.clear();
  for (const Class* special : dictionary.specializationsOf(name))
    if (special->nameSpace == nameSpace && !contains(specializations, special->name))
      specializations.push_back(special->name);
  std::sort(specializations.begin(), specializations.end());
  for (Function& function : *functions) {
    if (!isVirtual(function) && DeclaresVirtual(dictionary, function))
      function.returnType.insert(0, "virtual ");
  }
}

bool Class::DeclaresVirtual(const ClassDictionary& dictionary, const Function& function) const {
  if (isVirtual(function)) return true;
  if (!dictionary.hasVirtualNamed(function.name)) return false;
  // The class and its bases, each looked at once, so that bases naming each other (or the class itself)
  // end; a worklist instead of recursion, so that a deep hierarchy cannot exhaust the stack.
  std::unordered_set<const Class*> visited{this};
  std::vector<const Class*> pending{this};
  while (!pending.empty()) {
    const Class* next = pending.back();
    pending.pop_back();
    for (const Function& member : *next->functions)
      if (isVirtual(member) && (member.Matches(function, true) || sameSignature(member, function))) return true;
    for (const BaseClass& base : next->parents) {
      const Class* baseClass = findBaseClass(dictionary, baseClassName(base.name));
      if (baseClass && visited.insert(baseClass).second) pending.push_back(baseClass);
    }
  }
  return false;
}

std::string withoutArguments(std::string_view name) {
  std::string plain;
  int angles = 0;
  for (char c : name) {
    if (c == '<') ++angles;
    if (angles == 0) plain += c;
    if (c == '>' && angles > 0) --angles;
  }
  return plain;
}

}  // namespace quillet
