#include "frontend/preprocessor/active_macros.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

namespace quillet {
namespace {

// Adding and removing at random, with many names sharing probe runs, keeps the table equal to a set.
TEST(ActiveMacrosTest, AgreesWithASetThroughAddsAndRemoves) {
  std::vector<MacroPtr> macros;
  for (int i = 0; i < 500; ++i) macros.push_back(makeMacro("M" + std::to_string(i), false, {}, {}));
  ActiveMacros table;
  std::set<std::string> expected;
  std::mt19937 random(7);
  for (int step = 0; step < 20000; ++step) {
    const Macro* macro = macros[random() % macros.size()].get();
    if (random() % 3 == 0) {
      EXPECT_EQ(table.remove(macro->name), expected.erase(macro->name) == 1);
    } else {
      EXPECT_EQ(table.add(macro), expected.insert(macro->name).second);
    }
  }
  EXPECT_EQ(table.size(), expected.size());
  for (const MacroPtr& macro : macros)
    EXPECT_EQ(table.find(macro->name) == macro.get(), expected.count(macro->name) == 1) << macro->name;
  EXPECT_EQ(table.find("absent"), nullptr);
  EXPECT_FALSE(ActiveMacros().remove("M1"));
}

}  // namespace
}  // namespace quillet
