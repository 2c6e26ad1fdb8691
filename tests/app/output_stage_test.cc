#include "app/output_stage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <ostream>

#include "common/file_contents.h"
#include "config/configuration.h"
#include "stylesheet/style_sheet_cache.h"
#include "support/memory_tree.h"
#include "support/recording_output.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/style_sheet_filter.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {
namespace {

// A document with one named list of named objects, enough for a style sheet to anchor and link.
class FakeNode final : public StyleSheetObject {
 public:
  FakeNode(std::string_view type, std::string name) : type_(type), name_(std::move(name)) {}
  bool WriteProperty(const EvaluationContext& context, std::string_view property,
                     std::ostream& out) override {
    if (property != "name") return false;
    context.filter->write(out, name_);
    return true;
  }
  std::string_view TypeName() const override { return type_; }
  std::string FullName() const override { return name_; }
  std::string AnchorName() const override { return "a_" + name_; }
  size_t Count() const override { return children.size(); }
  StyleSheetObject* At(size_t index) override { return index < children.size() ? children[index] : nullptr; }
  StyleSheetObject* GetList(std::string_view name) override { return name == "class_list" ? list : nullptr; }

  std::vector<StyleSheetObject*> children;
  StyleSheetObject* list = nullptr;

 private:
  std::string_view type_;
  std::string name_;
};

// Publishes a configuration and a recording output over an in-memory file system whose style folder is the
// test tree.
class OutputStageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.setEnvironment("QUILLET_STYLES", tree.root());
    setCurrentConfiguration(&configuration);
    setCurrentMessageOutput(&output);
  }
  void TearDown() override {
    setCurrentMessageOutput(nullptr);
    setCurrentConfiguration(nullptr);
  }

  MemoryTree tree;
  MemoryFileSystem& files = tree.files;
  Configuration configuration;
  RecordingOutput output;
};

TEST_F(OutputStageTest, MainFileTakesTheFormatsExtension) {
  configuration.setHtmlOutputFile("doc/index");
  EXPECT_EQ(mainOutputFile("doc/index", kHtmlFormat), "doc/index.html");
  configuration.setHtmlOutputFile("doc/index.htm");
  EXPECT_EQ(mainOutputFile("doc/index.htm", kHtmlFormat), "doc/index.htm");
  configuration.setShortFileNames(true);
  configuration.setHtmlOutputFile("index");
  EXPECT_EQ(mainOutputFile("index", kHtmlFormat), "index.htm");
  EXPECT_EQ(mainOutputFile("manual.doc", kRtfFormat), "manual.rtf");
  EXPECT_EQ(mainOutputFile("help/api", kWinHelpFormat), "help/api.rtf");
  EXPECT_EQ(mainOutputFile("out.d/api", kRtfFormat), "out.d/api.rtf");
  EXPECT_EQ(mainOutputFile("my.docs\\manual.doc", kRtfFormat), "my.docs\\manual.rtf");
}

TEST_F(OutputStageTest, WritesBothPassesAndTheIndexFile) {
  tree.write("HTML/Standard Style/main.html",
             "<h1>name_</h1>$$(for_each (class_list) start L)<a name=\"anchor_\">name_</a> see link_to_\n"
             "$$(next L)");
  FakeNode document("chapter", "Doc");
  FakeNode list("class_list", "");
  FakeNode widget("class", "Widget"), gadget("class", "Gadget");
  list.children = {&widget, &gadget};
  document.list = &list;
  configuration.setVerbose(true);
  configuration.setHtmlOutputFile(tree.root() + "out/site/index.html");

  writeOutput(document, kHtmlFormat);

  const std::string main_file = tree.root() + "out/site/index.html";
  EXPECT_TRUE(output.has("Building index for " + main_file));
  EXPECT_TRUE(output.has("Writing " + main_file));
  std::string page;
  ASSERT_TRUE(readFileContents(main_file, page));
  EXPECT_NE(page.find("<h1>Doc</h1>"), std::string::npos);
  EXPECT_NE(page.find("<a name=\"a_Widget\">Widget</a>"), std::string::npos);
  EXPECT_NE(page.find("index.html#a_Gadget"), std::string::npos);
  std::string index;
  ASSERT_TRUE(readFileContents(tree.root() + "out/site/index.idx", index));
  EXPECT_EQ(index, "\"Gadget\",\"index.html#a_Gadget\"\n\"Widget\",\"index.html#a_Widget\"\n");
}

