// The program's command line, above the editor: help, the version, `quillet init`, `quillet convert` and
// the batch run are handled here; everything else opens the configuration editor.
#pragma once

#include <iosfwd>
#include <optional>

#include "app/batch_options.h"

namespace quillet {

/// Parses the command line into `options` and runs what needs no editor; the process exit status, or
/// nullopt when the editor should open (on `options.configFile` when it is not empty).
std::optional<int> runCommandLine(int argc, const char* const* argv, BatchOptions& options,
                                  std::ostream& out);

}  // namespace quillet
