// The recognizer over real code nobody here wrote, read in place: every file of the googletest sources
// and a sample of the C++ library headers. Nothing may crash or hang, and the well-known public classes
// of googletest must be among the classes found.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "frontend/header_cache.h"
#include "frontend/preprocessor.h"
#include "frontend/recording_lexer.h"
#include "frontend/test_support.h"

namespace quillet {
namespace {

// Counts what the recognizer reports and keeps the class names.
class CountingLexer : public RecordingLexer {
 public:
  std::set<std::string> classNames;
  size_t classes = 0;
  size_t functions = 0;

 protected:
  void OnClassName(std::string_view name) override {
    ++classes;
    classNames.emplace(name);
  }
  void OnFunctionName(std::string_view, std::string_view) override { ++functions; }
  void OnParameter(std::string_view, std::string_view, std::string_view, std::string_view,
                   std::string_view) override {}
  void OnComment(std::string_view, bool) override {}
  void OnTypedefPart(std::string_view) override {}
};

std::vector<std::string> filesBelow(const std::string& root, bool (*wanted)(const std::filesystem::path&)) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
    if (entry.is_regular_file() && wanted(entry.path())) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

// Parses each file as a module the way a run does (one header cache for all), with `folders` to
// include from; the lexer's calls are dropped as they come so that memory stays small.
void recognizeAll(const std::vector<std::string>& modules, const std::vector<std::string>& folders,
                  CountingLexer& lexer) {
  HeaderCache cache;
  for (const std::string& module : modules) {
    if (cache.contains(module)) continue;
    Preprocessor preprocessor(module, folders, {"__cplusplus=201703", "__GNUC__=12", "__x86_64__"}, cache);
    lexer.Parse(preprocessor);
    lexer.calls.clear();
    cache.add(preprocessor.takeModuleRecords());
  }
}

TEST(RecognizerRealWorldTest, RecognizesTheGoogletestSources) {
  const std::string root = "/usr/src/googletest";
  if (!std::filesystem::is_directory(root)) GTEST_SKIP() << root << " is not installed";
  const std::vector<std::string> modules = filesBelow(root, [](const std::filesystem::path& path) {
    return path.extension() == ".cc" || path.extension() == ".h";
  });
  ASSERT_FALSE(modules.empty());
  // The googletest folders only: system headers stay out, which keeps the run quick.
  const std::vector<std::string> folders = {root + "/googletest/include", root + "/googletest",
                                            root + "/googlemock/include", root + "/googlemock"};
  testing::ScopedRun run;
  CountingLexer lexer;
  recognizeAll(modules, folders, lexer);
  std::cout << "googletest: " << lexer.classes << " classes, " << lexer.functions << " functions\n";
  for (const char* name : {"Test", "TestInfo", "TestSuite", "UnitTest", "TestEventListener", "TestPartResult",
                           "Environment", "AssertionResult", "Message", "ScopedTrace"})
    EXPECT_EQ(lexer.classNames.count(name), 1u) << name;
  EXPECT_GT(lexer.functions, 2000u);
}

TEST(RecognizerRealWorldTest, RecognizesASampleOfTheStandardLibraryHeaders) {
  const std::string root = "/usr/include/c++/12";
  if (!std::filesystem::is_directory(root)) GTEST_SKIP() << root << " is not installed";
  std::vector<std::string> modules;
  for (const char* name : {"vector", "string", "map", "memory", "functional", "iostream", "algorithm",
                           "unordered_map", "optional", "variant", "tuple", "chrono", "thread", "regex"})
    modules.push_back(root + "/" + name);
  const std::vector<std::string> folders = {root, "/usr/include/x86_64-linux-gnu/c++/12",
                                            "/usr/include/x86_64-linux-gnu", "/usr/include"};
  testing::ScopedRun run;
  CountingLexer lexer;
  recognizeAll(modules, folders, lexer);
  std::cout << "libstdc++ sample: " << lexer.classes << " classes, " << lexer.functions << " functions\n";
  for (const char* name : {"vector", "basic_string", "map", "unique_ptr", "shared_ptr", "function", "tuple"})
    EXPECT_EQ(lexer.classNames.count(name), 1u) << name;
}

}  // namespace
}  // namespace quillet
