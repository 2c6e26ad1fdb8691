#include "frontend/recognizer/comment_markers.h"

namespace quillet {

namespace {

std::string_view withoutIndent(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t");
  return first == std::string_view::npos ? std::string_view() : line.substr(first);
}

// True when `line` opens a documentation block of its own: a "///" or "//!" line comment, or a "/**" block
// when the trailing comment began as something other than a block (whose own lines start with "*").
bool opensOwnBlock(std::string_view line, bool blockLines) {
  const std::string_view text = withoutIndent(line);
  if (text.size() < 1) return false;
  const char next = text.size() > 1 ? text[1] : ' ';
  if (text[0] == '/') return next != '<' && next != '/';
  if (text[0] == '!') return next != '<';
  if (text[0] == '*') return !blockLines && next != '<' && next != '*' && next != '/';
  return false;
}

}  // namespace

bool isDocumentationComment(std::string_view text) {
  const std::string_view body = withoutIndent(text);
  if (body.empty()) return false;
  const char next = body.size() > 1 ? body[1] : ' ';
  switch (body[0]) {
    case '*':
      return next != '*';
    case '/':
      return next != '/';
    case '!':
      return true;
    default:
      return false;
  }
}

bool isBackMarked(std::string_view line) {
  const std::string_view text = withoutIndent(line);
  return text.size() >= 2 && text[1] == '<' && (text[0] == '/' || text[0] == '!' || text[0] == '*');
}

size_t trailingCommentLength(std::string_view text, bool sameLine, bool markedOnly) {
  size_t end = text.find('\n');
  end = end == std::string_view::npos ? text.size() : end + 1;
  const std::string_view first = text.substr(0, end);
  const bool marked = isBackMarked(first);
  if (!marked && (markedOnly || !sameLine)) return 0;
  // The lines that continue it: more "<" lines after a "<" line comment, the lines of a block comment, or
  // plain lines after a plain comment; a line that opens a documentation block of its own ends it.
  const bool block_lines = withoutIndent(first).starts_with('*');
  while (end < text.size()) {
    size_t next = text.find('\n', end);
    next = next == std::string_view::npos ? text.size() : next + 1;
    const std::string_view line = text.substr(end, next - end);
    const bool continues = marked && !block_lines ? isBackMarked(line) : !opensOwnBlock(line, block_lines);
    if (!continues) break;
    end = next;
  }
  return end;
}

void dropLintSuppressions(std::string& text) {
  if (text.find("NOLINT") == std::string::npos) return;
  std::string kept;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find('\n', begin);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string_view line = std::string_view(text).substr(begin, end - begin);
    const size_t word = line.find_first_not_of(" \t/*!<");
    if (word == std::string_view::npos || !line.substr(word).starts_with("NOLINT")) kept += line;
    begin = end;
  }
  text = std::move(kept);
}

}  // namespace quillet
