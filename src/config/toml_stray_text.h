// A check run before a TOML text is handed to the TOML library, for text on which the library takes a
// branch it assumes cannot be reached: a character outside ASCII outside strings and comments (asking
// whether it is whitespace), and a table header whose key starts with neither a key character nor a quote
// ("[@a]"). The check finds the first such place, so that it is reported as a syntax error of the file.
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

/// A place of the text the library must not be given, and what is wrong there.
struct TomlTextProblem {
  TomlTextPosition position;
  const char* what = "";
};

/// The first byte outside ASCII that stands outside every string and comment of `text`, or the first table
/// header key that starts with a character no key may start with; nullopt when there is neither.
std::optional<TomlTextProblem> tomlTextProblem(std::string_view text);

}  // namespace quillet
