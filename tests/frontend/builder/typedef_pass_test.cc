#include "frontend/builder/typedef_pass.h"

#include <gtest/gtest.h>

#include "model/class_dictionary.h"

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

  std::string targets;
  for (const TypedefTarget& target : typedefTargets(store))
    if (target.name != "Ping" && target.name != "Pong")
      targets += target.name + "=" + target.followedType + " ";
  EXPECT_EQ(targets, "Widget=tagWidget WidgetRef=tagWidget Self=Self Count=int ");

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
