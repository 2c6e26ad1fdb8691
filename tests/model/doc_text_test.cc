#include "model/doc_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "common/message_output.h"
#include "config/configuration.h"
#include "model/comment_output.h"
#include "support/recording_output.h"

namespace quillet {
namespace {

DocParagraph flowing(std::string text) {
  return {std::move(text), DocParagraph::kFlowing};
}
DocParagraph kept(std::string text) {
  return {std::move(text), DocParagraph::kPreformatted};
}

CommentTag tag(const std::string& name, int32_t operation = CommentTag::kKeepTag) {
  CommentTag t;
  t.setTagName(name);
  t.setOperation(operation);
  return t;
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
  static std::vector<DocParagraph> paragraphsOf(const DocText& doc) {
    return {doc.paragraphs().begin(), doc.paragraphs().end()};
  }
  std::string full(const DocText& doc, const EvaluationContext& context, std::string_view classContext = "") {
    std::ostringstream out;
    doc.WriteFull(context, classContext, out);
    return out.str();
  }
  std::string summary(const DocText& doc, const EvaluationContext& context) {
    std::ostringstream out;
    doc.WriteSummary(context, "", out);
    return out.str();
  }

  Configuration configuration_;
  RecordingOutput messages_;
  CommentOutput output_;
};

TEST_F(DocTextTest, ProcessesAJavadocBlock) {
  const DocText doc = declaration(
      "*\n"
      " * draws the shape on the canvas. the canvas\n"
      " * must be open.\n"
      " *\n"
      " * Example:\n"
      " *     canvas.open();\n"
      " *     shape.draw(canvas);\n"
      " ");
  EXPECT_EQ(paragraphsOf(doc), (std::vector<DocParagraph>{
                                   flowing("Draws the shape on the canvas. The canvas must be open."),
                                   kept("Example:\n    canvas.open();\n    shape.draw(canvas);\n"),
                               }));
  EXPECT_FALSE(doc.empty());
  EXPECT_EQ(doc.size(), 55u + 52u);
  EXPECT_EQ(doc.fileName(), "a.h");
  EXPECT_TRUE(doc.applyTags());
  EXPECT_EQ(doc.level(), DocText::kDeclarationLevel);
}

TEST_F(DocTextTest, ExpandsTabsWithTheConfiguredSize) {
  configuration_.setTabSize(4);
  const DocText doc = declaration("\tx = 1;\ny = 2;");
  EXPECT_EQ(paragraphsOf(doc), std::vector<DocParagraph>{kept("    x = 1;\ny = 2;\n")});
}

TEST_F(DocTextTest, DirectivesNameTargetsAndBadOnesAreReported) {
  const DocText doc = declaration("Shared note. $$(assign, Foo::bar) $$(assign Foo::baz)");
  EXPECT_EQ(std::vector<std::string>(doc.directiveTargets().begin(), doc.directiveTargets().end()),
            std::vector<std::string>{"Foo::bar"});
  EXPECT_EQ(paragraphsOf(doc), std::vector<DocParagraph>{flowing("Shared note.")});
  EXPECT_EQ(messages_.lines,
            std::vector<std::string>{"error:(a.h) cannot find comment directive in: assignFoo::baz."});
}

TEST_F(DocTextTest, TagsApplyToDeclarationCommentsOnly) {
  CommentTag returns = tag("@return", CommentTag::kReplaceTag);
  returns.setReplacement("Returns:");
  returns.setParagraphBreakBefore(true);
  CommentTag code = tag("@code");
  code.setFormatting(CommentTag::kPreserveAll);
  code.setParagraphBreakBefore(true);
  configuration_.appendCommentTag(tag("@internal", CommentTag::kRemoveTag));
  configuration_.appendCommentTag(returns);
  configuration_.appendCommentTag(code);

  const std::string text = "@internal computes x. @return the size @code int n = size();";
  EXPECT_EQ(paragraphsOf(declaration(text)), (std::vector<DocParagraph>{
                                                 flowing("Computes x."),
                                                 flowing("Returns: the size."),
                                                 kept("@code int n = size();\n"),
                                             }));
  // Parameter comments are not tagged.
  const DocText parameter(text, false, DocText::kParameterLevel, "a.h");
  EXPECT_EQ(
      paragraphsOf(parameter),
      std::vector<DocParagraph>{flowing("@internal computes x. @return the size @code int n = size();")});
  // The tags are compiled once per set of names: changing the list is noticed.
  configuration_.replaceCommentTag(0, tag("computes", CommentTag::kRemoveTag));
  EXPECT_EQ(paragraphsOf(declaration("@internal computes x.")).front(), flowing("@internal x."));
}

TEST_F(DocTextTest, TagFormattingPreservesParagraphBreaksOrEverything) {
  CommentTag breaks = tag("Note:");
  breaks.setFormatting(CommentTag::kPreserveParagraphs);
  configuration_.appendCommentTag(breaks);
  // Short lines would look preformatted; the tag's paragraph is reflowed instead.
  EXPECT_EQ(paragraphsOf(declaration("x = 1;\ny = 2;\n\nNote: a = 1;\nb = 2;")),
            (std::vector<DocParagraph>{kept("x = 1;\ny = 2;\n"), flowing("Note: a = 1; b = 2;")}));
}

TEST_F(DocTextTest, OptionsTurnFormattingAndCapitalizationOff) {
  configuration_.setAutoCapitalize(false);
  EXPECT_EQ(paragraphsOf(declaration("the value")), std::vector<DocParagraph>{flowing("the value")});
  configuration_.setAutoFormat(false);
  EXPECT_EQ(paragraphsOf(declaration("the value")), std::vector<DocParagraph>{kept("the value\n")});
}

TEST(DocTextWithoutRunTest, UsesDefaultsOutsideARun) {
  ASSERT_EQ(currentConfiguration(), nullptr);
  const DocText doc("\tthe value. $$(nothing)", true, DocText::kDeclarationLevel, "a.h");
  ASSERT_EQ(doc.paragraphs().size(), 1u);
  EXPECT_EQ(doc.paragraphs()[0], flowing("The value."));
}

TEST_F(DocTextTest, EmptinessSizeAndAppending) {
  const DocText none;
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(none.size(), 0u);
  EXPECT_EQ(none.level(), DocText::kPreformatted);
  EXPECT_TRUE(DocText("", true, 1, "a.h").empty());
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

  // Appending to an absent comment (as when concatenating an empty declaration comment with a definition
  // comment) shows what was appended.
  DocText absent;
  absent.append(declaration("only at the definition"));
  EXPECT_FALSE(absent.empty());
  EXPECT_EQ(full(absent, output_.html()), "Only at the definition.");
  absent.clear();
  EXPECT_TRUE(absent.empty());
}

TEST_F(DocTextTest, WritesHtmlParagraphs) {
  output_.links.links["Shape"] = "shape.html#c_Shape";
  const DocText doc = declaration("draws a Shape.\n\n  x = 1;\n  y = 2;\n\nsee <b>below</b>");
  EXPECT_EQ(full(doc, output_.html()),
            "Draws a <A HREF=\"shape.html#c_Shape\">Shape</A>.<PRE CLASS=QLCMT>x = 1;\ny = 2;\n</PRE>\n"
            "<P CLASS=QLCMT>See <b>below</b></P>\n");
  output_.useFixedText("<PRE class=code>", "</PRE>");
  EXPECT_EQ(full(declaration("a = b;\nc < d;"), output_.html()), "<PRE class=code>a = b;\nc &lt; d;\n</PRE>");
  EXPECT_EQ(full(DocText(), output_.html()), "");
}

TEST_F(DocTextTest, WritesRtfParagraphs) {
  output_.useFixedText("{\\f2 ", "}");
  const DocText doc = declaration("first <i>one\n\n  x = {1};\n  y = 2;\n\nlast one");
  EXPECT_EQ(full(doc, output_.rtf()),
            "{First {\\i one.}\\par {{\\f2 x = \\{1\\};\\line y = 2;\\line \\line }}Last one.}");
  EXPECT_EQ(full(DocText(), output_.rtf()), "{}");
}

TEST_F(DocTextTest, SummaryEndsAtTheFirstSentenceEnd) {
  configuration_.setAutoCapitalize(false);
  const EvaluationContext html = output_.html();
  EXPECT_EQ(summary(declaration("first. second."), html), "first.");
  EXPECT_EQ(summary(declaration("really? yes."), html), "really?");
  EXPECT_EQ(summary(declaration("a; b."), html), "a;");
  EXPECT_EQ(summary(declaration("stop! now."), html), "stop!");
  EXPECT_EQ(summary(declaration("x = 1;\ny = 2;"), html), "x = 1;");
  EXPECT_EQ(summary(declaration("a = 1\nb = 2"), html), "a = 1\n");
  EXPECT_EQ(summary(declaration(".net is. fine"), html), ".net is.");
  EXPECT_EQ(summary(declaration("no end at all"), html), "no end at all");
  EXPECT_EQ(summary(declaration("one\n\ntwo. three"), html), "one");
  EXPECT_EQ(summary(declaration("see <a href=\"x.html\">x</a> now"), html), "see ");
  EXPECT_EQ(summary(DocText(), html), "");
  EXPECT_EQ(summary(declaration("use <b>this. not</b> that"), output_.rtf()), "use {\\b this.}");
}

TEST_F(DocTextTest, AnswersAsAStyleSheetObject) {
  DocText doc = declaration("a {text}");
  EXPECT_EQ(doc.TypeName(), "text");
  std::ostringstream out;
  EXPECT_TRUE(doc.WriteProperty(output_.rtf(), "text", out));
  EXPECT_EQ(out.str(), "{A \\{text\\}.}");
  EXPECT_FALSE(doc.WriteProperty(output_.rtf(), "text_summary", out));
  int32_t value = -1;
  EXPECT_TRUE(doc.Test("text", value));
  EXPECT_EQ(value, 1);
  EXPECT_TRUE(DocText().Test("text", value));
  EXPECT_EQ(value, 0);
  EXPECT_FALSE(doc.Test("size", value));
}

}  // namespace
}  // namespace quillet
