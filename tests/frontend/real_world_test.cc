// The front end over real code nobody here wrote, read in place: the googletest sources and a sample of the
// C++ library headers, each file read as a module the way a run does (one header cache for all). Nothing
// may crash or hang, memory must not grow with the modules read, the well-known public classes must be
// stored with their members, and member definitions must find their declarations.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "frontend/builder/code_store.h"
#include "frontend/builder/cpp_document_parse.h"
#include "frontend/preprocessor/module_parse.h"
#include "support/scoped_run.h"

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

const std::string kGoogletest = "/usr/src/googletest";
const std::string kLibrary = "/usr/include/c++/12";
const std::vector<std::string> kDefines = {"__cplusplus=201703", "__GNUC__=12", "__x86_64__"};
// The googletest folders only: system headers stay out, which keeps the runs quick.
const std::vector<std::string> kGoogletestFolders = {
    kGoogletest + "/googletest/include", kGoogletest + "/googletest", kGoogletest + "/googlemock/include",
    kGoogletest + "/googlemock"};
const std::vector<std::string> kSystemFolders = {kLibrary, "/usr/include/x86_64-linux-gnu/c++/12",
                                                 "/usr/lib/gcc/x86_64-linux-gnu/12/include",
                                                 "/usr/include/x86_64-linux-gnu", "/usr/include"};

// The resident memory of this process in kilobytes, or 0 where /proc is missing.
long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  long value = 0;
  while (status >> key) {
    if (key == "VmRSS:") return status >> value ? value : 0;
    status.ignore(1 << 10, '\n');
  }
  return 0;
}

// The googletest files with one of `extensions`, in a stable order.
std::vector<std::string> googletestFiles(std::initializer_list<const char*> extensions) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kGoogletest))
    if (entry.is_regular_file() && std::count(extensions.begin(), extensions.end(), entry.path().extension()))
      files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

// Reads `modules` the way a run does: each module no earlier one read is handed to `read`, and its
// headers are replayed by later modules. Returns the names of the files read, module after module.
std::vector<std::string> readAll(const std::vector<std::string>& modules,
                                 const std::vector<std::string>& folders, const ModuleReader& read) {
  HeaderCache cache;
  FrontEndOptions options;
  options.includeDirectories = folders;
  options.defines = kDefines;
  std::vector<std::string> files;
  for (const std::string& module : modules) {
    if (cache.contains(module)) continue;
    std::vector<HeaderRecordPtr> records = parseModule(module, options, cache, read);
    EXPECT_TRUE(!records.empty() && records.front()->fileName == module && records.front()->completelyRead)
        << module;
    for (const HeaderRecordPtr& record : records) files.push_back(record->fileName);
    cache.add(std::move(records));
  }
  return files;
}

// Builds one code store from `modules` and completes it with the assigned comments.
void build(const std::vector<std::string>& modules, const std::vector<std::string>& folders,
           CodeStore& store) {
  store.parsedFiles = readAll(modules, folders, [&](Preprocessor& preprocessor) {
    CppDocumentParse builder(store);
    builder.Parse(preprocessor);
  });
  store.ApplyAssignedComments();
}

bool hasClass(const CodeStore& store, const std::string& name, const std::string& nameSpace) {
  return std::any_of(store.classes().begin(), store.classes().end(), [&](const Class& stored) {
    return stored.name == name && stored.nameSpace.starts_with(nameSpace);
  });
}

TEST(RealWorldTest, PreprocessesTheGoogletestSourcesWithTheSystemHeaders) {
  if (!std::filesystem::is_directory(kGoogletest)) GTEST_SKIP() << kGoogletest << " is not installed";
  const std::vector<std::string> modules = googletestFiles({".cc"});
  ASSERT_FALSE(modules.empty());
  std::vector<std::string> folders = kGoogletestFolders;
  folders.insert(folders.end(), kSystemFolders.begin(), kSystemFolders.end());
  testing::ScopedRun run;
  size_t tokens = 0;
  const long before = residentKilobytes();
  const std::vector<std::string> files = readAll(modules, folders, [&](Preprocessor& p) {
    while (p.nextToken().kind != T_EOF) ++tokens;
  });
  EXPECT_GT(files.size(), modules.size());
  EXPECT_GT(tokens, 100000u);
  // Only the header records stay from module to module (a few megabytes); token streams, files and
  // expansions are let go as they are read. AddressSanitizer holds freed memory back, so it is not
  // measured there.
  const long growth = residentKilobytes() - before;
  EXPECT_TRUE(kAddressSanitizer || growth < 64 * 1024) << growth << " KB";
  for (const std::string& line : run.output.lines)
    EXPECT_EQ(line.find("error: Could not open"), std::string::npos);
}

