// The output stage of a generation run: writes one output set (HTML, RTF or WinHelp RTF) of the document
// through its main style sheet in two passes, then finishes the format (the HTML link index file, the help
// compiler for WinHelp). Also the report of header files that documented nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace quillet {

class LinkIndex;
class StyleSheetObject;

/// Writes the output set of `format` (kHtmlFormat, kRtfFormat or kWinHelpFormat) for `document`, the only
/// object on the evaluators' stack. `add_links` may add names to the link index between the dictionary
/// pass and the file pass (the typedefs of documented symbols). Every fault is one message line and ends
/// only this format.
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
