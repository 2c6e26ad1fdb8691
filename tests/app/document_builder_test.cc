#include "app/document_builder.h"

#include <gtest/gtest.h>

#include "config/configuration.h"
#include "config/layout_item.h"
#include "document/document.h"
#include "frontend/code_store.h"
#include "support/recording_output.h"

namespace quillet {
namespace {

LayoutItem* addItem(LayoutItem& parent, int kind, const std::string& name) {
  LayoutItem* item = parent.addChild();
  item->setKind(kind);
  item->setName(name);
  return item;
}

DocText headerComment(const std::string& text, const std::string& file) {
  return DocText(text, false, DocText::kParameterLevel, file);
}

// A configuration, a code store to select from and the document built from them, with the run published.
class SelectionTest : public ::testing::Test {
 protected:
  SelectionTest() {
    setCurrentConfiguration(&configuration);
    setCurrentMessageOutput(&output);
  }
  ~SelectionTest() override {
    setCurrentMessageOutput(nullptr);
    setCurrentConfiguration(nullptr);
  }

  Class& addClass(const std::string& name, const std::string& file) {
    Class made;
    made.name = name;
    made.file = file;
    return store.AddClass(std::move(made));
  }
  Function& addFunction(const std::string& name, const std::string& file) {
    Function made;
    made.name = name;
    made.file = file;
    return store.AddFunction(std::move(made));
  }
  void addEnum(const std::string& name, const std::string& file) {
    Enum made;
    made.name = name;
    made.file = file;
    store.AddEnum(std::move(made));
  }
  void build() { buildDocument(configuration, store, document, documented); }

  static std::vector<std::string> classNames(const Chapter& chapter) {
    std::vector<std::string> names;
    for (const auto& copy : chapter.classes()) names.push_back(copy->name);
    return names;
  }

