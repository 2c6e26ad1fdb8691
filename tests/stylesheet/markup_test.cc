#include "stylesheet/markup.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "stylesheet/evaluation_context.h"
#include "stylesheet/link_lookup.h"
#include "stylesheet/style_sheet_filter.h"

namespace quillet {
namespace {

// A link index that answers from a fixed table and records every name it was asked for.
class FakeLinks final : public LinkLookup {
 public:
  std::string namedLink(const EvaluationContext&, std::string_view key) const override {
    asked.emplace_back(key);
    auto found = links.find(std::string(key));
    return found == links.end() ? std::string() : found->second;
  }
  std::map<std::string, std::string> links;
  mutable std::vector<std::string> asked;
};

template <typename Write>
std::string capture(Write write) {
  std::ostringstream out;
  write(out);
  return out.str();
}

TEST(HtmlLinkTest, TargetsWithoutPeriodOrNumberSignLinkNothing) {
  EXPECT_EQ(capture([](auto& out) { htmlLink(out, "Widget", "Widget"); }), "Widget");
  EXPECT_EQ(capture([](auto& out) { htmlLink(out, "a<b", "Widget"); }), "a&lt;b");
  EXPECT_EQ(capture([](auto& out) { htmlLink(out, "Widget", "#Widget"); }), "<A HREF=\"#Widget\">Widget</A>");
  EXPECT_EQ(capture([](auto& out) { htmlLink(out, "x", "widget.html#x"); }),
            "<A HREF=\"widget.html#x\">x</A>");
  EXPECT_EQ(capture([](auto& out) { htmlLink(out, "x", ""); }), "<A HREF=\"\">x</A>");
}

TEST(HtmlLinkTest, OperatorNamesAgreeBetweenLinksAndAnchors) {
  EXPECT_EQ(capture([](auto& out) { htmlLink(out, "operator<<", "a.html#operator<<"); }),
            "<A HREF=\"a.html#operatorltlt\">operator&lt;&lt;</A>");
  EXPECT_EQ(capture([](auto& out) { htmlAnchor(out, "operator<<", "operator<<"); }),
            "<A NAME=\"operatorltlt\">operator&lt;&lt;</A>");
  EXPECT_EQ(capture([](auto& out) { htmlAnchor(out, "q", "a&b\"c>"); }), "<A NAME=\"aampbquotcgt\">q</A>");
  EXPECT_EQ(capture([](auto& out) { htmlAnchor(out, "", ""); }), "<A NAME=\"\"></A>");
}

TEST(HtmlLinkTest, FrameLinkEscapesItsUrlAsAnAttribute) {
  EXPECT_EQ(capture([](auto& out) { htmlFrameLink(out, "main.cpp", "index.html#src_main_cpp", "main"); }),
            "<A HREF=\"index.html#src_main_cpp\" TARGET=\"main\">main.cpp</A>");
  // "&" must stay an ampersand in the URL the browser follows: written as the entity, not as bare "amp;".
  EXPECT_EQ(capture([](auto& out) { htmlFrameLink(out, "a<b", "x.html?p=1&q=<\">", "f\""); }),
            "<A HREF=\"x.html?p=1&amp;q=&lt;&quot;&gt;\" TARGET=\"f&quot;\">a&lt;b</A>");
}

TEST(HtmlLinkTest, HelpHotspotHidesTheTopic) {
  EXPECT_EQ(capture([](auto& out) { helpHotspot(out, "Widget", "c_Widget"); }),
            "{\\uldb Widget\\ulnone\\v c_Widget }");
}

class LinkedTextTest : public ::testing::Test {
 protected:
  std::string linked(std::string_view text, std::string_view classContext, const StyleSheetFilter& filter) {
    EvaluationContext context;
    context.filter = &filter;
    context.linkIndex = &links_;
    std::ostringstream out;
    writeLinkedText(context, out, text, classContext);
    return out.str();
  }

  FakeLinks links_;
  HTMLStyleSheetFilter html_;
  RTFStyleSheetFilter rtf_;
};

TEST_F(LinkedTextTest, LooksUpEachWordInClassContextFirst) {
  links_.links["Base"] = "base.html#c_Base";
  links_.links["Derived::Run"] = "derived.html#f_Run";
  EXPECT_EQ(linked("derived from Base::Run()", "Derived", html_),
            "derived from <A HREF=\"base.html#c_Base\">Base</A>::<A HREF=\"derived.html#f_Run\">Run</A>()");
  const std::vector<std::string> expected{"Derived::derived", "derived", "Derived::from", "from",
                                          "Derived::Base",    "Base",    "Derived::Run"};
  EXPECT_EQ(links_.asked, expected);  // a word found in the class context is not looked up alone
}

TEST_F(LinkedTextTest, WithoutClassContextLooksUpTheWordAlone) {
  links_.links["Run"] = "r.html#f_Run";
  EXPECT_EQ(linked("Run", "", html_), "<A HREF=\"r.html#f_Run\">Run</A>");
  EXPECT_EQ(links_.asked, std::vector<std::string>{"Run"});
}

TEST_F(LinkedTextTest, CutsAtEveryDelimiter) {
  links_.links["W"] = "w.html#W";
  const std::string delimiters = " \t\n`@\"~!#$%^&*()-=+[{]}\\|;:',<.>/?";
  for (char d : delimiters) {
    links_.asked.clear();
    const std::string text = std::string("W") + d + "W";
    std::ostringstream expected_out;
    expected_out << "<A HREF=\"w.html#W\">W</A>" << htmlEscape(std::string(1, d))
                 << "<A HREF=\"w.html#W\">W</A>";
    EXPECT_EQ(linked(text, "", html_), expected_out.str()) << "delimiter " << static_cast<int>(d);
    EXPECT_EQ(links_.asked.size(), 2u) << "delimiter " << static_cast<int>(d);
  }
  // Letters, digits, "_" and the bytes of UTF-8 characters are word characters.
  for (std::string text : {"W_W", "W1W", "W\xc3\xa9W", "W\rW"}) {
    links_.asked.clear();
    EXPECT_EQ(linked(text, "", html_), text);
    EXPECT_EQ(links_.asked, std::vector<std::string>{text});
  }
}

TEST_F(LinkedTextTest, RtfWritesHotspotsAndEscapesDelimiters) {
  links_.links["Widget"] = "c_Widget";
  EXPECT_EQ(linked("{Widget*}\\", "", rtf_), "\\{{\\uldb Widget\\ulnone\\v c_Widget }*\\}\\\\");
}

TEST_F(LinkedTextTest, UnlinkedWordsAreEscapedByTheFilter) {
  EXPECT_EQ(linked("a<b> & c", "K", html_), "a&lt;b&gt; &amp; c");
  EXPECT_EQ(linked("", "K", html_), "");
  EXPECT_EQ(links_.asked.size(), 6u);  // a, b, c each in context and alone
}

TEST_F(LinkedTextTest, WithoutLinkIndexOnlyFilters) {
  EvaluationContext context;
  context.filter = &html_;
  std::ostringstream out;
  writeLinkedText(context, out, "std::vector<int>", "X");
  EXPECT_EQ(out.str(), "std::vector&lt;int&gt;");
}

}  // namespace
}  // namespace quillet
