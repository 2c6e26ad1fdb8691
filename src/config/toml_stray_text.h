// A check run before a TOML text is handed to the TOML library: characters outside ASCII are valid only
// inside strings and comments, and the library misbehaves on some of them elsewhere (it takes a branch it
// assumes cannot be reached while asking whether such a character is whitespace). The check finds the
// first one, so that it is reported as a syntax error of the file instead.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillet {

/// Where a stray character stands: 1-based line and column (in characters).
struct TomlTextPosition {
  size_t line = 1;
  size_t column = 1;
};

/// The position of the first byte outside ASCII that stands outside every string and comment of `text`,
/// or nullopt when there is none.
std::optional<TomlTextPosition> strayNonAsciiCharacter(std::string_view text);

}  // namespace quillet
