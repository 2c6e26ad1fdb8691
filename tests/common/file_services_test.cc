#include "common/file_services.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/file_contents.h"
#include "common/message_output.h"
#include "config/configuration.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;
using Files = std::vector<std::string>;

// A fresh folder under the system's temporary folder, removed with everything in it afterwards.
class FileServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = (fs::temp_directory_path() / "quillet-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(name.data()), nullptr);
    root_ = name;
    forgetPathCaches();
    resetOutputFileNames();
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
    forgetPathCaches();
    resetOutputFileNames();
  }

  // Writes `text` to the file `relative` under the root, creating its folders.
  void write(const std::string& relative, const std::string& text = "x") {
    const fs::path path = fs::path(root_) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  std::string at(const std::string& relative) const { return root_ + "/" + relative; }
  std::string read(const std::string& relative) const {
    std::string text;
    readFileContents(at(relative), text);
    return text;
  }

  std::string root_;
};

// Runs the test body from inside a folder, going back to the old current folder afterwards.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) : old_(fs::current_path()) { fs::current_path(folder); }
  ~InFolder() { fs::current_path(old_); }

 private:
  fs::path old_;
};

class CollectedMessages : public MessageOutput {
 public:
  CollectedMessages() { setCurrentMessageOutput(this); }
  ~CollectedMessages() override { setCurrentMessageOutput(nullptr); }
  void status(std::string_view) override {}
  void report(std::string_view text) override { lines.emplace_back(text); }
  std::vector<std::string> lines;
};

TEST(WildcardTest, MatchesAsTheWindowsFileSystemsDo) {
  EXPECT_TRUE(matchesWildcard("Makefile", "*.*"));
  EXPECT_TRUE(matchesWildcard("a.b.c", "*.*"));
  EXPECT_TRUE(matchesWildcard("README", "*."));
  EXPECT_FALSE(matchesWildcard("main.c", "*."));
  EXPECT_TRUE(matchesWildcard("main.cpp", "*.CPP"));
  EXPECT_FALSE(matchesWildcard("main.cpp", "*.c"));
  EXPECT_TRUE(matchesWildcard("Widget.H", "w*.h"));
  EXPECT_TRUE(matchesWildcard("a.h", "?.h"));
  EXPECT_FALSE(matchesWildcard("ab.h", "?.h"));
  EXPECT_TRUE(matchesWildcard("foo", "foo.*"));
  EXPECT_TRUE(matchesWildcard("abxbxc", "a*b*c"));
  EXPECT_FALSE(matchesWildcard("abxbx", "a*b*c"));
  EXPECT_TRUE(matchesWildcard("", "*"));
}

TEST_F(FileServicesTest, ExpandPatternListsMatchesInNameOrderWithStoredSpelling) {
  write("Src/b.cpp");
  write("Src/A.cpp");
  write("Src/c.h");
  write("Src/sub.cpp/inner.h");  // a folder whose name matches too
  Files files{"first"};
  EXPECT_TRUE(expandPattern(root_ + "\\src\\*.CPP", files, true));
  EXPECT_EQ(files, (Files{"first", at("Src/A.cpp"), at("Src/b.cpp")}));

  files.clear();
  EXPECT_TRUE(expandPattern(root_ + "/SRC/*.cpp", files, false));
  EXPECT_EQ(files, (Files{at("Src/A.cpp"), at("Src/b.cpp"), at("Src/sub.cpp")}));

  files.clear();
  EXPECT_TRUE(expandPattern(root_ + "/src/C.H", files, true));
  EXPECT_EQ(files, (Files{at("Src/c.h")}));
  EXPECT_FALSE(expandPattern(root_ + "/Src/*.hpp", files, true));
  EXPECT_FALSE(expandPattern(root_ + "/missing/*.*", files, true));
  EXPECT_FALSE(expandPattern(root_ + "/Src/", files, true));
  EXPECT_FALSE(expandPattern("C:\\Src\\*.cpp", files, true));
  EXPECT_EQ(files.size(), 1u);
}

TEST_F(FileServicesTest, RelativePatternsGiveRelativePaths) {
  write("src/main.c");
  write("top.c");
  InFolder inside(root_);
  Files files;
  EXPECT_TRUE(expandPattern("*.c", files, true));
  EXPECT_TRUE(expandPattern("SRC\\*.c", files, true));
  EXPECT_EQ(files, (Files{"top.c", "src/main.c"}));
  EXPECT_EQ(onDiskSpelling("Src/Main.C"), "src/main.c");
}

