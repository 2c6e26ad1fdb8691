// Comments as C++ libraries write them, through the whole run into the bundled style sets: one small header
// per group (comment commands, member comments, Markdown, links in prose), with the HTML sections written
// for them compared whole, every page passing the HTML checker and the RTF files well formed. Then the fmt
// and nlohmann json headers of the machine, read in place: no comment command is left on any page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/generation_run.h"
#include "config/configuration.h"
#include "config/layout_item.h"
#include "styles/output_checks.h"
#include "stylesheet/style_sheet_cache.h"
#include "support/recording_output.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

class CommentPagesTest : public ::testing::Test {
 protected:
  void SetUp() override { unsetenv("QUILLET_STYLES"); }  // the build tree's bundled styles

  // Documents the headers below `root` (".h", and with `hpp` ".hpp"; `include` on the include path) into
  // html/, rtf/ and help/ of the test's tree; answers the run's message lines.
  std::vector<std::string> document(const std::string& root, bool markdown = false,
                                    const std::string& include = "", bool hpp = false) {
    Configuration configuration;
    configuration.setHtmlOutputFile(tree_.path("html/doc.html"));
    configuration.setRtfOutputFile(tree_.path("rtf/doc.rtf"));
    configuration.setWinHelpOutputFile(tree_.path("help/doc.rtf"));
    configuration.setIncludePath(root + (include.empty() ? "" : ";" + include));
    configuration.setUseIncludeEnvironment(false);
    configuration.setCommentMarkdown(markdown);
    LayoutItem* chapter = configuration.mutableArrangement().addChild();
    chapter->setName("Library");
    for (const char* extension : {"h", "hpp"}) {
      if (extension != std::string("h") && !hpp) continue;
      configuration.mutableSourceEntries().push_back({root + "/*." + extension, true});
      LayoutItem* item = chapter->addChild();
      item->setKind(LayoutItem::kSymbolsByFile);
      item->setName(root + "/*." + extension);
    }
    RecordingOutput output;
    runGeneration(configuration, output);
    clearStyleSheetCache();
    std::vector<std::string> lines;
    for (const std::string& line : output.lines)
      if (line.find("hcrtf") == std::string::npos && line.find("cannot find file") == std::string::npos)
        lines.push_back(line);
    return lines;
  }
  std::vector<std::string> documentHeader(const std::string& source, bool markdown = false) {
    tree_.write("src/lib.h", source);
    return document(tree_.path("src"), markdown);
  }

  // The HTML element that opens with `id="<id>"` (an article, or the class page's description with what
  // follows it up to the first heading), as written.
  std::string section(const std::string& id) const {
    for (const std::string& page : htmlFilesIn(tree_.path("html"))) {
      const std::string text = fileText(page);
      const size_t at = text.find(" id=\"" + id + "\"");
      if (at == std::string::npos) continue;
      const size_t start = text.rfind('<', at);
      if (text.compare(start, 8, "<article") == 0)
        return text.substr(start, text.find("</article>", start) + 10 - start);
      const size_t doc = text.find("<div class=\"doc\">", at);
      return text.substr(doc, text.find("<h2", doc) - doc);
    }
    return "<no element with id " + id + ">";
  }

  // Every page passes tidy, every RTF file is well formed.
  void expectCleanOutput() const {
    const std::string tidy = findProgram("tidy");
    const std::vector<std::string> pages = htmlFilesIn(tree_.path("html"));
    EXPECT_FALSE(pages.empty());
    EXPECT_EQ(brokenLinks(pages), std::vector<std::string>());
    for (const std::string& page : pages) EXPECT_EQ(tidy.empty() ? "" : tidyReport(tidy, page), "") << page;
    EXPECT_EQ(rtfProblems(fileText(tree_.path("rtf/doc.rtf"))), std::vector<std::string>());
    EXPECT_EQ(winHelpProblems(fileText(tree_.path("help/doc.rtf"))), std::vector<std::string>());
  }

  TempTree tree_;
};

