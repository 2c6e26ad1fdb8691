// Fuzzes the source scanner, the expressions and the preprocessor. The input is split at its first two
// zero bytes into a module, a header "h.h" next to it, and an expression text; its first byte chooses
// options. The module is preprocessed, then a second module that includes both files is preprocessed
// against the first one's header records, so that replay is exercised too. Any crash, hang, leak or
// sanitizer report is a finding; messages are dropped.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/expression.h"
#include "config/configuration.h"
#include "frontend/preprocessor/header_cache.h"
#include "frontend/preprocessor/preprocessor.h"
#include "frontend/preprocessor/raw_scanner.h"

#include "fuzz_files.h"

namespace {

using namespace quillet;
using namespace quillet::fuzzing;

std::string_view nextPart(std::string_view& rest) {
  size_t zero = rest.find('\0');
  std::string_view part = rest.substr(0, zero);
  rest = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);
  return part;
}

// Reads a module to its end, stepping back and peeking now and then as the lexer does.
void drain(Preprocessor& preprocessor) {
  for (unsigned n = 0; preprocessor.nextToken().kind != T_EOF; ++n) {
    if (n % 7 == 3) {
      preprocessor.backUp();
      preprocessor.backUp();
      preprocessor.nextToken();
    }
    if (n % 5 == 1) preprocessor.peek();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string_view module = nextPart(rest);
  std::string_view header = nextPart(rest);
  std::string_view expression = nextPart(rest);

  Configuration configuration;
  configuration.setMacroComments((options & 1) != 0);
  configuration.setReparseHeaders((options & 2) != 0);
  configuration.setTabSize((options >> 2) & 7);
  SilentOutput output;
  setCurrentConfiguration(&configuration);
  setCurrentMessageOutput(&output);

  C_Like_Expression(std::string(expression)).Evaluate();

  RawScanner scanner{std::string(module)};
  token_t token;
  do scanner.nextToken(token);
  while (token.kind != T_EOF);

  const std::string& folder = scratchFolder();
  writeFile(folder + "m.cpp", module);
  writeFile(folder + "h.h", header);
  writeFile(folder + "second.cpp", "#include \"h.h\"\n#include <m.cpp>\nend\n");
  HeaderCache cache;
  {
    Preprocessor first(folder + "m.cpp", {folder, "./sub"}, {"D=1", "E", "F=(x"}, cache);
    first.setLimits(fuzzLimits());
    drain(first);
    cache.add(first.takeModuleRecords());
  }
  {
    Preprocessor second(folder + "second.cpp", {folder}, {}, cache);
    second.setLimits(fuzzLimits());
    drain(second);
  }
  setCurrentConfiguration(nullptr);
  setCurrentMessageOutput(nullptr);
  return 0;
}
