// The message sink of a generation run. Every stage reports progress lines, errors and warnings through one
// MessageOutput; the console and the editor's progress window each provide an implementation. The sink is
// also the run's cancellation channel. A text reported twice in one run is shown once.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>

namespace quillet {

/// What a run has done so far, counted by the message outputs for progress displays and the closing
/// summary line.
struct RunTally {
  size_t modules = 0;         // modules the run parses
  size_t modulesParsed = 0;   // modules done
  size_t pages = 0;           // HTML and RTF documents written
  size_t files = 0;           // every file written, pages included
  size_t warnings = 0;        // lines shown that begin with "warning"
  size_t errors = 0;          // lines shown that begin with "error"
  size_t outputFailures = 0;  // output sets that could not be written (a failed write, a budget reached)

  /// Counts a line shown: an error or a warning, by how it begins.
  void countLine(std::string_view text);
  /// Counts a file written at `path`: a page when it is an HTML or RTF document.
  void countFile(std::string_view path);
};

class MessageOutput {
 public:
  MessageOutput();
  virtual ~MessageOutput() = default;
  MessageOutput(const MessageOutput&) = delete;
  MessageOutput& operator=(const MessageOutput&) = delete;

  /// A progress line.
  virtual void status(std::string_view text) = 0;
  /// An error, warning or result line.
  virtual void report(std::string_view text) = 0;
  /// Starts a run: forgets every text reported so far.
  virtual void startRun();
  /// Ends a run.
  virtual void endRun() {}
  /// True when the user asked the run to stop; a console run never is.
  virtual bool isCanceled() { return false; }
  /// The run starts module `done` + 1 of `total` (`done` == `total`: parsing is over).
  virtual void moduleProgress(size_t done, size_t total) { (void)done, (void)total; }
  /// The run wrote the file `path`.
  virtual void fileWritten(std::string_view path) { (void)path; }
  /// The run could not write its output (a write failed, or a style sheet reached its budget); the
  /// previous output files were left as they were.
  virtual void outputFailed() {}

 protected:
  /// True when `text` was already reported since the last startRun.
  bool wasReported(std::string_view text) const;
  /// Records `text` as reported.
  void remember(std::string_view text);

 private:
  std::unordered_set<std::string> reported_;
};

/// The message output of the run in progress, or null outside a run.
MessageOutput* currentMessageOutput();
/// Publishes (or, with null, withdraws) the message output of the run in progress.
void setCurrentMessageOutput(MessageOutput* output);

/// Reports `text` through the current run's output; does nothing outside a run.
void reportMessage(std::string_view text);
/// Sends a progress line through the current run's output; does nothing outside a run.
void reportStatus(std::string_view text);
/// True when the current run was cancelled.
bool runCanceled();
/// Tells the current run's output how far parsing has come; does nothing outside a run.
void reportModuleProgress(size_t done, size_t total);
/// Tells the current run's output that `path` was written; does nothing outside a run.
void reportFileWritten(std::string_view path);
/// Tells the current run's output that its output could not be written; does nothing outside a run.
void reportOutputFailed();

}  // namespace quillet
