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

TEST(BatchOptionsTest, OutcomeOfEachCommandLineShape) {
  struct Case {
    std::vector<std::string> args;
    bool complete, usageError, batch;
    std::string message, configFile;
  };
  const std::string missing = "error: missing required command line argument -qlc";
  const std::vector<Case> cases = {
      {{}, false, true, false, "", ""},                            // no arguments: the editor, with usage
      {{"proj.qlc"}, false, false, false, "", "proj.qlc"},         // a bare first file: the editor opens it
      {{"-qlc", "proj.qlc"}, true, false, false, "", "proj.qlc"},  // a complete line without -C
      {{"-C"}, false, false, true, missing, ""},
      {{"-C", "-qlc"}, false, false, true, missing, ""},
      {{"-C", "a.qlc"}, false, true, true, "Error: Too many files specified", ""},
      {{"-C", "-", "/", "-qlc", "x"}, true, false, true, "", "x"},  // a lone switch prefix is ignored
      {{"-C", "-Nofoo", "-qlc", "x"}, false, true, true, "Unrecognized switch nofoo", ""},
      // Unknown letters, and Q or P not starting "qlc" or "prj", fail without a message.
      {{"-C", "-Z", "-qlc", "x"}, false, true, true, "", ""},
      {{"-C", "-CZ", "-qlc", "x"}, false, true, true, "", ""},
      {{"-C", "-QLCx", "-qlc", "x"}, false, true, true, "", ""},
      {{"-C", "-pfoo", "-qlc", "x"}, false, true, true, "", ""},
      // An empty value stops parsing with the switch's own message.
      {{"-C", "-I", "", "-qlc", "x"}, false, true, true, "Missing include file after -I switch.", ""},
      {{"-C", "-D", "", "-qlc", "x"}, false, true, true, "Missing define after -D switch.", ""},
      {{"-C", "-qlc", "", "-qlc", "x"}, false, true, true, "Missing qlc file after -qlc switch.", ""},
      {{"-C", "-prj", "", "-qlc", "x"}, false, true, true, "Missing project file after -prj switch.", ""},
      {{"-C", "-o", "", "-qlc", "x"}, false, true, true, "Missing output file after -O switch.", ""},
  };
  for (const Case& c : cases) {
    const Parsed p = parseArgs(c.args);
    SCOPED_TRACE(::testing::PrintToString(c.args));
    EXPECT_EQ(p.complete, c.complete);
    EXPECT_EQ(p.options.usageError, c.usageError);
    EXPECT_EQ(p.options.batch, c.batch);
    EXPECT_EQ(p.options.errorMessage, c.message);
    EXPECT_EQ(p.options.configFile, c.configFile);
  }
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

TEST(BatchOptionsTest, ValueSwitchesTakeAttachedTextOrNextArgumentAndWordsAnyCase) {
  Parsed p = parseArgs({"-C", "-Ia", "-I", "b", "-DFOO=1", "-D", "-BAR", "-o", "-out", "-prj", "p.dsp",
                        "-NOHTML", "-nortf", "-NoCopyright"});
  EXPECT_TRUE(p.complete);
  EXPECT_EQ(p.options.includes, ";a;b");
  EXPECT_EQ(p.options.defines, ",FOO=1,-BAR");  // a value may begin with "-"
  EXPECT_EQ(p.options.outputDir, "-out");
  EXPECT_EQ(p.options.projectFile, "p.dsp");
  EXPECT_TRUE(p.options.configFile.empty());
  EXPECT_TRUE(p.options.noHtml && p.options.noRtf && p.options.noCopyright);
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
