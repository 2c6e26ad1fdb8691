// The shape of a declaration's tokens, for the declaration recognizer: where its parenthesised groups
// are (and which of them can be a parameter list), which brackets match, where initializers and
// parenthesised declarators begin, and how names and type words are told apart. Pure functions over the
// gathered tokens; the recognizer's analysis of function and data declarations is built on them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/preprocessor/token.h"

namespace quillet::declaration {

/// The index meaning "none".
inline constexpr size_t kNone = static_cast<size_t>(-1);

/// What one depth-0 scan over a declaration's tokens finds.
struct Shape {
  bool balanced = true;
  int groups = 0;                  // parenthesised groups that can be a parameter list
  bool equalsBeforeGroup = false;  // an "=" before the first of them: data with an initializer
  size_t listOpen = kNone;         // the last such group
  size_t listClose = kNone;
  size_t throwAt = 0;  // the first "throw", or the number of tokens
};

/// Nesting of parentheses, brackets, braces and (outside initializers) angle brackets, for finding the
/// commas and "=" that separate the parts of a declaration.
class Nesting {
 public:
  /// Takes in `token`; true when it stands at depth 0 (before it counts itself).
  bool step(const token_t& token);
  /// Starts a new declarator or parameter after a depth-0 comma.
  void restart() { initializer_ = false; }

 private:
  int parens_ = 0;
  int brackets_ = 0;
  int braces_ = 0;
  int angles_ = 0;
  bool initializer_ = false;
};

/// True when `token` is the identifier `word`.
bool isWord(const token_t& token, std::string_view word);

/// Words before a parenthesised group that make it no parameter list: noexcept(...), decltype(...).
bool opensOtherGroup(const token_t& token);

/// Identifiers that are words of the language rather than names of types or parameters.
bool isLanguageWord(const token_t& token);

/// True for the words "signed" and "unsigned".
bool isSignWord(const token_t& token);

/// A word that can stand for (part of) a parameter's type, so that an identifier after it is a name.
bool isTypeWord(const token_t& token);

/// True when the group opening at `open` follows a parameter list through words only, as a macro call does in
/// void swap(T& a, T& b) NOEXCEPT_IF(...) or int f(const char* s) __THROW __nonnull((1)): it is part of the
/// trailer, not a second group of the declarator.
bool inTrailer(const std::vector<token_t>& tokens, size_t open);

/// The groups of `tokens` up to their first "throw", found in one scan at depth 0.
Shape shapeOf(const std::vector<token_t>& tokens);

/// The index of the "<" that matches the ">" at `close`, or kNone.
size_t matchingAngle(const std::vector<token_t>& tokens, size_t close);

/// The index of the "[" that matches the "]" at `close`, not before `begin`; kNone when there is none.
size_t matchingOpenBracket(const std::vector<token_t>& tokens, size_t close, size_t begin);

/// The index of the bracket that closes the group opening at `open`, or `end` when it is not closed.
size_t matchingClose(const std::vector<token_t>& tokens, size_t open, size_t end);

/// The first depth-0 "=" in [begin, end), or `end`.
size_t initializerAt(const std::vector<token_t>& tokens, size_t begin, size_t end);

/// A declarator in parentheses that declares a pointer or reference, as in void (*callback)(int): the index
/// of its "(", or kNone.
size_t parenthesisedDeclarator(const std::vector<token_t>& tokens, size_t begin, size_t end);

/// The name inside a parenthesised declarator opening at `open`: its last identifier that no "::" follows, or
/// kNone for an abstract declarator such as (*).
size_t nameInDeclarator(const std::vector<token_t>& tokens, size_t open, size_t close);

/// A declarator's name written with its array part: buf[16], table[N + 1].
std::string nameText(const std::vector<token_t>& tokens, size_t begin, size_t end);

/// The cleaned type text of `words`.
std::string joinTypeText(const std::vector<const token_t*>& words);

}  // namespace quillet::declaration
