#include "frontend/preprocessor/include_resolver.h"

#include <cstdint>

#include "common/file_services.h"
#include "common/file_system.h"

namespace quillet {

namespace {

bool isSeparator(char c) {
  return c == '/' || c == '\\';
}

// A name that does not depend on the folder it is found from: "/x", "\x" or a drive such as "C:".
bool isAbsolute(std::string_view name) {
  return (!name.empty() && isSeparator(name[0])) || (name.size() >= 2 && name[1] == ':');
}

bool tryFile(const std::string& candidate, FileLookup& lookup, std::string& found) {
  return lookup.find(candidate, found);
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

}  // namespace

// False when a folder listing shows that `path` cannot exist in any spelling: its folder, listed, holds no
// entry of its name in any case, or the folder itself cannot exist.
bool DiskFileLookup::mayExist(std::string_view path, int depth) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string_view::npos || slash == 0 || depth > 64) return true;
  const std::string folder(path.substr(0, slash));
  auto [it, added] = folders_.try_emplace(folder);
  if (added) {
    std::vector<FolderEntry> entries;
    it->second.listed = listFolder(folder, entries);
    for (const FolderEntry& entry : entries) it->second.lower.insert(lowerCase(entry.name));
  }
  if (!it->second.listed) return mayExist(folder, depth + 1);
  const std::string_view name = path.substr(slash + 1);
  return name.empty() || name == "." || name == ".." || it->second.lower.count(lowerCase(name)) != 0;
}

bool DiskFileLookup::find(const std::string& path, std::string& found) {
  auto it = known_.find(path);
  if (it == known_.end()) {
    if (!mayExist(path)) {
      it = known_.emplace(path, std::string()).first;
      return false;
    }
    // A spelling that ends in a separator names a folder, which no "#include" can read.
    std::string spelling;
    if (!findOnDisk(path, spelling) || spelling.empty() || spelling.back() == '/') spelling.clear();
    it = known_.emplace(path, std::move(spelling)).first;
  }
  if (it->second.empty()) return false;
  found = it->second;
  return true;
}

std::string_view folderOf(std::string_view file) {
  size_t slash = file.find_last_of("/\\");
  if (slash == std::string_view::npos) return {};
  if (slash == 0) return file.substr(0, 1);  // the root
  return file.substr(0, slash);
}

std::string joinPath(std::string_view folder, std::string_view name) {
  // What ".." never removes: a drive ("C:") and the root.
  std::string_view start = isAbsolute(name) ? name : folder;
  std::string_view drive;
  if (start.size() >= 2 && start[1] == ':') {
    drive = start.substr(0, 2);
    start.remove_prefix(2);
  }
  const bool rooted = !start.empty() && isSeparator(start[0]);
  std::vector<std::string_view> parts;
  auto add = [&](std::string_view text) {
    size_t i = 0;
    while (i <= text.size()) {
      size_t j = i;
      while (j < text.size() && !isSeparator(text[j])) ++j;
      std::string_view part = text.substr(i, j - i);
      if (part == "..") {
        if (!parts.empty() && parts.back() != "..") {
          parts.pop_back();
        } else if (!rooted && drive.empty()) {
          parts.push_back(part);  // a relative name may climb above where it starts
        }
      } else if (!part.empty() && part != ".") {
        parts.push_back(part);
      }
      i = j + 1;
    }
  };
  add(start);
  if (!isAbsolute(name)) add(name);
  std::string path(drive);
  if (rooted) path += '/';
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) path += '/';
    path.append(parts[i]);
  }
  return path;
}

SearchMemo* DiskFileLookup::memoFor(const std::vector<std::string>& searchPath) {
  for (const std::string& folder : searchPath)
    if (!folder.empty() && folder[0] == '.') return nullptr;
  for (const std::unique_ptr<SearchMemo>& memo : memos_)
    if (memo->path == searchPath) return memo.get();
  memos_.push_back(std::make_unique<SearchMemo>());
  memos_.back()->path = searchPath;
  return memos_.back().get();
}

std::string resolveInclude(std::string_view name, bool quoted,
                           const std::vector<std::string_view>& open_files,
                           const std::vector<std::string>& include_directories, FileLookup& lookup,
                           size_t first, size_t* found_in, SearchMemo* memo) {
  std::string found;
  if (found_in != nullptr) *found_in = SIZE_MAX;
  if (name.empty()) return found;
  if (isAbsolute(name)) {
    tryFile(joinPath({}, name), lookup, found);
    return found;
  }
  if (quoted) {
    for (auto file = open_files.rbegin(); file != open_files.rend(); ++file)
      if (tryFile(joinPath(folderOf(*file), name), lookup, found)) return found;
  }
  std::string key;
  if (memo) {
    key.assign(name);
    key += '\n';
    key += std::to_string(first);
    if (auto known = memo->found.find(key); known != memo->found.end()) {
      if (found_in != nullptr) *found_in = known->second.second;
      return known->second.first;
    }
  }
  for (size_t i = first; i < include_directories.size(); ++i) {
    const std::string& directory = include_directories[i];
    bool hit = false;
    if (!directory.empty() && directory[0] == '.') {
      // Relative to the folder of each open file, innermost first.
      for (auto file = open_files.rbegin(); file != open_files.rend() && !hit; ++file)
        hit = tryFile(joinPath(joinPath(folderOf(*file), directory), name), lookup, found);
    } else {
      hit = tryFile(joinPath(directory, name), lookup, found);
    }
    if (hit) {
      if (found_in != nullptr) *found_in = i;
      if (memo) memo->found.try_emplace(std::move(key), found, i);
      return found;
    }
  }
  if (memo) memo->found.try_emplace(std::move(key), found, SIZE_MAX);
  return found;
}

}  // namespace quillet
