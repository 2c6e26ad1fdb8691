#include "common/process_runner.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

TEST(ProcessRunnerTest, RunsAProgramFeedingAndReadingItsStreams) {
  // More input than a pipe holds, so that writing and reading must go on together.
  std::string input;
  for (int i = 0; i < 20000; ++i) input += "line " + std::to_string(i) + "\n";
  ProcessResult result = processRunner().run({"sh", "-c", "cat; echo oops >&2; exit 3"}, input, 30);
  EXPECT_TRUE(result.started);
  EXPECT_EQ(result.exitStatus, 3);
  EXPECT_EQ(result.output, input);
  EXPECT_EQ(result.errors, "oops\n");

  EXPECT_FALSE(processRunner().run({"/nonexistent/program"}, "", 5).started);
  // A program that does not end in time is stopped.
  result = processRunner().run({"sleep", "30"}, "", 1);
  EXPECT_TRUE(result.started);
  EXPECT_EQ(result.exitStatus, -1);
}

}  // namespace
}  // namespace quillet
