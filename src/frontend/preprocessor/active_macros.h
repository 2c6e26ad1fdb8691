// The macros in effect while one module is preprocessed: a flat hash table from a macro's name to its
// definition. It holds plain pointers (the definitions belong to the header records and the run's
// predefined macros, which outlive it), so copying the predefined set into a new module, and replaying the
// thousands of definitions of the compiler's headers into every module, allocate nothing per macro.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "frontend/preprocessor/header_cache.h"

namespace quillet {

class ActiveMacros {
 public:
  ActiveMacros() = default;

  /// The macro named `name`, or null.
  const Macro* find(std::string_view name) const {
    if (size_ == 0) return nullptr;
    for (size_t i = hashOf(name) & mask_;; i = (i + 1) & mask_) {
      const Macro* slot = slots_[i];
      if (slot == nullptr) return nullptr;
      if (slot->name == name) return slot;
    }
  }
  /// True when a macro named `name` is in effect.
  bool contains(std::string_view name) const { return find(name) != nullptr; }
  /// Puts `macro` in effect unless a macro of its name already is; true when it was added.
  bool add(const Macro* macro);
  /// Takes the macro named `name` out of effect; false when there was none.
  bool remove(std::string_view name);
  /// The number of macros in effect.
  size_t size() const { return size_; }

 private:
  static size_t hashOf(std::string_view name) { return macroNameHash(name); }
  void grow();

  std::vector<const Macro*> slots_;
  size_t mask_ = 0;
  size_t size_ = 0;
};

}  // namespace quillet
