// Enum and EnumTag: an enumeration of the code model and its enumerators. Enumerations at namespace scope
// live in the code store, nested ones in their class; chapters own copies, and templates see them as
// "enum" objects with a "tag_list" of "tag" objects.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/model_mixins.h"
#include "model/model_properties.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

template <typename T>
struct PropertyTable;

class EnumTag final : public HasAName, public HasADoc, public StyleSheetObject {
 public:
  /// The class enclosing the enumeration, empty at namespace scope. `name` is the enumerator as written,
  /// initializer included ("Red = 1").
  std::string scope;

  EnumTag() = default;
  EnumTag(const EnumTag&) = default;
  EnumTag(EnumTag&&) noexcept = default;
  EnumTag& operator=(const EnumTag&) = default;
  EnumTag& operator=(EnumTag&&) noexcept = default;
  ~EnumTag() = default;

  /// Writes a property of the enumerator's property table (enum.cc).
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// "tag".
  std::string_view TypeName() const override { return "tag"; }
  /// An enumerator.
  LinkKind linkKind() const override { return LinkKind::kEnumerator; }
  /// The enumerator's name before any "=", qualified by the scope.
  std::string FullName() const override;
  /// "et_", the scope and the name before any "=", made an identifier.
  std::string AnchorName() const override;
  /// Answers a test of the enumerator's property table.
  bool Test(std::string_view property, int32_t& value) const override;
};

class Enum final : public HasAName,
                   public HasADoc,
                   public HasProtection,
                   public StyleSheetObject,
                   public HasANameSpace {
 public:
  /// The source file (set only at namespace scope).
  std::string file;
  /// The line of the enumeration's body in its file, 0 when unknown.
  int32_t line = 0;
  /// The enclosing class, empty at namespace scope.
  std::string className;
  /// The enumerators in declaration order.
  std::vector<EnumTag> tags;

  Enum() = default;
  Enum(const Enum&) = default;
  Enum(Enum&&) noexcept = default;
  Enum& operator=(const Enum&) = default;
  Enum& operator=(Enum&&) noexcept = default;
  ~Enum() = default;

  /// Empties the comments of the enumeration and its enumerators that came from a file named as `fileName`.
  void ForgetCommentsFrom(std::string_view fileName);

  /// Writes a property of the enumeration's property table (enum.cc).
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// "enum".
  std::string_view TypeName() const override { return "enum"; }
  /// A type.
  LinkKind linkKind() const override { return LinkKind::kType; }
  /// Class::name for a nested enumeration, else the name.
  std::string FullName() const override;
  /// "e_", the namespace, the class and the name ("__noname" for an unnamed nested one), made an
  /// identifier.
  std::string AnchorName() const override;
  /// The namespace, "::" and the full name.
  std::string DeclarationKey() const override;
  /// The HTML output file's stem, "_" and the anchor name.
  std::string FileName(const EvaluationContext& context) const override;
  /// Answers a test of the enumeration's property table.
  bool Test(std::string_view property, int32_t& value) const override;
  /// A list of the enumeration's property table: "tag_list".
  StyleSheetObject* GetList(std::string_view name) override;

 private:
  // The enumeration's property table (enum.cc) hands out the enumerator list view.
  friend struct PropertyTable<Enum>;

  OwnedListView<std::vector<EnumTag>> tagList_{"tag_list"};
};

}  // namespace quillet
