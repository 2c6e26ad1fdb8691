#include "common/file_system.h"

#include <atomic>
#include <vector>

namespace quillet {

namespace {

std::atomic<FileSystem*> installed{nullptr};

}  // namespace

FileSystem& fileSystem() {
  FileSystem* replacement = installed.load(std::memory_order_acquire);
  return replacement ? *replacement : realFileSystem();
}

FileSystem* installFileSystem(FileSystem* replacement) {
  return installed.exchange(replacement, std::memory_order_acq_rel);
}

PathKind pathKind(const std::string& path) {
  return fileSystem().status(path).kind;
}

std::optional<FileIdentity> fileIdentity(const std::string& path) {
  const FileStatus status = fileSystem().status(path);
  if (status.kind == PathKind::kMissing) return std::nullopt;
  return status.identity;
}

int64_t modificationTime(const std::string& path) {
  return fileSystem().status(path.empty() ? "." : path).modified;
}

bool createFolders(const std::string& path) {
  FileSystem& files = fileSystem();
  if (path.empty()) return true;
  for (size_t end = path.find('/', 1); end != std::string::npos; end = path.find('/', end + 1))
    if (files.status(path.substr(0, end)).kind == PathKind::kMissing) files.createFolder(path.substr(0, end));
  if (files.status(path).kind == PathKind::kMissing) files.createFolder(path);
  return files.status(path).kind == PathKind::kFolder;
}

std::string environmentValue(const std::string& name) {
  return fileSystem().environment(name).value_or(std::string());
}

std::string normalPath(std::string_view path) {
  std::vector<std::string_view> parts;
  for (size_t start = 0; start <= path.size();) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result;
  for (std::string_view part : parts) {
    result += '/';
    result += part;
  }
  return result.empty() ? "/" : result;
}

std::string absolutePath(std::string_view path) {
  if (path.starts_with('/')) return std::string(path);
  std::string absolute = fileSystem().currentFolder();
  if (path.empty() || path == ".") return absolute;
  if (absolute.empty() || absolute.back() != '/') absolute += '/';
  if (path.starts_with("./")) path.remove_prefix(2);
  absolute += path;
  return absolute;
}

}  // namespace quillet
