#include "app/run_summary.h"

#include <algorithm>
#include <cstdio>

#include "app/source_list.h"
#include "config/configuration.h"

namespace quillet {

namespace {

std::string counted(size_t count, const char* singular, const char* plural) {
  return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

}  // namespace

std::vector<std::string> outputFolders(const Configuration& configuration) {
  std::vector<std::string> folders;
  for (const std::string* output : {&configuration.htmlOutputFile(), &configuration.rtfOutputFile(),
                                    &configuration.winHelpOutputFile()}) {
    if (output->empty()) continue;
    std::string folder = folderPart(*output);
    if (folder.empty()) folder = "./";
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
  }
  return folders;
}

std::string runSummary(const RunTally& tally, const Configuration& configuration, double seconds) {
  std::string line = "Done: " + counted(tally.files, "file", "files") + " written (" +
                     counted(tally.pages, "page", "pages") + ")";
  const std::vector<std::string> folders = outputFolders(configuration);
  for (size_t i = 0; i < folders.size(); ++i) line += (i == 0 ? " to " : ", ") + folders[i];
  char time[32];
  std::snprintf(time, sizeof time, "%.1f s", seconds);
  return line + "; " + counted(tally.warnings, "warning", "warnings") + ", " +
         counted(tally.errors, "error", "errors") + "; " + time;
}

}  // namespace quillet
