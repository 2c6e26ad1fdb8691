#include "config/style_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/file_services.h"
#include "config/configuration.h"
#include "config/test_util.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

// Points the style lookup at folders of the test's own.
class StyleFoldersTest : public testing::Test {
 protected:
  void SetUp() override { fs::remove_all(base_); }
  void TearDown() override { fs::remove_all(base_); }
  void write(const std::string& relative, const std::string& text = "x") {
    const fs::path path = fs::path(base_) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
    forgetPathCaches();  // folder listings read before this test know nothing of its files
  }

  const std::string base_ = testing::TempDir() + "style_folders";
  ScopedEnv styles_{"QUILLET_STYLES", nullptr};
  ScopedEnv config_home_{"XDG_CONFIG_HOME", (base_ + "/config").c_str()};
};

TEST_F(StyleFoldersTest, EnvironmentComesBeforeSettingsFileBeforeBundledFolder) {
  if (!fs::exists("/etc/xdg/quillet/quillet.ini")) {
    EXPECT_EQ(styleFolders(), std::vector<std::string>{bundledStyleFolder()});
    EXPECT_TRUE(bundledStyleFolder().ends_with("share/quillet/styles") ||
                bundledStyleFolder() == QUILLET_SOURCE_STYLES);
  }
  write("config/quillet/quillet.ini", "[General]\nStyles=/from/settings; /second/\n");
  EXPECT_EQ(styleFolders(), (std::vector<std::string>{"/from/settings", "/second/"}));
  styles_.set("/from/env;;");
  EXPECT_EQ(styleFolders(), (std::vector<std::string>{"/from/env"}));
}

TEST_F(StyleFoldersTest, FindsTheSelectedSetInTheFirstFolderThatHasIt) {
  write("second/HTML/Standard Style/main.html");
  write("first/RTF/Paper/main.rtf");
  write("second/rtf/paper/MAIN.RTF");
  styles_.set((base_ + "/first/;" + base_ + "/second\\").c_str());
  Configuration c;
  EXPECT_EQ(c.styleFolderFile(OutputKind::kHtml, "main.html"),
            base_ + "/second/HTML/Standard Style/main.html");
  c.setRtfStyle("Paper");
  EXPECT_EQ(c.styleFolderFile(OutputKind::kRtf, "main.rtf"), base_ + "/first/RTF/Paper/main.rtf");
  styles_.set((base_ + "/second").c_str());  // looked up case-blind, the stored spelling wins
  EXPECT_EQ(c.styleFolderFile(OutputKind::kRtf, "main.rtf"), base_ + "/second/rtf/paper/MAIN.RTF");
  // Found nowhere: the path in the last folder; no folders at all: the bare name.
  EXPECT_EQ(c.styleFolderFile(OutputKind::kWinHelp, "main.rtf"),
            base_ + "/second/WinHelp/Standard Style/main.rtf");
  styles_.set("");
  EXPECT_EQ(c.styleFolderFile(OutputKind::kHtml, "main.html"), "main.html");
}

}  // namespace
}  // namespace quillet
