#include "app/generation_run.h"

#include "common/message_output.h"
#include "config/configuration.h"

namespace quillet {

namespace {

// Publishes the run's configuration and message output for as long as the run lasts.
class PublishedRun {
 public:
  PublishedRun(Configuration& configuration, MessageOutput& output) {
    setCurrentConfiguration(&configuration);
    setCurrentMessageOutput(&output);
  }
  ~PublishedRun() {
    setCurrentConfiguration(nullptr);
    setCurrentMessageOutput(nullptr);
  }
  PublishedRun(const PublishedRun&) = delete;
  PublishedRun& operator=(const PublishedRun&) = delete;
};

}  // namespace

void runGeneration(Configuration& configuration, MessageOutput& output) {
  PublishedRun published(configuration, output);
  if (output.isCanceled()) return;
}

}  // namespace quillet
