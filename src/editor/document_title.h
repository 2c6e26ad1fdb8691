// The main window's title rule and the file checks behind it and behind Save: a configuration file's title
// (its name without folder and extension), whether an existing file may be written, and the window title
// built from both. Used by the main window.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

/// The file name of `path` without its folders and its extension.
std::string fileTitle(std::string_view path);

/// True when `path` names an existing file that cannot be written (no write permission for anyone, or
/// refused to this process).
bool isReadOnlyFile(const std::string& path);

/// The main window's title for the configuration file `path`: its title, then " - " and the product name,
/// or " (read only) - " in place of " - " when the file exists but cannot be written.
std::string windowTitleFor(const std::string& path);

}  // namespace quillet
