#include "app/batch_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/batch_options.h"
#include "app/command_line.h"
#include "config/configuration.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

// Command line options applied to a configuration; apply() returns what the overrides wrote.
class OverridesTest : public ::testing::Test {
 protected:
  std::string apply() {
    std::ostringstream out;
    applyOverrides(options, configuration, out);
    return out.str();
  }

  BatchOptions options;
  Configuration configuration;
};

TEST_F(OverridesTest, SwitchesComeBeforeTheConfigurationsOwnSettings) {
  options.includes = ";a;b";
  options.defines = ",X,Y=2";
  options.debug = true;
  options.ignoreIncludeEnv = true;
  configuration.setIncludePath("c:\\inc");
  configuration.setDefines("Z");
  EXPECT_EQ(apply(), "");
  EXPECT_EQ(configuration.includePath(), ";a;b;c:\\inc");
  EXPECT_EQ(configuration.defines(), ",X,Y=2, Z");
  EXPECT_FALSE(configuration.useIncludeEnvironment());
  // -debug implies verbose output, the undocumented report and the token trace.
  EXPECT_TRUE(configuration.traceTokens());
  EXPECT_TRUE(configuration.verbose());
  EXPECT_TRUE(configuration.reportUndocumented());

  options = BatchOptions();
  configuration = Configuration();
  configuration.setTraceTokens(true);
  apply();
  EXPECT_FALSE(configuration.traceTokens());  // the trace follows -debug exactly
  EXPECT_FALSE(configuration.verbose());
}

TEST_F(OverridesTest, OutputDirectoryReplacesFolderOfEachNamedOutput) {
  options.outputDir = "c:\\out";
  configuration.setHtmlOutputFile("doc\\index.html");
  configuration.setRtfOutputFile("");
  configuration.setWinHelpOutputFile("help/api.rtf");
  apply();
  EXPECT_EQ(configuration.htmlOutputFile(), "c:\\out/index.html");
  EXPECT_EQ(configuration.rtfOutputFile(), "");
  EXPECT_EQ(configuration.winHelpOutputFile(), "c:\\out/api.rtf");

  options.outputDir = "out/";
  options.noHtml = true;
  configuration.setRtfOutputFile("manual.rtf");
  apply();
  EXPECT_EQ(configuration.htmlOutputFile(), "");
  EXPECT_EQ(configuration.rtfOutputFile(), "out/manual.rtf");
}

TEST_F(OverridesTest, UnopenableProjectFileIsReported) {
  options.projectFile = "/nonexistent/dir/project.dsp";
  EXPECT_EQ(apply(), "error: cannot open project /nonexistent/dir/project.dsp\n");
}

// Runs the batch face with `arguments` after the program name and returns what it wrote.
std::string runWith(std::vector<const char*> arguments, int* status) {
  arguments.insert(arguments.begin(), "quillet");
  BatchOptions options;
  const bool parsed = options.parse(static_cast<int>(arguments.size()), arguments.data());
  std::ostringstream out;
  *status = runBatch(options, parsed, out);
  return out.str();
}

// Makes `folder` the current folder for the object's life.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~InFolder() { std::filesystem::current_path(old_); }

 private:
  std::filesystem::path old_;
};

TEST(BatchRunTest, BannerUsageAndConfigurationFailures) {
  TempTree empty;
  InFolder here(empty.root());
  int status = -1;
  std::string text = runWith({"-C"}, &status);
  EXPECT_EQ(status, kBatchUsageShown);
  EXPECT_EQ(text.find(bannerText()), 0u);
  EXPECT_NE(text.find("Quillet"), std::string::npos);
  EXPECT_NE(text.find("2.1h"), std::string::npos);
  EXPECT_NE(text.find("  -qlc, --config FILE "), std::string::npos);
  EXPECT_TRUE(
      text.ends_with("error: no configuration given, and the current folder has no quillet.toml or .qlc "
                     "file; `quillet init` writes one.\n"))
      << text;

  text = runWith({"-C", "-nocopyright"}, &status);
  EXPECT_EQ(text.find("Quillet 2.1h"), std::string::npos);
  EXPECT_EQ(text.front(), '\n');

  text = runWith({"-C", "-qlc", "/nonexistent/x.qlc"}, &status);
  EXPECT_EQ(status, kBatchConfigurationFailed);
  EXPECT_NE(text.find("cannot open /nonexistent/x.qlc: No such file or directory\n(`quillet init` writes"),
            std::string::npos)
      << text;

  empty.write("broken.qlc", "4\r\n");
  text = runWith({"-C", "broken.qlc"}, &status);
  EXPECT_EQ(status, kBatchConfigurationFailed);
  EXPECT_NE(text.find("Error reading file broken.qlc, file is for a newer version of Quillet."),
            std::string::npos);
}

