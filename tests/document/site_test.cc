// What the HTML site is made of beyond the style sheets: the search index, the side tree, source lines,
// SVG charts and the relations between classes that class pages show.
#include <gtest/gtest.h>

#include <sstream>

#include "config/configuration.h"
#include "document/class_relations.h"
#include "document/document.h"
#include "document/search_index.h"
#include "document/site_tree.h"
#include "document/svg_chart.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/link_lookup.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {
namespace {

// Every object is anchored on a page of its own anchor name; nothing is anchored by name.
class PageLinks : public LinkLookup {
 public:
  std::string namedLink(const EvaluationContext&, std::string_view) const override { return {}; }
  std::string objectLink(const StyleSheetObject& object, const EvaluationContext&) const override {
    return object.AnchorName() + ".html#" + object.AnchorName();
  }
};

Function function(std::string name, std::string ret, int32_t access = kAccessPublic) {
  Function f;
  f.name = std::move(name);
  f.returnType = std::move(ret);
  f.access = access;
  return f;
}

Class aClass(std::string name, std::vector<std::pair<int32_t, std::string>> bases = {}) {
  Class c;
  c.name = std::move(name);
  c.classType = "class";
  for (auto& [access, base] : bases) c.AddParent(access, base);
  return c;
}

class SiteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setCurrentConfiguration(&configuration);
    context.filter = &filter;
    context.linkIndex = &links;
  }
  void TearDown() override { setCurrentConfiguration(nullptr); }

  Configuration configuration;
  HTMLStyleSheetFilter filter;
  PageLinks links;
  EvaluationContext context;
};

