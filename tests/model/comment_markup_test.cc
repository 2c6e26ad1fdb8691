#include "model/comment_markup.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "model/comment_markup_writers.h"
#include "model/comment_output.h"

namespace quillet {
namespace {

class CommentMarkupTest : public ::testing::Test {
 protected:
  std::string html(std::string_view text, std::string_view classContext = "") {
    const EvaluationContext context = output_.html();
    std::ostringstream out;
    HTMLCommentTextBuilder(out, context, classContext).Build(text);
    return out.str();
  }
  std::string rtf(std::string_view text, std::string_view classContext = "") {
    const EvaluationContext context = output_.rtf();
    std::ostringstream out;
    { RTFCommentTextBuilder(out, context, classContext, "\\f2 ", "\\f0 ").Build(text); }
    return out.str();
  }

  CommentOutput output_;
};

TEST(AllowedCommentTagTest, KnowsTheTagsInAnyCase) {
  for (std::string_view tag : {"a", "B", "blockquote", "PlainText", "h6", "hn", "wbr", "bgsound", "img"})
    EXPECT_TRUE(isAllowedCommentTag(tag)) << tag;
  for (std::string_view tag : {"", "script", "style", "iframe", "h7", "sup", "blockquotes", "form", "b "})
    EXPECT_FALSE(isAllowedCommentTag(tag)) << tag;
}

TEST_F(CommentMarkupTest, HtmlCopiesAllowedTagsAndLinksWords) {
  output_.links.links["Foo"] = "foo.html#c_Foo";
  EXPECT_EQ(html("a <b>Foo</b> here"), "a <b><A HREF=\"foo.html#c_Foo\">Foo</A></b> here");
  EXPECT_EQ(html("<UL><Li>one<LI>two</ul>"), "<ul><li>one<li>two</ul>");
  // Words are looked up within the class context first.
  output_.links.links["Shape::draw"] = "shape.html#f_draw";
  EXPECT_EQ(html("calls draw()", "Shape"), "calls <A HREF=\"shape.html#f_draw\">draw</A>()");
}

TEST_F(CommentMarkupTest, HtmlEscapesEverythingElseThatLooksLikeATag) {
  EXPECT_EQ(html("a < b && c > d"), "a &lt; b &amp;&amp; c &gt; d");
  EXPECT_EQ(html("<script>alert(\"x\")</script>"), "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;");
  EXPECT_EQ(html("<<b>x"), "&lt;&lt;b&gt;x");  // the second "<" is text, not the start of a tag
  EXPECT_EQ(html("</x> </ b>"), "&lt;/x&gt; &lt;/ b&gt;");
  EXPECT_EQ(html("vector<int>"), "vector&lt;int&gt;");
}

TEST_F(CommentMarkupTest, HtmlKeepsAttributesAsWritten) {
  EXPECT_EQ(html("<font color=red>x</font>"), "<font color=red>x</font>");
  EXPECT_EQ(html("<FONT COLOR=\"#ff0000\" size=+1>x"), "<font color=\"#ff0000\" size=+1>x");
  EXPECT_EQ(html("<a href=\"my page.html#one\" target=_top>"), "<a href=\"my page.html#one\" target=_top>");
  EXPECT_EQ(html("<font color='red'>"), "<font color='red'>");
  EXPECT_EQ(html("<td\nnowrap width=5 WIDTH=6>"), "<td nowrap width=5>");  // the first value wins
  EXPECT_EQ(html("<td nowrap>"), "<td nowrap>");
  // A ">" inside a quoted value ends the tag; the unfinished attribute is left out.
  EXPECT_EQ(html("<a href=\"x>y"), "<a>y");
}

TEST_F(CommentMarkupTest, HtmlLeavesOutUnfinishedTags) {
  // A summary cut at the first full stop may end inside a tag.
  EXPECT_EQ(html("see <a href=\"x."), "see ");
  EXPECT_EQ(html("x <b"), "x ");
  EXPECT_EQ(html("x <"), "x ");
  EXPECT_EQ(html("<i>tail"), "<i>tail");
}

TEST_F(CommentMarkupTest, HtmlDropsAttributesThatRunScript) {
  EXPECT_EQ(html("<a href=\"javascript:alert(1)\">x</a>"), "<a>x</a>");
  EXPECT_EQ(html("<a href=JavaScript:alert(1) title=t>"), "<a title=t>");
  EXPECT_EQ(html("<a href=\" java\nscript:alert(1)\">"), "<a>");
  EXPECT_EQ(html("<a href=\"&#106;avascript&#x3A;alert(1)\">"), "<a>");
  EXPECT_EQ(html("<a href=\"java&Tab;script&colon;x\">"), "<a>");
  EXPECT_EQ(html("<img src=x.png onerror=alert(1) ONLOAD=\"f()\">"), "<img src=x.png>");
  // Attributes a browser would cut differently than written could smuggle in a handler.
  EXPECT_EQ(html("<img/onerror=alert(1)>"), "<img>");
  EXPECT_EQ(html("<b title='x>' onmouseover=f() <b>"), "<b>' onmouseover=f() <b>");
  EXPECT_EQ(html("<b title=\"a\"b\">"), "<b title=\"a\">");
  // Links elsewhere and names that merely contain "on" stay.
  EXPECT_EQ(html("<a href=\"javascript.html\" name=one>"), "<a href=\"javascript.html\" name=one>");
  EXPECT_EQ(html("<font color=\"icon:red\">"), "<font color=\"icon:red\">");
}

TEST(SafeCommentAttributeTest, ChecksNamesAndValues) {
  EXPECT_TRUE(isSafeCommentAttribute({"href", "\"a.html\"", false}));
  EXPECT_TRUE(isSafeCommentAttribute({"data-x", "", false}));
  EXPECT_TRUE(isSafeCommentAttribute({"nowrap", "", true}));
  EXPECT_FALSE(isSafeCommentAttribute({"onclick", "", true}));
  EXPECT_FALSE(isSafeCommentAttribute({"", "x", false}));
  EXPECT_FALSE(isSafeCommentAttribute({"a\"b", "x", false}));
  EXPECT_FALSE(isSafeCommentAttribute({"title", "a\tb", false}));
  EXPECT_FALSE(isSafeCommentAttribute({"title", "'a", false}));
  EXPECT_FALSE(isSafeCommentAttribute({"src", "'\x01JAVASCRIPT:x'", false}));
  EXPECT_FALSE(isSafeCommentAttribute({"src", "&#0000106avascript:x", false}));
}

TEST_F(CommentMarkupTest, RtfTurnsTagsIntoGroups) {
  EXPECT_EQ(rtf("<b>bold</b> <i>it</i> <u>u</u>"), "{\\b bold} {\\i it} {\\ul u}");
  EXPECT_EQ(rtf("<code>x</code>"), "{\\f2 x\\f0 }");
  EXPECT_EQ(rtf("<P>next<hr>"), "{\\par next{\\brdrl }}");  // groups left open are closed at the end
  EXPECT_EQ(rtf("<b><i>x</i></b>"), "{\\b {\\i x}}");
  EXPECT_EQ(rtf("<a href=\"x.html\">x</a>"), "{x}");  // attributes mean nothing in RTF
}

TEST_F(CommentMarkupTest, RtfBalancesGroupsWhateverTheTags) {
  EXPECT_EQ(rtf("x</b>y"), "xy");
  EXPECT_EQ(rtf("<i>x"), "{\\i x}");
  EXPECT_EQ(rtf("</code>x"), "\\f0 x");  // the monospace closing is written even without an opening
  EXPECT_EQ(rtf("<b>x</i>y"), "{\\b x}y");
}

TEST_F(CommentMarkupTest, RtfEscapesTextAndBreaksLines) {
  output_.links.links["Widget"] = "c_Widget";
  EXPECT_EQ(rtf("{Widget}\\x\nnext"), "\\{{\\uldb Widget\\ulnone\\v c_Widget }\\}\\\\x\\line next");
  EXPECT_EQ(rtf("a\n\n<script>"), "a\\line \\line <script>");
}

}  // namespace
}  // namespace quillet
