// The progress window: a run of the example project to "done", Stop and closing while a run works, long
// lines, copying, the view buttons and the undocumented-headers choice.
#include "editor/generate_progress.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QProgressBar>
#include <QPushButton>
#include <chrono>
#include <filesystem>
#include <thread>

#include "config/configuration.h"
#include "editor_test_util.h"
#include "scripted_dialogs.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

using std::chrono::steady_clock;

// A run that reports `lines` and ends, or, `until_stopped`, then works until it is asked to stop (bounded, so
// a test cannot hang).
IPCScratchAreaGUI::Runner run(std::vector<std::string> lines, bool until_stopped = false) {
  return [lines, until_stopped](Configuration&, MessageOutput& output) {
    for (const std::string& line : lines) output.report(line);
    const auto give_up = steady_clock::now() + std::chrono::seconds(30);
    while (until_stopped && !output.isCanceled() && steady_clock::now() < give_up)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
}

class GenerateProgressTest : public EditorTest {
 protected:
  QPushButton* button(CGenerateProgress& window, const char* name) {
    return control<QPushButton>(&window, name);
  }
  // Waits until the run of `window` has ended with `status`.
  bool ends(CGenerateProgress& window, const QString& status = "done") {
    return waitUntil([&] { return !window.running() && window.statusText() == status; });
  }

  Configuration configuration;
  ScriptedDialogs dialogs;
};

TEST_F(GenerateProgressTest, RunsTheExampleProjectToDoneAndOpensItsOutputs) {
  TempTree out;
  std::filesystem::current_path(std::filesystem::path(QUILLET_TEST_DATA) / "../../examples");
  ASSERT_TRUE(configuration.load("example.qlc"));
  // The outputs go to a temporary folder, not into the source tree.
  configuration.setHtmlOutputFile(out.path("html/index.html"));
  configuration.setRtfOutputFile(out.path("rtf/shapes"));
  configuration.setWinHelpOutputFile("");

  CGenerateProgress window(configuration, dialogs);
  EXPECT_EQ(window.windowTitle(), "Generate Documentation");
  EXPECT_EQ(button(window, "startStop")->text(), "Stop");
  EXPECT_FALSE(button(window, "close")->isEnabled());
  ASSERT_TRUE(ends(window));
  EXPECT_TRUE(configuration.verbose());
  EXPECT_EQ(button(window, "startStop")->text(), "Start");
  for (const auto& [name, enabled] : {std::pair{"startStop", true},
                                      {"close", true},
                                      {"viewHtml", true},
                                      {"viewRtf", true},
                                      {"viewWinHelp", false}})
    EXPECT_EQ(button(window, name)->isEnabled(), enabled) << name;

  // The bar counted the modules; the summary says what was written.
  EXPECT_GT(window.progressBar()->maximum(), 1);
  EXPECT_EQ(window.progressBar()->value(), window.progressBar()->maximum());
  EXPECT_TRUE(window.summaryText().startsWith("Done: ")) << window.summaryText().toStdString();
  EXPECT_TRUE(window.summaryText().contains("; 0 warnings, 0 errors; "));

  button(window, "viewHtml")->click();
  button(window, "viewRtf")->click();  // a name without extension gets ".rtf"
  button(window, "openOutput")->click();
  ASSERT_EQ(dialogs.opened.size(), 3u);
  EXPECT_EQ(dialogs.opened[0].toLocalFile().toStdString(), out.path("html/index.html"));
  EXPECT_EQ(dialogs.opened[1].toLocalFile().toStdString(), out.path("rtf/shapes.rtf"));
  EXPECT_EQ(dialogs.opened[2], dialogs.opened[0]);
  dialogs.desktopOpens = false;
  button(window, "openOutput")->click();
  EXPECT_EQ(dialogs.lastTold(),
            "No program is set up to open " + out.path("html/index.html") +
                " (the desktop's opener, xdg-open, is missing or has no application for it).");
  dialogs.desktopOpens = true;

  configuration.setWinHelpOutputFile(out.path("help/api.rtf"));
  button(window, "startStop")->click();  // a second run in the same window
  ASSERT_TRUE(ends(window));
  button(window, "viewWinHelp")->click();
  EXPECT_EQ(dialogs.opened.back().toLocalFile().toStdString(), out.path("help/api.hlp"));
}

TEST_F(GenerateProgressTest, StopEndsTheRunCanceledByUser) {
  CGenerateProgress window(configuration, dialogs, nullptr, run({"working"}, true));
  ASSERT_TRUE(waitUntil([&] { return window.lines() == QStringList{"working"}; }));
  EXPECT_TRUE(window.running());
  button(window, "startStop")->click();
  EXPECT_FALSE(button(window, "startStop")->isEnabled());
  ASSERT_TRUE(ends(window, "canceled by user"));
  EXPECT_EQ(button(window, "startStop")->text(), "Start");
  EXPECT_TRUE(button(window, "startStop")->isEnabled());
}

TEST_F(GenerateProgressTest, ClosingWhileTheRunWorksStopsItAndWaitsForItsEnd) {
  // Closed at once, before the worker has even begun: the stop request is not lost.
  CGenerateProgress first(configuration, dialogs, nullptr, run({"working"}, true));
  first.show();
  const auto started = steady_clock::now();
  first.close();
  EXPECT_FALSE(first.running());
  EXPECT_FALSE(first.isVisible());
  EXPECT_EQ(first.statusText(), "canceled by user");
  EXPECT_LT(steady_clock::now() - started, std::chrono::seconds(10));

  CGenerateProgress second(configuration, dialogs, nullptr, run({"working"}, true));
  second.show();
  ASSERT_TRUE(waitUntil([&] { return second.lines().size() == 1; }));
  second.reject();  // Escape
  EXPECT_FALSE(second.running());
  EXPECT_EQ(second.statusText(), "canceled by user");
}

TEST_F(GenerateProgressTest, LongLinesAreCutRepeatsDroppedAndCopyTakesEveryLine) {
  const std::string exact(1000, 'a');
  const std::string accented = std::string(989, 'c') + "\xc3\xa9" + std::string(100, 'd');
  CGenerateProgress window(configuration, dialogs, nullptr,
                           run({exact, std::string(1001, 'b'), "error: twice", "error: twice", accented}));
  ASSERT_TRUE(ends(window));
  const QStringList lines = window.lines();
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(lines[0].toStdString(), exact);
  EXPECT_EQ(lines[1].toStdString(), std::string(990, 'b') + " ...");
  EXPECT_EQ(lines[2], "error: twice");
  EXPECT_EQ(lines[3].toStdString(), std::string(989, 'c') + " ...");  // never half a character
  EXPECT_EQ(displayLine(std::string(1500, 'x')).size(), 994u);

  button(window, "copy")->click();
  EXPECT_EQ(QApplication::clipboard()->text(), lines.join('\n') + '\n');
}

TEST_F(GenerateProgressTest, UndocumentedHeadersChoiceReachesTheConfiguration) {
  configuration.setReportUndocumented(true);
  bool seen_by_run = false;
  CGenerateProgress window(configuration, dialogs, nullptr, [&](Configuration& running, MessageOutput&) {
    seen_by_run = running.reportUndocumented();
  });
  QCheckBox* box = control<QCheckBox>(&window, "undocumented");
  EXPECT_TRUE(box->isChecked());
  ASSERT_TRUE(waitUntil([&] { return !window.running(); }));
  EXPECT_TRUE(seen_by_run);
  box->click();
  EXPECT_FALSE(configuration.reportUndocumented());
  EXPECT_FALSE(configuration.modified());  // a run switch, not a stored setting
}

}  // namespace
}  // namespace quillet
