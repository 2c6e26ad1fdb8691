#include "editor/recent_files.h"

#include <algorithm>

#include "config/settings_file.h"

namespace quillet {

namespace {

constexpr std::string_view kSection = "MRU";

std::string keyFor(size_t index) {
  return "File" + std::to_string(index + 1);
}

}  // namespace

void RecentFileList::load(const std::string& settings_path) {
  entries_.clear();
  SettingsFile settings;
  if (!settings.load(settings_path)) return;
  for (size_t i = 0; i < kMaxEntries; ++i) {
    std::optional<std::string> value = settings.value(kSection, keyFor(i));
    if (!value || value->empty()) break;
    entries_.push_back(std::move(*value));
  }
}

bool RecentFileList::save(const std::string& settings_path) const {
  SettingsFile settings;
  settings.load(settings_path);  // a missing file is simply created
  for (size_t i = 0; i < kMaxEntries; ++i)
    settings.setValue(kSection, keyFor(i), i < entries_.size() ? entries_[i] : std::string());
  return settings.save(settings_path);
}

void RecentFileList::add(const std::string& path) {
  if (path.empty()) return;
  const auto listed = std::find(entries_.begin(), entries_.end(), path);
  if (listed != entries_.end()) entries_.erase(listed);
  entries_.insert(entries_.begin(), path);
  if (entries_.size() > kMaxEntries) entries_.resize(kMaxEntries);
}

void RecentFileList::remove(size_t index) {
  if (index < entries_.size()) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

}  // namespace quillet
