// A copy of an object stack for a page evaluated on another thread: the loop wrappers on it are copied at
// their current positions (the loops go on meanwhile); every other object is the model's and stays shared.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "stylesheet/object_path.h"
#include "template_objects/style_sheet_object_list_wrapper.h"

namespace quillet {

class ObjectStackCopy {
 public:
  explicit ObjectStackCopy(const ObjectStack& stack) {
    stack_.reserve(stack.size());
    for (StyleSheetObject* object : stack) {
      if (const auto* wrapper = dynamic_cast<const StyleSheetObjectListWrapper*>(object)) {
        // A loop nested over an outer loop's list wraps that loop's wrapper, which is copied already.
        StyleSheetObject* list = wrapper->list();
        for (size_t i = 0; i < stack_.size(); ++i)
          if (stack[i] == list) list = stack_[i];
        copies_.push_back(wrapper->copyOver(list));
        stack_.push_back(copies_.back().get());
      } else {
        stack_.push_back(object);
      }
    }
  }
  ObjectStackCopy(const ObjectStackCopy&) = delete;
  ObjectStackCopy& operator=(const ObjectStackCopy&) = delete;

  /// The copied stack.
  ObjectStack& stack() { return stack_; }

 private:
  std::vector<std::unique_ptr<StyleSheetObjectListWrapper>> copies_;
  ObjectStack stack_;
};

}  // namespace quillet
