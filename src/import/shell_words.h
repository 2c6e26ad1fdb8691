// Splits a command line into words as a POSIX shell does: blanks separate words, single quotes keep
// everything literally, double quotes keep everything but the escapes \" \\ \$ \` and a backslash outside
// quotes escapes the next character. The compilation database reader uses it for an entry's "command".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

/// The words of `command`; false (with the words read so far) when a quote is left open.
bool splitShellWords(std::string_view command, std::vector<std::string>& words);

}  // namespace quillet
