#include "frontend/preprocessor/source_colouring.h"

#include <string>

#include "frontend/preprocessor/macro_expander.h"
#include "frontend/preprocessor/raw_scanner.h"

namespace quillet {

namespace {

// How far ahead of the last token the next one is looked for; a token further away is left uncoloured.
constexpr size_t kSearchWindow = 1 << 16;

bool isKeywordKind(int32_t kind) {
  return isWordKind(kind) && kind != T_IDENTIFIER;
}

// Comments stand in the stretches between tokens: from the first "//" or "/*" of such a stretch to its
// last non-blank character.
void colourGap(std::string_view text, size_t begin, size_t end, std::vector<SourceSpan>& spans) {
  for (size_t i = begin; i + 1 < end; ++i) {
    if (text[i] == '/' && (text[i + 1] == '/' || text[i + 1] == '*')) {
      size_t last = end;
      while (last > i && (text[last - 1] == ' ' || text[last - 1] == '\t' || text[last - 1] == '\n' ||
                          text[last - 1] == '\r'))
        --last;
      spans.push_back({i, last, SpanKind::kComment});
      return;
    }
  }
}

}  // namespace

std::vector<SourceSpan> colourSource(std::string_view text) {
  std::vector<SourceSpan> spans;
  RawScanner scanner{std::string(text)};
  token_t token;
  size_t at = 0;
  bool directive = false;
  for (scanner.nextToken(token); token.kind != T_EOF; scanner.nextToken(token)) {
    if (token.text.empty() || token.text == "\n") {
      directive = false;
      continue;
    }
    // A string literal is looked for as written, quotes and escapes included.
    const std::string written = spellingOf(token);
    const size_t found = text.substr(at, kSearchWindow).find(written);
    if (found == std::string_view::npos) continue;
    const size_t begin = at + found;
    const size_t end = begin + written.size();
    colourGap(text, at, begin, spans);
    at = end;
    if (token.kind == '#') {
      directive = true;
      spans.push_back({begin, end, SpanKind::kDirective});
      continue;
    }
    if (directive && !spans.empty() && spans.back().kind == SpanKind::kDirective &&
        spans.back().end <= begin && isWordKind(token.kind)) {
      spans.back().end = end;  // "#" and its directive word are one stretch
      directive = false;
      continue;
    }
    directive = false;
    if (token.kind == T_LITERAL) {
      spans.push_back({begin, end, SpanKind::kLiteral});
    } else if (token.kind == T_TYPE) {
      spans.push_back({begin, end, SpanKind::kType});
    } else if (isKeywordKind(token.kind)) {
      spans.push_back({begin, end, SpanKind::kKeyword});
    }
  }
  colourGap(text, at, text.size(), spans);
  return spans;
}

}  // namespace quillet
