#include "frontend/typedef_pass.h"

#include <gtest/gtest.h>

#include "model/class_dictionary.h"
#include "stylesheet/link_index.h"

namespace quillet {
namespace {

TypedefRecord record(const std::string& name, const std::string& declared) {
  TypedefRecord made;
  made.name = name;
  made.declaredText = declared;
  made.resolvedType = declared;
  return made;
}

TEST(TypedefPassTest, TypedefNamesStandForWhatTheyFollowTo) {
  CodeStore store;
  store.AddTypedef(record("Widget", "tagWidget"));
  store.AddTypedef(record("WidgetRef", "Widget"));
  store.AddTypedef(record("Self", "Self"));  // typedef struct Self {...} Self;
  store.AddTypedef(record("Ping", "Pong"));
  store.AddTypedef(record("Pong", "Ping"));
  store.AddTypedef(record("Count", "int"));
  EXPECT_EQ(followTypedef(store, *store.GetTypedef("WidgetRef")), "tagWidget");
  EXPECT_EQ(followTypedef(store, *store.GetTypedef("Self")), "Self");
  const std::string cycle = followTypedef(store, *store.GetTypedef("Ping"));  // ends after 100 steps
  EXPECT_TRUE(cycle == "Ping" || cycle == "Pong");

  LinkIndex index;
  index.addNamed("widget.html", "tagWidget", "c_tagWidget");
  addTypedefsToLinkIndex(store, index);
  ASSERT_NE(index.findNamed("WidgetRef"), nullptr);
  EXPECT_EQ(*index.findNamed("Widget"), (LinkIndex::Entry{"widget.html", "c_tagWidget"}));
  EXPECT_EQ(index.findNamed("Count"), nullptr);

  Class widget;
  widget.name = "tagWidget";
  ClassDictionary dictionary;
  dictionary.addClass(widget);
  addTypedefsToDictionary(store, dictionary);
  EXPECT_EQ(dictionary.findTypedefClass("WidgetRef"), &widget);
  EXPECT_EQ(dictionary.findTypedefClass("Count"), nullptr);
  EXPECT_EQ(dictionary.findClass("Widget"), nullptr);
}

}  // namespace
}  // namespace quillet
