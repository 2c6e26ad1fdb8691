// Class: a class, struct or union of the code model, with its member functions, data members, bases,
// nested enumerations and typedefs. The code model builder assembles them and files them into the code
// store; chapters own copies, which share the member function list; the document finishes each copy once
// after all sources are read (Finish); templates see them as "class" objects.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/data_decl.h"
#include "model/enum.h"
#include "model/function.h"
#include "model/model_mixins.h"
#include "model/model_properties.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

class ClassDictionary;
template <typename T>
struct PropertyTable;

/// A typedef declared in a class or at namespace scope.
struct TypedefRecord {
  /// The typedef name (qualified by its class in the code store's map).
  std::string name;
  DocText doc;
  int32_t access = kAccessPublic;
  /// The names of the base type as written, type names resolved ("tagX").
  std::string declaredText;
  /// The whole type the name stands for, type names resolved ("tagX*").
  std::string resolvedType;
  /// The whole type as written, type names not resolved ("PassManager<Loop, Manager&>").
  std::string writtenType;
};

/// One base of a class: its text after the access word ("Base", "virtual Base") and its access.
struct BaseClass {
  std::string name;
  int32_t access = kAccessPrivate;
};

class Class;

/// The members a class inherits from one of its documented bases, for the class's page ("inherited"):
/// "name" is the base's name, "base" the base class and "function_list" its member functions that the
/// class inherits and does not declare again; "continued" tells that the base's page lists more.
class InheritedMembers final : public StyleSheetObject {
 public:
  /// The base class (not owned).
  Class* base = nullptr;
  /// The inherited member functions, in the base's order (not owned).
  std::vector<Function*> functions;
  /// True when the base inherits more than this page lists, so that the base's own page goes on.
  bool continued = false;

  InheritedMembers() = default;
  InheritedMembers(const InheritedMembers&) = default;
  InheritedMembers& operator=(const InheritedMembers&) = default;

  /// "name": the base's name.
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// "inherited".
  std::string_view TypeName() const override { return "inherited"; }
  /// "base" (the base class) or "function_list".
  StyleSheetObject* GetList(std::string_view name) override;
  /// "continued": the base's page lists members it inherits that this page leaves out.
  bool Test(std::string_view property, int32_t& value) const override;

 private:
  OwnedListView<std::vector<Function*>> functionList_{"function_list"};
};

class Class final : public HasAName,
                    public HasADoc,
                    public HasProtection,
                    public StyleSheetObject,
                    public HasANameSpace {
 public:
  /// The data members, in declaration order until finished.
  std::vector<DataDecl> dataMembers;
  /// The template head written before the class, empty when it is no template.
  std::string templatePrefix;
  /// The source file that declares the class.
  std::string file;
  /// The line of the class's name in that file, 0 when unknown.
  int32_t line = 0;
  /// The member functions; copies of a class share this list.
  std::shared_ptr<FunctionList> functions = std::make_shared<FunctionList>();
  /// The bases in order.
  std::vector<BaseClass> parents;
  /// The nested enumerations.
  std::vector<Enum> enums;
  /// The typedefs declared in the class.
  std::vector<TypedefRecord> typedefs;
  /// Documented classes named in member function return types and non-private parameter types.
  std::vector<std::string> referencedByFunctions;
  /// Documented classes named in data member types.
  std::vector<std::string> referencedByData;
  /// "class", "struct" or "union".
  std::string classType;
  /// The friends declared in the class, as written after "friend" ("class Node").
  std::vector<std::string> friends;
  /// The base members the class brings in with using-declarations ("Base::f").
  std::vector<std::string> usingDeclarations;
  /// The namespace as declared when it holds an inline namespace (fmt::v9 for a class filed under fmt).
  std::string inlineNamespace;
  /// The constraint of a concept (classType "concept").
  std::string constraint;
  /// The names of the documented specializations of this template in its namespace (X<int>, X<T*>),
  /// sorted; filled by Finish.
  std::vector<std::string> specializations;
  /// The documented classes that name this one as a base, by name (not owned; set when the document is
  /// sorted).
  std::vector<Class*> derivedClasses;
  /// What the class inherits, one group per documented base it can see, nearest bases first.
  std::vector<InheritedMembers> inherited;

  Class() = default;
  Class(const Class&) = default;
  Class(Class&&) noexcept = default;
  Class& operator=(const Class&) = default;
  Class& operator=(Class&&) noexcept = default;
  ~Class() = default;

  /// Appends a copy of `function` with the class's namespace and name; answers the stored function.
  Function& AddFunction(Function function);
  /// Appends a data member of this class.
  void AddData(std::string type, std::string name, DocText comment, int32_t access);
  /// Appends a base.
  void AddParent(int32_t access, std::string name);
  /// True when names and namespaces are equal.
  bool SameClass(const Class& other) const;
  /// The name of the primary template when this class is a specialization (X for X<int>), else empty.
  std::string_view PrimaryName() const;
  /// Gives this copy a member function list of its own, so that changes to it stay with this copy.
  void UnshareFunctions();
  /// Empties every comment of the class and its members that came from a file named as `fileName`.
  void ForgetCommentsFrom(std::string_view fileName);

  /// The finishing step after all sources are read: references, member order (when configured), nested
  /// enumerations and typedefs by name, and "virtual " for functions that override a virtual one.
  void Finish(const ClassDictionary& dictionary);
  /// Fills the two reference lists from member types naming classes (or their typedefs) of `dictionary`.
  void CollectReferences(const ClassDictionary& dictionary);
  /// The number of member functions with access `access`.
  int32_t CountFunctions(int32_t access) const;
  /// True when `function` is virtual in this class or, through the bases found in `dictionary`, in a base.
  bool DeclaresVirtual(const ClassDictionary& dictionary, const Function& function) const;

  /// Writes a property of the class's property table (class.cc).
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// "class".
  std::string_view TypeName() const override { return "class"; }
  /// A type.
  LinkKind linkKind() const override { return LinkKind::kType; }
  /// The class name (Outer::Inner for a nested class), by which linked text finds the class.
  std::string FullName() const override;
  /// "c_", the namespace and the name, with "::" as "_scp_", made an identifier.
  std::string AnchorName() const override;
  /// The namespace, "::" and the name.
  std::string DeclarationKey() const override;
  /// The HTML output file's stem, "_" and the anchor name.
  std::string FileName(const EvaluationContext& context) const override;
  /// Answers a test of the class's property table.
  bool Test(std::string_view property, int32_t& value) const override;
  /// A list of the class's property table: "enum_list", "function_list", "data_list", "derived_list" or
  /// "inherited_list".
  StyleSheetObject* GetList(std::string_view name) override;

 private:
  // The class's property table (class.cc) reads the totals and hands out the list views.
  friend struct PropertyTable<Class>;

  int32_t totalSize() const;
  int32_t totalMcCabe() const;

  OwnedListView<std::vector<Enum>> enumList_{"enum_list"};
  OwnedListView<FunctionList> functionList_{"function_list"};
  OwnedListView<std::vector<DataDecl>> dataList_{"data_list"};
  OwnedListView<std::vector<Class*>> derivedList_{"derived_list"};
  OwnedListView<std::vector<InheritedMembers>> inheritedList_{"inherited_list"};
};

/// `name` without its template argument lists: Vec<T>::Node<U> gives Vec::Node.
std::string withoutArguments(std::string_view name);

}  // namespace quillet
