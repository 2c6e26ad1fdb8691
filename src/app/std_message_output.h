// The console face of the message output: used by the batch run, writes each new line to a stream. On a
// terminal it also keeps one progress line up to date in place (files parsed of the total, then pages
// written), cleared before each message line and drawn again after it. It counts what the run did for the
// closing summary line.
#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

#include "common/message_output.h"

namespace quillet {

class StdMessageOutput : public MessageOutput {
 public:
  /// Writes to standard output.
  StdMessageOutput();
  /// Writes to `out`, which must outlive this object; with `live_progress`, keeps a progress line.
  explicit StdMessageOutput(std::ostream& out, bool live_progress = false);

  /// Writes " " + text + line break, once per run.
  void status(std::string_view text) override;
  /// Writes " " + text + line break, once per run.
  void report(std::string_view text) override;
  /// Counts the modules parsed and redraws the progress line.
  void moduleProgress(size_t done, size_t total) override;
  /// Counts the file and redraws the progress line.
  void fileWritten(std::string_view path) override;
  /// Counts the output that could not be written.
  void outputFailed() override { ++tally_.outputFailures; }
  /// Removes the progress line, if one is shown, so that what follows starts on a clean line.
  void finishProgress();

  /// What the run did so far.
  const RunTally& tally() const { return tally_; }

 private:
  void write(std::string_view text);
  void drawProgress(bool force);
  void clearProgress();

  std::ostream& out_;
  bool live_ = false;
  bool progressShown_ = false;
  std::chrono::steady_clock::time_point lastDraw_;
  RunTally tally_;
};

/// True when standard output is a terminal and the environment does not say it is a CI job (CI set) or a
/// dumb terminal: then a batch run keeps a progress line.
bool wantsLiveProgress();

}  // namespace quillet
