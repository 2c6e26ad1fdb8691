#include "stylesheet/style_sheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stylesheet/captured_messages.h"
#include "stylesheet/style_sheet_cache.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

using Lines = std::vector<std::string>;

// Every section of `sheet` as "kind(expression)label:text".
Lines sections(const StyleSheet& sheet) {
  static const char* const kinds[] = {"?",           "text",     "next", "for_each",
                                      "for_each_if", "new_file", "if",   "copy_file"};
  Lines result;
  for (size_t i = 0; i < sheet.sectionCount(); ++i) {
    const StyleSheet::Section& s = sheet.section(i);
    result.push_back(std::string(kinds[s.kind()]) + "(" + s.expression() + ")" + s.label() + ":" + s.text());
  }
  return result;
}

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
  EXPECT_EQ(sections(sheet),
            (Lines{"text():head", "for_each(classes)L1:<li>name_", "next()L1:tail",
                   "next():", "if((a GE 1)&&(b LE 2)):", "for_each(name GT 'M')L:", "for_each(ab)X:",
                   "new_file(chapter,x.html,p.html):", "copy_file(logo.gif):",
                   "next()B:"}));  // blanks kept only around comparison words
  EXPECT_EQ(sheet.section(4).expressionTokens(),
            (Lines{"(", "a", ">=", "1", ")", "&", "&", "(", "b", "<=", "2", ")"}));
  EXPECT_EQ(sheet.section(5).expressionTokens(), (Lines{"name", ">", "'M'"}));
  // CR LF read as LF; a fixed_text command sets the opening and closing and leaves its text.
  EXPECT_EQ(sections(html("<html>\r\n<p>name_</p>\r\n</html>")),
            Lines{"text():<html>\n<p>name_</p>\n</html>"});
  const StyleSheet fixed = html("a$$(<PRE>fixed_text</PRE>)b");
  EXPECT_EQ(fixed.fixedTextOpening() + fixed.fixedTextClosing(), "<PRE></PRE>");
  EXPECT_EQ(sections(fixed), (Lines{"text():a", "text():b"}));
  EXPECT_EQ(
      messages_.lines,
      (Lines{"warning(main.html:1) : next without a label closes no loop; outside loops it ends the style "
             "sheet here",
             "warning(main.html:2) : next B closes no loop (a loop's label misspelt, or its loop gone?)"}));
}

TEST_F(StyleSheetTest, SlipsOfStructureAreToldOnceWithTheirLines) {
  const StyleSheet sheet = html(
      "<ul>\n$$(for_each (l) start L)<li>\n$$(next M)\n$$(if (x))a$$(next endif)\n$$(next L)\n"
      "$$(else)\nb$$(if (y))\nrest\nof the file\n");
  EXPECT_EQ(sheet.section(2).line(), 3u);
  EXPECT_EQ(sheet.closingNext(1), 5u);
  EXPECT_EQ(sheet.closingNext(2), sheet.sectionCount());
  EXPECT_EQ(
      messages_.lines,
      (Lines{"error(main.html:6) : else without if: style sheets have no else; write a second if with the "
             "opposite condition",
             "warning(main.html:3) : next M closes no loop (a loop's label misspelt, or its loop gone?)",
             "warning(main.html:7) : if without an end: its text runs to the end of the style sheet; end it "
             "with $$(next endif)"}));
  // RTF drops its line breaks, but the lines are still counted.
  EXPECT_EQ(rtf("{\\rtf1\r\n\\par\r\n$$(for_each (x) start L)}\n").section(1).line(), 3u);
}

TEST_F(StyleSheetTest, FaultsAreReportedOnceWithTheirText) {
  // A separator without "(" and unclosed parentheses each drop the rest of the file.
  EXPECT_EQ(html("costs $$ 5$$(if (x))y").sectionCount(), 2u);
  EXPECT_EQ(html("a$$(if (x) text$$(next L)b").section(1).text(), "");
  html("$$x" + std::string(100, 'z'));
  // An unknown keyword keeps its text as plain text; a word other than "start" keeps the kind.
  EXPECT_EQ(sections(html("$$(for_all (x) start L)kept$$(for_each (x) begin L)")),
            (Lines{"text():", "text(x)L:kept", "for_each(x)L:"}));
  EXPECT_EQ(messages_.lines,
            (Lines{"error(main.html) : unknown template command separator - $$ 5$$(if (x))y",
                   "error(main.html) : missing parentheses in $$(if (x) text$$(next L)b",
                   "error(main.html) : unknown template command separator - $$x" + std::string(47, 'z'),
                   "error(main.html) : unknown template command for_all in expression for_all (x) start L",
                   "error(main.html) : unknown template command begin in expression for_each (x) begin L"}));
}

