#include "frontend/preprocessor/module_parse.h"

#include "common/message_output.h"

namespace quillet {

std::vector<HeaderRecordPtr> parseModule(const std::string& module_file, const FrontEndOptions& options,
                                         HeaderCache& header_cache, const ModuleReader& read) {
  Preprocessor preprocessor(module_file, options, header_cache);
  if (read) {
    read(preprocessor);
  } else {
    constexpr unsigned kCancelCheck = 4096;  // tokens between two questions to the message output
    for (unsigned n = 1; preprocessor.nextToken().kind != T_EOF; ++n)
      if (n % kCancelCheck == 0 && runCanceled()) break;
  }
  return preprocessor.takeModuleRecords();
}

}  // namespace quillet
