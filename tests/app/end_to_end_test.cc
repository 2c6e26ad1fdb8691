// A whole run over source text written here: preprocessing, recognition, the code store, the document with
// its chapters and sort, and a small style set that walks the document through both evaluation passes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/generation_run.h"
#include "common/file_contents.h"
#include "config/configuration.h"
#include "config/layout_item.h"
#include "support/recording_output.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

LayoutItem* addItem(LayoutItem& parent, int kind, const std::string& name) {
  LayoutItem* item = parent.addChild();
  item->setKind(kind);
  item->setName(name);
  return item;
}

class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("QUILLET_STYLES", tree.root().c_str(), 1); }
  void TearDown() override { unsetenv("QUILLET_STYLES"); }

  TempTree tree;
};

TEST_F(EndToEndTest, StyleSheetWalksTheDocumentOfRealSource) {
  tree.write("src/shapes.h",
             "#ifndef SHAPES_H\n#define SHAPES_H\n"
             "#define EXPORT\n"
             "namespace geo {\n"
             "// A figure in the plane.\n"
             "class EXPORT Shape {\n"
             "public:\n"
             "  // Returns the area.\n"
             "  virtual double Area() const = 0;\n"
             "  // Moves the shape by dx and dy.\n"
             "  void MoveBy(int dx, int dy = 0);\n"
             "};\n"
             "// A circle.\n"
             "class Circle : public Shape {\n"
             "public:\n"
             "  double Area() const;\n"
             "private:\n"
             "  double radius;  // never negative\n"
             "};\n"
             "// The colours.\n"
             "enum Colour { Red = 1, Green };\n"
             "}\n"
             "#endif\n");
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
  LayoutItem* classes = addItem(root, LayoutItem::kChapter, "Classes");
  addItem(*classes, LayoutItem::kClassesByName, ".*");

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

}  // namespace
}  // namespace quillet
