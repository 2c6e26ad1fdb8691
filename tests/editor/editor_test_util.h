// Small helpers shared by the editor tests: a fixture that restores the current folder (the editor moves it
// to a configuration's folder), and finding a page's controls by their object names.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QWidget>
#include <filesystem>

namespace quillet {

class EditorTest : public testing::Test {
 protected:
  void SetUp() override { folder_ = std::filesystem::current_path(); }
  void TearDown() override { std::filesystem::current_path(folder_); }

 private:
  std::filesystem::path folder_;
};

/// The child of `parent` of type T called `name`; fails the test when there is none.
template <typename T>
T* control(const QObject* parent, const char* name) {
  T* found = parent->findChild<T*>(name);
  EXPECT_NE(found, nullptr) << "no control " << name;
  return found;
}

}  // namespace quillet
