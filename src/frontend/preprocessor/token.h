// The raw token: what the source scanner produces and what the preprocessor, the C++ lexer and the
// declaration recognizer pass along. The kind numbers are shared by all of these stages: kinds below 128
// are single characters and equal the character's code.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

/// The comment texts that precede a token, in source order. Copies of a token share one block.
using CommentBlock = std::vector<std::string>;

// Token kinds above the single characters.
enum TokenKind : int32_t {
  T_EOF = 128,
  T_WHITESPACE = 129,
  T_SCOPE = 130,
  T_EQ = 131,
  T_NE = 132,
  T_LE = 133,
  T_GE = 134,
  T_ANDAND = 135,
  T_OROR = 136,
  T_LITERAL = 137,
  T_IDENTIFIER = 138,
  T_TYPE = 139,
  T_QUALIFIER = 140,
  T_DECLSPEC = 141,
  T_EXTERN = 142,
  T_USING = 143,
  T_NAMESPACE = 144,
  T_REGISTER = 145,
  T_INLINE = 146,
  T_CLASS_KEY = 147,
  T_PUBLIC = 148,
  T_PROTECTED = 149,
  T_PRIVATE = 150,
  T_TEMPLATE = 151,
  T_FRIEND = 152,
  T_ENUM = 153,
  T_TYPEDEF = 154,
  T_WHILE = 156,
  T_DO = 157,
  T_SWITCH = 158,
  T_CASE = 159,
  T_DEFAULT = 160,
  T_OTHER = 161,
  T_FOR = 162,
  T_THROW = 163,
  T_INCLUDE = 1000,
  T_IF = 1001,
  T_IFDEF = 1002,
  T_IFNDEF = 1003,
  T_ELIF = 1004,
  T_ELSE = 1005,
  T_ENDIF = 1006,
  T_DEFINE = 1007,
  T_UNDEF = 1008,
  T_ERROR = 1009,
  T_LINE = 1010,
  T_PRAGMA = 1011,
  T_PASTE = 1012,
};

// What the preprocessor records about a token besides its kind and text.
enum TokenFlags : uint8_t {
  /// White space, a comment or a line break came before the token.
  kSpaceBefore = 1,
  /// A macro name met inside its own expansion: it is never expanded again, wherever it goes.
  kNoExpand = 2,
  /// A string literal (its text is without the quotes).
  kStringLiteral = 4,
};

struct token_t {
  /// A TokenKind, or the code of a single character below 128.
  int32_t kind = T_EOF;
  /// The comments that precede the token; null when there are none.
  std::shared_ptr<CommentBlock> comment;
  /// The token's characters (a string literal without its quotes).
  std::string text;
  /// The column at which the token starts, counted from 0.
  uint32_t column = 0;
  /// The line on which the token ends, counted from 1.
  uint32_t line = 0;
  /// The line on which the attached comment block began.
  uint32_t commentLine = 0;
  /// TokenFlags: what the preprocessor knows of the token beyond its kind and text.
  uint8_t flags = 0;
};

/// The kind of the word `text`: a keyword or directive kind from the word table, else T_IDENTIFIER.
int32_t wordKind(std::string_view text);

/// True for kinds that stand for a word (identifiers, keywords and directive words): the names a macro
/// may have.
inline bool isWordKind(int32_t kind) {
  return kind == T_IDENTIFIER || (kind >= T_TYPE && kind <= T_THROW && kind != T_OTHER) ||
         (kind >= T_INCLUDE && kind <= T_PRAGMA);
}

}  // namespace quillet
