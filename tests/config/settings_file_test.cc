#include "config/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/file_contents.h"
#include "config/test_util.h"

namespace quillet {
namespace {

TEST(SettingsFileTest, ReadsSectionsQuotesAndEscapes) {
  const std::string path = testing::TempDir() + "settings_read.ini";
  std::ofstream(path, std::ios::binary) << "; comment\r\n[General]\r\nStyles=\"/a/styles;/b/my styles\"\r\n"
                                           "Plain = C:\\\\styles \r\nRaw=C:\\styles\r\n\r\n[MRU]\n"
                                           "File1=/home/u/one.qlc\nFile2=\"/home/u/a, b.qlc\"\njunk line\n"
                                           "File1=/home/u/again.qlc\n";
  SettingsFile settings;
  ASSERT_TRUE(settings.load(path));
  EXPECT_EQ(settings.value("General", "Styles"), "/a/styles;/b/my styles");
  EXPECT_EQ(settings.value("General", "Plain"), "C:\\styles");
  EXPECT_EQ(settings.value("General", "Raw"), "C:\\styles");  // a lone backslash is kept
  EXPECT_EQ(settings.value("MRU", "File2"), "/home/u/a, b.qlc");
  EXPECT_EQ(settings.value("MRU", "File1"), "/home/u/again.qlc");  // the last of repeated keys wins
  EXPECT_EQ(settings.value("Other", "File1"), std::nullopt);
  EXPECT_FALSE(settings.load(testing::TempDir() + "no_such_settings.ini"));
  EXPECT_EQ(settings.value("General", "Styles"), std::nullopt);
}

TEST(SettingsFileTest, WritesWhatItReadsBack) {
  SettingsFile settings;
  settings.setValue("General", "Styles", "/x;/y");
  settings.setValue("MRU", "File1", "/first.qlc");
  settings.setValue("MRU", "File2", " padded ");
  settings.setValue("MRU", "File1", "C:\\docs\\a \"b\".qlc");
  settings.setValue("MRU", "File3", "gone");
  settings.removeValue("MRU", "File3");
  const std::string folder = testing::TempDir() + "settings_nested";
  std::filesystem::remove_all(folder);
  ASSERT_TRUE(settings.save(folder + "/quillet/quillet.ini"));  // the folder is created
  std::string text;
  ASSERT_TRUE(readFileContents(folder + "/quillet/quillet.ini", text));
  EXPECT_EQ(
      text,
      "[General]\nStyles=\"/x;/y\"\n\n[MRU]\nFile1=C:\\\\docs\\\\a \\\"b\\\".qlc\nFile2=\" padded \"\n");
  SettingsFile again;
  ASSERT_TRUE(again.load(folder + "/quillet/quillet.ini"));
  EXPECT_EQ(again.value("MRU", "File1"), "C:\\docs\\a \"b\".qlc");
  EXPECT_EQ(again.value("MRU", "File2"), " padded ");
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quillet
