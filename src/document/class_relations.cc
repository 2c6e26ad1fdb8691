#include "document/class_relations.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_map>

#include "config/configuration.h"
#include "model/class.h"
#include "model/model_properties.h"

namespace quillet {

namespace {

template <typename T>
void addOnce(std::vector<T*>& items, T* item) {
  if (std::find(items.begin(), items.end(), item) == items.end()) items.push_back(item);
}

// The documented classes by qualified name ("ns::Outer::Inner") and by their own name; the first class of
// a name stays.
class ClassFinder {
 public:
  explicit ClassFinder(const std::vector<StyleSheetObject*>& classes) {
    for (StyleSheetObject* object : classes) {
      Class* c = static_cast<Class*>(object);
      byName_.emplace(qualifiedName(*c), c);
      byName_.emplace(c->name, c);
    }
  }

  static std::string qualifiedName(const Class& c) {
    return c.nameSpace.empty() ? c.name : c.nameSpace + "::" + c.name;
  }

  // The base `name` as written in `derived`: looked up in the derived class's namespace and the namespaces
  // around it, then as written.
  Class* find(const Class& derived, std::string_view name) const {
    if (name.starts_with("::")) name.remove_prefix(2);
    std::string scope = derived.nameSpace;
    for (;;) {
      const std::string key = scope.empty() ? std::string(name) : scope + "::" + std::string(name);
      if (auto found = byName_.find(key); found != byName_.end() && found->second != &derived)
        return found->second;
      if (scope.empty()) return nullptr;
      const size_t cut = scope.rfind("::");
      scope = cut == std::string::npos ? std::string() : scope.substr(0, cut);
    }
  }

 private:
  std::unordered_map<std::string, Class*> byName_;
};

bool hasWord(std::string_view text, std::string_view word) {
  for (size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
    const bool before =
        at == 0 || !(std::isalnum(static_cast<unsigned char>(text[at - 1])) || text[at - 1] == '_');
    const size_t end = at + word.size();
    const bool after =
        end >= text.size() || !(std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_');
    if (before && after) return true;
  }
  return false;
}

// Whether `f` overrides `g`: the same name, parameter types and const-ness, `g` virtual.
bool overridesFunction(const Function& f, const Function& g) {
  if (f.name != g.name || f.args.size() != g.args.size() || !g.returnType.starts_with("virtual"))
    return false;
  for (size_t i = 0; i < f.args.size(); ++i)
    if (f.args[i].signatureType != g.args[i].signatureType) return false;
  return hasWord(f.attributes, "const") == hasWord(g.attributes, "const");
}

bool isSpecialMember(const Function& f) {
  return f.IsConstructor() || f.IsDestructor() || f.name == "operator=";
}

// The documented bases of `c` it can see, nearest first, each once; a private base only when private
// members are documented.
std::vector<Class*> visibleAncestors(const ClassFinder& finder, const Class& c,
                                     const Configuration& configuration) {
  std::vector<Class*> ancestors;
  std::vector<const Class*> queue{&c};
  for (size_t next = 0; next < queue.size(); ++next) {
    for (const BaseClass& base : queue[next]->parents) {
      if (base.access == kAccessPrivate && !configuration.isDocumented(kAccessPrivate)) continue;
      Class* found = finder.find(*queue[next], baseName(base.name));
      if (!found || found == &c || std::find(ancestors.begin(), ancestors.end(), found) != ancestors.end())
        continue;
      ancestors.push_back(found);
      queue.push_back(found);
    }
  }
  return ancestors;
}

}  // namespace

std::string_view baseName(std::string_view text) {
  for (;;) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    bool cut = false;
    for (std::string_view word : {"virtual ", "public ", "protected ", "private "}) {
      if (text.starts_with(word)) {
        text.remove_prefix(word.size());
        cut = true;
      }
    }
    if (!cut) break;
  }
  const size_t end = text.find_first_of("< ");
  return text.substr(0, end);
}

void relateClasses(const std::vector<StyleSheetObject*>& classes) {
  const Configuration& configuration = runConfiguration();
  const ClassFinder finder(classes);
  for (StyleSheetObject* object : classes) {
    Class& c = *static_cast<Class*>(object);
    c.derivedClasses.clear();
    c.inherited.clear();
    for (Function& f : *c.functions) {
      f.overrides = nullptr;
      f.overriddenBy.clear();
    }
  }
  for (StyleSheetObject* object : classes) {
    Class& c = *static_cast<Class*>(object);
    for (const BaseClass& base : c.parents)
      if (Class* found = finder.find(c, baseName(base.name))) addOnce(found->derivedClasses, &c);

    std::vector<std::string_view> declared;
    for (const Function& f : *c.functions) declared.push_back(f.name);
    for (Class* ancestor : visibleAncestors(finder, c, configuration)) {
      InheritedMembers group;
      group.base = ancestor;
      for (Function& g : *ancestor->functions) {
        if (!configuration.isDocumented(g.access) || g.access == kAccessPrivate || isSpecialMember(g))
          continue;
        for (Function& f : *c.functions) {
          if (!f.overrides && configuration.isDocumented(f.access) && overridesFunction(f, g)) {
            f.overrides = &g;
            addOnce(g.overriddenBy, &f);
          }
        }
        // A name the class declares again hides the base's functions of that name.
        if (std::find(declared.begin(), declared.end(), g.name) != declared.end()) continue;
        group.functions.push_back(&g);
      }
      for (const Function* g : group.functions) declared.push_back(g->name);
      if (!group.functions.empty()) c.inherited.push_back(std::move(group));
    }
  }
}

}  // namespace quillet
