#include "import/project_paths.h"

namespace quillet {

namespace {

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view fileNameOf(std::string_view path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

}  // namespace

std::string_view withoutDotPrefix(std::string_view path) {
  if (path.size() > 2 && path[0] == '.' && isPathSeparator(path[1])) path.remove_prefix(2);
  return path;
}

std::string_view unquoted(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.front() == '"') text.remove_prefix(1);
  if (!text.empty() && text.back() == '"') text.remove_suffix(1);
  return text;
}

std::string lowerExtension(std::string_view path) {
  const std::string_view name = fileNameOf(path);
  const size_t dot = name.rfind('.');
  std::string extension(dot == std::string_view::npos ? std::string_view() : name.substr(dot));
  for (char& c : extension) c = lowerAscii(c);
  return extension;
}

std::string_view pathFolder(std::string_view path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut + 1);
}

std::string_view pathStem(std::string_view path) {
  const std::string_view name = fileNameOf(path);
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? name : name.substr(0, dot);
}

bool isRootedPath(std::string_view path) {
  if (path.empty()) return false;
  if (isPathSeparator(path[0]) || path[0] == '%' || path.starts_with("$(")) return true;
  const char drive = lowerAscii(path[0]);
  return path.size() >= 2 && path[1] == ':' && drive >= 'a' && drive <= 'z';
}

std::string underFolder(std::string_view folder, std::string_view path) {
  if (folder.empty() || isRootedPath(path)) return std::string(path);
  std::string joined;
  joined.reserve(folder.size() + path.size() + 1);
  for (char c : folder) joined += c == '\\' ? '/' : c;
  if (!isPathSeparator(joined.back())) joined += '/';
  joined += path;
  return joined;
}

std::string pathKey(std::string_view path) {
  std::string key(path);
  for (char& c : key) c = c == '\\' ? '/' : lowerAscii(c);
  return key;
}

}  // namespace quillet
