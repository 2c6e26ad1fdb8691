#include "model/doc_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/message_output.h"
#include "config/configuration.h"
#include "model/model_test_support.h"
#include "support/recording_output.h"

namespace quillet {
namespace {

CommentTag tag(const std::string& name, int32_t operation, int32_t formatting = CommentTag::kAutoFormat) {
  CommentTag t;
  t.setTagName(name);
  t.setOperation(operation);
  t.setFormatting(formatting);
  return t;
}

std::vector<DocParagraph> paragraphsOf(const DocText& doc) {
  return {doc.paragraphs().begin(), doc.paragraphs().end()};
}

// Comments made while a run's configuration and message output are published.
class DocTextTest : public ::testing::Test {
 protected:
  DocTextTest() {
    setCurrentConfiguration(&configuration_);
    setCurrentMessageOutput(&messages_);
  }
  ~DocTextTest() override {
    setCurrentMessageOutput(nullptr);
    setCurrentConfiguration(nullptr);
  }

  static DocText declaration(std::string_view text) {
    return DocText(text, true, DocText::kDeclarationLevel, "a.h");
  }
  /// The whole comment `doc`, or with `summary` its first sentence, as written in `context`.
  static std::string written(const DocText& doc, const EvaluationContext& context, bool summary = false) {
    std::ostringstream out;
    summary ? doc.WriteSummary(context, "", out) : doc.WriteFull(context, "", out);
    return out.str();
  }

