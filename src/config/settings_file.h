// The program's settings file, an INI file of sections and "key=value" lines in the format Qt's QSettings
// writes: the user's $XDG_CONFIG_HOME/quillet/quillet.ini (or ~/.config/...) and the system-wide
// /etc/xdg/quillet/quillet.ini. The style folder lookup reads the "Styles" value from it; the editor reads
// and writes its recent-file list ([MRU], File1 to File9) in the same file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

class SettingsFile {
 public:
  /// Reads `path`, replacing what is held; false when the file cannot be read (nothing is held then).
  bool load(const std::string& path);
  /// Writes the settings to `path`, creating its folder when needed; true on success.
  bool save(const std::string& path) const;

  /// The value of `key` in `section` ("General" for keys outside any section), or nothing when absent.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  /// Sets `key` in `section`, adding the section or key at the end when new.
  void setValue(std::string_view section, std::string_view key, std::string_view value);
  /// Removes `key` from `section` if present.
  void removeValue(std::string_view section, std::string_view key);

  /// The user's settings file: $XDG_CONFIG_HOME/quillet/quillet.ini, or ~/.config/quillet/quillet.ini.
  static std::string userSettingsPath();
  /// The system-wide settings file.
  static std::string systemSettingsPath() { return "/etc/xdg/quillet/quillet.ini"; }

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> entries;
  };
  Section* findSection(std::string_view name);
  const Section* findSection(std::string_view name) const;

  std::vector<Section> sections_;
};

}  // namespace quillet
