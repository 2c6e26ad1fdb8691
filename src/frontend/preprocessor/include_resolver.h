// Finding the file an "#include" line names. A quoted name is looked for next to each open file, from the
// current one outwards, then in the include directories; an angle-bracket name only in the include
// directories. An include directory that begins with "." is relative to each open file's folder in turn.
// Both "\" and "/" separate components; the names composed here use "/", with "." and ".." steps
// worked out, so that one file always gets one name. Used by the preprocessor.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace quillet {

// The searches of one search path remembered: an include name (with the first folder searched) gives
// the file found and the index of its folder, so that a name included again costs one look-up instead of
// one per folder. Only a path without folders relative to the open files has one.
struct SearchMemo {
  std::vector<std::string> path;
  std::unordered_map<std::string, std::pair<std::string, size_t>> found;
};

// How the resolver asks whether a file exists; tests substitute their own.
class FileLookup {
 public:
  virtual ~FileLookup() = default;
  /// True when `path` names an existing file (not a folder); its spelling on disk goes to `found`.
  virtual bool find(const std::string& path, std::string& found) = 0;
  /// Where the searches of `searchPath` are remembered, or null when they are not.
  virtual SearchMemo* memoFor(const std::vector<std::string>& /*searchPath*/) { return nullptr; }
};

// The file system's answer: a path whose exact spelling does not exist is looked up case-blind, as on the
// platforms the sources come from, and the stored spelling is the file's name. Answers, found or not, are
// remembered for the life of the object (one generation run). Most tries miss (a header is looked for in
// every folder of the search path before the one that holds it), so the names in each folder tried are
// listed once, and a name that no folder listing holds in any case is a miss without asking the disk.
class DiskFileLookup : public FileLookup {
 public:
  bool find(const std::string& path, std::string& found) override;
  /// The memo of `searchPath`, made on first use (null when the path has relative folders).
  SearchMemo* memoFor(const std::vector<std::string>& searchPath) override;
  /// Forgets what was learned of the disk, after files were added or removed.
  void forget() {
    known_.clear();
    folders_.clear();
    for (const std::unique_ptr<SearchMemo>& memo : memos_) memo->found.clear();
  }

 private:
  bool mayExist(std::string_view path, int depth = 0);

  std::unordered_map<std::string, std::string> known_;  // path -> spelling, empty when missing
  // folder -> the lower-cased names of its entries; empty with `listed` false when it cannot be listed
  struct Names {
    bool listed = false;
    std::unordered_set<std::string> lower;
  };
  std::unordered_map<std::string, Names> folders_;
  // One per search path met (a run has one or two); kept while the lookup lives, since preprocessors hold them.
  std::vector<std::unique_ptr<SearchMemo>> memos_;
};

/// The folder part of `file` (without its final separator); empty when the name has no folder.
std::string_view folderOf(std::string_view file);
/// `folder` and `name` joined with "/", every separator made "/", "." steps dropped and each ".." step
/// taking away the component before it.
std::string joinPath(std::string_view folder, std::string_view name);

/// The resolved name of the file that `name` names, or empty when none exists. `open_files` lists the
/// open files, outermost first. The include directories before `first` are not tried (the search of
/// "#include_next" goes on after the directory where the current file was found). `found_in`, when given,
/// receives the index of the include directory that held the file, or SIZE_MAX when it was found next to
/// an open file or by an absolute name.
std::string resolveInclude(std::string_view name, bool quoted,
                           const std::vector<std::string_view>& open_files,
                           const std::vector<std::string>& include_directories, FileLookup& lookup,
                           size_t first = 0, size_t* found_in = nullptr, SearchMemo* memo = nullptr);

}  // namespace quillet
