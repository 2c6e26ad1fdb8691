// Importing one Developer Studio project (".dsp") into a configuration: its C and C++ sources become
// source entries, its headers symbols-by-file items of the arrangement, the defines and include
// directories of its first compiler option lines are added, and a compiler profile and document name are
// chosen where the configuration has none. Called by itself for a project file and once per project by the
// workspace import.
#pragma once

#include <string>

namespace quillet {

class ImportTarget;

/// The first line every project file begins with.
inline constexpr const char* kProjectFileHeader = "# Microsoft Developer Studio Project File";

/// Imports the project `file_name` into `target`: as part of a workspace (`in_workspace`) its headers go
/// into a chapter named after the project. False, with nothing added, when the file cannot be read or does
/// not begin with the project header line. Relative paths of the project are taken relative to the folder
/// of `file_name`, so they stay relative when `file_name` is.
bool importProjectFile(ImportTarget& target, const std::string& file_name, bool in_workspace);

}  // namespace quillet
