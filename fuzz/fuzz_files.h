// What the front-end fuzz targets share: a message sink that drops everything, a scratch folder for the
// files one input is split into, and preprocessor bounds small enough for a fuzzer.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "common/message_output.h"
#include "frontend/preprocessor/preprocessor.h"

namespace quillet::fuzzing {

class SilentOutput : public MessageOutput {
 public:
  void status(std::string_view) override {}
  void report(std::string_view) override {}
};

// A folder of this process for the files of one input, in memory where the machine offers it (writing
// several files per input to a disk would dominate the run); removed when the process ends.
inline const std::string& scratchFolder() {
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
inline PreprocessorLimits fuzzLimits() {
  PreprocessorLimits limits;
  limits.includeDepth = 12;
  limits.filesPerModule = 48;
  limits.lineTokens = 20000;
  limits.expansion.invocationTokens = 20000;
  limits.expansion.invocationBytes = 1 << 20;
  limits.expansion.moduleTokens = 200000;
  limits.expansion.nesting = 24;
  return limits;
}

inline void writeFile(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace quillet::fuzzing
