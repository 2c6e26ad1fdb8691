#include "config/settings_file.h"

#include "common/file_contents.h"
#include "common/file_system.h"

namespace quillet {

namespace {

constexpr std::string_view kGeneral = "General";

std::string_view trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// A stored value as Qt writes it: either between double quotes or bare, with backslash escapes in both.
std::string unescapeValue(std::string_view raw) {
  std::string value;
  bool quoted = false;
  for (size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '"') {
      quoted = !quoted;
      continue;
    }
    if (c == '\\' && i + 1 < raw.size()) {
      const char next = raw[++i];
      switch (next) {
        case 'n':
          value += '\n';
          break;
        case 't':
          value += '\t';
          break;
        case 'r':
          value += '\r';
          break;
        case '\\':
        case '"':
        case ';':
        case ',':
          value += next;
          break;
        default:  // not an escape: keep the backslash, as a hand-written Windows path expects
          value += '\\';
          value += next;
          break;
      }
      continue;
    }
    value += c;
  }
  return value;
}

std::string escapeValue(std::string_view value) {
  bool quote = !value.empty() && (value.front() == ' ' || value.back() == ' ');
  std::string escaped;
  for (const char c : value) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '"':
        escaped += "\\\"";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case ';':
      case ',':
      case '=':
        quote = true;
        escaped += c;
        break;
      default:
        escaped += c;
        break;
    }
  }
  return quote ? "\"" + escaped + "\"" : escaped;
}

}  // namespace

bool SettingsFile::load(const std::string& path) {
  sections_.clear();
  std::string contents;
  if (!readInputFile(path, InputKind::kConfiguration, contents).ok()) return false;
  Section* current = nullptr;
  std::string_view rest = contents;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    line = trim(line.ends_with('\r') ? line.substr(0, line.size() - 1) : line);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      const std::string_view name = trim(line.substr(1, line.size() - 2));
      current = findSection(name);
      if (current == nullptr) {
        sections_.push_back({std::string(name), {}});
        current = &sections_.back();
      }
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (current == nullptr) {
      sections_.push_back({std::string(kGeneral), {}});
      current = &sections_.back();
    }
    current->entries.emplace_back(std::string(trim(line.substr(0, equals))),
                                  unescapeValue(trim(line.substr(equals + 1))));
  }
  return true;
}

bool SettingsFile::save(const std::string& path) const {
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) createFolders(path.substr(0, slash));
  std::string text;
  for (const Section& section : sections_) {
    if (!text.empty()) text += '\n';
    text += '[' + section.name + "]\n";
    for (const auto& [key, value] : section.entries) text += key + '=' + escapeValue(value) + '\n';
  }
  std::string error;
  return writeFileContents(path, text, error);
}

SettingsFile::Section* SettingsFile::findSection(std::string_view name) {
  for (Section& section : sections_)
    if (section.name == name) return &section;
  return nullptr;
}

const SettingsFile::Section* SettingsFile::findSection(std::string_view name) const {
  for (const Section& section : sections_)
    if (section.name == name) return &section;
  return nullptr;
}

std::optional<std::string> SettingsFile::value(std::string_view section, std::string_view key) const {
  const Section* found = findSection(section);
  if (found == nullptr) return std::nullopt;
  // The last of repeated keys wins, as when the file is read line by line into a map.
  for (auto entry = found->entries.rbegin(); entry != found->entries.rend(); ++entry)
    if (entry->first == key) return entry->second;
  return std::nullopt;
}

void SettingsFile::setValue(std::string_view section, std::string_view key, std::string_view value) {
  Section* found = findSection(section);
  if (found == nullptr) {
    sections_.push_back({std::string(section), {}});
    found = &sections_.back();
  }
  for (auto entry = found->entries.rbegin(); entry != found->entries.rend(); ++entry) {
    if (entry->first == key) {
      entry->second = std::string(value);
      return;
    }
  }
  found->entries.emplace_back(std::string(key), std::string(value));
}

void SettingsFile::removeValue(std::string_view section, std::string_view key) {
  Section* found = findSection(section);
  if (found == nullptr) return;
  std::erase_if(found->entries, [key](const auto& entry) { return entry.first == key; });
}

std::string SettingsFile::userSettingsPath() {
  const std::string config_home = environmentValue("XDG_CONFIG_HOME");
  if (!config_home.empty()) return config_home + "/quillet/quillet.ini";
  return environmentValue("HOME") + "/.config/quillet/quillet.ini";
}

}  // namespace quillet
