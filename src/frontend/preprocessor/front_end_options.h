// What the front end needs to know of a documentation project, handed to it as one value: the run fills it
// from the configuration (and the compiler's profile when a compiler is named), tests and tools set what
// they need. Every stage reads its own part: the scanner the tab width, the preprocessor the include
// folders, defines, the compiler's view and its switches, the recognizer the trace and comment placement,
// the builder the comment choices. No stage reaches for the run's configuration.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
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

  // The compiler's view of the code (empty when no compiler is named).
  /// The compiler's folders for included files, searched after `includeDirectories`. Headers found there
  /// (and the headers they include) are read for their macros only: their tokens are not delivered, so
  /// they are not documented, unless they are among `sourceFiles`.
  std::vector<std::string> systemIncludeDirectories;
  /// The compiler's predefined macros as "#define" lines give them: "NAME value" or "NAME(a, b) value".
  /// Configured defines come first and win.
  std::vector<std::string> compilerMacros;
  /// The compiler's answers to the condition operators: "__has_builtin __builtin_expect" (operator, a
  /// space, the name) gives the value; the operator alone is 1 when the compiler has it.
  std::shared_ptr<const std::map<std::string, int64_t, std::less<>>> compilerFeatures;
  /// The run's source files: documented even when a system folder holds them. Null when none are known.
  std::shared_ptr<const std::unordered_set<std::string>> sourceFiles;

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
