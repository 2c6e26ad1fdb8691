#include "template_objects/markup.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "template_objects/evaluation_context.h"
#include "template_objects/link_lookup.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {
namespace {

// A link index that answers from a fixed table and records every name it was asked for. Names listed in
// `kinds` document that kind of symbol; the others are types.
class FakeLinks final : public LinkLookup {
 public:
  std::string namedLink(const EvaluationContext&, std::string_view key) const override {
    asked.emplace_back(key);
    auto found = links.find(std::string(key));
    return found == links.end() ? std::string() : found->second;
  }
  LinkTarget namedTarget(const EvaluationContext& context, std::string_view key) const override {
    auto kind = kinds.find(std::string(key));
    return {namedLink(context, key), kind == kinds.end() ? LinkKind::kType : kind->second};
  }
  std::map<std::string, std::string> links;
  std::map<std::string, LinkKind> kinds;
  mutable std::vector<std::string> asked;
};

template <typename Write>
std::string capture(Write write) {
  std::ostringstream out;
  write(out);
  return out.str();
}

TEST(MarkupTest, LinksAnchorsAndHotspotsEscapeTheirTextAndAgreeOnNames) {
  // A link needs a period or number sign in its target.
  EXPECT_EQ(capture([](auto& out) { htmlLink(out, "a<b", "Widget"); }), "a&lt;b");
  EXPECT_EQ(capture([](auto& out) { htmlLink(out, "W", "#Widget"); }), "<A HREF=\"#Widget\">W</A>");
  EXPECT_EQ(capture([](auto& out) { htmlLink(out, "x", "widget.html#x"); }),
            "<A HREF=\"widget.html#x\">x</A>");
  EXPECT_EQ(capture([](auto& out) { htmlLink(out, "x", ""); }), "<A HREF=\"\">x</A>");
  // Operator names agree between links and anchors.
  EXPECT_EQ(capture([](auto& out) { htmlLink(out, "operator<<", "a.html#operator<<"); }),
            "<A HREF=\"a.html#operatorltlt\">operator&lt;&lt;</A>");
  EXPECT_EQ(capture([](auto& out) { htmlAnchor(out, "operator<<", "operator<<"); }),
            "<A NAME=\"operatorltlt\">operator&lt;&lt;</A>");
  EXPECT_EQ(capture([](auto& out) { htmlAnchor(out, "q", "a&b\"c>"); }), "<A NAME=\"aampbquotcgt\">q</A>");
  // "&" must stay an ampersand in the URL the browser follows: written as the entity, not as bare "amp;".
  EXPECT_EQ(capture([](auto& out) { htmlFrameLink(out, "a<b", "x.html?p=1&q=<\">", "main"); }),
            "<A HREF=\"x.html?p=1&amp;q=&lt;&quot;&gt;\" TARGET=\"main\">a&lt;b</A>");
  EXPECT_EQ(capture([](auto& out) { helpHotspot(out, "Widget", "c_Widget"); }),
            "{\\uldb Widget\\ulnone\\v c_Widget }");
}

class LinkedTextTest : public ::testing::Test {
 protected:
  /// `text` written as linked text, through the fake link index unless `withIndex` is false.
  std::string linked(std::string_view text, std::string_view classContext, const StyleSheetFilter& filter,
                     bool withIndex = true, LinkWords words = LinkWords::kAll) {
    EvaluationContext context;
    context.filter = &filter;
    context.linkIndex = withIndex ? &links_ : nullptr;
    std::ostringstream out;
    writeLinkedText(context, out, text, classContext, words);
    return out.str();
  }
  /// The words of `text` that became links, each as "word>target".
  std::vector<std::string> linksIn(std::string_view text, std::string_view classContext, LinkWords words) {
    const std::string written = linked(text, classContext, html_, true, words);
    std::vector<std::string> found;
    for (size_t at = written.find("<A HREF=\""); at != std::string::npos;
         at = written.find("<A HREF=\"", at + 1)) {
      const size_t target = at + 9;
      const size_t word = written.find('>', target) + 1;
      found.push_back(written.substr(word, written.find('<', word) - word) + ">" +
                      written.substr(target, written.find('"', target) - target));
    }
    return found;
  }

