#include "common/file_services.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "common/file_contents.h"
#include "common/file_system.h"
#include "common/message_output.h"
#include "common/output_set.h"

namespace quillet {

namespace {

bool isSeparator(char c) {
  return c == '/' || c == '\\';
}
char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowerCopy(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = lowerAscii(c);
  return lower;
}

// The path with "\" turned into "/", as the file system calls want it.
std::string nativePath(std::string_view path) {
  std::string native(path);
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

// A drive ("C:\") or network ("\\server\share") prefix: such paths name nothing on this system.
bool hasForeignPrefix(std::string_view path) {
  if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) return true;
  return path.size() >= 2 && path[1] == ':' && (path.size() == 2 || isSeparator(path[2])) &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// Where the folder part of a pattern ends: after its last separator, 0 when it has none.
size_t nameStart(std::string_view pattern) {
  const size_t cut = pattern.find_last_of("/\\");
  return cut == std::string_view::npos ? 0 : cut + 1;
}

bool globMatches(std::string_view name, std::string_view glob) {
  size_t n = 0, g = 0;
  size_t star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (g < glob.size() && glob[g] == '*') {
      star = g++;
      resume = n;
    } else if (g < glob.size() && (glob[g] == '?' || lowerAscii(glob[g]) == lowerAscii(name[n]))) {
      ++n;
      ++g;
    } else if (star != std::string_view::npos) {
      g = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (g < glob.size() && glob[g] == '*') ++g;
  return g == glob.size();
}

// ---- Case-blind lookup -------------------------------------------------------------------------------

// A folder's entries as listed once: by exact name, and by lower-cased name for the case-blind fallback
// (the first entry in name order wins when several differ only in case).
// Lets the maps below be searched with a string_view, without building a string first.
struct NameHash {
  using is_transparent = void;
  size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};

struct Listing {
  using Entry = std::pair<const std::string, bool>;  // name, is a folder
  std::unordered_map<std::string, bool, NameHash, std::equal_to<>> exact;
  std::unordered_map<std::string, const Entry*> folded;
  int64_t folderTime = -1;  // the folder's modification time when it was listed
  int64_t listedAt = 0;     // when it was listed
};

// File times advance in coarse steps, so a folder changed within this long before it was listed may have
// changed again since without its time showing it; such a listing is taken again at its next use.
constexpr int64_t kQuietFolderNanos = 100'000'000;

// True when `listing` still shows what its folder holds: the folder was not modified since it was listed,
// and it had been quiet for a while before.
bool listingIsCurrent(const Listing& listing, const std::string& folder) {
  return listing.folderTime >= 0 && modificationTime(folder) == listing.folderTime &&
         listing.listedAt - listing.folderTime > kQuietFolderNanos;
}

struct PathCaches {
  std::mutex mutex;
  std::unordered_map<std::string, std::string> spellings;  // input path -> stored spelling (found only)
  std::unordered_map<std::string, Listing> listings;       // spelled folder ("" or ending in "/") -> entries
};

PathCaches& pathCaches() {
  static PathCaches caches;
  return caches;
}

const Listing& listingOf(PathCaches& caches, const std::string& folder) {
  auto [it, added] = caches.listings.try_emplace(folder);
  if (added || !listingIsCurrent(it->second, folder)) {
    Listing& listing = it->second;
    listing = Listing();
    listing.folderTime = modificationTime(folder);
    listing.listedAt = systemTimeNow();
    std::vector<FolderEntry> entries;
    listFolder(folder, entries);
    listing.exact.reserve(entries.size());
    for (const FolderEntry& entry : entries) {
      const auto stored = listing.exact.emplace(entry.name, entry.isFolder).first;
      listing.folded.try_emplace(lowerCopy(entry.name), &*stored);
    }
  }
  return it->second;
}

// Appends `name` to `spelled` (a folder in its stored spelling) as the folder stores it, with "/" after a
// folder; false when the folder holds no such entry, whatever the case.
bool appendStoredName(PathCaches& caches, std::string& spelled, std::string_view name) {
  if (name == "." || name == "..") {
    spelled += name;
    if (pathKind(spelled) != PathKind::kFolder) return false;
    spelled += '/';
    return true;
  }
  const Listing& listing = listingOf(caches, spelled);
  if (auto exact = listing.exact.find(name); exact != listing.exact.end()) {
    spelled += name;
    if (exact->second) spelled += '/';
    return true;
  }
  const auto folded = listing.folded.find(lowerCopy(name));
  if (folded == listing.folded.end()) return false;
  spelled += folded->second->first;
  if (folded->second->second) spelled += '/';
  return true;
}

// The stored spelling of `path`: separators become "/", empty components drop out and a folder ends in
// "/". An exactly spelled path is confirmed with one call; only a miss walks the (cached) folder listings.
std::optional<std::string> storedSpelling(PathCaches& caches, const std::string& path) {
  if (path.empty() || hasForeignPrefix(path)) return std::nullopt;
  std::string spelled;
  if (isSeparator(path[0])) spelled = "/";
  const bool folder_wanted = isSeparator(path.back());
  std::string native = nativePath(path);
  if (const PathKind kind = pathKind(native); kind != PathKind::kMissing) {
    if (folder_wanted && kind != PathKind::kFolder) return std::nullopt;
    for (size_t i = 0; i < native.size(); ++i) {
      if (native[i] != '/' || spelled.empty() || spelled.back() != '/') spelled += native[i];
    }
    if (kind == PathKind::kFolder && spelled.back() != '/') spelled += '/';
    return spelled;
  }
  size_t i = 0;
  while (i < path.size()) {
    while (i < path.size() && isSeparator(path[i])) ++i;
    if (i == path.size()) break;
    const size_t end = std::find_if(path.begin() + i, path.end(), isSeparator) - path.begin();
    if (!spelled.empty() && spelled.back() != '/') return std::nullopt;  // a file cannot hold entries
    if (!appendStoredName(caches, spelled, std::string_view(path).substr(i, end - i))) return std::nullopt;
    i = end;
  }
  if (folder_wanted && spelled.back() != '/') return std::nullopt;
  // The listings may be older than the disk: believe the spelling only when it still names something.
  if (pathKind(spelled) == PathKind::kMissing) {
    caches.listings.clear();
    return std::nullopt;
  }
  return spelled;
}

// Looks `path` up; found spellings are remembered for the process, misses are asked again next time so
// that files created meanwhile are found.
std::optional<std::string> lookUp(const std::string& path) {
  PathCaches& caches = pathCaches();
  std::lock_guard lock(caches.mutex);
  if (auto known = caches.spellings.find(path); known != caches.spellings.end()) return known->second;
  std::optional<std::string> spelled = storedSpelling(caches, path);
  if (spelled) caches.spellings.emplace(path, *spelled);
  return spelled;
}

// Forgets the folder listings, after folders were created.
void forgetFolderListings() {
  PathCaches& caches = pathCaches();
  std::lock_guard lock(caches.mutex);
  caches.listings.clear();
}

// ---- Pattern expansion -------------------------------------------------------------------------------

// The folder part of `pattern` in its stored spelling ("" for the current folder); nullopt when missing.
std::optional<std::string> patternFolder(const std::string& pattern, size_t name_start) {
  if (name_start == 0) return std::string();
  std::optional<std::string> folder = lookUp(pattern.substr(0, name_start));
  if (folder && folder->back() != '/') return std::nullopt;
  return folder;
}

bool appendMatches(const std::string& folder, const std::vector<FolderEntry>& entries,
                   std::string_view wildcard, bool skip_folders, std::vector<std::string>& files) {
  bool grew = false;
  for (const FolderEntry& entry : entries) {
    if ((skip_folders && entry.isFolder) || !matchesWildcard(entry.name, wildcard)) continue;
    files.push_back(folder + entry.name);
    grew = true;
  }
  return grew;
}

// Expands `wildcard` in `folder` and below it, deeper folders first. Folders already being expanded
// further up (reached again through a symbolic link) are not entered twice.
bool expandTree(const std::string& folder, std::string_view wildcard, std::vector<std::string>& files,
                std::vector<FileIdentity>& open_folders) {
  const std::optional<FileIdentity> identity = fileIdentity(folder.empty() ? "." : folder);
  if (!identity || std::find(open_folders.begin(), open_folders.end(), *identity) != open_folders.end()) {
    return false;
  }
  std::vector<FolderEntry> entries;
  if (!listFolder(folder, entries)) return false;
  open_folders.push_back(*identity);
  bool found = false;
  for (const FolderEntry& entry : entries) {
    if (entry.isFolder) found = expandTree(folder + entry.name + "/", wildcard, files, open_folders) || found;
  }
  open_folders.pop_back();
  return appendMatches(folder, entries, wildcard, true, files) || found;
}

// ---- Output file names -------------------------------------------------------------------------------

struct OutputNames {
  std::mutex mutex;                                     // pages written on several threads ask for names
  std::unordered_map<std::string, std::string> given;   // requested name -> file name handed out
  std::unordered_map<std::string, std::string> owners;  // requested name -> its first owner
  std::unordered_set<std::string> handedOut;
  unsigned long counter = 0;
  size_t limit = 40;  // 8 for short (8.3) file names
};

OutputNames& outputNames() {
  static OutputNames names;
  return names;
}

std::string base36(unsigned long value) {
  char digits[16];
  size_t at = sizeof digits;
  do {
    digits[--at] = "0123456789abcdefghijklmnopqrstuvwxyz"[value % 36];
    value /= 36;
  } while (value != 0);
  return std::string(digits + at, sizeof digits - at);
}

bool isNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

bool matchesWildcard(std::string_view name, std::string_view wildcard) {
  // A trailing ".*" also accepts a name without extension ("*.*" accepts every name), and a trailing "."
  // accepts only names without one, as on the file systems the patterns were written for.
  if (wildcard.size() >= 2 && wildcard.ends_with(".*")) {
    return globMatches(name, wildcard) || (name.find('.') == std::string_view::npos &&
                                           globMatches(name, wildcard.substr(0, wildcard.size() - 2)));
  }
  if (wildcard.size() >= 2 && wildcard.back() == '.' && wildcard != "..") {
    return name.find('.') == std::string_view::npos &&
           globMatches(name, wildcard.substr(0, wildcard.size() - 1));
  }
  return globMatches(name, wildcard);
}

bool expandPattern(const std::string& pattern, std::vector<std::string>& files, bool skip_folders) {
  const size_t name_start = nameStart(pattern);
  const std::string_view wildcard = std::string_view(pattern).substr(name_start);
  if (wildcard.empty()) return false;
  const std::optional<std::string> folder = patternFolder(pattern, name_start);
  if (!folder) return false;
  std::vector<FolderEntry> entries;
  return listFolder(*folder, entries) && appendMatches(*folder, entries, wildcard, skip_folders, files);
}

bool expandPatternInSubfolders(const std::string& pattern, std::vector<std::string>& files) {
  const size_t name_start = nameStart(pattern);
  const std::string_view wildcard = std::string_view(pattern).substr(name_start);
  if (wildcard.empty()) return false;
  const std::optional<std::string> folder = patternFolder(pattern, name_start);
  if (!folder) return false;
  std::vector<FileIdentity> open_folders;
  return expandTree(*folder, wildcard, files, open_folders);
}

std::string onDiskSpelling(const std::string& path) {
  std::optional<std::string> spelled = lookUp(path);
  return spelled ? std::move(*spelled) : path;
}

bool findOnDisk(const std::string& path, std::string& found) {
  std::optional<std::string> spelled = lookUp(path);
  if (!spelled) return false;
  found = std::move(*spelled);
  return true;
}

void forgetPathCaches() {
  PathCaches& caches = pathCaches();
  std::lock_guard lock(caches.mutex);
  caches.spellings.clear();
  caches.listings.clear();
}

std::string networkForm(const std::string& path) {
  return path;
}

std::string outputFileName(const std::string& requested) {
  return outputFileName(requested, {});
}

namespace {

std::string givenOutputFileName(const std::string& requested, std::string_view owner, bool keepHyphens) {
  OutputNames& names = outputNames();
  const std::lock_guard lock(names.mutex);
  // The first owner of a requested name keeps it; another owner's request is a new name, told apart by a
  // key with a zero byte, which names do not hold.
  std::string key = requested;
  if (keepHyphens) key.insert(key.begin(), '\1');  // "a-b" kept and "a-b" mapped to "a_b" are two requests
  if (!owner.empty()) {
    const auto first = names.owners.try_emplace(requested, owner).first;
    if (first->second != owner) {
      key += '\0';
      key += owner;
    }
  }
  if (auto given = names.given.find(key); given != names.given.end()) return given->second;
  const size_t limit = names.limit;
  std::string cut = requested.substr(0, limit);
  for (char& c : cut) {
    if (!isNameCharacter(c) && !(keepHyphens && c == '-')) c = '_';
  }
  std::string name = cut;
  while (names.handedOut.count(name) != 0) name = cut.substr(0, limit - 4) + base36(names.counter++);
  names.handedOut.insert(name);
  names.given.emplace(std::move(key), name);
  return name;
}

}  // namespace

std::string outputFileName(const std::string& requested, std::string_view owner) {
  return givenOutputFileName(requested, owner, false);
}

std::string outputFileNameKeepingHyphens(const std::string& requested, std::string_view owner) {
  return givenOutputFileName(requested, owner, true);
}

void resetOutputFileNames(bool short_names) {
  OutputNames& names = outputNames();
  const std::lock_guard lock(names.mutex);
  names.given.clear();
  names.owners.clear();
  names.handedOut.clear();
  names.counter = 0;
  names.limit = short_names ? 8 : 40;
}

void ensureFolder(const std::string& folder) {
  if (folder.empty() || hasForeignPrefix(folder)) return;  // the current folder, or none of this system
  std::string native = nativePath(folder);
  if (native.back() != '/') native += '/';
  // The probe never replaces a file of the same name that is already there.
  const std::string probe = native + "jprtmp.xxx";
  if (createNewFile(probe)) {
    removeFile(probe);
    return;
  }
  bool created = false;
  for (size_t end = native.find('/', 1); end != std::string::npos; end = native.find('/', end + 1)) {
    created = createFolder(native.substr(0, end)) || created;
  }
  if (created) forgetFolderListings();
}

bool copyToOutput(const std::string& source, const std::string& destination) {
  std::string contents;
  const InputRead read = readInputFile(nativePath(source), InputKind::kDocument, contents);
  if (read.outcome == ReadOutcome::kNotRegular || read.outcome == ReadOutcome::kTooLarge) {
    reportMessage("error: " + read.problem(source, InputKind::kDocument));
    return false;
  }
  std::string error;
  if (read.ok() && writeFileContents(nativePath(destination), contents, error)) return true;
  // A write that stopped the output set was told there.
  if (!outputStopped()) reportMessage("error: cannot copy file " + source + " to " + destination + ".");
  return false;
}

}  // namespace quillet
