// The generation run: one call that takes a configuration and a message output and performs every stage in
// order. The batch run calls it on the main thread, the editor on its worker thread.
#pragma once

namespace quillet {

class Configuration;
class MessageOutput;

/// Runs one generation; all results are files and message lines.
void runGeneration(Configuration& configuration, MessageOutput& output);

}  // namespace quillet
