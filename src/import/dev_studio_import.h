// Creates or extends a configuration from a Microsoft Developer Studio project (".dsp") or workspace (".dsw").
// Used by the batch run's -prj switch and by the editor's import command.
#pragma once

#include <string>

namespace quillet {

class Configuration;

/// Imports a ".dsp" project into `configuration`; returns the number of items taken, 0 or less on failure.
int importProject(Configuration& configuration, const std::string& file_name);
/// Imports a ".dsw" workspace into `configuration`; returns the number of projects taken, 0 or less on failure.
int importWorkspace(Configuration& configuration, const std::string& file_name);

}  // namespace quillet
