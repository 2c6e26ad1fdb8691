// The one line that closes a generation run, in the console and in the editor's progress window: what the
// run wrote and where, its warnings and errors, and how long it took.
#pragma once

#include <string>
#include <vector>

#include "common/message_output.h"

namespace quillet {

class Configuration;

/// The folders the configuration's outputs go to, each once, in HTML, RTF, WinHelp order ("./" for the
/// current folder).
std::vector<std::string> outputFolders(const Configuration& configuration);

/// "Done: 57 files written (42 pages) to html/, rtf/; 0 warnings, 1 error; 1.3 s".
std::string runSummary(const RunTally& tally, const Configuration& configuration, double seconds);

}  // namespace quillet
