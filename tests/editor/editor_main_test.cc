#include "editor/editor_main.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "config/test_util.h"

namespace quillet {
namespace {

TEST(EditorMainTest, WithoutADisplayOneLineSendsTheUserToBatchMode) {
  ScopedEnv display("DISPLAY", nullptr);
  ScopedEnv wayland("WAYLAND_DISPLAY", "");
  ScopedEnv platform("QT_QPA_PLATFORM", nullptr);
  EXPECT_FALSE(editorDisplayAvailable());
  std::ostringstream err;
  char program[] = "quillet";
  char* argv[] = {program, nullptr};
  EXPECT_EQ(runEditor(1, argv, "", err), 2);
  const std::string text = err.str();
  EXPECT_EQ(text.find('\n'), text.size() - 1);  // exactly one line
  EXPECT_NE(text.find("display"), std::string::npos);
  EXPECT_NE(text.find("-C"), std::string::npos);

  ScopedEnv chosen("WAYLAND_DISPLAY", "wayland-0");
  EXPECT_TRUE(editorDisplayAvailable());
}

}  // namespace
}  // namespace quillet
