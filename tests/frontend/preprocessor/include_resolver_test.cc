#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "frontend/preprocessor/include_resolver.h"
#include "frontend/preprocessor/module_parse.h"
#include "frontend/preprocessor/preprocessor.h"
#include "frontend/preprocessor/preprocessor_fixture.h"

namespace quillet {
namespace {

class IncludeTest : public testing::PreprocessorFixture {
 protected:
  std::string run(const std::string& module, const std::vector<std::string>& directories = {}) {
    Preprocessor preprocessor(root_ + module, directories, {}, cache_);
    return join(tokensOf(preprocessor));
  }
};

TEST(IncludeResolverTest, JoinsPathsWithDotSteps) {
  EXPECT_EQ(joinPath("/a/b", "c.h"), "/a/b/c.h");
  EXPECT_EQ(joinPath("/a/b/", "..\\..\\c.h"), "/c.h");
  EXPECT_EQ(joinPath("/a/b", "./x/../y\\z.h"), "/a/b/y/z.h");
  EXPECT_EQ(joinPath("", "../c.h"), "../c.h");
  EXPECT_EQ(joinPath("src", "../../c.h"), "../c.h");
  EXPECT_EQ(joinPath("/", "../c.h"), "/c.h");
  EXPECT_EQ(joinPath("C:\\inc", "x.h"), "C:/inc/x.h");
  EXPECT_EQ(joinPath("/a", "/abs/x.h"), "/abs/x.h");
  EXPECT_EQ(folderOf("/a/b.h"), "/a");
  EXPECT_EQ(folderOf("b.h"), "");
  EXPECT_EQ(folderOf("/b.h"), "/");
  EXPECT_EQ(folderOf("x\\y\\b.h"), "x\\y");
}

TEST_F(IncludeTest, SearchesQuotedNamesFromTheIncludingFilesOutwards) {
  write("src/main.cpp", "#include \"a.h\"\n#include <b.h>\n#include \"sub/x.h\"\n");
  write("src/a.h", "a_src");
  write("inc/a.h", "a_inc");
  write("inc/b.h", "b_inc");
  write("src/b.h", "b_src");
  write("src/sub/x.h", "#include \"y.h\"\n");
  write("src/y.h", "y_src");
  write("inc/y.h", "y_inc");
  EXPECT_EQ(run("src/main.cpp", {root_ + "inc"}), "a_src b_inc y_src");
  // Without the include directory the angle-bracket name is missing; it is reported once per run, with
  // the chain of including files and the folders searched.
  EXPECT_EQ(run("src/main.cpp"), "a_src y_src");
  write("src/other.h", "#include <b.h>\n#include \"gone.h\"\n");
  write("src/second.cpp", "#include \"other.h\"\n#include <b.h>\n");
  run("src/second.cpp", {root_ + "none"});
  EXPECT_EQ(
      run_.output.lines,
      (std::vector<std::string>{
          "warning: (" + root_ +
              "src/main.cpp:2) missing #include file b.h. The include path may be missing a directory, or "
              "the preprocessor flags are incorrect. Folders searched: no folder.",
          "warning: (" + root_ +
              "src/other.h:2) missing #include file gone.h. The include path may be "
              "missing a directory, or the preprocessor flags are incorrect. The file is included from " +
              root_ + "src/second.cpp:1. Folders searched: " + root_ + "src, " + root_ + "src, " + root_ +
              "none."}));
}

TEST_F(IncludeTest, ResolvesRelativeDirectoriesAndBackslashes) {
  write("src/main.cpp", "#include <b.h>\n#include \"..\\inc\\c.h\"\n#include <d.h>\n#include <sub\\e.h>\n");
  write("inc/b.h", "b");
  write("inc/c.h", "c");
  write("src/local/d.h", "d");
  write("inc/sub/e.h", "e");
  EXPECT_EQ(run("src/main.cpp", {"..\\inc", ".\\local"}), "b c d e");
  // A relative directory is tried against every open file, innermost first.
  write("src/deep/main.cpp", "#include \"../h.h\"\n");
  write("src/h.h", "#include <f.h>\n");
  write("inc/f.h", "f_inc");
  write("src/deep/inc/f.h", "wrong");
  EXPECT_EQ(run("src/deep/main.cpp", {"../inc"}), "f_inc");
}

TEST_F(IncludeTest, FindsFilesWhateverTheCaseOfTheirNames) {
  write("Src/main.cpp", "#include \"Widget.H\"\n#include <SUB/Gadget.h>\n#include \"sub\"\n");
  std::string widget = write("Src/widget.h", "widget");
  std::string gadget = write("Inc/sub/gadget.h", "gadget");
  write("Inc/sub/nested.h", "folder");
  Preprocessor preprocessor(root_ + "Src/main.cpp", {root_ + "inc"}, {}, cache_);
  EXPECT_EQ(join(tokensOf(preprocessor)), "widget gadget");
  // The stored spelling is the file's name; a folder is no file.
  std::vector<HeaderRecordPtr> records = preprocessor.takeModuleRecords();
  EXPECT_EQ(records[0]->includedFiles, (std::vector<std::string>{widget, gadget}));
  EXPECT_EQ(run_.output.lines.size(), 1u);
}

TEST_F(IncludeTest, ExpandsAMacroThatNamesTheFile) {
  write("m.cpp", "#define HEADER \"h.h\"\n#define ANGLE <h.h>\n#include HEADER\n#include ANGLE\n");
  write("h.h", "h");
  EXPECT_EQ(run("m.cpp", {root_}), "h h");
}

TEST_F(IncludeTest, HidesNothingAfterAnOpenConditionalInAHeader) {
  write("m.cpp", "#include \"open.h\"\nvisible\n#if 1\n#include \"else.h\"\nstill\n#endif\n");
  write("open.h", "#if 0\nhidden\n");
  write("else.h", "#ifdef NOTHING\n#else\nfrom_else\n");
  EXPECT_EQ(run("m.cpp"), "visible from_else still");
}

TEST_F(IncludeTest, ReadsAHeaderWithPragmaOnceOnce) {
  write("m.cpp", "#include \"o.h\"\n#include \"o.h\"\n#include \"p.h\"\nend");
  write("o.h", "/* o */\n#pragma once\nonce\n");
  write("p.h", "#include \"o.h\"\n#pragma once\n#include \"p.h\"\np\n");
  EXPECT_EQ(run("m.cpp"), "once p end");
}

TEST_F(IncludeTest, StopsAHeaderThatIncludesItself) {
  write("m.cpp", "#include \"self.h\"\nafter");
  write("self.h", "#include \"self.h\"\nx\n");
  std::string tokens = run("m.cpp");
  EXPECT_EQ(tokens.size(), (PreprocessorLimits().includeDepth - 1) * 2 + 5);  // "x " per level, then "after"
  ASSERT_EQ(run_.output.lines.size(), 1u);
  EXPECT_EQ(run_.output.lines[0],
            "warning: (" + root_ +
                "self.h:1) #include file self.h is nested more than 200 "
                "files deep and was skipped. A header may include itself without a guard.");
  // A header that includes itself twice would open files without end; the module stops opening them.
  write("twice.cpp", "#include \"twice.h\"\nafter");
  write("twice.h", "#include \"twice.h\"\n#include \"twice.h\"\n");
  EXPECT_EQ(run("twice.cpp"), "after");
  EXPECT_EQ(run_.output.lines.size(), 3u + 2u);  // the depth warning for each of the two lines
}

TEST_F(IncludeTest, RecordsTheFilesOfAModule) {
  write("m.cpp", "#include \"a.h\"\n#include \"b.h\"\n#include \"a.h\"\n#include \"gone.h\"\n");
  write("a.h", "#define A 1\n#define F(x) x\n#define A 2\n");
  write("b.h", "#include \"a.h\"\n");
  Preprocessor preprocessor(root_ + "m.cpp", {}, {}, cache_);
  tokensOf(preprocessor);
  EXPECT_EQ(preprocessor.currentFileName(), "");
  std::vector<HeaderRecordPtr> records = preprocessor.takeModuleRecords();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0]->fileName, root_ + "m.cpp");
  EXPECT_EQ(records[0]->includedFiles,
            (std::vector<std::string>{root_ + "a.h", root_ + "b.h", root_ + "a.h"}));
  EXPECT_TRUE(records[0]->completelyRead);
  EXPECT_EQ(records[1]->fileName, root_ + "a.h");
  EXPECT_EQ(records[1]->objectMacros.size(), 1u);
  EXPECT_EQ(records[1]->objectMacros.at("A")->replacement[0].text, "2");  // the record keeps the last one
  EXPECT_EQ(records[1]->functionMacros.count("F"), 1u);
  EXPECT_EQ(records[2]->includedFiles, (std::vector<std::string>{root_ + "a.h"}));
  EXPECT_TRUE(preprocessor.takeModuleRecords().empty());
}

