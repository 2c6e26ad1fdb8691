#include "app/batch_options.h"

#include <gtest/gtest.h>

#include <set>
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
      {{}, false, true, false, "", ""},                    // no arguments: the editor, with usage
      {{"proj.qlc"}, true, false, false, "", "proj.qlc"},  // a bare file without -C: the editor opens it
      {{"-qlc", "proj.qlc"}, true, false, false, "", "proj.qlc"},  // a complete line without -C
      {{"-C"}, false, false, true, missing, ""},
      {{"-C", "-qlc"}, false, false, true, missing, ""},
      // A bare configuration runs with -C, before or after it; absolute paths are files, not switches.
      {{"-C", "a.toml"}, true, false, true, "", "a.toml"},
      {{"x.qlc", "--batch"}, true, false, true, "", "x.qlc"},
      {{"-C", "/home/me/proj/docs.qlc"}, true, false, true, "", "/home/me/proj/docs.qlc"},
      {{"/opt/x.qlc", "/C"}, true, false, true, "", "/opt/x.qlc"},
      {{"-C", "a.qlc", "b.qlc"}, false, true, true, "Error: Too many files specified", "a.qlc"},
      {{"-C", "-", "/", "-qlc", "x"}, true, false, true, "", "x"},  // a lone switch prefix is ignored
      // Long forms, with the value attached by "=" or following.
      {{"--batch", "--config=c.toml"}, true, false, true, "", "c.toml"},
      {{"--batch", "--config", "c.toml", "--verbose"}, true, false, true, "", "c.toml"},
      {{"--batch", "--nonsense", "x"}, false, true, true, "Unrecognized option --nonsense", ""},
      {{"--batch=yes", "x"}, false, true, false, "Option --batch takes no value", ""},
      {{"-C", "--include=", "x"}, false, true, true, "Missing include file after -I switch.", ""},
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

TEST(BatchOptionsTest, GroupedSeparateSlashLowerCaseAndLongSwitchesAreEquivalent) {
  const std::vector<std::vector<std::string>> spellings = {
      {"-CVqlcx.qlc"},      {"-qlc", "x.qlc", "-V", "-C"},     {"/c", "/v", "/qlc", "x.qlc"},
      {"-cv", "/qlcx.qlc"}, {"--verbose", "x.qlc", "--batch"},
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
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"-C", "-Ia", "-I", "b", "-DFOO=1", "-D", "-BAR", "-o", "-out", "-prj", "p.dsp", "-NOHTML",
            "-nortf", "-NoCopyright"},
           {"/C", "/Ia", "--include", "b", "--define=FOO=1", "--define", "-BAR", "--output", "-out",
            "--project=p.dsp", "--no-html", "--no-rtf", "--no-copyright"}}) {
    Parsed p = parseArgs(args);
    SCOPED_TRACE(args[1]);
    EXPECT_TRUE(p.complete);
    EXPECT_EQ(p.options.includes, ";a;b");
    EXPECT_EQ(p.options.defines, ",FOO=1,-BAR");  // a value may begin with "-"
    EXPECT_EQ(p.options.outputDir, "-out");
    EXPECT_EQ(p.options.projectFile, "p.dsp");
    EXPECT_TRUE(p.options.configFile.empty());
    EXPECT_TRUE(p.options.noHtml && p.options.noRtf && p.options.noCopyright);
  }
}

TEST(BatchOptionsTest, HelpVersionAndFailOnWarning) {
  for (const char* spelling : {"-h", "-?", "--help", "/?", "-H"}) {
    Parsed p = parseArgs({spelling});
    EXPECT_TRUE(p.complete && p.options.help && !p.options.usageError) << spelling;
  }
  EXPECT_TRUE(parseArgs({"--version"}).options.version);
  EXPECT_TRUE(parseArgs({"-C", "x.qlc", "--fail-on-warning"}).options.failOnWarning);
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

// Every switch the usage text names is one the parser takes, so a misspelt switch in the text shows.
TEST(BatchOptionsTest, EverySwitchTheUsageNamesIsAccepted) {
  BatchOptions options;
  options.errorMessage = "error: missing required command line argument -qlc";
  std::ostringstream out;
  options.printUsage(out);
  const std::string text = out.str();
  EXPECT_TRUE(text.starts_with("\nUsage: quillet [switches] [config.toml | config.qlc]\n")) << text;
  EXPECT_TRUE(text.ends_with("\nerror: missing required command line argument -qlc\n"));
  std::istringstream lines(text);
  size_t checked = 0;
  for (std::string line; std::getline(lines, line);) {
    if (!line.starts_with("  -")) continue;
    std::istringstream words(line);
    for (std::string word; words >> word && word.starts_with("-");) {
      if (word.ends_with(",")) word.pop_back();
      std::vector<std::string> args = {word};
      const std::set<std::string> taking_values = {
          "-I", "-D", "-o", "-qlc", "-prj", "--include", "--define", "--output", "--config", "--project"};
      if (taking_values.count(word)) args.push_back("value");
      if (word == "-j" || word == "--jobs") args.push_back("2");
      if (word != "-qlc" && word != "--config") args.push_back("x.qlc");
      const Parsed p = parseArgs(args);
      EXPECT_FALSE(p.options.usageError) << word;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 31u);
  // The number of jobs is a whole number from 1 to 256, attached or not.
  EXPECT_EQ(parseArgs({"-C", "-j3", "x.qlc"}).options.jobs, 3u);
  EXPECT_EQ(parseArgs({"-C", "--jobs=256", "x.qlc"}).options.jobs, 256u);
  for (const char* bad : {"-j0", "--jobs=many", "-j257", "--jobs=99999999999"})
    EXPECT_TRUE(parseArgs({"-C", bad, "x.qlc"}).options.usageError) << bad;
}

}  // namespace
}  // namespace quillet
