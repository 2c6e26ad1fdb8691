// Fuzzes the project imports: Developer Studio projects (.dsp) and workspaces (.dsw), compilation databases
// (compile_commands.json) and Doxyfiles. The input's first byte chooses the reader; the rest is split at
// its first zero byte into the file read and a second file it may name: the project of a workspace
// ("p.dsp"), or the file a Doxyfile includes ("more.cfg"). A small source tree lies beside them, so that
// the readers find sources and headers. Everything runs in an in-memory file system. Any crash, hang, leak
// or sanitizer report is a finding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/memory_file_system.h"
#include "common/message_output.h"
#include "config/configuration.h"
#include "import/compile_commands.h"
#include "import/dev_studio_import.h"
#include "import/doxyfile.h"
#include "import/project_description.h"

namespace {

using namespace quillet;

class SilentOutput : public MessageOutput {
 public:
  void status(std::string_view) override {}
  void report(std::string_view) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t choice = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t zero = rest.find('\0');
  const std::string_view first = rest.substr(0, zero);
  const std::string_view second = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);

  MemoryFileSystem files;
  ScopedFileSystem installed(files);
  files.addFile("/p/src/a.cpp", "#include \"a.h\"\n#include <sys/b.h>\nint a;\n");
  files.addFile("/p/src/A.h", "#include \"../inc/c.h\"\nint h;\n");
  files.addFile("/p/inc/c.h", "#include \"c.h\"\n");
  files.addFile("/p/sys/b.h", "");
  SilentOutput output;
  setCurrentMessageOutput(&output);
  Configuration configuration;
  switch (choice % 4) {
    case 0:
      files.addFile("/p/app.dsp", first);
      importProject(configuration, "/p/app.dsp");
      importProject(configuration, "/p/APP.DSP");  // again, found case-blind: adds nothing
      break;
    case 1:
      files.addFile("/p/all.dsw", first);
      files.addFile("/p/p.dsp", second);
      importWorkspace(configuration, "/p/all.dsw");
      break;
    case 2: {
      files.addFile("/p/compile_commands.json", first);
      ProjectDescription project;
      std::string error;
      readCompileCommands("/p/compile_commands.json", (choice & 4) ? "/p" : "", project, error);
      break;
    }
    default: {
      files.addFile("/p/Doxyfile", first);
      files.addFile("/p/more.cfg", second);
      ProjectDescription project;
      DoxyfileMigration migration;
      std::string error;
      migrateDoxyfile("/p/Doxyfile", project, migration, error);
      break;
    }
  }
  (void)configuration.saveToText();
  setCurrentMessageOutput(nullptr);
  return 0;
}