TEST_F(IncludeTest, ReplaysAHeaderInTheNextModuleWithoutReadingIt) {
  write("one.cpp", "#include \"h.h\"\none");
  write("two.cpp", "#include \"h.h\"\nH G");
  std::string header = write("h.h", "#define H 42\n#include \"g.h\"\nheader_token\n");
  std::string inner = write("g.h", "#define G 7\ng_token\n");
  std::vector<HeaderRecordPtr> records = parseModule(root_ + "one.cpp", {}, cache_);
  ASSERT_EQ(records.size(), 3u);
  cache_.add(records);
  EXPECT_TRUE(cache_.contains(header));
  EXPECT_TRUE(cache_.contains(inner));

  Preprocessor second(root_ + "two.cpp", {}, {}, cache_);
  EXPECT_EQ(join(tokensOf(second)), "42 7");
  EXPECT_EQ(second.bytesRead(), std::string("#include \"h.h\"\nH G").size());  // only the module was read
  std::vector<HeaderRecordPtr> second_records = second.takeModuleRecords();
  ASSERT_EQ(second_records.size(), 1u);
  EXPECT_EQ(second_records[0]->includedFiles, (std::vector<std::string>{header}));

  // Reparsing headers reads them again.
  options_.reparseHeaders = true;
  Preprocessor third(root_ + "two.cpp", options_, cache_);
  EXPECT_EQ(join(tokensOf(third)), "g_token header_token 42 7");
}

