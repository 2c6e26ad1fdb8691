#include "config/extension_settings.h"

namespace quillet {

std::optional<std::string> ExtensionSettings::get(std::string_view name) const {
  const auto found = values_.find(name);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

void ExtensionSettings::set(std::string_view name, std::optional<std::string> value) {
  if (!value) {
    const auto found = values_.find(name);
    if (found != values_.end()) values_.erase(found);
    return;
  }
  values_.insert_or_assign(std::string(name), std::move(*value));
}

std::string ExtensionSettings::toText() const {
  if (values_.empty()) return {};
  std::string text(kMarker);
  for (const auto& [name, value] : values_) {
    text += name;
    text += '=';
    for (const char c : value) {
      if (c == '\\') {
        text += "\\\\";
      } else if (c == '\n') {
        text += "\\n";
      } else if (c == '\r') {
        text += "\\r";
      } else {
        text += c;
      }
    }
    text += '\n';
  }
  return text;
}

bool ExtensionSettings::fromText(std::string_view text) {
  if (!text.starts_with(kMarker)) return false;
  values_.clear();
  text.remove_prefix(kMarker.size());
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) continue;
    std::string value;
    for (size_t i = equals + 1; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) {
        const char next = line[++i];
        value += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
      } else {
        value += line[i];
      }
    }
    values_.insert_or_assign(std::string(line.substr(0, equals)), std::move(value));
  }
  return true;
}

}  // namespace quillet
