// The output stage of a generation run: writes one output set (HTML, RTF or WinHelp RTF) of the document
// through its main style sheet in two passes, then finishes the format (the HTML link index file, the help
// compiler for WinHelp). Also the report of header files that documented nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "stylesheet/evaluation_budget.h"

namespace quillet {

class Configuration;
class LinkIndex;
class StyleSheetObject;

/// What the output sets of one run share: the style sheets' budget left for the rest of the run, and
/// whether writing stopped.
struct OutputRun {
  /// The budget of the configuration's max_evaluation_steps and max_output_bytes.
  explicit OutputRun(const Configuration& configuration);
  OutputRun() = default;

  EvaluationLimits left;
  /// The threads that write pages, the calling one included.
  unsigned jobs = 1;
  /// Set when an output set could not be written: the run writes nothing more.
  bool stopped = false;
};

/// Writes the output set of `format` (kHtmlFormat, kRtfFormat or kWinHelpFormat) for `document`, the only
/// object on the evaluators' stack. `add_links` may add names to the link index between the dictionary
/// pass and the file pass (the typedefs of documented symbols). The set's files replace their previous
/// versions together, once all are written. A file that cannot be written, or a style sheet that uses up
/// the run's budget, stops the run's writing: nothing of the set is put in place and `run` is marked
/// stopped. Every other fault is one message line and ends only this format.
void writeOutput(OutputRun& run, StyleSheetObject& document, int32_t format,
                 const std::function<void(LinkIndex&)>& add_links = {});
/// As above, with a run of its own under the current configuration's budget.
void writeOutput(StyleSheetObject& document, int32_t format,
                 const std::function<void(LinkIndex&)>& add_links = {});

/// The main output file of `format` as configured, with its extension replaced by the format's default.
std::string mainOutputFile(const std::string& configured, int32_t format);

/// The command line that compiles the help project of the main WinHelp file `main_file`.
std::string helpCompilerCommand(const std::string& main_file);

/// Reports, in order, each file of `files` that is not in `skip`, whose name has no ".c" or ".C" in it (a
/// header), and that is not in `declaring` (the files that declare something placed in the document).
void reportUndocumentedFiles(const std::vector<std::string>& files,
                             const std::unordered_set<std::string>& skip,
                             const std::unordered_set<std::string>& declaring);

}  // namespace quillet
