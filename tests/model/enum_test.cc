#include "model/enum.h"

#include <gtest/gtest.h>

#include "model/model_test_support.h"

namespace quillet {
namespace {

TEST(EnumTest, NamesAndAnchorsOfEnumerationsAndEnumerators) {
  Enum anonymous;
  anonymous.className = "Shape";
  EXPECT_EQ(anonymous.AnchorName(), "e_Shape_sc___noname");
  EXPECT_EQ(anonymous.FullName(), "Shape::");
  EXPECT_EQ(test(anonymous, "nameless"), 1);

  Enum colour;
  colour.name = "Colour";
  colour.nameSpace = "gfx::detail";
  EXPECT_EQ(colour.AnchorName(), "e_gfx__detail_Colour");
  EXPECT_EQ(colour.FullName(), "Colour");
  EXPECT_EQ(test(colour, "nameless"), 0);
  EXPECT_EQ(test(colour, "namespace"), 1);

  EnumTag red;
  red.name = "Red = 1";
  red.scope = "Shape";
  EXPECT_EQ(red.FullName(), "Shape::Red ");
  EXPECT_EQ(red.AnchorName(), "et_Shape__Red_");
  EnumTag green;
  green.name = "Green";
  EXPECT_EQ(green.FullName(), "Green");
  EXPECT_EQ(green.AnchorName(), "et_Green");
}

TEST(EnumTest, FileReferencesAndCopies) {
  EvaluationContext context;
  Enum flags;
  flags.file = "/src/inc/widget.h";
  flags.tags.emplace_back().name = "kA = 1 << 2";
  EXPECT_EQ(property(flags, "file", context), "widget.h");
  context.currentFile = "/src/doc/html/index.html";
  EXPECT_EQ(property(flags, "file_url", context), "../../inc/widget.h");
  flags.file = "D:\\src\\widget.h";
  EXPECT_EQ(property(flags, "file_url", context), "file:///D:\\src\\widget.h");

  Enum copy = flags;
  copy.tags.emplace_back().name = "kB";
  StyleSheetObject* tags = copy.GetList("tag_list");
  ASSERT_NE(tags, nullptr);
  EXPECT_EQ(tags->Count(), 2u);
  EXPECT_EQ(tags->At(1), &copy.tags[1]);
  EXPECT_EQ(flags.GetList("tag_list")->Count(), 1u);
}

}  // namespace
}  // namespace quillet
