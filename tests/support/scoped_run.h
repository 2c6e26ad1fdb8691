// Helpers shared by tests that need a published run: a message output that records what a run reports,
// published together with a configuration for the lifetime of one test.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/message_output.h"
#include "config/configuration.h"

namespace quillet::testing {

class RecordingOutput : public MessageOutput {
 public:
  void status(std::string_view) override {}
  void report(std::string_view text) override {
    if (wasReported(text)) return;
    remember(text);
    lines.emplace_back(text);
  }
  std::vector<std::string> lines;
};

// Publishes a configuration and a recording output as the current run's while it lives.
class ScopedRun {
 public:
  ScopedRun() {
    setCurrentConfiguration(&configuration);
    setCurrentMessageOutput(&output);
  }
  ~ScopedRun() {
    setCurrentConfiguration(nullptr);
    setCurrentMessageOutput(nullptr);
  }
  ScopedRun(const ScopedRun&) = delete;
  ScopedRun& operator=(const ScopedRun&) = delete;

  Configuration configuration;
  RecordingOutput output;
};

}  // namespace quillet::testing
