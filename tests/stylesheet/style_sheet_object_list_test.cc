#include "stylesheet/style_sheet_object_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "stylesheet/evaluation_context.h"
#include "stylesheet/style_sheet_object_list_wrapper.h"

namespace quillet {
namespace {

// A minimal model object: a name, one numeric property and one list of its own.
class Item final : public StyleSheetObject {
 public:
  explicit Item(std::string name) : name_(std::move(name)) {}
  bool WriteProperty(const EvaluationContext&, std::string_view property, std::ostream& out) override {
    if (property != "name") return false;
    out << name_;
    return true;
  }
  std::string_view TypeName() const override { return "item"; }
  std::string FullName() const override { return name_; }
  bool Test(std::string_view property, int32_t& value) const override {
    if (property != "length") return false;
    value = static_cast<int32_t>(name_.size());
    return true;
  }

 private:
  std::string name_;
};

std::string nameOf(StyleSheetObject* object) {
  return object ? object->FullName() : "<none>";
}

TEST(StyleSheetObjectListTest, ViewsOverEveryCollectionShape) {
  std::vector<Item> values{Item("a"), Item("b")};
  Item c("c"), d("d");
  std::vector<Item*> pointers{&c, &d, &c};
  std::vector<std::unique_ptr<Item>> owned;
  owned.push_back(std::make_unique<Item>("e"));

  StyleSheetObjectVectorList value_view("value_list", &values);
  StyleSheetObjectVectorList pointer_view("pointer_list", &pointers);
  StyleSheetObjectVectorList owned_view("owned_list", &owned);
  StyleSheetObjectSubsetList subset("subset_list");
  subset.add(&values[1]);
  subset.add(&d);

  EXPECT_EQ(value_view.Count(), 2u);
  EXPECT_EQ(&values[1], static_cast<Item*>(value_view.At(1)));
  EXPECT_EQ(nameOf(pointer_view.At(2)), "c");
  EXPECT_EQ(nameOf(owned_view.At(0)), "e");
  EXPECT_EQ(nameOf(subset.At(0)), "b");
  EXPECT_EQ(nameOf(subset.At(1)), "d");

  // Past the end every view answers no object rather than reading outside its collection.
  EXPECT_EQ(value_view.At(2), nullptr);
  EXPECT_EQ(owned_view.At(7), nullptr);
  EXPECT_EQ(subset.At(2), nullptr);

  // A view follows its collection as it grows, and a view without a collection is empty.
  values.emplace_back("z");
  EXPECT_EQ(value_view.Count(), 3u);
  EXPECT_EQ(nameOf(value_view.At(2)), "z");
  StyleSheetObjectVectorList<std::vector<Item>> unbound("nothing", nullptr);
  EXPECT_EQ(unbound.Count(), 0u);
  EXPECT_EQ(unbound.At(0), nullptr);
  unbound.bind(&values);
  EXPECT_EQ(unbound.Count(), 3u);
}

TEST(StyleSheetObjectListTest, ViewKnowsItsNameAndSizeOnly) {
  std::vector<Item> values{Item("a"), Item("b"), Item("c")};
  StyleSheetObjectVectorList view("function_list", &values);
  EXPECT_EQ(view.TypeName(), "function_list");
  int32_t value = -1;
  ASSERT_TRUE(view.Test("size", value));
  EXPECT_EQ(value, 3);
  EXPECT_FALSE(view.Test("length", value));
  EXPECT_FALSE(view.Test("index", value));

  EvaluationContext context;
  std::ostringstream out;
  EXPECT_FALSE(view.WriteProperty(context, "name", out));
  EXPECT_TRUE(out.str().empty());
  EXPECT_EQ(view.FullName(), "");
  EXPECT_EQ(view.AnchorName(), "");
  EXPECT_EQ(view.FileName(context), "");
  EXPECT_EQ(view.GetList("function_list"), nullptr);
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
  EXPECT_EQ(wrapper.Count(), 3u);
  for (size_t k = 0; k < 3; ++k) {
    wrapper.setCurrent(k);
    ASSERT_TRUE(wrapper.Test("index", value));
    EXPECT_EQ(value, static_cast<int32_t>(k));
  }
  EXPECT_EQ(nameOf(wrapper.At(0)), "bb");
  EXPECT_EQ(nameOf(wrapper.At(2)), "eeeee");
  EXPECT_EQ(wrapper.At(3), nullptr);
}

TEST_F(ListWrapperTest, NextAndPreviousStayInsideTheSelection) {
  StyleSheetObjectListWrapper wrapper(&view_, {1, 3, 4});
  wrapper.setCurrent(0);
  EXPECT_EQ(nameOf(wrapper.GetList("next")), "dddd");  // position 2 was not selected
  EXPECT_EQ(wrapper.GetList("previous"), nullptr);     // the wrapped list has no such list either
  wrapper.setCurrent(1);
  EXPECT_EQ(nameOf(wrapper.GetList("previous")), "bb");
  EXPECT_EQ(nameOf(wrapper.GetList("next")), "eeeee");
  wrapper.setCurrent(2);
  EXPECT_EQ(wrapper.GetList("next"), nullptr);

  StyleSheetObjectListWrapper empty(&view_, {});
  EXPECT_EQ(empty.GetList("next"), nullptr);
  EXPECT_EQ(empty.GetList("previous"), nullptr);
  int32_t value = -1;
  ASSERT_TRUE(empty.Test("size", value));
  EXPECT_EQ(value, 0);
}

TEST_F(ListWrapperTest, OtherQuestionsGoToTheWrappedList) {
  // A wrapped object with lists of its own shows that unknown names, and neighbours that do not exist,
  // are passed on.
  class Lists final : public StyleSheetObject {
   public:
    explicit Lists(Item* other) : other_(other) {}
    bool WriteProperty(const EvaluationContext&, std::string_view property, std::ostream& out) override {
      if (property != "title") return false;
      out << "T";
      return true;
    }
    std::string_view TypeName() const override { return "lists"; }
    std::string FullName() const override { return "full"; }
    std::string AnchorName() const override { return "anchor"; }
    bool Test(std::string_view property, int32_t& value) const override {
      if (property != "level") return false;
      value = 7;
      return true;
    }
    StyleSheetObject* GetList(std::string_view name) override {
      return name == "next" || name == "parent" ? other_ : nullptr;
    }
    size_t Count() const override { return 1; }
    StyleSheetObject* At(size_t index) override { return index == 0 ? other_ : nullptr; }

   private:
    Item* other_;
  };
  Item other("other");
  Lists lists(&other);
  StyleSheetObjectListWrapper wrapper(&lists, {0});
  EXPECT_EQ(wrapper.TypeName(), "lists");
  EXPECT_EQ(wrapper.FullName(), "full");
  EXPECT_EQ(wrapper.AnchorName(), "anchor");
  int32_t value = 0;
  ASSERT_TRUE(wrapper.Test("level", value));
  EXPECT_EQ(value, 7);
  EvaluationContext context;
  std::ostringstream out;
  EXPECT_TRUE(wrapper.WriteProperty(context, "title", out));
  EXPECT_EQ(out.str(), "T");
  EXPECT_EQ(wrapper.GetList("parent"), &other);
  EXPECT_EQ(wrapper.GetList("next"), &other);  // the last item has no next: the wrapped list answers
}

}  // namespace
}  // namespace quillet
