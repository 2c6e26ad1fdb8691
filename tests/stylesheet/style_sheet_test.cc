#include "stylesheet/style_sheet.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "stylesheet/captured_messages.h"

namespace quillet {
namespace {

using Tokens = std::vector<std::string>;

class StyleSheetTest : public ::testing::Test {
 protected:
  StyleSheet html(std::string_view text) { return StyleSheet::fromText("main.html", text); }
  StyleSheet rtf(std::string_view text) { return StyleSheet::fromText("main.rtf", text); }

  CapturedMessages messages_;
};

TEST_F(StyleSheetTest, FileWithoutCommandsIsOneTextSection) {
  const StyleSheet sheet = html("<html>\r\n<body>name_</body>\r\n</html>\r\n");
  ASSERT_EQ(sheet.sectionCount(), 1u);
  const StyleSheet::Section& section = sheet.section(0);
  EXPECT_EQ(section.kind(), StyleSheet::kText);
  EXPECT_EQ(section.text(), "<html>\n<body>name_</body>\n</html>\n");  // CR LF read as LF
  EXPECT_EQ(section.textTokens().size(), 3u);
  EXPECT_TRUE(section.expression().empty());
  EXPECT_TRUE(section.anchorFree());
  EXPECT_FALSE(sheet.isRTF());
  EXPECT_TRUE(messages_.lines.empty());

  const StyleSheet empty = html("");
  ASSERT_EQ(empty.sectionCount(), 1u);
  EXPECT_EQ(empty.section(0).text(), "");
  EXPECT_TRUE(empty.section(0).textTokens().empty());
}

TEST_F(StyleSheetTest, LoopCommandWithLabelAndText) {
  const StyleSheet sheet = html("head$$(for_each (classes) start L1)<li>name_$$(next L1)tail");
  ASSERT_EQ(sheet.sectionCount(), 3u);
  EXPECT_EQ(sheet.section(0).kind(), StyleSheet::kText);
  EXPECT_EQ(sheet.section(0).text(), "head");
  const StyleSheet::Section& loop = sheet.section(1);
  EXPECT_EQ(loop.kind(), StyleSheet::kForEach);
  EXPECT_EQ(loop.expression(), "classes");
  EXPECT_EQ(loop.expressionTokens(), Tokens{"classes"});
  EXPECT_EQ(loop.label(), "L1");
  EXPECT_EQ(loop.text(), "<li>name_");
  EXPECT_FALSE(loop.anchorFree());  // loops always run in the dictionary pass
  const StyleSheet::Section& next = sheet.section(2);
  EXPECT_EQ(next.kind(), StyleSheet::kNext);
  EXPECT_EQ(next.label(), "L1");
  EXPECT_EQ(next.text(), "tail");
  EXPECT_TRUE(messages_.lines.empty());
}

TEST_F(StyleSheetTest, ExpressionsKeepBlanksOnlyAroundComparisonWords) {
  const StyleSheet sheet = html(
      "$$(for_each (name GT 'M') start L)$$(for_each (a b) start L)$$(if (x))"
      "$$(for_each_if (function_list, function.public && !function.static) start F)");
  ASSERT_EQ(sheet.sectionCount(), 5u);
  EXPECT_EQ(sheet.section(1).expression(), "name GT 'M'");
  EXPECT_EQ(sheet.section(1).expressionTokens(), (Tokens{"name", ">", "'M'"}));
  EXPECT_EQ(sheet.section(2).expression(), "ab");
  EXPECT_EQ(sheet.section(3).kind(), StyleSheet::kIf);
  EXPECT_EQ(sheet.section(3).expression(), "x");
  EXPECT_EQ(sheet.section(4).kind(), StyleSheet::kForEachIf);
  EXPECT_EQ(sheet.section(4).expression(), "function_list,function.public&&!function.static");
  EXPECT_EQ(sheet.section(4).label(), "F");
  EXPECT_TRUE(messages_.lines.empty());
}

TEST_F(StyleSheetTest, EveryKeywordAndTheNextForms) {
  const StyleSheet sheet = html(
      "$$(next L1)$$(next)$$(new_file (chapter, x.html, page.html))$$(copy_file (logo.gif))"
      "$$(if ((a GE 1) && (b LE 2)))$$(next A B)");
  ASSERT_EQ(sheet.sectionCount(), 7u);
  EXPECT_EQ(sheet.section(1).kind(), StyleSheet::kNext);
  EXPECT_EQ(sheet.section(1).label(), "L1");
  EXPECT_EQ(sheet.section(2).kind(), StyleSheet::kNext);
  EXPECT_EQ(sheet.section(2).label(), "");
  EXPECT_EQ(sheet.section(3).kind(), StyleSheet::kNewFile);
  EXPECT_EQ(sheet.section(3).expression(), "chapter,x.html,page.html");
  EXPECT_EQ(sheet.section(4).kind(), StyleSheet::kCopyFile);
  EXPECT_EQ(sheet.section(4).expression(), "logo.gif");
  EXPECT_EQ(sheet.section(5).expression(), "(a GE 1)&&(b LE 2)");
  EXPECT_EQ(sheet.section(5).expressionTokens(),
            (Tokens{"(", "a", ">=", "1", ")", "&", "&", "(", "b", "<=", "2", ")"}));
  EXPECT_EQ(sheet.section(6).label(), "B");  // a later label replaces an earlier one
  EXPECT_TRUE(messages_.lines.empty());
}

TEST_F(StyleSheetTest, TabsAndLineBreaksInsideCommands) {
  const StyleSheet sheet = html("$$(for_each\t(class_list)\nstart\tL)x");
  ASSERT_EQ(sheet.sectionCount(), 2u);
  EXPECT_EQ(sheet.section(1).kind(), StyleSheet::kForEach);
  EXPECT_EQ(sheet.section(1).expression(), "class_list");
  EXPECT_EQ(sheet.section(1).label(), "L");
}

TEST_F(StyleSheetTest, SeparatorWithoutParenthesisDropsTheRest) {
  const StyleSheet sheet = html("costs $$ 5, more text that is lost $$(if (x))y");
  ASSERT_EQ(sheet.sectionCount(), 2u);
  EXPECT_EQ(sheet.section(0).text(), "costs ");
  EXPECT_EQ(sheet.section(1).kind(), StyleSheet::kText);
  EXPECT_EQ(sheet.section(1).text(), "");
  ASSERT_EQ(messages_.lines.size(), 1u);
  EXPECT_EQ(
      messages_.lines[0],
      "error(main.html) : unknown template command separator - $$ 5, more text that is lost $$(if (x))y");

  messages_.lines.clear();
  html(std::string("$$x") + std::string(100, 'z'));
  ASSERT_EQ(messages_.lines.size(), 1u);
  EXPECT_EQ(messages_.lines[0],
            "error(main.html) : unknown template command separator - $$x" + std::string(47, 'z'));
}

TEST_F(StyleSheetTest, UnclosedParenthesesDropTheRest) {
  const StyleSheet sheet = html("a$$(if (x) text$$(next L)b");
  ASSERT_EQ(sheet.sectionCount(), 2u);
  EXPECT_EQ(sheet.section(1).text(), "");
  ASSERT_EQ(messages_.lines.size(), 1u);
  EXPECT_EQ(messages_.lines[0], "error(main.html) : missing parentheses in $$(if (x) text$$(next L)b");
}

TEST_F(StyleSheetTest, UnknownKeywordKeepsTheTextAsPlainText) {
  const StyleSheet sheet = html("$$(for_all (x) start L)kept name_");
  ASSERT_EQ(sheet.sectionCount(), 2u);
  EXPECT_EQ(sheet.section(1).kind(), StyleSheet::kText);
  EXPECT_EQ(sheet.section(1).text(), "kept name_");
  ASSERT_EQ(messages_.lines.size(), 1u);
  EXPECT_EQ(messages_.lines[0],
            "error(main.html) : unknown template command for_all in expression for_all (x) start L");
}

TEST_F(StyleSheetTest, WordOtherThanStartIsReportedAndTheKindKept) {
  const StyleSheet sheet = html("$$(for_each (x) begin L)t");
  ASSERT_EQ(sheet.sectionCount(), 2u);
  EXPECT_EQ(sheet.section(1).kind(), StyleSheet::kForEach);
  EXPECT_EQ(sheet.section(1).label(), "L");
  ASSERT_EQ(messages_.lines.size(), 1u);
  EXPECT_EQ(messages_.lines[0],
            "error(main.html) : unknown template command begin in expression for_each (x) begin L");
}

TEST_F(StyleSheetTest, FixedTextSetsOpeningAndClosing) {
  const StyleSheet sheet = html("a$$(<PRE>fixed_text</PRE>)b");
  ASSERT_EQ(sheet.sectionCount(), 2u);
  EXPECT_EQ(sheet.fixedTextOpening(), "<PRE>");
  EXPECT_EQ(sheet.fixedTextClosing(), "</PRE>");
  EXPECT_EQ(sheet.section(1).kind(), StyleSheet::kText);
  EXPECT_EQ(sheet.section(1).text(), "b");
  EXPECT_TRUE(sheet.section(1).expression().empty());
  EXPECT_TRUE(messages_.lines.empty());
}

TEST_F(StyleSheetTest, RtfCommandSplitAcrossGroupsIsRepaired) {
  const StyleSheet sheet = rtf("{\\rtf1 {\\b $$(for_each (cla}{\\i sses) start L)name_}\r\n}");
  EXPECT_TRUE(sheet.isRTF());
  ASSERT_EQ(sheet.sectionCount(), 2u);
  const StyleSheet::Section& loop = sheet.section(1);
  EXPECT_EQ(loop.kind(), StyleSheet::kForEach);
  EXPECT_EQ(loop.expression(), "classes");
  EXPECT_EQ(loop.label(), "L");
  EXPECT_EQ(sheet.section(0).text(), "{\\rtf1 {\\b }{");
  EXPECT_EQ(loop.text(), "}{name_}}");
  ASSERT_EQ(loop.textTokens().size(), 3u);
  EXPECT_EQ(loop.textTokens()[1].name, "name");
  EXPECT_TRUE(messages_.lines.empty());
}

TEST_F(StyleSheetTest, RtfLineBreaksVanishEvenInsideCommands) {
  const StyleSheet sheet = rtf("x$$(for_ea\r\nch (class\nes) st\nart L)a\nb");
  ASSERT_EQ(sheet.sectionCount(), 2u);
  EXPECT_EQ(sheet.section(1).kind(), StyleSheet::kForEach);
  EXPECT_EQ(sheet.section(1).expression(), "classes");
  EXPECT_EQ(sheet.section(1).text(), "ab");
}

TEST_F(StyleSheetTest, RtfLineBreakAfterAControlWordStillDelimitsIt) {
  // Deleting these breaks would make "\\parText" and "\\b01" of them, losing the paragraph and the text.
  EXPECT_EQ(rtf("{\\par\r\nText\\b0\n1\\i\n-\\fs20\n\\par\n}").section(0).text(),
            "{\\par Text\\b0 1\\i -\\fs20 \\par }");
  // Not control words: an escaped backslash before letters, a control symbol, plain text.
  EXPECT_EQ(rtf("\\\\par\nX \\~\nY wo\nrd").section(0).text(), "\\\\parX \\~Y word");
}

TEST_F(StyleSheetTest, UnevenBracesAreReportedAndRepaired) {
  const StyleSheet sheet = rtf("a$$(if (x}))b");
  ASSERT_EQ(sheet.sectionCount(), 2u);
  EXPECT_EQ(sheet.section(1).expression(), "x");
  EXPECT_EQ(sheet.section(0).text(), "a}{");
  EXPECT_EQ(sheet.section(1).text(), "}{b");
  ASSERT_EQ(messages_.lines.size(), 1u);
  EXPECT_EQ(messages_.lines[0], "error(main.rtf) : mismatched RTF scope '{' or '}' in command if (x}).");
}

TEST_F(StyleSheetTest, PanoseGroupsLeaveEveryLiteralText) {
  const StyleSheet sheet = html("a{\\*\\panose 020b0604020202020204}b$$(if (x))c{\\*\\panose 01}d");
  EXPECT_EQ(sheet.section(0).text(), "a b");
  EXPECT_EQ(sheet.section(1).text(), "c d");
}

TEST_F(StyleSheetTest, AnchorReferencesMakeASectionAnchorBearing) {
  const StyleSheet sheet =
      html("anchor_$$(if (x))anchor_+$$(if (y))anchor_(class)$$(if (z))link_to_ anchors_");
  ASSERT_EQ(sheet.sectionCount(), 4u);
  EXPECT_FALSE(sheet.section(0).anchorFree());
  EXPECT_FALSE(sheet.section(1).anchorFree());
  EXPECT_FALSE(sheet.section(2).anchorFree());
  EXPECT_TRUE(sheet.section(3).anchorFree());
}

TEST_F(StyleSheetTest, ExtensionDecidesRtfIgnoringCase) {
  EXPECT_TRUE(StyleSheet::fromText("x/Main.RTF", "").isRTF());
  EXPECT_FALSE(StyleSheet::fromText("x.rtf/main", "").isRTF());
  EXPECT_FALSE(StyleSheet::fromText("main.rtfx", "").isRTF());
  // HTML keeps its line breaks.
  EXPECT_EQ(html("a\nb").section(0).text(), "a\nb");
}

TEST_F(StyleSheetTest, HostileInputIsBoundedAndKept) {
  const auto start = std::chrono::steady_clock::now();
  // A command whose parentheses never close, a megabyte long.
  html("$$" + std::string(1 << 20, '('));
  EXPECT_EQ(messages_.lines.size(), 1u);

  // More commands than a style sheet may hold: the rest is kept as text and reported once.
  std::string many;
  for (size_t i = 0; i < StyleSheet::kMaxSections + 10; ++i) many += "$$(if (x))y";
  messages_.lines.clear();
  const StyleSheet sheet = html(many);
  EXPECT_EQ(sheet.sectionCount(), StyleSheet::kMaxSections + 1);
  EXPECT_EQ(sheet.section(sheet.sectionCount() - 1).text().substr(0, 11), "$$(if (x))y");
  EXPECT_EQ(messages_.lines.size(), 1u);

  // More references than a style sheet may hold: none is lost, the excess stays literal text.
  std::string references;
  for (size_t i = 0; i < StyleSheet::kMaxTokens; ++i) references += "a_ ";
  messages_.lines.clear();
  const StyleSheet crowded = html(references);
  const auto& tokens = crowded.section(0).textTokens();
  EXPECT_LE(tokens.size(), StyleSheet::kMaxTokens + 1);
  std::string rebuilt;
  for (const SectionToken& token : tokens)
    rebuilt += token.kind == SectionToken::kLiteral ? token.name : token.name + "_";
  EXPECT_EQ(rebuilt, references);
  EXPECT_EQ(messages_.lines.size(), 1u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace
}  // namespace quillet
