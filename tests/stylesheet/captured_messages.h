// A message output for tests: publishes itself as the run's output while it lives, keeps every line (repeats
// included) and answers isCanceled with `canceled`.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/message_output.h"

namespace quillet {

class CapturedMessages final : public MessageOutput {
 public:
  CapturedMessages() { setCurrentMessageOutput(this); }
  ~CapturedMessages() override { setCurrentMessageOutput(nullptr); }

  void status(std::string_view) override {}
  void report(std::string_view text) override { lines.emplace_back(text); }
  bool isCanceled() override { return canceled; }

  std::vector<std::string> lines;
  bool canceled = false;
};

}  // namespace quillet
