#include "model/comment_cleanup.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

std::string blanked(std::string text) {
  blankCommentMarkers(text);
  return text;
}

TEST(ExpandTabsTest, TabsReachTheNextStopCountedFromTheLineStart) {
  EXPECT_EQ(expandTabs("\tx", 4), "    x");
  EXPECT_EQ(expandTabs("ab\tc\n\td", 4), "ab  c\n    d");
  EXPECT_EQ(expandTabs("abcd\te", 4), "abcd    e");  // a tab at a stop still moves a whole stop
  EXPECT_EQ(expandTabs("\tx", 0), "        x");      // no tab size set: eight
  EXPECT_EQ(expandTabs("a\r\nb\rc", 4), "a\nb\rc");  // CR LF line ends read as LF; a lone CR stays
}

TEST(BlankCommentMarkersTest, BlockCommentBodiesLoseTheirAsterisksButKeepAlignment) {
  // What the scanner hands over for a Javadoc-style block: the body between "/*" and "*/".
  const std::string body =
      "*\n"
      " * Draws the shape.\n"
      " *\n"
      " *     indented example\n"
      " ";
  EXPECT_EQ(blanked(body),
            " \n"
            "   Draws the shape.\n"
            "  \n"
            "       indented example\n"
            " ");
  // A banner with asterisks on both sides, and a line comment written with three slashes.
  EXPECT_EQ(blanked("***** Title *****"), "      Title      ");
  EXPECT_EQ(blanked("/ Returns the size."), "  Returns the size.");
  EXPECT_EQ(blanked("path a/b//"), "path a/b  ");
  // Comments handed over with their delimiters come out clean as well.
  EXPECT_EQ(blanked("/** Brief. */"), "    Brief.   ");
  EXPECT_EQ(blanked("/*\n * x\n */"), "  \n   x\n   ");
  // Markers inside the text and lone characters are left alone; the line length never changes.
  EXPECT_EQ(blanked("a * b / c"), "a * b / c");
  EXPECT_EQ(blanked("x"), "x");
  EXPECT_EQ(blanked(""), "");
  EXPECT_EQ(blanked("*/\n\n/*"), "  \n\n  ");
}

TEST(ExtractDirectivesTest, AssignDirectivesNameTargetsAndLeaveNoTrace) {
  std::string text = "Shared text. $$(assign, Foo::bar) More.";
  CommentDirectives found = extractDirectives(text, "a.h");
  EXPECT_EQ(text, "Shared text.  More.");
  EXPECT_EQ(found.targets, std::vector<std::string>{"Foo::bar"});
  EXPECT_TRUE(found.errors.empty());

  // Two directives, also written back to back, are both taken out.
  text = "$$(assign,A)$$(assign, B) x $$( assign , C )";
  found = extractDirectives(text, "a.h");
  EXPECT_EQ(text, " x ");
  EXPECT_EQ(found.targets, (std::vector<std::string>{"A", "B", "C"}));
}

TEST(ExtractDirectivesTest, BadDirectivesAreReportedAndRemoved) {
  std::string text = "a $$(assign Foo::bar) b $$(copy, X) c";
  const CommentDirectives found = extractDirectives(text, "src/a.h");
  EXPECT_EQ(text, "a  b  c");
  EXPECT_TRUE(found.targets.empty());
  EXPECT_EQ(found.errors, (std::vector<std::string>{
                              "error:(src/a.h) cannot find comment directive in: assignFoo::bar.",
                              "error:(src/a.h) invalid comment directive in: copy,X. Must be assign.",
                          }));

  // Only the text before the first comma must be "assign"; the target keeps any later comma.
  text = "$$(assign,f(int,int))";
  EXPECT_EQ(extractDirectives(text, "a.h").targets, std::vector<std::string>{"f(int,int"});
  EXPECT_EQ(text, ")");
}

TEST(ExtractDirectivesTest, UnclosedDirectivesStayInTheText) {
  std::string text = "$$(assign, x) then $$(assign, y";
  const CommentDirectives found = extractDirectives(text, "a.h");
  EXPECT_EQ(text, " then $$(assign, y");
  EXPECT_EQ(found.targets, std::vector<std::string>{"x"});
  text = "no directive $$ ( here )";
  EXPECT_TRUE(extractDirectives(text, "a.h").targets.empty());
  EXPECT_EQ(text, "no directive $$ ( here )");
}

}  // namespace
}  // namespace quillet
