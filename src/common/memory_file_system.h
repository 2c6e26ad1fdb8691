// An in-memory file system for tests: files, folders and environment variables held in maps, so that a run,
// the output stage or the configuration reader can be exercised without touching the disk. Install it with
// ScopedFileSystem. Paths are taken as written ("/" separators); a relative path is taken from the current
// folder "/work". Writing into a missing folder fails, as it would on disk, and a byte limit can make writes
// fail as a full disk does.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_system.h"

namespace quillet {

class MemoryFileSystem final : public FileSystem {
 public:
  MemoryFileSystem();

  /// Adds (or replaces) the file `path` with `contents`, creating its folders.
  void addFile(const std::string& path, std::string_view contents);
  /// Adds the folder `path` and its ancestors.
  void addFolder(const std::string& path);
  /// Adds a path that is neither a file nor a folder (a device or a pipe).
  void addSpecial(const std::string& path);
  /// Sets the environment variable `name`.
  void setEnvironment(const std::string& name, const std::string& value) { environment_[name] = value; }
  /// The contents of the file `path`, or nullopt when there is none.
  std::optional<std::string> file(const std::string& path) const;
  /// Every file path, in byte order.
  std::vector<std::string> filePaths() const;
  /// The bytes all files hold together.
  uint64_t usedBytes() const;
  /// Makes writes fail with "No space left on device" once the files hold more than `bytes` in all.
  void setCapacity(uint64_t bytes) { capacity_ = bytes; }

  ReadOutcome readFile(const std::string& path, uint64_t maxBytes, std::string& contents,
                       std::string& error) override;
  std::unique_ptr<FileSink> createFile(const std::string& path, std::string& error) override;
  bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries) override;
  FileStatus status(const std::string& path) override;
  bool createFolder(const std::string& path) override;
  bool createNewFile(const std::string& path) override;
  bool rename(const std::string& from, const std::string& to) override;
  bool remove(const std::string& path) override;
  std::string temporaryName(const std::string& path) override;
  std::string currentFolder() override { return "/work"; }
  std::optional<std::string> environment(const std::string& name) override;
  std::string executablePath() override { return "/opt/quillet/bin/quillet"; }
  long maxNameLength(const std::string&) override { return 255; }
  int64_t now() override { return ++clock_; }

 private:
  class Sink;
  std::string normal(const std::string& path) const;
  bool folderExists(const std::string& normal) const;

  std::map<std::string, std::string> files_;
  std::map<std::string, int64_t> modified_;
  std::set<std::string> folders_;
  std::set<std::string> specials_;
  std::map<std::string, std::string> environment_;
  uint64_t capacity_ = UINT64_MAX;
  uint64_t used_ = 0;  // bytes of all files
  int64_t clock_ = 1000;
  unsigned temporaries_ = 0;
};

/// Installs a file system for as long as it lives, then puts the previous one back.
class ScopedFileSystem {
 public:
  explicit ScopedFileSystem(FileSystem& files) : previous_(installFileSystem(&files)) {}
  ~ScopedFileSystem() { installFileSystem(previous_); }
  ScopedFileSystem(const ScopedFileSystem&) = delete;
  ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

 private:
  FileSystem* previous_;
};

}  // namespace quillet
