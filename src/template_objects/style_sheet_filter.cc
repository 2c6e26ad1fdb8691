#include "template_objects/style_sheet_filter.h"

#include <ostream>

namespace quillet {

namespace {

std::string_view htmlEntity(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    default:
      return {};
  }
}

bool isIdentifierByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Calls sink(piece) for the runs of `text` that need no escaping and for the escaped form of each byte
// that does, in order, so that writers stream whole runs instead of single bytes.
template <typename Escape, typename Sink>
void forEachEscapedPiece(std::string_view text, Escape escape, Sink sink) {
  size_t run_start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const std::string_view replacement = escape(text[i]);
    if (replacement.empty()) continue;
    if (i > run_start) sink(text.substr(run_start, i - run_start));
    sink(replacement);
    run_start = i + 1;
  }
  if (run_start < text.size()) sink(text.substr(run_start));
}

std::string_view rtfEscapeOf(char c) {
  switch (c) {
    case '\\':
      return "\\\\";
    case '{':
      return "\\{";
    case '}':
      return "\\}";
    default:
      return {};
  }
}

}  // namespace

void HTMLStyleSheetFilter::write(std::ostream& out, std::string_view text) const {
  writeHtmlEscaped(out, text);
}

void RTFStyleSheetFilter::write(std::ostream& out, std::string_view text) const {
  writeRtfEscaped(out, text);
}

std::string htmlEscape(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  forEachEscapedPiece(text, htmlEntity, [&](std::string_view piece) { result.append(piece); });
  return result;
}

void writeHtmlEscaped(std::ostream& out, std::string_view text) {
  forEachEscapedPiece(text, htmlEntity,
                      [&](std::string_view piece) { out.write(piece.data(), piece.size()); });
}

std::string rtfEscape(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  forEachEscapedPiece(text, rtfEscapeOf, [&](std::string_view piece) { result.append(piece); });
  return result;
}

void writeRtfEscaped(std::ostream& out, std::string_view text) {
  forEachEscapedPiece(text, rtfEscapeOf,
                      [&](std::string_view piece) { out.write(piece.data(), piece.size()); });
}

std::string makeIdentifier(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (!isIdentifierByte(c)) c = '_';
  }
  return result;
}

}  // namespace quillet
