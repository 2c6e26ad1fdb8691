#include "app/batch_run.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/batch_options.h"
#include "config/configuration.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

TEST(BatchRunTest, IncludeAndDefineOverridesComeFirst) {
  BatchOptions options;
  options.includes = ";a;b";
  options.defines = ",X,Y=2";
  Configuration configuration;
  configuration.setIncludePath("c:\\inc");
  configuration.setDefines("Z");
  std::ostringstream out;
  applyOverrides(options, configuration, out);
  EXPECT_EQ(configuration.includePath(), ";a;b;c:\\inc");
  EXPECT_EQ(configuration.defines(), ",X,Y=2, Z");
  EXPECT_TRUE(out.str().empty());
}

TEST(BatchRunTest, DebugImpliesVerboseAndTrace) {
  BatchOptions options;
  options.debug = true;
  Configuration configuration;
  std::ostringstream out;
  applyOverrides(options, configuration, out);
  EXPECT_TRUE(configuration.traceTokens());
  EXPECT_TRUE(configuration.verbose());
  EXPECT_TRUE(configuration.reportUndocumented());

  BatchOptions quiet;
  Configuration other;
  other.setTraceTokens(true);
  applyOverrides(quiet, other, out);
  EXPECT_FALSE(other.traceTokens());  // the trace follows -debug exactly
  EXPECT_FALSE(other.verbose());
}

TEST(BatchRunTest, IgnoreIncludeEnvironmentClearsOption) {
  BatchOptions options;
  options.ignoreIncludeEnv = true;
  Configuration configuration;
  std::ostringstream out;
  applyOverrides(options, configuration, out);
  EXPECT_FALSE(configuration.useIncludeEnvironment());
}

TEST(BatchRunTest, OutputDirectoryReplacesFolderOfEachNamedOutput) {
  BatchOptions options;
  options.outputDir = "c:\\out";
  Configuration configuration;
  configuration.setHtmlOutputFile("doc\\index.html");
  configuration.setRtfOutputFile("");
  configuration.setWinHelpOutputFile("help/api.rtf");
  std::ostringstream out;
  applyOverrides(options, configuration, out);
  EXPECT_EQ(configuration.htmlOutputFile(), "c:\\out/index.html");
  EXPECT_EQ(configuration.rtfOutputFile(), "");
  EXPECT_EQ(configuration.winHelpOutputFile(), "c:\\out/api.rtf");

  BatchOptions trailing;
  trailing.outputDir = "out/";
  trailing.noHtml = true;
  Configuration second;
  second.setHtmlOutputFile("index.html");
  second.setRtfOutputFile("manual.rtf");
  applyOverrides(trailing, second, out);
  EXPECT_EQ(second.htmlOutputFile(), "");
  EXPECT_EQ(second.rtfOutputFile(), "out/manual.rtf");
}

TEST(BatchRunTest, ProjectFileProblemsAreReportedAndRunGoesOn) {
  BatchOptions options;
  options.projectFile = "/nonexistent/dir/project.dsp";
  Configuration configuration;
  std::ostringstream out;
  applyOverrides(options, configuration, out);
  EXPECT_EQ(out.str(), "error: cannot open project /nonexistent/dir/project.dsp\n");
}

TEST(BatchRunTest, ProjectFileIsFoundCaseBlind) {
  TempTree tree;
  tree.write("App.dsw", "not a workspace\n");
  BatchOptions options;
  options.projectFile = tree.root() + "APP.DSW";
  Configuration configuration;
  std::ostringstream out;
  applyOverrides(options, configuration, out);
  EXPECT_EQ(out.str(), "error: " + options.projectFile +
                           " is not a valid Microsoft Developer Studio Workspace (DSW) File\n");
}

TEST(BatchRunTest, UsageAndBannerWhenCommandLineIncomplete) {
  const char* argv[] = {"quillet", "-C"};
  BatchOptions options;
  const bool parsed = options.parse(2, argv);
  std::ostringstream out;
  EXPECT_EQ(runBatch(options, parsed, out), kBatchUsageShown);
  const std::string text = out.str();
  EXPECT_EQ(text.find(bannerText()), 0u);
  EXPECT_NE(text.find("Quillet"), std::string::npos);
  EXPECT_NE(text.find("2.1h"), std::string::npos);
  EXPECT_NE(text.find("-qlc     Use this configuration file.\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("error: missing required command line argument -qlc\n"));
}

TEST(BatchRunTest, NoCopyrightSuppressesBanner) {
  const char* argv[] = {"quillet", "-C", "-nocopyright"};
  BatchOptions options;
  const bool parsed = options.parse(3, argv);
  std::ostringstream out;
  runBatch(options, parsed, out);
  EXPECT_EQ(out.str().find("Quillet 2.1h"), std::string::npos);
  EXPECT_EQ(out.str().front(), '\n');
}

TEST(BatchRunTest, UnreadableConfigurationEndsWithStatusOne) {
  const char* argv[] = {"quillet", "-C", "-qlc", "/nonexistent/x.qlc"};
  BatchOptions options;
  const bool parsed = options.parse(4, argv);
  std::ostringstream out;
  EXPECT_EQ(runBatch(options, parsed, out), kBatchConfigurationFailed);
  EXPECT_NE(out.str().find("Error reading file /nonexistent/x.qlc.\n"), std::string::npos);
}

}  // namespace
}  // namespace quillet
