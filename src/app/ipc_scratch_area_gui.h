// The message output of a generation run started from the editor. The run works on a worker thread and
// reports here; the progress window, on the user-interface thread, takes the waiting status text and lines
// when it is notified. The two threads meet only in this object: one mutex guards its status text, its queue
// of lines and its running and cancel flags, and is never held while calling out. The notification hook is
// called on the worker thread and must not block (the editor posts a queued call to its window).
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "common/message_output.h"

namespace quillet {

class Configuration;

class IPCScratchAreaGUI : public MessageOutput {
 public:
  /// What performs one generation; runGeneration unless a caller substitutes another.
  using Runner = std::function<void(Configuration&, MessageOutput&)>;

  IPCScratchAreaGUI() = default;

  /// Sets the configuration that runWorker runs; it must outlive the run.
  void setConfiguration(Configuration* configuration) { configuration_ = configuration; }
  /// Sets the hook called (on the worker thread) after anything new arrives; set it before a run starts.
  void setNotify(std::function<void()> notify) { notify_ = std::move(notify); }

  // Called by the worker thread.
  /// Replaces the waiting status text (status lines are not de-duplicated) and notifies.
  void status(std::string_view text) override;
  /// Queues `text` and notifies, unless the same text was reported since startRun.
  void report(std::string_view text) override;
  /// Forgets the texts reported so far, marks the run as going, clears any stop request and notifies.
  void startRun() override;
  /// Marks the run as ended and notifies.
  void endRun() override;
  /// True once the window asked the run to stop.
  bool isCanceled() override;
  /// Counts the modules parsed and notifies, so that the window can show how far the run is.
  void moduleProgress(size_t done, size_t total) override;
  /// Counts the file written.
  void fileWritten(std::string_view path) override;
  /// Counts the output that could not be written.
  void outputFailed() override;

  /// The body of the worker thread: starts the run, turns progress lines on, runs `runner` over the
  /// configuration, ends with the status "canceled by user" or "done", and ends the run.
  void runWorker(const Runner& runner);
  /// runWorker with the generation run itself.
  void runWorker();

  // Called by the window's thread.
  /// The waiting status text, left empty; empty when nothing new came.
  std::string takeStatus();
  /// Removes and returns the oldest waiting line; nothing when none waits (a blank line is a line).
  std::optional<std::string> nextMessage();
  /// Asks the run to stop at its next check.
  void requestCancel();
  /// True between startRun and endRun.
  bool isRunning();
  /// What the run did so far (or, once it ended, in all).
  RunTally tally();

 private:
  void notify() const {
    if (notify_) notify_();
  }

  Configuration* configuration_ = nullptr;
  std::function<void()> notify_;
  std::mutex mutex_;  // guards everything below
  std::string status_;
  std::deque<std::string> messages_;
  bool running_ = false;
  bool cancelRequested_ = false;
  RunTally tally_;
};

}  // namespace quillet
