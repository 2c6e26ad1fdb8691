// The progress window ("Generate Documentation"): starts a generation run on a worker thread as soon as it
// opens, shows the run's status and message lines as they arrive and a progress bar of the modules parsed,
// stops the run on request (also when closed while the run works, waiting for it to end), ends with the
// run's summary line, copies the lines to the clipboard and opens the outputs written. Opened modally by the
// main window over its configuration.
#pragma once

#include <QDialog>
#include <chrono>
#include <string>
#include <string_view>
#include <thread>

#include "app/ipc_scratch_area_gui.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace quillet {

class Configuration;
class EditorDialogs;

/// The line shown for `text`: a line longer than 1000 characters is cut to its first 990 and " ...".
std::string displayLine(std::string_view text);

class CGenerateProgress : public QDialog {
 public:
  /// Opens over `configuration` and starts a run at once with `runner` (the generation run by default).
  CGenerateProgress(Configuration& configuration, EditorDialogs& dialogs, QWidget* parent = nullptr,
                    IPCScratchAreaGUI::Runner runner = {});
  /// Stops a run still going and waits for its end.
  ~CGenerateProgress() override;

  /// Starts a run unless one is going: clears the lines and relabels the start button "Stop".
  void startRun();
  /// Asks the running run to stop; the start button stays disabled until the run has ended.
  void stopRun();
  /// True while a run works.
  bool running() { return channel_.isRunning(); }
  /// Waits, checking every 150 milliseconds, until the run has ended and its last lines are shown.
  void waitForRun();
  /// Closes the window as Close does (Escape), stopping a run first and waiting for its end.
  void reject() override;
  /// Puts every line, each ended by a line break, on the clipboard as plain text.
  void copyLines();

  /// The status line shown.
  QString statusText() const;
  /// The message lines shown, oldest first.
  QStringList lines() const;
  /// The summary line of the last run that ended, or empty.
  QString summaryText() const;
  /// The progress bar: modules parsed of the modules in the run.
  QProgressBar* progressBar() const { return progress_; }
  /// Opens the main file of the first output the configuration names (HTML, RTF, then WinHelp).
  void openOutput();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void takeMessages();
  void stopAndWait();
  void joinWorker();
  void viewOutput(const std::string& file);

  Configuration& configuration_;
  EditorDialogs& dialogs_;
  IPCScratchAreaGUI::Runner runner_;
  IPCScratchAreaGUI channel_;
  std::thread worker_;
  QListWidget* list_;
  QLabel* status_;
  QPushButton* close_;
  QPushButton* startStop_;
  QPushButton* viewHtml_;
  QPushButton* viewRtf_;
  QPushButton* viewWinHelp_;
  QPushButton* openOutput_;
  QCheckBox* undocumented_;
  QProgressBar* progress_;
  QLabel* summary_;
  bool stopRequested_ = false;  // the user asked the run going to stop
  bool summarized_ = true;      // the last run's end is shown
  std::chrono::steady_clock::time_point started_;
};

}  // namespace quillet
