// The code store: everything the code model builder found in the sources of one generation run. Free
// functions, enumerations at namespace scope, classes with a name index, typedef records, the namespaces
// seen, the comments assigned by directives, and the names of the files read. The run creates one, every
// module's builder fills it, comment association completes it, and the document copies from it.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/class.h"
#include "model/enum.h"
#include "model/function.h"

namespace quillet {

class CodeStore {
 public:
  CodeStore() = default;
  CodeStore(const CodeStore&) = delete;
  CodeStore& operator=(const CodeStore&) = delete;

  /// The classes in the order stored.
  const std::vector<Class>& classes() const { return classes_; }
  /// True when a class called exactly `name` is stored.
  bool HasClass(std::string_view name) const { return GetClass(name) != nullptr; }
  /// The class called `name` stored last, or null.
  Class* GetClass(std::string_view name);
  const Class* GetClass(std::string_view name) const;
  /// The class called `name` in the namespace `nameSpace` when one is stored, else GetClass(name).
  Class* GetClass(std::string_view name, std::string_view nameSpace);
  /// True when a class with the name and namespace of `other` is stored.
  bool HasSameClass(const Class& other) const;
  /// Appends `stored` and indexes it; a later class of a name is the one GetClass finds.
  Class& AddClass(Class stored);

  /// The free functions in the order stored; their addresses stay while functions are added.
  const FunctionList& functions() const { return functions_; }
  /// The last stored free function that Matches `function`, or null.
  Function* FindFunction(const Function& function);
  /// Appends a free function.
  Function& AddFunction(Function function);

  /// The enumerations at namespace scope in the order stored.
  const std::vector<Enum>& enums() const { return enums_; }
  /// Appends `enumeration` unless the same one is stored: same name and namespace, and for an unnamed
  /// one also the same file and enumerators. True when it was appended.
  bool AddEnum(Enum enumeration);

  /// Offers a typedef record; the first record of a name stays.
  void AddTypedef(TypedefRecord record);
  /// True when a typedef of that (qualified) name is stored.
  bool HasTypedef(std::string_view name) const { return GetTypedef(name) != nullptr; }
  /// The typedef record of that name, or null.
  const TypedefRecord* GetTypedef(std::string_view name) const;
  /// Every typedef record in the order first offered.
  const std::vector<TypedefRecord>& typedefs() const { return typedefs_; }

  /// Records a namespace name seen in a namespace block ("A", "A::B").
  void AddNamespace(std::string_view name) { namespaces_.emplace(name); }
  /// Records a namespace as declared (fmt::v9, with inline namespaces) and as users name it (fmt).
  void AddNamespace(std::string_view written, std::string_view shown);
  /// The name users give the namespace declared as `written` (fmt for fmt::v9), or `written` itself.
  std::string ShownNamespace(std::string_view written) const;
  /// True when `name` was recorded as a namespace.
  bool IsNamespace(std::string_view name) const;

  /// True when `name` is a stored class, or Class::Member where the class declares an enumeration or
  /// typedef called Member.
  bool HasNestedType(std::string_view name) const;

  /// Adds `comment` to the comment assigned to `target`: appended to an earlier one, else taken whole. The
  /// same comment delivered again for a target (the recognizer hands a data declaration's comment over
  /// twice) is added once.
  void AssignComment(std::string_view target, const DocText& comment);
  /// Adds each assigned comment to the comments of its targets: enumerations and free functions of the
  /// name, else the class, else Class::member, else the same qualified by namespaces (ns::Class::member).
  /// A target without a comment takes the assigned one; a target found nowhere is reported. Then the
  /// comments are completed (FinishComments).
  void ApplyAssignedComments();
  /// Completes the comments once the assigned ones are applied: a comment takes in the comments its
  /// @copydoc names, each function's parameters take the text its @param gives them, and @param names no
  /// parameter has, or parameters only partly documented, are reported.
  void FinishComments();
  /// The number of targets with an assigned comment.
  size_t assignedCommentCount() const { return assigned_.size(); }

  /// The names of the files read in the run (modules and the headers they included), filled by the run.
  std::vector<std::string> parsedFiles;

 private:
  struct StringHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  template <typename Value>
  using NameMap = std::unordered_map<std::string, Value, StringHash, std::equal_to<>>;

  std::vector<Class> classes_;
  NameMap<std::vector<size_t>> classIndex_;  // positions of the classes of each name, in order
  FunctionList functions_;
  NameMap<std::vector<size_t>> functionIndex_;  // positions of the free functions of each name
  NameMap<size_t> functionKeys_;                // the last free function of each MatchKey
  std::vector<Enum> enums_;
  NameMap<std::vector<size_t>> enumIndex_;  // positions of the enumerations of each name
  std::vector<TypedefRecord> typedefs_;
  NameMap<size_t> typedefIndex_;
  std::unordered_set<std::string, StringHash, std::equal_to<>> namespaces_;
  NameMap<std::string> shownNamespaces_;  // namespaces declared with inline ones, and their shown names
  bool applyComment(std::string_view target, const DocText& comment);
  bool documentedComment(std::string_view name, DocText& found);
  void copyDocumentation(DocText& comment);
  bool applyQualifiedComment(std::string_view target, const DocText& comment);
  template <typename Visit>
  void forEachQualifiedClass(std::string_view qualified, Visit visit);

  struct Part {
    DocText comment;
  };
  struct Assigned {
    std::string target;
    std::vector<Part> parts;  // the comments in the order assigned
  };
  std::vector<Assigned> assigned_;  // in the order first assigned
  NameMap<size_t> assignedIndex_;
};

}  // namespace quillet
