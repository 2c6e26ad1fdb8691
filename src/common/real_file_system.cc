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
#include <memory>

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
    errno = 0;
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {  // no room, though the system gave no reason
      errno = ENOSPC;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// Writes to an open file descriptor; the first failure is kept and ends the writing.
class DescriptorSink final : public FileSink {
 public:
  explicit DescriptorSink(int fd) : fd_(fd) {}
  ~DescriptorSink() override {
    if (fd_ >= 0) ::close(fd_);
  }
  DescriptorSink(const DescriptorSink&) = delete;
  DescriptorSink& operator=(const DescriptorSink&) = delete;

  bool write(std::string_view bytes) override {
    if (failure_ != 0 || fd_ < 0) return false;
    if (!writeAll(fd_, bytes.data(), bytes.size())) failure_ = errno != 0 ? errno : EIO;
    return failure_ == 0;
  }

  bool close(std::string& error) override {
    if (fd_ >= 0) {
      // A file system that reserves space late (over a network, under a quota) reports a full disk here.
      if (::close(fd_) != 0 && failure_ == 0) failure_ = errno;
      fd_ = -1;
    }
    if (failure_ != 0) error = systemReason(failure_);
    return failure_ == 0;
  }

 private:
  int fd_;
  int failure_ = 0;
};

class RealFileSystem final : public FileSystem {
 public:
  ReadOutcome readFile(const std::string& path, uint64_t maxBytes, std::string& contents,
                       std::string& error) override {
    contents.clear();
    // Opened without waiting, so that a pipe with no writer or a device is refused rather than waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      error = systemReason(errno);
      return ReadOutcome::kCannotOpen;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
      error = systemReason(errno);
      ::close(fd);
      return ReadOutcome::kCannotOpen;
    }
    if (!S_ISREG(info.st_mode)) {
      ::close(fd);
      return ReadOutcome::kNotRegular;
    }
    if (static_cast<uint64_t>(info.st_size) > maxBytes) {
      ::close(fd);
      return ReadOutcome::kTooLarge;
    }
    contents.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    ReadOutcome outcome = ReadOutcome::kRead;
    for (;;) {
      const ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got == 0) break;
      if (got < 0) {
        if (errno == EINTR) continue;
        error = systemReason(errno);
        outcome = ReadOutcome::kCannotOpen;
        break;
      }
      // A file that grows while it is read is held to the same bound.
      if (contents.size() + static_cast<size_t>(got) > maxBytes) {
        outcome = ReadOutcome::kTooLarge;
        break;
      }
      contents.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    if (outcome != ReadOutcome::kRead) contents.clear();
    return outcome;
  }

  std::unique_ptr<FileSink> createFile(const std::string& path, std::string& error) override {
    const int fd = path.empty() ? -1 : ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      error = systemReason(path.empty() ? ENOENT : errno);
      return nullptr;
    }
    return std::make_unique<DescriptorSink>(fd);
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
