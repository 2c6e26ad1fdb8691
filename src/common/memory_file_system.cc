#include "common/memory_file_system.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

namespace quillet {

namespace {

std::string parentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

MemoryFileSystem::MemoryFileSystem() {
  folders_.insert("/");
  addFolder("/work");
}

std::string MemoryFileSystem::normal(const std::string& path) const {
  std::string absolute = path.starts_with('/') ? path : "/work/" + path;
  return normalPath(absolute);
}

bool MemoryFileSystem::folderExists(const std::string& normal) const {
  return folders_.count(normal) > 0;
}

uint64_t MemoryFileSystem::usedBytes() const {
  return used_;
}

void MemoryFileSystem::addFile(const std::string& path, std::string_view contents) {
  const std::string at = normal(path);
  addFolder(parentOf(at));
  std::string& file = files_[at];
  used_ = used_ - file.size() + contents.size();
  file = std::string(contents);
  modified_[at] = ++clock_;
}

void MemoryFileSystem::addFolder(const std::string& path) {
  for (std::string at = normal(path); !folders_.count(at); at = parentOf(at)) folders_.insert(at);
}

void MemoryFileSystem::addSpecial(const std::string& path) {
  const std::string at = normal(path);
  addFolder(parentOf(at));
  specials_.insert(at);
}

std::optional<std::string> MemoryFileSystem::file(const std::string& path) const {
  const auto found = files_.find(normal(path));
  if (found == files_.end()) return std::nullopt;
  return found->second;
}

std::vector<std::string> MemoryFileSystem::filePaths() const {
  std::vector<std::string> paths;
  for (const auto& [path, contents] : files_) paths.push_back(path);
  return paths;
}

ReadOutcome MemoryFileSystem::readFile(const std::string& path, uint64_t maxBytes, std::string& contents,
                                       std::string& error) {
  contents.clear();
  const std::string at = normal(path);
  const auto found = files_.find(at);
  if (found != files_.end()) {
    if (found->second.size() > maxBytes) return ReadOutcome::kTooLarge;
    contents = found->second;
    return ReadOutcome::kRead;
  }
  if (folderExists(at) || specials_.count(at)) return ReadOutcome::kNotRegular;
  error = "No such file or directory";
  return ReadOutcome::kCannotOpen;
}

// Appends to a file of the tree as it is written, so that a full "disk" shows at the write that fills it.
class MemoryFileSystem::Sink final : public FileSink {
 public:
  Sink(MemoryFileSystem& files, std::string path) : files_(files), path_(std::move(path)) {}

  bool write(std::string_view bytes) override {
    if (failed_) return false;
    const auto found = files_.files_.find(path_);
    if (found == files_.files_.end() || files_.used_ + bytes.size() > files_.capacity_) {
      failed_ = true;
      return false;
    }
    found->second.append(bytes);
    files_.used_ += bytes.size();
    files_.modified_[path_] = ++files_.clock_;
    return true;
  }

  bool close(std::string& error) override {
    if (failed_) error = "No space left on device";
    return !failed_;
  }

 private:
  MemoryFileSystem& files_;
  std::string path_;
  bool failed_ = false;
};

std::unique_ptr<FileSink> MemoryFileSystem::createFile(const std::string& path, std::string& error) {
  const std::string at = normal(path);
  if (path.empty() || !folderExists(parentOf(at))) {
    error = "No such file or directory";
    return nullptr;
  }
  if (folderExists(at) || files_.count(at) || specials_.count(at)) {
    error = "File exists";
    return nullptr;
  }
  files_[at];
  modified_[at] = ++clock_;
  return std::make_unique<Sink>(*this, at);
}

bool MemoryFileSystem::listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  const std::string at = normal(folder);
  if (!folderExists(at)) return false;
  const std::string prefix = at == "/" ? "/" : at + "/";
  auto direct = [&prefix](const std::string& path) {
    return path.size() > prefix.size() && path.starts_with(prefix) &&
           path.find('/', prefix.size()) == std::string::npos;
  };
  for (const auto& [path, contents] : files_)
    if (direct(path)) entries.push_back({path.substr(prefix.size()), false});
  for (const std::string& path : specials_)
    if (direct(path)) entries.push_back({path.substr(prefix.size()), false});
  for (const std::string& path : folders_)
    if (direct(path)) entries.push_back({path.substr(prefix.size()), true});
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return true;
}

FileStatus MemoryFileSystem::status(const std::string& path) {
  FileStatus result;
  if (path.empty()) return result;
  const std::string at = normal(path);
  const auto found = files_.find(at);
  if (found != files_.end()) {
    result.kind = PathKind::kFile;
    result.size = found->second.size();
    result.modified = modified_[at];
  } else if (folderExists(at)) {
    result.kind = PathKind::kFolder;
    result.modified = 0;
  } else if (specials_.count(at)) {
    result.kind = PathKind::kOther;
  } else {
    return result;
  }
  result.identity = {1, std::hash<std::string>()(at)};
  return result;
}

bool MemoryFileSystem::createFolder(const std::string& path) {
  if (path.empty()) return false;
  const std::string at = normal(path);
  if (folderExists(at) || files_.count(at) || !folderExists(parentOf(at))) return false;
  folders_.insert(at);
  return true;
}

bool MemoryFileSystem::createNewFile(const std::string& path) {
  const std::string at = normal(path);
  if (folderExists(at) || files_.count(at) || specials_.count(at) || !folderExists(parentOf(at)))
    return false;
  files_[at];
  modified_[at] = ++clock_;
  return true;
}

bool MemoryFileSystem::rename(const std::string& from, const std::string& to) {
  const std::string source = normal(from);
  const std::string target = normal(to);
  const auto found = files_.find(source);
  if (found == files_.end() || !folderExists(parentOf(target)) || folderExists(target)) return false;
  if (source == target) return true;
  std::string contents = std::move(found->second);
  files_.erase(found);
  std::string& replaced = files_[target];
  used_ -= replaced.size();
  replaced = std::move(contents);
  modified_[target] = ++clock_;
  return true;
}

bool MemoryFileSystem::remove(const std::string& path) {
  const auto found = files_.find(normal(path));
  if (found == files_.end()) return false;
  used_ -= found->second.size();
  files_.erase(found);
  return true;
}

std::string MemoryFileSystem::temporaryName(const std::string& path) {
  for (;;) {
    std::string name = path + ".tmp" + std::to_string(temporaries_++);
    if (status(name).kind == PathKind::kMissing) return name;
  }
}

std::optional<std::string> MemoryFileSystem::environment(const std::string& name) {
  const auto found = environment_.find(name);
  if (found == environment_.end()) return std::nullopt;
  return found->second;
}

}  // namespace quillet
