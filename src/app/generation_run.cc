#include "app/generation_run.h"

#include "app/document_builder.h"
#include "app/source_list.h"
#include "common/file_services.h"
#include "common/message_output.h"
#include "config/configuration.h"
#include "config/layout_item.h"
#include "document/document.h"

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

// Parses every module in turn; stops between modules when the run is cancelled.
void parseModules(const Configuration& configuration, const SourceList& sources) {
  for (const std::string& module : sources.modules) {
    if (runCanceled()) return;
    if (configuration.verbose()) reportStatus("Parsing file: " + module);
  }
}

}  // namespace

void runGeneration(Configuration& configuration, MessageOutput& output) {
  PublishedRun published(configuration, output);
  forgetPathCaches();  // folders may have changed since the last run in this process
  if (output.isCanceled()) return;
  if (configuration.arrangement().childCount() == 0) {
    output.report(
        "error: At least one arrange entry is needed in every configuration.  No documentation can be "
        "generated.");
    return;
  }
  if (configuration.htmlOutputFile().empty() && configuration.rtfOutputFile().empty() &&
      configuration.winHelpOutputFile().empty()) {
    output.report(
        "error: At least one output file name from the style tab is needed in every configuration.  No "
        "documentation can be generated.");
    return;
  }

  const SourceList sources = buildSourceList(configuration);
  parseModules(configuration, sources);
  if (output.isCanceled()) return;

  if (configuration.verbose()) output.status("Building Document");
  Document document;
  DocumentedFiles documented;
  buildDocument(configuration, document, documented);
  if (output.isCanceled()) return;

  if (configuration.verbose()) output.status("Sorting Document");
}

}  // namespace quillet
