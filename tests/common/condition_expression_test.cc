#include "common/condition_expression.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "support/scoped_run.h"

namespace quillet {
namespace {

TEST(ConditionExpressionTest, EvaluatesAsACompilerDoes) {
  const std::pair<const char*, int64_t> cases[] = {
      {"1 + 5 % 3", 3},
      {"1 ? 2 : 3", 2},
      {"0 ? 2 : 1 ? 4 : 5", 4},
      {"(1 << 16) + 7 >= (4 << 16) + 0", 0},
      {"0x7fffffffffffffffL == 9223372036854775807", 1},
      {"0xffffffffffffffff > 0", 1},  // too large to be signed: unsigned
      {"-1 < 0u", 0},                 // the signed operand converts to unsigned
      {"-1 < 0", 1},
      {"~0 == -1 && (6 & 3) == 2 && (6 | 3) == 7 && (6 ^ 3) == 5", 1},
      {"-8 >> 1", -4},
      {"'A' == 65 && '\\n' == 10 && '\\x41' == 65 && '\\0' == 0", 1},
      {"UNDEFINED_NAME", 0},
      {"!UNDEFINED_NAME", 1},
      {"true + true", 2},
      {"201703L >= 201103L && 10ULL == 10 && 0b101 == 5 && 1'000 == 1000", 1},
      {"(1, 2)", 2},
      {"0 && 1 / 0", 0},
      {"1 || 1 % 0", 1},
      {"1 ? 1 : 1 / 0", 1},
  };
  testing::ScopedRun run;
  for (const auto& [text, value] : cases) {
    ConditionResult result = evaluateCondition(text);
    EXPECT_TRUE(result.valid) << text;
    EXPECT_EQ(result.value, value) << text;
  }
  // Operands that are never evaluated do not divide.
  EXPECT_TRUE(run.output.lines.empty());
  EXPECT_EQ(evaluateCondition("2 / 0 + 1").value, 1);
  EXPECT_EQ(run.output.lines, (std::vector<std::string>{"error: division by zero."}));
}

TEST(ConditionExpressionTest, RefusesWhatIsNoExpression) {
  for (const char* text : {"", "   ", "1 +", "(1", "1)", "1 2", "1.5 > 1", "08", "1 ? 2", "\"s\"", "1 @ 2",
                           "1e5", "'a", "5 = 5"})
    EXPECT_FALSE(evaluateCondition(text).valid) << text;
  // Nesting too deep to evaluate safely is refused, not a crash.
  EXPECT_FALSE(evaluateCondition(std::string(100000, '(') + "1" + std::string(100000, ')')).valid);
  EXPECT_FALSE(evaluateCondition(std::string(100000, '!') + "1").valid);
}

}  // namespace
}  // namespace quillet