  FakeLinks links_;
  HTMLStyleSheetFilter html_;
  RTFStyleSheetFilter rtf_;
};

TEST_F(LinkedTextTest, LooksUpQualifiedNamesThenTheClassContextsThenTheWord) {
  links_.links["Base"] = "base.html#c_Base";
  links_.links["Derived::Run"] = "derived.html#f_Run";
  EXPECT_EQ(linked("derived from Base::Run()", "Derived", html_),
            "derived from <A HREF=\"base.html#c_Base\">Base</A>::<A HREF=\"derived.html#f_Run\">Run</A>()");
  const std::vector<std::string> expected{"Derived::derived", "derived", "Derived::from", "from",
                                          "Derived::Base",    "Base",    "Base::Run",     "Derived::Run"};
  EXPECT_EQ(links_.asked, expected);  // a word found in the class context is not looked up alone
  // Nested classes: the enclosing classes in turn; a class's own name there is the class, not its
  // constructor.
  links_.asked.clear();
  linked("Inner x", "Outer::Inner", html_);
  EXPECT_EQ(links_.asked,
            (std::vector<std::string>{"Outer::Inner", "Inner", "Outer::Inner::x", "Outer::x", "x"}));
}

TEST_F(LinkedTextTest, ProseLinksTypesAndOtherSymbolsOnlyWhereWrittenAsCode) {
  links_.links = {{"Gadget", "g.html#c_Gadget"},     {"Gadget::Gadget", "g.html#f_ctor"},
                  {"Gadget::draw", "g.html#f_draw"}, {"Gadget::size", "g.html#f_size"},
                  {"Red", "c.html#et_Red"},          {"A", "m.html#f_A"}};
  for (const char* name : {"Gadget::Gadget", "Gadget::draw", "Gadget::size", "A"})
    links_.kinds[name] = LinkKind::kFunction;
  links_.kinds["Red"] = LinkKind::kEnumerator;
  const std::string text = "A Gadget can draw, see draw() and `size` or Gadget::size; Red `lone' size";
  EXPECT_EQ(linksIn(text, "Gadget", LinkWords::kProse),
            (std::vector<std::string>{"Gadget>g.html#c_Gadget", "draw>g.html#f_draw", "size>g.html#f_size",
                                      "Gadget>g.html#c_Gadget", "size>g.html#f_size"}));
  EXPECT_EQ(linksIn(text, "Gadget", LinkWords::kTypes),
            (std::vector<std::string>{"Gadget>g.html#c_Gadget", "Gadget>g.html#c_Gadget"}));
  EXPECT_EQ(linksIn(text, "Gadget", LinkWords::kAll).size(), 9u);
  // A name given whole (a reference) finds any kind, qualified or in the class context.
  EvaluationContext context;
  context.filter = &html_;
  context.linkIndex = &links_;
  EXPECT_EQ(findNamedTarget(context, "draw(int)", "Gadget").link, "g.html#f_draw");
  EXPECT_EQ(findNamedTarget(context, "::Gadget#size", "").link, "g.html#f_size");
  EXPECT_EQ(findNamedTarget(context, "Red", "Gadget").kind, LinkKind::kEnumerator);
  EXPECT_EQ(findNamedTarget(context, "blue", "Gadget").link, "");
}

TEST_F(LinkedTextTest, CutsAtEveryDelimiter) {
  links_.links["W"] = "w.html#W";
  for (char d : std::string(" \t\n`@\"~!#$%^&*()-=+[{]}\\|;:',<.>/?")) {
    const std::string link = "<A HREF=\"w.html#W\">W</A>";
    EXPECT_EQ(linked(std::string("W") + d + "W", "", html_), link + htmlEscape(std::string(1, d)) + link)
        << "delimiter " << static_cast<int>(d);
  }
  // Letters, digits, "_", the bytes of UTF-8 characters and the carriage return belong to words.
  for (std::string text : {"W_W", "W1W", "W\xc3\xa9W", "W\rW"}) {
    links_.asked.clear();
    EXPECT_EQ(linked(text, "", html_), text);
    EXPECT_EQ(links_.asked, std::vector<std::string>{text});
  }
}

TEST_F(LinkedTextTest, ArgumentsWrittenAsASpecializationsLinkToIt) {
  links_.links["Matcher"] = "m.html#c_Matcher";
  links_.links["Matcher<const std::string&>"] = "m.html#c_MatcherLTconst_std_scp_stringRefGT";
  EXPECT_EQ(linked("const Matcher<const std::string&>& m, Matcher<int>", "", html_),
            "const <A HREF=\"m.html#c_MatcherLTconst_std_scp_stringRefGT\">Matcher&lt;const "
            "std::string&amp;&gt;</A>&amp; m, <A HREF=\"m.html#c_Matcher\">Matcher</A>&lt;int&gt;");
  EXPECT_EQ(linked("Matcher<", "", html_), "<A HREF=\"m.html#c_Matcher\">Matcher</A>&lt;");  // unclosed
}

TEST_F(LinkedTextTest, HelpWritesHotspotsPrintedRtfUnderlinedReferences) {
  links_.links["Widget"] = "c_Widget";
  rtf_.setFormat(kWinHelpFormat);
  EXPECT_EQ(linked("{Widget*}\\", "", rtf_), "\\{{\\uldb Widget\\ulnone\\v c_Widget }*\\}\\\\");
  rtf_.setFormat(kRtfFormat);
  EXPECT_EQ(linked("{Widget}", "", rtf_),
            "\\{{\\field{\\*\\fldinst HYPERLINK \\\\l \"c_Widget\"}{\\fldrslt {\\ul Widget}}}\\}");
  EXPECT_EQ(linked("std::vector<int>", "X", html_, false), "std::vector&lt;int&gt;");  // no link index
}

}  // namespace
}  // namespace quillet
