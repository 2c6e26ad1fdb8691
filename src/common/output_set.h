// The files of one output set (the pages, charts, copies and index that one output kind writes), put in
// place together. While a set is open, every OutputFile of the process stays at its temporary name beside
// its place until commit() renames them all; a set that failed, or is closed without commit, removes what
// it wrote, so the previous output stays whole. A failed write stops the set: it is reported once (naming
// the file and the system's reason), later files are not started, and stages ask outputStopped() to end
// their work early. The set also keeps its files inside its folder: a file outside it is refused.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillet {

class OutputSet {
 public:
  /// Opens a set writing inside `folder` ("" for the current folder); it is the open set while it lives.
  explicit OutputSet(std::string folder);
  /// Removes every file not committed and closes the set.
  ~OutputSet();
  OutputSet(const OutputSet&) = delete;
  OutputSet& operator=(const OutputSet&) = delete;

  /// True when `path`, resolved against the current folder, lies inside the set's folder.
  bool contains(std::string_view path) const;
  /// Takes `temporary`, a complete file, to be renamed to `path` on commit; a later file for the same
  /// path replaces an earlier one.
  void add(std::string temporary, std::string path);
  /// Stops the set: reports `message` (the first time only) and counts the run's output as failed.
  void fail(std::string_view message);
  /// True once the set failed.
  bool failed() const { return failed_.load(std::memory_order_relaxed); }
  /// Renames every file into place; false when the set had failed (nothing is then renamed) or a rename
  /// failed (reported).
  bool commit();
  /// Removes every file not yet committed.
  void abandon();

 private:
  std::string folder_;
  std::vector<std::pair<std::string, std::string>> files_;  // temporary, final path
  std::unordered_map<std::string, size_t> byPath_;          // final path -> its index in files_
  std::atomic<bool> failed_{false};  // read by the threads that write pages
};

/// The open output set, or null.
OutputSet* openOutputSet();
/// True when the open output set failed: stages stop writing.
bool outputStopped();
/// Fails the open output set with `message`; without one, only reports it.
void stopOutput(std::string_view message);

/// True when `path` lies inside `folder` once both are resolved against the current folder and their "."
/// and ".." steps are taken ("" names the current folder). Both "/" and "\" separate.
bool isInsideFolder(std::string_view folder, std::string_view path);

}  // namespace quillet
