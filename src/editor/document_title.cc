#include "editor/document_title.h"

#include <unistd.h>

#include <filesystem>

#include "editor/editor_text.h"

namespace quillet {

std::string fileTitle(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return std::string(name);
}

bool isReadOnlyFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || !fs::is_regular_file(status)) return false;
  // The permission bits say what a Windows read-only attribute says, even to a process that could write
  // anyway (such as one running as root).
  constexpr fs::perms kAnyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if ((status.permissions() & kAnyWrite) == fs::perms::none) return true;
  return access(path.c_str(), W_OK) != 0;
}

std::string windowTitleFor(const std::string& path) {
  const char* separator = isReadOnlyFile(path) ? " (read only) - " : " - ";
  return fileTitle(path) + separator + std::string(text::kProductName);
}

}  // namespace quillet
