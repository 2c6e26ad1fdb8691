// A compiler for tests, installed as the process runner while it lives: it answers "-dM" with `macros`,
// "-v" with a search list of `folders` and the probe text with `probes`, and records how it was run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/process_runner.h"

namespace quillet {

class FakeCompiler : public ProcessRunner {
 public:
  FakeCompiler() { previous_ = installProcessRunner(this); }
  ~FakeCompiler() override { installProcessRunner(previous_); }

  ProcessResult run(const std::vector<std::string>& arguments, std::string_view, int) override {
    calls.push_back(arguments);
    ProcessResult result;
    result.started = true;
    result.exitStatus = status;
    if (arguments.size() > 1 && arguments[1] == "-dM") {
      result.output = macros;
      return result;
    }
    result.errors = "#include \"...\" search starts here:\n#include <...> search starts here:\n";
    for (const std::string& folder : folders) result.errors += " " + folder + "\n";
    result.errors += "End of search list.\n";
    result.output = probes;
    return result;
  }

  std::string macros;
  std::vector<std::string> folders;
  std::string probes;
  int status = 0;
  std::vector<std::vector<std::string>> calls;

 private:
  ProcessRunner* previous_;
};

}  // namespace quillet