TEST_F(FileServicesTest, SubfolderExpansionListsDeeperFilesFirst) {
  write("a/f0.h");
  write("a/x/f1.h");
  write("a/y/z/f2.h");
  write("a/y/f3.h");
  write("a/y/f3.cpp");
  write("a/empty/readme.txt");
  Files files;
  EXPECT_TRUE(expandPatternInSubfolders(root_ + "/A/*.h", files));
  EXPECT_EQ(files, (Files{at("a/x/f1.h"), at("a/y/z/f2.h"), at("a/y/f3.h"), at("a/f0.h")}));

  files.clear();
  EXPECT_TRUE(expandPatternInSubfolders(root_ + "/a/x/*.*", files));
  EXPECT_EQ(files, (Files{at("a/x/f1.h")}));
  EXPECT_FALSE(expandPatternInSubfolders(root_ + "/a/*.hxx", files));
  EXPECT_FALSE(expandPatternInSubfolders(root_ + "/nowhere/*.h", files));
}

TEST_F(FileServicesTest, SubfolderExpansionSurvivesLinkCycles) {
  write("a/b/f.h");
  fs::create_directory_symlink("..", at("a/b/up"));  // leads back to a
  fs::create_directory_symlink("b", at("a/again"));  // a second way into b, not a cycle
  Files files;
  EXPECT_TRUE(expandPatternInSubfolders(root_ + "/a/*.h", files));
  EXPECT_EQ(files, (Files{at("a/again/f.h"), at("a/b/f.h")}));
}

TEST_F(FileServicesTest, OnDiskSpellingFollowsTheStoredNames) {
  write("projects/src/Main.cpp");
  const std::string asked = root_ + "\\Projects\\SRC\\main.cpp";
  EXPECT_EQ(onDiskSpelling(asked), at("projects/src/Main.cpp"));
  EXPECT_EQ(onDiskSpelling(asked), at("projects/src/Main.cpp"));  // from the cache
  EXPECT_EQ(onDiskSpelling(root_ + "/PROJECTS//src"), at("projects/src/"));
  EXPECT_EQ(onDiskSpelling(root_ + "/projects/src/Main.cpp"), at("projects/src/Main.cpp"));
  EXPECT_EQ(onDiskSpelling(root_ + "/projects/./SRC/../src/MAIN.cpp"), at("projects/./src/../src/Main.cpp"));

  // Any missing component gives the path back exactly as written.
  for (const std::string& unchanged :
       {root_ + "\\Projects\\lib\\main.cpp", root_ + "/projects/src/Main.cpp/x",
        root_ + "/projects/src/main.cpp/", std::string("c:\\Projects\\SRC\\main.cpp"),
        std::string("\\\\server\\share\\x.h"), std::string()}) {
    EXPECT_EQ(onDiskSpelling(unchanged), unchanged);
  }
  EXPECT_EQ(networkForm(asked), asked);
}

TEST_F(FileServicesTest, ExactNameWinsOverCaseBlindMatches) {
  write("inc/Widget.h", "upper");
  write("inc/widget.h", "lower");
  write("inc/WIDGET.H", "shout");
  std::string found;
  EXPECT_TRUE(findOnDisk(root_ + "/inc/widget.h", found));
  EXPECT_EQ(found, at("inc/widget.h"));
  EXPECT_TRUE(findOnDisk(root_ + "/INC/Widget.h", found));
  EXPECT_EQ(found, at("inc/Widget.h"));
  EXPECT_TRUE(findOnDisk(root_ + "/inc/wIdGeT.h", found));
  EXPECT_EQ(found, at("inc/WIDGET.H"));  // the first of the case-blind matches in name order
}

TEST_F(FileServicesTest, FindOnDiskSeesFilesCreatedAfterAMiss) {
  write("inc/a.h");
  std::string found = "untouched";
  EXPECT_FALSE(findOnDisk(root_ + "/inc/B.h", found));
  EXPECT_EQ(found, "untouched");
  write("inc/b.h");
  EXPECT_TRUE(findOnDisk(root_ + "/inc/b.h", found));
  EXPECT_EQ(found, at("inc/b.h"));
  forgetPathCaches();
  EXPECT_TRUE(findOnDisk(root_ + "/inc/B.h", found));
  EXPECT_EQ(found, at("inc/b.h"));
  EXPECT_FALSE(findOnDisk(root_ + "/inc/a.h/", found));
}

