// Where the files of a style set are found, and the extension of HTML output files. The evaluator looks up
// the style sheets of new_file and the sources of copy_file here; the output stage its main style sheet and
// main file name. Both read the run's configuration, or the default settings outside a run.
#pragma once

#include <cstdint>
#include <string>

namespace quillet {

/// The path of the style file `fileName` in the selected style set of the output format `format` (one of
/// OutputFormat; any other value reads as HTML).
std::string styleSheetPath(int32_t format, const std::string& fileName);

/// The extension of HTML output files, with its period: ".htm" when short file names are configured,
/// otherwise the extension of the configured main HTML file, else ".html".
std::string configuredHtmlExtension();

}  // namespace quillet
