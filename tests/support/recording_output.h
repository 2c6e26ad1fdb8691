// A message output for tests: keeps every line it is sent, and can cancel the run after a given number of
// status lines.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "common/message_output.h"

namespace quillet {

class RecordingOutput : public MessageOutput {
 public:
  void status(std::string_view text) override {
    if (wasReported(text)) return;
    remember(text);
    lines.emplace_back(text);
    ++statusCount;
    if (cancelAfterStatus > 0 && statusCount >= cancelAfterStatus) canceled = true;
  }
  void report(std::string_view text) override {
    if (wasReported(text)) return;
    remember(text);
    lines.emplace_back(text);
  }
  bool isCanceled() override { return canceled; }

  /// True when some line equals `text`.
  bool has(std::string_view text) const {
    for (const std::string& line : lines)
      if (line == text) return true;
    return false;
  }
  /// True when some line contains `text`.
  bool mentions(std::string_view text) const {
    for (const std::string& line : lines)
      if (line.find(text) != std::string::npos) return true;
    return false;
  }

  std::vector<std::string> lines;
  int statusCount = 0;
  int cancelAfterStatus = 0;
  std::atomic<bool> canceled{false};  // asked by the threads that write pages too
};

}  // namespace quillet
