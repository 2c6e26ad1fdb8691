#include "app/ipc_scratch_area_gui.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "config/configuration.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

using std::chrono::steady_clock;

// Everything a window would have taken from the channel, in order.
std::vector<std::string> drain(IPCScratchAreaGUI& channel) {
  std::vector<std::string> lines;
  while (std::optional<std::string> line = channel.nextMessage()) lines.push_back(*line);
  return lines;
}

TEST(IPCScratchAreaGUITest, LinesCrossThreadsInOrderOnceEach) {
  IPCScratchAreaGUI channel;
  std::atomic<int> notifications = 0;
  channel.setNotify([&] { ++notifications; });
  constexpr int kLines = 2000;
  channel.startRun();
  std::thread worker([&] {
    for (int i = 0; i < kLines; ++i) {
      channel.report("line " + std::to_string(i));
      channel.report("line " + std::to_string(i));  // a repeat is dropped and does not notify
      channel.report("line " + std::to_string(i / 2));
    }
    channel.moduleProgress(3, 4);
    channel.fileWritten("out/index.html");
    channel.report("error: (a.h) the last line");
    channel.endRun();
  });
  // The reader takes lines while the worker still writes them.
  std::vector<std::string> seen;
  while (channel.isRunning()) {
    std::vector<std::string> some = drain(channel);
    seen.insert(seen.end(), some.begin(), some.end());
  }
  worker.join();
  std::vector<std::string> rest = drain(channel);
  seen.insert(seen.end(), rest.begin(), rest.end());

  ASSERT_EQ(seen.size(), static_cast<size_t>(kLines + 1));
  for (int i = 0; i < kLines; ++i) EXPECT_EQ(seen[i], "line " + std::to_string(i));
  EXPECT_EQ(notifications, kLines + 4);  // each new line, the progress, the start and the end
  const RunTally tally = channel.tally();
  EXPECT_EQ(tally.modulesParsed * 10 + tally.modules, 34u);
  EXPECT_EQ(tally.pages, 1u);
  EXPECT_EQ(tally.errors, 1u);
}

TEST(IPCScratchAreaGUITest, StatusIsOverwrittenAndRepeatsComeBackInTheNextRun) {
  IPCScratchAreaGUI channel;
  channel.startRun();
  channel.status("Parsing file: a.cpp");
  channel.status("Parsing file: a.cpp");
  channel.status("Building Document");
  EXPECT_EQ(channel.takeStatus(), "Building Document");
  EXPECT_EQ(channel.takeStatus(), "");

  channel.report("error: x");
  channel.report("");  // a blank line is a line, and the lines after it still arrive
  channel.report("error: y");
  channel.report("error: x");
  EXPECT_EQ(drain(channel), (std::vector<std::string>{"error: x", "", "error: y"}));
  channel.endRun();
  EXPECT_FALSE(channel.isRunning());

  channel.startRun();
  channel.report("error: x");
  EXPECT_EQ(drain(channel), std::vector<std::string>{"error: x"});
}

TEST(IPCScratchAreaGUITest, WorkerSeesTheStopRequestAndEndsCanceled) {
  Configuration configuration;
  IPCScratchAreaGUI channel;
  channel.setConfiguration(&configuration);
  channel.requestCancel();  // a request left from an earlier run is cleared when the next one starts
  std::atomic<bool> saw_cancel = false;
  std::thread worker([&] {
    channel.runWorker([&](Configuration& running, MessageOutput& output) {
      EXPECT_TRUE(running.verbose());
      output.report("working");
      const auto give_up = steady_clock::now() + std::chrono::seconds(20);
      while (!output.isCanceled() && steady_clock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      saw_cancel = output.isCanceled();
    });
  });
  while (channel.nextMessage() != "working") std::this_thread::yield();
  EXPECT_TRUE(channel.isRunning());
  channel.requestCancel();
  worker.join();
  EXPECT_TRUE(saw_cancel);
  EXPECT_FALSE(channel.isRunning());
  EXPECT_EQ(channel.takeStatus(), "canceled by user");
}

TEST(IPCScratchAreaGUITest, AStoppedGenerationEndsBetweenModulesCanceledByUser) {
  TempTree tree;
  for (const char* name : {"m0", "m1", "m2"}) tree.write(std::string("src/") + name + ".cpp", "int f();\n");
  Configuration configuration;
  configuration.mutableSourceEntries().push_back({tree.root() + "src/*.cpp", false});
  LayoutItem* intro = configuration.mutableArrangement().addChild();
  intro->setKind(LayoutItem::kText);
  intro->setText("Hello");
  configuration.setHtmlOutputFile(tree.root() + "out/index.html");

  // Stopped while the second module is announced: nothing after the parse runs.
  IPCScratchAreaGUI channel;
  channel.setConfiguration(&configuration);
  std::vector<std::string> statuses;
  channel.setNotify([&] {
    std::string text = channel.takeStatus();
    if (text.empty()) return;
    statuses.push_back(text);
    if (text.find("m1.cpp") != std::string::npos) channel.requestCancel();
  });
  std::thread([&] { channel.runWorker(); }).join();
  EXPECT_EQ(statuses.front(), "Generating source file list.");  // progress lines are on
  EXPECT_NE(std::find(statuses.begin(), statuses.end(), "Parsing file: " + tree.root() + "src/m0.cpp"),
            statuses.end());
  EXPECT_EQ(statuses.back(), "canceled by user");
  for (const std::string& status : statuses) {
    EXPECT_EQ(status.find("m2.cpp"), std::string::npos);
    EXPECT_NE(status, "Building Document");
  }
}

}  // namespace
}  // namespace quillet
