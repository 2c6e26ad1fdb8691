// Runs the editor tests inside one QApplication on the offscreen platform, with the user's settings file
// redirected to a temporary folder so that no test reads or writes the real one.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::filesystem::path settings =
      std::filesystem::temp_directory_path() / ("quillet-editor-test-" + std::to_string(getpid()));
  std::filesystem::create_directories(settings);
  setenv("XDG_CONFIG_HOME", settings.c_str(), 1);
  testing::InitGoogleTest(&argc, argv);
  int result = 0;
  {
    QApplication application(argc, argv);
    result = RUN_ALL_TESTS();
  }
  std::error_code ignored;
  std::filesystem::remove_all(settings, ignored);
  return result;
}
