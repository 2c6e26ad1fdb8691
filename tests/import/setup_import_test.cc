// The readers behind the set-up commands: shell words, the survey of a project's files, compilation
// databases and Doxyfiles, with their mistakes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/compile_commands.h"
#include "import/doxyfile.h"
#include "import/shell_words.h"
#include "import/source_survey.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

using Words = std::vector<std::string>;

TEST(ShellWordsTest, QuotesAndEscapesAsAShellReadsThem) {
  struct Case {
    std::string command;
    bool ok;
    Words words;
  };
  const std::vector<Case> cases = {
      {"g++  -DNAME=\"a b\" -I'x y' a\\ b.c", true, {"g++", "-DNAME=a b", "-Ix y", "a b.c"}},
      {"cc \"a\\\"b\\$\" 'c\\d' \"\"", true, {"cc", "a\"b$", "c\\d", ""}},
      {"cc -DS=\\\"text\\\" x.c", true, {"cc", "-DS=\"text\"", "x.c"}},
      {"cc \"open", false, {}},
      {"cc 'open", false, {}},
  };
  for (const Case& c : cases) {
    Words words;
    EXPECT_EQ(splitShellWords(c.command, words), c.ok) << c.command;
    if (c.ok) {
      EXPECT_EQ(words, c.words) << c.command;
    }
  }
}

TEST(SourceSurveyTest, NamespacesAndIncludeLines) {
  const std::string text =
      "// namespace commented { }\n#include \"geo/point.h\"\n  #  include <vector>\n#include_next <x.h>\n"
      "#include MACRO\nconst char* s = \"namespace quoted {\";\nnamespace geo {\nnamespace inner { }\n}\n"
      "namespace geo::detail { }\nnamespace { }\nnamespace fs = std::filesystem;\ninline namespace v1 { }\n"
      "#define OPEN namespace macro {\nextern \"C\" { namespace nested { } }\nnamespace util\n{\n}\n";
  EXPECT_EQ(topLevelNamespaces(text), (Words{"geo", "v1", "util"}));
  const std::vector<IncludeLine> includes = includeLines(text);
  ASSERT_EQ(includes.size(), 2u);
  EXPECT_EQ(includes[0].name, "geo/point.h");
  EXPECT_TRUE(includes[0].quoted);
  EXPECT_EQ(includes[1].name, "vector");
  EXPECT_FALSE(includes[1].quoted);
  EXPECT_EQ(normalizedPath("/a/./b//../c/"), "/a/c");
  EXPECT_EQ(normalizedPath("../x/../../y"), "../../y");
}

TEST(SourceSurveyTest, ProjectFilesLeaveOutBuildHiddenAndThirdPartyFolders) {
  TempTree tree;
  const std::string root = tree.path("proj");
  tree.write("proj/src/a.cpp", "#include \"geo/point.h\"\n#include \"local.h\"\n");
  tree.write("proj/src/local.h", "");
  tree.write("proj/include/geo/point.h", "#include \"../../third_party/json.hpp\"\n");
  tree.write("proj/third_party/json.hpp", "");
  tree.write("proj/.git/hook.c", "");
  tree.write("proj/out-of-tree/CMakeCache.txt", "");
  tree.write("proj/out-of-tree/generated.cpp", "");
  tree.write("proj/build/b.cpp", "");
  Words sources, headers;
  findProjectFiles(root, sources, headers);
  EXPECT_EQ(sources, (Words{root + "/src/a.cpp"}));
  EXPECT_EQ(headers, (Words{root + "/include/geo/point.h", root + "/src/local.h"}));
  Words all = sources;
  all.insert(all.end(), headers.begin(), headers.end());
  EXPECT_EQ(neededIncludeFolders(all), (Words{root + "/include"}));
  // Headers reached through includes stay inside the project and out of third-party folders.
  EXPECT_EQ(includedProjectHeaders(sources, {root + "/include"}, root),
            (Words{root + "/include/geo/point.h", root + "/src/local.h"}));
}