  Configuration configuration;
  RecordingOutput output;
  CodeStore store;
  Document document;
  DocumentedFiles documented;
};

TEST_F(SelectionTest, ClassesEnumerationsAndFunctionsByWholeName) {
  addClass("Shape", "/src/shape.h");
  addClass("ShapeList", "/src/list.h");
  addClass("FooBar", "/src/foo.h");
  addEnum("ShapeKind", "/src/kind.h");
  addEnum("Colour", "/src/colour.h");
  addFunction("draw", "/src/draw.h");
  addFunction("drawAll", "/src/draw.h");
  addFunction("redraw", "/src/redraw.h");
  LayoutItem& root = configuration.mutableArrangement();
  LayoutItem* shapes = addItem(root, LayoutItem::kChapter, "Shapes");
  addItem(*shapes, LayoutItem::kClassesByName, "Shape.*");
  addItem(*shapes, LayoutItem::kClassesByName, "Bar");
  addItem(*shapes, LayoutItem::kFunctionsByName, "draw");
  addItem(*shapes, LayoutItem::kFunctionsByName, "paint.*");
  build();

  ASSERT_EQ(document.chapters().size(), 1u);
  const Chapter& chapter = *document.chapters()[0];
  EXPECT_EQ(classNames(chapter), (std::vector<std::string>{"Shape", "ShapeList"}));
  ASSERT_EQ(chapter.enums().size(), 1u);
  EXPECT_EQ(chapter.enums()[0]->name, "ShapeKind");
  ASSERT_EQ(chapter.functions().size(), 1u);
  EXPECT_EQ(chapter.functions()[0]->name, "draw");
  EXPECT_EQ(output.lines, (std::vector<std::string>{"error: cannot find class/struct/enum Bar",
                                                    "error: cannot find function paint.*"}));
  EXPECT_EQ(documented, (DocumentedFiles{"/src/shape.h", "/src/list.h", "/src/kind.h", "/src/draw.h"}));
  // The chapter owns copies; the store keeps its own.
  EXPECT_NE(chapter.classes()[0].get(), &store.classes()[0]);
}

TEST_F(SelectionTest, EverythingDeclaredInNamedFiles) {
  Class& widget = addClass("Widget", "c:\\src\\INC\\FOO.H");
  widget.doc = headerComment("In the header.", "c:\\src\\INC\\FOO.H");
  Function& member = widget.AddFunction(Function());
  member.name = "draw";
  member.declarationDoc = headerComment("Declared.", "c:\\src\\INC\\FOO.H");
  member.definitionDoc = headerComment("Defined.", "c:\\src\\foo.cpp");
  addClass("Other", "c:\\src\\xinc\\foo.h");
  addFunction("helper", "c:\\src\\INC\\FOO.H").declarationDoc =
      headerComment("Helps.", "c:\\src\\INC\\FOO.H");
  addEnum("Mode", "c:\\src\\INC\\FOO.H");
  addClass("Gadget", "/work/bar.h");
  store.parsedFiles = {"c:\\src\\foo.cpp", "c:\\src\\INC\\FOO.H", "c:\\src\\xinc\\foo.h", "/work/bar.h"};

  LayoutItem& root = configuration.mutableArrangement();
  LayoutItem* headers = addItem(root, LayoutItem::kChapter, "Headers");
  addItem(*headers, LayoutItem::kSymbolsByFile, "inc\\foo.h");
  LayoutItem* apart = addItem(root, LayoutItem::kChapter, "Apart");
  apart->setNoCombineHeaders(true);
  addItem(*apart, LayoutItem::kSymbolsByFile, "inc/foo.h")->setNoHeaderComments(true);
  addItem(*apart, LayoutItem::kSymbolsByFile, "work/bar.h");
  addItem(*apart, LayoutItem::kSymbolsByFile, "missing.h");
  build();

  EXPECT_EQ(output.lines, std::vector<std::string>{"warning: did not parse file missing.h"});
  ASSERT_EQ(document.chapters().size(), 2u);
  const Chapter& combined = *document.chapters()[0];
  EXPECT_EQ(classNames(combined), std::vector<std::string>{"Widget"});
  ASSERT_EQ(combined.functions().size(), 1u);
  ASSERT_EQ(combined.enums().size(), 1u);
  EXPECT_EQ(documented, (DocumentedFiles{"c:\\src\\INC\\FOO.H", "/work/bar.h"}));

  // Headers apart: one sub-chapter per file; without header comments only the definition's remains.
  const Chapter& separate = *document.chapters()[1];
  EXPECT_TRUE(separate.classes().empty());
  ASSERT_EQ(separate.chapters().size(), 2u);
  const Chapter& foo = *separate.chapters()[0];
  EXPECT_EQ(foo.name(), "foo.h");
  EXPECT_EQ(separate.chapters()[1]->name(), "bar.h");
  ASSERT_EQ(classNames(foo), std::vector<std::string>{"Widget"});
  const Class& bare = *foo.classes()[0];
  EXPECT_TRUE(bare.doc.empty());
  EXPECT_TRUE(bare.functions->front().declarationDoc.empty());
  EXPECT_FALSE(bare.functions->front().definitionDoc.empty());
  EXPECT_TRUE(foo.functions()[0]->declarationDoc.empty());
  // The stored class and the copy in the other chapter keep their comments.
  EXPECT_FALSE(store.GetClass("Widget")->functions->front().declarationDoc.empty());
  EXPECT_FALSE(combined.classes()[0]->functions->front().declarationDoc.empty());
  EXPECT_FALSE(combined.classes()[0]->doc.empty());
}

TEST(SameSourceFileTest, ComparesTrailingPathsCaseBlind) {
  EXPECT_TRUE(sameSourceFile("inc\\foo.h", "c:\\src\\INC\\FOO.H"));
  EXPECT_TRUE(sameSourceFile("c:/src/inc/foo.h", "inc\\Foo.h"));
  EXPECT_TRUE(sameSourceFile("foo.h", "foo.h"));
  EXPECT_FALSE(sameSourceFile("inc\\foo.h", "c:\\src\\xinc\\foo.h"));
  EXPECT_FALSE(sameSourceFile("foo.h", "foo.hpp"));
  EXPECT_FALSE(sameSourceFile("", "foo.h"));
}

}  // namespace
}  // namespace quillet