// A run over a small project from a readable configuration found in the current folder.
TEST(BatchRunTest, TomlConfigurationFoundInTheFolderSummaryAndFailOnWarning) {
  TempTree tree;
  tree.write("shape.h", "/// A shape.\nclass Shape {\n public:\n  int sides;\n};\n");
  tree.write("quillet.toml",
             "[[sources.files]]\npath = 'shape.h'\n[output]\nhtml_output_file = 'docs/index.html'\n"
             "[[arrangement.children]]\nname = 'Shapes'\n[[arrangement.children.children]]\n"
             "kind = 'classes_by_name'\nname = 'Shape'\n");
  InFolder here(tree.root());
  int status = -1;
  std::string text = runWith({"--batch", "--fail-on-warning"}, &status);
  EXPECT_EQ(status, kBatchRanGeneration) << text;
  EXPECT_TRUE(std::filesystem::exists(tree.path("docs/index.html")));
  EXPECT_NE(text.find("\nDone: "), std::string::npos) << text;
  EXPECT_NE(text.find(" to docs/; 0 warnings, 0 errors; "), std::string::npos) << text;

  // An unknown key is a warning; with --fail-on-warning any warning or error fails the run.
  tree.write("quillet.toml",
             "[output]\nhtml_output_file = 'docs/index.html'\ncolour = 'red'\n"
             "[[arrangement.children]]\nkind = 'classes_by_name'\nname = 'Missing'\n");
  text = runWith({"-C", "quillet.toml", "--fail-on-warning"}, &status);
  EXPECT_EQ(status, kBatchWarnings) << text;
  EXPECT_NE(text.find("warning: quillet.toml:3: unknown key output.colour (ignored)\n"), std::string::npos);
  EXPECT_NE(text.find("; 1 warning, 1 error; "), std::string::npos) << text;
  text = runWith({"-C", "quillet.toml"}, &status);
  EXPECT_EQ(status, kBatchRanGeneration);

  // A configuration that does not load runs nothing, so the output already there stays as it is.
  const auto written = std::filesystem::last_write_time(tree.path("docs/index.html"));
  tree.write("quillet.toml", "[output]\nhtml_output_file = 'docs/index.html'\nshort_file_names = 3\n");
  text = runWith({"-C"}, &status);
  EXPECT_EQ(status, kBatchConfigurationFailed);
  EXPECT_NE(text.find("quillet.toml:3: output.short_file_names: expected true or false\n"),
            std::string::npos);
  EXPECT_EQ(std::filesystem::last_write_time(tree.path("docs/index.html")), written);
}

// What the program does before the editor would open: help, the version, the set-up commands, the batch run.
TEST(CommandLineTest, HelpVersionAndCommandsNeedNoEditor) {
  struct Case {
    std::vector<const char*> args;
    std::optional<int> status;
    std::string start;  // of what is written
  };
  const std::vector<Case> cases = {
      {{"--help"}, kBatchRanGeneration, "\nUsage: quillet [switches]"},
      {{"-?"}, kBatchRanGeneration, "\nUsage: quillet [switches]"},
      {{"--version"}, kBatchRanGeneration, "Quillet 2.1h"},
      {{"convert", "only-one"}, kBatchUsageShown, "usage: quillet convert IN OUT"},
      {{"init", "--bogus"}, kBatchUsageShown, "error: unknown option --bogus"},
      {{"/home/me/proj/docs.qlc"}, std::nullopt, ""},  // the editor opens the file
      {{}, std::nullopt, ""},
  };
  for (const Case& c : cases) {
    std::vector<const char*> argv = c.args;
    argv.insert(argv.begin(), "quillet");
    BatchOptions options;
    std::ostringstream out;
    EXPECT_EQ(runCommandLine(static_cast<int>(argv.size()), argv.data(), options, out), c.status)
        << argv.back();
    EXPECT_TRUE(out.str().starts_with(c.start)) << out.str();
  }
  BatchOptions options;
  const char* argv[] = {"quillet", "/home/me/proj/docs.qlc"};
  std::ostringstream out;
  runCommandLine(2, argv, options, out);
  EXPECT_EQ(options.configFile, "/home/me/proj/docs.qlc");
}

}  // namespace
}  // namespace quillet
