// A tree of files in an in-memory file system that is installed for as long as the tree lives, with the
// same root()/write()/path() helpers as TempTree, so a test can run without touching the disk.
#pragma once

#include <string>

#include "common/memory_file_system.h"

namespace quillet {

class MemoryTree {
 public:
  MemoryTree() = default;
  MemoryTree(const MemoryTree&) = delete;
  MemoryTree& operator=(const MemoryTree&) = delete;

  /// The tree's folder, ending in "/".
  std::string root() const { return "/t/"; }
  /// Writes `contents` to `relative` (creating folders) and returns the full path.
  std::string write(const std::string& relative, const std::string& contents) {
    files.addFile(root() + relative, contents);
    return root() + relative;
  }
  /// The full path of `relative`.
  std::string path(const std::string& relative) const { return root() + relative; }

  MemoryFileSystem files;

 private:
  ScopedFileSystem installed_{files};
};

}  // namespace quillet
