#include "config/layout_editing.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "config/test_util.h"

namespace quillet {
namespace {

LayoutItem named(const std::string& name, int32_t kind = LayoutItem::kChapter) {
  LayoutItem item;
  item.setName(name);
  item.setKind(kind);
  return item;
}

TEST(LayoutEditingTest, ChaptersNestAtMostThreeLevels) {
  LayoutItem root = named("untitled");
  LayoutItem* level1 = insertItem(root, named("One")).item;
  LayoutItem* level2 = insertItem(*level1, named("Two")).item;
  LayoutItem* level3 = insertItem(*level2, named("Three")).item;
  ASSERT_NE(level3, nullptr);
  const std::tuple<LayoutItem*, bool, bool> levels[] = {
      {&root, true, false}, {level1, true, true}, {level2, true, true}, {level3, false, false}};
  for (const auto& [chapter, insert_offered, separable] : levels) {
    EXPECT_EQ(canInsertChapter(*chapter), insert_offered) << chapter->name();
    EXPECT_EQ(canSetNoCombineHeaders(*chapter), separable) << chapter->name();
  }
  const InsertOutcome too_deep = insertItem(*level3, named("Four"));
  EXPECT_EQ(too_deep.result, EditResult::kTooDeep);
  EXPECT_EQ(too_deep.item, nullptr);
  EXPECT_EQ(level3->childCount(), 0u);
  // Other items may still go into the deepest chapter.
  EXPECT_EQ(insertItem(*level3, named("Widget", LayoutItem::kClassesByName)).result, EditResult::kDone);

  // A chapter carrying chapters of its own counts with its whole height.
  LayoutItem nested = named("Outer");
  nested.addChild()->setName("Inner");
  EXPECT_EQ(insertItem(*level2, nested).result, EditResult::kTooDeep);
  EXPECT_EQ(insertItem(*level1, nested).result, EditResult::kDone);
}

TEST(LayoutEditingTest, SameNamesAtOneLevel) {
  LayoutItem root = named("untitled");
  ASSERT_EQ(insertItem(root, named("WIDGETS")).result, EditResult::kDone);
  const InsertOutcome clash = insertItem(root, named("Widgets"));
  EXPECT_EQ(clash.result, EditResult::kNameClash);
  EXPECT_EQ(clash.item, nullptr);
  EXPECT_EQ(insertItem(root, named("widgets", LayoutItem::kText)).result, EditResult::kNameClash);

  LayoutItem* existing = insertItem(root, named("widget", LayoutItem::kClassesByName)).item;
  const InsertOutcome merged = insertItem(root, named("Widget", LayoutItem::kFunctionsByName));
  EXPECT_EQ(merged.result, EditResult::kKindChanged);
  EXPECT_EQ(merged.item, existing);
  EXPECT_EQ(existing->kind(), LayoutItem::kFunctionsByName);
  EXPECT_EQ(outline(root), "WIDGETS[] widget");
  EXPECT_EQ(childNamed(root, "WIDGET"), existing);
  EXPECT_EQ(childNamed(root, "gadget"), nullptr);

  LayoutItem* text = insertItem(root, named("Note", LayoutItem::kText)).item;
  EXPECT_EQ(insertItem(*text, named("Inside", LayoutItem::kText)).result, EditResult::kNotAChapter);
}

TEST(LayoutEditingTest, DeletingAndMovingKeepTheTreeSound) {
  LayoutItem root = named("untitled");
  LayoutItem* a = insertItem(root, named("A")).item;
  LayoutItem* b = insertItem(root, named("B")).item;
  LayoutItem* a_child = insertItem(*a, named("AA")).item;
  LayoutItem* leaf = insertItem(*a_child, named("leaf", LayoutItem::kText)).item;
  insertItem(*insertItem(*insertItem(root, named("Gone")).item, named("Sub")).item, named("x"));

  EXPECT_EQ(deleteItem(*root.child(2)), EditResult::kDone);  // with its subtree
  EXPECT_EQ(deleteItem(root), EditResult::kIsRoot);
  EXPECT_EQ(moveItem(*a, *a), EditResult::kIntoItself);
  EXPECT_EQ(moveItem(*a, *a_child), EditResult::kIntoItself);
  EXPECT_EQ(moveItem(root, *b), EditResult::kIsRoot);
  EXPECT_EQ(moveItem(*b, *leaf), EditResult::kNotAChapter);
  EXPECT_EQ(outline(root), "A[AA[leaf]] B[]");

  EXPECT_EQ(moveItem(*leaf, *b), EditResult::kDone);
  EXPECT_EQ(leaf->parent(), b);
  // A chapter named like one already there is refused; so is nesting below the third level.
  insertItem(*b, named("aa"));
  EXPECT_EQ(moveItem(*a_child, *b), EditResult::kNameClash);
  LayoutItem* deep = insertItem(*insertItem(*b, named("B2")).item, named("B3")).item;
  EXPECT_EQ(moveItem(*a_child, *deep), EditResult::kTooDeep);
  EXPECT_EQ(moveItem(*a, *b->child(2)), EditResult::kTooDeep);  // A holds AA: two chapter levels
  EXPECT_EQ(outline(root), "A[AA[]] B[leaf aa[] B2[B3[]]]");

  // Moving within its own chapter puts the item last.
  EXPECT_EQ(moveItem(*a, root), EditResult::kDone);
  EXPECT_EQ(outline(root), "B[leaf aa[] B2[B3[]]] A[AA[]]");
}

}  // namespace
}  // namespace quillet
