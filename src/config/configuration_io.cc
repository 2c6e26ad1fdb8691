#include "config/configuration_io.h"

#include "common/file_contents.h"
#include "config/configuration.h"
#include "config/toml_configuration.h"

namespace quillet {

bool isTomlConfigurationFile(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (name.size() < 5) return false;
  std::string extension(name.substr(name.size() - 5));
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return extension == ".toml";
}

ConfigurationLoad loadConfigurationFile(const std::string& path, Configuration& configuration,
                                        bool as_stored) {
  ConfigurationLoad result;
  std::string text;
  const InputRead read = readInputFile(path, InputKind::kConfiguration, text);
  if (read.outcome == ReadOutcome::kCannotOpen) {
    result.cannotOpen = true;
    result.message = read.problem(path, InputKind::kConfiguration);
    return result;
  }
  if (!read.ok()) {
    result.message = "error: " + read.problem(path, InputKind::kConfiguration);
    return result;
  }
  if (isTomlConfigurationFile(path)) {
    TomlReadResult read = readTomlConfiguration(text, path, configuration);
    result.ok = read.ok;
    // A readable file left out the style names it keeps at the standard style; they stay left out.
    if (read.ok && !as_stored) configuration.convertOlderSettings(false);
    result.message = std::move(read.error);
    result.warnings = std::move(read.warnings);
    return result;
  }
  configuration.reset();
  result.ok = as_stored ? configuration.loadStoredText(text) : configuration.loadFromText(text);
  if (result.ok) return result;
  if (configuration.isOlderVersion()) {
    result.message = "Cannot read file " + path + ".  The file is not a valid Quillet configuration file.";
  } else if (configuration.isNewerVersion()) {
    result.message = "Error reading file " + path + ", file is for a newer version of Quillet.";
  } else {
    result.message = "Error reading file " + path + ".";
  }
  return result;
}

std::string configurationText(const std::string& path, const Configuration& configuration) {
  return isTomlConfigurationFile(path) ? writeTomlConfiguration(configuration) : configuration.saveToText();
}

bool saveConfigurationFile(const std::string& path, Configuration& configuration, std::string& error) {
  const std::string text = configurationText(path, configuration);
  if (isTomlConfigurationFile(path)) {
    // The readable form is read back before it replaces anything, so a setting it could not hold is never
    // lost without a word.
    Configuration back;
    if (!readTomlConfiguration(text, path, back).ok || back.saveToText() != configuration.saveToText()) {
      error = "the readable (.toml) form cannot hold this configuration exactly; save it as .qlc";
      return false;
    }
  }
  if (!writeFileContents(path, text, error)) return false;
  configuration.setModified(false);
  return true;
}

}  // namespace quillet
