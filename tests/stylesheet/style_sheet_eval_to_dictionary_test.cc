#include "stylesheet/style_sheet_eval_to_dictionary.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "stylesheet/evaluator_fixture.h"

namespace quillet {
namespace {

using Lines = std::vector<std::string>;

// The two passes: the dictionary pass records where every anchor goes, the file pass links to it.
class EvaluationPassesTest : public GuideTest {};

TEST_F(EvaluationPassesTest, AnchorsRecordedFirstAreLinkedFromAnyFile) {
  const std::string main =
      "$$(new_file (chapter, _classes, classes.html))$$(for_each (class_list) start L)"
      "<a href=\"link_to_(class)\">name_</a><a href=\"link_to_(class, _impl)\"></a>$$(next L)";
  record(main, {&guide_});
  EXPECT_TRUE(std::filesystem::is_empty(tree_.root()));  // the dictionary pass writes nothing
  EXPECT_EQ(links_.namedLink(EvaluationContext{}, "Gadget"), "guide_classes.html#c_Gadget");

  EXPECT_EQ(run(main, {&guide_}),
            "<a href=\"guide_classes.html#c_Widget\">Widget</a>"
            "<a href=\"guide_classes.html#ud43525029c_Widget_impl\"></a>"
            "<a href=\"guide_classes.html#c_Gadget\">Gadget</a>"
            "<a href=\"guide_classes.html#ud43525029c_Gadget_impl\"></a>");
  std::string classes;
  ASSERT_TRUE(readFileContents(tree_.path("guide_classes.html"), classes));
  EXPECT_EQ(classes,
            "<a name=\"c_Widget\">Widget</a><a name=\"ud43525029c_Widget_impl\"></a>"
            "<a name=\"c_Gadget\">Gadget</a><a name=\"ud43525029c_Gadget_impl\"></a>");
  EXPECT_TRUE(messages_.lines.empty());

  // RTF links are the anchor names alone.
  RTFStyleSheetFilter rtf;
  EXPECT_EQ(run("{\\v link_to_(class)}", {&guide_, &widget_}, "main.rtf", &rtf), "{\\v c_Widget}");
}

TEST_F(EvaluationPassesTest, AnchorsRecordedTwiceAndLinksNeverRecordedAreReported) {
  record("$$(for_each (class_list) start L)anchor_ anchor_(class, _x)$$(next L)x anchor_(class, _x)",
         {&guide_, &widget_});
  record("anchor_", {&widget_}, "other.html");
  EXPECT_EQ(run("<a href=\"link_to_(chapter)\">", {&guide_}), "<a href=\"\">");
  EXPECT_EQ(messages_.lines, (Lines{
                                 "error(t.html) : link for object Widget already in index",
                                 "error(t.html) : link for object Widget already in index",
                                 "error(t.html) : cannot find link for object Guide",
                             }));
  EXPECT_EQ(links_.objectLink(widget_, EvaluationContext{}), "main.html#c_Widget");  // the first stays
}

}  // namespace
}  // namespace quillet
