#include "app/document_builder.h"

#include <gtest/gtest.h>

#include "config/configuration.h"
#include "config/layout_item.h"
#include "document/document.h"
#include "frontend/builder/code_store.h"
#include "support/recording_output.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

// Adds an item of `kind` called `name` below `parent`.
LayoutItem* addItem(LayoutItem& parent, int kind, const std::string& name, const std::string& text = "") {
  LayoutItem* item = parent.addChild();
  item->setKind(kind);
  item->setName(name);
  item->setText(text);
  return item;
}

DocText headerComment(const std::string& text, const std::string& file) {
  return DocText(text, false, DocText::kParameterLevel, file);
}

// A configuration, a code store to select from and the document built from them, with the run published.
class DocumentBuilderTest : public ::testing::Test {
 protected:
  DocumentBuilderTest() {
    setCurrentConfiguration(&configuration);
    setCurrentMessageOutput(&output);
  }
  ~DocumentBuilderTest() override {
    setCurrentMessageOutput(nullptr);
    setCurrentConfiguration(nullptr);
  }

  template <typename Model>
  static Model named(const std::string& name, const std::string& file) {
    Model made;
    made.name = name;
    made.file = file;
    return made;
  }
  Class& addClass(const std::string& name, const std::string& file) {
    return store.AddClass(named<Class>(name, file));
  }
  Function& addFunction(const std::string& name, const std::string& file) {
    return store.AddFunction(named<Function>(name, file));
  }
  void addEnum(const std::string& name, const std::string& file) { store.AddEnum(named<Enum>(name, file)); }
  void build() { buildDocument(configuration, store, document, documented); }

  // The names of the copies in one of a chapter's lists.
  template <typename List>
  static std::vector<std::string> names(const List& list) {
    std::vector<std::string> result;
    for (const auto& copy : list) result.push_back(copy->name);
    return result;
  }

  Configuration configuration;
  RecordingOutput output;
  CodeStore store;
  Document document;
  DocumentedFiles documented;
};

TEST_F(DocumentBuilderTest, ClassesEnumerationsAndFunctionsByWholeName) {
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
  EXPECT_EQ(names(chapter.classes()), (std::vector<std::string>{"Shape", "ShapeList"}));
  EXPECT_EQ(names(chapter.enums()), std::vector<std::string>{"ShapeKind"});
  EXPECT_EQ(names(chapter.functions()), std::vector<std::string>{"draw"});
  EXPECT_EQ(output.lines, (std::vector<std::string>{"error: cannot find class/struct/enum Bar",
                                                    "error: cannot find function paint.*"}));
  EXPECT_EQ(documented, (DocumentedFiles{"/src/shape.h", "/src/list.h", "/src/kind.h", "/src/draw.h"}));
  // The chapter owns copies; the store keeps its own.
  EXPECT_NE(chapter.classes().at(0).get(), &store.classes()[0]);
}

