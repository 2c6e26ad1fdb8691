#include "document/html_body.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "common/relative_path.h"
#include "config/configuration.h"

namespace quillet {
namespace {

std::string relative(std::string_view from, std::string_view to) {
  std::string result;
  return relativePath(from, to, result) ? result : "<none>";
}

TEST(RelativePathTest, StepsBetweenFoldersOnOneRoot) {
  EXPECT_EQ(relative("/site/out/html", "/pics/bg.png"), "../../../pics/bg.png");
  EXPECT_EQ(relative("/site/./out/../out/", "/site//out/a/x"), "a/x");
  EXPECT_EQ(relative("c:\\site\\out\\", "C:\\site\\img\\bg.gif"), "../img/bg.gif");
  EXPECT_EQ(relative("\\\\server\\share\\out\\", "\\\\server\\share\\bg.gif"), "../bg.gif");
  EXPECT_EQ(relative("out/", "img/bg.png"), "../img/bg.png");  // both from the current folder
  EXPECT_EQ(relative(std::filesystem::current_path().generic_string() + "/out/", "bg.png"), "../bg.png");
  // Other drives and shares have no relative path.
  EXPECT_EQ(relative("C:\\out\\", "D:\\bg.gif"), "<none>");
  EXPECT_EQ(relative("\\\\server\\share\\", "\\\\server\\other\\bg.gif"), "<none>");
}

class HtmlBodyTest : public ::testing::Test {
 protected:
  std::string body(std::string_view outputFolder) {
    std::ostringstream out;
    writeHtmlBodyAttributes(out, outputFolder, &configuration_);
    return out.str();
  }
  void setColour(uint32_t red, uint32_t green, uint32_t blue) {
    configuration_.setBackgroundColour((1u << 24) | red | (green << 8) | (blue << 16));
  }

  Configuration configuration_;
};

TEST_F(HtmlBodyTest, ColoursAsLowerCaseHexPairs) {
  EXPECT_EQ(body("/out/"), "");
  setColour(255, 8, 0);
  EXPECT_EQ(body("/out/"), " BGCOLOR=\"#ff0800\"");
  setColour(0, 0, 0);  // black is a colour too
  EXPECT_EQ(body("/out/"), " BGCOLOR=\"#000000\"");
  // Without a configuration, given or of a run, nothing is written.
  std::ostringstream none;
  writeHtmlBodyAttributes(none, "/out/", nullptr);
  writeHtmlBodyAttributes(none, "/out/");
  EXPECT_EQ(none.str(), "");
}

TEST_F(HtmlBodyTest, BackgroundImageRelativeWhenPossibleElseAbsolute) {
  configuration_.setBackgroundImage("/site/img/paper.gif");
  setColour(1, 2, 3);
  EXPECT_EQ(body("/site/html/"), " BACKGROUND=\"../img/paper.gif\" BGCOLOR=\"#010203\"");
  configuration_.setBackgroundImage("D:\\Pics\\paper.gif");
  EXPECT_EQ(body("/site/html/"), " BACKGROUND=\"D:\\Pics\\paper.gif\" BGCOLOR=\"#010203\"");
  configuration_.setBackgroundImage("/site/a\"b&c.gif");  // a name that would break the attribute
  EXPECT_EQ(body("/site/"), " BACKGROUND=\"a&quot;b&amp;c.gif\" BGCOLOR=\"#010203\"");
}

}  // namespace
}  // namespace quillet
