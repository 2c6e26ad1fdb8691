#include "import/workspace_import.h"

#include <unordered_set>

#include "import/import_target.h"
#include "import/project_import.h"
#include "import/project_paths.h"
#include "import/project_text.h"

namespace quillet {

namespace {

constexpr std::string_view kProjectLine = "Project";

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::string_view workspaceProjectPath(std::string_view line) {
  if (!line.starts_with(kProjectLine)) return {};
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {};
  std::string_view rest = line.substr(equals + 1);
  while (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
  if (rest.starts_with('"')) {
    // A quoted path (one holding blanks) ends at its closing quote.
    const size_t close = rest.find('"', 1);
    rest = rest.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
  } else {
    // The path ends where " - Package Owner" begins; a "-" inside a name (my-app.dsp) does not end it.
    for (size_t i = 0; i < rest.size(); ++i) {
      if (rest[i] == '-' && (i == 0 || isBlank(rest[i - 1]))) {
        rest = rest.substr(0, i);
        break;
      }
    }
  }
  const std::string_view path = withoutDotPrefix(unquoted(rest));
  for (char c : path)
    if (static_cast<unsigned char>(c) < 0x20) return {};
  return path;
}

bool importWorkspaceFile(ImportTarget& target, const std::string& file_name) {
  ProjectText text;
  if (!text.read(file_name) || !text.lines().front().starts_with(kWorkspaceFileHeader)) return false;
  target.nameDocument(file_name);
  const std::string_view folder = pathFolder(file_name);
  // A project listed twice would only add nothing again; reading it once keeps a hostile list short.
  std::unordered_set<std::string> imported;
  for (std::string_view line : text.lines()) {
    const std::string_view path = workspaceProjectPath(line);
    if (path.empty()) continue;
    const std::string project = underFolder(folder, path);
    if (!imported.insert(pathKey(project)).second) continue;
    if (!importProjectFile(target, project, true)) return false;
  }
  return true;
}

}  // namespace quillet
