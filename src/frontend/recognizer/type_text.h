// The texts the declaration recognizer reports for types: template heads, base classes, return types,
// parameter types, default values and trailers are built from declaration tokens by one joining rule and
// one cleaning rule, so that the same declaration written with different spacing gives the same text.
#pragma once

#include <string>
#include <string_view>

#include "frontend/preprocessor/token.h"

namespace quillet {

/// Appends `word` to `text`: "&", "&&", "*", ">", "<" and "." attach to what precedes them, "," is
/// followed by a blank, every other word is preceded by one.
void appendTypeWord(std::string& text, std::string_view word);

/// `text` with "::", "<", ">" and ", " freed of the blanks around them, runs of blanks made one, and no
/// blanks at either end.
std::string cleanTypeText(std::string text);

/// The cleaned type text of the tokens [begin, end).
std::string typeText(const token_t* begin, const token_t* end);
/// The tokens from `begin` to `end` as the source spaced them: a blank only where white space stood.
std::string sourceText(const token_t* begin, const token_t* end);

/// `text` cleaned as a type text, with no blanks around parentheses and brackets or before ";":
/// the readable form of constraints, friend declarations and names with template arguments.
std::string tightText(std::string text);

/// The text of a name with its template arguments (X<int>, function<R(Args...)>): the type text of the
/// tokens [begin, end) with no blanks around parentheses and brackets.
std::string templateNameText(const token_t* begin, const token_t* end);

/// The comment strings of `token` joined into one text; empty when it carries none.
std::string commentText(const token_t& token);

}  // namespace quillet
