// The compiler of the machine over real headers read in place: with the compiler's view the googletest
// classes that only its predefined macros make visible are found, the compiler's headers stay
// undocumented, and nlohmann json's namespace gets the name the compiler gives it.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/compiler_view.h"
#include "frontend/builder/code_store.h"
#include "frontend/builder/cpp_document_parse.h"
#include "frontend/preprocessor/module_parse.h"
#include "support/scoped_run.h"

namespace quillet {
namespace {

const std::string kInclude = "/usr/src/googletest/googletest/include";

// The front-end options with the view of the machine's "c++", cached in a folder of the test's own; nullopt
// when there is no such compiler.
std::optional<FrontEndOptions> systemCompilerOptions() {
  const std::string cache = ::testing::TempDir() + "quillet_cache_" + std::to_string(getpid());
  const char* before = getenv("XDG_CACHE_HOME");
  const std::string previous = before != nullptr ? before : "";
  setenv("XDG_CACHE_HOME", cache.c_str(), 1);
  std::optional<CompilerView> view = compilerView("c++", "");
  if (before != nullptr) {
    setenv("XDG_CACHE_HOME", previous.c_str(), 1);
  } else {
    unsetenv("XDG_CACHE_HOME");
  }
  std::filesystem::remove_all(cache);
  if (!view) return std::nullopt;
  FrontEndOptions options;
  options.compilerMacros = view->macros;
  options.systemIncludeDirectories = view->includeFolders;
  options.compilerFeatures =
      std::make_shared<const std::map<std::string, int64_t, std::less<>>>(view->features);
  return options;
}

// Reads `modules` with `options` into `store` as a run reads them; returns how many system headers were read
// for their macros.
size_t build(const std::vector<std::string>& modules, FrontEndOptions options, CodeStore& store) {
  options.sourceFiles =
      std::make_shared<const std::unordered_set<std::string>>(modules.begin(), modules.end());
  HeaderCache cache;
  size_t system_files = 0;
  for (const std::string& module : modules) {
    if (cache.contains(module)) continue;
    std::vector<HeaderRecordPtr> records =
        parseModule(module, options, cache, [&](Preprocessor& preprocessor) {
          CppDocumentParse builder(store, preprocessor.options());
          builder.Parse(preprocessor);
        });
    for (const HeaderRecordPtr& record : records) system_files += record->system ? 1 : 0;
    cache.add(std::move(records));
  }
  return system_files;
}

// The names of the classes of googletest's public headers read with `options`.
std::vector<std::string> googletestClasses(FrontEndOptions options, size_t& system_files) {
  std::vector<std::string> modules;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kInclude))
    if (entry.is_regular_file() && entry.path().extension() == ".h") modules.push_back(entry.path().string());
  std::sort(modules.begin(), modules.end());
  options.includeDirectories = {kInclude};
  CodeStore store;
  system_files = build(modules, options, store);
  std::vector<std::string> names;
  for (const Class& stored : store.classes()) {
    EXPECT_TRUE(stored.file.starts_with(kInclude)) << stored.name << " in " << stored.file;
    names.push_back(stored.name);
  }
  return names;
}

TEST(CompilerViewRealTest, FindsTheGoogletestClassesThatTheCompilersMacrosShow) {
  if (!std::filesystem::is_directory(kInclude)) GTEST_SKIP() << kInclude << " is not installed";
  testing::ScopedRun run;
  std::optional<FrontEndOptions> options = systemCompilerOptions();
  if (!options) GTEST_SKIP() << "no compiler c++";
  size_t system_files = 0;
  const std::vector<std::string> without = googletestClasses({}, system_files);
  run.output.lines.clear();  // without the compiler's folders the standard headers are missing
  const std::vector<std::string> with = googletestClasses(*options, system_files);
  std::cout << "googletest/include classes: " << without.size() << " without the compiler's view, "
            << with.size() << " with it (" << system_files << " system headers read for macros)\n";
  EXPECT_GT(system_files, 10u);
  for (const char* name : {"AssertionException", "DeathTest", "MutexBase", "Notification"})
    EXPECT_TRUE(std::count(with.begin(), with.end(), name)) << name;
  EXPECT_GT(with.size(), without.size());
  for (const std::string& line : run.output.lines)
    EXPECT_EQ(line.find("missing #include"), std::string::npos) << line;
}

// nlohmann json names its namespace by nested pasting with macros that expand to nothing.
TEST(CompilerViewRealTest, NamesTheNlohmannNamespaceAsTheCompilerDoes) {
  const std::string json = "/usr/include/nlohmann/json.hpp";
  if (!std::filesystem::exists(json)) GTEST_SKIP() << json << " is not installed";
  testing::ScopedRun run;
  std::optional<FrontEndOptions> options = systemCompilerOptions();
  if (!options) GTEST_SKIP() << "no compiler c++";
  CodeStore store;
  build({json}, *options, store);
  const Class* json_class = store.GetClass("basic_json");
  ASSERT_NE(json_class, nullptr);
  // The versioned namespace is inline: users write nlohmann::basic_json.
  EXPECT_EQ(json_class->nameSpace, "nlohmann");
  EXPECT_EQ(json_class->inlineNamespace, "nlohmann::json_abi_v3_11_2");
}

}  // namespace
}  // namespace quillet
