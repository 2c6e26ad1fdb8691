#include "editor/editor_main.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

namespace quillet {
namespace {

// Sets or unsets an environment variable for the life of the object.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~ScopedVariable() { had_ ? setenv(name_, old_.c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(EditorMainTest, WithoutADisplayOneLineSendsTheUserToBatchMode) {
  ScopedVariable display("DISPLAY", nullptr);
  ScopedVariable wayland("WAYLAND_DISPLAY", "");
  ScopedVariable platform("QT_QPA_PLATFORM", nullptr);
  EXPECT_FALSE(editorDisplayAvailable());
  std::ostringstream err;
  char program[] = "quillet";
  char* argv[] = {program, nullptr};
  EXPECT_EQ(runEditor(1, argv, "", err), 2);
  const std::string text = err.str();
  EXPECT_EQ(text.find('\n'), text.size() - 1);  // exactly one line
  EXPECT_NE(text.find("display"), std::string::npos);
  EXPECT_NE(text.find("-C"), std::string::npos);

  ScopedVariable chosen("WAYLAND_DISPLAY", "wayland-0");
  EXPECT_TRUE(editorDisplayAvailable());
}

}  // namespace
}  // namespace quillet
