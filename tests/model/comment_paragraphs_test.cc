#include "model/comment_paragraphs.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace quillet {
namespace {

// The lines of `text` (no line break at its end), as the paragraph cutter hands them over.
std::vector<std::string_view> lines(std::string_view text) {
  std::vector<std::string_view> result;
  size_t begin = 0;
  while (true) {
    const size_t end = text.find('\n', begin);
    result.push_back(text.substr(begin, end == std::string_view::npos ? end : end - begin));
    if (end == std::string_view::npos) return result;
    begin = end + 1;
  }
}

bool preformatted(std::string_view text) {
  return looksPreformatted(lines(text));
}

std::string reflow(std::string_view text, bool capitalize = true) {
  return reflowLines(lines(text), capitalize);
}

std::vector<DocParagraph> build(std::string_view text, ParagraphOptions options = {},
                                std::vector<TagRegion> regions = {}) {
  return buildParagraphs(text, regions, options);
}

DocParagraph flowing(std::string text) {
  return {std::move(text), DocParagraph::kFlowing};
}
DocParagraph kept(std::string text) {
  return {std::move(text), DocParagraph::kPreformatted};
}

TEST(LooksPreformattedTest, CodeTablesAndShortLinesAreKept) {
  EXPECT_TRUE(
      preformatted("Example:\n"
                   "    Shape* s = new Circle(2.0);\n"
                   "    s->draw(canvas);"));
  EXPECT_TRUE(preformatted("width = 10;\nheight = 20;"));
  // A table: most lines are long, but the columns are separated by runs of blanks.
  EXPECT_TRUE(
      preformatted("Mode      Meaning\n"
                   "--------  ----------------------------------\n"
                   "read      open an existing file for reading only\n"
                   "write     create the file or truncate it to zero length"));
}

TEST(LooksPreformattedTest, ProseIsReflowed) {
  EXPECT_FALSE(preformatted(""));
  EXPECT_FALSE(preformatted("x = 1;"));  // one line is never preformatted
  EXPECT_FALSE(
      preformatted("Computes the bounding box of the shape in world coordinates,\n"
                   "taking the current transformation into account as well."));
  // Short lines of nearly equal length are prose that was wrapped early.
  EXPECT_FALSE(
      preformatted("Computes the bounding box of the\n"
                   "shape in world coordinates and\n"
                   "returns it."));
  // The same lines with uneven lengths look laid out by hand.
  EXPECT_TRUE(
      preformatted("Computes the bounding box of the\n"
                   "shape\n"
                   "returns it."));
  // Blanks after a full stop do not count as a gap, up to two more do not either.
  EXPECT_FALSE(
      preformatted("A sentence that is long enough to count as a long line.   Next one\n"
                   "and a second line that is also long enough to be a long line."));
  EXPECT_TRUE(
      preformatted("A sentence that is long enough to count as a long line.    Next one\n"
                   "and a second line that is also long enough to be a long line."));
}

TEST(ReflowLinesTest, JoinsLinesAndCapitalizesSentences) {
  EXPECT_EQ(reflow("the returns the value"), "The returns the value.");
  EXPECT_EQ(reflow("returns the value"), "Returns the value.");
  EXPECT_EQ(reflow("done. next"), "Done. Next.");
  EXPECT_EQ(reflow("  spread   over\n   two    lines  "), "Spread over two lines.");
  EXPECT_EQ(reflow("Is it?"), "Is it?");
  EXPECT_EQ(reflow("see <b>bold</b>"), "See <b>bold</b>");
  EXPECT_EQ(reflow("first: second; third"), "First: second; third.");
  EXPECT_EQ(reflow("done.  two blanks"), "Done. Two blanks.");  // the blanks collapse first
  EXPECT_EQ(reflow("3 items. done"), "3 items. Done.");
  EXPECT_EQ(reflow("the value\nof x", false), "the value of x");
}

TEST(BuildParagraphsTest, BlankLinesSeparateParagraphs) {
  const std::vector<DocParagraph> paragraphs = build(
      "  Draws the shape on the canvas.\n"
      "  \n"
      "  Example:\n"
      "      canvas.clear();\n"
      "      shape.draw(canvas);\n"
      "\n"
      "\n"
      "  the canvas must be open\n");
  EXPECT_EQ(paragraphs, (std::vector<DocParagraph>{
                            flowing("Draws the shape on the canvas."),
                            kept("Example:\n    canvas.clear();\n    shape.draw(canvas);\n"),
                            flowing("The canvas must be open."),
                        }));
  EXPECT_TRUE(build("").empty());
  EXPECT_TRUE(build("   \n \n").empty());
}

TEST(BuildParagraphsTest, AdjacentPreformattedParagraphsMergeAndLoseCommonIndentation) {
  EXPECT_EQ(build("    a = 1;\n    b = 2;\n\n    c = 3;\n    d = 4;"),
            (std::vector<DocParagraph>{kept("a = 1;\nb = 2;\n\nc = 3;\nd = 4;\n")}));
  // A flowing paragraph between them keeps them apart.
  EXPECT_EQ(
      build("  a = 1;\n  b = 2;\n\nthen\n\n  c = 3;\n    d = 4;"),
      (std::vector<DocParagraph>{kept("a = 1;\nb = 2;\n"), flowing("Then."), kept("c = 3;\n  d = 4;\n")}));
}

TEST(BuildParagraphsTest, LevelsAndOptionsChooseTheFormatting) {
  ParagraphOptions options;
  options.level = kFlowLevel;  // parameter comments start here: short lines are reflowed all the same
  EXPECT_EQ(build("x = 1;\ny = 2;", options), (std::vector<DocParagraph>{flowing("X = 1; y = 2;")}));
  options.level = kPreformattedLevel;
  EXPECT_EQ(build("some prose", options), (std::vector<DocParagraph>{kept("some prose\n")}));
  options = {};
  options.capitalize = false;
  EXPECT_EQ(build("some prose", options), (std::vector<DocParagraph>{flowing("some prose")}));
  options.autoFormat = false;  // everything is kept as written (and so merged into one block)
  EXPECT_EQ(build(" one\n\n two", options), (std::vector<DocParagraph>{kept("one\n\ntwo\n")}));
}

TEST(BuildParagraphsTest, TagRegionsRaiseTheLevelOfTheParagraphsTheyReach) {
  const std::string text = "first part\n\nNote: second\n\nthird part";
  const size_t note = text.find("Note");
  // The region of the last tag runs to the end of the text, so it covers the third paragraph too.
  EXPECT_EQ(build(text, {}, {{note, text.size(), kPreformattedLevel}}),
            (std::vector<DocParagraph>{flowing("First part."), kept("Note: second\n\nthird part\n")}));
  // A later tag ends the first one's region; "preserve paragraph breaks" reflows.
  const size_t third = text.find("third");
  EXPECT_EQ(
      build(text, {}, {{0, third, kParagraphBreaksLevel}, {third, text.size(), kAutoLevel}}),
      (std::vector<DocParagraph>{flowing("First part."), flowing("Note: second."), flowing("Third part.")}));
  // A lower level never lowers a paragraph.
  ParagraphOptions options;
  options.level = kPreformattedLevel;
  EXPECT_EQ(build("a\n\nb", options, {{0, 4, kFlowLevel}}), (std::vector<DocParagraph>{kept("a\n\nb\n")}));
}

TEST(TagRegionsTest, EachMatchGovernsTheTextUpToTheNext) {
  CommentTag keep;
  keep.setFormatting(CommentTag::kPreserveAll);
  CommentTag breaks;
  breaks.setFormatting(CommentTag::kPreserveParagraphs);
  const std::vector<TagRegion> regions = tagRegions({{0, 4, 2}, {1, 3, 9}, {7, 1, 20}}, {keep, breaks}, 30);
  ASSERT_EQ(regions.size(), 3u);
  EXPECT_EQ(regions[0].end, 9u);
  EXPECT_EQ(regions[0].level, kPreformattedLevel);
  EXPECT_EQ(regions[1].end, 20u);
  EXPECT_EQ(regions[1].level, kParagraphBreaksLevel);
  EXPECT_EQ(regions[2].end, 30u);
  EXPECT_EQ(regions[2].level, kAutoLevel);  // a tag index outside the list asks for nothing
}

}  // namespace
}  // namespace quillet
