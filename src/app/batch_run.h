// The batch face of the program: loads the configuration named on the command line (or the one in the
// current folder), applies the command-line overrides and performs one generation run with console output,
// closed by a summary line.
#pragma once

#include <iosfwd>
#include <string>

namespace quillet {

struct BatchOptions;
class Configuration;

/// Process exit statuses of the batch run and the other commands.
enum BatchStatus {
  kBatchRanGeneration = 0,
  kBatchConfigurationFailed = 1,  // a configuration or another input file could not be used
  kBatchUsageShown = 2,
  kBatchWarnings = 3,      // --fail-on-warning and the run reported a warning or an error
  kBatchOutputFailed = 4,  // the output could not be written; the previous output files were left whole
};

/// Performs the whole batch run; `parsed` is the result of BatchOptions::parse. Start-up lines go to `out`;
/// with `live_progress` a progress line is kept up to date there.
int runBatch(const BatchOptions& options, bool parsed, std::ostream& out, bool live_progress = false);

/// Applies the command-line overrides to `configuration` in their fixed order; problems with a Developer
/// Studio project file are written to `out` and do not stop the run. False when a compilation database
/// given as the project could not be read (the reason is written to `out`).
bool applyOverrides(const BatchOptions& options, Configuration& configuration, std::ostream& out);

/// The configuration a batch run without one uses: quillet.toml in the current folder, else the only .qlc
/// file there; empty (with the reason in `why`) when there is none.
std::string defaultConfigurationFile(std::string& why);

/// The one-line banner naming the product and its version.
const char* bannerText();

}  // namespace quillet
