// Function: a free or member function in the code model, with its parameters, its declaration and
// definition comments and the statement and McCabe counts of its body. The code model builder creates and
// matches them, classes and the code store own them, chapters own copies, and templates see them as
// "function" objects.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "model/function_arg.h"
#include "model/model_mixins.h"
#include "model/model_properties.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

template <typename T>
struct PropertyTable;

class Function final : public HasAName,
                       public HasTwoDocs,
                       public HasProtection,
                       public StyleSheetObject,
                       public HasANameSpace {
 public:
  /// The template head written before the function, empty if none.
  std::string templatePrefix;
  /// Everything written before the declarator: specifiers and the return type ("static int").
  std::string returnType;
  /// What follows the parameter list other than an exception specification ("const", "= 0").
  std::string attributes;
  /// The type list of an exception specification, empty if none.
  std::string throwSpec;
  /// The class the function belongs to (qualified for nested classes); empty for a free function.
  std::string className;
  /// The source file of the declaration.
  std::string file;
  /// The line of the function's name in that file, 0 when unknown.
  int32_t line = 0;
  /// Where a definition read apart from the declaration stands; empty and 0 when none was.
  std::string definitionFile;
  int32_t definitionLine = 0;
  /// Statement count of the body.
  int32_t size = 0;
  /// McCabe complexity of the body.
  int32_t mccabe = 0;
  /// The parameters in order.
  std::vector<FunctionArg> args;
  /// The virtual function of a documented base that this one overrides, or null (not owned).
  Function* overrides = nullptr;
  /// The functions of documented derived classes that override this one (not owned).
  std::vector<Function*> overriddenBy;

  Function() = default;
  Function(const Function&) = default;
  Function(Function&&) noexcept = default;
  Function& operator=(const Function&) = default;
  Function& operator=(Function&&) noexcept = default;
  ~Function() = default;

  /// Appends a parameter whose declaration comment is `comment` and whose class is the function's class.
  void AddArg(std::string signatureType, std::string type, std::string name, std::string defaultValue,
              DocText comment);
  /// Takes the definition comments as declaration comments, for the function and each parameter.
  void TakeDefinitionComment() override;
  /// Empties every comment of the function and its parameters that came from a file named as `fileName`.
  void ForgetCommentsFrom(std::string_view fileName);
  /// Adds one statement.
  void CountStatement() { ++size; }
  /// Adds one decision.
  void CountDecision() { ++mccabe; }

  /// True when `other` describes the same function: same namespace, parameter count, name, class (unless
  /// `ignoreClass`), parameter signature types and attributes (" = 0" and "= 0" not counted).
  bool Matches(const Function& other, bool ignoreClass) const;
  /// A text that two functions share exactly when they Match with the class compared, for hashing.
  std::string MatchKey() const;
  /// True when this function comes before `other` in a class's member order.
  bool LessThan(const Function& other) const;
  /// True when the name is the last component of the class name.
  bool IsConstructor() const;
  /// True when the name is "~" and the last component of the class name.
  bool IsDestructor() const;
  /// The signature as written in messages: "ns::Class::name(int, char*)const".
  std::string SignatureText() const;
  /// The parameter types and what follows them, as summaries tell overloads apart: "(int, char*) const".
  std::string ParameterText() const;

  /// Writes a property of the function's property table (function.cc).
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// "function".
  std::string_view TypeName() const override { return "function"; }
  /// A function.
  LinkKind linkKind() const override { return LinkKind::kFunction; }
  /// Class::name for a member function, else the name.
  std::string FullName() const override;
  /// "f_", the namespace, class, name, parameter types and attributes, made an identifier.
  std::string AnchorName() const override;
  /// The namespace, class and name with "::" between, the parameter types in parentheses, the attributes.
  std::string DeclarationKey() const override;
  /// The HTML output file's stem, "_" and the anchor name.
  std::string FileName(const EvaluationContext& context) const override;
  /// Answers a test of the function's property table.
  bool Test(std::string_view property, int32_t& value) const override;
  /// A list of the function's property table: "arg_list", "overrider_list" or "overrides".
  StyleSheetObject* GetList(std::string_view name) override;

 private:
  // The function's property table (function.cc) hands out the parameter list view.
  friend struct PropertyTable<Function>;

  OwnedListView<std::vector<FunctionArg>> argList_{"arg_list"};
  OwnedListView<std::vector<Function*>> overriderList_{"overrider_list"};
};

/// A list of functions; elements keep their addresses while functions are appended.
using FunctionList = std::deque<Function>;

/// The text after the last ":" of `className` (the name of a constructor of that class).
std::string_view lastNameComponent(std::string_view className);

}  // namespace quillet
