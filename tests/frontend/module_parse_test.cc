#include "frontend/module_parse.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frontend/test_support.h"

namespace quillet {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// The resident memory of this process in kilobytes, or 0 where /proc is missing.
long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> value;
      return value;
    }
    status.ignore(1 << 10, '\n');
  }
  return 0;
}

// Every source file of the googletest sources, preprocessed module after module the way a generation run
// does it (one header cache for all), with the include folders a build of them would use.
TEST(ModuleParseTest, PreprocessesTheGoogletestSources) {
  const std::string root = "/usr/src/googletest";
  if (!std::filesystem::is_directory(root)) GTEST_SKIP() << root << " is not installed";
  std::vector<std::string> modules;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
    if (entry.is_regular_file() && entry.path().extension() == ".cc")
      modules.push_back(entry.path().string());
  std::sort(modules.begin(), modules.end());
  ASSERT_FALSE(modules.empty());
  const std::vector<std::string> directories = {root + "/googletest/include",
                                                root + "/googletest",
                                                root + "/googlemock/include",
                                                root + "/googlemock",
                                                "/usr/include/c++/12",
                                                "/usr/include/x86_64-linux-gnu/c++/12",
                                                "/usr/lib/gcc/x86_64-linux-gnu/12/include",
                                                "/usr/include/x86_64-linux-gnu",
                                                "/usr/include"};
  testing::ScopedRun run;
  HeaderCache cache;
  size_t files = 0;
  size_t tokens = 0;
  long before = residentKilobytes();
  for (const std::string& module : modules) {
    if (cache.contains(module)) continue;
    std::vector<HeaderRecordPtr> records =
        parseModule(module, directories, {"__GNUC__=12", "__x86_64__"}, cache, [&](Preprocessor& p) {
          while (p.nextToken().kind != T_EOF) ++tokens;
        });
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.front()->fileName, module);
    EXPECT_TRUE(records.front()->completelyRead);
    files += records.size();
    cache.add(std::move(records));
  }
  EXPECT_GT(files, modules.size());
  EXPECT_GT(tokens, 100000u);

  // Only the header records stay from module to module (a few megabytes); token streams, files and
  // expansions are let go as they are read. AddressSanitizer holds freed memory back, so it is not
  // measured there.
  long growth = residentKilobytes() - before;
  if (!kAddressSanitizer) {
    EXPECT_LT(growth, 64 * 1024) << growth << " KB";
  }
  for (const std::string& line : run.output.lines)
    EXPECT_EQ(line.find("error: Could not open"), std::string::npos);
}

}  // namespace
}  // namespace quillet
