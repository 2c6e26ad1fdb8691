#include "config/layout_item.h"

#include <gtest/gtest.h>

#include <string>

#include "config/portable_stream.h"
#include "config/test_util.h"

namespace quillet {
namespace {

// A chapter "Top" holding a chapter "Sub" (with a symbol item) and an embedded text.
LayoutItem sampleTree() {
  LayoutItem root;
  root.setName("Top");
  LayoutItem* sub = root.addChild();
  sub->setName("Sub");
  sub->setNoCombineHeaders(true);
  LayoutItem* symbol = sub->addChild();
  symbol->setName("Widget");
  symbol->setKind(LayoutItem::kClassesByName);
  LayoutItem* text = root.addChild();
  text->setName("Remark");
  text->setKind(LayoutItem::kText);
  text->setText("body");
  return root;
}

TEST(LayoutItemTest, CopiesAndMovesAreDeepAndParentedToTheirTree) {
  const LayoutItem original = sampleTree();
  LayoutItem copy(original);
  EXPECT_EQ(copy, original);
  EXPECT_EQ(copy.parent(), nullptr);
  ASSERT_EQ(copy.childCount(), 2u);
  EXPECT_NE(copy.child(0), original.child(0));
  EXPECT_EQ(copy.child(0)->parent(), &copy);
  EXPECT_EQ(copy.child(0)->child(0)->parent(), copy.child(0));
  copy.child(0)->child(0)->setName("Changed");
  EXPECT_EQ(original.child(0)->child(0)->name(), "Widget");
  EXPECT_FALSE(copy == original);

  // Assignment replaces fields and subtree but keeps the item where it is in its own tree.
  LayoutItem holder;
  LayoutItem* slot = holder.addChild();
  slot->addChild()->setName("old");
  *slot = original;
  EXPECT_EQ(slot->parent(), &holder);
  EXPECT_EQ(*slot, original);
  EXPECT_EQ(slot->child(1)->parent(), slot);

  // Assigning from an item of the subtree being replaced, and moving.
  LayoutItem root = sampleTree();
  const LayoutItem expected(*root.child(0));
  root = *root.child(0);
  EXPECT_EQ(root, expected);
  EXPECT_EQ(root.child(0)->parent(), &root);

  LayoutItem moved = sampleTree();
  LayoutItem target(std::move(moved));
  EXPECT_EQ(target, sampleTree());
  EXPECT_EQ(target.child(0)->parent(), &target);
  EXPECT_EQ(moved.childCount(), 0u);
}

TEST(LayoutItemTest, RecordIsExactAndRefusesAChildGivenAsAReference) {
  LayoutItem root;
  root.setName("R");
  LayoutItem* child = root.addChild();
  child->setName("C");
  child->setKind(LayoutItem::kText);
  child->setCopyToOutput(true);
  PortableWriter out;
  out.beginObjectGraph();
  root.writeRecord(out);
  // Strings count toward the 80-character line. Root: "R" 3, text 5, the 38th reserved string's closing quote
  // would be character 81 and goes to a new line. Child: "C" 6 (counting on), text 8, the 37th reserved
  // string's opening quote would be character 81.
  const std::string empty = "0\r\n\"\"";
  std::string expected = ":1\r\n\\[1\r\n\"R\"6\r\n:32775\r\n\\[\\]" + empty + repeat(empty, 37) +
                         "0\r\n\"\r\n\"" + empty + repeat("0\r\n", 4 + 26 + 10) + "1\r\n";
  // The child is object 2 (the null object took 1); its parent is written as a reference to object 0.
  expected += ":1\r\n\\[1\r\n\"C\"7\r\n@0\r\n" + empty + repeat(empty, 36) + "0\r\n\r\n\"\"" +
              repeat(empty, 2) + "0\r\n0\r\n0\r\n1\r\n" + repeat("0\r\n", 26 + 10) + "0\r\n\\]\\]";
  EXPECT_EQ(out.text(), expected);

  PortableReader in(out.text());
  in.beginObjectGraph();
  LayoutItem read;
  ASSERT_TRUE(read.readRecord(in));
  EXPECT_EQ(read, root);
  EXPECT_EQ(read.child(0)->parent(), &read);
  EXPECT_TRUE(in.atEnd());

  // A child that refers back to an item already read would make a cycle.
  const size_t child_start = out.text().find(":1", 2);
  const std::string cyclic = out.text().substr(0, child_start) + "@0\r\n" + out.text().substr(child_start);
  PortableReader cycle(cyclic);
  EXPECT_FALSE(LayoutItem().readRecord(cycle));
}

}  // namespace
}  // namespace quillet
