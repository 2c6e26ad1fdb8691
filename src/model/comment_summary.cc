#include "model/comment_summary.h"

#include <array>

#include "model/comment_markup.h"

namespace quillet {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\n' || c == '\t' || c == '\r';
}

bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the "." at `at` ends an abbreviation that does not end a sentence ("e.g.", "i.e.", "vs.").
bool endsAbbreviation(std::string_view text, size_t at) {
  static constexpr std::array<std::string_view, 4> kAbbreviations = {"e.g", "i.e", "vs", "cf"};
  for (std::string_view abbreviation : kAbbreviations) {
    if (at < abbreviation.size()) continue;
    const size_t start = at - abbreviation.size();
    if (start > 0 && isLetter(text[start - 1])) continue;
    bool same = true;
    for (size_t i = 0; same && i < abbreviation.size(); ++i) same = lower(text[start + i]) == abbreviation[i];
    if (same) return true;
  }
  return false;
}

// Where the tag starting at `at` ends (after its ">"), or `at` when no tag starts there.
size_t skipTag(std::string_view text, size_t at, bool prepared) {
  if (prepared) {
    if (text[at] != kMarkupTagOpen) return at;
    const size_t close = text.find(kMarkupTagClose, at);
    return close == std::string_view::npos ? text.size() : close + 1;
  }
  if (text[at] != '<') return at;
  size_t name = at + 1;
  if (name < text.size() && text[name] == '/') ++name;
  size_t end = name;
  while (end < text.size() && !isCommentSeparator(text[end])) ++end;
  if (!isAllowedCommentTag(text.substr(name, end - name))) return at;
  const size_t close = text.find('>', end);
  return close == std::string_view::npos ? at : close + 1;
}

}  // namespace

size_t firstSentenceLength(std::string_view text, bool preformatted, bool prepared) {
  bool seen_text = false;  // a sentence needs something before its end
  size_t i = 0;
  while (i < text.size()) {
    const size_t after_tag = skipTag(text, i, prepared);
    if (after_tag != i) {
      i = after_tag;
      continue;
    }
    const char c = text[i];
    if (preformatted && c == '\n' && seen_text) return i + 1;
    if ((c == '.' || c == '!' || c == '?') && seen_text) {
      // Closing brackets, quotes, further marks and closing tags after the mark belong to the sentence.
      size_t end = i + 1;
      while (end < text.size()) {
        const char next = text[end];
        if (next == ')' || next == '"' || next == '\'' || next == '.' || next == '!' || next == '?') {
          ++end;
        } else if (end + 1 < text.size() && text[end + 1] == '/' && skipTag(text, end, prepared) != end) {
          end = skipTag(text, end, prepared);
        } else {
          break;
        }
      }
      const bool followed_by_blank = end == text.size() || isBlank(text[end]);
      if (followed_by_blank && !(c == '.' && end == i + 1 && endsAbbreviation(text, i))) return end;
      i = end;
      continue;
    }
    if (!isBlank(c)) seen_text = true;
    ++i;
  }
  return text.size();
}

}  // namespace quillet