TEST_F(SiteTest, SearchIndexAndTreeHoldEveryKindWithPagesAndPlainSummaries) {
  Document document;
  Chapter* api = document.appendChapter("API \"Reference\"");
  Class widget = aClass("Widget");
  widget.nameSpace = "ui::detail";
  widget.file = "src/widget.h";
  widget.doc = DocText("A <b>rectangle</b> that draws itself. More text.", false, 1, "widget.h");
  Function draw = function("Draw", "void");
  draw.attributes = "const";
  draw.AddArg("Canvas&", "Canvas&", "canvas", "", DocText());
  widget.AddFunction(draw);
  api->appendClass(widget);
  Enum colour;
  colour.name = "Colour";
  colour.file = "src/widget.h";
  colour.tags.emplace_back().name = "Red = 1";
  api->appendEnum(colour);
  document.sort();

  std::ostringstream index;
  writeSearchIndex(document, context, index);
  const std::string text = index.str();
  EXPECT_NE(
      text.find("[0,\"API \\\"Reference\\\"\",\"\",\"\",\"\",0,\"chp_Class_Dictionary_API__Reference_\"]"),
      std::string::npos)
      << text;
  EXPECT_NE(text.find("[2,\"Widget\",\"ui::detail::\",\"\",\"A rectangle that draws itself.\",1,"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("[7,\"Draw\",\"ui::detail::Widget::\",\"(Canvas&) const\","), std::string::npos)
      << text;
  EXPECT_NE(text.find("[8,\"Red\",\"Colour::\""), std::string::npos) << text;
  EXPECT_NE(text.find("[1,\"detail\",\"ui::\""), std::string::npos) << text;
  EXPECT_NE(text.find("[1,\"ui\",\"\""), std::string::npos) << text;
  EXPECT_NE(text.find("[9,\"widget.h\",\"src/\""), std::string::npos) << text;

  std::ostringstream tree;
  writeSiteTree(document, context, tree);
  EXPECT_EQ(tree.str(),
            "window.quilletTree=[[\"API \\\"Reference\\\"\",\"chp_Class_Dictionary_API__Reference_.html#"
            "chp_Class_Dictionary_API__Reference_\",[[\"Widget\",\"c_ui_scp_detail_scp_Widget.html#"
            "c_ui_scp_detail_scp_Widget\",[]]]],[\"Namespaces\",\"\",[[\"ui::detail\",\"\",[[\"Widget\","
            "\"c_ui_scp_detail_scp_Widget.html#c_ui_scp_detail_scp_Widget\",[]]]]]]];\n");
}

TEST_F(SiteTest, ScriptStringsAndPlainTextAreSafe) {
  std::ostringstream out;
  writeScriptString(out, "a\"b\\c\n</script>");
  EXPECT_EQ(out.str(), "\"a\\\"b\\\\c\\u000a<\\/script>\"");
  EXPECT_EQ(plainText("  <p>a &lt; b &amp;&amp;\n <code>c</code></p> "), "a < b && c");
  EXPECT_EQ(plainText("broken <tag"), "broken");
}

TEST_F(SiteTest, SourceLinesCarryAnchorsAndCutStretchesAtLineBreaks) {
  std::ostringstream out;
  // A comment over two lines, a keyword, and text that needs escaping.
  writeSourceLines(out, "/* a\nb */ int x<y;\n", {{0, 9, SpanKind::kComment}, {10, 13, SpanKind::kKeyword}});
  EXPECT_EQ(
      out.str(),
      "<span class=\"line\" id=\"L1\"><span class=\"ln\">1</span><span class=\"cm\">/* a</span></span>\n"
      "<span class=\"line\" id=\"L2\"><span class=\"ln\">2</span><span class=\"cm\">b */</span> "
      "<span class=\"kw\">int</span> x&lt;y;</span>\n");
  std::ostringstream empty;
  writeSourceLines(empty, "", {});
  EXPECT_EQ(empty.str(), "<span class=\"line\" id=\"L1\"><span class=\"ln\">1</span></span>\n");
}

TEST_F(SiteTest, ChartsCountInWholeNumbersWithHorizontalLabels) {
  const std::pair<uint64_t, CountAxis> axes[] = {{0, {1, 1}},   {1, {1, 1}},     {3, {1, 3}},
                                                 {12, {2, 12}}, {95, {10, 100}}, {1234, {200, 1400}}};
  for (const auto& [highest, axis] : axes) {
    EXPECT_EQ(countAxis(highest).step, axis.step) << highest;
    EXPECT_EQ(countAxis(highest).top, axis.top) << highest;
  }
  std::ostringstream svg;
  const uint32_t counts[] = {0, 1, 1};
  writeSvgBarChart(svg, counts, "Classes by size", "Statements", "Classes");
  const std::string text = svg.str();
  EXPECT_NE(text.find("<title>Classes by size</title>"), std::string::npos);
  EXPECT_NE(text.find(">Statements</text>"), std::string::npos);
  EXPECT_EQ(text.find("0.5</text>"), std::string::npos) << "fractional count ticks";
  EXPECT_EQ(text.find("rotate"), std::string::npos);
  EXPECT_EQ(text.find("fill=\"#"), std::string::npos) << "colours come from the page's style sheet";
  std::ostringstream none;
  writeSvgBarChart(none, {}, "t", "x", "y");
  EXPECT_EQ(none.str(), "");
}

TEST_F(SiteTest, ClassesKnowDerivedClassesInheritedMembersAndOverrides) {
  Class shape = aClass("Shape");
  shape.nameSpace = "geo";
  shape.AddFunction(function("Draw", "virtual void")).attributes = "const = 0";
  shape.AddFunction(function("Area", "double"));
  shape.AddFunction(function("Shape", ""));
  shape.AddFunction(function("Secret", "void", kAccessPrivate));
  Class circle = aClass("Circle", {{kAccessPublic, "Shape"}});
  circle.nameSpace = "geo";
  circle.AddFunction(function("Draw", "virtual void")).attributes = "const override";
  Class rectangle = aClass("Rectangle", {{kAccessPublic, "geo::Shape"}});
  rectangle.nameSpace = "geo";
  rectangle.AddFunction(function("Width", "double"));
  Class square = aClass("Square", {{kAccessPublic, "virtual Rectangle"}});
  square.nameSpace = "geo";
  Class hidden = aClass("Hidden", {{kAccessPrivate, "Shape"}});
  hidden.nameSpace = "geo";
  std::vector<StyleSheetObject*> classes{&shape, &circle, &rectangle, &square, &hidden};
  relateClasses(classes);

  EXPECT_EQ(shape.derivedClasses, (std::vector<Class*>{&circle, &rectangle, &hidden}));
  EXPECT_EQ(rectangle.derivedClasses, (std::vector<Class*>{&square}));
  // Circle declares Draw again: only Area is inherited; constructors and private members never are.
  ASSERT_EQ(circle.inherited.size(), 1u);
  EXPECT_EQ(circle.inherited[0].base, &shape);
  EXPECT_EQ(circle.inherited[0].functions, (std::vector<Function*>{&(*shape.functions)[1]}));
  // Grouped by base, nearest first.
  ASSERT_EQ(square.inherited.size(), 2u);
  EXPECT_EQ(square.inherited[0].base, &rectangle);
  EXPECT_EQ(square.inherited[1].base, &shape);
  EXPECT_EQ(square.inherited[1].functions.size(), 2u);
  // A private base shows nothing unless private members are documented.
  EXPECT_TRUE(hidden.inherited.empty());
  // Overrides link both ways.
  Function& baseDraw = (*shape.functions)[0];
  Function& circleDraw = (*circle.functions)[0];
  EXPECT_EQ(circleDraw.overrides, &baseDraw);
  EXPECT_EQ(baseDraw.overriddenBy, (std::vector<Function*>{&circleDraw}));
  EXPECT_EQ(baseName("virtual ::geo::Box<int, 2>"), "::geo::Box");

  // A deep chain lists the nearest bases only and says where the list goes on, so that no page repeats a
  // whole ancestry; an override is still found in a near base.
  std::vector<Class> chain;
  chain.reserve(40);
  for (int i = 0; i < 40; ++i) {
    chain.push_back(aClass("C" + std::to_string(i)));
    if (i > 0) chain.back().AddParent(kAccessPublic, "C" + std::to_string(i - 1));
    chain.back().AddFunction(function("Step" + std::to_string(i), "virtual void"));
    chain.back().AddFunction(function("Run", "virtual void"));
  }
  std::vector<StyleSheetObject*> chained;
  for (Class& c : chain) chained.push_back(&c);
  relateClasses(chained);
  const Class& last = chain.back();
  ASSERT_EQ(last.inherited.size(), 32u);
  EXPECT_EQ(last.inherited.front().base, &chain[38]);
  EXPECT_FALSE(last.inherited.front().continued);
  EXPECT_EQ(last.inherited.back().base, &chain[7]);
  EXPECT_TRUE(last.inherited.back().continued);
  EXPECT_EQ((*last.functions)[1].overrides, &(*chain[38].functions)[1]);
  EXPECT_FALSE(chain[5].inherited.back().continued);
}

}  // namespace
}  // namespace quillet
