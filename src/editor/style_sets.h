// The style sheet sets the "Style" page offers: each style folder holds HTML/, RTF/ and WinHelp/ folders,
// and each set in them is a folder named after the set with its main style sheet inside. Used by the style
// page to fill its list and to find the folder that "Explore" opens.
#pragma once

#include <string>
#include <vector>

#include "config/configuration.h"

namespace quillet {

/// The names of the style sets of `kind` found in `folders`, sorted, each once.
std::vector<std::string> styleSetNames(OutputKind kind, const std::vector<std::string>& folders);

/// The folder of the set `name` of `kind` in the first of `folders` that has it, or empty when none does.
std::string styleSetFolder(OutputKind kind, const std::string& name, const std::vector<std::string>& folders);

/// True when at least one of `folders` exists.
bool anyStyleFolderExists(const std::vector<std::string>& folders);

}  // namespace quillet
