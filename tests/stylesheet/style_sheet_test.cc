#include "stylesheet/style_sheet.h"

#include <gtest/gtest.h>

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

TEST_F(StyleSheetTest, CommandsWithTheirTexts) {
  const StyleSheet sheet = html(
      "head$$(for_each (classes) start L1)<li>name_$$(next L1)tail$$(next)$$(if ((a GE 1) && (b LE 2)))"
      "$$(for_each (name GT 'M') start L)$$(for_each\t(a b)\nstart\tX)$$(new_file (chapter, x.html, p.html))"
      "$$(copy_file (logo.gif))$$(next A B)");
  ASSERT_EQ(sheet.sectionCount(), 10u);
  const StyleSheet::Section& loop = sheet.section(1);
  EXPECT_EQ(loop.kind(), StyleSheet::kForEach);
  EXPECT_EQ(loop.expression(), "classes");
  EXPECT_EQ(loop.label(), "L1");
  EXPECT_EQ(loop.text(), "<li>name_");
  EXPECT_EQ(sheet.section(2).label(), "L1");
  EXPECT_EQ(sheet.section(2).text(), "tail");
  EXPECT_EQ(sheet.section(4).kind(), StyleSheet::kIf);
  EXPECT_EQ(sheet.section(4).expression(), "(a GE 1)&&(b LE 2)");
  EXPECT_EQ(sheet.section(4).expressionTokens(),
            (Tokens{"(", "a", ">=", "1", ")", "&", "&", "(", "b", "<=", "2", ")"}));
  EXPECT_EQ(sheet.section(5).expression(), "name GT 'M'");  // blanks kept only around comparison words
  EXPECT_EQ(sheet.section(5).expressionTokens(), (Tokens{"name", ">", "'M'"}));
  EXPECT_EQ(sheet.section(6).expression(), "ab");
  EXPECT_EQ(sheet.section(6).label(), "X");
  EXPECT_EQ(sheet.section(7).kind(), StyleSheet::kNewFile);
  EXPECT_EQ(sheet.section(7).expression(), "chapter,x.html,p.html");
  EXPECT_EQ(sheet.section(9).label(), "B");  // a later label replaces an earlier one
  EXPECT_TRUE(messages_.lines.empty());
}

TEST_F(StyleSheetTest, TextWithoutCommandsIsOneSection) {
  const StyleSheet sheet = html("<html>\r\n<p>name_</p>\r\n</html>");
  ASSERT_EQ(sheet.sectionCount(), 1u);
  EXPECT_EQ(sheet.section(0).kind(), StyleSheet::kText);
  EXPECT_EQ(sheet.section(0).text(), "<html>\n<p>name_</p>\n</html>");  // CR LF read as LF
}

TEST_F(StyleSheetTest, FaultsAreReportedOnceWithTheirText) {
  // A separator without "(" and unclosed parentheses each drop the rest of the file.
  EXPECT_EQ(html("costs $$ 5$$(if (x))y").sectionCount(), 2u);
  EXPECT_EQ(html("a$$(if (x) text$$(next L)b").section(1).text(), "");
  html("$$x" + std::string(100, 'z'));
  // An unknown keyword keeps its text as plain text; a word other than "start" keeps the kind.
  const StyleSheet unknown = html("$$(for_all (x) start L)kept$$(for_each (x) begin L)");
  EXPECT_EQ(unknown.section(1).kind(), StyleSheet::kText);
  EXPECT_EQ(unknown.section(1).text(), "kept");
  EXPECT_EQ(unknown.section(2).kind(), StyleSheet::kForEach);
  const Tokens expected{
      "error(main.html) : unknown template command separator - $$ 5$$(if (x))y",
      "error(main.html) : missing parentheses in $$(if (x) text$$(next L)b",
      "error(main.html) : unknown template command separator - $$x" + std::string(47, 'z'),
      "error(main.html) : unknown template command for_all in expression for_all (x) start L",
      "error(main.html) : unknown template command begin in expression for_each (x) begin L"};
  EXPECT_EQ(messages_.lines, expected);
}

