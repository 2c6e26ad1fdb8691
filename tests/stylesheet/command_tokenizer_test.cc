#include "stylesheet/command_tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

using Tokens = std::vector<std::string>;

TEST(CommandTokenizerTest, OperatorsAreTokensOfTheirOwn) {
  EXPECT_EQ(cutCommandTokens("for_each (class.function_list) start L1"),
            (Tokens{"for_each", "(", "class", ".", "function_list", ")", "start", "L1"}));
  EXPECT_EQ(cutCommandTokens("!a%b&c(d)e*f+g,h-i.j/k<l=m>n[o]p^q|r~s"),
            (Tokens{"!", "a", "%", "b", "&", "c", "(", "d", ")", "e", "*", "f", "+",
                    "g", ",", "h", "-", "i", ".", "j", "/", "k", "<", "l", "=", "m",
                    ">", "n", "[", "o", "]", "p", "^", "q", "|", "r", "~", "s"}));
  EXPECT_EQ(cutCommandTokens("a<=b"), (Tokens{"a", "<", "=", "b"}));
}

TEST(CommandTokenizerTest, BlanksAndTabsSeparateAndQuotesAreOrdinary) {
  EXPECT_EQ(cutCommandTokens(" \t a \t\tb  "), (Tokens{"a", "b"}));
  EXPECT_EQ(cutCommandTokens("'two words'"), (Tokens{"'two", "words'"}));
  EXPECT_EQ(cutCommandTokens("x:y;z?#$"), (Tokens{"x:y;z?#$"}));
  EXPECT_TRUE(cutCommandTokens("").empty());
  EXPECT_TRUE(cutCommandTokens(" \t ").empty());
}

TEST(CommandTokenizerTest, NextTokenAdvancesAndEndsEmpty) {
  size_t position = 0;
  const std::string_view text = "  ab(";
  EXPECT_EQ(nextCommandToken(text, position), "ab");
  EXPECT_EQ(position, 4u);
  EXPECT_EQ(nextCommandToken(text, position), "(");
  EXPECT_EQ(nextCommandToken(text, position), "");
  EXPECT_EQ(position, 5u);
}

TEST(CommandTokenizerTest, ExpressionTokensSpellComparisonsAsOperators) {
  EXPECT_EQ(cutExpressionTokens("name GT 'M'"), (Tokens{"name", ">", "'M'"}));
  EXPECT_EQ(cutExpressionTokens("a LT b LE c GE d"), (Tokens{"a", "<", "b", "<=", "c", ">=", "d"}));
  EXPECT_EQ(cutExpressionTokens("GTX gt EQ"), (Tokens{"GTX", "gt", "EQ"}));  // whole tokens, exact case
  EXPECT_EQ(comparisonOperator("GE"), ">=");
  EXPECT_EQ(comparisonOperator("ge"), "");
  EXPECT_TRUE(isComparisonWord("LT"));
}

}  // namespace
}  // namespace quillet
