// A coloured stretch of source text: what the scanner tells the source pages about the tokens of a file,
// as byte ranges of the text and the kind of token each holds.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillet {

/// The kinds of token a source page colours.
enum class SpanKind : uint8_t { kKeyword, kType, kLiteral, kComment, kDirective };

struct SourceSpan {
  /// The first byte of the stretch and the byte after it.
  size_t begin = 0;
  size_t end = 0;
  SpanKind kind = SpanKind::kKeyword;
};

}  // namespace quillet