TEST_F(CommentPagesTest, CommandsBecomeTheSectionsOfAFunction) {
  EXPECT_EQ(documentHeader(R"(
/// @file
/// The library.

/// A shape.
class Shape {
 public:
  /** @brief Scales the shape.
   *
   * Both sides grow; @p factor may be \c 0.
   * @tparam T the number type
   * @param[in] factor how much
   * @param[out] area the new area
   * @return true when it changed
   * @retval false @a factor was 1
   * @throws Shape when it cannot grow
   * @pre The shape is open.
   * @note Slow.
   * @deprecated Use resize().
   * @sa Shape, https://example.org/scale
   *
   * @code{.cpp}
   * shape.scale(2, a);
   * @endcode
   */
  template <class T> bool scale(T factor, double& area);
};
)"),
            std::vector<std::string>{});
  EXPECT_EQ(section("f_Shape_scale_T_doubleRef"),
            R"(<article class="member" id="f_Shape_scale_T_doubleRef">
<div class="sig"><span class="tpl">template&lt;class T&gt;</span>bool <span class="fn">scale</span>(T factor<wbr>, double&amp; area<wbr>) </div>
<div class="body">
<div class="doc"><span class="badge deprecated">deprecated</span> Scales the shape.<P CLASS=QLCMT>Both sides grow; <code>factor</code> may be <code>0</code>.</P>
<PRE CLASS=QLCMT>shape.scale(2, a);
</PRE>
</div>
<table class="params"><caption>Parameters</caption>
<tr class="param"><td class="pname"><code>factor</code> <span class="dir">in</span></td><td>How much.</td></tr>
<tr class="param"><td class="pname"><code>area</code> <span class="dir">out</span></td><td>The new area.</td></tr>
</table>
<table class="params"><caption>Template parameters</caption>
<tr class="param"><td class="pname"><code>T</code></td><td>The number type.</td></tr>
</table>
<div class="returns"><span class="label">Returns</span> True when it changed.</div>
<table class="params"><caption>Return values</caption>
<tr class="param"><td class="pname"><code>false</code></td><td><em>factor</em> was 1.</td></tr>
</table>
<table class="params"><caption>Throws</caption>
<tr class="param"><td class="pname"><code><A HREF="doc_c_Shape_.html#c_Shape">Shape</A></code></td><td>When it cannot grow.</td></tr>
</table>
<div class="callout pre"><span class="label">Precondition</span> The shape is open.</div>
<div class="callout note"><span class="label">Note</span> Slow.</div>
<div class="callout deprecated"><span class="label">Deprecated</span> Use resize().</div>
<div class="see"><span class="label">See also</span> <A HREF="doc_c_Shape_.html#c_Shape">Shape</A>, <a href="https://example.org/scale">https://example.org/scale</a></div>
</div>
</article>)");
  const std::string overview = fileText(tree_.path("html/doc_c_Shape_.html"));
  EXPECT_NE(overview.find("<td>Scales the shape.</td>"), std::string::npos);  // the brief is the summary
  const std::string rtf = fileText(tree_.path("rtf/doc.rtf"));
  for (const char* expected : {"{\\i factor} [in]\\tab {", "{\\b Returns}\\tab {True when it changed.}",
                               "{\\b Precondition:} {The shape is open.}", "{\\b Deprecated}\\par"})
    EXPECT_NE(rtf.find(expected), std::string::npos) << expected;
  expectCleanOutput();
}

TEST_F(CommentPagesTest, MemberCommentsDocumentWhatTheyFollowAndLintNotesDisplaceNothing) {
  EXPECT_EQ(documentHeader(R"(
/*! @brief A store of values. */
class Store // NOLINT(cppcoreguidelines-special-member-functions)
{
 public:
  void clear();  ///< Empties it.
  int size;      //!< How many.
  enum Kind {
    kSmall,  ///< Few values.
    /// Many values.
    kLarge
  };
};
)"),
            std::vector<std::string>{});
  EXPECT_EQ(section("c_Store"), R"(<div class="doc">A store of values.</div>
)");
  EXPECT_EQ(section("f_Store_clear"), R"(<article class="member" id="f_Store_clear">
<div class="sig">void <span class="fn">clear</span>() </div>
<div class="body">
<div class="doc">Empties it.</div>
</div>
</article>)");
  const std::string page = fileText(tree_.path("html/doc_c_Store_.html"));
  for (const char* expected : {"<td><code>size</code></td><td>How many.</td>",
                               "<tr><td><code>kSmall</code></td><td>Few values.</td></tr>",
                               "<tr><td><code>kLarge</code></td><td>Many values.</td></tr>"})
    EXPECT_NE(page.find(expected), std::string::npos) << expected;
  expectCleanOutput();
}

