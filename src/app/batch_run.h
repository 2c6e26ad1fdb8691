// The batch face of the program: loads the configuration named on the command line, applies the
// command-line overrides and performs one generation run with console output.
#pragma once

#include <iosfwd>

namespace quillet {

struct BatchOptions;
class Configuration;

/// Process exit statuses of the batch run.
enum BatchStatus { kBatchRanGeneration = 0, kBatchConfigurationFailed = 1, kBatchUsageShown = 2 };

/// Performs the whole batch run; `parsed` is the result of BatchOptions::parse. Start-up lines go to `out`.
int runBatch(const BatchOptions& options, bool parsed, std::ostream& out);

/// Applies the command-line overrides to `configuration` in their fixed order; problems with the project
/// file are written to `out` and do not stop the run.
void applyOverrides(const BatchOptions& options, Configuration& configuration, std::ostream& out);

/// The one-line banner naming the product and its version.
const char* bannerText();

}  // namespace quillet
