// The readable form of a configuration: a TOML file ("*.toml") holding every stored setting of the ".qlc"
// format under a snake_case name, grouped in tables ([sources], [preprocessor], [output], [document],
// [comments], [metrics], [arrangement], [extensions], [reserved]). Settings at their defaults are left out
// when writing and may be left out by hand. The arrangement tree is a nested array of tables, the comment
// tags an array of tables. Reserved and legacy slots are carried too, so a ".qlc" converted to TOML and back
// gives the same bytes. Reading reports errors with file, line and key, and unknown keys as warnings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class Configuration;

/// The outcome of reading a TOML configuration.
struct TomlReadResult {
  bool ok = false;
  /// When not ok: "file:line: key: reason" (or "file:line:column: reason" for a syntax error).
  std::string error;
  /// Keys that were not understood, and other things worth telling, each "file:line: ...".
  std::vector<std::string> warnings;
};

/// Reads the TOML text `text` (named `file_name` in messages) into `configuration`, which is first reset
/// to a new configuration's state. The settings are taken as stored: a caller that runs or edits them
/// converts them as loading a .qlc does (Configuration::convertOlderSettings). On failure the configuration
/// holds whatever was read before the error.
TomlReadResult readTomlConfiguration(std::string_view text, const std::string& file_name,
                                     Configuration& configuration);

/// The TOML text of `configuration`, settings at their defaults left out.
std::string writeTomlConfiguration(const Configuration& configuration);

}  // namespace quillet
