// Comment commands: where a command may start, how a comment splits into its description and sections,
// and how inline commands, escapes, tags and addresses become prepared markup.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/comment_commands.h"
#include "model/comment_inline.h"
#include "model/comment_structure.h"

namespace quillet {
namespace {

// Prepared markup made readable: tags as [tag], text as written.
std::string readable(const std::string& prepared) {
  std::string text;
  for (char c : prepared) text += c == kMarkupTagOpen ? '[' : c == kMarkupTagClose ? ']' : c;
  return text;
}

std::string inlineOf(std::string_view text) {
  PreparedText prepared;
  prepareInline(text, prepared);
  finishInline(prepared);
  return readable(prepared.text);
}

TEST(CommentCommandsTest, CommandsStartAfterBlanksAndBracketsOnly) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"@param x", "param"}, {"(\\return)", "return"},
      {"see @c x", "c"},     {"@code{.cpp} x", "code"},
      {"@foo", "foo"},       {"a@b.org", ""},
      {"C:\\temp", ""},      {"@1", ""},
      {"\\\\n", ""},         {"'\\t'", ""},
      {"\"\\uXXXX\"", ""},   {"\"\\brief\"", "brief"},
      {"a \\foo", "foo"},
  };
  for (const auto& [text, name] : cases) {
    CommandAt found;
    const size_t at = text.find_first_of("@\\");
    const bool read = readCommand(text, at, found);
    EXPECT_EQ(read ? found.name : "", name) << text;
  }
  CommandAt code;
  ASSERT_TRUE(readCommand("@code{.py}", 0, code));
  EXPECT_EQ(code.language, "py");
  EXPECT_EQ(code.end, 10u);
  EXPECT_EQ(findCommentCommand("foo"), nullptr);
  EXPECT_EQ(findCommentCommand("sa")->section, SectionKind::kSee);
}

TEST(CommentCommandsTest, SplitsDescriptionSectionsBlocksAndTargets) {
  const CommentStructure read = readCommentStructure(
      "Intro @c x.\n@brief The brief\ngoes on.\n\nDetails here.\n"
      "@param[in, out] a,b the pair\n  continued\n@tparam T type\n@retval 0 none\n@throws std::bad_alloc "
      "when full\n@return the sum\n\nAfter.\n@code{.cpp}\n  int x;\n\n  @param y\n@endcode\n"
      "@internal secret @endinternal @cond X hidden @endcond @par Title\nbody\n@unknown here\n",
      "a.h");
  EXPECT_TRUE(read.hasCommands);
  ASSERT_EQ(read.description.size(), 5u);
  EXPECT_EQ(read.description[0].text, "Intro @c x.\n");
  EXPECT_EQ(read.briefBlock, 1);
  EXPECT_EQ(read.description[1].text, " The brief\ngoes on.\n");
  EXPECT_EQ(read.description[2].text, "Details here.\n");
  EXPECT_EQ(read.description[3].text, "After.\n");
  EXPECT_TRUE(read.description[4].verbatim);
  EXPECT_EQ(read.description[4].text, "  int x;\n\n  @param y\n");
  EXPECT_EQ(read.description[4].language, "cpp");
  std::vector<std::string> sections;
  for (const CommentSectionText& section : read.sections) {
    std::string text;
    for (const CommentBlock& block : section.blocks) text += block.text;
    sections.push_back(std::string(section.command->name) + "|" + section.name + "|" + section.direction +
                       "|" + text);
  }
  EXPECT_EQ(sections,
            (std::vector<std::string>{"param|a, b|in,out| the pair\n  continued\n", "tparam|T|| type\n",
                                      "retval|0|| none\n", "throws|std::bad_alloc|| when full\n",
                                      "return||| the sum\n", "par|Title||\nbody\n@unknown here\n"}));
  EXPECT_EQ(read.unknownCommands, std::vector<std::string>{"unknown"});
  EXPECT_TRUE(read.problems.empty());

  // Targets, comments that document no declaration, and blocks without their end.
  const CommentStructure targets =
      readCommentStructure("@class Widget widget.h\n@fn int Foo::operator()(int)\nx", "a.h");
  EXPECT_EQ(targets.targets, (std::vector<std::string>{"Widget", "Foo::operator()"}));
  EXPECT_FALSE(targets.documentsNoDeclaration);
  EXPECT_TRUE(readCommentStructure("@file\nAbout the file.", "a.h").documentsNoDeclaration);
  const CommentStructure open = readCommentStructure("a @code b @cond c @endcode @cond d", "a.h");
  EXPECT_EQ(open.problems, std::vector<std::string>{"warning: (a.h) @cond without @endcond, shown as text."});
  const CommentStructure unended = readCommentStructure("x @code y\n\n@internal z", "a.h");
  EXPECT_EQ(unended.problems,
            std::vector<std::string>{"warning: (a.h) @code without @endcode, shown as text."});
  EXPECT_EQ(unended.description.size(), 1u);  // the internal text runs to the end and is left out
}

TEST(CommentCommandsTest, InlineCommandsTagsAndAddressesBecomePreparedMarkup) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"use @c size() or \\p n, @b bold and @e it.",
       "use [code]size()[/code] or [code]n[/code], [b]bold[/b] and [em]it[/em]."},
      {"see @ref Foo::bar \"the bar\" and @ref baz.",
       "see [ref name=\"Foo::bar\"]the bar[/ref] and [ref name=\"baz\"]baz[/ref]."},
      {"a @n b", "a [br] b"},
      {"list @li one @li two", "list [ul][li] one [li] two[/ul]"},
      {"mail\\@host \\\\n \\<b\\>", "mail@host \\n <b>"},
      {"at https://x.org/a/b. Then", "at [a href=\"https://x.org/a/b\"]https://x.org/a/b[/a]. Then"},
      {"vector<S> and <b>bold</b> <i>open", "vector<S> and [b]bold[/b] <i>open"},
      {"<a href=\"javascript:x()\">y</a>", "[a]y[/a]"},
      {"@copydoc Other gone", " gone"},
  };
  for (const auto& [text, prepared] : cases) EXPECT_EQ(inlineOf(text), prepared) << text;
  PreparedText copied;
  prepareInline("@copydoc Other::f()", copied);
  EXPECT_EQ(copied.copyTargets, std::vector<std::string>{"Other::f()"});
  EXPECT_EQ(inlineOf(std::string("a\x01"
                                 "b\x02",
                                 4)),
            "a b ");  // the markers never come from the text
}

}  // namespace
}  // namespace quillet
