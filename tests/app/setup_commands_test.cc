// quillet init and quillet convert, each followed by a batch run over what they wrote: a plain source
// folder, a CMake project through its compilation database, and a Doxygen configuration.
#include "app/setup_commands.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/batch_options.h"
#include "app/batch_run.h"
#include "common/file_contents.h"
#include "config/configuration.h"
#include "config/configuration_io.h"
#include "styles/output_checks.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

// Makes `folder` the current folder for the object's life.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~InFolder() { std::filesystem::current_path(old_); }

 private:
  std::filesystem::path old_;
};

int init(std::vector<std::string> arguments, std::string& out) {
  std::ostringstream text;
  const int status = runInit(arguments, text);
  out = text.str();
  return status;
}

// `quillet -C` in the current folder; the output, which must report no error.
std::string generate(int* status) {
  const char* argv[] = {"quillet", "-C"};
  BatchOptions options;
  const bool parsed = options.parse(2, argv);
  std::ostringstream out;
  *status = runBatch(options, parsed, out);
  return out.str();
}

void expectBrowsableDocs(const std::string& folder) {
  ASSERT_TRUE(std::filesystem::exists(folder + "/index.html"));
  const std::vector<std::string> pages = htmlFilesIn(folder);
  EXPECT_GT(pages.size(), 2u);
  EXPECT_EQ(brokenLinks(pages), std::vector<std::string>());
}

Configuration loaded(const std::string& path) {
  Configuration configuration;
  const ConfigurationLoad load = loadConfigurationFile(path, configuration);
  EXPECT_TRUE(load.ok) << load.message;
  EXPECT_TRUE(load.warnings.empty());
  return configuration;
}

TEST(InitTest, ASourceFolderGetsChaptersPerNamespaceOrFolderAndDocuments) {
  TempTree tree;
  tree.write("include/geo/point.h",
             "/// A point.\nnamespace geo {\nclass Point {\n public:\n  int x;\n};\n}\n");
  tree.write("src/point.cpp", "#include \"geo/point.h\"\nnamespace geo { int origin() { return 0; } }\n");
  tree.write("tools/cli.h", "/// Runs the tool.\nint run(int argc);\n");
  tree.write("build/CMakeCache.txt", "");
  tree.write("build/stale.h", "class Stale {};\n");
  InFolder here(tree.root());
  std::string out;
  ASSERT_EQ(init({}, out), kBatchRanGeneration) << out;
  for (const char* expected : {"Wrote ", "1 sources and 2 headers in 3 folders", "include folders: include",
                               "chapters: namespace geo, tools", "Next: quillet -C"})
    EXPECT_NE(out.find(expected), std::string::npos) << expected << "\n" << out;
  const Configuration configuration = loaded("quillet.toml");
  EXPECT_EQ(configuration.includePath(), "include");
  EXPECT_EQ(configuration.htmlOutputFile(), "docs/index.html");
  EXPECT_TRUE(configuration.commentMarkdown());
  EXPECT_TRUE(configuration.htmlSourcePages());
  ASSERT_EQ(configuration.arrangement().childCount(), 2u);
  EXPECT_EQ(configuration.arrangement().child(0)->child(0)->name(), "include/geo/point.h");

  // A second init leaves the file alone unless forced.
  EXPECT_EQ(init({"."}, out), kBatchConfigurationFailed);
  EXPECT_NE(out.find("exists already; --force overwrites it"), std::string::npos);
  EXPECT_EQ(init({".", "--force"}, out), kBatchRanGeneration);

  int status = -1;
  out = generate(&status);
  EXPECT_EQ(status, kBatchRanGeneration);
  EXPECT_NE(out.find("; 0 warnings, 0 errors; "), std::string::npos) << out;
  expectBrowsableDocs(tree.path("docs"));
  EXPECT_NE(fileText(tree.path("docs/index.html")).find("Point"), std::string::npos);

  TempTree empty;
  EXPECT_EQ(init({empty.root()}, out), kBatchConfigurationFailed);
  EXPECT_NE(out.find("found no C or C++ sources or headers"), std::string::npos) << out;
}

