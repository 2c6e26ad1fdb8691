#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>

#include "stylesheet/captured_messages.h"
#include "stylesheet/style_sheet.h"
#include "stylesheet/style_sheet_cache.h"

namespace quillet {
namespace {

const std::string kData = std::string(QUILLET_TEST_DATA) + "/stylesheet/";

TEST(StyleSheetFileTest, ReadsHtmlAndWordProcessorRtf) {
  CapturedMessages messages;
  const StyleSheet html(kData + "main.html");
  ASSERT_EQ(html.sectionCount(), 6u);
  EXPECT_EQ(html.section(2).expressionTokens(),
            (std::vector<std::string>{"class", ".", "function_list", ".", "size", ">", "0"}));
  EXPECT_EQ(html.section(3).textTokens()[1].firstParameter, "function");
  EXPECT_EQ(html.section(5).text(), "</BODY>\n</HTML>\n");

  const StyleSheet rtf(kData + "split.rtf");
  ASSERT_EQ(rtf.sectionCount(), 3u);
  EXPECT_NE(rtf.section(0).text().find("\\fprq2 Times New Roman;"), std::string::npos);  // panose gone
  EXPECT_EQ(rtf.section(1).expression(), "classes");
  EXPECT_EQ(rtf.section(1).text(), "}{}{\\b name_}\\par ");
  EXPECT_EQ(rtf.section(2).text(), "\\par }");

  const StyleSheet plain(kData + "plain.html");  // no "$$" at all
  ASSERT_EQ(plain.sectionCount(), 1u);
  EXPECT_EQ(plain.section(0).text(),
            "<HTML><BODY>\nA page without template commands; a_b stays.\n</BODY></HTML>\n");
  EXPECT_TRUE(messages.lines.empty());
}

TEST(StyleSheetFileTest, UnreadableFileIsReportedAndEmpty) {
  CapturedMessages messages;
  const StyleSheet missing(kData + "no such file.html");
  ASSERT_EQ(missing.sectionCount(), 1u);
  EXPECT_EQ(missing.section(0).text(), "");
  const StyleSheet folder(kData);  // a folder is no style sheet either
  EXPECT_EQ(folder.sectionCount(), 1u);
  ASSERT_EQ(messages.lines.size(), 2u);
  EXPECT_EQ(messages.lines[0], "error: (" + kData + "no such file.html) cannot open style sheet. ");
}

class StyleSheetCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("quillet_cache_" + std::to_string(::getpid()));
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
  EXPECT_EQ(&first, &cachedStyleSheet(path));
  EXPECT_EQ(first.section(0).text(), "first");
  for (int i = 0; i < 100; ++i) cachedStyleSheet(write("b" + std::to_string(i) + ".html", "b"));
  EXPECT_EQ(first.section(0).text(), "first");  // still valid after the map grew
  clearStyleSheetCache();
  EXPECT_EQ(cachedStyleSheetCount(), 0u);
  EXPECT_EQ(cachedStyleSheet(path).section(0).text(), "second");
}

TEST_F(StyleSheetCacheTest, NamesDifferingInCaseShareTheOnDiskEntry) {
  const std::string path = write("main.html", "x");
  const StyleSheet& sheet = cachedStyleSheet((folder_ / "MAIN.HTML").string());
  EXPECT_EQ(&sheet, &cachedStyleSheet(path));
  EXPECT_EQ(sheet.fileName(), path);  // opened, and named in messages, under its stored spelling
  EXPECT_EQ(sheet.section(0).text(), "x");
  EXPECT_TRUE(messages_.lines.empty());
}

}  // namespace
}  // namespace quillet
