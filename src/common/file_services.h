// File-system services shared by the stages: expanding file patterns into file lists, spelling paths as the
// file system stores them (case-blind lookup), choosing unique legal output file names, creating output
// folders and copying files into the output. Both "/" and "\" are accepted as separators in input paths;
// paths composed here use "/".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

/// Appends the files (and folders unless `skip_folders`) matching the wildcard pattern `pattern` (a folder
/// path followed by a name with "*" and "?") to `files`, in name order; true when the list grew.
bool expandPattern(const std::string& pattern, std::vector<std::string>& files, bool skip_folders);
/// As expandPattern, skipping folders, over the pattern's folder and all its sub folders, deeper folders
/// first; true when any file was found.
bool expandPatternInSubfolders(const std::string& pattern, std::vector<std::string>& files);
/// True when `name` matches the wildcard `wildcard` ("*" and "?", case-blind; "*.*" matches every name).
bool matchesWildcard(std::string_view name, std::string_view wildcard);

/// The path with every component spelled as stored (a folder ends in a separator), or the path unchanged
/// when a component cannot be found. Cached for the process.
std::string onDiskSpelling(const std::string& path);
/// Looks `path` up as a case-blind file system would; true and the stored spelling in `found` when it exists.
bool findOnDisk(const std::string& path, std::string& found);
/// Forgets every remembered spelling and folder listing, so that later lookups see the disk as it is now.
void forgetPathCaches();
/// The network form of a path: the path itself on this platform.
std::string networkForm(const std::string& path);

/// A legal, unique output file name stem (no folder, no extension) for `requested`; requesting a name
/// again gives the same stem.
std::string outputFileName(const std::string& requested);
/// As outputFileName, for the object `owner` (a text that tells objects apart): a name requested by one
/// owner and then by another gives the later owner a stem of its own, with a numeric suffix.
std::string outputFileName(const std::string& requested, std::string_view owner);
/// As outputFileName, keeping the hyphens of `requested` (a site file a script loads by a fixed name).
std::string outputFileNameKeepingHyphens(const std::string& requested, std::string_view owner);
/// Forgets every name handed out by outputFileName and resets its counter; names are then cut to 8
/// characters for short (8.3) file names, else to 40.
void resetOutputFileNames(bool short_names = false);

/// Makes sure the folder (a path ending in a separator) and all its ancestors exist.
void ensureFolder(const std::string& folder);
/// Copies `source` (a regular file, read as a document) over `destination` as an output file; false after
/// reporting a failure through the run's message output.
bool copyToOutput(const std::string& source, const std::string& destination);

}  // namespace quillet
