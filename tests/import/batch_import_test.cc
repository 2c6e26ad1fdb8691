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

class BatchImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.write("src/Widget.h", "/// A widget.\nclass Widget {\n public:\n  int size;\n};\n");
    tree.write("src/widget.cpp", "#include \"widget.h\"\n\nint grow(Widget& w) { return ++w.size; }\n");
  }
  std::string project(const std::string& name) {
    return tree.write(name,
                      "# Microsoft Developer Studio Project File - Name=\"Widgets\"\r\n"
                      "# PROP BASE Use_MFC 0\r\n"
                      "# ADD CPP /nologo /I \".\\src\" /D \"WIDGETS\" /c\r\n"
                      "SOURCE=.\\SRC\\Widget.cpp\r\nSOURCE=.\\src\\Widget.h\r\n");
  }

  TempTree tree;
};

TEST_F(BatchImportTest, ProjectAloneIsImportedIntoDefaultConfigurationAndDocumented) {
  int status = -1;
  const std::string out =
      runWith({"-C", "-V", "-nocopyright", "-prj", project("widgets.dsp"), "-o", tree.path("out")}, &status);
  EXPECT_EQ(status, kBatchRanGeneration);
  EXPECT_NE(out.find(" Parsing file: " + tree.root() + "src/widget.cpp\n"), std::string::npos) << out;
  EXPECT_NE(out.find(" Building Document\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("error"), std::string::npos) << out;
}

TEST_F(BatchImportTest, ExtensionIsComparedWithoutCase) {
  const std::string file = project("WIDGETS.DSP");
  const std::string out = runWith({"-C", "-V", "-prj", file, "-o", tree.path("out")});
  EXPECT_EQ(out.find("error"), std::string::npos) << out;
  EXPECT_NE(out.find("src/widget.cpp"), std::string::npos) << out;
}

TEST_F(BatchImportTest, InvalidProjectFilesGetTheirLineAndTheRunGoesOn) {
  const std::string dsp = tree.write("a.dsp", "Some other file\r\n");
  const std::string dsw = tree.write("b.DSW", "# Microsoft Developer Studio Project File\r\n");
  const std::string other = tree.write("c.mak", "# Microsoft Developer Studio Project File\r\n");
  EXPECT_NE(runWith({"-C", "-prj", dsp})
                .find("error: " + dsp + " is not a valid Microsoft Developer Studio Project (DSP) File\n"),
            std::string::npos);
  EXPECT_NE(runWith({"-C", "-prj", dsw})
                .find("error: " + dsw + " is not a valid Microsoft Developer Studio Workspace (DSW) File\n"),
            std::string::npos);
  const std::string out = runWith({"-C", "-prj", other});
  EXPECT_NE(out.find("error: " + other + " is not a valid Microsoft Developer Studio file extension\n"),
            std::string::npos);
  EXPECT_NE(out.find("At least one arrange entry"), std::string::npos);  // the run still happened
}

}  // namespace
}  // namespace quillet
