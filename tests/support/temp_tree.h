// A temporary folder for tests, removed with everything in it when the object goes away.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace quillet {

class TempTree {
 public:
  TempTree() {
    std::random_device random;
    root_ = std::filesystem::temp_directory_path() / ("quillet-test-" + std::to_string(random()));
    std::filesystem::create_directories(root_);
  }
  ~TempTree() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  /// The tree's folder, ending in "/".
  std::string root() const { return root_.string() + "/"; }
  /// Writes `contents` to `relative` (creating folders) and returns the full path.
  std::string write(const std::string& relative, const std::string& contents) const {
    const std::filesystem::path path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
    return path.string();
  }
  /// The full path of `relative`.
  std::string path(const std::string& relative) const { return (root_ / relative).string(); }

 private:
  std::filesystem::path root_;
};

}  // namespace quillet