TEST_F(IncludeTest, ContinuesTheSearchWithIncludeNext) {
  // In a file not found along the search path, the search starts at its beginning.
  write("m.cpp", "#include <w.h>\n#if __has_include_next(<w.h>)\nfound\n#endif\n");
  write("one/w.h", "one\n#if __has_include_next(<w.h>)\n#include_next <w.h>\n#endif\n");
  write("two/w.h", "two\n#include_next <w.h>\n");
  write("three/w.h", "three\n");
  EXPECT_EQ(run("m.cpp", {root_ + "one", root_ + "two", root_ + "three"}), "one two three found");
}

TEST_F(IncludeTest, ReadsTheCompilersHeadersForTheirMacrosOnly) {
  write("m.cpp", "#include <sys.h>\n#include <lib.h>\nSYS LIB INNER\n");
  write("system/sys.h", "#define SYS 1\n#include \"inner.h\"\nclass Hidden;\n#include <missing.h>\n");
  write("system/inner.h", "#define INNER 3\nclass AlsoHidden;\n");
  const std::string lib = write("system/lib.h", "#define LIB 2\nclass Documented;\n");
  options_.systemIncludeDirectories = {root_ + "system"};
  options_.sourceFiles =
      std::make_shared<std::unordered_set<std::string>>(std::unordered_set<std::string>{lib});
  Preprocessor preprocessor(root_ + "m.cpp", options_, cache_);
  EXPECT_EQ(join(tokensOf(preprocessor)), "class Documented ; 1 2 3");
  std::vector<HeaderRecordPtr> records = preprocessor.takeModuleRecords();
  ASSERT_EQ(records.size(), 4u);
  EXPECT_TRUE(records[1]->system && records[2]->system);
  EXPECT_FALSE(records[0]->system || records[3]->system);
  EXPECT_TRUE(run_.output.lines.empty());  // the compiler's headers are not diagnosed
}

TEST_F(IncludeTest, ReplaysUndefinitionsInOrder) {
  write("h.h", "#define A 1\n#undef A\n#define B 2\n#undef C\n#include \"g.h\"\n#undef G\n");
  write("g.h", "#define G 3\n");
  write("one.cpp", "#include \"h.h\"\n");
  write("two.cpp", "#define C 4\n#include \"h.h\"\nA B C G\n");
  cache_.add(parseModule(root_ + "one.cpp", {}, cache_));
  EXPECT_EQ(run("two.cpp"), "A 2 C G");
}

TEST_F(IncludeTest, ParsesAModuleAndStopsWhenCancelled) {
  class Cancelling : public testing::RecordingOutput {
   public:
    bool isCanceled() override { return true; }
  } output;
  setCurrentMessageOutput(&output);
  std::string source;
  for (int i = 0; i < 20000; ++i) source += "t ";
  write("long.cpp", source);
  size_t seen = 0;
  parseModule(root_ + "long.cpp", {}, cache_, [&](Preprocessor& p) {
    while (p.nextToken().kind != T_EOF) ++seen;
  });
  EXPECT_EQ(seen, 20000u);
  std::vector<HeaderRecordPtr> records = parseModule(root_ + "long.cpp", {}, cache_);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_FALSE(records[0]->completelyRead);
  setCurrentMessageOutput(&run_.output);
}

}  // namespace
}  // namespace quillet
