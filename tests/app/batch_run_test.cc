#include "app/batch_run.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/batch_options.h"
#include "config/configuration.h"

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

TEST(BatchRunTest, BannerUsageAndConfigurationFailures) {
  int status = -1;
  std::string text = runWith({"-C"}, &status);
  EXPECT_EQ(status, kBatchUsageShown);
  EXPECT_EQ(text.find(bannerText()), 0u);
  EXPECT_NE(text.find("Quillet"), std::string::npos);
  EXPECT_NE(text.find("2.1h"), std::string::npos);
  EXPECT_NE(text.find("-qlc     Use this configuration file.\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("error: missing required command line argument -qlc\n"));

  text = runWith({"-C", "-nocopyright"}, &status);
  EXPECT_EQ(text.find("Quillet 2.1h"), std::string::npos);
  EXPECT_EQ(text.front(), '\n');

  text = runWith({"-C", "-qlc", "/nonexistent/x.qlc"}, &status);
  EXPECT_EQ(status, kBatchConfigurationFailed);
  EXPECT_NE(text.find("Error reading file /nonexistent/x.qlc.\n"), std::string::npos);
}

}  // namespace
}  // namespace quillet
