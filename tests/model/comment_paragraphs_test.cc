#include "model/comment_paragraphs.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "model/model_test_support.h"

namespace quillet {
namespace {

std::vector<std::string_view> lines(std::string_view text) {
  std::vector<std::string_view> result;
  for (size_t begin = 0, end = 0; end != std::string_view::npos; begin = end + 1) {
    end = text.find('\n', begin);
    result.push_back(text.substr(begin, end == std::string_view::npos ? end : end - begin));
  }
  return result;
}

std::vector<DocParagraph> build(std::string_view text, ParagraphOptions options = {},
                                std::vector<TagRegion> regions = {}) {
  return buildParagraphs(text, regions, options);
}

TEST(CommentParagraphsTest, TellsLaidOutTextFromProse) {
  for (std::string_view text : {
           "Example:\n    Shape* s = new Circle(2.0);\n    s->draw(canvas);",
           "width = 10;\nheight = 20;",
           "Mode      Meaning\n--------  ----------------------------------\n"
           "read      open an existing file for reading only\nwrite     create the file or truncate it",
           "Computes the bounding box of the\nshape\nreturns it.",
       })
    EXPECT_TRUE(looksPreformatted(lines(text))) << text;
  for (std::string_view text : {
           "x = 1;",  // a single line never is
           "Computes the bounding box of the shape in world coordinates,\nand takes the transformation into "
           "account as well.",
           "Computes the bounding box of the\nshape in world coordinates and\nreturns it.",  // wrapped early
           "A sentence long enough to count as a long line here.   Next\nand a second line that is also long "
           "enough to count.",  // blanks after a full stop are no gap
       })
    EXPECT_FALSE(looksPreformatted(lines(text))) << text;
}

TEST(CommentParagraphsTest, ReflowsAndCapitalizes) {
  EXPECT_EQ(reflowLines(lines("the returns the value"), true), "The returns the value.");
  EXPECT_EQ(reflowLines(lines("done. next"), true), "Done. Next.");
  EXPECT_EQ(reflowLines(lines("  spread   over\n   two  lines  "), true), "Spread over two lines.");
  EXPECT_EQ(reflowLines(lines("is it? see <b>x</b>"), true),
            "Is it? see <b>x</b>");  // only a full stop starts a sentence
  EXPECT_EQ(reflowLines(lines("the value\nof x"), false), "the value of x");
  // Runs of blanks and line breaks at every place of the chunks that are copied at once, across their
  // edges and in the lines' last bytes: each run becomes one blank.
  std::mt19937 random(7);
  for (size_t round = 0; round < 2000; ++round) {
    std::string text;
    std::string expected;
    for (size_t i = 0; i < 20 + round % 47; ++i) {
      const unsigned pick = random() % 24;
      const char c = pick < 4 ? ' ' : pick == 4 ? '\n' : static_cast<char>('a' + pick);
      text += c;
      const bool blank = c == ' ' || c == '\n';
      if (!blank) expected += c;
      if (blank && !expected.empty() && expected.back() != ' ') expected += ' ';
    }
    if (!expected.empty() && expected.back() == ' ') expected.pop_back();
    const std::string_view as_lines[] = {text, text};
    EXPECT_EQ(reflowLines(as_lines, false), expected + " " + expected) << text;
  }
}

TEST(CommentParagraphsTest, CutsAtBlankLinesMergesAndDedentsBlocks) {
  EXPECT_EQ(
      build("  Draws the shape.\n  \n  Example:\n      a.clear();\n      a.draw();\n\n\n  then done\n"),
      (std::vector<DocParagraph>{flowing("Draws the shape."),
                                 kept("Example:\n    a.clear();\n    a.draw();\n"), flowing("Then done.")}));
  EXPECT_EQ(build("    a = 1;\n    b = 2;\n\n    c = 3;\n    d = 4;"),
            (std::vector<DocParagraph>{kept("a = 1;\nb = 2;\n\nc = 3;\nd = 4;\n")}));
  EXPECT_TRUE(build("   \n \n").empty());
}

TEST(CommentParagraphsTest, LevelsComeFromTheCommentTheTagsAndTheOptions) {
  ParagraphOptions options;
  options.level = kFlowLevel;  // parameter comments: short lines are reflowed all the same
  EXPECT_EQ(build("x = 1;\ny = 2;", options), (std::vector<DocParagraph>{flowing("X = 1; y = 2;")}));
  options = {};
  options.autoFormat = false;
  EXPECT_EQ(build(" one\n\n two", options), (std::vector<DocParagraph>{kept("one\n\ntwo\n")}));

  // A tag's region runs to the next match or the end of the text, reaching every paragraph on the way.
  const std::string text = "first part\n\nNote: second\n\nthird part";
  const size_t note = text.find("Note");
  EXPECT_EQ(build(text, {}, {{note, text.size(), kPreformattedLevel}}),
            (std::vector<DocParagraph>{flowing("First part."), kept("Note: second\n\nthird part\n")}));
  EXPECT_EQ(build("x = 1;\ny = 2;\n\nthen", {}, {{0, 3, kParagraphBreaksLevel}}),
            (std::vector<DocParagraph>{flowing("X = 1; y = 2;"), flowing("Then.")}));

  CommentTag all;
  all.setFormatting(CommentTag::kPreserveAll);
  const std::vector<TagRegion> regions = tagRegions({{0, 4, 2}, {5, 1, 9}}, {all}, 30);
  EXPECT_EQ(regions[0].end, 9u);
  EXPECT_EQ(regions[0].level, kPreformattedLevel);
  EXPECT_EQ(regions[1].level, kAutoLevel);  // a tag index outside the list asks for nothing
}

}  // namespace
}  // namespace quillet
