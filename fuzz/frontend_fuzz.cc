// Fuzzes the source scanner, the expressions and the preprocessor. The input is split at its first two
// zero bytes into a module, a header "h.h" next to it, and an expression text; its first byte chooses
// options. The module is preprocessed, then a second module that includes both files is preprocessed
// against the first one's header records, so that replay is exercised too. Any crash, hang, leak or
// sanitizer report is a finding; messages are dropped.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "common/message_output.h"
#include "config/configuration.h"
#include "frontend/expression.h"
#include "frontend/header_cache.h"
#include "frontend/preprocessor.h"
#include "frontend/raw_scanner.h"

namespace {

using namespace quillet;

class SilentOutput : public MessageOutput {
 public:
  void status(std::string_view) override {}
  void report(std::string_view) override {}
};

// A folder of this process for the files of one input, in memory where the machine offers it (writing
// three files per input to a disk would dominate the run); removed when the process ends.
const std::string& scratchFolder() {
  // Kept for the whole process (never destroyed), so that the exit handler can still remove it.
  static const std::string* const folder = [] {
    std::error_code error;
    std::string base = std::filesystem::is_directory("/dev/shm", error)
                           ? std::string("/dev/shm")
                           : std::filesystem::temp_directory_path().string();
    auto* path = new std::string(base + "/quillet_fuzz_" + std::to_string(getpid()) + "/");
    std::filesystem::create_directories(*path);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(scratchFolder(), ignored);
    });
    return path;
  }();
  return *folder;
}

// Bounds small enough that a self-including header or a doubling macro costs milliseconds, not seconds,
// while every bound is still reached and crossed.
quillet::PreprocessorLimits fuzzLimits() {
  quillet::PreprocessorLimits limits;
  limits.includeDepth = 12;
  limits.filesPerModule = 48;
  limits.lineTokens = 20000;
  limits.expansion.invocationTokens = 20000;
  limits.expansion.invocationBytes = 1 << 20;
  limits.expansion.moduleTokens = 200000;
  limits.expansion.nesting = 24;
  return limits;
}

void writeFile(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

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
