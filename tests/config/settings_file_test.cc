#include "config/settings_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/file_contents.h"
#include "config/style_folders.h"

namespace quillet {
namespace {

std::string writeTemp(const std::string& name, const std::string& text) {
  const std::string path = testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

TEST(SettingsFileTest, ReadsSectionsQuotesAndEscapes) {
  const std::string path = writeTemp("settings_read.ini",
                                     "; comment\r\n"
                                     "[General]\r\n"
                                     "Styles=\"/a/styles;/b/my styles\"\r\n"
                                     "Plain = C:\\\\styles \r\n"
                                     "Raw=C:\\styles\r\n"
                                     "\r\n"
                                     "[MRU]\n"
                                     "File1=/home/u/one.qlc\n"
                                     "File2=\"/home/u/a, b.qlc\"\n"
                                     "junk line\n"
                                     "File1=/home/u/again.qlc\n");
  SettingsFile settings;
  ASSERT_TRUE(settings.load(path));
  EXPECT_EQ(settings.value("General", "Styles"), "/a/styles;/b/my styles");
  EXPECT_EQ(settings.value("General", "Plain"), "C:\\styles");
  EXPECT_EQ(settings.value("General", "Raw"), "C:\\styles");  // a lone backslash is kept
  EXPECT_EQ(settings.value("MRU", "File2"), "/home/u/a, b.qlc");
  EXPECT_EQ(settings.value("MRU", "File1"), "/home/u/again.qlc");  // the last of repeated keys wins
  EXPECT_EQ(settings.value("MRU", "File3"), std::nullopt);
  EXPECT_EQ(settings.value("Other", "File1"), std::nullopt);
  std::remove(path.c_str());

  EXPECT_FALSE(settings.load(testing::TempDir() + "no_such_settings.ini"));
  EXPECT_EQ(settings.value("General", "Styles"), std::nullopt);
}

TEST(SettingsFileTest, WritesWhatItReadsBack) {
  SettingsFile settings;
  settings.setValue("General", "Styles", "/x;/y");
  settings.setValue("MRU", "File1", "C:\\docs\\a \"b\".qlc");
  settings.setValue("MRU", "File2", " padded ");
  settings.setValue("MRU", "File1", "/replaced.qlc");
  settings.setValue("MRU", "File3", "gone");
  settings.removeValue("MRU", "File3");
  const std::string path = testing::TempDir() + "settings_nested/quillet/quillet.ini";
  std::filesystem::remove_all(testing::TempDir() + "settings_nested");
  ASSERT_TRUE(settings.save(path));  // the folder is created
  std::string text;
  ASSERT_TRUE(readFileContents(path, text));
  EXPECT_EQ(text, "[General]\nStyles=\"/x;/y\"\n\n[MRU]\nFile1=/replaced.qlc\nFile2=\" padded \"\n");
  SettingsFile again;
  ASSERT_TRUE(again.load(path));
  EXPECT_EQ(again.value("MRU", "File2"), " padded ");
  again.setValue("MRU", "File1", "C:\\docs\\a \"b\".qlc");
  ASSERT_TRUE(again.save(path));
  SettingsFile third;
  ASSERT_TRUE(third.load(path));
  EXPECT_EQ(third.value("MRU", "File1"), "C:\\docs\\a \"b\".qlc");
  std::filesystem::remove_all(testing::TempDir() + "settings_nested");
}

TEST(SettingsFileTest, UserSettingsFollowTheConfigHome) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old != nullptr ? old : "";
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(SettingsFile::userSettingsPath(), "/cfg/quillet/quillet.ini");
  setenv("XDG_CONFIG_HOME", "", 1);
  const char* home = std::getenv("HOME");
  EXPECT_EQ(SettingsFile::userSettingsPath(),
            std::string(home != nullptr ? home : "") + "/.config/quillet/quillet.ini");
  if (old != nullptr) {
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

}  // namespace
}  // namespace quillet
