#include "model/comment_cleanup.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

TEST(CommentCleanupTest, ExpandsTabsFromTheLineStart) {
  EXPECT_EQ(expandTabs("\tx\nab\tc\nabcd\te", 4), "    x\nab  c\nabcd    e");
  EXPECT_EQ(expandTabs("\tx", 0), "        x");      // no tab size set: eight
  EXPECT_EQ(expandTabs("a\r\nb\rc", 4), "a\nb\rc");  // CR LF read as LF; a lone CR stays
}

TEST(CommentCleanupTest, BlanksMarkersAtLineEndsAndKeepsAlignment) {
  const std::pair<std::string, std::string> cases[] = {
      // The body of a Javadoc block as the scanner hands it over, then the same with its delimiters.
      {"*\n * Draws.\n *\n *     example\n ", " \n   Draws.\n  \n       example\n "},
      {"/*\n * x\n */", "  \n   x\n   "},
      {"/** Brief. */", "    Brief.   "},
      {"***** Title *****", "      Title      "},
      {"/ Three slashes.", "  Three slashes."},
      {"path a/b//", "path a/b  "},
      {"a * b / c", "a * b / c"},
      {"*/\n\n/*", "  \n\n  "},
      // Trailing-member and bang markers of another convention; a tag or a plain "<" is text.
      {"/< the x coordinate", "   the x coordinate"},
      {"! Brief.", "  Brief."},
      {"!< the y", "   the y"},
      {"!= is text", "!= is text"},
      {"*! Brief.", "   Brief."},
      {"/<b>bold</b>", " <b>bold</b>"},
      {"< 5 is small", "< 5 is small"},
      {"x < y", "x < y"},
      // A URL or path ending a line keeps its slash; decorations do not.
      {"/ see https://example.org/", "  see https://example.org/"},
      {"/ a //", "  a   "},
  };
  for (auto [text, expected] : cases) {
    blankCommentMarkers(text);
    EXPECT_EQ(text, expected);
  }
  // Markers longer than a chunk; with Markdown, stars right before the first word open emphasis.
  std::string rule = "//////////////////// x ////////////////////";
  blankCommentMarkers(rule);
  EXPECT_EQ(rule, std::string(21, ' ') + "x" + std::string(21, ' '));
  std::string note = " * /**Note** it\n ***\n**x**";
  blankCommentMarkers(note, true);
  EXPECT_EQ(note, "    **Note** it\n    \n**x**");
}

TEST(CommentCleanupTest, TakesOutDirectives) {
  // Directives written back to back are all found.
  std::string text =
      "Shared. $$(assign, Foo::bar)$$(assign,B) x $$(assign Foo::baz) $$(copy, X) $$(assign, y";
  const CommentDirectives found = extractDirectives(text, "src/a.h");
  EXPECT_EQ(text, "Shared.  x   $$(assign, y");  // an unclosed directive stays
  EXPECT_EQ(found.targets, (std::vector<std::string>{"Foo::bar", "B"}));
  EXPECT_EQ(found.errors, (std::vector<std::string>{
                              "error:(src/a.h) cannot find comment directive in: assignFoo::baz.",
                              "error:(src/a.h) invalid comment directive in: copy,X. Must be assign.",
                          }));
  text = "$$(assign,f(int,int))";  // the directive ends at the first ")"
  EXPECT_EQ(extractDirectives(text, "a.h").targets, std::vector<std::string>{"f(int,int"});
  EXPECT_EQ(text, ")");
}

}  // namespace
}  // namespace quillet
