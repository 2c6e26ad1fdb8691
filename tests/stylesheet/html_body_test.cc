#include "stylesheet/html_body.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "config/configuration.h"
#include "stylesheet/relative_path.h"

namespace quillet {
namespace {

std::string relative(std::string_view from, std::string_view to) {
  std::string result;
  return relativePath(from, to, result) ? result : "<none>";
}

TEST(RelativePathTest, StepsUpAndDownBetweenFolders) {
  EXPECT_EQ(relative("/site/out/", "/site/out/bg.png"), "bg.png");
  EXPECT_EQ(relative("/site/out/", "/site/img/bg.png"), "../img/bg.png");
  EXPECT_EQ(relative("/site/out/html", "/pics/bg.png"), "../../../pics/bg.png");
  EXPECT_EQ(relative("/site/out/", "/site/out/a/b.png"), "a/b.png");
  EXPECT_EQ(relative("/site/./out/../out/", "/site//out/x"), "x");
  EXPECT_EQ(relative("/a/b", "/a/b"), ".");
}

TEST(RelativePathTest, WindowsPathsRelateOnlyOnTheSameDrive) {
  EXPECT_EQ(relative("c:\\site\\out\\", "C:\\site\\img\\bg.gif"), "../img/bg.gif");
  EXPECT_EQ(relative("C:\\out\\", "D:\\bg.gif"), "<none>");
  EXPECT_EQ(relative("/site/out/", "C:\\bg.gif"), "<none>");
  EXPECT_EQ(relative("\\\\server\\share\\out\\", "\\\\server\\share\\bg.gif"), "../bg.gif");
  EXPECT_EQ(relative("\\\\server\\share\\out\\", "\\\\server\\other\\bg.gif"), "<none>");
}

TEST(RelativePathTest, RelativeInputsStartAtTheCurrentFolder) {
  EXPECT_EQ(relative("out/", "img/bg.png"), "../img/bg.png");
  const std::string cwd = std::filesystem::current_path().generic_string();
  EXPECT_EQ(relative(cwd + "/out/", "bg.png"), "../bg.png");
}

class HtmlBodyTest : public ::testing::Test {
 protected:
  std::string body(std::string_view outputFolder) {
    std::ostringstream out;
    writeHtmlBodyAttributes(out, outputFolder, &configuration_);
    return out.str();
  }
  static uint32_t colour(uint32_t red, uint32_t green, uint32_t blue) {
    return (1u << 24) | red | (green << 8) | (blue << 16);
  }

  Configuration configuration_;
};

TEST_F(HtmlBodyTest, NothingByDefault) {
  EXPECT_EQ(body("/out/"), "");
  std::ostringstream out;
  writeHtmlBodyAttributes(out, "/out/", nullptr);
  EXPECT_EQ(out.str(), "");
}

TEST_F(HtmlBodyTest, ColoursAsLowerCaseHexPairs) {
  configuration_.setBackgroundColour(colour(255, 8, 0));
  EXPECT_EQ(body("/out/"), " BGCOLOR=\"#ff0800\"");
  configuration_.setBackgroundColour(colour(0, 0, 0));
  EXPECT_EQ(body("/out/"), " BGCOLOR=\"#000000\"");
  configuration_.setBackgroundColour(colour(0x1a, 0xb2, 0xc3));
  EXPECT_EQ(body("/out/"), " BGCOLOR=\"#1ab2c3\"");
}

TEST_F(HtmlBodyTest, BackgroundImageRelativeToTheOutput) {
  configuration_.setBackgroundImage("/site/img/paper.gif");
  EXPECT_EQ(body("/site/html/"), " BACKGROUND=\"../img/paper.gif\"");
  configuration_.setBackgroundColour(colour(1, 2, 3));
  EXPECT_EQ(body("/site/html/"), " BACKGROUND=\"../img/paper.gif\" BGCOLOR=\"#010203\"");
}

TEST_F(HtmlBodyTest, BackgroundImageAbsoluteWhenNoRelativePathExists) {
  configuration_.setBackgroundImage("D:\\Pics\\paper.gif");
  EXPECT_EQ(body("/site/html/"), " BACKGROUND=\"D:\\Pics\\paper.gif\"");
  configuration_.setBackgroundImage("/site/a\"b&c.gif");  // a name that would break the attribute
  EXPECT_EQ(body("/site/"), " BACKGROUND=\"a&quot;b&amp;c.gif\"");
}

TEST_F(HtmlBodyTest, UsesTheRunsConfiguration) {
  configuration_.setBackgroundColour(colour(16, 32, 48));
  setCurrentConfiguration(&configuration_);
  std::ostringstream out;
  writeHtmlBodyAttributes(out, "/out/");
  setCurrentConfiguration(nullptr);
  EXPECT_EQ(out.str(), " BGCOLOR=\"#102030\"");
  std::ostringstream none;
  writeHtmlBodyAttributes(none, "/out/");
  EXPECT_EQ(none.str(), "");
}

}  // namespace
}  // namespace quillet
