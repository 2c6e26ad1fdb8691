// Looks at a project's files without preprocessing them: finds the C and C++ sources and headers under a
// folder (leaving out build, hidden and third-party folders), reads their #include lines and the namespaces
// they open at file level, and works out which include folders their includes need. Used by the set-up
// commands (quillet init and the compilation database import).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

/// True for a C or C++ source file name (.c, .cc, .cpp, .cxx, .c++), any case.
bool isSourceFileName(std::string_view path);
/// True for a C or C++ header file name (.h, .hh, .hpp, .hxx, .h++, .inl), any case.
bool isHeaderFileName(std::string_view path);
/// True for a folder name that holds no project sources: hidden, build output or third-party code.
bool isSkippedFolderName(std::string_view name);

/// Appends the sources and headers under the folder `root` (absolute) to the two lists, sorted by path,
/// leaving out skipped folders and any folder that holds a CMakeCache.txt (a build folder).
void findProjectFiles(const std::string& root, std::vector<std::string>& sources,
                      std::vector<std::string>& headers);

struct IncludeLine {
  std::string name;  // as written between the quotes or angle brackets
  bool quoted;       // "..." rather than <...>
};
/// The #include lines of the source text `text`, in order.
std::vector<IncludeLine> includeLines(std::string_view text);

/// The namespaces `text` opens at file level (the first part of a nested name such as a::b), in order,
/// each once; anonymous namespaces are left out.
std::vector<std::string> topLevelNamespaces(std::string_view text);

/// The file `name` resolves to when included from `including` (an absolute path) with the folders
/// `folders` searched: the including file's own folder first for a quoted include. Empty when none has it.
std::string resolveInclude(const IncludeLine& include, const std::string& including,
                           const std::vector<std::string>& folders);

/// The folders that the includes of `files` need so that they find other files of `files`: for an include
/// that is not beside the including file, the folder that holds it under the name written (the nearest
/// to the including file when several do). In order of first need.
std::vector<std::string> neededIncludeFolders(const std::vector<std::string>& files);

/// The headers under `root` (and outside skipped folders) that `sources` include, directly or through other
/// headers, with `folders` searched; in order of discovery.
std::vector<std::string> includedProjectHeaders(const std::vector<std::string>& sources,
                                                const std::vector<std::string>& folders,
                                                const std::string& root);

/// `path` with "." components and empty ones dropped and each ".." taking the component before it away.
std::string normalizedPath(std::string_view path);

/// True when `path` lies inside the folder `root` and in no skipped folder below it.
bool isInsideProject(const std::string& path, const std::string& root);

}  // namespace quillet
