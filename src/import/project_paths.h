// Small helpers for the paths written inside Developer Studio project and workspace files: those paths use
// backslashes, may start with ".\" and are relative to the file that names them. The project and workspace
// imports use these to name source entries, header items, include directories and project files.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

/// True for both path separators, "\" and "/".
inline bool isPathSeparator(char c) {
  return c == '\\' || c == '/';
}
/// `path` without a leading ".\" or "./" when it is longer than two characters; otherwise `path` itself.
std::string_view withoutDotPrefix(std::string_view path);
/// `text` without blanks and tabs at both ends and then without one double quote at each end.
std::string_view unquoted(std::string_view text);
/// The extension of the path's file name, lower-cased, with its dot ("" when there is none).
std::string lowerExtension(std::string_view path);
/// The folder part of `path` up to and including its last separator ("" when it has none).
std::string_view pathFolder(std::string_view path);
/// The file name of `path` without folder and without its last extension.
std::string_view pathStem(std::string_view path);
/// True when `path` does not depend on the folder it is read from: it starts with a separator, a drive
/// ("C:"), or an environment reference ("$(" or "%") that names its own root.
bool isRootedPath(std::string_view path);
/// `path` as seen from where `folder` is named: `folder` (its separators written "/") followed by `path`,
/// or `path` alone when it is rooted or `folder` is empty.
std::string underFolder(std::string_view folder, std::string_view path);
/// A key under which two spellings of one Windows path compare equal: lower-case, separators "/".
std::string pathKey(std::string_view path);

}  // namespace quillet
