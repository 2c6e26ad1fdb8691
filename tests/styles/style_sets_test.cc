// The bundled style sets over a small hand-built document: each set writes its output without a single
// template fault, every link reaches its anchor, the RTF files are well formed, and the configuration's
// options decide what appears.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "app/output_stage.h"
#include "common/message_output.h"
#include "config/configuration.h"
#include "document/document.h"
#include "model/class.h"
#include "styles/output_checks.h"
#include "stylesheet/style_sheet_cache.h"
#include "support/recording_output.h"
#include "support/temp_tree.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

DocText comment(std::string_view text) {
  return DocText(text, false, 1, "widget.h");
}

Function function(std::string ret, std::string name, int32_t access, std::string_view text) {
  Function f;
  f.returnType = std::move(ret);
  f.name = std::move(name);
  f.access = access;
  f.declarationDoc = comment(text);
  return f;
}

Class aClass(std::string key, std::string name, std::string space, std::string file, std::string_view text) {
  Class c;
  c.classType = std::move(key);
  c.name = std::move(name);
  c.nameSpace = std::move(space);
  c.file = std::move(file);
  c.doc = comment(text);
  return c;
}

Enum anEnum(std::string name, std::string scope, std::vector<std::pair<std::string, std::string>> tags) {
  Enum e;
  e.name = std::move(name);
  e.className = scope;
  e.doc = comment("What it can be.");
  for (auto& [tag, text] : tags) {
    e.tags.emplace_back();
    e.tags.back().name = tag;
    e.tags.back().scope = scope;
    e.tags.back().doc = comment(text);
  }
  return e;
}

