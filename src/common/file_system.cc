#include "common/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>

namespace quillet {

namespace {

const char* folderOrCurrent(const std::string& folder) {
  return folder.empty() ? "." : folder.c_str();
}

bool statPath(const std::string& path, struct stat& info) {
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

// Writes all of `size` bytes, resuming after interruptions and short writes.
bool writeAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool copyContents(int from, int to) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(from, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (!writeAll(to, buffer, static_cast<size_t>(got))) return false;
  }
}

}  // namespace

bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  DIR* dir = ::opendir(folderOrCurrent(folder));
  if (!dir) return false;
  std::string base = folder;
  if (!base.empty() && base.back() != '/') base += '/';
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    FolderEntry& added = entries.emplace_back();
    added.name = name;
    if (entry->d_type == DT_DIR) {
      added.isFolder = true;
    } else if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
      struct stat info;
      added.isFolder = statPath(base + added.name, info) && S_ISDIR(info.st_mode);
    }
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return true;
}

int64_t modificationTime(const std::string& path) {
  struct stat info {};
  if (::stat(path.empty() ? "." : path.c_str(), &info) != 0) return -1;
  return static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

int64_t systemTimeNow() {
  struct timespec now {};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

PathKind pathKind(const std::string& path) {
  struct stat info;
  if (!statPath(path, info)) return PathKind::kMissing;
  return S_ISDIR(info.st_mode) ? PathKind::kFolder : PathKind::kFile;
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
  struct stat info;
  if (!statPath(path, info)) return std::nullopt;
  return FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

bool createFolder(const std::string& path) {
  return !path.empty() && ::mkdir(path.c_str(), 0777) == 0;
}

bool createNewFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool removeFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

bool copyFile(const std::string& source, const std::string& destination) {
  const int from = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (from < 0) return false;
  struct stat info;
  if (::fstat(from, &info) != 0 || !S_ISREG(info.st_mode) || destination.empty()) {
    ::close(from);
    return false;
  }
  std::string temporary = destination + ".XXXXXX";
  const int to = ::mkstemp(temporary.data());
  if (to < 0) {
    ::close(from);
    return false;
  }
  bool ok = copyContents(from, to);
  ok = ::fchmod(to, info.st_mode & 0777) == 0 && ok;
  ok = ::close(to) == 0 && ok;
  ::close(from);
  ok = ok && std::rename(temporary.c_str(), destination.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

long maxNameLength(const std::string& path) {
  errno = 0;
  return ::pathconf(folderOrCurrent(path), _PC_NAME_MAX);
}

}  // namespace quillet
