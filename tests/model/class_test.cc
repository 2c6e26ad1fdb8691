#include "model/class.h"

#include <gtest/gtest.h>

#include "model/class_dictionary.h"
#include "model/model_test_support.h"

namespace quillet {
namespace {

TEST(ClassTest, NamesAnchorsAndFiles) {
  Class b = makeClass("B");
  b.nameSpace = "A";
  EXPECT_EQ(b.AnchorName(), "c_A_scp_B");
  Class inner = makeClass("Outer::Inner<int>");
  inner.nameSpace = "x::y";
  EXPECT_EQ(inner.AnchorName(), "c_x_scp_y_scp_Outer_scp_InnerLTintGT");
  // Specializations that differ only in punctuation keep anchors (and pages) of their own.
  EXPECT_NE(makeClass("X<T*>").AnchorName(), makeClass("X<T&>").AnchorName());
  // Linked text and the typedef pass find documented classes by this name.
  EXPECT_EQ(inner.FullName(), "Outer::Inner<int>");

  ScopedConfiguration run;
  run.configuration.setHtmlOutputFile("out/docs/index.v2.html");
  EXPECT_EQ(b.FileName({}), "index.v2_c_A_scp_B");
  b.file = "C:\\src\\inc\\shape.h";
  EvaluationContext context;
  EXPECT_EQ(property(b, "file", context), "shape.h");
}

TEST(ClassTest, ParentListShowsTheBasesTheAccessFilterLets) {
  CommentOutput output;
  output.links["A"] = "a.html#c_A";
  const EvaluationContext context = output.html();
  ScopedConfiguration run;

  Class none = makeClass("None");
  EXPECT_EQ(property(none, "parent_list", context), "");

  Class hidden = makeClass("Hidden");
  hidden.AddParent(kAccessPrivate, "Impl");
  EXPECT_EQ(property(hidden, "parent_list", context), "");

  Class both = makeClass("Both");
  both.AddParent(kAccessPublic, "A");
  both.AddParent(kAccessPrivate, "B");
  both.AddParent(kAccessProtected, "virtual C");
  EXPECT_EQ(property(both, "parent_list", context), " : public <A HREF=\"a.html#c_A\">A</A>");
  run.configuration.setDocumentPrivate(true);
  run.configuration.setDocumentProtected(true);
  EXPECT_EQ(property(both, "parent_list", context),
            " : public <A HREF=\"a.html#c_A\">A</A>, private B, protected virtual C");
}

TEST(ClassTest, CopiesShareFunctionsAndShowTheirOwnLists) {
  Class original = makeClass("Widget", "struct");
  original.nameSpace = "ui";
  original.AddFunction(function("draw"));
  original.AddData("int", "width", comment("Width."), kAccessPrivate);
  original.enums.emplace_back().name = "Mode";
  EXPECT_EQ(original.functions->front().className, "Widget");
  EXPECT_EQ(original.functions->front().nameSpace, "ui");
  EXPECT_EQ(original.dataMembers.front().className, "Widget");

  Class copy = original;
  copy.dataMembers.clear();
  copy.AddFunction(function("resize"));
  EXPECT_EQ(original.functions->size(), 2u);  // one list for both
  StyleSheetObject* data = copy.GetList("data_list");
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->Count(), 0u);
  EXPECT_EQ(original.GetList("data_list")->Count(), 1u);
  EXPECT_EQ(copy.GetList("enum_list")->At(0), &copy.enums[0]);
  EXPECT_EQ(copy.GetList("function_list")->Count(), 2u);
  EXPECT_EQ(copy.GetList("parent"), nullptr);

