// The one place where Quillet touches the file system and the process environment. `FileSystem` is the
// seam: reading and writing whole files, listing folders, asking what a path names, creating folders,
// renaming and removing, temporary names, the current folder and environment variables. The process uses
// the real implementation unless a test installs another one (the in-memory fake of memory_file_system.h).
// The free functions below are shorthands for the installed file system. Nothing here caches or reports;
// every path is a native path with "/" separators ("" names the current folder where a folder is expected).
#pragma once

#include <cstdint>
#include <memory>
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

/// How a whole-file read ended.
enum class ReadOutcome {
  kRead,        // the whole file is in the buffer
  kCannotOpen,  // missing, unreadable or failed while reading: the system's reason is given
  kNotRegular,  // a folder, device, pipe or socket: refused without waiting on it or reading from it
  kTooLarge,    // a regular file above the size asked for: refused without reading it
};

/// A new file being written piece by piece (FileSystem::createFile). Destroying it closes the file.
class FileSink {
 public:
  virtual ~FileSink() = default;
  /// Appends `bytes`; false once a write failed (later writes then do nothing).
  virtual bool write(std::string_view bytes) = 0;
  /// Closes the file; false with the system's reason in `error` when this or an earlier write failed.
  virtual bool close(std::string& error) = 0;
};

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

  /// Reads the whole file `path` into `contents` when it is a regular file, or a symbolic link to one, of
  /// at most `maxBytes` bytes. Anything else is refused without blocking on it and without reading more
  /// than `maxBytes` bytes of it. For kCannotOpen, `error` holds the system's reason.
  virtual ReadOutcome readFile(const std::string& path, uint64_t maxBytes, std::string& contents,
                               std::string& error) = 0;
  /// Creates `path` as a new file (nothing of that name may exist) open for writing, with the permissions
  /// an ordinary create gives; null with the system's reason in `error` when it cannot be created.
  virtual std::unique_ptr<FileSink> createFile(const std::string& path, std::string& error) = 0;
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
/// The absolute path `path` ("/" separators) without "." steps, doubled or trailing separators, each ".."
/// taking the step before it back (never above the root); "/" for the root itself.
std::string normalPath(std::string_view path);

}  // namespace quillet