TEST(RealWorldTest, BuildsTheGoogletestSources) {
  if (!std::filesystem::is_directory(kGoogletest)) GTEST_SKIP() << kGoogletest << " is not installed";
  const std::vector<std::string> modules = googletestFiles({".cc", ".h"});
  testing::ScopedRun run;
  CodeStore store;
  build(modules, kGoogletestFolders, store);
  size_t members = 0;
  for (const Class& stored : store.classes()) members += stored.functions->size();
  // The system headers are left out on purpose; what else went wrong is shown.
  for (const std::string& line : run.output.lines)
    if (line.find("missing #include") == std::string::npos) std::cout << line << "\n";
  std::cout << "googletest store: " << modules.size() << " modules, " << store.parsedFiles.size()
            << " files read, " << store.classes().size() << " classes (" << members << " member functions), "
            << store.functions().size() << " free functions, " << run.output.lines.size() << " messages\n";

  // The tests declare look-alikes in other namespaces; the library's own must be among them.
  for (const char* name : {"Test", "TestInfo", "TestSuite", "UnitTest", "TestEventListener", "TestPartResult",
                           "Environment", "AssertionResult", "Message", "ScopedTrace"})
    EXPECT_TRUE(hasClass(store, name, "testing")) << name;
  // UnitTest::Run is declared in gtest.h and defined in gtest.cc: the definition's body is counted on
  // the declaration.
  const Class* unitTest = store.GetClass("UnitTest");
  auto run_function = std::find_if(unitTest->functions->begin(), unitTest->functions->end(),
                                   [](const Function& f) { return f.name == "Run"; });
  ASSERT_NE(run_function, unitTest->functions->end());
  EXPECT_GT(run_function->size, 0);
  EXPECT_GT(store.GetClass("TestPartResult")->enums.size(), 0u);
  // The matcher for strings is a specialization of its own; its constructors, defined in gtest-matchers.cc,
  // find it.
  const Class* strings = store.GetClass("Matcher<const std::string&>");
  ASSERT_NE(strings, nullptr);
  EXPECT_GE(std::count_if(strings->functions->begin(), strings->functions->end(),
                          [](const Function& f) { return f.name == "Matcher" && f.size > 0; }),
            2);
  for (const std::string& line : run.output.lines)
    EXPECT_EQ(line.find("function not in class"), std::string::npos);
  EXPECT_GT(members, 1000u);
  // The TEST(...) macros of the test sources expand to test classes and their TestBody members.
  EXPECT_GT(store.functions().size(), 500u);
  EXPECT_TRUE(std::any_of(store.classes().begin(), store.classes().end(),
                          [](const Class& stored) { return stored.name.ends_with("_Test"); }));
}

TEST(RealWorldTest, FormatterSpecializationsOfFmtAreClasses) {
  const std::string fmt = "/usr/include/fmt";
  if (!std::filesystem::is_directory(fmt)) GTEST_SKIP() << fmt << " is not installed";
  std::vector<std::string> modules;
  for (const auto& entry : std::filesystem::directory_iterator(fmt)) modules.push_back(entry.path().string());
  std::sort(modules.begin(), modules.end());
  testing::ScopedRun run;
  CodeStore store;
  build(modules, {"/usr/include"}, store);
  std::vector<std::string> formatters;
  for (const Class& stored : store.classes())
    if (stored.name.starts_with("formatter<")) formatters.push_back(stored.name);
  for (const char* name : {"formatter<bytes>", "formatter<std::tm, Char>", "formatter<Char[N], Char>",
                           "formatter<std::chrono::duration<Rep, Period>, Char>::spec_handler",
                           "formatter<join_view<It, Sentinel, Char>, Char>", "formatter<detail::bigint>"})
    EXPECT_NE(std::find(formatters.begin(), formatters.end(), name), formatters.end()) << name;
  EXPECT_GE(formatters.size(), 25u);
  for (const std::string& line : run.output.lines)
    EXPECT_EQ(line.find("function not in class"), std::string::npos);
}

TEST(RealWorldTest, BuildsASampleOfTheStandardLibraryHeaders) {
  if (!std::filesystem::is_directory(kLibrary)) GTEST_SKIP() << kLibrary << " is not installed";
  std::vector<std::string> modules;
  for (const char* name : {"vector", "string", "map", "memory", "functional", "iostream", "algorithm",
                           "unordered_map", "optional", "variant", "tuple", "chrono", "thread", "regex"})
    modules.push_back(kLibrary + "/" + name);
  testing::ScopedRun run;
  CodeStore store;
  build(modules, kSystemFolders, store);
  std::cout << "libstdc++ sample: " << store.classes().size() << " classes, " << store.functions().size()
            << " free functions\n";
  // std::function is defined only as a partial specialization, which is a class of its own.
  for (const char* name :
       {"vector", "basic_string", "map", "unique_ptr", "shared_ptr", "function<_Res(_ArgTypes...)>", "tuple"})
    EXPECT_TRUE(hasClass(store, name, "std")) << name;
}

}  // namespace
}  // namespace quillet