// A real CMake project, configured with its compilation database, documented through it.
TEST(InitTest, ACMakeProjectThroughItsCompilationDatabase) {
  TempTree tree;
  tree.write("CMakeLists.txt",
             "cmake_minimum_required(VERSION 3.16)\nproject(shapes CXX)\nset(CMAKE_CXX_STANDARD 17)\n"
             "add_library(shapes src/circle.cpp src/square.cpp)\n"
             "target_include_directories(shapes PUBLIC include PRIVATE \"${CMAKE_SOURCE_DIR}/third_party\")\n"
             "target_compile_definitions(shapes PRIVATE \"SHAPES_NAME=\\\"shapes lib\\\"\" SHAPES_FAST)\n");
  tree.write("include/shapes/shape.h",
             "#pragma once\n/// Something with an area.\nclass Shape {\n public:\n  virtual double area() "
             "const = 0;\n};\n");
  tree.write(
      "include/shapes/circle.h",
      "#pragma once\n#include \"shapes/shape.h\"\n#include \"vendor.h\"\n/// A circle.\n"
      "class Circle : public Shape {\n public:\n  double area() const override;\n  double r = 1;\n};\n");
  tree.write("third_party/vendor.h", "class Vendor {};\n");
  tree.write("src/circle.cpp",
             "#include <shapes/circle.h>\ndouble Circle::area() const { return 3.14 * r * r; }\n");
  tree.write("src/square.cpp",
             "#include \"shapes/shape.h\"\n/// A square.\nclass Square : public Shape {\n"
             " public:\n  double area() const override { return 1; }\n};\n");
  tree.write("src/unbuilt.cpp", "class Unbuilt {};\n");
  const std::string configure = "cmake -S " + tree.root() + " -B " + tree.path("build") +
                                " -DCMAKE_EXPORT_COMPILE_COMMANDS=ON > " + tree.path("cmake.log") + " 2>&1";
  ASSERT_EQ(std::system(configure.c_str()), 0) << fileText(tree.path("cmake.log"));

  InFolder here(tree.root());
  std::string out;
  ASSERT_EQ(init({"--compile-commands", "build/compile_commands.json"}, out), kBatchRanGeneration) << out;
  EXPECT_NE(out.find("2 sources and 2 headers in 2 folders"), std::string::npos) << out;
  const Configuration configuration = loaded("quillet.toml");
  std::vector<std::string> sources;
  for (const SourceEntry& entry : configuration.sourceEntries()) sources.push_back(entry.path);
  EXPECT_EQ(sources, (std::vector<std::string>{"src/circle.cpp", "src/square.cpp"}));
  EXPECT_EQ(configuration.includePath(), "include;third_party");
  EXPECT_NE(configuration.defines().find("SHAPES_NAME=\"shapes lib\""), std::string::npos);
  EXPECT_NE(configuration.defines().find("SHAPES_FAST"), std::string::npos);
  EXPECT_NE(configuration.extensionSetting("language_standard").value_or("").find("++17"), std::string::npos);
  EXPECT_NE(configuration.extensionSetting("compiler").value_or(""), "");

  int status = -1;
  out = generate(&status);
  EXPECT_EQ(status, kBatchRanGeneration);
  EXPECT_NE(out.find("; 0 warnings, 0 errors; "), std::string::npos) << out;
  expectBrowsableDocs(tree.path("docs"));
  const std::string site = fileText(tree.path("docs/index.html"));
  EXPECT_NE(site.find("Circle"), std::string::npos);
  EXPECT_EQ(site.find("Vendor"), std::string::npos);

  // -prj takes the same database into a configuration of its own.
  const char* argv[] = {"quillet", "-C", "-prj", "build/compile_commands.json", "-o", "prj", "-nortf"};
  BatchOptions options;
  const bool parsed = options.parse(7, argv);
  std::ostringstream prj_out;
  EXPECT_EQ(runBatch(options, parsed, prj_out), kBatchRanGeneration) << prj_out.str();
  const std::vector<std::string> pages = htmlFilesIn(tree.path("prj"));
  EXPECT_GT(pages.size(), 2u);
  EXPECT_EQ(brokenLinks(pages), std::vector<std::string>());
  EXPECT_NE(prj_out.str().find("; 0 warnings, 0 errors; "), std::string::npos) << prj_out.str();
}

TEST(InitTest, FromADoxyfile) {
  TempTree tree;
  tree.write("lib/geo.h", "/// A point.\nclass Point {\n public:\n  int x;\n};\n");
  tree.write("Doxyfile",
             "PROJECT_NAME = Geo\nPROJECT_BRIEF = \"Points and more\"\nINPUT = lib\n"
             "OUTPUT_DIRECTORY = api\nQUIET = YES\nMARKDOWN_SUPPORT = NO\n");
  InFolder here(tree.root());
  std::string out;
  ASSERT_EQ(init({"--from-doxyfile", "Doxyfile"}, out), kBatchRanGeneration) << out;
  EXPECT_NE(out.find("Not carried over from the Doxyfile: QUIET ("), std::string::npos) << out;
  const Configuration configuration = loaded("quillet.toml");
  EXPECT_EQ(configuration.documentName(), "Geo");
  EXPECT_EQ(configuration.htmlOutputFile(), "api/html/index.html");
  EXPECT_FALSE(configuration.commentMarkdown());
  EXPECT_EQ(configuration.arrangement().child(0)->text(), "Points and more");
  int status = -1;
  out = generate(&status);
  EXPECT_NE(out.find("; 0 warnings, 0 errors; "), std::string::npos) << out;
  expectBrowsableDocs(tree.path("api/html"));

  tree.write("Doxyfile", "INPUT = \"lib\n");
  EXPECT_EQ(init({"--force", "--from-doxyfile", "Doxyfile"}, out), kBatchConfigurationFailed);
  EXPECT_NE(out.find("Doxyfile:1: a quote is left open"), std::string::npos) << out;
}

TEST(ConvertTest, BothWaysAndRefusals) {
  TempTree tree;
  std::ostringstream out;
  EXPECT_EQ(runConvert({"examples/example.qlc", tree.path("x.toml")}, out), kBatchRanGeneration);
  EXPECT_EQ(runConvert({tree.path("x.toml"), tree.path("x.qlc")}, out), kBatchRanGeneration);
  EXPECT_EQ(fileText(tree.path("x.qlc")), fileText("examples/example.qlc"));
  EXPECT_EQ(runConvert({tree.path("missing.toml"), tree.path("y.qlc")}, out), kBatchConfigurationFailed);
  EXPECT_FALSE(std::filesystem::exists(tree.path("y.qlc")));
  EXPECT_EQ(runConvert({"only-one"}, out), kBatchUsageShown);
}

}  // namespace
}  // namespace quillet