TEST_F(DocumentBuilderTest, EverythingDeclaredInNamedFiles) {
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
  EXPECT_EQ(names(combined.classes()), std::vector<std::string>{"Widget"});
  EXPECT_EQ(names(combined.functions()), std::vector<std::string>{"helper"});
  EXPECT_EQ(names(combined.enums()), std::vector<std::string>{"Mode"});
  EXPECT_EQ(documented, (DocumentedFiles{"c:\\src\\INC\\FOO.H", "/work/bar.h"}));

  // Headers apart: one sub-chapter per file; without header comments only the definition's remains.
  const Chapter& separate = *document.chapters()[1];
  EXPECT_TRUE(separate.classes().empty());
  ASSERT_EQ(separate.chapters().size(), 2u);
  const Chapter& foo = *separate.chapters()[0];
  EXPECT_EQ(foo.name(), "foo.h");
  EXPECT_EQ(separate.chapters()[1]->name(), "bar.h");
  ASSERT_EQ(names(foo.classes()), std::vector<std::string>{"Widget"});
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

TEST_F(DocumentBuilderTest, ChaptersFollowTheArrangementPath) {
  LayoutItem& root = configuration.mutableArrangement();
  root.setName("Manual");
  addItem(root, LayoutItem::kText, "Top", "directly under the root");
  LayoutItem* guide = addItem(root, LayoutItem::kChapter, "Guide");
  addItem(*addItem(*guide, LayoutItem::kChapter, "Inner"), LayoutItem::kText, "Deep", "two levels down");
  addItem(root, LayoutItem::kChapter, "Empty");
  LayoutItem* again = addItem(root, LayoutItem::kChapter, "Guide");
  addItem(*again, LayoutItem::kText, "Second", "shares the first Guide chapter");

  build();
  EXPECT_EQ(document.name(), "Manual");
  ASSERT_EQ(document.externalDocuments().size(), 1u);
  EXPECT_EQ(document.externalDocuments()[0].title(), "Top");
  ASSERT_EQ(document.chapters().size(), 1u);  // "Empty" has no content, the two "Guide" items share one
  const Chapter& guide_chapter = *document.chapters()[0];
  EXPECT_EQ(guide_chapter.name(), "Guide");
  ASSERT_EQ(guide_chapter.externalDocuments().size(), 1u);
  EXPECT_EQ(guide_chapter.externalDocuments()[0].title(), "Second");
  ASSERT_EQ(guide_chapter.chapters().size(), 1u);
  EXPECT_EQ(guide_chapter.chapters()[0]->name(), "Inner");
  // An embedded text is processed as a comment: reflowed, capitalized and punctuated.
  const DocText& embedded = guide_chapter.chapters()[0]->externalDocuments()[0].text();
  ASSERT_EQ(embedded.paragraphs().size(), 1u);
  EXPECT_EQ(embedded.paragraphs()[0], (DocParagraph{"Two levels down.", DocParagraph::kFlowing}));
}

TEST_F(DocumentBuilderTest, DocumentsAreLinkedInsertedOrRefused) {
  TempTree tree;
  const std::string text_file = tree.write("notes.txt", "Plain text\nwith two lines\n");
  const std::string form_feed = tree.write("paged.txt", "abc\fdef ghi jkl\n");
  const std::string utf8 = tree.write("utf8.txt", "\xc3\xa9t\xc3\xa9 caf\xc3\xa9\n");
  const std::string prose = tree.write("prose.txt", "one line of prose\n");
  LayoutItem* docs = addItem(configuration.mutableArrangement(), LayoutItem::kChapter, "Docs");
  addItem(*docs, LayoutItem::kInsertDocument, text_file, "Notes");
  addItem(*docs, LayoutItem::kInsertDocument, form_feed, "Paged");
  addItem(*docs, LayoutItem::kInsertDocument, utf8, "Accents");
  addItem(*docs, LayoutItem::kInsertDocument, prose, "Prose");
  addItem(*docs, LayoutItem::kInsertDocument, prose, "Kept")->setPreserveFormatting(true);
  addItem(*docs, LayoutItem::kLinkDocument, text_file, "Linked notes");
  addItem(*docs, LayoutItem::kLinkDocument, tree.root() + "missing.txt", "Nowhere");

  build();
  const auto& placed = document.chapters().at(0)->externalDocuments();
  ASSERT_EQ(placed.size(), 6u);
  EXPECT_FALSE(placed[0].isLink());
  // Inserted files become comment text: two short lines stay as written, prose is reflowed unless the item
  // asks to keep the formatting.
  const auto only = [](const ExternalDocument& doc) {
    return std::vector(doc.text().paragraphs().begin(), doc.text().paragraphs().end());
  };
  EXPECT_EQ(only(placed[0]),
            (std::vector<DocParagraph>{{"Plain text\nwith two lines\n", DocParagraph::kPreformatted}}));
  EXPECT_EQ(only(placed[3]), (std::vector<DocParagraph>{{"One line of prose.", DocParagraph::kFlowing}}));
  EXPECT_EQ(only(placed[4]),
            (std::vector<DocParagraph>{{"one line of prose\n", DocParagraph::kPreformatted}}));
  EXPECT_TRUE(placed[1].isLink());  // the form feed makes it binary: linked instead
  EXPECT_EQ(placed[1].fileName(), form_feed);
  EXPECT_FALSE(placed[2].isLink());  // bytes above 0x7f are printable
  EXPECT_TRUE(placed[5].isLink());
  EXPECT_EQ(placed[5].title(), "Linked notes");
  EXPECT_EQ(output.lines,
            (std::vector<std::string>{"error: file " + form_feed + " is binary, cannot insert",
                                      "error: Cannot open document " + tree.root() + "missing.txt"}));
}

TEST(LooksBinaryTest, LooksAtTheFirstTenBytesOnly) {
  EXPECT_FALSE(looksBinary(""));
  EXPECT_FALSE(looksBinary("0123456789\x01"));
  EXPECT_TRUE(looksBinary("012345678\x01"));
  EXPECT_TRUE(looksBinary(std::string("ab\0cd", 5)));
  EXPECT_FALSE(looksBinary("\t\r\n\xff\x80 text"));
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
