// The generation run: one call that takes a configuration and a message output and performs every stage in
// order. The batch run calls it on the main thread, the editor on its worker thread.
#pragma once

namespace quillet {

class Configuration;
class MessageOutput;

/// Runs one generation; all results are files and message lines. `jobs` threads share the work (0: one
/// per core); the results are the same for any number.
void runGeneration(Configuration& configuration, MessageOutput& output, unsigned jobs);
/// Runs one generation with one thread per core.
inline void runGeneration(Configuration& configuration, MessageOutput& output) {
  runGeneration(configuration, output, 0);
}

}  // namespace quillet
