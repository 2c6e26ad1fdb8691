#include "stylesheet/object_path.h"

#include <gtest/gtest.h>

#include "stylesheet/command_tokenizer.h"
#include "stylesheet/evaluator_fixture.h"
#include "template_objects/style_sheet_object_list_wrapper.h"

namespace quillet {
namespace {

class ObjectPathTest : public GuideTest {
 protected:
  StyleSheetObject* find(const std::string& path, const ObjectStack& stack) {
    return findObject(cutCommandTokens(path), stack);
  }

  FakeObject& outer_ = make("class", "Outer");
};

TEST_F(ObjectPathTest, FirstNameFindsTheInnermostObjectOfItsTypeOrAnOfferedList) {
  const ObjectStack stack{&guide_, &outer_, &widget_};
  EXPECT_EQ(find("class", stack), &widget_);
  EXPECT_EQ(find("chapter", stack), &guide_);
  EXPECT_EQ(find("function_list", stack), functions_);
  EXPECT_EQ(find("function_list.size", stack), nullptr);  // an offered list only as a one-token path
  EXPECT_EQ(find("class.function_list", stack), functions_);
  EXPECT_EQ(find("class.function_list.size", stack), nullptr);
  EXPECT_EQ(find("enum", stack), nullptr);
  EXPECT_EQ(find("", stack), nullptr);
}

TEST_F(ObjectPathTest, LaterNamesWalkInwardsThroughTheLoops) {
  StyleSheetObjectListWrapper classLoop(classes_, {0});
  StyleSheetObjectListWrapper functionLoop(functions_, {0, 1});
  functionLoop.setCurrent(1);
  const ObjectStack stack{&guide_, &classLoop, &widget_, &functionLoop, &run_};
  EXPECT_EQ(find("class.function", stack), &run_);  // the loop's list stands between them
  EXPECT_EQ(find("class.function_list.function", stack), &run_);
  EXPECT_EQ(find("chapter.class.function", stack), &run_);
  EXPECT_EQ(find("function_list", stack), &functionLoop);  // the loop itself, which knows index and size
  EXPECT_EQ(find("class.arg", stack), nullptr);
  EXPECT_EQ(find("previous", stack), &draw_);  // the loop offers the neighbours
  EXPECT_EQ(find("next", stack), nullptr);
}

}  // namespace
}  // namespace quillet
