// What the preprocessor makes of the tokens of one directive line: the name an "#include" line names,
// the macro a "#define" line or a configured define describes, and the text of a condition once it has
// been expanded. These read tokens only; the preprocessor owns the state they act on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "frontend/preprocessor/header_cache.h"
#include "frontend/preprocessor/token.h"

namespace quillet {

/// The file name of an "#include" line (white space dropped): the text of its first token, or, when that
/// is "<", the texts of the tokens between it and the line's last token; `angle` tells which.
std::string includeName(const std::vector<token_t>& line, bool& angle);

/// The macro of a "#define" line given with its white space, or null when the line names none.
/// Replacement comments are kept only when `keep_comments` is set.
MacroPtr defineFromLine(const std::vector<token_t>& line, bool keep_comments);

/// The object-like macro of a configured define, "NAME" or "NAME=value"; null when the name is empty.
MacroPtr defineFromSetting(std::string_view setting);

/// The text a condition is evaluated from: every token's text preceded by one space (a number's suffix
/// read as a name of its own stays joined to the number).
std::string conditionText(const std::vector<token_t>& line);

}  // namespace quillet
