#include "app/std_message_output.h"

#include <gtest/gtest.h>

#include <sstream>

namespace quillet {
namespace {

TEST(StdMessageOutputTest, WritesEachTextOncePerRunWholeAndIsNeverCanceled) {
  std::ostringstream out;
  StdMessageOutput messages(out);
  EXPECT_FALSE(messages.isCanceled());
  messages.startRun();
  messages.report("error: (a.h) something");
  messages.status("Parsing file: a.cpp");
  messages.report("error: (a.h) something");
  messages.status("Parsing file: a.cpp");
  EXPECT_EQ(out.str(), " error: (a.h) something\n Parsing file: a.cpp\n");

  messages.endRun();
  messages.startRun();
  messages.report("error: (a.h) something");
  const std::string long_line(1500, 'x');
  messages.report(long_line);
  EXPECT_EQ(out.str(),
            " error: (a.h) something\n Parsing file: a.cpp\n error: (a.h) something\n " + long_line + "\n");
}

}  // namespace
}  // namespace quillet
