#include "app/std_message_output.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quillet {
namespace {

TEST(StdMessageOutputTest, WritesEachTextOncePerRun) {
  std::ostringstream out;
  StdMessageOutput messages(out);
  messages.startRun();
  messages.report("error: (a.h) something");
  messages.status("Parsing file: a.cpp");
  messages.report("error: (a.h) something");
  messages.status("Parsing file: a.cpp");
  EXPECT_EQ(out.str(), " error: (a.h) something\n Parsing file: a.cpp\n");

  messages.endRun();
  messages.startRun();
  messages.report("error: (a.h) something");
  EXPECT_EQ(out.str(), " error: (a.h) something\n Parsing file: a.cpp\n error: (a.h) something\n");
}

TEST(StdMessageOutputTest, ConsoleRunIsNeverCanceledAndKeepsLongLinesWhole) {
  std::ostringstream out;
  StdMessageOutput messages(out);
  EXPECT_FALSE(messages.isCanceled());
  const std::string long_line(1500, 'x');
  messages.report(long_line);
  EXPECT_EQ(out.str(), " " + long_line + "\n");
}

}  // namespace
}  // namespace quillet
