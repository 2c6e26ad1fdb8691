#include "app/ipc_scratch_area_gui.h"

#include "app/generation_run.h"
#include "config/configuration.h"

namespace quillet {

void IPCScratchAreaGUI::status(std::string_view text) {
  {
    std::lock_guard lock(mutex_);
    status_.assign(text);
  }
  notify();
}

void IPCScratchAreaGUI::report(std::string_view text) {
  // The set of reported texts is touched by the worker alone, so only the queue needs the lock.
  if (wasReported(text)) return;
  remember(text);
  {
    std::lock_guard lock(mutex_);
    messages_.emplace_back(text);
    tally_.countLine(text);
  }
  notify();
}

void IPCScratchAreaGUI::startRun() {
  MessageOutput::startRun();
  {
    std::lock_guard lock(mutex_);
    running_ = true;
    cancelRequested_ = false;
    tally_ = RunTally();
  }
  notify();
}

void IPCScratchAreaGUI::endRun() {
  {
    std::lock_guard lock(mutex_);
    running_ = false;
  }
  notify();
}

bool IPCScratchAreaGUI::isCanceled() {
  std::lock_guard lock(mutex_);
  return cancelRequested_;
}

void IPCScratchAreaGUI::runWorker(const Runner& runner) {
  startRun();
  if (configuration_ != nullptr) {
    configuration_->setVerbose(true);  // the window always shows progress lines
    runner(*configuration_, *this);
  }
  status(isCanceled() ? "canceled by user" : "done");
  endRun();
}

void IPCScratchAreaGUI::runWorker() {
  runWorker([](Configuration& configuration, MessageOutput& output) { runGeneration(configuration, output); });
}

std::string IPCScratchAreaGUI::takeStatus() {
  std::lock_guard lock(mutex_);
  std::string text;
  text.swap(status_);
  return text;
}

std::optional<std::string> IPCScratchAreaGUI::nextMessage() {
  std::lock_guard lock(mutex_);
  if (messages_.empty()) return std::nullopt;
  std::string text = std::move(messages_.front());
  messages_.pop_front();
  return text;
}

void IPCScratchAreaGUI::requestCancel() {
  std::lock_guard lock(mutex_);
  cancelRequested_ = true;
}

void IPCScratchAreaGUI::moduleProgress(size_t done, size_t total) {
  {
    std::lock_guard lock(mutex_);
    tally_.modules = total;
    tally_.modulesParsed = done;
  }
  notify();
}

void IPCScratchAreaGUI::fileWritten(std::string_view path) {
  std::lock_guard lock(mutex_);
  tally_.countFile(path);
}

void IPCScratchAreaGUI::outputFailed() {
  std::lock_guard lock(mutex_);
  ++tally_.outputFailures;
}

RunTally IPCScratchAreaGUI::tally() {
  std::lock_guard lock(mutex_);
  return tally_;
}

bool IPCScratchAreaGUI::isRunning() {
  std::lock_guard lock(mutex_);
  return running_;
}

}  // namespace quillet
