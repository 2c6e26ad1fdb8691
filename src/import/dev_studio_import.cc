#include "import/dev_studio_import.h"

#include "import/import_target.h"
#include "import/project_import.h"
#include "import/project_paths.h"
#include "import/workspace_import.h"

namespace quillet {

int importProject(Configuration& configuration, const std::string& file_name) {
  ImportTarget target(configuration);
  return importProjectFile(target, file_name, false) ? 1 : 0;
}

int importWorkspace(Configuration& configuration, const std::string& file_name) {
  ImportTarget target(configuration);
  return importWorkspaceFile(target, file_name) ? 1 : 0;
}

bool importDevStudioFile(Configuration& configuration, const std::string& file_name) {
  if (lowerExtension(file_name) == ".dsw") return importWorkspace(configuration, file_name) > 0;
  return importProject(configuration, file_name) > 0;
}

}  // namespace quillet
