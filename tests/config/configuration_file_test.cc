#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/file_contents.h"
#include "common/memory_file_system.h"
#include "config/configuration.h"
#include "config/test_util.h"

namespace quillet {
namespace {

const std::string kEmpty = "0\r\n\"\"";
const std::string kEmptyAfterBreak = "0\r\n\r\n\"\"";  // an empty string whose opening quote starts a line

// The file of a new configuration, derived by hand from the encoding rules: every 40th string starts a new
// line (40 empty strings fill 80 characters), and so does the last letter of "untitled".
std::string newConfigurationFile() {
  return "3\r\n" + repeat(kEmpty, 4) + "0\r\n1\r\n1\r\n1\r\n1\r\n0\r\n0\r\n0\r\n" + repeat(kEmpty, 4) +
         repeat(kEmpty, 32) + kEmptyAfterBreak + repeat(kEmpty, 33) +  // reserved strings: strings 9 to 74
         repeat("0\r\n", 15) + "8\r\n" + repeat("0\r\n", 7) +          // compiler profile to auto capitalize
         repeat("0\r\n", 38 + 15) + "0\r\n0\r\n" + kEmpty + kEmpty +   // reserved, counts, defines, includes
         ":1\r\n\\[8\r\n\"untitle\r\nd\"6\r\n:32775\r\n\\[\\]" +       // the root; its parent the null object
         kEmpty + repeat(kEmpty, 38) + kEmptyAfterBreak + repeat("0\r\n", 4 + 26 + 10) + "0\r\n\\]";
}

// A configuration with the stored settings away from their defaults, each to a value of its own, so that a
// value read into the wrong field shows when the file is written again.
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
  c.setIncludePath("c:\\inc;$(ROOT)\\lib");
  c.setDefines("A=1, B");
  c.setUseIncludeEnvironment(false);
  c.setCompilerProfile(7);
  c.setCompilerVersion(1);
  c.setSortMembers(false);
  c.setAutoFormat(false);
  c.setTabSize(3);
  c.setDuplicateCommentChoice(2);
  c.setMetricLevel(4);
  c.setClassMinStatements(11);
  c.setFunctionMinStatements(15);
  c.setLegacyPaper(-9);
  c.mutableSourceEntries().push_back({"src\\*.cpp", true});
  c.mutableSourceEntries().push_back({std::string(120, 'p') + ".h", false});
  CommentTag tag;
  tag.setTagName("@param[ \t]+");
  tag.setOperation(CommentTag::kReplaceTag);
  tag.setReplacement("Parameter:\\n");
  tag.setParagraphBreakBefore(true);
  tag.setFormatting(CommentTag::kPreserveParagraphs);
  c.appendCommentTag(tag);
  c.appendCommentTag(CommentTag());
  c.setDocumentName("Control {bytes}\x01\x02\x7f\xff and more");
  LayoutItem* deepest = c.mutableArrangement().addChild()->addChild()->addChild();
  deepest->setName("Widget.*");
  deepest->setKind(LayoutItem::kClassesByName);
  LayoutItem* text = c.mutableArrangement().addChild();
  text->setKind(LayoutItem::kText);
  text->setText(std::string(90, 't') + "\r\nsecond line \"quoted\"");
  return c;
}

TEST(ConfigurationFileTest, NewConfigurationFileIsExact) {
  const std::string text = Configuration().saveToText();
  EXPECT_EQ(text, newConfigurationFile());
  Configuration loaded;
  ASSERT_TRUE(loaded.loadFromText(text));
  EXPECT_EQ(loaded.arrangement(), Configuration().arrangement());
  EXPECT_EQ(loaded.documentName(), "untitled");
  EXPECT_TRUE(loaded.linkToHeaders());
  EXPECT_FALSE(loaded.modified());
}

TEST(ConfigurationFileTest, SaveAndLoadKeepEverySetting) {
  const Configuration original = richConfiguration();
  const std::string text = original.saveToText();
  Configuration loaded;
  loaded.setVerbose(true);
  ASSERT_TRUE(loaded.loadFromText(text));
  EXPECT_EQ(loaded.saveToText(), text);  // every value went back into its own field
  EXPECT_EQ(loaded.rtfOutputFile(), "{rtf}\\manual.rtf");
  EXPECT_EQ(loaded.backgroundColour(), 0x01203040u);
  EXPECT_EQ(loaded.legacyPaper(), -9);
  EXPECT_EQ(loaded.sourceEntries(), original.sourceEntries());
  EXPECT_EQ(loaded.commentTags(), original.commentTags());
  EXPECT_EQ(loaded.arrangement(), original.arrangement());
  const LayoutItem* deepest = loaded.arrangement().child(0)->child(0)->child(0);
  EXPECT_EQ(deepest->parent()->parent()->parent(), &loaded.arrangement());
  EXPECT_TRUE(loaded.verbose());  // run switches are not part of the file
  // Long strings are broken over lines in the file and read back whole.
  EXPECT_EQ(text.find(std::string(120, 'p')), std::string::npos);
  EXPECT_NE(text.find("\"out\\x20dir\\\\index.html\""), std::string::npos);
}

TEST(ConfigurationFileTest, SavesWholeAndNeverCreatesOnLoad) {
  MemoryFileSystem files;
  ScopedFileSystem installed(files);
  Configuration original = richConfiguration();
  EXPECT_FALSE(original.save("docs/api.qlc"));  // no folder "docs"
  EXPECT_TRUE(original.modified());             // the changes are still unsaved
  files.addFolder("docs");
  ASSERT_TRUE(original.save("docs/api.qlc"));
  EXPECT_FALSE(original.modified());
  EXPECT_EQ(files.file("docs/api.qlc"), original.saveToText());
  Configuration loaded;
  EXPECT_TRUE(loaded.load("/work/docs/api.qlc"));
  EXPECT_EQ(loaded.saveToText(), original.saveToText());

  // A full disk leaves the stored file as it was.
  const std::string stored = *files.file("docs/api.qlc");
  original.setHtmlOutputFile(std::string(500, 'h'));
  files.setCapacity(files.usedBytes());
  EXPECT_FALSE(original.save("docs/api.qlc"));
  EXPECT_EQ(files.file("docs/api.qlc"), stored);
  EXPECT_FALSE(original.load("none.qlc"));
  EXPECT_EQ(files.filePaths(), std::vector<std::string>{"/work/docs/api.qlc"});
}

TEST(ConfigurationFileTest, VersionTwoIsConvertedOtherVersionsFailAndTellWhich) {
  Configuration old;
  old.setLegacySingleFile(true);
  old.setLegacyPaper(1);
  std::string text = old.saveToText();
  text[0] = '2';
  Configuration loaded;
  ASSERT_TRUE(loaded.loadFromText(text));
  EXPECT_EQ(loaded.version(), 2);
  EXPECT_TRUE(loaded.legacyFlag());
  EXPECT_EQ(loaded.htmlStyle(), "Single File Style");
  EXPECT_EQ(loaded.rtfStyle(), "Standard A4 Style");
  EXPECT_TRUE(loaded.saveToText().starts_with("3\r\n"));
  // Without the legacy settings an empty name becomes the standard style, stored as such.
  Configuration plain;
  ASSERT_TRUE(plain.loadFromText(Configuration().saveToText()));
  EXPECT_NE(plain.saveToText().find("14\r\n\"Standard\\x20Style\""), std::string::npos);

  text[0] = '1';
  Configuration older;
  EXPECT_FALSE(older.loadFromText(text));
  EXPECT_EQ(older.version(), 1);
  EXPECT_TRUE(older.isOlderVersion());
  text[0] = '4';
  Configuration newer;
  EXPECT_FALSE(newer.loadFromText(text));
  EXPECT_TRUE(newer.isNewerVersion());
  // Not a number at all: the version stays as it was, so neither query holds.
  Configuration foreign;
  EXPECT_FALSE(foreign.loadFromText("<html>not a configuration</html>"));
  EXPECT_FALSE(foreign.isOlderVersion() || foreign.isNewerVersion());
}

TEST(ConfigurationFileTest, LoadingAppendsListsAndReservedValuesSurvive) {
  std::string text = richConfiguration().saveToText();
  Configuration c;
  ASSERT_TRUE(c.loadFromText(text));
  ASSERT_TRUE(c.loadFromText(text));
  EXPECT_EQ(c.sourceEntries().size(), 4u);
  EXPECT_EQ(c.commentTagCount(), 4u);
  EXPECT_EQ(c.arrangement().childCount(), 2u);  // the tree is replaced, not appended to

  // Reserved reals no setter reaches are written back as read.
  const std::string reals = repeat("0\r\n", 15) + "2\r\n";  // reserved reals, then the source entry count
  text.replace(text.find(reals), reals.size(), repeat("0.25\r\n", 14) + "-1.5e+300\r\n2\r\n");
  Configuration loaded;
  ASSERT_TRUE(loaded.loadFromText(text));
  EXPECT_EQ(loaded.saveToText(), text);
}

TEST(ConfigurationFileTest, ExtensionSettingsRideInTheLastReservedSlotOnlyWhenSet) {
  Configuration plain = richConfiguration();
  const std::string before = plain.saveToText();
  plain.setCompiler("c++");
  plain.setLanguageStandard("c++20");
  plain.setExtensionSetting("note", "two\nlines \\ and a backslash");
  const std::string with = plain.saveToText();
  Configuration loaded;
  ASSERT_TRUE(loaded.loadFromText(with));
  EXPECT_EQ(loaded.extensionSettings(), plain.extensionSettings());
  EXPECT_EQ(loaded.compiler(), "c++");
  EXPECT_EQ(loaded.languageStandard(), "c++20");
  EXPECT_EQ(loaded.saveToText(), with);
  // Back at their defaults, the file is what it was before any was set.
  loaded.setCompiler("");
  loaded.setLanguageStandard("");
  loaded.setExtensionSetting("note", std::nullopt);
  EXPECT_EQ(loaded.saveToText(), before);
  // A reserved slot that some other writer filled is kept as it is.
  std::string foreign = with;
  foreign.replace(foreign.find("quillet-settings"), 16, "quillet-settingz");
  Configuration kept;
  ASSERT_TRUE(kept.loadFromText(foreign));
  EXPECT_TRUE(kept.extensionSettings().empty());
  EXPECT_EQ(kept.saveToText(), foreign);
}

TEST(ConfigurationFileTest, CommentMarkdownAndSourcePagesAreOffInOlderFilesAndKeptWhenTurnedOn) {
  Configuration configuration = richConfiguration();
  const std::string before = configuration.saveToText();
  EXPECT_FALSE(configuration.commentMarkdown());
  EXPECT_FALSE(configuration.htmlSourcePages());
  EXPECT_TRUE(configuration.commentAutoBrief());
  configuration.setCommentMarkdown(true);
  configuration.setHtmlSourcePages(true);
  configuration.setCommentAutoBrief(false);
  Configuration loaded;
  ASSERT_TRUE(loaded.loadFromText(configuration.saveToText()));
  EXPECT_TRUE(loaded.commentMarkdown());
  EXPECT_TRUE(loaded.htmlSourcePages());
  EXPECT_FALSE(loaded.commentAutoBrief());
  loaded.setCommentMarkdown(false);
  loaded.setHtmlSourcePages(false);
  loaded.setCommentAutoBrief(true);
  EXPECT_EQ(loaded.saveToText(), before);
}

TEST(ConfigurationFileTest, CutOrCorruptedFilesFailCleanly) {
  const std::string text = richConfiguration().saveToText();
  for (size_t length = 0; length < text.size(); ++length)
    EXPECT_FALSE(Configuration().loadFromText(std::string_view(text).substr(0, length)))
        << "cut at " << length;
  for (size_t at = 0; at < text.size(); at += 3) {
    for (const char replacement : {'\xff', '"', '\\', '9', '@', ':', '\n', '-', '\0'}) {
      std::string corrupted = text;
      corrupted[at] = replacement;
      Configuration().loadFromText(corrupted);  // may load or fail; must not crash, hang or exhaust memory
    }
  }
  // A huge source entry count is refused before anything is allocated for it.
  std::string huge = Configuration().saveToText();
  huge.replace(huge.find("0\r\n0\r\n" + kEmpty + kEmpty + ":1"), 3, "4294967295\r\n");
  EXPECT_FALSE(Configuration().loadFromText(huge));
}

TEST(ConfigurationFileTest, DeepTreesAndBadParentLinksAreRefused) {
  Configuration deep;
  LayoutItem* item = &deep.mutableArrangement();
  for (int level = 0; level < LayoutItem::kMaxStoredDepth; ++level) item = item->addChild();
  EXPECT_TRUE(Configuration().loadFromText(deep.saveToText()));
  item->addChild();  // one level beyond what is read recursively
  EXPECT_FALSE(Configuration().loadFromText(deep.saveToText()));

  Configuration c;
  c.mutableArrangement().addChild();
  const std::string text = c.saveToText();
  const size_t parent = text.find("@0\r\n");
  std::string as_record = text;
  EXPECT_FALSE(Configuration().loadFromText(as_record.replace(parent, 4, ":1\r\n\\[")));
  std::string dangling = text;
  EXPECT_FALSE(Configuration().loadFromText(dangling.replace(parent, 4, "@9\r\n")));
  std::string null_parent = text;  // the null object is accepted: the nesting decides the parent
  Configuration relinked;
  ASSERT_TRUE(relinked.loadFromText(null_parent.replace(parent, 4, "@1\r\n")));
  EXPECT_EQ(relinked.arrangement().child(0)->parent(), &relinked.arrangement());
}

}  // namespace
}  // namespace quillet
