// Where the style sheet sets live: the list of style folders, each holding HTML/, RTF/ and WinHelp/ folders
// of named style sets. The configuration looks style sheet files up through it; the editor lists it.
#pragma once

#include <string>
#include <vector>

namespace quillet {

/// The style folders in lookup order, from the first place that names any: the QUILLET_STYLES environment
/// variable, the user's settings file, the system settings file (each a ";"-separated list, key "Styles" in
/// [General]); when none does, the one bundled folder of the installation or build tree.
std::vector<std::string> styleFolders();

/// The bundled styles folder: <folder of the executable>/../share/quillet/styles when it exists, else the
/// source tree's styles folder of a build tree when that exists, else the installed location regardless.
std::string bundledStyleFolder();

}  // namespace quillet