  copy.UnshareFunctions();
  copy.AddFunction(function("hide"));
  EXPECT_EQ(copy.functions->size(), 3u);
  EXPECT_EQ(original.functions->size(), 2u);
  EXPECT_TRUE(original.SameClass(copy));
  copy.nameSpace.clear();
  EXPECT_FALSE(original.SameClass(copy));
}

class FinishTest : public ::testing::Test {
 protected:
  ScopedConfiguration run;
  ClassDictionary dictionary;
};

TEST_F(FinishTest, CollectsReferencesAndSortsWhenConfigured) {
  Class shape = makeClass("Shape");
  Class point = makeClass("Point");
  Class colour = makeClass("Colour");
  Class canvas = makeClass("Canvas");
  for (const Class* documented : {&shape, &point, &colour, &canvas}) dictionary.addClass(*documented);
  dictionary.addTypedef("PointPtr", "Point");
  dictionary.addTypedef("Nothing", "Unknown");

  shape.AddData("std::vector<PointPtr>", "points", {}, kAccessPrivate);
  shape.AddData("Shape*", "next", {}, kAccessPublic);
  shape.AddData("const Colour&", "colour", {}, kAccessPrivate);
  Function& draw = shape.AddFunction(function("draw", {"Canvas&"}));
  draw.args[0].type = "Canvas&";
  draw.returnType = "Point";
  Function& paint = shape.AddFunction(function("paint", {"Palette"}));
  paint.access = kAccessPrivate;
  paint.args[0].type = "Shape\tColour";
  shape.enums.emplace_back().name = "Style";
  shape.enums.emplace_back().name = "Kind";
  shape.typedefs.push_back({"Size", {}, 1, "int", "int", "int"});
  shape.typedefs.push_back({"Index", {}, 1, "int", "int", "int"});

  run.configuration.setSortMembers(false);
  Class unsorted = shape;
  unsorted.dataMembers = shape.dataMembers;
  unsorted.Finish(dictionary);
  EXPECT_EQ(unsorted.referencedByData, (std::vector<std::string>{"Point", "Colour"}));
  EXPECT_EQ(unsorted.referencedByFunctions, (std::vector<std::string>{"Canvas"}));
  EXPECT_EQ(unsorted.dataMembers[0].name, "points");
  EXPECT_EQ(unsorted.enums[0].name, "Kind");  // always sorted
  EXPECT_EQ(unsorted.typedefs[0].name, "Index");

  run.configuration.setSortMembers(true);
  shape.functions->front().access = kAccessProtected;
  shape.Finish(dictionary);
  EXPECT_EQ(shape.dataMembers[0].name, "next");
  EXPECT_EQ(shape.dataMembers[1].name, "colour");
  EXPECT_EQ(shape.functions->front().name, "draw");
}

TEST_F(FinishTest, OverridesOfDocumentedVirtualsBecomeVirtual) {
  Class base = makeClass("Base");
  Function& declared = base.AddFunction(function("draw", {"int"}, "const = 0"));
  declared.returnType = "virtual void";
  Class middle = makeClass("Middle");
  middle.AddParent(kAccessPublic, "virtual Base");
  Class derived = makeClass("Derived");
  derived.AddParent(kAccessProtected, "Middle");
  derived.AddParent(kAccessPublic, "Unknown");
  Function& override = derived.AddFunction(function("draw", {"int"}, "const"));
  override.returnType = "void";
  Function& overload = derived.AddFunction(function("draw", {"long"}, "const"));
  overload.returnType = "void";
  for (const Class* documented : {&base, &middle, &derived}) dictionary.addClass(*documented);

  EXPECT_TRUE(derived.DeclaresVirtual(dictionary, override));
  derived.Finish(dictionary);
  EXPECT_EQ(derived.functions->at(0).returnType, "virtual void");
  EXPECT_EQ(derived.functions->at(1).returnType, "void");
  derived.Finish(dictionary);
  EXPECT_EQ(derived.functions->at(0).returnType, "virtual void");

  // Across namespaces, through typedefs and aliases, from a specialization's base to the primary, and
  // for functions marked override.
  Class widget = makeClass("Widget");
  widget.nameSpace = "ui";
  Function& paint = widget.AddFunction(function("paint", {"int"}));
  paint.returnType = "virtual void";
  Class holder = makeClass("Holder");
  holder.nameSpace = "ui";
  holder.AddFunction(function("hold")).returnType = "virtual void";
  ClassDictionary wide;
  wide.addClass(widget);
  wide.addClass(holder);
  wide.addTypedef("WidgetAlias", "Widget");
  for (const char* baseName : {"ui::Widget", "::ui::WidgetAlias", "WidgetAlias", "Holder<int>"}) {
    Class button = makeClass("Button");
    button.nameSpace = "app";
    button.AddParent(kAccessPublic, baseName);
    Function& painted = button.AddFunction(function(
        baseName[0] == 'H' ? "hold" : "paint",
        baseName[0] == 'H' ? std::vector<std::string>{} : std::vector<std::string>{"int"}, "override"));
    painted.returnType = "void";
    button.Finish(wide);
    EXPECT_EQ(painted.returnType, "virtual void") << baseName;
  }

  // Bases that name each other end the search instead of recursing for ever.
  Class ping = makeClass("Ping");
  Class pong = makeClass("Pong");
  ping.AddParent(kAccessPublic, "Pong");
  ping.AddParent(kAccessPublic, "Ping");
  pong.AddParent(kAccessPublic, "Ping");
  ClassDictionary cyclic;
  cyclic.addClass(ping);
  cyclic.addClass(pong);
  EXPECT_FALSE(ping.DeclaresVirtual(cyclic, function("draw")));
}

TEST_F(FinishTest, TemplatesListTheirSpecializations) {
  Class primary = makeClass("X");
  Class pointers = makeClass("X<T*>");
  Class ints = makeClass("X<int>");
  Class elsewhere = makeClass("X<long>");
  elsewhere.nameSpace = "other";
  for (const Class* documented : {&primary, &pointers, &ints, &elsewhere}) dictionary.addClass(*documented);
  primary.Finish(dictionary);
  EXPECT_EQ(primary.specializations, (std::vector<std::string>{"X<T*>", "X<int>"}));
  EXPECT_EQ(ints.PrimaryName(), "X");
  EXPECT_EQ(makeClass("Y<X<int>>").PrimaryName(), "Y");
  EXPECT_EQ(primary.PrimaryName(), "");
  int32_t value = 0;
  EXPECT_TRUE(primary.Test("specializations", value));
  EXPECT_EQ(value, 2);
  EXPECT_TRUE(ints.Test("primary", value));
  EXPECT_EQ(value, 1);
}

}  // namespace
}  // namespace quillet