TEST_F(StyleSheetTest, RtfCommandSplitAcrossGroupsIsRepaired) {
  EXPECT_EQ(sections(rtf("{\\rtf1 {\\b $$(for_each (cla}{\\i sses) st\r\nart L)name_}\r\n}")),
            (Lines{"text():{\\rtf1 {\\b }{", "for_each(classes)L:}{name_}}"}));
  EXPECT_TRUE(messages_.lines.empty());
  EXPECT_EQ(sections(rtf("a$$(if (x}))b"))[1], "if(x):}{b");
  EXPECT_EQ(messages_.lines, Lines{"error(main.rtf) : mismatched RTF scope '{' or '}' in command if (x})."});
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
  std::string anchorFree;  // loops always run in the dictionary pass
  for (size_t i = 0; i < sheet.sectionCount(); ++i) anchorFree += sheet.section(i).anchorFree() ? '1' : '0';
  EXPECT_EQ(anchorFree, "10010");
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
  for (const SectionToken& token : crowded.section(0).textTokens())
    rebuilt += token.kind == SectionToken::kLiteral ? token.name : token.name + "_";
  EXPECT_EQ(rebuilt, references);
  EXPECT_EQ(messages_.lines.size(), 3u);
}

TEST_F(StyleSheetTest, ReadsFilesAndReportsThoseItCannotRead) {
  const std::string data = std::string(QUILLET_TEST_DATA) + "/stylesheet/";
  const StyleSheet page(data + "main.html");
  ASSERT_EQ(page.sectionCount(), 6u);
  EXPECT_EQ(page.section(2).expressionTokens(),
            (Lines{"class", ".", "function_list", ".", "size", ">", "0"}));
  EXPECT_EQ(page.section(3).textTokens()[1].firstParameter, "function");
  EXPECT_EQ(page.section(5).text(), "</BODY>\n</HTML>\n");
  const Lines split = sections(StyleSheet(data + "split.rtf"));  // as a word processor saves it
  ASSERT_EQ(split.size(), 3u);
  EXPECT_NE(split[0].find("\\fprq2 Times New Roman;"), std::string::npos);  // panose gone
  EXPECT_EQ(split[1], "for_each(classes)L:}{}{\\b name_}\\par ");
  EXPECT_EQ(split[2], "next()L:\\par }");
  EXPECT_EQ(sections(StyleSheet(data + "plain.html")),
            Lines{"text():<HTML><BODY>\nA page without template commands; a_b stays.\n</BODY></HTML>\n"});
  EXPECT_TRUE(messages_.lines.empty());

  EXPECT_EQ(sections(StyleSheet(data + "no such file.html")), Lines{"text():"});
  EXPECT_EQ(sections(StyleSheet(data)), Lines{"text():"});  // a folder is no style sheet either
  ASSERT_EQ(messages_.lines.size(), 2u);
  EXPECT_EQ(messages_.lines[0], "error: (" + data + "no such file.html) cannot open style sheet. ");
}

class StyleSheetCacheTest : public ::testing::Test {
 protected:
  StyleSheetCacheTest() { clearStyleSheetCache(); }
  ~StyleSheetCacheTest() override { clearStyleSheetCache(); }

  TempTree tree_;
  CapturedMessages messages_;
};

TEST_F(StyleSheetCacheTest, ReadsEachFileOnceUntilCleared) {
  const std::string path = tree_.write("page.html", "first");
  const StyleSheet& first = cachedStyleSheet(path);
  tree_.write("page.html", "second");
  EXPECT_EQ(&first, &cachedStyleSheet(path));
  EXPECT_EQ(first.section(0).text(), "first");
  for (int i = 0; i < 100; ++i) cachedStyleSheet(tree_.write("b" + std::to_string(i) + ".html", "b"));
  EXPECT_EQ(first.section(0).text(), "first");  // still valid after the map grew
  clearStyleSheetCache();
  EXPECT_EQ(cachedStyleSheetCount(), 0u);
  EXPECT_EQ(cachedStyleSheet(path).section(0).text(), "second");
}

TEST_F(StyleSheetCacheTest, NamesDifferingInCaseShareTheOnDiskEntry) {
  const std::string path = tree_.write("main.html", "x");
  const StyleSheet& sheet = cachedStyleSheet(tree_.path("MAIN.HTML"));
  EXPECT_EQ(&sheet, &cachedStyleSheet(path));
  EXPECT_EQ(sheet.fileName(), path);  // opened, and named in messages, under its stored spelling
  EXPECT_EQ(sheet.section(0).text(), "x");
  EXPECT_TRUE(messages_.lines.empty());
}

}  // namespace
}  // namespace quillet
