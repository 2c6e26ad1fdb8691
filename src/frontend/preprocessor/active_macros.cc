#include "frontend/preprocessor/active_macros.h"

#include <utility>

namespace quillet {

bool ActiveMacros::add(const Macro* macro) {
  if ((size_ + 1) * 2 > slots_.size()) grow();
  for (size_t i = macro->nameHash & mask_;; i = (i + 1) & mask_) {
    const Macro*& slot = slots_[i];
    if (slot == nullptr) {
      slot = macro;
      ++size_;
      return true;
    }
    if (slot == macro || (slot->nameHash == macro->nameHash && slot->name == macro->name)) return false;
  }
}

bool ActiveMacros::remove(std::string_view name) {
  if (size_ == 0) return false;
  size_t i = hashOf(name) & mask_;
  for (;; i = (i + 1) & mask_) {
    if (slots_[i] == nullptr) return false;
    if (slots_[i]->name == name) break;
  }
  // Linear probing without markers: the entries after the hole that no longer sit after their home slot
  // move back into it.
  slots_[i] = nullptr;
  --size_;
  for (size_t j = (i + 1) & mask_; slots_[j] != nullptr; j = (j + 1) & mask_) {
    const size_t home = slots_[j]->nameHash & mask_;
    const bool between = i <= j ? (i < home && home <= j) : (i < home || home <= j);
    if (between) continue;
    slots_[i] = slots_[j];
    slots_[j] = nullptr;
    i = j;
  }
  return true;
}

void ActiveMacros::grow() {
  std::vector<const Macro*> old = std::move(slots_);
  slots_.assign(old.empty() ? 64 : old.size() * 2, nullptr);
  mask_ = slots_.size() - 1;
  size_ = 0;
  for (const Macro* macro : old)
    if (macro != nullptr) add(macro);
}

}  // namespace quillet