TEST(CompileCommandsTest, MistakesNameTheFileAndLine) {
  TempTree tree;
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {"[\n  {\"directory\": \"/x\",\n   \"file\": 3,", ":3: syntax error"},
      {"{}", ":1: a compilation database is an array of entries"},
      {"[\n{\"directory\": \"/x\", \"file\": \"a.c\", \"command\": \"cc a.c\"},\n{\"directory\": \"/x\"}\n]",
       ":3: entry 2: no \"file\" string"},
      {"[{\"directory\": \"/x\", \"file\": \"a.c\", \"command\": \"cc 'a.c\"}]",
       ":1: entry 1: a quote is left open in \"command\""},
      {"[{\"directory\": \"/x\", \"file\": \"a.c\", \"arguments\": [\"cc\", \"-I\"]}]",
       ":1: entry 1: option -I without its value"},
      {"[{\"directory\": \"/x\", \"file\": \"a.c\"}]",
       ":1: entry 1: neither \"arguments\" nor a \"command\" string"},
      {"[1E999999999999999999]", ": number overflow parsing '1E999999999999999999'"},
  };
  for (const auto& c : cases) {
    const std::string path = tree.write("compile_commands.json", c.text);
    ProjectDescription project;
    std::string error;
    EXPECT_FALSE(readCompileCommands(path, tree.root(), project, error)) << c.text;
    EXPECT_EQ(error.substr(0, path.size() + c.error.size()), path + c.error) << error;
  }
}

TEST(CompileCommandsTest, OptionsOfEveryEntryMergedWithANoteWhereDefinesDisagree) {
  TempTree tree;
  const std::string root = tree.path("p");
  tree.write("p/a.cpp", "#include \"inc/a.h\"\n");
  tree.write("p/b.cpp", "");
  tree.write("p/gen/inc/a.h", "");
  tree.write("p/compile_commands.json",
             "[{\"directory\": \"" + root +
                 "\", \"file\": \"a.cpp\", \"arguments\": [\"/usr/bin/c++\", \"-Igen\", "
                 "\"-DA=1\", \"-DB\", \"-UB\", \"-DC\", \"-std=c++20\", \"-include\", \"pre.h\", \"-c\", "
                 "\"a.cpp\"]},\n"
                 " {\"directory\": \"" +
                 root + "\", \"file\": \"" + root +
                 "/b.cpp\", \"command\": "
                 "\"/usr/bin/c++ -iquote q -isystem /opt/s -DA=2 -DC -o b.o -c b.cpp\"}]");
  ProjectDescription project;
  std::string error;
  ASSERT_TRUE(readCompileCommands(root + "/compile_commands.json", root, project, error)) << error;
  EXPECT_EQ(project.sources, (Words{root + "/a.cpp", root + "/b.cpp"}));
  EXPECT_EQ(project.headers, (Words{root + "/gen/inc/a.h"}));
  EXPECT_EQ(project.includeFolders, (Words{root + "/gen", root + "/q", "/opt/s"}));
  EXPECT_EQ(project.defines, (Words{"A=1", "C"}));
  EXPECT_EQ(project.forcedIncludes, (Words{root + "/pre.h"}));
  EXPECT_EQ(project.compiler, "/usr/bin/c++");
  EXPECT_EQ(project.languageStandard, "c++20");
  ASSERT_EQ(project.notes.size(), 1u);
  EXPECT_NE(project.notes[0].find("A=1 (1 of 2), A=2 (1 of 2)"), std::string::npos) << project.notes[0];
}