  Configuration configuration_;
  RecordingOutput messages_;
  CommentOutput output_;
};

TEST_F(DocTextTest, ProcessesAJavadocBlockWithDirectives) {
  configuration_.setTabSize(4);
  const DocText doc = declaration(
      "*\n * draws the shape on the canvas given. the canvas\n * must have been opened before by the caller. "
      "$$(assign, Foo::bar) $$(assign Foo::baz)\n *\n * Example:\n *\tcanvas.open();\n "
      "*\tshape.draw(canvas);\n ");
  const std::string prose =
      "Draws the shape on the canvas given. The canvas must have been opened before by the caller.";
  EXPECT_EQ(paragraphsOf(doc), (std::vector<DocParagraph>{
                                   flowing(prose),
                                   kept("Example:\n canvas.open();\n shape.draw(canvas);\n"),
                               }));
  EXPECT_EQ(doc.size(), prose.size() + 46u);
  EXPECT_EQ(std::vector<std::string>(doc.directiveTargets().begin(), doc.directiveTargets().end()),
            std::vector<std::string>{"Foo::bar"});
  EXPECT_EQ(messages_.lines,
            std::vector<std::string>{"error:(a.h) cannot find comment directive in: assignFoo::baz."});
}

TEST_F(DocTextTest, TagsApplyToDeclarationCommentsOnly) {
  CommentTag returns = tag("@return", CommentTag::kReplaceTag);
  returns.setReplacement("Returns:");
  returns.setParagraphBreakBefore(true);
  CommentTag code = tag("@code", CommentTag::kKeepTag, CommentTag::kPreserveAll);
  code.setParagraphBreakBefore(true);
  configuration_.appendCommentTag(tag("@internal", CommentTag::kRemoveTag));
  configuration_.appendCommentTag(returns);
  configuration_.appendCommentTag(code);
  configuration_.appendCommentTag(tag("Note:", CommentTag::kKeepTag, CommentTag::kPreserveParagraphs));

  const std::string text = "@internal computes x. @return the size @code int n = size();";
  EXPECT_EQ(paragraphsOf(declaration(text)),
            (std::vector<DocParagraph>{flowing("Computes x."), flowing("Returns: the size."),
                                       kept("@code int n = size();\n")}));
  // Where tags handle the commands, the comment is read as before; without tags the commands are read
  // (and @internal hides the rest of the comment).
  EXPECT_TRUE(paragraphsOf(DocText(text, false, DocText::kParameterLevel, "a.h")).empty());
  // Short lines would look preformatted; under "Note:" they are reflowed.
  EXPECT_EQ(paragraphsOf(declaration("x = 1;\ny = 2;\n\nNote: a = 1;\nb = 2;")),
            (std::vector<DocParagraph>{kept("x = 1;\ny = 2;\n"), flowing("Note: a = 1; b = 2;")}));
  // The tags are compiled once per list of names, and a changed list is noticed.
  configuration_.replaceCommentTag(0, tag("computes", CommentTag::kRemoveTag));
  EXPECT_EQ(paragraphsOf(declaration("internal computes x.")),
            std::vector<DocParagraph>{flowing("Internal x.")});
}

TEST_F(DocTextTest, OptionsAndDefaultsOutsideARun) {
  configuration_.setAutoCapitalize(false);
  EXPECT_EQ(paragraphsOf(declaration("the value")), std::vector<DocParagraph>{flowing("the value")});
  configuration_.setAutoFormat(false);
  EXPECT_EQ(paragraphsOf(declaration("the value")), std::vector<DocParagraph>{kept("the value\n")});
  setCurrentConfiguration(nullptr);
  EXPECT_EQ(paragraphsOf(declaration("\tthe value.")), std::vector<DocParagraph>{flowing("The value.")});
}

TEST_F(DocTextTest, EmptinessSizeAndAppending) {
  const DocText none;
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(none.level(), DocText::kPreformatted);
  EXPECT_TRUE(declaration("/**/ \n  ").empty());  // text that leaves nothing to show

  DocText first = declaration("first part");
  const DocText copy = first;
  first.append(declaration("second part"));
  first.append(none);
  EXPECT_EQ(paragraphsOf(first),
            (std::vector<DocParagraph>{flowing("First part."), flowing("Second part.")}));
  EXPECT_EQ(first.size(), 11u + 12u);
  EXPECT_EQ(paragraphsOf(copy), std::vector<DocParagraph>{flowing("First part.")});  // copies are values
  first.append(first);
  EXPECT_EQ(first.paragraphs().size(), 4u);

  // Appending to an absent comment (concatenating an empty declaration comment with a definition comment)
  // shows what was appended.
  DocText absent;
  absent.append(declaration("only at the definition"));
  EXPECT_EQ(written(absent, output_.html()), "Only at the definition.");
}

TEST_F(DocTextTest, WritesFullTextInBothFormats) {
  output_.links["Shape"] = "shape.html#c_Shape";
  const DocText doc = declaration("draws a Shape.\n\n  x = {1};\n  y = 2;\n\nsee <i>below</i>");
  EXPECT_EQ(written(doc, output_.html()),
            "Draws a <A HREF=\"shape.html#c_Shape\">Shape</A>.<PRE CLASS=QLCMT>x = {1};\ny = 2;\n</PRE>\n"
            "<P CLASS=QLCMT>See <i>below</i></P>\n");
  output_.useFixedText("{\\f2 ", "}");
  EXPECT_EQ(
      written(doc, output_.rtf()),
      "{Draws a {\\uldb Shape\\ulnone\\v shape.html#c_Shape }.\\par {{\\f2 x = \\{1\\};\\line y = 2;\\line "
      "\\line }}See {\\i below}}");
  EXPECT_EQ(written(DocText(), output_.rtf()), "{}");
  EXPECT_EQ(written(DocText(), output_.html()), "");
  output_.useFixedText("<PRE class=code>", "</PRE>");
  EXPECT_EQ(written(declaration("a = b;\nc < d;"), output_.html()),
            "<PRE class=code>a = b;\nc &lt; d;\n</PRE>");
}

TEST_F(DocTextTest, SummaryEndsAtTheFirstSentenceEnd) {
  configuration_.setAutoCapitalize(false);
  const EvaluationContext html = output_.html();
  // A sentence ends at ".", "!" or "?" before white space, never inside a URL, a number, a qualified
  // name or after "e.g."; a semicolon does not end it. A line break ends it in laid-out text.
  const std::pair<std::string, std::string> cases[] = {
      {"first. second.", "first."},
      {"really? yes.", "really?"},
      {"a; b. c", "a; b."},
      {"stop! now.", "stop!"},
      {"a = 1\nb = 2", "a = 1\n"},
      {".net is. fine", ".net is."},
      {"no end", "no end"},
      {"one\n\ntwo. three", "one"},
      {"see <a href=\"x.html\">x</a>", "see <a href=\"x.html\">x</a>"},
      {"see https://json.nlohmann.me/api/basic_json/", "see https://json.nlohmann.me/api/basic_json/"},
      {"use e.g. v1.2 or a::b.c (not this.) Then", "use e.g. v1.2 or a::b.c (not this.)"},
      {"<b>Note.</b> More", "<b>Note.</b>"},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(written(declaration(text), html, true), expected) << text;
  EXPECT_EQ(written(DocText(), html, true), "");
  EXPECT_EQ(written(declaration("use <b>this. not</b> that"), output_.rtf(), true), "use {\\b this.}");
  EXPECT_EQ(written(declaration("use <b>this. not</b> that"), html, true), "use <b>this.</b>");
}

TEST_F(DocTextTest, AnswersAsAStyleSheetObject) {
  DocText doc = declaration("a {text}");
  EXPECT_EQ(doc.TypeName(), "text");
  EXPECT_EQ(property(doc, "text", output_.rtf()), "{A \\{text\\}.}");
  EXPECT_EQ(property(doc, "text_summary", output_.rtf()), "<unknown>");
  EXPECT_EQ(test(doc, "text"), 1);
  EXPECT_EQ(test(DocText(), "text"), 0);
  EXPECT_EQ(test(doc, "size"), -1);
}

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

// Bad input: shown as text with a warning, in time that grows with the input alone.
TEST(DocTextBadInputTest, UnbalancedBlocksHugeCommentsAndDeepMarkdownAreShownAsText) {
  ScopedConfiguration run;
  RecordingOutput messages;
  setCurrentMessageOutput(&messages);
  run.configuration.setCommentMarkdown(true);
  const auto text = [](const DocText& doc) {
    std::string all;
    for (const DocParagraph& paragraph : doc.paragraphs()) all += paragraph.text;
    return all;
  };
  EXPECT_NE(text(DocText("a @code b", true, 1, "a.h")).find("@code b"), std::string::npos);
  EXPECT_NE(text(DocText("a @cond b", true, 1, "a.h")).find("@cond b"), std::string::npos);
  const std::string huge = std::string(DocText::kLongestStructuredComment, 'x') + " @param y";
  EXPECT_NE(text(DocText(huge, true, 1, "a.h")).find("@param y"), std::string::npos);
  EXPECT_EQ(messages.lines,
            (std::vector<std::string>{"warning: (a.h) @code without @endcode, shown as text.",
                                      "warning: (a.h) @cond without @endcond, shown as text.",
                                      "warning: (a.h) a comment of 262153 bytes is too long to read its "
                                      "commands and Markdown, shown as text."}));
  // Inputs that would be slow if anything in the reading were quadratic: each stays within the size limit.
  for (const char* unit : {"@code ", "@cond ", "[", "*a", "`", "<b>", "- ", "@li ", "\\\\"}) {
    std::string repeated;
    while (repeated.size() < DocText::kLongestStructuredComment - 16) repeated += unit;
    EXPECT_FALSE(DocText(repeated, true, 1, "a.h").empty()) << unit;
  }
  setCurrentMessageOutput(nullptr);
}

}  // namespace
}  // namespace quillet
