#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/file_contents.h"
#include "config/configuration.h"

namespace quillet {
namespace {

std::string repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

const std::string kEmpty = "0\r\n\"\"";
const std::string kEmptyAfterBreak = "0\r\n\r\n\"\"";  // an empty string whose opening quote starts a line

// The file of a new configuration, derived by hand from the encoding rules: every 40th string starts a new
// line (40 empty strings fill 80 characters), and so does the last letter of "untitled".
std::string newConfigurationFile() {
  std::string text = "3\r\n";
  text += repeat(kEmpty, 4);                           // output files, reserved text, background image
  text += "0\r\n1\r\n1\r\n1\r\n1\r\n0\r\n0\r\n0\r\n";  // flags up to the metric level
  text += repeat(kEmpty, 4);                           // style names and WinHelp output: strings 5 to 8
  text += repeat(kEmpty, 32) + kEmptyAfterBreak + repeat(kEmpty, 33);  // reserved strings 9 to 74
  text += repeat("0\r\n", 15) + "8\r\n" + repeat("0\r\n", 7);          // compiler profile to auto capitalize
  text += repeat("0\r\n", 38) + repeat("0\r\n", 15);                   // reserved numbers and reals
  text += "0\r\n0\r\n";                                                // no source entries, no comment tags
  text += kEmpty + kEmpty;                                             // defines, include path: count 72
  text += ":1\r\n\\[8\r\n\"untitle\r\nd\"6\r\n:32775\r\n\\[\\]";       // the root, its parent the null object
  text += kEmpty + repeat(kEmpty, 38) + kEmptyAfterBreak;              // text and 39 reserved strings
  text += repeat("0\r\n", 4 + 26 + 10) + "0\r\n\\]";                   // flags, reserved, no children
  return text;
}

// A configuration with every stored setting away from its default, each to a value of its own.
Configuration richConfiguration() {
  Configuration c;
  c.setHtmlOutputFile("out dir\\index.html");
  c.setRtfOutputFile("{rtf}\\manual.rtf");
  c.setWinHelpOutputFile("help/\"api\".rtf");
  c.setBackgroundImage("back\tground.gif");
  c.setBackgroundColour(0x01203040);
  c.setHtmlStyle("My Style");
  c.setRtfStyle("Paper Style");
  c.setWinHelpStyle("Help Style");
  c.setShortFileNames(true);
  c.setLinkToHeaders(false);
  c.setFunctionsInToc(true);
  c.setDocumentProtected(true);
  c.setDocumentPrivate(true);
  c.setIncludePath("c:\\inc;$(ROOT)\\lib");
  c.setDefines("A=1, B");
  c.setUseIncludeEnvironment(false);
  c.setReparseHeaders(true);
  c.setCompilerProfile(7);
  c.setCompilerVersion(1);
  c.setCommentsBeforePrototypes(false);
  c.setSortMembers(false);
  c.setParameterComments(false);
  c.setAutoCapitalize(false);
  c.setAutoFormat(false);
  c.setTabSize(3);
  c.setCommentsAfterPrototype(true);
  c.setMacroComments(true);
  c.setDuplicateCommentChoice(2);
  c.setMetricLevel(1);
  c.setMetricsShowMemberFunctions(true);
  c.setClassMinStatements(11);
  c.setClassMinPublicFunctions(12);
  c.setClassMinComplexity(13);
  c.setFunctionMinComplexity(14);
  c.setFunctionMinStatements(15);
  c.setLegacyPaper(-9);
  c.mutableSourceEntries().push_back({"src\\*.cpp", true});
  c.mutableSourceEntries().push_back({std::string(120, 'p') + ".h", false});
  CommentTag tag;
  tag.setTagName("@param[ \t]+");
  tag.setOperation(CommentTag::kReplaceTag);
  tag.setReplacement("Parameter:\\n");
  tag.setRemoveTextBefore(true);
  tag.setParagraphBreakBefore(true);
  tag.setFormatting(CommentTag::kPreserveParagraphs);
  c.appendCommentTag(tag);
  CommentTag plain;
  plain.setTagName("TODO");
  plain.setRemoveTextAfter(true);
  c.appendCommentTag(plain);
  c.setDocumentName("Control {bytes}\x01\x02 and more");
  LayoutItem& root = c.mutableArrangement();
  LayoutItem* classes = root.addChild();
  classes->setName("Classes");
  classes->setNoCombineHeaders(true);
  LayoutItem* nested = classes->addChild();
  nested->setName("Nested");
  LayoutItem* deepest = nested->addChild();
  deepest->setName("Widget.*");
  deepest->setKind(LayoutItem::kClassesByName);
  LayoutItem* text = root.addChild();
  text->setName("Note");
  text->setKind(LayoutItem::kText);
  text->setText(std::string(90, 't') + "\r\nsecond line \"quoted\"");
  return c;
}

TEST(ConfigurationFileTest, NewConfigurationFileIsExact) {
  const std::string text = Configuration().saveToText();
  EXPECT_EQ(text, newConfigurationFile());
  EXPECT_TRUE(text.starts_with("3\r\n0\r\n\"\""));

  Configuration loaded;
  ASSERT_TRUE(loaded.loadFromText(text));
  EXPECT_EQ(loaded.arrangement(), Configuration().arrangement());
  EXPECT_EQ(loaded.documentName(), "untitled");
  EXPECT_EQ(loaded.arrangement().parent(), nullptr);
  EXPECT_TRUE(loaded.linkToHeaders());
  EXPECT_EQ(loaded.tabSize(), 8);
  EXPECT_FALSE(loaded.modified());
}

TEST(ConfigurationFileTest, SaveAndLoadKeepEverySetting) {
  const Configuration original = richConfiguration();
  const std::string text = original.saveToText();
  Configuration loaded;
  loaded.setVerbose(true);
  ASSERT_TRUE(loaded.loadFromText(text));
  // Writing what was read gives the same bytes: every value went back into its own field.
  EXPECT_EQ(loaded.saveToText(), text);
  EXPECT_EQ(loaded.htmlOutputFile(), "out dir\\index.html");
  EXPECT_EQ(loaded.rtfOutputFile(), "{rtf}\\manual.rtf");
  EXPECT_EQ(loaded.winHelpOutputFile(), "help/\"api\".rtf");
  EXPECT_EQ(loaded.backgroundImage(), "back\tground.gif");
  EXPECT_EQ(loaded.backgroundColour(), 0x01203040u);
  EXPECT_EQ(loaded.htmlStyle(), "My Style");
  EXPECT_EQ(loaded.compilerProfile(), 7u);
  EXPECT_EQ(loaded.compilerVersion(), 1u);
  EXPECT_FALSE(loaded.sortMembers());
  EXPECT_FALSE(loaded.autoFormat());
  EXPECT_EQ(loaded.tabSize(), 3);
  EXPECT_EQ(loaded.duplicateCommentChoice(), 2);
  EXPECT_EQ(loaded.functionMinStatements(), 15u);
  EXPECT_EQ(loaded.legacyPaper(), -9);
  EXPECT_EQ(loaded.includePath(), "c:\\inc;$(ROOT)\\lib");
  EXPECT_EQ(loaded.defines(), "A=1, B");
  EXPECT_FALSE(loaded.useIncludeEnvironment());
  EXPECT_EQ(loaded.sourceEntries(), original.sourceEntries());
  EXPECT_EQ(loaded.commentTags(), original.commentTags());
  EXPECT_EQ(loaded.arrangement(), original.arrangement());
  EXPECT_TRUE(loaded.verbose());  // run switches are not part of the file
  EXPECT_FALSE(loaded.modified());

  const LayoutItem* deepest = loaded.arrangement().child(0)->child(0)->child(0);
  EXPECT_EQ(deepest->name(), "Widget.*");
  EXPECT_EQ(deepest->parent(), loaded.arrangement().child(0)->child(0));
  EXPECT_EQ(loaded.arrangement().child(0)->parent(), &loaded.arrangement());
}

TEST(ConfigurationFileTest, LongStringsAreBrokenOverLinesAndReadBackWhole) {
  const std::string text = richConfiguration().saveToText();
  const std::string long_path = std::string(120, 'p') + ".h";
  EXPECT_EQ(text.find(long_path), std::string::npos);  // not on one line
  EXPECT_NE(text.find("\"out\\x20dir\\\\index.html\""), std::string::npos);
  EXPECT_NE(text.find("\\[rtf\\]"), std::string::npos);
  Configuration loaded;
  ASSERT_TRUE(loaded.loadFromText(text));
  EXPECT_EQ(loaded.sourceEntries()[1].path, long_path);
}

TEST(ConfigurationFileTest, FileOnDiskIsWrittenWithCarriageReturns) {
  const std::string path = testing::TempDir() + "config_file_test.qlc";
  Configuration original = richConfiguration();
  ASSERT_TRUE(original.modified());
  ASSERT_TRUE(original.save(path));
  EXPECT_FALSE(original.modified());
  std::string contents;
  ASSERT_TRUE(readFileContents(path, contents));
  EXPECT_EQ(contents, original.saveToText());
  EXPECT_EQ(contents.find("\n"), contents.find("\r\n") + 1);
  Configuration loaded;
  ASSERT_TRUE(loaded.load(path));
  EXPECT_EQ(loaded.arrangement(), original.arrangement());
  std::remove(path.c_str());

  Configuration missing;
  EXPECT_FALSE(missing.load(testing::TempDir() + "no_such_dir/none.qlc"));
  std::FILE* probe = std::fopen((testing::TempDir() + "no_such_dir/none.qlc").c_str(), "rb");
  EXPECT_EQ(probe, nullptr);  // loading never creates the file
  EXPECT_FALSE(missing.save(testing::TempDir() + "no_such_dir/none.qlc"));
}

TEST(ConfigurationFileTest, VersionTwoIsConvertedAndSavedAsThree) {
  Configuration old;
  old.setLegacySingleFile(true);
  old.setLegacyPaper(1);
  std::string text = old.saveToText();
  ASSERT_EQ(text.front(), '3');
  text[0] = '2';
  Configuration loaded;
  ASSERT_TRUE(loaded.loadFromText(text));
  EXPECT_EQ(loaded.version(), 2);
  EXPECT_TRUE(loaded.isOlderVersion());
  EXPECT_TRUE(loaded.legacyFlag());
  EXPECT_EQ(loaded.htmlStyle(), "Single File Style");
  EXPECT_EQ(loaded.rtfStyle(), "Standard A4 Style");
  EXPECT_EQ(loaded.winHelpStyle(), "Standard Style");
  EXPECT_TRUE(loaded.saveToText().starts_with("3\r\n"));

  // Without the legacy settings the empty names become the standard style, stored as such.
  Configuration plain;
  ASSERT_TRUE(plain.loadFromText(Configuration().saveToText()));
  EXPECT_FALSE(plain.legacyFlag());
  EXPECT_NE(plain.saveToText().find("14\r\n\"Standard\\x20Style\""), std::string::npos);
}

TEST(ConfigurationFileTest, OtherVersionsFailAndTellWhich) {
  std::string text = Configuration().saveToText();
  text[0] = '1';
  Configuration older;
  EXPECT_FALSE(older.loadFromText(text));
  EXPECT_EQ(older.version(), 1);
  EXPECT_TRUE(older.isOlderVersion());
  EXPECT_FALSE(older.isNewerVersion());

  text[0] = '4';
  Configuration newer;
  EXPECT_FALSE(newer.loadFromText(text));
  EXPECT_EQ(newer.version(), 4);
  EXPECT_TRUE(newer.isNewerVersion());

  // Not a number at all: the version stays as it was, so neither query holds.
  Configuration foreign;
  EXPECT_FALSE(foreign.loadFromText("<html>not a configuration</html>"));
  EXPECT_EQ(foreign.version(), 3);
  EXPECT_FALSE(foreign.isOlderVersion());
  EXPECT_FALSE(foreign.isNewerVersion());
}

TEST(ConfigurationFileTest, LoadingAppendsListsUnlessReset) {
  const std::string text = richConfiguration().saveToText();
  Configuration c;
  ASSERT_TRUE(c.loadFromText(text));
  ASSERT_TRUE(c.loadFromText(text));
  EXPECT_EQ(c.sourceEntries().size(), 4u);
  EXPECT_EQ(c.commentTagCount(), 4u);
  EXPECT_EQ(c.arrangement().childCount(), 2u);  // the tree is replaced, not appended to
  c.reset();
  ASSERT_TRUE(c.loadFromText(text));
  EXPECT_EQ(c.sourceEntries().size(), 2u);
}

TEST(ConfigurationFileTest, ReservedValuesSurviveLoadAndSave) {
  // Reserved slots hold values no setter reaches; a file that carries them is written back unchanged.
  std::string text = richConfiguration().saveToText();
  const std::string reals = repeat("0\r\n", 15) + "2\r\n";  // reserved reals, then the source entry count
  const size_t at = text.find(reals);
  ASSERT_NE(at, std::string::npos);
  text.replace(at, reals.size(), repeat("0.25\r\n", 14) + "-1.5e+300\r\n2\r\n");
  Configuration loaded;
  ASSERT_TRUE(loaded.loadFromText(text));
  EXPECT_EQ(loaded.saveToText(), text);

  // A reserved text moves later line breaks, so compare it through a second round.
  const size_t reserved_text = text.find("0\r\n\"\"", text.find("manual.rtf"));
  ASSERT_NE(reserved_text, std::string::npos);
  text.replace(reserved_text, 5, "4\r\n\"kept\"");
  Configuration first;
  ASSERT_TRUE(first.loadFromText(text));
  EXPECT_EQ(first.reservedText(), "kept");
  Configuration second;
  ASSERT_TRUE(second.loadFromText(first.saveToText()));
  EXPECT_EQ(second.reservedText(), "kept");
  EXPECT_EQ(second.saveToText(), first.saveToText());
}

TEST(ConfigurationFileTest, CutOrCorruptedFilesFailCleanly) {
  const std::string text = richConfiguration().saveToText();
  for (size_t length = 0; length < text.size(); ++length) {
    Configuration c;
    EXPECT_FALSE(c.loadFromText(std::string_view(text).substr(0, length))) << "cut at " << length;
  }
  const char replacements[] = {'\xff', '"', '\\', '9', '@', ':', '\n', '-', '\0'};
  for (size_t at = 0; at < text.size(); at += 3) {
    for (const char replacement : replacements) {
      std::string corrupted = text;
      corrupted[at] = replacement;
      Configuration c;
      c.loadFromText(corrupted);  // may load or fail; must not crash, hang or run out of memory
    }
  }
}

TEST(ConfigurationFileTest, HostileCountsAndNestingAreRefused) {
  std::string text = Configuration().saveToText();
  const std::string counts = "0\r\n0\r\n0\r\n\"\"0\r\n\"\":1";
  const size_t at = text.find(counts);
  ASSERT_NE(at, std::string::npos);
  Configuration huge;
  EXPECT_FALSE(huge.loadFromText(text.substr(0, at) + "4294967295\r\n" + text.substr(at + 3)));
  Configuration tags;
  EXPECT_FALSE(tags.loadFromText(text.substr(0, at) + "0\r\n4000000000\r\n" + text.substr(at + 6)));

  // A chain of chapters far deeper than any editor makes is refused rather than read recursively.
  Configuration deep;
  LayoutItem* item = &deep.mutableArrangement();
  for (int level = 0; level < LayoutItem::kMaxStoredDepth + 5; ++level) item = item->addChild();
  Configuration loaded;
  EXPECT_FALSE(loaded.loadFromText(deep.saveToText()));

  Configuration shallow;
  item = &shallow.mutableArrangement();
  for (int level = 0; level < LayoutItem::kMaxStoredDepth; ++level) item = item->addChild();
  EXPECT_TRUE(loaded.loadFromText(shallow.saveToText()));
}

TEST(ConfigurationFileTest, ParentLinkMustBeNullOrAReference) {
  Configuration c;
  c.mutableArrangement().addChild()->setName("child");
  const std::string text = c.saveToText();
  const size_t parent = text.find("@0\r\n");
  ASSERT_NE(parent, std::string::npos);
  Configuration loaded;
  EXPECT_TRUE(loaded.loadFromText(text));
  std::string as_record = text;
  as_record.replace(parent, 4, ":1\r\n\\[");
  EXPECT_FALSE(Configuration().loadFromText(as_record));
  std::string dangling = text;
  dangling.replace(parent, 4, "@9\r\n");
  EXPECT_FALSE(Configuration().loadFromText(dangling));
  std::string null_parent = text;
  null_parent.replace(parent, 4, "@1\r\n");  // the null object: read, and the nesting still decides
  Configuration relinked;
  ASSERT_TRUE(relinked.loadFromText(null_parent));
  EXPECT_EQ(relinked.arrangement().child(0)->parent(), &relinked.arrangement());
}

TEST(ConfigurationFileTest, BundledExampleLoads) {
  Configuration example;
  ASSERT_TRUE(example.load("examples/example.qlc"));  // tests run from the source tree
  EXPECT_EQ(example.documentName(), "Shapes Example");
  EXPECT_EQ(example.sourceEntries(), (std::vector<SourceEntry>{{"src/*.*", false}}));
  EXPECT_EQ(example.htmlOutputFile(), "html/index.html");
  EXPECT_EQ(example.rtfOutputFile(), "rtf/shapes.rtf");
  const LayoutItem& root = example.arrangement();
  ASSERT_EQ(root.childCount(), 3u);
  EXPECT_EQ(root.child(0)->name(), "Introduction");
  ASSERT_EQ(root.child(0)->childCount(), 1u);
  EXPECT_EQ(root.child(0)->child(0)->name(), "doc/intro.txt");
  EXPECT_EQ(root.child(0)->child(0)->kind(), LayoutItem::kInsertDocument);
  EXPECT_EQ(root.child(1)->name(), "Classes");
  ASSERT_EQ(root.child(1)->childCount(), 5u);
  EXPECT_EQ(root.child(1)->child(0)->name(), "Shape");
  EXPECT_EQ(root.child(1)->child(0)->kind(), LayoutItem::kClassesByName);
  EXPECT_EQ(root.child(2)->child(0)->name(), ".*");
  EXPECT_EQ(root.child(2)->child(0)->kind(), LayoutItem::kFunctionsByName);
  ASSERT_EQ(example.commentTagCount(), 1u);
  EXPECT_EQ(example.commentTag(0).tagName(), "TODO:");
}

}  // namespace
}  // namespace quillet
