// Fuzzes the declaration recognizer behind the preprocessor. The input is split at its first zero byte
// into a module and a header "h.h" next to it, which the module may include; its first byte chooses
// options. The module is preprocessed and recognized with callbacks that keep nothing, then once more
// with the recording callbacks and the header replayed, so that both the states and the texts they build
// are exercised. Any crash, hang, leak or sanitizer report is a finding; messages are dropped.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/configuration.h"
#include "frontend/preprocessor/header_cache.h"
#include "frontend/preprocessor/preprocessor.h"
#include "frontend/recognizer/null_lexer.h"
#include "support/recording_lexer.h"

#include "fuzz_files.h"

using namespace quillet;
using namespace quillet::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t zero = rest.find('\0');
  const std::string_view module = rest.substr(0, zero);
  const std::string_view header = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);

  Configuration configuration;
  configuration.setMacroComments((options & 1) != 0);
  configuration.setCommentsAfterPrototype((options & 2) != 0);
  configuration.setVerbose((options & 4) != 0);
  SilentOutput output;
  setCurrentConfiguration(&configuration);
  setCurrentMessageOutput(&output);

  const std::string& folder = scratchFolder();
  writeFile(folder + "m.cpp", module);
  writeFile(folder + "h.h", header);
  HeaderCache cache;
  {
    Preprocessor preprocessor(folder + "m.cpp", {folder}, {"D=1"}, cache);
    preprocessor.setLimits(fuzzLimits());
    NullLexer lexer;
    lexer.Parse(preprocessor);
    cache.add(preprocessor.takeModuleRecords());
  }
  {
    writeFile(folder + "second.cpp", "#include \"h.h\"\n" + std::string(module));
    Preprocessor preprocessor(folder + "second.cpp", {folder}, {}, cache);
    preprocessor.setLimits(fuzzLimits());
    RecordingLexer lexer;
    lexer.Parse(preprocessor);
  }
  setCurrentConfiguration(nullptr);
  setCurrentMessageOutput(nullptr);
  return 0;
}
