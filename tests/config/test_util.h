// Small helpers shared by the configuration and editor tests.
#pragma once

#include <cstdlib>
#include <string>

#include "config/layout_item.h"

namespace quillet {

inline std::string repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

// The children of `item` in order, separated by blanks; a chapter shows its own children in brackets after
// its name, so that "A[b C[]] d" is a chapter A holding b and the empty chapter C, followed by d.
inline std::string outline(const LayoutItem& item) {
  std::string text;
  for (size_t i = 0; i < item.childCount(); ++i) {
    const LayoutItem& child = *item.child(i);
    text += (i > 0 ? " " : "") + child.name();
    if (child.isChapter()) text += "[" + outline(child) + "]";
  }
  return text;
}

// Sets (or, with null, unsets) an environment variable for a scope and restores it afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    set(value);
  }
  ~ScopedEnv() { set(had_ ? old_.c_str() : nullptr); }
  void set(const char* value) {
    value != nullptr ? setenv(name_.c_str(), value, 1) : unsetenv(name_.c_str());
  }

 private:
  std::string name_;
  std::string old_;
  bool had_ = false;
};

}  // namespace quillet