// A toolkit of two chapters (one with a section inside), a class hierarchy with members of every access,
// a class template, a free function, an enumeration and an inserted text.
class StyleSetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("QUILLET_STYLES");  // the build tree's bundled styles
    setCurrentConfiguration(&configuration);
    setCurrentMessageOutput(&output);
    configuration.setRtfOutputFile(tree.root() + "rtf/toolkit.rtf");
    configuration.setWinHelpOutputFile(tree.root() + "help/toolkit.rtf");
    configuration.setMetricLevel(2);
    configuration.setLinkToHeaders(true);
    buildDocument(tree.write("src/widget.h", "// the header the classes come from\n"));
  }
  void TearDown() override {
    // QUILLET_KEEP_OUTPUT=<folder> keeps what the test wrote, to look at it in a browser.
    if (const char* keep = std::getenv("QUILLET_KEEP_OUTPUT"))
      fs::copy(tree.root(), keep, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    clearStyleSheetCache();
    setCurrentMessageOutput(nullptr);
    setCurrentConfiguration(nullptr);
  }

  void buildDocument(const std::string& header) {
    document.setName("Widget Toolkit");
    document.appendChapter("Guide")->appendExternalDocument(ExternalDocument::inserted(
        "Getting started", "", comment("Widgets draw themselves on a Canvas.\n\nKeep a < b && c in mind.")));
    Chapter* api = document.appendChapter("API Reference");

    Class widget = aClass("class", "Widget", "ui", header, "A rectangle on the screen that draws itself.");
    Function make = function("", "Widget", kAccessPublic, "Creates a widget with the given id.");
    make.AddArg("int", "int", "id", "0", comment("the widget's number"));
    make.size = 2;
    widget.AddFunction(make);
    Function draw = function("virtual void", "Draw", kAccessPublic, "Paints the widget.");
    draw.attributes = "const = 0";
    draw.AddArg("Canvas&", "Canvas&", "canvas", "", DocText());
    widget.AddFunction(draw);
    widget.AddFunction(function("static int", "Count", kAccessPublic, "How many widgets exist."));
    widget.AddFunction(function("void", "Invalidate", kAccessProtected, "Marks the widget for redrawing."));
    widget.AddFunction(function("void", "ResetCache", kAccessPrivate, "Forgets the cached image."));
    widget.AddData("long", "serial", comment("Unique among all widgets."), kAccessPrivate);
    widget.AddData("bool", "visible", comment("Whether it is shown."), kAccessPublic);
    widget.enums.push_back(anEnum("State", "Widget", {{"Idle", "waiting for input"}, {"Busy = 2", ""}}));
    api->appendClass(widget);

    Class button = aClass("class", "Button", "ui", header, "A widget that can be pressed. See Widget.");
    button.AddParent(kAccessPublic, "Widget");
    Function press = function("void", "Press", kAccessPublic, "Presses the button.");
    press.AddArg("int", "int", "times", "1", comment("how often"));
    press.size = 12;
    press.mccabe = 4;
    button.AddFunction(press);
    api->appendClass(button);

    Class box = aClass("struct", "Box", "", header, "Holds one value of <b>any</b> type.");
    box.templatePrefix = "template <class T>";
    box.AddFunction(function("T", "Get", kAccessPublic, "The value."));
    box.specializations = {"Box<int>"};
    Class boxOfInt = aClass("struct", "Box<int>", "", header, "Holds a number.");
    boxOfInt.templatePrefix = "template <>";
    Chapter* details = api->appendChapter("Details");
    details->appendClass(box);
    details->appendClass(boxOfInt);

    Function canvas = function("Canvas*", "MakeCanvas", kAccessPublic, "Creates a canvas of the given size.");
    canvas.file = header;
    canvas.AddArg("int", "int", "width", "", comment("in pixels"));
    canvas.AddArg("int", "int", "height", "", DocText());
    canvas.size = 5;
    canvas.mccabe = 2;
    api->appendFunction(canvas);
    Enum colour = anEnum("Colour", "", {{"Red", "pure red"}});
    colour.file = header;
    api->appendEnum(colour);
    document.sort();
  }

  // Writes one output of `format` with the style set `set`; answers the lines reported that are faults.
  // Each HTML output goes to a folder of its own, html_ being the last one.
  std::vector<std::string> write(int32_t format, const std::string& set) {
    html_ = tree.path("html" + std::to_string(++runs_));
    configuration.setHtmlOutputFile(html_ + "/toolkit.html");
    if (format == kHtmlFormat) configuration.setHtmlStyle(set);
    if (format == kRtfFormat) configuration.setRtfStyle(set);
    if (format == kWinHelpFormat) configuration.setWinHelpStyle(set);
    output.lines.clear();
    writeOutput(document, format);
    clearStyleSheetCache();
    std::vector<std::string> faults;
    for (const std::string& line : output.lines)
      if (line.find("error") != std::string::npos && line.find("hcrtf") == std::string::npos)
        faults.push_back(line);
    return faults;
  }

  // The page of the HTML output whose text contains `marker`.
  std::string pageWith(const std::string& marker) {
    for (const std::string& page : htmlFilesIn(html_)) {
      const std::string text = fileText(page);
      if (text.find(marker) != std::string::npos) return text;
    }
    return {};
  }

  TempTree tree;
  std::string html_;
  int runs_ = 0;
  Configuration configuration;
  RecordingOutput output;
  Document document;
};

