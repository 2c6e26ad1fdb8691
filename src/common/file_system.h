// The one place where Quillet touches the file system and the process environment. `FileSystem` is the
// seam: reading and writing whole files, listing folders, asking what a path names, creating folders,
// renaming and removing, temporary names, the current folder and environment variables. The process uses
// the real implementation unless a test installs another one (the in-memory fake of memory_file_system.h).
// The free functions below are shorthands for the installed file system. Nothing here caches or reports;
// every path is a native path with "/" separators ("" names the current folder where a folder is expected).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct FolderEntry {
  std::string name;
  bool isFolder = false;  // a folder, or a symbolic link to one
};

/// What a path names. kOther covers devices, pipes and sockets: things that are neither files nor folders.
enum class PathKind { kMissing, kFile, kFolder, kOther };

/// Identifies a file or folder independently of the path that reaches it.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t node = 0;
  bool operator==(const FileIdentity&) const = default;
};

/// What a path names, following symbolic links.
struct FileStatus {
  PathKind kind = PathKind::kMissing;
  uint64_t size = 0;
  /// Last modification, in nanoseconds of the system clock.
  int64_t modified = -1;
  FileIdentity identity;
};

class FileSystem {
 public:
  FileSystem() = default;
  virtual ~FileSystem() = default;
  FileSystem(const FileSystem&) = delete;
  FileSystem& operator=(const FileSystem&) = delete;

  /// Reads the whole file `path` into `contents`; false with the system's reason in `error` when it
  /// cannot be opened or read.
  virtual bool readFile(const std::string& path, std::string& contents, std::string& error) = 0;
  /// Makes `contents` the whole of the file `path`, replacing what is there. The bytes go to a temporary
  /// file beside it that is renamed over it once complete, so a failure leaves the old file whole. False
  /// with the system's reason in `error` when any step failed.
  virtual bool writeFile(const std::string& path, std::string_view contents, std::string& error) = 0;
  /// Copies the file `source` to `destination` with its permissions, replacing what is there; the copy is
  /// written beside the destination and renamed over it, so a failure leaves the destination (and a
  /// source that is the destination itself) untouched. False when the copy failed.
  virtual bool copyFile(const std::string& source, const std::string& destination) = 0;
  /// Fills `entries` with the entries of `folder` other than "." and "..", in byte order of their names;
  /// false (and no entries) when the folder cannot be read.
  virtual bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries) = 0;
  /// What `path` names; kind kMissing when it cannot be reached.
  virtual FileStatus status(const std::string& path) = 0;
  /// Creates the folder `path`; false when it could not be created (also when it exists already).
  virtual bool createFolder(const std::string& path) = 0;
  /// Creates `path` as a new empty file; false when something of that name exists or it cannot be created.
  virtual bool createNewFile(const std::string& path) = 0;
  /// Renames `from` to `to`, replacing a file there; false when it failed.
  virtual bool rename(const std::string& from, const std::string& to) = 0;
  /// Removes the file `path`; false when it could not be removed.
  virtual bool remove(const std::string& path) = 0;
  /// A name for a temporary file beside `path` that nothing uses yet.
  virtual std::string temporaryName(const std::string& path) = 0;
  /// The current folder, absolute, without a trailing separator.
  virtual std::string currentFolder() = 0;
  /// The value of the environment variable `name`, or nullopt when it is not set.
  virtual std::optional<std::string> environment(const std::string& name) = 0;
  /// The path of the running program, or empty when it cannot be told.
  virtual std::string executablePath() = 0;
  /// The longest file name the volume holding the folder `path` accepts, or -1 when it cannot be asked.
  virtual long maxNameLength(const std::string& path) = 0;
  /// The system clock now, in nanoseconds (the clock modification times are given in).
  virtual int64_t now() = 0;
};

/// The file system in use: the real one unless a test installed another.
FileSystem& fileSystem();
/// The real file system of the machine.
FileSystem& realFileSystem();
/// Installs `replacement` (not owned; null for the real one) as the file system in use; returns the one
/// it replaces.
FileSystem* installFileSystem(FileSystem* replacement);

/// Shorthands for the file system in use.
inline bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  return fileSystem().listFolder(folder, entries);
}
/// What `path` names, following symbolic links; kMissing when it cannot be reached.
PathKind pathKind(const std::string& path);
/// The identity of what `path` names, following symbolic links; nullopt when it cannot be reached.
std::optional<FileIdentity> fileIdentity(const std::string& path);
inline bool createFolder(const std::string& path) {
  return fileSystem().createFolder(path);
}
/// Creates the folder `path` and every missing ancestor; true when it exists afterwards.
bool createFolders(const std::string& path);
inline bool createNewFile(const std::string& path) {
  return fileSystem().createNewFile(path);
}
inline bool removeFile(const std::string& path) {
  return fileSystem().remove(path);
}
inline bool copyFile(const std::string& source, const std::string& destination) {
  return fileSystem().copyFile(source, destination);
}
/// When `path` was last modified, in nanoseconds of the system clock; -1 when it cannot be reached.
int64_t modificationTime(const std::string& path);
inline int64_t systemTimeNow() {
  return fileSystem().now();
}
inline long maxNameLength(const std::string& path) {
  return fileSystem().maxNameLength(path);
}
/// The value of the environment variable `name`, or empty when it is not set.
std::string environmentValue(const std::string& name);
/// `path` made absolute against the current folder ("/" separators); an absolute path is kept.
std::string absolutePath(std::string_view path);

}  // namespace quillet
