// Importing a Developer Studio workspace (".dsw"): the document is named after the workspace, and each
// project the workspace lists is imported in turn, each with a chapter of its own for its headers.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

class ImportTarget;

/// The first line every workspace file begins with.
inline constexpr const char* kWorkspaceFileHeader = "Microsoft Developer Studio Workspace File";

/// Imports the workspace `file_name` and its projects into `target`. False when the workspace cannot be
/// read, does not begin with the workspace header line, or one of its projects fails to import; what the
/// projects before that one added stays.
bool importWorkspaceFile(ImportTarget& target, const std::string& file_name);

/// The project file path a workspace "Project" line names, relative to the workspace's folder and without
/// quotes or a leading ".\"; empty when the line names none.
std::string_view workspaceProjectPath(std::string_view line);

}  // namespace quillet
