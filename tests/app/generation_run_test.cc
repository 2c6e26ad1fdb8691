#include "app/generation_run.h"

#include <gtest/gtest.h>

#include "app/source_list.h"
#include "common/file_contents.h"
#include "config/configuration.h"
#include "config/layout_item.h"
#include "support/fake_compiler.h"
#include "support/memory_tree.h"
#include "support/recording_output.h"

namespace quillet {
namespace {

// A tree in memory that also holds the style folders: the whole run reads and writes it without touching
// the disk.
class GenerationRunTest : public ::testing::Test {
 protected:
  void SetUp() override { tree.files.setEnvironment("QUILLET_STYLES", tree.root()); }

  MemoryTree tree;
};

TEST_F(GenerationRunTest, ConfigurationChecksStopTheRunBeforeAnyWork) {
  Configuration empty;
  empty.mutableSourceEntries().push_back({"/nonexistent/*.cpp", false});
  RecordingOutput first;
  runGeneration(empty, first);
  EXPECT_EQ(first.lines, std::vector<std::string>{"error: At least one arrange entry is needed in every "
                                                  "configuration.  No documentation can be generated."});

  Configuration no_output = empty;
  LayoutItem* intro = no_output.mutableArrangement().addChild();
  intro->setKind(LayoutItem::kText);
  intro->setText("Hello");
  RecordingOutput second;
  runGeneration(no_output, second);
  EXPECT_EQ(second.lines, std::vector<std::string>{"error: At least one output file name from the style tab "
                                                   "is needed in every configuration.  No documentation can "
                                                   "be generated."});
  EXPECT_EQ(currentConfiguration(), nullptr);
  EXPECT_EQ(currentMessageOutput(), nullptr);
}

TEST_F(GenerationRunTest, SourceListReportsMissingEntriesAsTypedAndKeepsTheOthers) {
  tree.write("src/a.cpp", "int a;\n");
  tree.write("src/b.h", "int b;\n");
  tree.write("lib/deep/c.cpp", "int c;\n");
  Configuration configuration;
  configuration.mutableSourceEntries().push_back({tree.root() + "src/*.cpp", false});
  configuration.mutableSourceEntries().push_back({tree.root() + "missing/*.cpp", false});
  configuration.mutableSourceEntries().push_back({tree.root() + "lib/*.cpp", true});
  RecordingOutput output;
  setCurrentMessageOutput(&output);
  const SourceList sources = buildSourceList(configuration);
  setCurrentMessageOutput(nullptr);

  EXPECT_EQ(output.lines,
            std::vector<std::string>{"error: cannot find file " + tree.root() + "missing/*.cpp"});
  EXPECT_EQ(sources.modules,
            (std::vector<std::string>{tree.root() + "src/a.cpp", tree.root() + "lib/deep/c.cpp"}));
  EXPECT_EQ(sources.folders, (std::vector<std::string>{tree.root() + "src/", tree.root() + "lib/deep/"}));
}

// A whole run over source text written here: preprocessing, recognition, the code store, the document with
// its chapters and sort, and a small style set that walks the document through both evaluation passes.
TEST_F(GenerationRunTest, StyleSheetWalksTheDocumentOfRealSource) {
  tree.write("src/shapes.h",
             "#ifndef SHAPES_H\n#define SHAPES_H\n#define EXPORT\nnamespace geo {\n"
             "// A figure in the plane.\nclass EXPORT Shape {\npublic:\n"
             "  // Returns the area.\n  virtual double Area() const = 0;\n"
             "  // Moves the shape by dx and dy.\n  void MoveBy(int dx, int dy = 0);\n};\n"
             "// A circle.\nclass Circle : public Shape {\npublic:\n  double Area() const;\n"
             "private:\n  double radius;  // never negative\n};\n"
             "// The colours.\nenum Colour { Red = 1, Green };\n}\n#endif\n");
  tree.write("src/shapes.cpp",
             "#include \"shapes.h\"\n"
             "namespace geo {\n"
             "double Circle::Area() const { if (radius > 0) return 3.14 * radius * radius; return 0; }\n"
             "}\n");
  tree.write("HTML/Standard Style/main.html",
             "<title>document_name_</title>\n"
             "$$(for_each (global_class_list) start C)"
             "[anchor_ class_type_ name_ in namespace_: text_summary_\n"
             "$$(for_each (function_list) start F)  - name_ [size_/mccabe_]\n$$(next F)]\n"
             "$$(next C)"
             "$$(for_each (global_enum_list) start E)anchor_ enum name_ at link_to_\n$$(next E)"
             "$$(if (global_class_list.size GT 1))two classes");
  Configuration configuration;
  configuration.setHtmlOutputFile(tree.root() + "out/index.html");
  configuration.mutableSourceEntries().push_back({tree.root() + "src/*.cpp", false});
  LayoutItem& root = configuration.mutableArrangement();
  root.setName("Geometry");
  LayoutItem* classes = root.addChild();
  classes->setName("Classes");
  classes->addChild()->setKind(LayoutItem::kClassesByName);
  classes->child(0)->setName(".*");

  RecordingOutput output;
  runGeneration(configuration, output);
  for (const std::string& line : output.lines) ADD_FAILURE() << line;

  std::string page;
  ASSERT_TRUE(readFileContents(tree.root() + "out/index.html", page));
  EXPECT_NE(page.find("<title>Geometry</title>"), std::string::npos) << page;
  EXPECT_NE(page.find("class Circle in geo: A circle."), std::string::npos) << page;
  EXPECT_NE(page.find("class Shape in geo: A figure in the plane."), std::string::npos) << page;
  // The definition's body was counted into the declaration: three statements (the if and both returns), one
  // decision plus one.
  EXPECT_NE(page.find("  - Area [3/2]"), std::string::npos) << page;
  EXPECT_NE(page.find("  - MoveBy [0/0]"), std::string::npos) << page;
  EXPECT_NE(page.find("enum Colour at index.html#"), std::string::npos) << page;
  EXPECT_NE(page.find("two classes"), std::string::npos) << page;
  // Circle sorts before Shape.
  EXPECT_LT(page.find("class Circle"), page.find("class Shape"));
}

// With a compiler named, the sources are read with its predefined macros and include folders; its headers
// give macros but are not documented. A compiler that is missing is reported and the run goes on without it.
TEST_F(GenerationRunTest, ReadsTheSourcesAsTheNamedCompilerDoes) {
  tree.write("src/a.h",
             "#include <sys.h>\n#ifdef __linux__\nclass OnLinux {};\n#endif\nclass FROM_SYSTEM {};\n");
  tree.write("system/sys.h", "#define FROM_SYSTEM Renamed\nclass SystemClass {};\n");
  tree.write("HTML/Standard Style/main.html", "$$(for_each (global_class_list) start C)[name_]$$(next C)");
  tree.files.addFile("/usr/bin/c++", "compiler");
  tree.files.setEnvironment("PATH", "/usr/bin");
  tree.files.setEnvironment("XDG_CACHE_HOME", "/cache");
  FakeCompiler compiler;
  compiler.macros = "#define __linux__ 1\n";
  compiler.folders = {tree.root() + "system"};
  Configuration configuration;
  configuration.setHtmlOutputFile(tree.root() + "out/index.html");
  configuration.mutableSourceEntries().push_back({tree.root() + "src/*.h", false});
  LayoutItem* classes = configuration.mutableArrangement().addChild();
  classes->addChild()->setKind(LayoutItem::kClassesByName);
  classes->child(0)->setName(".*");
  auto page_of = [&](const std::string& named_compiler, RecordingOutput& output) {
    configuration.setCompiler(named_compiler);
    runGeneration(configuration, output);
    std::string page;
    readFileContents(tree.root() + "out/index.html", page);
    return page;
  };
  RecordingOutput with;
  EXPECT_EQ(page_of("c++", with), "[OnLinux][Renamed]");
  EXPECT_TRUE(with.lines.empty());
  RecordingOutput without;
  EXPECT_EQ(page_of("", without), "[FROM_SYSTEM]");
  RecordingOutput missing;
  EXPECT_EQ(page_of("no-such-compiler", missing), "[FROM_SYSTEM]");
  ASSERT_FALSE(missing.lines.empty());
  EXPECT_EQ(
      missing.lines[0],
      "warning: the compiler no-such-compiler was not found. The sources are read without its predefined "
      "macros and include folders.");
}

}  // namespace
}  // namespace quillet
