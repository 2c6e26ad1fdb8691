#include "stylesheet/style_sheet_object_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "stylesheet/style_sheet_object_list_wrapper.h"

namespace quillet {
namespace {

// A minimal model object: a name, and a "next" list of its own when it is a list with neighbours.
class Item final : public StyleSheetObject {
 public:
  explicit Item(std::string name, StyleSheetObject* next = nullptr) : name_(std::move(name)), next_(next) {}
  bool WriteProperty(const EvaluationContext&, std::string_view, std::ostream&) override { return false; }
  std::string_view TypeName() const override { return "item"; }
  std::string FullName() const override { return name_; }
  bool Test(std::string_view property, int32_t& value) const override {
    if (property != "level") return false;
    value = 7;
    return true;
  }
  StyleSheetObject* GetList(std::string_view name) override { return name == "next" ? next_ : nullptr; }

 private:
  std::string name_;
  StyleSheetObject* next_;
};

std::string nameOf(StyleSheetObject* object) {
  return object ? object->FullName() : "<none>";
}

TEST(StyleSheetObjectListTest, ViewsOverEveryCollectionShape) {
  std::vector<Item> values{Item("a"), Item("b")};
  Item c("c");
  std::vector<Item*> pointers{&c};
  std::vector<std::unique_ptr<Item>> owned;
  owned.push_back(std::make_unique<Item>("e"));
  StyleSheetObjectVectorList value_view("function_list", &values);
  StyleSheetObjectVectorList pointer_view("class_list", &pointers);
  StyleSheetObjectVectorList owned_view("chapter_list", &owned);
  StyleSheetObjectSubsetList subset("global_class_list");
  subset.add(&values[1]);

  EXPECT_EQ(&values[1], value_view.At(1));
  EXPECT_EQ(nameOf(pointer_view.At(0)), "c");
  EXPECT_EQ(nameOf(owned_view.At(0)), "e");
  EXPECT_EQ(nameOf(subset.At(0)), "b");
  // Past the end every view answers no object rather than reading outside its collection.
  EXPECT_EQ(value_view.At(2), nullptr);
  EXPECT_EQ(subset.At(1), nullptr);
  // A view follows its collection as it grows; one without a collection is empty.
  values.emplace_back("z");
  EXPECT_EQ(nameOf(value_view.At(2)), "z");
  StyleSheetObjectVectorList<std::vector<Item>> unbound("enum_list", nullptr);
  EXPECT_EQ(unbound.At(0), nullptr);

  // A view knows its name, "size" and nothing else.
  EXPECT_EQ(value_view.TypeName(), "function_list");
  int32_t value = -1;
  ASSERT_TRUE(value_view.Test("size", value));
  EXPECT_EQ(value, 3);
  EXPECT_FALSE(value_view.Test("index", value));
  EXPECT_EQ(value_view.GetList("function_list"), nullptr);
}

class ListWrapperTest : public ::testing::Test {
 protected:
  ListWrapperTest() : view_("class_list", &items_) {}

  std::vector<Item> items_{Item("a"), Item("bb"), Item("ccc"), Item("dddd"), Item("eeeee")};
  StyleSheetObjectVectorList<std::vector<Item>> view_;
};

TEST_F(ListWrapperTest, IndexAndSizeCountTheSelectionOnly) {
  StyleSheetObjectListWrapper wrapper(&view_, {1, 3, 4});
  int32_t value = -1;
  ASSERT_TRUE(wrapper.Test("size", value));
  EXPECT_EQ(value, 3);  // not the five of the wrapped list
  wrapper.setCurrent(2);
  ASSERT_TRUE(wrapper.Test("index", value));
  EXPECT_EQ(value, 2);
  EXPECT_EQ(nameOf(wrapper.At(0)), "bb");
  EXPECT_EQ(nameOf(wrapper.At(2)), "eeeee");
  EXPECT_EQ(wrapper.At(3), nullptr);
  EXPECT_EQ(wrapper.TypeName(), "class_list");
}

TEST_F(ListWrapperTest, NextAndPreviousStayInsideTheSelection) {
  StyleSheetObjectListWrapper wrapper(&view_, {1, 3, 4});
  wrapper.setCurrent(0);
  EXPECT_EQ(nameOf(wrapper.GetList("next")), "dddd");  // position 2 was not selected
  EXPECT_EQ(wrapper.GetList("previous"), nullptr);
  wrapper.setCurrent(1);
  EXPECT_EQ(nameOf(wrapper.GetList("previous")), "bb");
  wrapper.setCurrent(2);
  EXPECT_EQ(wrapper.GetList("next"), nullptr);
  StyleSheetObjectListWrapper empty(&view_, {});
  EXPECT_EQ(empty.GetList("previous"), nullptr);
}

TEST_F(ListWrapperTest, OtherQuestionsGoToTheWrappedObject) {
  Item other("other");
  Item list("list", &other);  // answers "next" itself
  StyleSheetObjectListWrapper wrapper(&list, {0});
  EXPECT_EQ(wrapper.FullName(), "list");
  int32_t value = 0;
  ASSERT_TRUE(wrapper.Test("level", value));
  EXPECT_EQ(value, 7);
  EXPECT_EQ(wrapper.GetList("next"), &other);  // the last item has no next: the wrapped object answers
}

}  // namespace
}  // namespace quillet
