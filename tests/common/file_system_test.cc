#include "common/file_system.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace quillet {
namespace {

namespace fs = std::filesystem;

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string name = (fs::temp_directory_path() / "quillet-fs-XXXXXX").string();
    ASSERT_NE(::mkdtemp(name.data()), nullptr);
    root_ = name + "/";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  std::string root_;
};

TEST_F(FileSystemTest, ListsEntriesInByteOrderWithFolderFlags) {
  for (const char* name : {"b.h", "B.h", "a.h", "\xc3\xa9t\xc3\xa9.h"}) std::ofstream(root_ + name) << "x";
  fs::create_directory(root_ + "Zdir");
  fs::create_directory_symlink("Zdir", root_ + "link");
  fs::create_symlink("a.h", root_ + "file_link");
  std::vector<FolderEntry> entries;
  ASSERT_TRUE(listFolder(root_, entries));
  std::vector<std::string> names;
  for (const FolderEntry& entry : entries) names.push_back(entry.name + (entry.isFolder ? "/" : ""));
  EXPECT_EQ(names, (std::vector<std::string>{"B.h", "Zdir/", "a.h", "b.h", "file_link", "link/",
                                             "\xc3\xa9t\xc3\xa9.h"}));
  EXPECT_FALSE(listFolder(root_ + "missing", entries));
  EXPECT_TRUE(entries.empty());
  EXPECT_FALSE(listFolder(root_ + "a.h", entries));
}

TEST_F(FileSystemTest, KindsIdentitiesAndCreation) {
  EXPECT_EQ(pathKind(root_), PathKind::kFolder);
  EXPECT_EQ(pathKind(root_ + "f"), PathKind::kMissing);
  EXPECT_EQ(pathKind(""), PathKind::kMissing);
  EXPECT_TRUE(createNewFile(root_ + "f"));
  EXPECT_FALSE(createNewFile(root_ + "f"));
  EXPECT_EQ(pathKind(root_ + "f"), PathKind::kFile);
  EXPECT_TRUE(createFolder(root_ + "d"));
  EXPECT_FALSE(createFolder(root_ + "d"));
  EXPECT_FALSE(createFolder(root_ + "x/y"));
  fs::create_directory_symlink("d", root_ + "alias");
  EXPECT_EQ(fileIdentity(root_ + "alias"), fileIdentity(root_ + "d"));
  EXPECT_NE(fileIdentity(root_ + "f"), fileIdentity(root_ + "d"));
  EXPECT_FALSE(fileIdentity(root_ + "none").has_value());
  EXPECT_TRUE(removeFile(root_ + "f"));
  EXPECT_FALSE(removeFile(root_ + "f"));
}

TEST_F(FileSystemTest, CopyKeepsTheModeAndLeavesNoTemporaryFile) {
  std::ofstream(root_ + "tool.sh") << "#!/bin/sh\n";
  fs::permissions(root_ + "tool.sh", fs::perms::owner_all);
  ASSERT_TRUE(copyFile(root_ + "tool.sh", root_ + "copy.sh"));
  EXPECT_EQ(fs::status(root_ + "copy.sh").permissions(), fs::perms::owner_all);
  EXPECT_FALSE(copyFile(root_ + "tool.sh", root_ + "no/copy.sh"));
  EXPECT_FALSE(copyFile(root_ + "tool.sh", ""));
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 2);
}

TEST_F(FileSystemTest, VolumesReportTheirLongestName) {
  EXPECT_GE(maxNameLength(root_), 12);
  EXPECT_GE(maxNameLength(""), 12);
  EXPECT_EQ(maxNameLength(root_ + "missing"), -1);
}

}  // namespace
}  // namespace quillet
