#include "app/generation_run.h"

#include <gtest/gtest.h>

#include "app/document_builder.h"
#include "app/source_list.h"
#include "config/configuration.h"
#include "config/layout_item.h"
#include "document/document.h"
#include "frontend/code_store.h"
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

// Builds the document of `configuration` with its configuration and output published as in a run.
struct BuiltDocument {
  explicit BuiltDocument(Configuration& configuration) {
    setCurrentConfiguration(&configuration);
    setCurrentMessageOutput(&output);
    buildDocument(configuration, store, document, documented);
    setCurrentMessageOutput(nullptr);
    setCurrentConfiguration(nullptr);
  }
  RecordingOutput output;
  CodeStore store;
  Document document;
  DocumentedFiles documented;
};

TEST(GenerationRunTest, ConfigurationChecksStopTheRunBeforeAnyWork) {
  Configuration empty;
  empty.mutableSourceEntries().push_back({"/nonexistent/*.cpp", false});
  RecordingOutput first;
  runGeneration(empty, first);
  EXPECT_EQ(first.lines, std::vector<std::string>{"error: At least one arrange entry is needed in every "
                                                  "configuration.  No documentation can be generated."});

  Configuration no_output = empty;
  addItem(no_output.mutableArrangement(), LayoutItem::kText, "Intro", "Hello");
  RecordingOutput second;
  runGeneration(no_output, second);
  EXPECT_EQ(second.lines, std::vector<std::string>{"error: At least one output file name from the style tab "
                                                   "is needed in every configuration.  No documentation can "
                                                   "be generated."});
  EXPECT_EQ(currentConfiguration(), nullptr);
  EXPECT_EQ(currentMessageOutput(), nullptr);
}

TEST(GenerationRunTest, SourceListReportsMissingEntriesAsTypedAndKeepsTheOthers) {
  TempTree tree;
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

TEST(GenerationRunTest, CancellingBetweenModulesSkipsBuilding) {
  TempTree tree;
  tree.write("a.cpp", "int a;\n");
  tree.write("b.cpp", "int b;\n");
  Configuration configuration;
  configuration.setVerbose(true);
  configuration.setHtmlOutputFile(tree.root() + "out/index.html");
  configuration.mutableSourceEntries().push_back({tree.root() + "*.cpp", false});
  addItem(configuration.mutableArrangement(), LayoutItem::kText, "Intro", "Hello");
  RecordingOutput output;
  output.cancelAfterStatus = 2;  // the source list line, then the first module
  runGeneration(configuration, output);
  EXPECT_TRUE(output.has("Parsing file: " + tree.root() + "a.cpp"));
  EXPECT_FALSE(output.mentions("b.cpp"));
  EXPECT_FALSE(output.has("Building Document"));
}

TEST(DocumentBuilderTest, ChaptersFollowTheArrangementPath) {
  Configuration configuration;
  LayoutItem& root = configuration.mutableArrangement();
  root.setName("Manual");
  addItem(root, LayoutItem::kText, "Top", "directly under the root");
  LayoutItem* guide = addItem(root, LayoutItem::kChapter, "Guide");
  addItem(*addItem(*guide, LayoutItem::kChapter, "Inner"), LayoutItem::kText, "Deep", "two levels down");
  addItem(root, LayoutItem::kChapter, "Empty");
  LayoutItem* again = addItem(root, LayoutItem::kChapter, "Guide");
  addItem(*again, LayoutItem::kText, "Second", "shares the first Guide chapter");

  BuiltDocument built(configuration);
  const Document& document = built.document;
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

TEST(DocumentBuilderTest, DocumentsAreLinkedInsertedOrRefused) {
  TempTree tree;
  const std::string text_file = tree.write("notes.txt", "Plain text\nwith two lines\n");
  const std::string form_feed = tree.write("paged.txt", "abc\fdef ghi jkl\n");
  const std::string utf8 = tree.write("utf8.txt", "\xc3\xa9t\xc3\xa9 caf\xc3\xa9\n");
  const std::string prose = tree.write("prose.txt", "one line of prose\n");
  Configuration configuration;
  LayoutItem& root = configuration.mutableArrangement();
  LayoutItem* docs = addItem(root, LayoutItem::kChapter, "Docs");
  addItem(*docs, LayoutItem::kInsertDocument, text_file, "Notes");
  addItem(*docs, LayoutItem::kInsertDocument, form_feed, "Paged");
  addItem(*docs, LayoutItem::kInsertDocument, utf8, "Accents");
  addItem(*docs, LayoutItem::kInsertDocument, prose, "Prose");
  addItem(*docs, LayoutItem::kInsertDocument, prose, "Kept")->setPreserveFormatting(true);
  addItem(*docs, LayoutItem::kLinkDocument, text_file, "Linked notes");
  addItem(*docs, LayoutItem::kLinkDocument, tree.root() + "missing.txt", "Nowhere");

  BuiltDocument built(configuration);
  const auto& placed = built.document.chapters().at(0)->externalDocuments();
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
  EXPECT_EQ(built.output.lines, (std::vector<std::string>{
                                    "error: file " + form_feed + " is binary, cannot insert",
                                    "error: Cannot open document " + tree.root() + "missing.txt",
                                }));
}

TEST(DocumentBuilderTest, BinaryTestLooksAtTheFirstTenBytesOnly) {
  EXPECT_FALSE(looksBinary(""));
  EXPECT_FALSE(looksBinary("0123456789\x01"));
  EXPECT_TRUE(looksBinary("012345678\x01"));
  EXPECT_TRUE(looksBinary(std::string("ab\0cd", 5)));
  EXPECT_FALSE(looksBinary("\t\r\n\xff\x80 text"));
}

}  // namespace
}  // namespace quillet
