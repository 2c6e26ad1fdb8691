// The loop wrapper: while a for_each runs, the evaluator replaces the list on the object stack by this
// wrapper over the list and the positions the loop selected. Inside the loop body templates ask it for
// "size" (number selected), "index" (position of the current item among them), "next" and "previous";
// everything else is passed to the wrapped list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "template_objects/style_sheet_object.h"

namespace quillet {

class StyleSheetObjectListWrapper final : public StyleSheetObject {
 public:
  /// Wraps `list` (not owned; must outlive the wrapper) with the selected positions `selection`.
  StyleSheetObjectListWrapper(StyleSheetObject* list, std::vector<size_t> selection);
  StyleSheetObjectListWrapper(const StyleSheetObjectListWrapper&) = delete;
  StyleSheetObjectListWrapper& operator=(const StyleSheetObjectListWrapper&) = delete;

  /// Makes the `current`-th selected item the loop's current one.
  void setCurrent(size_t current) { current_ = current; }
  /// The loop's current position within the selection.
  size_t current() const { return current_; }
  /// The wrapped list.
  StyleSheetObject* list() const { return list_; }
  /// A copy of this wrapper at its current position, wrapping `list` (a copy of the wrapped list, or the
  /// list itself): a page written on another thread keeps the loop's position while the loop goes on.
  std::unique_ptr<StyleSheetObjectListWrapper> copyOver(StyleSheetObject* list) const;

  /// Passed to the wrapped list.
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// The wrapped list's type name.
  std::string_view TypeName() const override;
  /// The wrapped list's full name.
  std::string FullName() const override;
  /// The wrapped list's anchor name.
  std::string AnchorName() const override;
  /// The wrapped list's file name.
  std::string FileName(const EvaluationContext& context) const override;
  /// "size": the number selected; "index": the current position; other names go to the wrapped list.
  bool Test(std::string_view property, int32_t& value) const override;
  /// "next" and "previous": the neighbouring selected item when it exists; otherwise the wrapped list's
  /// answer.
  StyleSheetObject* GetList(std::string_view name) override;
  /// The number of selected positions.
  size_t Count() const override { return selection_.size(); }
  /// The `index`-th selected element of the wrapped list, or null past the selection.
  StyleSheetObject* At(size_t index) override;

 private:
  StyleSheetObjectListWrapper(const StyleSheetObjectListWrapper& other, StyleSheetObject* list);

  StyleSheetObject* list_;
  std::vector<size_t> selection_;
  // Loops nested over the same list wrap wrappers; elements and the type name are taken straight from the
  // innermost real list, at the positions the selections map to, so that they cost the same at any depth.
  StyleSheetObject* base_;
  std::vector<size_t> baseSelection_;
  size_t current_ = 0;
};

}  // namespace quillet
