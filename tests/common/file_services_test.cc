#include "common/file_services.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/file_contents.h"
#include "common/file_system.h"
#include "common/message_output.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;
using Files = std::vector<std::string>;

// Each test works in a fresh folder under the temporary folder, removed with its contents afterwards.
class FileServicesTest : public ::testing::Test, public MessageOutput {
 protected:
  void SetUp() override {
    std::string name = (fs::temp_directory_path() / "quillet-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(name.data()), nullptr);
    root_ = name;
    forgetPathCaches();
    resetOutputFileNames();
    setCurrentMessageOutput(this);
  }
  void TearDown() override {
    setCurrentMessageOutput(nullptr);
    fs::current_path(old_folder_);
    fs::remove_all(root_);
  }
  void status(std::string_view) override {}
  void report(std::string_view text) override { reports_.emplace_back(text); }

  void write(const std::string& relative, const std::string& text = "x") {
    fs::create_directories(fs::path(at(relative)).parent_path());
    std::ofstream(at(relative), std::ios::binary) << text;
  }
  std::string at(const std::string& relative) const { return root_ + "/" + relative; }
  std::string read(const std::string& relative) const {
    std::string text;
    readFileContents(at(relative), text);
    return text;
  }
  long entryCount(const std::string& relative) const {
    return std::distance(fs::directory_iterator(at(relative)), fs::directory_iterator());
  }

  std::string root_;
  fs::path old_folder_ = fs::current_path();
  Files reports_;
};

TEST(WildcardTest, MatchesAsTheWindowsFileSystemsDo) {
  for (auto [name, wildcard] : {std::pair{"Makefile", "*.*"},
                                {"a.b.c", "*.*"},
                                {"README", "*."},
                                {"main.cpp", "*.CPP"},
                                {"a.h", "?.h"},
                                {"foo", "foo.*"},
                                {"abxbxc", "a*b*c"},
                                {"", "*"}}) {
    EXPECT_TRUE(matchesWildcard(name, wildcard)) << name << " " << wildcard;
  }
  for (auto [name, wildcard] :
       {std::pair{"main.c", "*."}, {"main.cpp", "*.c"}, {"ab.h", "?.h"}, {"abxbx", "a*b*c"}}) {
    EXPECT_FALSE(matchesWildcard(name, wildcard)) << name << " " << wildcard;
  }
}

TEST_F(FileServicesTest, ExpandPatternListsMatchesInNameOrderWithStoredSpelling) {
  for (const char* file : {"Src/b.cpp", "Src/A.cpp", "Src/c.h", "Src/sub.cpp/inner.h", "top.c"}) write(file);
  Files files{"first"};
  EXPECT_TRUE(expandPattern(root_ + "\\src\\*.CPP", files, true));
  EXPECT_EQ(files, (Files{"first", at("Src/A.cpp"), at("Src/b.cpp")}));
  files.clear();
  EXPECT_TRUE(expandPattern(root_ + "/SRC/*.cpp", files, false));  // the folder sub.cpp matches too
  EXPECT_EQ(files, (Files{at("Src/A.cpp"), at("Src/b.cpp"), at("Src/sub.cpp")}));
  for (const std::string& none :
       {root_ + "/Src/*.hpp", root_ + "/missing/*.*", root_ + "/Src/", at("C:\\Src\\*.c")}) {
    EXPECT_FALSE(expandPattern(none, files, true)) << none;
  }
  EXPECT_EQ(files.size(), 3u);

  fs::current_path(root_);  // relative patterns give relative paths
  files.clear();
  EXPECT_TRUE(expandPattern("*.c", files, true));
  EXPECT_TRUE(expandPattern("SRC\\C.H", files, true));
  EXPECT_EQ(files, (Files{"top.c", "Src/c.h"}));
}

TEST_F(FileServicesTest, SubfolderExpansionListsDeeperFilesFirstAndSurvivesLinkCycles) {
  for (const char* file : {"a/f0.h", "a/x/f1.h", "a/y/z/f2.h", "a/y/f3.h", "a/y/f3.cpp", "a/w/readme.txt"})
    write(file);
  fs::create_directory_symlink("..", at("a/y/z/up"));  // back to a/y: not entered twice
  Files files;
  EXPECT_TRUE(expandPatternInSubfolders(root_ + "/A/*.h", files));
  EXPECT_EQ(files, (Files{at("a/x/f1.h"), at("a/y/z/f2.h"), at("a/y/f3.h"), at("a/f0.h")}));
  EXPECT_FALSE(expandPatternInSubfolders(root_ + "/a/*.hxx", files));
  EXPECT_FALSE(expandPatternInSubfolders(root_ + "/nowhere/*.h", files));
}

TEST_F(FileServicesTest, OnDiskSpellingFollowsTheStoredNames) {
  write("projects/src/Main.cpp");
  const std::string asked = root_ + "\\Projects\\SRC\\main.cpp";
  EXPECT_EQ(onDiskSpelling(asked), at("projects/src/Main.cpp"));
  EXPECT_EQ(onDiskSpelling(asked), at("projects/src/Main.cpp"));  // from the cache
  EXPECT_EQ(onDiskSpelling(root_ + "/PROJECTS//src"), at("projects/src/"));
  EXPECT_EQ(onDiskSpelling(root_ + "/projects/./SRC/../src/MAIN.cpp"), at("projects/./src/../src/Main.cpp"));
  // Any missing component gives the path back exactly as written.
  for (const std::string& unchanged :
       {root_ + "\\Projects\\lib\\main.cpp", root_ + "/projects/src/Main.cpp/x",
        root_ + "/projects/src/main.cpp/", std::string("c:\\Projects\\SRC\\main.cpp"),
        std::string("\\\\server\\share\\x.h"), std::string()}) {
    EXPECT_EQ(onDiskSpelling(unchanged), unchanged);
  }
  EXPECT_EQ(networkForm(asked), asked);
  fs::current_path(root_);
  EXPECT_EQ(onDiskSpelling("Projects\\SRC"), "projects/src/");
}

TEST_F(FileServicesTest, FindOnDiskPrefersTheExactNameAndSeesNewFiles) {
  write("inc/Widget.h");
  write("inc/widget.h");
  write("inc/WIDGET.H");
  std::string found = "untouched";
  EXPECT_FALSE(findOnDisk(root_ + "/inc/gadget.h", found));
  EXPECT_EQ(found, "untouched");
  for (auto [asked, stored] :
       {std::pair{"/inc/widget.h", "inc/widget.h"},
        {"/INC/Widget.h", "inc/Widget.h"},
        {"/inc/wIdGeT.h", "inc/WIDGET.H"}}) {  // the first case-blind match in name order
    EXPECT_TRUE(findOnDisk(root_ + asked, found));
    EXPECT_EQ(found, at(stored));
  }
  write("inc/gadget.h");  // a miss is not remembered
  EXPECT_TRUE(findOnDisk(root_ + "/inc/gadget.h", found));
  EXPECT_FALSE(findOnDisk(root_ + "/inc/gadget.h/", found));
  EXPECT_FALSE(findOnDisk(root_ + "/inc/NEW.H", found));  // lists the folder
  write("inc/new.h");                                     // at once, within the same tick of the file clock
  EXPECT_TRUE(findOnDisk(root_ + "/inc/NEW.H", found));
  EXPECT_EQ(found, at("inc/new.h"));
}

TEST_F(FileServicesTest, OutputNamesAreLegalUniqueAndCounted) {
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
  Files names;  // requests that all become q_
  for (int i = 0; i < 37; ++i)
    names.push_back(outputFileName("q" + std::string(1, static_cast<char>(0x80 + i))));
  EXPECT_EQ(names[0], "q_");
  EXPECT_EQ(names[35], "q_z");  // counter 35
  EXPECT_EQ(names[36], "q_10");

  resetOutputFileNames(/*short_names=*/true);
  EXPECT_EQ(outputFileName("ChapterOne"), "ChapterO");
  EXPECT_EQ(outputFileName("ChapterOther"), "Chap0");
  EXPECT_EQ(outputFileName("ChapterOwl"), "Chap1");
}

TEST_F(FileServicesTest, EnsureFolderCreatesEveryMissingAncestor) {
  ensureFolder(root_ + "/out/html/img/");
  ensureFolder(root_ + "\\out\\rtf\\deep\\");
  EXPECT_TRUE(fs::is_directory(at("out/html/img")));
  EXPECT_TRUE(fs::is_directory(at("out/rtf/deep")));
  ensureFolder(root_ + "/out/html/img/");  // already there: the probe file comes and goes
  EXPECT_EQ(entryCount("out/html/img"), 0);
  write("kept/jprtmp.xxx", "precious");  // a file of the probe's name is neither replaced nor removed
  ensureFolder(root_ + "/kept/");
  EXPECT_EQ(read("kept/jprtmp.xxx"), "precious");
  fs::current_path(root_);
  ensureFolder("rel/a/");
  ensureFolder("C:\\docs\\");  // a drive of another system: nothing is created here
  EXPECT_TRUE(fs::is_directory(at("rel/a")));
  EXPECT_FALSE(fs::exists(at("C:")));
}

TEST_F(FileServicesTest, CopyToOutputReplacesTheDestinationOrReportsTheFailure) {
  write("in/page.css", "new text");
  write("out/page.css", "old and longer text");
  copyToOutput(root_ + "\\in\\page.css", at("out/page.css"));
  copyToOutput(at("in/page.css"), at("in/page.css"));  // onto itself: the contents survive
  EXPECT_EQ(read("out/page.css"), "new text");
  EXPECT_EQ(read("in/page.css"), "new text");
  EXPECT_TRUE(reports_.empty());

  copyToOutput(at("in/missing.css"), at("out/page.css"));
  copyToOutput(at("in"), at("out/folder.css"));  // a folder is no file to copy
  copyToOutput(at("in/page.css"), at("nowhere/page.css"));
  EXPECT_EQ(reports_,
            (Files{"error: cannot copy file " + at("in/missing.css") + " to " + at("out/page.css") + ".",
                   "error: " + at("in") + " is not a regular file",
                   "error: cannot copy file " + at("in/page.css") + " to " + at("nowhere/page.css") + "."}));
  EXPECT_EQ(read("out/page.css"), "new text");
  EXPECT_EQ(entryCount("out"), 1);  // no temporary copy left behind
}

TEST_F(FileServicesTest, FolderListingsAreInByteOrderAndVolumesKnowTheirNameLength) {
  for (const char* name : {"b.h", "B.h", "a.h", "\xc3\xa9t\xc3\xa9.h", "Zdir/x"}) write(name);
  fs::create_directory_symlink("Zdir", at("link"));
  std::vector<FolderEntry> entries;
  ASSERT_TRUE(listFolder(root_, entries));
  Files names;
  for (const FolderEntry& entry : entries) names.push_back(entry.name + (entry.isFolder ? "/" : ""));
  EXPECT_EQ(names, (Files{"B.h", "Zdir/", "a.h", "b.h", "link/", "\xc3\xa9t\xc3\xa9.h"}));
  EXPECT_FALSE(listFolder(at("a.h"), entries));
  EXPECT_GE(maxNameLength(root_), 12);
  EXPECT_EQ(maxNameLength(at("missing")), -1);
}

}  // namespace
}  // namespace quillet
