// The file system of the machine, through POSIX calls.
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "common/file_system.h"

namespace quillet {

namespace {

const char* folderOrCurrent(const std::string& folder) {
  return folder.empty() ? "." : folder.c_str();
}

bool statPath(const std::string& path, struct stat& info) {
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

std::string systemReason(int number) {
  return std::strerror(number);
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

// The process's file creation mask, asked once (asking changes it for a moment).
mode_t creationMask() {
  static const mode_t mask = [] {
    const mode_t current = ::umask(022);
    ::umask(current);
    return current;
  }();
  return mask;
}

class RealFileSystem final : public FileSystem {
 public:
  bool readFile(const std::string& path, std::string& contents, std::string& error) override {
    contents.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      error = systemReason(errno);
      return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) contents.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    bool ok = true;
    for (;;) {
      const ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got == 0) break;
      if (got < 0) {
        if (errno == EINTR) continue;
        error = systemReason(errno);
        ok = false;
        break;
      }
      contents.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    return ok;
  }

  bool writeFile(const std::string& path, std::string_view contents, std::string& error) override {
    if (path.empty()) {
      error = systemReason(ENOENT);
      return false;
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
      error = systemReason(errno);
      return false;
    }
    bool ok = writeAll(fd, contents.data(), contents.size());
    int failure = ok ? 0 : errno;
    // Files are made as an ordinary create would make them, not with mkstemp's private mode.
    ::fchmod(fd, 0666 & ~creationMask());
    if (::close(fd) != 0 && ok) {
      ok = false;
      failure = errno;
    }
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
      ok = false;
      failure = errno;
    }
    if (!ok) {
      ::unlink(temporary.c_str());
      error = systemReason(failure);
    }
    return ok;
  }

  bool copyFile(const std::string& source, const std::string& destination) override {
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

  bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries) override {
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

  FileStatus status(const std::string& path) override {
    FileStatus result;
    struct stat info;
    if (!statPath(path, info)) return result;
    result.kind = S_ISDIR(info.st_mode)   ? PathKind::kFolder
                  : S_ISREG(info.st_mode) ? PathKind::kFile
                                          : PathKind::kOther;
    result.size = static_cast<uint64_t>(info.st_size);
    result.modified = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    result.identity = {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
    return result;
  }

  bool createFolder(const std::string& path) override {
    return !path.empty() && ::mkdir(path.c_str(), 0777) == 0;
  }

  bool createNewFile(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    ::close(fd);
    return true;
  }

  bool rename(const std::string& from, const std::string& to) override {
    return std::rename(from.c_str(), to.c_str()) == 0;
  }

  bool remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

  std::string temporaryName(const std::string& path) override {
    static std::atomic<unsigned> counter{0};
    for (;;) {
      std::string name = path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
      struct stat info;
      if (::lstat(name.c_str(), &info) != 0) return name;
    }
  }

  std::string currentFolder() override {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
  }

  std::optional<std::string> environment(const std::string& name) override {
    if (name.empty()) return std::nullopt;
    const char* value = std::getenv(name.c_str());
    if (!value) return std::nullopt;
    return std::string(value);
  }

  std::string executablePath() override {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
  }

  long maxNameLength(const std::string& path) override {
    errno = 0;
    return ::pathconf(folderOrCurrent(path), _PC_NAME_MAX);
  }

  int64_t now() override {
    struct timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
  }
};

}  // namespace

FileSystem& realFileSystem() {
  static RealFileSystem real;
  return real;
}

}  // namespace quillet
