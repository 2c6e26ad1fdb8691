#include "app/std_message_output.h"

#include <gtest/gtest.h>

#include <regex>
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

// On a terminal one progress line is redrawn in place, taken away before each message line and put back
// after it; the tally counts what the run did either way.
TEST(StdMessageOutputTest, ProgressLineAndTally) {
  std::ostringstream out;
  StdMessageOutput messages(out, true);
  messages.moduleProgress(0, 2);
  messages.moduleProgress(1, 2);
  messages.report("warning: (a.h) odd");
  messages.moduleProgress(2, 2);
  messages.fileWritten("docs/index.html");
  messages.fileWritten("docs/chart.png");
  messages.report("error(main.html) : broken");
  messages.finishProgress();
  // Without the progress drawing (a carriage return, text, clear to the end of the line) the message lines
  // stand alone; the progress line showed both stages and is gone at the end.
  const std::string text = out.str();
  EXPECT_EQ(std::regex_replace(text, std::regex("\r[^\r\n]*\x1b\\[K"), ""),
            " warning: (a.h) odd\n error(main.html) : broken\n");
  EXPECT_TRUE(text.starts_with("\rParsing files: 0 of 2\x1b[K")) << text;
  EXPECT_NE(text.find("\rWriting: 1 pages, "), std::string::npos) << text;
  EXPECT_TRUE(text.ends_with("\r\x1b[K")) << text;
  const RunTally& tally = messages.tally();
  EXPECT_EQ(tally.modulesParsed, 2u);
  EXPECT_EQ(tally.pages, 1u);
  EXPECT_EQ(tally.files, 2u);
  EXPECT_EQ(tally.warnings, 1u);
  EXPECT_EQ(tally.errors, 1u);
}

}  // namespace
}  // namespace quillet
