#include "model/comment_cleanup.h"

#include <cstring>
#include <utility>

#include "common/byte_search.h"

namespace quillet {

namespace {

bool isMarkerOrBlank(char c) {
  return c == ' ' || c == '*' || c == '/';
}

// Blanks the markers at both ends of the line [begin, end). The leading run may cover the whole line; the
// trailing run never reaches the line's first character. With `keepEmphasis`, stars that open emphasis
// stay, and so do stars that close it at the end of the line.
void blankLineMarkers(std::string& text, size_t begin, size_t end, bool keepEmphasis) {
  // The leading run of markers and blanks, a chunk at a time (a line's own indentation and its "///" or
  // " * " come first).
  size_t i = begin;
  while (i + kChunkSize <= end) {
    const char* const chunk = text.data() + i;
    const uint32_t markers = chunkMask(chunk, ' ') | chunkMask(chunk, '*') | chunkMask(chunk, '/');
    if (markers != (1u << kChunkSize) - 1) {
      i += static_cast<size_t>(__builtin_ctz(~markers));
      break;
    }
    i += kChunkSize;
  }
  while (i < end && isMarkerOrBlank(text[i])) ++i;
  // Stars right before the first word may open emphasis; they stay.
  if (keepEmphasis && i > begin && i < end && text[i - 1] == '*')
    while (i > begin && text[i - 1] == '*') --i;
  const bool after_marker = i > begin && text[i - 1] != ' ';  // a "*" or "/" was right before i
  std::memset(text.data() + begin, ' ', i - begin);
  if (i == end) return;
  // "///<", "//!", "//!<", "/*!" and "/*!<" open comments of other documentation conventions: a "<" right
  // after the markers, and a "!" or "!<" opening the line, before a blank, belong to the marker.
  const auto before_blank = [&](size_t at) { return at + 1 == end || text[at + 1] == ' '; };
  if (text[i] == '!' && i + 1 < end && text[i + 1] == '<' && before_blank(i + 1)) {
    text[i] = ' ';
    text[i + 1] = ' ';
  } else if ((text[i] == '!' || (after_marker && text[i] == '<')) && before_blank(i)) {
    text[i] = ' ';
  }
  // A single "/" right after a word ends a path or URL ("https://host/"), not a comment decoration.
  const size_t last = end - 1;
  if (last > begin && text[last] == '/' && text[last - 1] != '/' && !isMarkerOrBlank(text[last - 1])) return;
  if (keepEmphasis && text[last] == '*' && text.find('*', i) < last) {
    size_t stars = last;
    while (stars > begin && text[stars - 1] == '*') --stars;
    if (stars > begin && !isMarkerOrBlank(text[stars - 1])) return;
  }
  for (size_t j = last; j > begin && isMarkerOrBlank(text[j]); --j) text[j] = ' ';
}

}  // namespace

std::string expandTabs(std::string_view text, int tabSize) {
  if (findEitherByte(text, '\t', '\r') == std::string_view::npos)
    return std::string(text);
  const size_t width = tabSize > 0 ? static_cast<size_t>(tabSize) : 8;
  std::string out;
  out.reserve(text.size() + 16);
  size_t column = 0;  // characters since the last line break
  size_t i = 0;
  while (i < text.size()) {
    size_t run = i;
    while (run < text.size() && text[run] != '\t' && text[run] != '\r') ++run;
    const std::string_view piece = text.substr(i, run - i);
    const size_t line_break = piece.rfind('\n');
    column = line_break == std::string_view::npos ? column + piece.size() : piece.size() - line_break - 1;
    out.append(piece);
    if (run == text.size()) break;
    if (text[run] == '\t') {
      const size_t blanks = width - column % width;
      out.append(blanks, ' ');
      column += blanks;
    } else if (run + 1 == text.size() || text[run + 1] != '\n') {
      out += '\r';  // a carriage return before a line feed is dropped, any other kept
      ++column;
    }
    i = run + 1;
  }
  return out;
}

void blankCommentMarkers(std::string& text, bool keepEmphasis) {
  size_t begin = 0;
  while (begin <= text.size()) {
    const size_t end = lineEnd(text, begin);
    blankLineMarkers(text, begin, end, keepEmphasis);
    begin = end + 1;
  }
}

CommentDirectives extractDirectives(std::string& text, std::string_view fileName) {
  CommentDirectives found;
  size_t open = text.find("$$(");
  if (open == std::string::npos) return found;

  std::string kept;  // the text without its directives, built in one pass
  kept.reserve(text.size());
  size_t copied = 0;
  std::string directive;
  for (; open != std::string::npos; open = text.find("$$(", copied)) {
    const size_t close = text.find(')', open + 3);
    if (close == std::string::npos) break;
    directive.clear();
    for (size_t i = open + 3; i < close; ++i)
      if (text[i] != ' ') directive += text[i];
    kept.append(text, copied, open - copied);
    // The search goes on right after the directive, so directives written back to back are all found.
    copied = close + 1;

    const size_t comma = directive.find(',');
    if (comma == std::string::npos) {
      found.errors.push_back("error:(" + std::string(fileName) +
                             ") cannot find comment directive in: " + directive + ".");
    } else if (std::string_view(directive).substr(0, comma) == "assign") {
      found.targets.push_back(directive.substr(comma + 1));
    } else {
      found.errors.push_back("error:(" + std::string(fileName) +
                             ") invalid comment directive in: " + directive + ". Must be assign.");
    }
  }
  kept.append(text, copied, std::string::npos);
  text = std::move(kept);
  return found;
}

}  // namespace quillet
