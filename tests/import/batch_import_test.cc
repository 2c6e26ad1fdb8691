#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/batch_options.h"
#include "app/batch_run.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

// Runs the batch face with `arguments` after the program name and returns what it wrote.
std::string runWith(std::vector<std::string> arguments, int* status = nullptr) {
  arguments.insert(arguments.begin(), "quillet");
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  BatchOptions options;
  const bool parsed = options.parse(static_cast<int>(argv.size()), argv.data());
  std::ostringstream out;
  const int result = runBatch(options, parsed, out);
  if (status) *status = result;
  return out.str();
}

TEST(BatchImportTest, ProjectAloneIsImportedIntoDefaultConfigurationAndDocumented) {
  TempTree tree;
  tree.write("src/Widget.h", "/// A widget.\nclass Widget {\n public:\n  int size;\n};\n");
  tree.write("src/widget.cpp", "#include \"widget.h\"\n\nint grow(Widget& w) { return ++w.size; }\n");
  // The extension in capitals selects the project import as well.
  const std::string project = tree.write("WIDGETS.DSP",
                                         "# Microsoft Developer Studio Project File - Name=\"Widgets\"\r\n"
                                         "SOURCE=.\\SRC\\Widget.cpp\r\nSOURCE=.\\src\\Widget.h\r\n");
  int status = -1;
  const std::string out = runWith({"-C", "-V", "-prj", project, "-o", tree.path("out")}, &status);
  EXPECT_EQ(status, kBatchRanGeneration);
  EXPECT_NE(out.find(" Parsing file: " + tree.root() + "src/widget.cpp\n"), std::string::npos) << out;
  EXPECT_NE(out.find(" Building Document\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("not a valid Microsoft Developer Studio"), std::string::npos) << out;
  EXPECT_EQ(out.find("cannot find file"), std::string::npos) << out;
}

TEST(BatchImportTest, InvalidProjectFilesGetTheirLineAndTheRunGoesOn) {
  TempTree tree;
  const std::string dsp = tree.write("a.dsp", "Some other file\r\n");
  EXPECT_NE(runWith({"-C", "-prj", dsp})
                .find("error: " + dsp + " is not a valid Microsoft Developer Studio Project (DSP) File\n"),
            std::string::npos);
  // The workspace is found whatever the case of its name, and named as typed.
  tree.write("b.DSW", "# Microsoft Developer Studio Project File\r\n");
  const std::string dsw = tree.root() + "B.dsw";
  const std::string out = runWith({"-C", "-prj", dsw});
  EXPECT_NE(out.find("error: " + dsw + " is not a valid Microsoft Developer Studio Workspace (DSW) File\n"),
            std::string::npos);
  EXPECT_NE(out.find("At least one arrange entry"), std::string::npos);  // the run still happened
}

}  // namespace
}  // namespace quillet