TEST_F(OutputStageTest, MainFileProblemsEndTheFormat) {
  FakeNode document("chapter", "Doc");
  tree.write("RTF/Standard Style/main.rtf", "{\\rtf1 name_}");
  tree.write("blocked", "a file where a folder should be");
  configuration.setRtfOutputFile(tree.root() + "blocked/manual.rtf");
  writeOutput(document, kRtfFormat);
  EXPECT_EQ(output.lines, std::vector<std::string>{"error: cannot open output file " + tree.root() +
                                                   "blocked/manual.rtf: No such file or directory"});

  // A full disk: the page is not written, the run is told, and the page written before stays whole.
  output.lines.clear();
  configuration.setRtfOutputFile(tree.root() + "manual.rtf");
  writeOutput(document, kRtfFormat);
  tree.write("RTF/Standard Style/main.rtf", "{\\rtf1 name_ and a good deal more text than before}");
  files.setCapacity(files.usedBytes() + 5);
  clearStyleSheetCache();
  writeOutput(document, kRtfFormat);
  EXPECT_EQ(output.lines, (std::vector<std::string>{
                              "error: cannot write " + tree.root() + "manual.rtf: No space left on device",
                              "error: the RTF output was not written; the files of the previous run are "
                              "left as they were."}));
  EXPECT_EQ(files.file(tree.root() + "manual.rtf"), "{\\rtf1 Doc}");
  files.setCapacity(UINT64_MAX);

  // Short names refuse a long HTML main file only.
  output.lines.clear();
  configuration.setShortFileNames(true);
  configuration.setHtmlOutputFile(tree.root() + "documentation.htm");
  writeOutput(document, kHtmlFormat);
  EXPECT_EQ(output.lines, std::vector<std::string>{"error: output filename  " + tree.root() +
                                                   "documentation.htm is longer that 8 characters.  Cannot "
                                                   "create a 8.3 conforming documentation set."});
}

TEST_F(OutputStageTest, WinHelpRunsTheHelpCompilerOrSaysWhereItIsMissing) {
  tree.write("WinHelp/Standard Style/main.rtf", "{\\rtf1 name_}");
  configuration.setWinHelpOutputFile(tree.root() + "help/api.rtf");
  EXPECT_EQ(helpCompilerCommand(tree.root() + "help/api.rtf"), "hcrtf  /x \"api.hpj\"");
  FakeNode document("chapter", "Doc");
  // Without the compiler on the PATH, the help project is what the step delivers: a note, not an error.
  files.setEnvironment("PATH", tree.root() + "bin:/nonexistent");
  writeOutput(document, kWinHelpFormat);
  std::string rtf;
  EXPECT_TRUE(readFileContents(tree.root() + "help/api.rtf", rtf));
  EXPECT_EQ(output.lines,
            std::vector<std::string>{"note: the WinHelp project " + tree.root() +
                                     "help/api.hpj was written; the Windows Help Compiler is not "
                                     "on the PATH here, so compile it on Windows with hcrtf  /x "
                                     "\"api.hpj\" in that folder."});
  // A compiler on the PATH that cannot be started is an error.
  output.lines.clear();
  tree.write("bin/hcrtf.exe", "not a program");
  files.setEnvironment("PATH", tree.root() + "bin");
  clearStyleSheetCache();
  writeOutput(document, kWinHelpFormat);
  EXPECT_TRUE(
      output.has("error: Unable to run the command \"hcrtf  /x \"api.hpj\"\". hcrtf.exe (Windows Help "
                 "Compiler) must be installed, and on the path."));
}

TEST_F(OutputStageTest, UndocumentedHeadersAreReportedInOrder) {
  const std::vector<std::string> files = {"src/util.h", "src/main.cpp", "src/x.cc", "src/util.hpp",
                                          "src/skip.h", "src/shape.h",  "src/OLD.C"};
  reportUndocumentedFiles(files, {"src/skip.h"}, {"src/shape.h"});
  EXPECT_EQ(output.lines, (std::vector<std::string>{"The file src/util.h was not documented.",
                                                    "The file src/util.hpp was not documented."}));
}

}  // namespace
}  // namespace quillet
