// Program entry: the commands that need no editor (batch run, init, convert, help), else the editor.
#include <iostream>

#include "app/batch_run.h"
#include "app/command_line.h"
#ifdef QUILLET_WITH_EDITOR
#include "editor/editor_main.h"
#endif

int main(int argc, char** argv) {
  quillet::BatchOptions options;
  if (const std::optional<int> status = quillet::runCommandLine(argc, argv, options, std::cout))
    return *status;

#ifdef QUILLET_WITH_EDITOR
  // Command-line errors do not matter to the editor; only the configuration named, if any, does.
  return quillet::runEditor(argc, argv, options.configFile, std::cerr);
#else
  std::cout << "The configuration editor is not part of this build; use -C to run in batch mode "
               "(quillet -C config.toml), or quillet --help."
            << std::endl;
  return quillet::kBatchUsageShown;
#endif
}