TEST_F(CommentPagesTest, MarkdownGivesListsTablesCodeAndEmphasis) {
  const std::string header = R"(
/// Parses **text** with `a<b>`, where a <S> stays text.
///
/// - first *point*
/// - second
///
/// | Input | Result |
/// |-------|--------|
/// | `1`   | one    |
///
/// ```cpp
/// parse("x");
/// ```
int parse(const char* text);
)";
  EXPECT_EQ(documentHeader(header, true), std::vector<std::string>{});
  EXPECT_EQ(section("f_parse_const_charPtr"), R"(<article class="member" id="f_parse_const_charPtr">
<div class="sig">int <span class="fn">parse</span>(const char* text<wbr>) </div>
<div class="body">
<div class="doc">Parses <strong>text</strong> with <code>a&lt;b&gt;</code>, where a &lt;S&gt; stays text.<ul><li>first <em>point</em></li><li>second</li></ul>
<table><tr><th>Input</th><th>Result</th></tr><tr><td><code>1</code></td><td>one</td></tr></table>
<PRE CLASS=QLCMT>parse(&quot;x&quot;);
</PRE>
</div>
<p class="facts">Declared in <a href="../src/lib.h"><code>lib.h</code></a></p>
</div>
</article>)");
  expectCleanOutput();
  // Without Markdown the comment reads as before.
  EXPECT_EQ(documentHeader(header, false), std::vector<std::string>{});
  EXPECT_NE(section("f_parse_const_charPtr").find("Parses **text** with `a&lt;b&gt;`"), std::string::npos);
}

TEST_F(CommentPagesTest, ProseLinksTypesAndWhatItWritesAsCode) {
  EXPECT_EQ(documentHeader(R"(
enum Colour { kRed };
/// A gadget. It keeps a cache of Gadget objects; it can draw, see draw(), @c reset, kRed and
/// @ref reset "its reset", but not @ref nothing.
class Gadget {
 public:
  Gadget();
  void draw();
  void reset();
};
)"),
            std::vector<std::string>{"warning: @ref names nothing documented: nothing"});
  EXPECT_EQ(
      section("c_Gadget"),
      R"(<div class="doc">A gadget. It keeps a cache of <A HREF="doc_c_Gadget_.html#c_Gadget">Gadget</A> objects; it can draw, see <A HREF="doc_c_Gadget_.html#f_Gadget_draw">draw</A>(), <code><A HREF="doc_c_Gadget_.html#f_Gadget_reset">reset</A></code>, kRed and <A HREF="doc_c_Gadget_.html#f_Gadget_reset">its reset</A>, but not nothing.</div>
)");
  expectCleanOutput();
}

// The headers of a library installed on the machine, documented in place.
TEST_F(CommentPagesTest, LibraryHeadersLeaveNoCommandOnAnyPage) {
  const std::pair<const char*, const char*> libraries[] = {{"/usr/include/fmt", ""},
                                                           {"/usr/include/nlohmann", "/usr/include"}};
  for (const auto& [root, include] : libraries) {
    if (!fs::is_directory(root)) continue;
    SCOPED_TRACE(root);
    fs::remove_all(tree_.path("html"));
    document(root, false, include, true);
    for (const std::string& page : htmlFilesIn(tree_.path("html"))) {
      const std::string text = fileText(page);
      for (const char* command : {"@brief", "@param", "@return", "\\brief", "\\param", "\\return", "\\rst"})
        EXPECT_EQ(text.find(command), std::string::npos) << command << " in " << page;
    }
  }
  if (!fs::is_directory("/usr/include/fmt")) return;
  // fmt's format_to: its signature with its parameters, its reStructuredText block as written.
  fs::remove_all(tree_.path("html"));
  document("/usr/include/fmt");
  std::string format_to;
  for (const std::string& page : htmlFilesIn(tree_.path("html"))) {
    const std::string text = fileText(page);
    // A class with many data members and no functions lists no "Member functions" it has no anchor for.
    EXPECT_EQ(text.find("href=\"\""), std::string::npos) << page;
    // format_string is an alias template, linked as a typedef is.
    for (size_t at = text.find("format_to</span>(OutputIt out<wbr>, "); at != std::string::npos;
         at = text.find("format_to</span>(OutputIt out<wbr>, ", at + 1)) {
      const std::string signature = text.substr(at, text.find(')', at) - at);
      if (signature.find("format_string</A>&lt;T...&gt; fmt<wbr>, T&amp;&amp;... args") != std::string::npos)
        format_to = text.substr(at, text.find("</article>", at) - at);
    }
  }
  EXPECT_NE(format_to.find("<PRE CLASS=QLCMT>Formats ``args`` according to specifications in ``fmt``"),
            std::string::npos)
      << format_to;
}

}  // namespace
}  // namespace quillet
