// Migration from a Doxygen configuration file (a "Doxyfile"): reads its KEY = value format (+= appends,
// quoted values, "\" line continuations, @INCLUDE and @INCLUDE_PATH, "#" comments) and carries over what has
// a counterpart here: the project's name and brief, the input files (INPUT, FILE_PATTERNS, RECURSIVE,
// EXCLUDE, EXCLUDE_PATTERNS), PREDEFINED, INCLUDE_PATH, the HTML and RTF outputs and EXTRACT_PRIVATE.
// EXTRACT_STATIC, ENABLE_PREPROCESSING, MACRO_EXPANSION and JAVADOC_AUTOBRIEF are weighed and noted where
// they ask for something this program does differently. Every other key that is set is listed.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "import/project_description.h"

namespace quillet {

/// The values of a Doxyfile: each key's words (quotes removed) and the line that set it last.
struct DoxyfileValues {
  struct Value {
    std::vector<std::string> words;
    std::string file;
    int line = 0;
  };
  std::map<std::string, Value> keys;
};

/// Reads the Doxyfile `path` (following @INCLUDE); false with "file:line: reason" in `error`.
bool readDoxyfile(const std::string& path, DoxyfileValues& values, std::string& error);

/// What a Doxyfile asks for beyond the project description.
struct DoxyfileMigration {
  std::string brief;           // PROJECT_BRIEF
  std::string htmlOutputFile;  // absolute; empty when GENERATE_HTML is NO
  std::string rtfOutputFile;   // absolute; empty unless GENERATE_RTF is YES
  bool documentPrivate = false;
  bool markdown = true;                 ///< MARKDOWN_SUPPORT, on unless the Doxyfile turns it off
  std::vector<std::string> notCarried;  // "KEY (file:line)" for every other key that is set
};

/// Reads the Doxyfile `path` into `project` (root: the Doxyfile's folder, where its relative paths start)
/// and `migration`; false with "file:line: reason" in `error`.
bool migrateDoxyfile(const std::string& path, ProjectDescription& project, DoxyfileMigration& migration,
                     std::string& error);

}  // namespace quillet
