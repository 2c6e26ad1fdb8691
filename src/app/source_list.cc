#include "app/source_list.h"

#include <unordered_set>

#include "common/file_services.h"
#include "common/message_output.h"
#include "config/configuration.h"

namespace quillet {

namespace {

// Appends the files matching `pattern` to `files`, with or without sub folders; true when any matched.
bool expand(const std::string& pattern, bool subfolders, std::vector<std::string>& files) {
  return subfolders ? expandPatternInSubfolders(pattern, files) : expandPattern(pattern, files, true);
}

}  // namespace

std::string folderPart(const std::string& path) {
  const size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

SourceList buildSourceList(const Configuration& configuration) {
  if (configuration.verbose()) reportStatus("Generating source file list.");
  SourceList sources;
  std::vector<std::string> folder_files;
  for (const SourceEntry& entry : configuration.sourceEntries()) {
    const std::string path = Configuration::expandEnvironment(entry.path);
    expand(folderPart(path) + "*.*", entry.includeSubfolders, folder_files);
    if (!expand(path, entry.includeSubfolders, sources.modules))
      reportMessage("error: cannot find file " + entry.path);
  }
  std::unordered_set<std::string> seen;
  for (const std::string& file : folder_files) {
    std::string folder = folderPart(file);
    if (seen.insert(folder).second) sources.folders.push_back(std::move(folder));
  }
  return sources;
}

}  // namespace quillet
