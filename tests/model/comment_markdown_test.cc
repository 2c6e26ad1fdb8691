// Markdown in comments: inline spans, blocks of lists, tables, headings and code, and how it combines
// with the paragraphs, tags and commands of comment text.
#include "model/comment_markdown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/doc_text.h"
#include "model/model_test_support.h"
#include "support/recording_output.h"

namespace quillet {
namespace {

std::string readable(const std::string& prepared) {
  std::string text;
  for (char c : prepared) text += c == kMarkupTagOpen ? '[' : c == kMarkupTagClose ? ']' : c;
  return text;
}

// The paragraphs of `text` read as Markdown, each as "kind|text" (prepared ones readable, block ones "B").
std::vector<std::string> blocksOf(std::string_view text) {
  std::vector<std::string> found;
  for (const DocParagraph& paragraph : buildMarkdownParagraphs(text, {}, {}, "a.h"))
    found.push_back(std::string(paragraph.block                                 ? "B"
                                : paragraph.kind == DocParagraph::kPreformatted ? "P"
                                                                                : "F") +
                    "|" + readable(paragraph.text));
  return found;
}

TEST(CommentMarkdownTest, InlineSpansBecomeTagsAndTheirTextStaysText) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"use `a<b>` and **bold**, *it* or _it_",
       "use [code]a<b>[/code] and [strong]bold[/strong], [em]it[/em] or [em]it[/em]"},
      {"see [the site](https://x.org/a \"t\") or https://y.org.",
       "see [a href=\"https://x.org/a\"]the site[/a] or [a href=\"https://y.org\"]https://y.org[/a]."},
      {"a <S> b <b>c</b> @c x \\\\n", "a <S> b [b]c[/b] [code]x[/code] \\n"},
      {"~~gone~~ &amp; &#65;", "[s]gone[/s] & A"},
      // Plain prose is not given to the parser; what only one delimiter run or a lone bracket shows stays
      // text, and the lines are joined as the parser joins them. A second run makes a pair.
      {"  T* p, ~vector(), a `tick, x_y_z\n  [x] and && \n  a | b > c",
       "T* p, ~vector(), a `tick, x_y_z [x] and && a | b > c"},
      {"T* p and *q*, _x and y_, ~a ~b~", "T* p and [em]q[/em], [em]x and y[/em], [s]a ~b[/s]"},
      {"64-bit\n2. not a list", "64-bit 2. not a list"},
      // A run that may only open (or only close) an emphasis makes none; one that may close after one
      // that may open does.
      {"__il and __args in __s._M_p", "__il and __args in __s._M_p"},
      {"-*- C++ -*-, a _must_ b", "-[em]- C++ -[/em]-, a [em]must[/em] b"},
  };
  for (const auto& [text, prepared] : cases) {
    PreparedText made;
    if (!prepareMarkdownParagraph(text, made)) made.text = text;  // nothing to mark up
    EXPECT_EQ(readable(made.text), prepared) << text;
  }
}

TEST(CommentMarkdownTest, ListsTablesHeadingsAndCodeAreBlocks) {
  EXPECT_EQ(blocksOf("  Options:\n  - one\n  - two **b**\n\n  after it\n"),
            (std::vector<std::string>{"B|Options:[ul][li]one[/li][li]two [strong]b[/strong][/li][/ul]",
                                      "F|After it."}));
  EXPECT_EQ(blocksOf("| a | b |\n|---|---|\n| 1 | 2 |\n"),
            std::vector<std::string>{
                "B|[table][tr][th]a[/th][th]b[/th][/tr][tr][td]1[/td][td]2[/td][/tr][/table]"});
  EXPECT_EQ(blocksOf("# Title\n\n1. first\n2. second\n"),
            (std::vector<std::string>{"B|[h3]Title[/h3]", "B|[ol][li]first[/li][li]second[/li][/ol]"}));
  EXPECT_EQ(blocksOf("text\n```cpp\nint x = a<b>;\n\n```\nmore"),
            (std::vector<std::string>{"F|Text.", "P|int x = a<b>;\n\n", "F|More."}));
  EXPECT_EQ(blocksOf("  Example:\n\n      run();\n"), (std::vector<std::string>{"F|Example:", "P|run();\n"}));
  EXPECT_EQ(blocksOf("```\nnever closed\n"), std::vector<std::string>{"P|never closed\n"});
}

TEST(CommentMarkdownTest, DocTextReadsMarkdownOnlyWhenTheConfigurationSaysSo) {
  ScopedConfiguration run;
  RecordingOutput messages;
  setCurrentMessageOutput(&messages);
  CommentOutput output;
  const auto html = [&](std::string_view raw) {
    std::ostringstream out;
    DocText(raw, true, DocText::kDeclarationLevel, "a.h").WriteFull(output.html(), "", out);
    return out.str();
  };
  const std::string raw = "/// **Note**: `x` is a <S>\n///\n/// - one\n/// - two\n";
  EXPECT_EQ(html(raw), "Note**: `x` is a &lt;S&gt;<PRE CLASS=QLCMT>- one\n- two\n</PRE>\n");
  run.configuration.setCommentMarkdown(true);
  EXPECT_EQ(html(raw),
            "<strong>Note</strong>: <code>x</code> is a &lt;S&gt;<ul><li>one</li><li>two</li></ul>\n");
  // Code written without backquotes stays text: a lambda's "[]()" and "<std::runtime_error>".
  EXPECT_EQ(html("f([]() { g(); }, T<std::runtime_error>(x));"),
            "F([]() { g(); }, T&lt;std::runtime_error&gt;(x));");  // a first letter is capitalised
  // Containers nested past reason are shown as text.
  const std::string deep(40, '>');
  EXPECT_EQ(html(deep + " deep"),
            "&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;"
            "&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt;&gt; deep.");
  // Deep indentation alone (a code sample indented far) is no nesting.
  EXPECT_NE(html("text\n\n" + std::string(80, ' ') + "x = 1;\n").find("x = 1;"), std::string::npos);
  EXPECT_EQ(messages.lines,
            std::vector<std::string>{"warning: (a.h) Markdown nested more than 32 deep, shown as text."});
  setCurrentMessageOutput(nullptr);
}

}  // namespace
}  // namespace quillet
