// The parsed command line. Start-up reads it once to choose between the editor and the batch run, and the
// batch run takes its configuration file and overrides from it. Switches are written "-X" or, where they
// spell a known switch, "/X"; every switch also has a GNU-style long form ("--batch").
#pragma once

#include <iosfwd>
#include <string>

namespace quillet {

struct BatchOptions {
  bool batch = false;             // -C: run in batch mode
  bool debug = false;             // -debug: token trace
  bool noHtml = false;            // -nohtml
  bool noRtf = false;             // -nortf
  bool ignoreIncludeEnv = false;  // -X
  bool verbose = false;           // -V
  bool usageError = false;        // the usage text must be shown
  bool noCopyright = false;       // -nocopyright: no banner
  bool help = false;              // -h, -?, --help: show the usage text and succeed
  bool version = false;           // --version
  bool failOnWarning = false;     // --fail-on-warning: warnings and errors fail the run
  std::string includes;           // every -I value, each preceded by ";"
  std::string defines;            // every -D value, each preceded by ","
  std::string outputDir;          // -o
  std::string configFile;         // -qlc, or a bare argument
  std::string programPath;        // argument 0
  std::string projectFile;        // -prj
  std::string errorMessage;       // one line closing the usage text, or empty
  unsigned jobs = 0;              // -j, --jobs: threads for the run; 0 for one per core

  /// Fills the fields from the arguments; true when a configuration or project file was named (or help or
  /// the version was asked for) and nothing was wrong.
  bool parse(int argc, const char* const* argv);
  /// Writes the usage text, then the error message if there is one.
  void printUsage(std::ostream& out) const;
};

}  // namespace quillet
