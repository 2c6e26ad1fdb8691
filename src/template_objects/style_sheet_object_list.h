// List views: present a collection of style sheet objects held by a model or document object as one
// iterable StyleSheetObject, named after the list ("function_list", "class_list", ...). The owner gives the
// view its name and the collection; the evaluator loops over it with Count and At. Every view has constant
// time At, so a loop over a list is linear.
//
// Views refer to collections they do not own. They cannot be copied: an owner that is copied must give its
// copy views over the copy's own collections.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

#include "template_objects/style_sheet_object.h"

namespace quillet {

/// What every list view answers: its name as type name, "size" as its one numeric property, no properties.
class StyleSheetObjectList : public StyleSheetObject {
 public:
  /// A view called `name`; `name` must outlive the view (owners pass a string literal).
  explicit StyleSheetObjectList(std::string_view name) : name_(name) {}
  StyleSheetObjectList(const StyleSheetObjectList&) = delete;
  StyleSheetObjectList& operator=(const StyleSheetObjectList&) = delete;

  /// Always false: a list has no properties to write.
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// The view's name.
  std::string_view TypeName() const override { return name_; }
  /// "size" gives the element count; every other name is unknown.
  bool Test(std::string_view property, int32_t& value) const override;

 protected:
  ~StyleSheetObjectList() = default;

 private:
  std::string_view name_;
};

namespace list_view_detail {

// The StyleSheetObject part of a collection element: elements are objects, raw pointers or smart pointers.
template <typename Element>
StyleSheetObject* objectOf(Element& element) {
  if constexpr (std::is_pointer_v<std::remove_cv_t<Element>>) {
    return element;
  } else if constexpr (requires { typename Element::element_type; }) {  // std::unique_ptr, std::shared_ptr
    return element.get();
  } else {
    return &element;
  }
}

}  // namespace list_view_detail

/// A view over a random-access collection held elsewhere: a vector of values, of pointers or of owning
/// pointers (std::vector<Function>, std::vector<Class*>, std::vector<std::unique_ptr<Chapter>>, ...).
/// A null collection is an empty list.
template <typename Collection>
class StyleSheetObjectVectorList final : public StyleSheetObjectList {
  static_assert(std::random_access_iterator<typename Collection::iterator>,
                "a list view needs constant-time access by index");

 public:
  /// A view called `name` over `items` (which may be null and must outlive the view).
  StyleSheetObjectVectorList(std::string_view name, Collection* items)
      : StyleSheetObjectList(name), items_(items) {}

  /// Points the view at another collection (an owner that was copied or moved). Pages written side by
  /// side ask an owner for its view at once; they bind it to the same collection, so the pointer is
  /// atomic and written only when it changes.
  void bind(Collection* items) {
    if (items_.load(std::memory_order_relaxed) != items) items_.store(items, std::memory_order_relaxed);
  }
  /// The number of elements of the collection.
  size_t Count() const override {
    const Collection* items = items_.load(std::memory_order_relaxed);
    return items ? items->size() : 0;
  }
  /// The element at `index`, or null past the end.
  StyleSheetObject* At(size_t index) override {
    Collection* items = items_.load(std::memory_order_relaxed);
    if (!items || index >= items->size()) return nullptr;
    return list_view_detail::objectOf((*items)[index]);
  }

 private:
  std::atomic<Collection*> items_;
};

/// A view that holds its own selection of objects owned elsewhere, such as a filtered subset of another
/// list or a document-wide list gathered from every chapter.
class StyleSheetObjectSubsetList final : public StyleSheetObjectList {
 public:
  /// An empty view called `name`.
  explicit StyleSheetObjectSubsetList(std::string_view name) : StyleSheetObjectList(name) {}

  /// Appends `object` (not owned; must outlive the view) to the selection.
  void add(StyleSheetObject* object) { items_.push_back(object); }
  /// Empties the selection.
  void clear() { items_.clear(); }
  /// The selection, for owners that sort or reserve it.
  std::vector<StyleSheetObject*>& items() { return items_; }
  const std::vector<StyleSheetObject*>& items() const { return items_; }
  /// The number of selected objects.
  size_t Count() const override { return items_.size(); }
  /// The selected object at `index`, or null past the end.
  StyleSheetObject* At(size_t index) override { return index < items_.size() ? items_[index] : nullptr; }

 private:
  std::vector<StyleSheetObject*> items_;
};

}  // namespace quillet