TEST_F(FileServicesTest, OutputNamesAreLegalAndUnique) {
  EXPECT_EQ(outputFileName("Foo::Bar"), "Foo__Bar");
  EXPECT_EQ(outputFileName("Foo_Bar"), "Foo_Bar");
  EXPECT_EQ(outputFileName("Foo::Bar"), "Foo__Bar");
  EXPECT_EQ(outputFileName("a b"), "a_b");
  EXPECT_EQ(outputFileName("a_b"), "a_b0");
  const std::string long_name(50, 'L');
  EXPECT_EQ(outputFileName(long_name), std::string(40, 'L'));
  EXPECT_EQ(outputFileName(long_name + "x"), std::string(36, 'L') + "1");  // the counter is shared

  resetOutputFileNames();
  EXPECT_EQ(outputFileName("a_b"), "a_b");
  EXPECT_EQ(outputFileName("a b"), "a_b0");
}

TEST_F(FileServicesTest, OutputNameCounterRunsInBase36) {
  EXPECT_EQ(outputFileName("q"), "q");
  std::vector<std::string> names;
  for (int i = 0; i < 38; ++i)
    names.push_back(outputFileName("q" + std::string(1, static_cast<char>(0x80 + i))));
  EXPECT_EQ(names[0], "q_");
  EXPECT_EQ(names[1], "q_0");
  EXPECT_EQ(names[10], "q_9");
  EXPECT_EQ(names[11], "q_a");
  EXPECT_EQ(names[36], "q_z");
  EXPECT_EQ(names[37], "q_10");
}

TEST_F(FileServicesTest, ShortNamesFollowTheConfiguration) {
  Configuration configuration;
  configuration.setShortFileNames(true);
  setCurrentConfiguration(&configuration);
  EXPECT_EQ(outputFileName("ChapterOne"), "ChapterO");
  EXPECT_EQ(outputFileName("ChapterOther"), "Chap0");
  EXPECT_EQ(outputFileName("ChapterOwl"), "Chap1");
  EXPECT_EQ(outputFileName("ChapterOne"), "ChapterO");
  setCurrentConfiguration(nullptr);
  EXPECT_EQ(outputFileName("ChapterFour"), "ChapterFour");
}

TEST_F(FileServicesTest, EnsureFolderCreatesEveryMissingAncestor) {
  ensureFolder(root_ + "/out/html/img/");
  EXPECT_TRUE(fs::is_directory(at("out/html/img")));
  ensureFolder(root_ + "\\out\\rtf\\deep\\");
  EXPECT_TRUE(fs::is_directory(at("out/rtf/deep")));
  ensureFolder(root_ + "/out/html/img/");  // already there: the probe finds it writable
  EXPECT_EQ(std::distance(fs::directory_iterator(at("out/html/img")), fs::directory_iterator()), 0);

  // A user's file that happens to carry the probe's name is neither replaced nor removed.
  write("kept/jprtmp.xxx", "precious");
  ensureFolder(root_ + "/kept/");
  EXPECT_EQ(read("kept/jprtmp.xxx"), "precious");

  InFolder inside(root_);
  ensureFolder("rel/a/");
  EXPECT_TRUE(fs::is_directory(at("rel/a")));
  ensureFolder("C:\\docs\\");  // a drive of another system: nothing is created here
  EXPECT_FALSE(fs::exists(at("C:")));
}

TEST_F(FileServicesTest, CopyToOutputReplacesTheDestination) {
  CollectedMessages messages;
  write("in/page.css", "new text");
  write("out/page.css", "old and longer text");
  copyToOutput(root_ + "\\in\\page.css", at("out/page.css"));
  EXPECT_EQ(read("out/page.css"), "new text");
  copyToOutput(at("in/page.css"), at("out/copy.css"));
  EXPECT_EQ(read("out/copy.css"), "new text");
  copyToOutput(at("in/page.css"), at("in/page.css"));  // onto itself: the contents survive
  EXPECT_EQ(read("in/page.css"), "new text");
  EXPECT_TRUE(messages.lines.empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(at("out")), fs::directory_iterator()), 2);
}

TEST_F(FileServicesTest, CopyToOutputReportsAFailedCopy) {
  CollectedMessages messages;
  write("out/keep.css", "kept");
  write("in/a.css", "a");
  copyToOutput(at("in/missing.css"), at("out/keep.css"));
  copyToOutput(at("in"), at("out/folder.css"));  // a folder is no file to copy
  copyToOutput(at("in/a.css"), at("nowhere/a.css"));
  EXPECT_EQ(messages.lines,
            (std::vector<std::string>{
                "error: cannot copy file " + at("in/missing.css") + " to " + at("out/keep.css") + ".",
                "error: cannot copy file " + at("in") + " to " + at("out/folder.css") + ".",
                "error: cannot copy file " + at("in/a.css") + " to " + at("nowhere/a.css") + "."}));
  EXPECT_EQ(read("out/keep.css"), "kept");
  EXPECT_EQ(std::distance(fs::directory_iterator(at("out")), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace quillet
