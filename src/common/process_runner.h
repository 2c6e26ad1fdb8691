// Running another program and reading what it prints: the seam through which Quillet asks a compiler for
// its view of the code. `ProcessRunner` starts a program with some text on its standard input, waits for
// it (up to a time limit) and hands back its exit status and both output streams. The process uses the
// real implementation unless a test installs another one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

/// What running a program gave.
struct ProcessResult {
  /// False when the program could not be started (it does not exist, or is not executable).
  bool started = false;
  /// The exit status; -1 when the program did not exit normally (a signal, the time limit).
  int exitStatus = -1;
  /// What it wrote to its standard output.
  std::string output;
  /// What it wrote to its standard error.
  std::string errors;
};

class ProcessRunner {
 public:
  ProcessRunner() = default;
  virtual ~ProcessRunner() = default;
  ProcessRunner(const ProcessRunner&) = delete;
  ProcessRunner& operator=(const ProcessRunner&) = delete;

  /// Runs `arguments` (the program first: a path, or a name looked for along PATH) with `input` on its
  /// standard input, and waits for it to end. A program still running after `timeout_seconds` is killed.
  virtual ProcessResult run(const std::vector<std::string>& arguments, std::string_view input,
                            int timeout_seconds) = 0;
};

/// The process runner in use: the real one unless a test installed another.
ProcessRunner& processRunner();
/// Installs `replacement` (not owned; null for the real one) as the runner in use; returns the one it
/// replaces.
ProcessRunner* installProcessRunner(ProcessRunner* replacement);

}  // namespace quillet