TEST_F(StyleSetsTest, HtmlSetsWriteLinkedPagesAndTheOptionsDecideWhatAppears) {
  for (const std::string set : {"Standard Style", "Single File Style"}) {
    for (const bool on : {false, true}) {
      SCOPED_TRACE(set + (on ? " with the options on" : " with the options off"));
      configuration.setDocumentProtected(on);
      configuration.setDocumentPrivate(on);
      configuration.setFunctionsInToc(on);
      configuration.setLinkToHeaders(on);
      configuration.setMetricLevel(on ? 0 : 1);  // summary and details with charts, or the summary alone
      document.sort();                           // what classes inherit follows the access the run documents
      ASSERT_EQ(write(kHtmlFormat, set), std::vector<std::string>());
      const std::vector<std::string> pages = htmlFilesIn(html_);
      ASSERT_FALSE(pages.empty());
      EXPECT_EQ(brokenLinks(pages), std::vector<std::string>());
      EXPECT_EQ(unexpandedReferences(pages), std::vector<std::string>());
      EXPECT_TRUE(fs::exists(html_ + "/toolkit.idx"));
      for (const std::string& page : pages) {
        const std::string text = fileText(page);
        EXPECT_EQ(text.rfind("<!DOCTYPE html>", 0), 0u) << page;
        EXPECT_NE(text.find("<meta charset=\"utf-8\">"), std::string::npos) << page;
      }

      const std::string widget = pageWith("id=\"c_ui_scp_Widget\"");
      for (const char* expected :
           {"Draw", "Canvas&amp;", "const = 0", "Count", "int id<wbr> = 0", "The widget's number.", "Idle",
            "Busy = 2", "Waiting for input.", "visible", "namespace"})
        EXPECT_NE(widget.find(expected), std::string::npos) << expected;
      for (const char* hidden :
           {"Protected member functions", "Invalidate", "Private member functions", "ResetCache", "serial"})
        EXPECT_EQ(widget.find(hidden) != std::string::npos, on) << hidden;
      EXPECT_EQ(widget.find("widget.h</code></a>") != std::string::npos, on) << "the header is a link";
      const std::string button = pageWith("id=\"c_ui_scp_Button\"");
      EXPECT_TRUE(
          std::regex_search(button, std::regex(R"(: public <A HREF="[^"]+#c_ui_scp_Widget">Widget</A>)")))
          << "the base class links to its page";
      const std::string box = pageWith("id=\"c_Box\"");
      EXPECT_NE(box.find("template &lt;class T&gt;"), std::string::npos);
      EXPECT_NE(box.find("<b>any</b>"), std::string::npos);
      EXPECT_NE(pageWith("id=\"d_Getting_started\"").find("Keep a &lt; b &amp;&amp; c in mind."),
                std::string::npos);
      EXPECT_NE(pageWith("id=\"f_MakeCanvas_int_int\"").find("In pixels."), std::string::npos);
      if (set != "Standard Style") continue;

      const std::string contents = fileText(html_ + "/toolkit.html");
      EXPECT_EQ(contents.find(">Draw</a>") != std::string::npos, on) << "member functions in the contents";
      EXPECT_EQ(contents.find("Functions of this chapter") != std::string::npos, !on);
      // The contents follow the arrangement: Details sits in the card of API Reference, no list is empty.
      const size_t card = contents.find(">API Reference</a></h2>");
      ASSERT_NE(card, std::string::npos);
      EXPECT_LT(contents.find(">Details</a></h3>", card), contents.find("</section>", card));
      EXPECT_EQ(contents.find("<ul class=\"entries\">\n</ul>"), std::string::npos);
      const std::string metrics = pageWith("id=\"ud43525029_metrics\"");
      EXPECT_NE(metrics.find("<svg class=\"chart-svg\""), std::string::npos)
          << "the charts are drawn in the page";
      // Derived classes and inherited members, grouped by base: Button inherits Count but no constructor.
      EXPECT_TRUE(std::regex_search(
          widget, std::regex(R"re(Derived classes.*href="[^"]+#c_ui_scp_Button">Button<)re")));
      const size_t inherited = button.find("Inherited members");
      ASSERT_NE(inherited, std::string::npos);
      EXPECT_NE(button.find("#f_ui_Widget_Count\">Count</a>", inherited), std::string::npos);
      EXPECT_EQ(button.find(">Invalidate</a>", inherited) != std::string::npos, on) << "protected members";
      for (const char* shared : {"/search.html", "/search-index.js", "/nav_tree.js", "/quillet.js"})
        EXPECT_TRUE(fs::exists(html_ + shared)) << shared;
      EXPECT_EQ(metrics.find("Compared with the whole document") != std::string::npos, on);
      // Class pages link to their neighbours in the sorted chapter (Button, then Widget); the last class of a
      // chapter has no next, the first of the next chapter no previous.
      EXPECT_TRUE(std::regex_search(button, std::regex(R"(class="next" href="[^"]+#c_ui_scp_Widget")")));
      EXPECT_FALSE(std::regex_search(button, std::regex(R"(class="prev")")));
      EXPECT_TRUE(std::regex_search(widget, std::regex(R"(class="prev" href="[^"]+#c_ui_scp_Button")")));
      EXPECT_FALSE(std::regex_search(widget, std::regex(R"(class="next")")));
      EXPECT_FALSE(std::regex_search(box, std::regex(R"(class="prev")")));
      EXPECT_TRUE(std::regex_search(box, std::regex(R"(class="next" href="[^"]+#c_BoxLTintGT")")));
    }
  }
  configuration.setMetricLevel(2);  // no metrics
  ASSERT_EQ(write(kHtmlFormat, "Standard Style"), std::vector<std::string>());
  EXPECT_EQ(fileText(html_ + "/toolkit.html").find(">Metrics</a>"), std::string::npos);
  EXPECT_EQ(pageWith("ud43525029_metrics\""), "");
}

TEST_F(StyleSetsTest, RtfSetsWriteWellFormedDocumentsOnTheirPaper) {
  const std::pair<std::string, std::string> sets[] = {{"Standard Style", "\\paperw12240\\paperh15840"},
                                                      {"Standard A4 Style", "\\paperw11906\\paperh16838"}};
  for (const auto& [set, paper] : sets) {
    SCOPED_TRACE(set);
    EXPECT_EQ(write(kRtfFormat, set), std::vector<std::string>());
    const std::string rtf = fileText(tree.path("rtf/toolkit.rtf"));
    EXPECT_EQ(rtfProblems(rtf), std::vector<std::string>());
    EXPECT_NE(rtf.find(paper), std::string::npos);
    for (const char* expected : {"{\\*\\bkmkstart c_ui_scp_Widget}", "Widget Toolkit", "Getting started",
                                 "Canvas&", "Busy = 2", "HYPERLINK \\\\l \"c_Box\"", "template <class T>",
                                 "Specialization of ", "Specializations: "})
      EXPECT_NE(rtf.find(expected), std::string::npos) << expected;
  }
}

TEST(RtfStyleSetsTest, A4AndLetterSetsDifferOnlyInPaperAndLanguage) {
  // The A4 set is the Letter set on other paper: a change to one that the other misses shows here.
  const std::string styles = std::string(QUILLET_SOURCE_DIR) + "/styles/RTF/";
  std::string letter = fileText(styles + "Standard Style/main.rtf");
  std::string a4 = fileText(styles + "Standard A4 Style/main.rtf");
  ASSERT_FALSE(letter.empty());
  const std::pair<std::string, std::string> paper[] = {
      {R"(\deflang1033)", R"(\deflang2057)"},
      {R"(\paperw12240\paperh15840\margl1440\margr1440)", R"(\paperw11906\paperh16838\margl1418\margr1418)"},
      {R"(\pgwsxn12240\pghsxn15840\marglsxn1440\margrsxn1440)",
       R"(\pgwsxn11906\pghsxn16838\marglsxn1418\margrsxn1418)"}};
  for (const auto& [from, to] : paper) {
    const size_t at = letter.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    letter.replace(at, from.size(), to);
  }
  EXPECT_EQ(letter, a4);
}

TEST_F(StyleSetsTest, WinHelpSetWritesTopicsAndTheHelpProject) {
  EXPECT_EQ(write(kWinHelpFormat, "Standard Style"), std::vector<std::string>());
  EXPECT_TRUE(output.mentions("hcrtf  /x \"toolkit.hpj\""));
  const std::string rtf = fileText(tree.path("help/toolkit.rtf"));
  EXPECT_EQ(winHelpProblems(rtf), std::vector<std::string>());
  EXPECT_NE(rtf.find("#{\\footnote c_ui_scp_Widget}${\\footnote class Widget}"), std::string::npos);
  EXPECT_NE(rtf.find("\\page"), std::string::npos);
  EXPECT_NE(rtf.find("Specialization of {\\uldb Box\\ulnone\\v c_Box }"), std::string::npos);
  EXPECT_NE(rtf.find("Specializations: {\\uldb Box<int>\\ulnone\\v c_BoxLTintGT }"), std::string::npos);

  const std::string project = fileText(tree.path("help/toolkit.hpj"));
  EXPECT_NE(project.find("[FILES]\ntoolkit.rtf\n"), std::string::npos);
  EXPECT_NE(project.find("TITLE=Widget Toolkit\n"), std::string::npos);
  std::smatch contents;
  ASSERT_TRUE(std::regex_search(project, contents, std::regex("CONTENTS=(\\S+)")));
  EXPECT_NE(rtf.find("#{\\footnote " + contents[1].str() + "}"), std::string::npos);
}

}  // namespace
}  // namespace quillet
