// Reads a compilation database (compile_commands.json, as CMake and other build tools write it) into a
// project description: the sources it compiles, the project headers they include (headers inside the
// project's folder; system and third-party ones are left out), and the -I, -iquote, -isystem, -D, -U, -std=
// and -include options of each entry's "arguments" or "command" (split as a shell would). Entries that
// disagree on defines are merged, with a note. Used by `quillet init --compile-commands` and by -prj.
#pragma once

#include <string>

#include "import/project_description.h"

namespace quillet {

/// Reads the database `path` into `project`. `root` is the project's folder (absolute); when empty, the
/// folder the entries' sources have in common. False with "file:line: reason" in `error` when the file
/// cannot be read or is not a compilation database; `project` is then left as it was.
bool readCompileCommands(const std::string& path, const std::string& root, ProjectDescription& project,
                         std::string& error);

}  // namespace quillet
