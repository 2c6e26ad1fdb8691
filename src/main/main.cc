// Program entry: chooses between the batch run (-C) and the configuration editor.
#include <iostream>

#include "app/batch_options.h"
#include "app/batch_run.h"
#ifdef QUILLET_WITH_EDITOR
#include "editor/editor_main.h"
#endif

int main(int argc, char** argv) {
  quillet::BatchOptions options;
  const bool parsed = options.parse(argc, argv);
  if (options.batch) return quillet::runBatch(options, parsed, std::cout);

#ifdef QUILLET_WITH_EDITOR
  // Command-line errors do not matter to the editor; only the configuration named, if any, does.
  return quillet::runEditor(argc, argv, options.configFile, std::cerr);
#else
  std::cout << "The configuration editor is not part of this build; use -C to run in batch mode "
               "(quillet -C -qlc file.qlc)."
            << std::endl;
  return quillet::kBatchUsageShown;
#endif
}
