#include "app/batch_options.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace quillet {
namespace {

struct Parsed {
  BatchOptions options;
  bool complete = false;
};

Parsed parseArgs(std::vector<std::string> args) {
  args.insert(args.begin(), "quillet");
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  Parsed p;
  p.complete = p.options.parse(static_cast<int>(argv.size()), argv.data());
  return p;
}

TEST(BatchOptionsTest, NoArgumentsOpensEditorWithUsageFlag) {
  const char* argv[] = {"quillet"};
  BatchOptions options;
  EXPECT_FALSE(options.parse(1, argv));
  EXPECT_TRUE(options.usageError);
  EXPECT_FALSE(options.batch);
  EXPECT_TRUE(options.errorMessage.empty());
}

TEST(BatchOptionsTest, BareFirstArgumentNamesConfigurationForEditor) {
  Parsed p = parseArgs({"proj.qlc"});
  EXPECT_FALSE(p.complete);
  EXPECT_EQ(p.options.configFile, "proj.qlc");
  EXPECT_FALSE(p.options.usageError);
  EXPECT_FALSE(p.options.batch);

  Parsed q = parseArgs({"-qlc", "proj.qlc"});
  EXPECT_TRUE(q.complete);
  EXPECT_FALSE(q.options.batch);
  EXPECT_EQ(q.options.configFile, "proj.qlc");
}

TEST(BatchOptionsTest, GroupedSeparateSlashAndLowerCaseSwitchesAreEquivalent) {
  const std::vector<std::vector<std::string>> spellings = {
      {"-CVqlcx.qlc"},
      {"-qlc", "x.qlc", "-V", "-C"},
      {"/c", "/v", "/qlc", "x.qlc"},
      {"-cv", "/qlcx.qlc"},
  };
  for (const auto& args : spellings) {
    Parsed p = parseArgs(args);
    SCOPED_TRACE(args.front());
    EXPECT_TRUE(p.complete);
    EXPECT_TRUE(p.options.batch);
    EXPECT_TRUE(p.options.verbose);
    EXPECT_EQ(p.options.configFile, "x.qlc");
    EXPECT_FALSE(p.options.usageError);
  }
}

TEST(BatchOptionsTest, MissingConfigurationIsReported) {
  for (const auto& args : std::vector<std::vector<std::string>>{{"-C"}, {"-C", "-qlc"}}) {
    Parsed p = parseArgs(args);
    EXPECT_FALSE(p.complete);
    EXPECT_TRUE(p.options.batch);
    EXPECT_EQ(p.options.errorMessage, "error: missing required command line argument -qlc");
  }
}

TEST(BatchOptionsTest, ValueSwitchesTakeAttachedTextOrNextArgument) {
  Parsed p = parseArgs({"-C", "-Ia", "-I", "b", "-DFOO=1", "-D", "-BAR", "-o", "-out", "-prj", "p.dsp"});
  EXPECT_TRUE(p.complete);
  EXPECT_EQ(p.options.includes, ";a;b");
  EXPECT_EQ(p.options.defines, ",FOO=1,-BAR");  // a value may begin with "-"
  EXPECT_EQ(p.options.outputDir, "-out");
  EXPECT_EQ(p.options.projectFile, "p.dsp");
  EXPECT_TRUE(p.options.configFile.empty());
}

TEST(BatchOptionsTest, EmptyValueStopsWithItsMessage) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"-I", "Missing include file after -I switch."}, {"-D", "Missing define after -D switch."},
      {"-qlc", "Missing qlc file after -qlc switch."}, {"-prj", "Missing project file after -prj switch."},
      {"-o", "Missing output file after -O switch."},
  };
  for (const auto& [sw, message] : cases) {
    Parsed p = parseArgs({"-C", sw, "", "-qlc", "x.qlc"});
    EXPECT_FALSE(p.complete) << sw;
    EXPECT_TRUE(p.options.usageError) << sw;
    EXPECT_EQ(p.options.errorMessage, message);
  }
}

TEST(BatchOptionsTest, DebugSpellingsAgainstDefineOfDebug) {
  for (const char* spelling : {"-debug", "-Debug", "-DEBUG", "/dEbUg"}) {
    Parsed p = parseArgs({"-C", spelling, "-qlc", "x"});
    EXPECT_TRUE(p.options.debug) << spelling;
    EXPECT_TRUE(p.options.defines.empty()) << spelling;
  }
  Parsed p = parseArgs({"-C", "-DDEBUG", "-qlc", "x"});
  EXPECT_FALSE(p.options.debug);
  EXPECT_EQ(p.options.defines, ",DEBUG");
}

TEST(BatchOptionsTest, NSwitchesAndUnrecognizedWords) {
  Parsed p = parseArgs({"-C", "-NOHTML", "-nortf", "-NoCopyright", "-qlc", "x"});
  EXPECT_TRUE(p.complete);
  EXPECT_TRUE(p.options.noHtml);
  EXPECT_TRUE(p.options.noRtf);
  EXPECT_TRUE(p.options.noCopyright);

  Parsed bad = parseArgs({"-C", "-Nofoo", "-qlc", "x"});
  EXPECT_FALSE(bad.complete);
  EXPECT_TRUE(bad.options.usageError);
  EXPECT_EQ(bad.options.errorMessage, "Unrecognized switch nofoo");
}

TEST(BatchOptionsTest, UnknownLettersFailWithoutMessage) {
  for (const char* arg : {"-Z", "-CZ", "-QLCx", "-pfoo"}) {
    Parsed p = parseArgs({"-C", arg, "-qlc", "x"});
    EXPECT_FALSE(p.complete) << arg;
    EXPECT_TRUE(p.options.usageError) << arg;
    EXPECT_TRUE(p.options.errorMessage.empty()) << arg;
  }
}

TEST(BatchOptionsTest, SecondBareFileIsTooMany) {
  Parsed p = parseArgs({"-C", "a.qlc"});
  EXPECT_FALSE(p.complete);
  EXPECT_TRUE(p.options.usageError);
  EXPECT_EQ(p.options.errorMessage, "Error: Too many files specified");
}

TEST(BatchOptionsTest, LoneSwitchPrefixIsIgnored) {
  Parsed p = parseArgs({"-C", "-", "/", "-qlc", "x"});
  EXPECT_TRUE(p.complete);
  EXPECT_FALSE(p.options.usageError);
}

TEST(BatchOptionsTest, UsageTextVerbatim) {
  BatchOptions options;
  options.errorMessage = "error: missing required command line argument -qlc";
  std::ostringstream out;
  options.printUsage(out);
  EXPECT_EQ(out.str(),
            "\n"
            "quillet [-IXDov] [-nohtml] [-nortf] [-qlc \"config file name\"] [-prj filename] \n"
            "-I       Add the following path to the list of include directories.  This\n"
            "         is optional.\n"
            "-X       Ignore environment variable. This is optional.\n"
            "-D       define the macro. This is optional.\n"
            "-v       Verbose output\n"
            "-nohtml  Do not a create a html file. This is optional.\n"
            "-nortf   Do not a create a rtf file. This is optional.\n"
            "-o       Place all output files into the following directory. This is optional.\n"
            "-qlc     Use this configuration file.\n"
            "-prj     Import the Microsoft Developer Studio file\n"
            "error: missing required command line argument -qlc\n");

  BatchOptions silent;
  std::ostringstream plain;
  silent.printUsage(plain);
  EXPECT_TRUE(plain.str().ends_with("Developer Studio file\n\n"));
}

}  // namespace
}  // namespace quillet
