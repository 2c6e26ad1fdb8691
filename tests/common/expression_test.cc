#include "common/expression.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "support/scoped_run.h"

namespace quillet {
namespace {

int32_t valueOf(const std::string& text) {
  return C_Like_Expression(text).Evaluate();
}
int statusOf(const std::string& text) {
  return C_Like_Expression(text).status();
}

void expectValue(const char* text, int32_t value) {
  C_Like_Expression expression(text);
  EXPECT_EQ(expression.status(), kExpressionValid) << text;
  EXPECT_EQ(expression.Evaluate(), value) << text;
}

TEST(ExpressionTest, EvaluatesWithCPrecedence) {
  const std::pair<const char*, int32_t> cases[] = {
      {"1 + 2 * 3", 7},        {"(1 + 2) * 3", 9}, {"10 - 4 - 3", 3},  {"1 + 5 % 3", 0}, {"7 % 4 * 2", 7 % 8},
      {"-3 + 1", -2},          {"(-3)", -3},       {"2 * -3", -6},     {"+4 - +1", 3},   {"7 / 2", 3},
      {"-7 / 2", -3},          {"-7 % 3", -1},     {"((((42))))", 42}, {" 1\t+\n1 ", 2}, {"0XfF", 255},
      {"1LL + 2ull + 3Lu", 6}, {"2 >= 3", 0}};
  for (const auto& [text, value] : cases) expectValue(text, value);
  for (const char* text :
       {"!0", "!5 == 0", "1 < 2 && 3 > 2", "1 <= 1 || 0", "-1 < 0", "1 != 2 == 1", "1 || 0 && 0",
        "0x10 == 16 && 010 == 8", "201703L >= 201103L", "0x10UL == 16 && 010u == 8"})
    expectValue(text, 1);
}

TEST(ExpressionTest, WrapsAroundAt32Bits) {
  EXPECT_EQ(valueOf("2147483647 + 1"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(valueOf("65536 * 65536"), 0);
  EXPECT_EQ(valueOf("-2147483647 - 2"), 2147483647);
  // Literals saturate at the largest value, like the C library's conversion on a 32-bit long.
  EXPECT_EQ(valueOf("0xFFFFFFFF"), 2147483647);
  EXPECT_EQ(valueOf("99999999999"), 2147483647);
  // The most negative value divided by -1 neither traps nor overflows.
  EXPECT_EQ(valueOf("(-2147483647 - 1) / -1"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(valueOf("(-2147483647 - 1) % -1"), 0);
  EXPECT_EQ(valueOf("-(-2147483647 - 1)"), std::numeric_limits<int32_t>::min());
}

TEST(ExpressionTest, ReportsStatusesAndCountsWhatCannotBeReadAsFalse) {
  auto expectStatus = [](int status, std::initializer_list<const char*> texts) {
    for (const char* text : texts) {
      EXPECT_EQ(statusOf(text), status) << text;
      EXPECT_EQ(valueOf(text), 0) << text;
    }
  };
  // A second "!" pops the first before it has an operand.
  expectStatus(kExpressionInvalid, {"", "   ", ")1(", "1 +", "* 2", "!!1", "- -1"});
  expectStatus(kExpressionUnbalanced, {"(1", "1)"});
  // A suffix followed by more letters is a name; "ll" must be one case.
  expectStatus(kExpressionInvalidToken,
               {"FOO + 1", "1 + FOO", "1 & 1", "1 | 1", "1 = 1", "1.5", "1 ? 2 : 3", "1Lx", "1uu", "1lL"});
}

TEST(ExpressionTest, DividesByZeroWithOneMessage) {
  testing::ScopedRun run;
  EXPECT_EQ(valueOf("1 / 0 + 5"), 5);
  EXPECT_EQ(run.output.lines, (std::vector<std::string>{"error: division by zero."}));
  // The same text again comes from the cache: no second message even for a fresh output.
  run.output.startRun();
  run.output.lines.clear();
  EXPECT_EQ(valueOf("1 / 0 + 5"), 5);
  EXPECT_TRUE(run.output.lines.empty());
  // The right operand of "||" is not evaluated when the left one is true.
  EXPECT_EQ(valueOf("1 || 1 / 0"), 1);
  EXPECT_EQ(valueOf("0 && 1 % 0"), 0);
  EXPECT_TRUE(run.output.lines.empty());
  EXPECT_EQ(valueOf("8 % 0"), 0);
  EXPECT_EQ(run.output.lines.size(), 1u);
}

TEST(ExpressionTest, RefusesTreesTooDeepToEvaluate) {
  std::string shallow = "1";
  for (uint32_t i = 0; i < Base_Expression::kMaxHeight - 2; ++i) shallow += "+1";
  EXPECT_EQ(statusOf(shallow), kExpressionValid);
  EXPECT_EQ(valueOf(shallow), static_cast<int32_t>(Base_Expression::kMaxHeight - 1));

  std::string deep = "1";
  for (int i = 0; i < 20000; ++i) deep += "+1";
  EXPECT_EQ(statusOf(deep), kExpressionInvalid);
  EXPECT_EQ(valueOf(deep), 0);
  std::string parens(100000, '(');
  parens += "1" + std::string(100000, ')');
  EXPECT_EQ(valueOf(parens), 1);
}

TEST(ExpressionTest, ReadsCIntegers) {
  int32_t v = 0;
  EXPECT_EQ(readCInteger("0x1Fz", v), 4u);
  EXPECT_EQ(v, 31);
  EXPECT_EQ(readCInteger("0x", v), 1u);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(readCInteger("0789", v), 2u);
  EXPECT_EQ(v, 7);
  EXPECT_EQ(readCInteger("123abc", v), 3u);
  EXPECT_EQ(v, 123);
}

}  // namespace
}  // namespace quillet
