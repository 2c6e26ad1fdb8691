#include "config/style_folders.h"

#include <optional>
#include <string_view>

#include "common/file_services.h"
#include "common/file_system.h"
#include "config/configuration.h"
#include "config/settings_file.h"

namespace quillet {

namespace {

std::vector<std::string> splitFolderList(std::string_view list) {
  std::vector<std::string> folders;
  while (!list.empty()) {
    const size_t semicolon = list.find(';');
    std::string_view piece = list.substr(0, semicolon);
    list = semicolon == std::string_view::npos ? std::string_view() : list.substr(semicolon + 1);
    const size_t first = piece.find_first_not_of(" \t");
    if (first == std::string_view::npos) continue;
    piece = piece.substr(first, piece.find_last_not_of(" \t") - first + 1);
    folders.emplace_back(piece);
  }
  return folders;
}

std::optional<std::string> settingsStyles(const std::string& path) {
  SettingsFile settings;
  if (!settings.load(path)) return std::nullopt;
  return settings.value("General", "Styles");
}

bool isFolder(const std::string& path) {
  return pathKind(path) == PathKind::kFolder;
}

}  // namespace

std::string bundledStyleFolder() {
  const std::string exe = fileSystem().executablePath();
  const size_t slash = exe.rfind('/');
  const std::string installed = slash == std::string::npos
                                    ? std::string("../share/quillet/styles")
                                    : exe.substr(0, slash) + "/../share/quillet/styles";
  if (isFolder(installed)) return installed;
#ifdef QUILLET_SOURCE_STYLES
  if (isFolder(QUILLET_SOURCE_STYLES)) return QUILLET_SOURCE_STYLES;
#endif
  return installed;
}

std::vector<std::string> styleFolders() {
  if (const std::optional<std::string> from_environment = fileSystem().environment("QUILLET_STYLES"))
    return splitFolderList(*from_environment);
  if (auto user = settingsStyles(SettingsFile::userSettingsPath())) return splitFolderList(*user);
  if (auto system = settingsStyles(SettingsFile::systemSettingsPath())) return splitFolderList(*system);
  return {bundledStyleFolder()};
}

// Configuration's style sheet lookup: the first style folder that holds the file of the selected set wins.
std::string Configuration::styleFolderFile(OutputKind kind, const std::string& file_name) const {
  const std::vector<std::string> folders = styleFolders();
  if (folders.empty()) return file_name;
  std::string set_folder;
  switch (kind) {
    case OutputKind::kHtml:
      set_folder = "/HTML/" + htmlStyle();
      break;
    case OutputKind::kRtf:
      set_folder = "/RTF/" + rtfStyle();
      break;
    case OutputKind::kWinHelp:
      set_folder = "/WinHelp/" + winHelpStyle();
      break;
  }
  std::string candidate;
  for (const std::string& folder : folders) {
    size_t end = folder.size();
    while (end > 0 && (folder[end - 1] == '/' || folder[end - 1] == '\\')) --end;
    candidate = folder.substr(0, end) + set_folder + "/" + file_name;
    std::string found;
    if (findOnDisk(candidate, found)) return found;
  }
  return candidate;
}

}  // namespace quillet
