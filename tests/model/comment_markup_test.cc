#include "model/comment_markup.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "model/comment_markup_writers.h"
#include "model/model_test_support.h"

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
  std::string rtf(std::string_view text) {
    const EvaluationContext context = output_.rtf();
    std::ostringstream out;
    RTFCommentTextBuilder(out, context, "", "\\f2 ", "\\f0 ").Build(text);
    return out.str();
  }

  CommentOutput output_;
};

TEST(AllowedCommentTagTest, KnowsTheTagsInAnyCase) {
  for (std::string_view tag : {"a", "B", "blockquote", "PlainText", "h6", "hn", "wbr", "bgsound", "img"})
    EXPECT_TRUE(isAllowedCommentTag(tag)) << tag;
  for (std::string_view tag : {"", "script", "iframe", "h7", "sup", "blockquotes", "b "})
    EXPECT_FALSE(isAllowedCommentTag(tag)) << tag;
}

TEST_F(CommentMarkupTest, HtmlCopiesAllowedTagsLinksWordsAndEscapesTheRest) {
  output_.links["Foo"] = "foo.html#c_Foo";
  output_.links["Shape::draw"] = "shape.html#f_draw";
  EXPECT_EQ(html("a <b>Foo</b> here"), "a <b><A HREF=\"foo.html#c_Foo\">Foo</A></b> here");
  EXPECT_EQ(html("calls draw()", "Shape"), "calls <A HREF=\"shape.html#f_draw\">draw</A>()");
  EXPECT_EQ(html("<UL><Li>one</ul>"), "<ul><li>one</ul>");
  EXPECT_EQ(html("a < b && c > d"), "a &lt; b &amp;&amp; c &gt; d");
  EXPECT_EQ(html("<script>f(\"x\")</script>"), "&lt;script&gt;f(&quot;x&quot;)&lt;/script&gt;");
  EXPECT_EQ(html("<<b>x </x> </ b>"), "&lt;&lt;b&gt;x &lt;/x&gt; &lt;/ b&gt;");
  // A tag that must be closed and is not is text: template arguments, an unfinished strike-through.
  EXPECT_EQ(html("std::basic_string<char_t<S>> <i>x <br>"),
            "std::basic_string&lt;char_t&lt;S&gt;&gt; &lt;i&gt;x <br>");
  EXPECT_EQ(html("<ul><li><s>a</s></ul></s>"), "<ul><li><s>a</s></ul></s>");
  // A tag still open at the end (a summary may be cut inside one) is left out with its "<".
  EXPECT_EQ(html("see <a href=\"x."), "see ");
  EXPECT_EQ(html("x <"), "x ");
}

TEST_F(CommentMarkupTest, HtmlKeepsAttributesAsWritten) {
  EXPECT_EQ(html("<font color=red>x</font>"), "<font color=red>x</font>");
  EXPECT_EQ(html("<FONT COLOR=\"#ff0000\" size=+1></font>"), "<font color=\"#ff0000\" size=+1></font>");
  EXPECT_EQ(html("<a href=\"my page.html#one\" target=_top></a>"),
            "<a href=\"my page.html#one\" target=_top></a>");
  EXPECT_EQ(html("<font color='red'></font>"), "<font color='red'></font>");
  EXPECT_EQ(html("<td\nnowrap width=5 WIDTH=6>"), "<td nowrap width=5>");  // the first value wins
  EXPECT_EQ(html("<a href=\"x>y</a>"), "<a>y</a>");  // ">" inside quotes ends the tag, without the attribute
}

TEST_F(CommentMarkupTest, HtmlDropsAttributesThatRunScript) {
  EXPECT_EQ(html("<a href=\"javascript:alert(1)\">x</a>"), "<a>x</a>");
  EXPECT_EQ(html("<a href=JavaScript:alert(1) title=t></a>"), "<a title=t></a>");
  EXPECT_EQ(html("<a href=\" java\nscript:f()\"></a>"), "<a></a>");
  EXPECT_EQ(html("<a href=\"&#106;avascript&#x3A;f()\"><a href=\"java&Tab;script&colon;x\"></a></a>"),
            "<a><a></a></a>");
  EXPECT_EQ(html("<img src=x.png onerror=alert(1) ONLOAD=\"f()\">"), "<img src=x.png>");
  // Attributes a browser would cut differently than written could smuggle a handler in.
  EXPECT_EQ(html("<img/onerror=alert(1)>"), "<img>");
  EXPECT_EQ(html("<b title='x>' onmouseover=f() </b>"), "<b>' onmouseover=f() </b>");
  EXPECT_FALSE(isSafeCommentAttribute({"title", "a\tb", false}));
  EXPECT_FALSE(isSafeCommentAttribute({"src", "'\x01JAVASCRIPT:x'", false}));
  // Other links and names that merely contain "on" stay.
  EXPECT_EQ(html("<a href=\"javascript.html\" name=one></a>"), "<a href=\"javascript.html\" name=one></a>");
}

TEST_F(CommentMarkupTest, RtfTurnsTagsIntoBalancedGroups) {
  EXPECT_EQ(rtf("<b>bold</b> <i>it</i> <u>u</u>"), "{\\b bold} {\\i it} {\\ul u}");
  EXPECT_EQ(rtf("<code>x</code>"), "{\\f2 x\\f0 }");
  EXPECT_EQ(rtf("<b><i>x</i></b><a href=\"x.html\">y</a>"), "{\\b {\\i x}}{y}");
  // Unbalanced tags: a stray closing tag writes no "}", groups left open are closed at the end.
  EXPECT_EQ(rtf("x</b>y"), "xy");
  EXPECT_EQ(rtf("<P>next<hr>"), "{\\par next{\\brdrl }}");
  EXPECT_EQ(rtf("</code><b>x</i>y</b>"), "{\\b x}y");
  // The monospace closing goes with the group its opening began, so fixed text with braces stays balanced.
  EXPECT_EQ(rtf("<code>x</b><pre>y</pre></code>"), "{\\f2 x\\f0 }{\\f2 y\\f0 }");
  EXPECT_EQ(rtf("<b>x</code></b>"), "{\\b x}");
}

TEST_F(CommentMarkupTest, RtfEscapesTextAndBreaksLines) {
  output_.links["Widget"] = "c_Widget";
  EXPECT_EQ(rtf("{Widget}\\x\nnext\n<script>"),
            "\\{{\\uldb Widget\\ulnone\\v c_Widget }\\}\\\\x\\line next\\line <script>");
}

}  // namespace
}  // namespace quillet
