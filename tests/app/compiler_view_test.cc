#include "app/compiler_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/file_contents.h"
#include "support/fake_compiler.h"
#include "support/memory_tree.h"
#include "support/recording_output.h"

namespace quillet {
namespace {

class CompilerViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.files.setEnvironment("PATH", "/opt/none:/usr/bin");
    tree.files.setEnvironment("XDG_CACHE_HOME", "/cache");
    tree.files.addFile("/usr/bin/c++", "compiler");
    compiler.macros = "#define __linux__ 1\n#define __INT64_C(c) c ## L\n#define __cplusplus 202002L\n";
    compiler.folders = {"/usr/include/c++/12", "/usr/include"};
    // The probes are numbered: operator 2 is __has_builtin (its name 15 is __builtin_expect, 35 is
    // __builtin_trap), operator 0 is __has_cpp_attribute (12 is nodiscard).
    compiler.probes =
        "quillet_operator 2\n quillet_probe 2 15 1\nquillet_probe 2 35 0\nquillet_probe 0 12 201907L\n"
        "quillet_probe 9 1 1\nquillet_probe 0 1000 1\nquillet_operator 2 x\n";
    setCurrentMessageOutput(&output);
  }
  void TearDown() override { setCurrentMessageOutput(nullptr); }

  MemoryTree tree;
  FakeCompiler compiler;
  RecordingOutput output;
};

TEST_F(CompilerViewTest, AsksTheCompilerOnceAndKeepsItsAnswer) {
  std::optional<CompilerView> view = compilerView("c++", "c++20");
  ASSERT_TRUE(view);
  EXPECT_EQ(view->macros,
            (std::vector<std::string>{"__linux__ 1", "__INT64_C(c) c ## L", "__cplusplus 202002L"}));
  EXPECT_EQ(view->includeFolders, (std::vector<std::string>{"/usr/include/c++/12", "/usr/include"}));
  EXPECT_EQ(view->features,
            (std::map<std::string, int64_t, std::less<>>{{"__has_builtin", 1},
                                                         {"__has_builtin __builtin_expect", 1},
                                                         {"__has_cpp_attribute nodiscard", 201907}}));
  ASSERT_EQ(compiler.calls.size(), 2u);
  EXPECT_EQ(compiler.calls[0],
            (std::vector<std::string>{"/usr/bin/c++", "-dM", "-E", "-x", "c++", "-std=c++20", "-"}));

  // The second run reads the cache; a changed compiler, or another standard, is asked again.
  EXPECT_EQ(compilerView("c++", "c++20"), view);
  EXPECT_EQ(compiler.calls.size(), 2u);
  EXPECT_EQ(compilerView("/usr/bin/c++", "c++20"), view);
  EXPECT_EQ(compiler.calls.size(), 2u);
  compilerView("c++", "");
  EXPECT_EQ(compiler.calls.size(), 4u);
  tree.files.addFile("/usr/bin/c++", "new compiler");
  EXPECT_EQ(compilerView("c++", "c++20"), view);
  EXPECT_EQ(compiler.calls.size(), 6u);
  EXPECT_TRUE(output.lines.empty());
}

TEST_F(CompilerViewTest, WarnsOfACompilerThatIsMissingOrFails) {
  EXPECT_FALSE(compilerView("clang++", ""));
  EXPECT_FALSE(compilerView("clang++", ""));
  compiler.status = 1;
  EXPECT_FALSE(compilerView("c++", ""));
  EXPECT_TRUE(compiler.calls.size() == 1u);
  EXPECT_EQ(
      output.lines,
      (std::vector<std::string>{
          "warning: the compiler clang++ was not found. The sources are read without its predefined macros "
          "and include folders.",
          "warning: the compiler c++ (/usr/bin/c++) was not asked for its view of the code, it failed. The "
          "sources are read without its predefined macros and include folders."}));
  // A cache file that is damaged or belongs to another compiler is not used.
  EXPECT_FALSE(parseCompilerViewText(
      "quillet compiler view 1\ncompiler /usr/bin/c++\nmodified 1\nstandard \nbad\n", "/usr/bin/c++", 1, ""));
  EXPECT_FALSE(parseCompilerViewText(compilerViewText({}, "/usr/bin/g++", 1, ""), "/usr/bin/c++", 1, ""));
}

}  // namespace
}  // namespace quillet
