#include "editor/style_sets.h"

#include <algorithm>
#include <filesystem>

namespace quillet {

namespace fs = std::filesystem;

namespace {

const char* kindFolder(OutputKind kind) {
  switch (kind) {
    case OutputKind::kHtml:
      return "HTML";
    case OutputKind::kRtf:
      return "RTF";
    case OutputKind::kWinHelp:
      return "WinHelp";
  }
  return "HTML";
}

const char* mainFile(OutputKind kind) {
  return kind == OutputKind::kHtml ? "main.html" : "main.rtf";
}

bool isSet(const fs::path& folder, OutputKind kind) {
  std::error_code error;
  return fs::is_regular_file(folder / mainFile(kind), error);
}

}  // namespace

std::vector<std::string> styleSetNames(OutputKind kind, const std::vector<std::string>& folders) {
  std::vector<std::string> names;
  for (const std::string& folder : folders) {
    std::error_code error;
    for (fs::directory_iterator it(fs::path(folder) / kindFolder(kind), error), end; !error && it != end;
         it.increment(error)) {
      if (it->is_directory(error) && isSet(it->path(), kind)) names.push_back(it->path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::string styleSetFolder(OutputKind kind, const std::string& name,
                           const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    const fs::path set = fs::path(folder) / kindFolder(kind) / name;
    if (isSet(set, kind)) return set.string();
  }
  return {};
}

bool anyStyleFolderExists(const std::vector<std::string>& folders) {
  std::error_code error;
  return std::any_of(folders.begin(), folders.end(),
                     [&error](const std::string& folder) { return fs::is_directory(folder, error); });
}

}  // namespace quillet
