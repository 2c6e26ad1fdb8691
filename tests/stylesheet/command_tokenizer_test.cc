#include "stylesheet/command_tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

using Tokens = std::vector<std::string>;

TEST(CommandTokenizerTest, OperatorsAreTokensOfTheirOwnAndQuotesAreOrdinary) {
  EXPECT_EQ(cutCommandTokens("for_each\t(class.function_list) start L1"),
            (Tokens{"for_each", "(", "class", ".", "function_list", ")", "start", "L1"}));
  EXPECT_EQ(cutCommandTokens("!a%&()*+,-./<=>[]^|~b"),
            (Tokens{"!", "a", "%", "&", "(", ")", "*", "+", ",", "-", ".",
                    "/", "<", "=", ">", "[", "]", "^", "|", "~", "b"}));
  EXPECT_EQ(cutCommandTokens(" 'two words' x:y;z?#$ "), (Tokens{"'two", "words'", "x:y;z?#$"}));
  EXPECT_TRUE(cutCommandTokens(" \t ").empty());
}

TEST(CommandTokenizerTest, ExpressionTokensSpellComparisonsAsOperators) {
  EXPECT_EQ(cutExpressionTokens("a GT 'M' LT b LE c GE d"),
            (Tokens{"a", ">", "'M'", "<", "b", "<=", "c", ">=", "d"}));
  EXPECT_EQ(cutExpressionTokens("GTX gt EQ"), (Tokens{"GTX", "gt", "EQ"}));  // whole tokens, exact case
}

}  // namespace
}  // namespace quillet
