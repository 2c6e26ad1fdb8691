#include "common/relative_path.h"

#include <vector>

#include "common/file_system.h"

namespace quillet {

namespace {

struct SplitPath {
  std::string root;                     // "/", "C:" or "//server/share"
  std::vector<std::string_view> parts;  // components without ".", "" and resolved ".."
};

bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Adds the components of `path` (with "/" separators) to `split`, resolving "." and "..".
void addComponents(std::string_view path, SplitPath& split) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (part == "..") {
      if (!split.parts.empty()) split.parts.pop_back();
    } else if (!part.empty() && part != ".") {
      split.parts.push_back(part);
    }
    start = end + 1;
  }
}

// Splits `path` (already with "/" separators) into root and components; `storage` keeps the text that the
// components view when the path had to be made absolute. False when the current directory is unknown.
bool splitPath(std::string_view path, std::string& storage, SplitPath& split) {
  if (path.size() >= 2 && isLetter(path[0]) && path[1] == ':') {
    split.root = {upper(path[0]), ':'};
    addComponents(path.substr(2), split);
  } else if (path.starts_with("//")) {
    // A network name: the server and the share form the root.
    size_t end = path.find('/', 2);
    end = end == std::string_view::npos ? path.size() : path.find('/', end + 1);
    if (end == std::string_view::npos) end = path.size();
    split.root = path.substr(0, end);
    addComponents(path.substr(end), split);
  } else if (path.starts_with("/")) {
    split.root = "/";
    addComponents(path, split);
  } else {
    storage = fileSystem().currentFolder();
    if (storage.empty() || storage.front() != '/') return false;
    if (storage.back() != '/') storage += '/';
    storage += path;
    return splitPath(storage, storage, split);
  }
  return true;
}

}  // namespace

bool relativePath(std::string_view fromFolder, std::string_view target, std::string& result) {
  std::string from_text(fromFolder);
  std::string target_text(target);
  for (std::string* text : {&from_text, &target_text}) {
    for (char& c : *text) {
      if (c == '\\') c = '/';
    }
  }
  std::string from_storage;
  std::string target_storage;
  SplitPath from;
  SplitPath to;
  if (!splitPath(from_text, from_storage, from) || !splitPath(target_text, target_storage, to)) return false;
  if (from.root != to.root) return false;

  size_t common = 0;
  while (common < from.parts.size() && common < to.parts.size() && from.parts[common] == to.parts[common])
    ++common;
  result.clear();
  for (size_t i = common; i < from.parts.size(); ++i) result += "../";
  for (size_t i = common; i < to.parts.size(); ++i) {
    result += to.parts[i];
    if (i + 1 < to.parts.size()) result += '/';
  }
  if (result.empty()) result = ".";
  return true;
}

}  // namespace quillet
