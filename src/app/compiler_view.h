// The compiler's view of the code: what a real compiler predefines (its macros, its system include folders
// and its answers to "__has_cpp_attribute", "__has_builtin" and their relatives), so that sources are read
// as that compiler reads them. It is taken by running the compiler (through the process seam) and kept in
// the user's cache folder ($XDG_CACHE_HOME/quillet, else ~/.cache/quillet), one file per compiler path,
// modification time and language standard, so a run asks the compiler only when it changed. The
// generation run hands it to the front end.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillet {

struct CompilerView {
  /// The predefined macros as "#define" lines give them, without "#define ": "NAME value".
  std::vector<std::string> macros;
  /// The folders searched for "#include <...>", in order.
  std::vector<std::string> includeFolders;
  /// The condition operators the compiler has ("__has_builtin" gives 1) and its answers for known names
  /// ("__has_builtin __builtin_expect" gives 1).
  std::map<std::string, int64_t, std::less<>> features;

  bool operator==(const CompilerView&) const = default;
};

/// The path of `compiler`: a name without "/" is looked for along PATH, a relative path is taken from the
/// current folder. Empty when no such file exists.
std::string compilerPath(const std::string& compiler);

/// The view of `compiler` ("c++", another name along PATH, or a path) for the language `standard` (passed
/// as "-std=" when not empty). Taken from the cache when the compiler is unchanged, else by running it;
/// nullopt, after one warning naming the compiler, when it cannot be found or run.
std::optional<CompilerView> compilerView(const std::string& compiler, const std::string& standard);

/// The cache file's text for `view` of the compiler at `path`, changed at `modified`, for `standard`.
std::string compilerViewText(const CompilerView& view, const std::string& path, int64_t modified,
                             const std::string& standard);
/// Reads a cache file's text; nullopt when it is not one, or is one for another compiler, time or standard.
std::optional<CompilerView> parseCompilerViewText(const std::string& text, const std::string& path,
                                                  int64_t modified, const std::string& standard);

}  // namespace quillet
