// Loading and saving a configuration in either of its file forms, chosen by the file's name: "*.toml" is the
// readable form, anything else the ".qlc" form. A failure comes back as one line naming the file and the
// reason, so the batch run and the editor tell the user the same thing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class Configuration;

/// True when `path` names the readable (TOML) form: its extension is ".toml" in any case.
bool isTomlConfigurationFile(std::string_view path);

/// The outcome of loading a configuration file.
struct ConfigurationLoad {
  bool ok = false;
  /// The file could not be read at all (it is missing, a folder, or unreadable).
  bool cannotOpen = false;
  /// When not ok: one line naming the file and saying why.
  std::string message;
  /// Things worth telling about a file that loaded (unknown keys of the readable form).
  std::vector<std::string> warnings;
};

/// Loads `path` into `configuration`, which is reset first. With `as_stored` the settings are taken exactly
/// as stored, not converted as older files need for a run (for converting a file to another form).
ConfigurationLoad loadConfigurationFile(const std::string& path, Configuration& configuration,
                                        bool as_stored = false);

/// Writes `configuration` to `path` in the form its name says and clears its modified mark; false with
/// the system's reason in `error` (the file as it was is left whole).
bool saveConfigurationFile(const std::string& path, Configuration& configuration, std::string& error);

/// The text of `configuration` in the form `path` names.
std::string configurationText(const std::string& path, const Configuration& configuration);

}  // namespace quillet
