#include "frontend/recognizer/type_text.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(TypeTextTest, JoinsAndCleansDeclarationWords) {
  std::string text;
  for (const char* word : {"const", "std", "::", "map", "<", "int", ",", "Foo", "*", ">", "&"})
    appendTypeWord(text, word);
  EXPECT_EQ(text, " const std :: map< int,  Foo*>&");
  EXPECT_EQ(cleanTypeText(text), "const std::map<int, Foo*>&");
  EXPECT_EQ(cleanTypeText("  a   ,  b  "), "a , b");
  EXPECT_EQ(cleanTypeText("A < B > :: C"), "A<B>::C");
  EXPECT_EQ(cleanTypeText("   "), "");
}

}  // namespace
}  // namespace quillet
