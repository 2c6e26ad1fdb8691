// Creates or extends a configuration from a Microsoft Developer Studio project (".dsp") or workspace
// (".dsw"). Used by the batch run's -prj switch and by the editor's import command. The import only adds:
// sources, headers, defines and include directories the configuration already holds are not added again.
#pragma once

#include <string>

namespace quillet {

class Configuration;

/// Imports a ".dsp" project by itself into `configuration`; 1 on success, 0 when the file cannot be read
/// or is not a project file.
int importProject(Configuration& configuration, const std::string& file_name);
/// Imports a ".dsw" workspace and every project it lists into `configuration`; 1 on success, 0 when the
/// file cannot be read, is not a workspace file or one of its projects fails (earlier projects stay).
int importWorkspace(Configuration& configuration, const std::string& file_name);
/// The editor's import: a name whose extension is ".dsw" (any case) is imported as a workspace, any other
/// as a project; true on success.
bool importDevStudioFile(Configuration& configuration, const std::string& file_name);

}  // namespace quillet
