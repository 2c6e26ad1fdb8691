#include "stylesheet/style_sheet_evaluator.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "stylesheet/evaluator_fixture.h"

namespace quillet {
namespace {

using Lines = std::vector<std::string>;

class StyleSheetEvaluatorTest : public GuideTest {};

TEST_F(StyleSheetEvaluatorTest, LoopsWriteTheirBodyOncePerItemAndTheTextAfterNextOnce) {
  const std::string loop = "A$$(for_each (class_list) start L)[name_]$$(next L)B";
  EXPECT_EQ(run(loop, {&guide_}), "A[Widget][Gadget]B");
  EXPECT_EQ(run(loop, {&widget_}), "AB");  // a class offers no class list: reported, and the body skipped
  EXPECT_EQ(run("$$(for_each (class_list) start C)name_:$$(for_each (function_list) start F)name_,$$(next F);"
                "$$(next C).",
                {&guide_}),
            "Widget:Draw,Run,Hide,;Gadget:;.");  // Gadget's empty list writes nothing of its body
  EXPECT_EQ(run("$$(for_each_if (function_list, function.public) start L)$$(if (function_list.index GT 0)), "
                "$$(if (1))name_ function_list.name_$$(if (function_list.size == 2))of two$$(next L)",
                {&widget_}),
            "Draw name_of two, Run name_of two");  // the object part is not written back
  EXPECT_EQ(run("$$(for_each (class_list) start L)$$(if (count_if(function_list, function.static) GT 0))"
                "name_ has statics. $$(if (count_if(function_list, function.public) LT 1))name_ has none. "
                "$$(next L)",
                {&guide_}),
            "Widget has statics. Gadget has none. ");
  EXPECT_EQ(messages_.lines, Lines{"error(t.html:1) : cannot find list object class_list in for_each"});
}

TEST_F(StyleSheetEvaluatorTest, ReferencesAreOfferedInnermostFirstAndWrittenBackWhenNobodyKnowsThem) {
  EXPECT_EQ(run("$$(for_each (class_list) start L)name_ in title_ of chapter.name_; $$(next L)", {&guide_}),
            "Widget in Guide Book of Guide; Gadget in Guide Book of Guide; ");
  FakeObject& nameless = make("class");
  nameless.properties["name"] = "";
  EXPECT_EQ(run("[name_+]", {&nameless}), "[]");
  EXPECT_EQ(run("[name_+]", {&widget_}), "[Widget ]");
  EXPECT_EQ(run("see unknown_word_, nobody.name_, zz_+", {}), "see unknown_word_, name_, zz_+");
  EXPECT_EQ(run("current_filename_+|", {}), "main |");
  EXPECT_TRUE(messages_.lines.empty());

  EXPECT_EQ(run("link_to_(, _x) anchor_(nothing) link_to_(nothing)", {&guide_}), "link_to_ anchor_ link_to_");
  EXPECT_EQ(
      messages_.lines,
      (Lines{
          "error(t.html) : link_to tag cannot have an postfix parameter (_x) without an object parameter.",
          "error(t.html) : object nothing not found.  anchor not expanded in Guide",
          "error(t.html) : object link_to(nothing) not found in object Guide",
      }));
}

TEST_F(StyleSheetEvaluatorTest, FaultsOfLoopsAreReportedAndSkipped) {
  EXPECT_EQ(run("A$$(for_each (nothing) start L)x$$(next L)B", {&guide_}), "AB");
  EXPECT_EQ(run("$$(for_each_if (nothing, 1) start L)x$$(next L)B", {&guide_}), "B");
  EXPECT_EQ(run("$$(for_each_if (class_list) start L)x$$(next L)B", {&guide_}), "B");
  EXPECT_EQ(run("$$(for_each (class_list) start L)x$$(next K)y", {&guide_}), "xyxy");
  EXPECT_EQ(run("a$$(next Z)b\n$$(next)c", {}), "ab\n");  // an unlabelled next ends the outermost run
  // Nexts that close no loop are told when the style sheet is read, with their lines.
  EXPECT_EQ(
      messages_.lines,
      (Lines{
          "error(t.html:1) : cannot find list object nothing in for_each",
          "error(t.html:1) : cannot find list object nothing,1 in for_each.",
          "error(t.html): expression class_list missing parameter.",
          "warning(t.html:1) : next K closes no loop (a loop's label misspelt, or its loop gone?)",
          "error(t.html:1) : cannot find closing next statement for label L",
          "warning(t.html:1) : next Z closes no loop (a loop's label misspelt, or its loop gone?)",
          "warning(t.html:2) : next without a label closes no loop; outside loops it ends the style sheet "
          "here",
      }));
  guide_.properties["cancel"] = "stop";
  EXPECT_EQ(
      run("a$$(if (1))cancel_ now$$(if (1))b$$(for_each (class_list) start L)name_$$(next L)", {&guide_}),
      "astop now");
}

TEST_F(StyleSheetEvaluatorTest, NewFileNamesItsFileAfterTheObjectAndFindsItsStyleSheet) {
  EXPECT_EQ(
      run("$$(new_file (chapter, _part, part.html))done$$(new_file (chapter, x.txt.bak, part.html))"
          "$$(new_file (class, y, part.html))$$(new_file (nothing, z, part.html))$$(copy_file (logo.txt))"
          "$$(new_file (chapter, \"-index.js\", part.html))$$(new_file (chapter, -index.js, part.html))",
          {&guide_, &widget_}),
      "done");
  // Quoted, a file name keeps its hyphens; unquoted, they become underscores.
  EXPECT_TRUE(std::filesystem::exists(tree_.path("guide-index.js")));
  EXPECT_TRUE(std::filesystem::exists(tree_.path("guide_index.js")));
  EXPECT_EQ(written("guide_part.html"), "<h1>Widget</h1><li>Widget<li>Gadget");
  EXPECT_TRUE(std::filesystem::exists(tree_.path("guidex.txt.bak")));
  EXPECT_TRUE(std::filesystem::exists(tree_.path("y.html")));  // the configured HTML extension
  EXPECT_EQ(written("logo.txt"), "a logo\n");
  html_.setFormat(kRtfFormat);
  run("$$(new_file (chapter, r, part.html))", {&guide_});
  EXPECT_TRUE(std::filesystem::exists(tree_.path("guider.rtf")));
  messages_.lines.clear();  // the RTF style set has no part.html

  run("$$(new_file (chapter, x))$$(new_file (chapter))$$(new_file (a, b, c, d))", {&guide_});
  EXPECT_EQ(messages_.lines, (Lines{
                                 "error(t.html): expression chapter,x missing parameter.",
                                 "error(t.html): expression chapter missing parameter.",
                                 "error(t.html): expression a,b,c,d too many parameters.",
                             }));
}

TEST_F(StyleSheetEvaluatorTest, StyleSheetIncludingItselfStopsAtTheNestingBound) {
  guide_.properties["level"] = "";
  for (const std::string sheet : {"self.html", "twice.html"}) {  // twice.html starts itself twice
    guide_.written = 0;
    messages_.lines.clear();
    run("$$(new_file (chapter, s, " + sheet + "))", {&guide_});
    EXPECT_EQ(guide_.written, StyleSheetEvaluator::kMaxNesting - 1) << sheet;
    ASSERT_EQ(messages_.lines.size(), 1u) << sheet;
    EXPECT_NE(
        messages_.lines[0].find(sheet + ": The maximum nesting depth has been reached. The current style "
                                        "sheet may be including itself. "),
        std::string::npos);
    EXPECT_EQ(StyleSheetEvaluator::liveCount(), 0);
  }
}

TEST_F(StyleSheetEvaluatorTest, LongListsRunInLinearTime) {
  FakeObject& big = make("chapter", "Big");
  std::vector<FakeObject*> items;
  for (int i = 0; i < 20000; ++i) {
    items.push_back(&make("class", "C" + std::to_string(i)));
    items.back()->tests["public"] = i % 2;
  }
  listOf(big, "class_list", items);
  const auto start = std::chrono::steady_clock::now();
  const std::string out =
      run("$$(for_each_if (class_list, class.public) start L)$$(if (class_list.index GT 0)),$$(if "
          "(1))name_+$$(next L)",
          {&big});
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(out.substr(0, 12), "C1 ,C3 ,C5 ,");
}

}  // namespace
}  // namespace quillet
