// What the front end needs to know of a documentation project, handed to it as one value: the run fills it
// from the configuration, tests and tools set what they need. Every stage reads its own part: the scanner
// the tab width, the preprocessor the include folders, defines and its switches, the recognizer the trace
// and comment placement, the builder the comment choices. No stage reaches for the run's configuration.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

struct FrontEndOptions {
  // Preprocessing.
  /// Folders searched for included files, in order.
  std::vector<std::string> includeDirectories;
  /// Macros defined before the first line: "NAME" or "NAME=value".
  std::vector<std::string> defines;
  /// Columns between tab stops.
  uint32_t tabWidth = 8;
  /// Comments inside macro definitions are delivered where the macro is used.
  bool macroComments = false;
  /// Headers are read again for every module instead of replayed.
  bool reparseHeaders = false;

  // Recognition.
  /// Every token the recognizer sees is shown as a progress line.
  bool traceTokens = false;
  /// Progress lines for what the recognizer skips.
  bool verbose = false;
  /// A function prototype takes the comment that follows it on later lines.
  bool commentsAfterPrototype = false;

  // Building the code store.
  /// A prototype's comment is the one before it (else the one after it).
  bool commentsBeforePrototypes = true;
  /// Comments at parameters document them.
  bool parameterComments = true;
};

}  // namespace quillet
