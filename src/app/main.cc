// Program entry: chooses between the batch run (-C) and the configuration editor.
#include <iostream>

#include "app/batch_options.h"
#include "app/batch_run.h"

int main(int argc, char** argv) {
  quillet::BatchOptions options;
  const bool parsed = options.parse(argc, argv);
  if (options.batch) return quillet::runBatch(options, parsed, std::cout);

  std::cout << "The configuration editor is not part of this build; use -C to run in batch mode "
               "(quillet -C -qlc file.qlc)."
            << std::endl;
  return quillet::kBatchUsageShown;
}
