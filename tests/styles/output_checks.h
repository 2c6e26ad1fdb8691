// Checks of generated documentation shared by the style set tests: links and anchors of an HTML site, and
// the structure of RTF and WinHelp RTF files. Each check answers a list of problems, empty when all is well,
// so that a failing test names every fault at once.
#pragma once

#include <string>
#include <vector>

namespace quillet {

/// The HTML files (".html" and ".htm") directly in `folder`, in name order.
std::vector<std::string> htmlFilesIn(const std::string& folder);

/// Every local link (href and src) of every page in `pages` that does not reach an existing file, or whose
/// "#fragment" names no id or anchor of the HTML page it points to; empty links; ids defined twice in a page.
std::vector<std::string> brokenLinks(const std::vector<std::string>& pages);

/// The references of the style sheets that no object expanded and that therefore stand in the output as
/// written ("name_", "link_to_", "metric_total_class_"), one line per page and reference.
std::vector<std::string> unexpandedReferences(const std::vector<std::string>& files);

/// Faults of an RTF file: no "{\rtf1" header with a font table, braces that do not balance or close before
/// the end, and hyperlinks to bookmarks ("HYPERLINK \\l") that the file does not define.
std::vector<std::string> rtfProblems(const std::string& rtf);

/// Faults of a WinHelp RTF file beyond rtfProblems: jumps ("\v topic") to topics that no "#" footnote
/// defines, and topic identifiers defined twice.
std::vector<std::string> winHelpProblems(const std::string& rtf);

/// The contents of `path`, or an empty string when it cannot be read.
std::string fileText(const std::string& path);

/// `text` quoted for the shell.
std::string shellQuoted(const std::string& text);
/// Runs `command` through the shell; answers its exit status and, in `out`, what it wrote to stdout.
int runCommand(const std::string& command, std::string* out = nullptr);
/// The path of the first of the programs `names` (separated by blanks) that is installed, or "".
std::string findProgram(const std::string& names);
/// What the HTML checker tidy (at `tidy`) reports for `page`, errors and warnings; empty when it is clean.
std::string tidyReport(const std::string& tidy, const std::string& page);

}  // namespace quillet
