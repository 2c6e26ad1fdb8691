// The list of recently used configuration files of the editor's File menu: most recent first, at most nine
// kept, five shown. It is read from and written back to the user's settings file (section [MRU], keys File1
// to File9). Used by the main window.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quillet {

class RecentFileList {
 public:
  static constexpr size_t kMaxEntries = 9;
  static constexpr size_t kShownEntries = 5;

  /// Reads the list from the settings file at `settings_path`, stopping at the first missing or empty
  /// value; an unreadable file gives an empty list.
  void load(const std::string& settings_path);
  /// Writes all nine values into the settings file at `settings_path` (empty ones for unused slots),
  /// keeping whatever else the file holds; true on success.
  bool save(const std::string& settings_path) const;

  /// Puts `path` at the top: moved there when listed, else inserted, dropping the oldest beyond nine.
  void add(const std::string& path);
  /// Removes entry `index` (0 = most recent); the later entries move up.
  void remove(size_t index);

  /// The entries, most recent first.
  const std::vector<std::string>& entries() const { return entries_; }
  /// The number of entries the File menu shows.
  size_t shownCount() const { return entries_.size() < kShownEntries ? entries_.size() : kShownEntries; }

 private:
  std::vector<std::string> entries_;
};

}  // namespace quillet
