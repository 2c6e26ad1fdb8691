// The message sink of a generation run. Every stage reports progress lines, errors and warnings through one
// MessageOutput; the console and the editor's progress window each provide an implementation. The sink is
// also the run's cancellation channel. A text reported twice in one run is shown once.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

namespace quillet {

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

}  // namespace quillet