TEST_F(StyleSheetTest, FixedTextSetsOpeningAndClosing) {
  const StyleSheet sheet = html("a$$(<PRE>fixed_text</PRE>)b");
  EXPECT_EQ(sheet.fixedTextOpening(), "<PRE>");
  EXPECT_EQ(sheet.fixedTextClosing(), "</PRE>");
  EXPECT_EQ(sheet.section(1).kind(), StyleSheet::kText);
  EXPECT_EQ(sheet.section(1).text(), "b");
}

TEST_F(StyleSheetTest, RtfCommandSplitAcrossGroupsIsRepaired) {
  const StyleSheet sheet = rtf("{\\rtf1 {\\b $$(for_each (cla}{\\i sses) st\r\nart L)name_}\r\n}");
  ASSERT_EQ(sheet.sectionCount(), 2u);
  EXPECT_EQ(sheet.section(1).expression(), "classes");
  EXPECT_EQ(sheet.section(1).label(), "L");
  EXPECT_EQ(sheet.section(0).text(), "{\\rtf1 {\\b }{");
  EXPECT_EQ(sheet.section(1).text(), "}{name_}}");
  EXPECT_TRUE(messages_.lines.empty());

  const StyleSheet uneven = rtf("a$$(if (x}))b");
  EXPECT_EQ(uneven.section(1).expression(), "x");
  EXPECT_EQ(uneven.section(1).text(), "}{b");
  EXPECT_EQ(messages_.lines, Tokens{"error(main.rtf) : mismatched RTF scope '{' or '}' in command if (x})."});
}

TEST_F(StyleSheetTest, RtfLineBreakAfterAControlWordStillDelimitsIt) {
  // Deleting these breaks would make "\\parText" and "\\b01" of them, losing the paragraph and the text.
  EXPECT_EQ(rtf("{\\par\r\nText\\b0\n1\\i\n-\\fs20\n\\par\n}").section(0).text(),
            "{\\par Text\\b0 1\\i -\\fs20 \\par }");
  // Not control words: an escaped backslash before letters, a control symbol, plain text.
  EXPECT_EQ(rtf("\\\\par\nX \\~\nY wo\nrd").section(0).text(), "\\\\parX \\~Y word");
  EXPECT_EQ(html("a\nb").section(0).text(), "a\nb");
}

TEST_F(StyleSheetTest, PanoseGroupsAndAnchorFreeSections) {
  const StyleSheet sheet = html(
      "a{\\*\\panose 020b0604020202020204}b$$(if (x))anchor_+$$(if (y))anchor_(class)"
      "$$(if (z))link_to_ anchors_$$(for_each (l) start L)");
  EXPECT_EQ(sheet.section(0).text(), "a b");
  EXPECT_TRUE(sheet.section(0).anchorFree());
  EXPECT_FALSE(sheet.section(1).anchorFree());
  EXPECT_FALSE(sheet.section(2).anchorFree());
  EXPECT_TRUE(sheet.section(3).anchorFree());
  EXPECT_FALSE(sheet.section(4).anchorFree());  // loops always run in the dictionary pass
}

TEST_F(StyleSheetTest, HostileInputIsBoundedAndKept) {
  html("$$" + std::string(1 << 20, '('));  // parentheses that never close
  EXPECT_EQ(messages_.lines.size(), 1u);

  std::string many;  // more commands than a style sheet may hold: the rest is kept as text
  for (size_t i = 0; i < StyleSheet::kMaxSections + 10; ++i) many += "$$(if (x))y";
  const StyleSheet sheet = html(many);
  EXPECT_EQ(sheet.sectionCount(), StyleSheet::kMaxSections + 1);
  EXPECT_EQ(sheet.section(sheet.sectionCount() - 1).text().substr(0, 11), "$$(if (x))y");

  std::string references;  // more references than it may hold: the excess stays literal text
  for (size_t i = 0; i < StyleSheet::kMaxTokens; ++i) references += "a_ ";
  std::string rebuilt;
  const StyleSheet crowded = html(references);
  for (const SectionToken& token : crowded.section(0).textTokens()) {
    rebuilt += token.kind == SectionToken::kLiteral ? token.name : token.name + "_";
  }
  EXPECT_EQ(rebuilt, references);
  EXPECT_EQ(messages_.lines.size(), 3u);
}

}  // namespace
}  // namespace quillet
