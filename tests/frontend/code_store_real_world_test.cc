// The code model builder over real code nobody here wrote, read in place: every file of the googletest
// sources parsed into one code store the way a run does. Nothing may crash or hang, the well-known public
// classes must be stored with their members, and member definitions must find their declarations.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "frontend/code_store.h"
#include "frontend/cpp_document_parse.h"
#include "frontend/header_cache.h"
#include "frontend/preprocessor.h"
#include "frontend/test_support.h"

namespace quillet {
namespace {

TEST(CodeStoreRealWorldTest, BuildsTheGoogletestSources) {
  const std::string root = "/usr/src/googletest";
  if (!std::filesystem::is_directory(root)) GTEST_SKIP() << root << " is not installed";
  std::vector<std::string> modules;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::filesystem::path& path = entry.path();
    if (entry.is_regular_file() && (path.extension() == ".cc" || path.extension() == ".h"))
      modules.push_back(path.string());
  }
  std::sort(modules.begin(), modules.end());
  const std::vector<std::string> folders = {root + "/googletest/include", root + "/googletest",
                                            root + "/googlemock/include", root + "/googlemock"};

  testing::ScopedRun run;
  CodeStore store;
  HeaderCache cache;
  const auto start = std::chrono::steady_clock::now();
  for (const std::string& module : modules) {
    if (cache.contains(module)) continue;
    Preprocessor preprocessor(module, folders, {"__cplusplus=201703", "__GNUC__=12", "__x86_64__"}, cache);
    CppDocumentParse builder(store);
    builder.Parse(preprocessor);
    std::vector<HeaderRecordPtr> records = preprocessor.takeModuleRecords();
    for (const HeaderRecordPtr& record : records) store.parsedFiles.push_back(record->fileName);
    cache.add(std::move(records));
  }
  store.ApplyAssignedComments();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  size_t members = 0;
  for (const Class& stored : store.classes()) members += stored.functions->size();
  // The system headers are left out on purpose; what else went wrong is shown.
  for (const std::string& line : run.output.lines)
    if (line.find("missing #include") == std::string::npos) std::cout << line << "\n";
  std::cout << "googletest store: " << modules.size() << " modules, " << store.parsedFiles.size()
            << " files read, " << store.classes().size() << " classes (" << members << " member functions), "
            << store.functions().size() << " free functions, " << store.enums().size() << " enumerations, "
            << store.typedefs().size() << " typedefs, " << run.output.lines.size() << " messages, " << seconds
            << " s\n";

  for (const char* name : {"Test", "TestInfo", "TestSuite", "UnitTest", "TestEventListener", "TestPartResult",
                           "Environment", "AssertionResult", "Message", "ScopedTrace"}) {
    // The tests declare look-alikes in other namespaces; the library's own must be among them.
    const bool found = std::any_of(store.classes().begin(), store.classes().end(), [&](const Class& stored) {
      return stored.name == name && stored.nameSpace == "testing";
    });
    EXPECT_TRUE(found) << name;
  }
  // UnitTest::Run is declared in gtest.h and defined in gtest.cc: the definition's body is counted on
  // the declaration.
  const Class* unitTest = store.GetClass("UnitTest");
  auto run_function = std::find_if(unitTest->functions->begin(), unitTest->functions->end(),
                                   [](const Function& f) { return f.name == "Run"; });
  ASSERT_NE(run_function, unitTest->functions->end());
  EXPECT_GT(run_function->size, 0);
  EXPECT_GT(store.GetClass("TestPartResult")->enums.size(), 0u);
  EXPECT_GT(members, 1000u);
}

}  // namespace
}  // namespace quillet
