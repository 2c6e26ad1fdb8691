#include "document/class_relations.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "config/configuration.h"
#include "model/class.h"
#include "model/model_properties.h"

namespace quillet {

namespace {

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

bool isSpecialMember(const Function& f) {
  return f.IsConstructor() || f.IsDestructor() || f.name == "operator=";
}

// What decides whether one function overrides another besides the base's being virtual: name, parameter
// types and const-ness, joined by a byte no declaration holds.
std::string overrideKey(const Function& f) {
  std::string key = f.name;
  for (const FunctionArg& arg : f.args) {
    key += '\n';
    key += arg.signatureType;
  }
  key += hasWord(f.attributes, "const") ? "\nconst" : "\n";
  return key;
}

// A class page lists the members inherited from this many documented bases at most, and this many
// functions; a deeper or wider hierarchy ends its list with the bases whose own pages go on. This keeps
// every page, and the time to relate the classes, in proportion to the class rather than to its ancestry
// (a chain of thousands of classes would otherwise repeat its whole ancestry on every page).
constexpr size_t kMaxInheritedBases = 32;
constexpr size_t kMaxInheritedFunctions = 500;

// The bases `c` names that it can see, as documented classes: a private base only when private members
// are documented.
template <typename Take>
void forEachVisibleBase(const ClassFinder& finder, const Class& c, const Configuration& configuration,
                        Take take) {
  for (const BaseClass& base : c.parents) {
    if (base.access == kAccessPrivate && !configuration.isDocumented(kAccessPrivate)) continue;
    if (Class* found = finder.find(c, baseName(base.name))) take(found);
  }
}

// Fills the inherited member groups of `c` and the overrides of its functions, walking its documented
// bases nearest first, each once, within the limits above.
void inheritMembers(const ClassFinder& finder, Class& c, const Configuration& configuration) {
  std::unordered_set<std::string_view> declared;
  // c's functions that may still override one of a base's, by key.
  std::unordered_map<std::string, std::vector<Function*>> overriding;
  for (Function& f : *c.functions) {
    declared.insert(f.name);
    if (configuration.isDocumented(f.access)) overriding[overrideKey(f)].push_back(&f);
  }
  std::unordered_set<const Class*> queued{&c};
  std::vector<Class*> queue;
  forEachVisibleBase(finder, c, configuration, [&](Class* base) {
    if (queued.insert(base).second) queue.push_back(base);
  });
  size_t walked = 0;
  size_t listed = 0;
  for (; walked < queue.size() && walked < kMaxInheritedBases && listed < kMaxInheritedFunctions; ++walked) {
    Class* ancestor = queue[walked];
    forEachVisibleBase(finder, *ancestor, configuration, [&](Class* base) {
      if (queued.insert(base).second) queue.push_back(base);
    });
    InheritedMembers group;
    group.base = ancestor;
    for (Function& g : *ancestor->functions) {
      if (!configuration.isDocumented(g.access) || g.access == kAccessPrivate || isSpecialMember(g))
        continue;
      if (g.returnType.starts_with("virtual") && !overriding.empty()) {
        if (auto found = overriding.find(overrideKey(g)); found != overriding.end()) {
          for (Function* f : found->second) {
            f->overrides = &g;
            g.overriddenBy.push_back(f);
          }
          overriding.erase(found);
        }
      }
      // A name the class declares again hides the base's functions of that name.
      if (declared.count(g.name)) continue;
      group.functions.push_back(&g);
    }
    for (const Function* g : group.functions) declared.insert(g->name);
    listed += group.functions.size();
    if (!group.functions.empty()) c.inherited.push_back(std::move(group));
  }
  if (walked == queue.size()) return;
  // The walk stopped early: a listed base whose own bases were not walked says that its page goes on,
  // and a base not listed for want of members is listed empty when it is the way on.
  const std::unordered_set<const Class*> walkedSet(queue.begin(), queue.begin() + walked);
  const auto goesOn = [&](const Class& ancestor) {
    bool on = false;
    forEachVisibleBase(finder, ancestor, configuration,
                       [&](Class* base) { on = on || (base != &c && !walkedSet.count(base)); });
    return on;
  };
  std::vector<InheritedMembers> groups;
  size_t next = 0;
  for (size_t i = 0; i < walked; ++i) {
    const bool listedGroup = next < c.inherited.size() && c.inherited[next].base == queue[i];
    const bool on = goesOn(*queue[i]);
    if (!listedGroup && !on) continue;
    InheritedMembers group;
    if (listedGroup) group = std::move(c.inherited[next++]);
    group.base = queue[i];
    group.continued = on;
    groups.push_back(std::move(group));
  }
  c.inherited = std::move(groups);
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
    // The classes are taken one by one, so a class named twice among the bases would be the last entry.
    for (const BaseClass& base : c.parents) {
      Class* found = finder.find(c, baseName(base.name));
      if (found && (found->derivedClasses.empty() || found->derivedClasses.back() != &c))
        found->derivedClasses.push_back(&c);
    }
    inheritMembers(finder, c, configuration);
  }
}

}  // namespace quillet
