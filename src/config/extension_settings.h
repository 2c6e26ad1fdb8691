// Settings added to the configuration after the ".qlc" layout was fixed (the compiler to ask for its view of
// the code, Markdown in comments, source pages, ...). They are kept by name and stored together as one text
// in the last reserved string slot of the file, only when at least one of them differs from its default, so
// an existing file loads as before and saves byte-identical when nothing new was set. Names the program does
// not know are kept, so a file written by a newer version round-trips.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

class ExtensionSettings {
 public:
  /// The marker that starts the stored text; a slot without it is an ordinary reserved string.
  static constexpr std::string_view kMarker = "quillet-settings 1\n";

  /// The value stored under `name`, or nullopt when it is at its default (not stored).
  std::optional<std::string> get(std::string_view name) const;
  /// Stores `value` under `name`; nullopt returns the setting to its default.
  void set(std::string_view name, std::optional<std::string> value);
  /// True when no setting is stored.
  bool empty() const { return values_.empty(); }
  /// Every stored setting, by name.
  const std::map<std::string, std::string, std::less<>>& values() const { return values_; }

  /// The stored text: the marker, then one "name=value" line per setting in name order, with line breaks
  /// and backslashes in values escaped; empty when no setting is stored.
  std::string toText() const;
  /// Reads a stored text; false (and nothing read) when `text` does not start with the marker.
  bool fromText(std::string_view text);

  bool operator==(const ExtensionSettings&) const = default;

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

}  // namespace quillet
