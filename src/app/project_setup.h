// Turns what the set-up commands learned about a project (import/project_description.h) into a
// configuration: its sources, include folders, defines and compiler, one chapter per top-level namespace
// (or per folder where the code has no namespaces) holding the project's headers, and the bundled HTML
// style writing into docs/. Also merges a compilation database into an existing configuration for -prj.
#pragma once

#include <string>
#include <vector>

namespace quillet {

class Configuration;
struct ProjectDescription;

/// The extension setting under which the set-up commands keep the files a compilation database includes
/// before each source ("-include").
inline constexpr const char* kForcedIncludesSetting = "forced_includes";
/// The compiler a new configuration asks when no compilation database names one.
inline constexpr const char* kSystemCompiler = "c++";

/// `path` relative to the folder `base` when it lies inside it ("." for `base` itself), else unchanged.
std::string relativeTo(const std::string& path, const std::string& base);

/// How the source entries name a project's files.
enum class SourceListing {
  kFolderPatterns,  // one pattern per folder and extension, sources first, then headers
  kSources,         // each source (a compilation database says which files build; they include the headers)
  kEveryFile,       // each source and header (a Doxyfile lists them)
};

/// Adds the project's files, include folders, defines, compiler and chapters to `configuration`, with paths
/// relative to the folder `base` (where the configuration is written).
void describeProject(const ProjectDescription& project, const std::string& base, SourceListing listing,
                     Configuration& configuration);

/// Gives a new configuration an HTML output docs/index.html in the bundled standard style.
void useDefaultOutput(Configuration& configuration);

/// -prj with a compilation database: adds its sources, include folders and defines to `configuration`
/// (nothing twice), and its headers as items of the arrangement root. False with the reason in `error`;
/// things worth telling go to `notes`.
bool mergeCompileCommands(Configuration& configuration, const std::string& file,
                          std::vector<std::string>& notes, std::string& error);

}  // namespace quillet
