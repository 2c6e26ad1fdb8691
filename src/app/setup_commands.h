// The commands that make or convert a configuration without the editor: `quillet init`, which writes a
// quillet.toml for the sources in a folder (or for a compilation database, or from a Doxyfile), and
// `quillet convert`, which turns a .qlc into a .toml or back. Called by the command-line dispatch.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace quillet {

/// `quillet init [DIR] [--force] [--compile-commands FILE] [--from-doxyfile FILE]` with the arguments after
/// "init"; what it found and what to run next go to `out`. The process exit status.
int runInit(const std::vector<std::string>& arguments, std::ostream& out);

/// `quillet convert IN OUT` with the arguments after "convert". The process exit status.
int runConvert(const std::vector<std::string>& arguments, std::ostream& out);

}  // namespace quillet
