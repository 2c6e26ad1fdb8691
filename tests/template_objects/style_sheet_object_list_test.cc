#include "template_objects/style_sheet_object_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "stylesheet/evaluator_fixture.h"
#include "template_objects/style_sheet_object_list_wrapper.h"

namespace quillet {
namespace {

FakeObject item(std::string_view name) {
  return FakeObject("item", name);
}

std::string nameOf(StyleSheetObject* object) {
  return object ? object->FullName() : "<none>";
}

// The value of the test `property`, or -1 when the object does not know it.
int32_t tested(const StyleSheetObject& object, std::string_view property) {
  int32_t value = -1;
  return object.Test(property, value) ? value : -1;
}

TEST(StyleSheetObjectListTest, ViewsOverEveryCollectionShape) {
  std::vector<FakeObject> values{item("a"), item("b")};
  FakeObject c = item("c");
  std::vector<FakeObject*> pointers{&c};
  std::vector<std::unique_ptr<FakeObject>> owned;
  owned.push_back(std::make_unique<FakeObject>(item("e")));
  StyleSheetObjectVectorList value_view("function_list", &values);
  StyleSheetObjectVectorList pointer_view("class_list", &pointers);
  StyleSheetObjectVectorList owned_view("chapter_list", &owned);
  StyleSheetObjectSubsetList subset("global_class_list");
  subset.add(&values[1]);

  EXPECT_EQ(&values[1], value_view.At(1));
  EXPECT_EQ(nameOf(pointer_view.At(0)) + nameOf(owned_view.At(0)) + nameOf(subset.At(0)), "ceb");
  // Past the end every view answers no object rather than reading outside its collection.
  EXPECT_EQ(value_view.At(2), nullptr);
  EXPECT_EQ(subset.At(1), nullptr);
  // A view follows its collection as it grows; one without a collection is empty.
  values.push_back(item("z"));
  EXPECT_EQ(nameOf(value_view.At(2)), "z");
  StyleSheetObjectVectorList<std::vector<FakeObject>> unbound("enum_list", nullptr);
  EXPECT_EQ(unbound.At(0), nullptr);

  // A view knows its name, "size" and nothing else.
  EXPECT_EQ(value_view.TypeName(), "function_list");
  EXPECT_EQ(tested(value_view, "size"), 3);
  EXPECT_EQ(tested(value_view, "index"), -1);
  EXPECT_EQ(value_view.GetList("function_list"), nullptr);
}

TEST(ListWrapperTest, IndexSizeAndNeighboursStayInsideTheSelection) {
  std::vector<FakeObject> items{item("a"), item("bb"), item("ccc"), item("dddd"), item("eeeee")};
  StyleSheetObjectVectorList view("class_list", &items);
  StyleSheetObjectListWrapper wrapper(&view, {1, 3, 4});
  EXPECT_EQ(tested(wrapper, "size"), 3);  // not the five of the wrapped list
  EXPECT_EQ(wrapper.TypeName(), "class_list");
  EXPECT_EQ(nameOf(wrapper.At(0)) + nameOf(wrapper.At(2)) + nameOf(wrapper.At(3)), "bbeeeee<none>");
  wrapper.setCurrent(0);
  EXPECT_EQ(nameOf(wrapper.GetList("next")), "dddd");  // position 2 was not selected
  EXPECT_EQ(wrapper.GetList("previous"), nullptr);
  wrapper.setCurrent(1);
  EXPECT_EQ(nameOf(wrapper.GetList("previous")), "bb");
  wrapper.setCurrent(2);
  EXPECT_EQ(tested(wrapper, "index"), 2);
  EXPECT_EQ(wrapper.GetList("next"), nullptr);
  EXPECT_EQ(StyleSheetObjectListWrapper(&view, {}).GetList("previous"), nullptr);
  // A loop inside a loop over the same list wraps the wrapper: its positions are the outer selection's.
  StyleSheetObjectListWrapper inner(&wrapper, {2, 0, 5});
  EXPECT_EQ(nameOf(inner.At(0)) + nameOf(inner.At(1)) + nameOf(inner.At(2)), "eeeeebb<none>");
  EXPECT_EQ(inner.TypeName(), "class_list");

  // Other questions go to the wrapped object.
  FakeObject other = item("other");
  FakeObject list = item("list");
  list.tests["level"] = 7;
  list.lists["next"] = &other;  // answers "next" itself
  StyleSheetObjectListWrapper single(&list, {0});
  EXPECT_EQ(single.FullName(), "list");
  EXPECT_EQ(tested(single, "level"), 7);
  EXPECT_EQ(single.GetList("next"), &other);  // the last item has no next: the wrapped object answers
}

}  // namespace
}  // namespace quillet
