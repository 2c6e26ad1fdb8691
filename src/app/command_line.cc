#include "app/command_line.h"

#include <iostream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_run.h"
#include "app/setup_commands.h"
#include "app/std_message_output.h"

namespace quillet {

std::optional<int> runCommandLine(int argc, const char* const* argv, BatchOptions& options,
                                  std::ostream& out) {
  if (argc >= 2 && argv[1] != nullptr) {
    const std::string_view command = argv[1];
    if (command == "init" || command == "convert") {
      const std::vector<std::string> arguments(argv + 2, argv + argc);
      return command == "init" ? runInit(arguments, out) : runConvert(arguments, out);
    }
  }
  const bool parsed = options.parse(argc, argv);
  if (options.help && !options.usageError) {
    BatchOptions shown;  // the usage text without an error line
    shown.printUsage(out);
    return kBatchRanGeneration;
  }
  if (options.version && !options.usageError) {
    out << bannerText() << '\n';
    return kBatchRanGeneration;
  }
  if (options.batch) return runBatch(options, parsed, out, &out == &std::cout && wantsLiveProgress());
  return std::nullopt;
}

}  // namespace quillet
