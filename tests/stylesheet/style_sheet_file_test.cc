#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "stylesheet/captured_messages.h"
#include "stylesheet/style_sheet.h"
#include "stylesheet/style_sheet_cache.h"

namespace quillet {
namespace {

const std::string kData = std::string(QUILLET_TEST_DATA) + "/stylesheet/";

TEST(StyleSheetFileTest, ReadsAnHtmlStyleSheet) {
  CapturedMessages messages;
  const StyleSheet sheet(kData + "main.html");
  EXPECT_TRUE(messages.lines.empty());
  EXPECT_EQ(sheet.fileName(), kData + "main.html");
  ASSERT_EQ(sheet.sectionCount(), 6u);
  EXPECT_EQ(sheet.section(0).text().substr(0, 7), "<HTML>\n");
  EXPECT_EQ(sheet.section(1).kind(), StyleSheet::kForEach);
  EXPECT_EQ(sheet.section(1).label(), "CLASSES");
  EXPECT_EQ(sheet.section(2).kind(), StyleSheet::kIf);
  EXPECT_EQ(sheet.section(2).expressionTokens(),
            (std::vector<std::string>{"class", ".", "function_list", ".", "size", ">", "0"}));
  EXPECT_TRUE(sheet.section(2).anchorFree());
  EXPECT_EQ(sheet.section(3).kind(), StyleSheet::kForEachIf);
  const SectionToken& link = sheet.section(3).textTokens()[1];
  EXPECT_EQ(link.name, "link_to");
  EXPECT_EQ(link.firstParameter, "function");
  EXPECT_EQ(sheet.section(5).text(), "</BODY>\n</HTML>\n");
}

TEST(StyleSheetFileTest, ReadsAWordProcessorRtfStyleSheet) {
  CapturedMessages messages;
  const StyleSheet sheet(kData + "split.rtf");
  EXPECT_TRUE(messages.lines.empty());
  ASSERT_EQ(sheet.sectionCount(), 3u);
  const std::string& prologue = sheet.section(0).text();
  EXPECT_NE(prologue.find("\\fprq2 Times New Roman;"), std::string::npos);  // panose group gone
  EXPECT_EQ(prologue.find('\n'), std::string::npos);
  EXPECT_TRUE(prologue.ends_with("{\\b }{"));
  EXPECT_EQ(sheet.section(1).kind(), StyleSheet::kForEach);
  EXPECT_EQ(sheet.section(1).expression(), "classes");
  EXPECT_EQ(sheet.section(1).label(), "L");
  EXPECT_EQ(sheet.section(1).text(), "}{}{\\b name_}\\par ");
  EXPECT_EQ(sheet.section(2).kind(), StyleSheet::kNext);
  EXPECT_EQ(sheet.section(2).text(), "\\par }");
}

TEST(StyleSheetFileTest, FileWithoutCommandsIsKeptWhole) {
  CapturedMessages messages;
  const StyleSheet sheet(kData + "plain.html");
  ASSERT_EQ(sheet.sectionCount(), 1u);
  EXPECT_EQ(sheet.section(0).text(),
            "<HTML><BODY>\nA page without template commands; a_b stays.\n</BODY></HTML>\n");
  EXPECT_TRUE(messages.lines.empty());
}

TEST(StyleSheetFileTest, UnreadableFileIsReportedAndEmpty) {
  CapturedMessages messages;
  const StyleSheet missing(kData + "no such file.html");
  ASSERT_EQ(missing.sectionCount(), 1u);
  EXPECT_EQ(missing.section(0).text(), "");
  ASSERT_EQ(messages.lines.size(), 1u);
  EXPECT_EQ(messages.lines[0], "error: (" + kData + "no such file.html) cannot open style sheet. ");

  messages.lines.clear();
  const StyleSheet folder(kData);  // a folder is no style sheet either
  EXPECT_EQ(folder.sectionCount(), 1u);
  EXPECT_EQ(messages.lines.size(), 1u);
}

class StyleSheetCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() /
        ("quillet_stylesheet_cache_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::create_directories(folder_);
    clearStyleSheetCache();
  }
  void TearDown() override {
    clearStyleSheetCache();
    std::filesystem::remove_all(folder_);
  }
  std::string write(const std::string& name, const std::string& contents) {
    const std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary) << contents;
    return path;
  }

  std::filesystem::path folder_;
  CapturedMessages messages_;
};

TEST_F(StyleSheetCacheTest, ReadsEachFileOnceUntilCleared) {
  const std::string path = write("page.html", "first");
  const StyleSheet& first = cachedStyleSheet(path);
  write("page.html", "second");
  const StyleSheet& again = cachedStyleSheet(path);
  EXPECT_EQ(&first, &again);
  EXPECT_EQ(again.section(0).text(), "first");
  EXPECT_EQ(cachedStyleSheetCount(), 1u);

  clearStyleSheetCache();
  EXPECT_EQ(cachedStyleSheetCount(), 0u);
  EXPECT_EQ(cachedStyleSheet(path).section(0).text(), "second");
}

TEST_F(StyleSheetCacheTest, NamesDifferingInCaseShareTheOnDiskEntry) {
  const std::string path = write("main.html", "x");
  const std::string other_case = (folder_ / "MAIN.HTML").string();
  const StyleSheet& sheet = cachedStyleSheet(other_case);
  EXPECT_EQ(&sheet, &cachedStyleSheet(path));
  EXPECT_EQ(sheet.fileName(), path);  // opened, and named in messages, under its stored spelling
  EXPECT_EQ(sheet.section(0).text(), "x");
  EXPECT_TRUE(messages_.lines.empty());
}

TEST_F(StyleSheetCacheTest, ReferencesSurviveLaterLoads) {
  const StyleSheet& first = cachedStyleSheet(write("a.html", "a"));
  for (int i = 0; i < 200; ++i) cachedStyleSheet(write("b" + std::to_string(i) + ".html", "b"));
  EXPECT_EQ(first.section(0).text(), "a");
  EXPECT_EQ(cachedStyleSheetCount(), 201u);
}

TEST_F(StyleSheetCacheTest, MissingFileIsCachedAsEmptyAndReportedOnce) {
  const std::string path = (folder_ / "absent.html").string();
  EXPECT_EQ(cachedStyleSheet(path).sectionCount(), 1u);
  cachedStyleSheet(path);
  EXPECT_EQ(messages_.lines.size(), 1u);
}

}  // namespace
}  // namespace quillet
