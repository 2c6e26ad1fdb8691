// The one place where Quillet touches the file system: listing a folder, asking what a path names, creating
// folders and files, copying a file and asking a volume for its longest file name. The file services
// (file_services.h) and the output stage build on these calls; nothing here caches or reports, and every
// path is a native path with "/" separators ("" names the current folder where a folder is expected).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillet {

struct FolderEntry {
  std::string name;
  bool isFolder = false;  // a folder, or a symbolic link to one
};

enum class PathKind { kMissing, kFile, kFolder };

/// Identifies a file or folder independently of the path that reaches it.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t node = 0;
  bool operator==(const FileIdentity&) const = default;
};

/// Fills `entries` with the entries of `folder` other than "." and "..", in byte order of their names;
/// false (and no entries) when the folder cannot be read.
bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries);
/// What `path` names, following symbolic links; kMissing when it cannot be reached.
PathKind pathKind(const std::string& path);
/// The identity of what `path` names, following symbolic links; nullopt when it cannot be reached.
std::optional<FileIdentity> fileIdentity(const std::string& path);
/// Creates the folder `path`; false when it could not be created (also when it exists already).
bool createFolder(const std::string& path);
/// Creates `path` as a new empty file; false when something of that name exists or it cannot be created.
bool createNewFile(const std::string& path);
/// Removes the file `path`; false when it could not be removed.
bool removeFile(const std::string& path);
/// Copies the file `source` to `destination`, replacing what is there; the copy is written beside the
/// destination and renamed over it, so a failure leaves the destination (and a source that is the
/// destination itself) untouched. False when the copy failed.
bool copyFile(const std::string& source, const std::string& destination);
/// When `path` was last modified, in nanoseconds of the system clock; -1 when it cannot be reached.
int64_t modificationTime(const std::string& path);
/// The system clock now, in nanoseconds (the clock modification times are given in).
int64_t systemTimeNow();
/// The longest file name the volume holding `path` accepts, or -1 when it cannot be asked.
long maxNameLength(const std::string& path);

}  // namespace quillet
