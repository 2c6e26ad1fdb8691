#include "stylesheet/condition.h"

#include <gtest/gtest.h>

#include "stylesheet/command_tokenizer.h"
#include "stylesheet/evaluator_fixture.h"
#include "template_objects/style_sheet_object_list_wrapper.h"

namespace quillet {
namespace {

using Lines = std::vector<std::string>;

class ConditionTest : public GuideTest {
 protected:
  ConditionTest() {
    draw_.tests.insert({{"virtual", 1}, {"offset", -1}});
    run_.tests["virtual"] = 0;
    hide_.tests["virtual"] = 1;
    widget_.tests = {{"size", 7}};
    listOf(widget_, "enum_list", {});
  }

  bool holds(const std::string& condition, ObjectStack stack) {
    return evaluateCondition(cutExpressionTokens(condition), stack, "t.html");
  }
  std::string rewritten(const std::string& condition, ObjectStack stack) {
    return rewriteCondition(cutExpressionTokens(condition), stack, "t.html");
  }
};

TEST_F(ConditionTest, PathsBecomeTheirValues) {
  EXPECT_TRUE(holds("1", {}));
  EXPECT_FALSE(holds("0", {}));
  EXPECT_EQ(rewritten("function.public && !function.static", {&widget_, &draw_}), "1&&!0");
  EXPECT_FALSE(holds("function.public && !function.static", {&widget_, &run_}));
  EXPECT_TRUE(holds("class.size GT 6 && class.size LE 7", {&widget_, &run_}));
  EXPECT_EQ(rewritten("5 - function.offset", {&draw_}), "5--1");  // -1 reads as a unary minus
  EXPECT_TRUE(holds("5 - function.offset == 6", {&draw_}));

  StyleSheetObjectListWrapper loop(functions_, {0, 2});
  loop.setCurrent(1);
  EXPECT_EQ(rewritten("function_list.index*10 + function_list.size", {&widget_, &loop, &hide_}), "1*10+2");
  EXPECT_TRUE(messages_.lines.empty());
}

TEST_F(ConditionTest, CountIfCountsTheElementsForWhichItsConditionHolds) {
  EXPECT_EQ(rewritten("count_if(class.function_list, function.virtual) GT 1", {&widget_}), "2>1");
  EXPECT_EQ(rewritten("count_if(enum_list, enum.public)", {&widget_}), "0");
  EXPECT_EQ(rewritten("count_if(function_list,)", {&widget_}), "3");  // no condition: every element
  EXPECT_EQ(
      rewritten("count_if(function_list, count_if(class.function_list, function.static) == 1)", {&widget_}),
      "3");
  EXPECT_EQ(rewritten("count_if(nothing, function.public)+1", {&widget_}), "+1");  // no list: nothing
  EXPECT_TRUE(messages_.lines.empty());
  EXPECT_EQ(rewritten("count_if(function_list", {&widget_}), "1(1");  // unclosed: an ordinary name
}

TEST_F(ConditionTest, FaultsAreReportedOnce) {
  EXPECT_TRUE(holds("function.publik", {&draw_}));  // a failed lookup counts as 1
  EXPECT_TRUE(holds("size", {&widget_}));           // a one-token path looks for an object of type "size"
  EXPECT_EQ(rewritten("count_if(function_list function.public)", {&widget_}), "");
  EXPECT_FALSE(holds("3 GT 'M'", {}));
  EXPECT_FALSE(holds("3 GT", {}));
  EXPECT_FALSE(holds("(1 || class.size", {&widget_}));
  EXPECT_FALSE(holds("(1 || class.size", {&widget_}));  // every time, though values are remembered
  EXPECT_EQ(messages_.lines,
            (Lines{
                "error(t.html) : unknown property publik in object function in expression function.publik",
                "error(t.html) : cannot find object size in expression size",
                "error(t.html): expression count_if(function_listfunction.public) missing parameter.",
                "error(t.html): invalid token in expression 3>'M' -> 3>'M'",
                "error(t.html): invalid expression 3> -> 3>",
                "error(t.html): mismatch parentheses in expression (1||class.size -> (1||7",
                "error(t.html): mismatch parentheses in expression (1||class.size -> (1||7",
            }));
}

TEST_F(ConditionTest, DeeplyNestedCountIfIsRefused) {
  listOf(draw_, "arg_list", {&draw_});
  std::string condition = "1";
  for (int i = 0; i < 100; ++i) condition = "count_if(arg_list, " + condition + ")";
  EXPECT_FALSE(holds(condition, {&draw_}));
  ASSERT_FALSE(messages_.lines.empty());
  EXPECT_NE(messages_.lines.front().find("nests count_if too deeply"), std::string::npos);
}

}  // namespace
}  // namespace quillet