TEST(DoxyfileTest, FormatAndMistakes) {
  TempTree tree;
  tree.write("common.cfg", "# shared\nQUIET = YES\n@INCLUDE = loop.cfg\n");
  tree.write("loop.cfg", "@INCLUDE = common.cfg\n");
  tree.write("base.cfg", "PREDEFINED = BASE\n");
  const struct {
    std::string text;
    std::string key;
    Words words;  // or, when `key` is empty, the start of the error after the file name
  } cases[] = {
      {"INPUT = a \\\n  \"b c\"\nINPUT += d\n", "INPUT", {"a", "b c", "d"}},
      {"@INCLUDE = base.cfg\nPREDEFINED += \"S=\\\"x\\\"\"\n", "PREDEFINED", {"BASE", "S=\"x\""}},
      {"# only a comment\n\nEXCLUDE =\n", "EXCLUDE", {}},
      {"\nINPUT a\n", "", {":2: expected KEY = value"}},
      {"INPUT = \"open\n", "", {":1: a quote is left open"}},
      {"@INCLUDE = missing.cfg\n", "", {":1: cannot find the included file missing.cfg"}},
      {"@INCLUDE = common.cfg\n", "", {"@INCLUDE nests too deeply"}},
  };
  for (const auto& c : cases) {
    const std::string path = tree.write("Doxyfile", c.text);
    DoxyfileValues values;
    std::string error;
    const bool ok = readDoxyfile(path, values, error);
    EXPECT_EQ(ok, !c.key.empty()) << c.text << error;
    if (ok) {
      EXPECT_EQ(values.keys[c.key].words, c.words) << c.text;
    } else {
      EXPECT_NE(error.find(c.words.front()), std::string::npos) << error;
    }
  }
}

TEST(DoxyfileTest, MigrationCarriesInputsOutputsAndListsTheRest) {
  TempTree tree;
  tree.write("src/geo.h", "");
  tree.write("src/geo.cpp", "");
  tree.write("src/notes.md", "");
  tree.write("src/detail/impl.h", "");
  tree.write("src/test/geo_test.cpp", "");
  tree.write("src/old/legacy.h", "");
  const std::string doxyfile = tree.write(
      "Doxyfile",
      "PROJECT_NAME = \"Geo Kit\"\nPROJECT_BRIEF = \"Shapes, fast\"\nINPUT = src missing\nRECURSIVE = YES\n"
      "FILE_PATTERNS = *.h *.cpp *.md\nEXCLUDE = src/old\nEXCLUDE_PATTERNS = */test/*\n"
      "PREDEFINED = GEO_API= \"VERSION:=2\"\nINCLUDE_PATH = src\nOUTPUT_DIRECTORY = out\nHTML_OUTPUT = web\n"
      "GENERATE_RTF = YES\nEXTRACT_PRIVATE = YES\nEXTRACT_STATIC = YES\nMACRO_EXPANSION = NO\nQUIET = YES\n"
      "ALIASES =\n");
  ProjectDescription project;
  DoxyfileMigration migration;
  std::string error;
  ASSERT_TRUE(migrateDoxyfile(doxyfile, project, migration, error)) << error;
  const std::string root = tree.path("");
  EXPECT_EQ(project.root + "/", root);
  EXPECT_EQ(project.name, "Geo Kit");
  EXPECT_EQ(migration.brief, "Shapes, fast");
  EXPECT_EQ(project.sources, (Words{root + "src/geo.cpp"}));
  EXPECT_EQ(project.headers, (Words{root + "src/detail/impl.h", root + "src/geo.h"}));
  EXPECT_EQ(project.defines, (Words{"GEO_API=", "VERSION=2"}));
  EXPECT_EQ(project.includeFolders, (Words{root + "src"}));
  EXPECT_EQ(migration.htmlOutputFile, root + "out/web/index.html");
  EXPECT_EQ(migration.rtfOutputFile, root + "out/rtf/refman.rtf");
  EXPECT_TRUE(migration.documentPrivate);
  EXPECT_EQ(migration.notCarried, (Words{"QUIET (" + doxyfile + ":16)"}));
  std::string notes;
  for (const std::string& note : project.notes) notes += note + "\n";
  for (const char* expected : {"INPUT missing does not exist", "1 input files that are not C or C++",
                               "EXTRACT_STATIC = YES", "MACRO_EXPANSION = NO"})
    EXPECT_NE(notes.find(expected), std::string::npos) << expected << "\n" << notes;
}

}  // namespace
}  // namespace quillet
