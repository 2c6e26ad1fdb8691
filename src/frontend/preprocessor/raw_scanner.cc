#include "frontend/preprocessor/raw_scanner.h"

#include <cstring>
#include <utility>

#include "common/file_contents.h"
#include "common/message_output.h"

namespace quillet {

namespace {

// Character classes of the scanner, looked up in one table.
enum : uint8_t {
  kSpace = 1,      // space, tab, newline, carriage return, vertical tab, form feed
  kWordStart = 2,  // letter or underscore
  kWord = 4,       // letter, digit or underscore
  kHexDigit = 8,   // 0-9, a-f, A-F
  kSingle = 16,    // a character that is a token kind of its own
  kSkipStop = 32,  // a character that skipping to the next directive must look at
};

struct CharTable {
  uint8_t flags[256] = {};
  constexpr CharTable() {
    for (char c : {' ', '\t', '\n', '\r', '\v', '\f'}) flags[static_cast<uint8_t>(c)] |= kSpace;
    for (int c = 'a'; c <= 'z'; ++c) flags[c] |= kWordStart | kWord;
    for (int c = 'A'; c <= 'Z'; ++c) flags[c] |= kWordStart | kWord;
    flags[static_cast<uint8_t>('_')] |= kWordStart | kWord;
    for (int c = '0'; c <= '9'; ++c) flags[c] |= kWord | kHexDigit;
    for (int c = 'a'; c <= 'f'; ++c) flags[c] |= kHexDigit;
    for (int c = 'A'; c <= 'F'; ++c) flags[c] |= kHexDigit;
    for (char c : {'.', '-', '+', '&', ',', '(', ')', '<', '>', ';', ':',
                   '*', '{', '}', '[', ']', '=', '!', '~', '#', '\\'})
      flags[static_cast<uint8_t>(c)] |= kSingle;
    for (char c : {'\n', '"', '\'', '/', '\\'}) flags[static_cast<uint8_t>(c)] |= kSkipStop;
  }
};
constexpr CharTable kChars;

inline bool is(char c, uint8_t cls) {
  return (kChars.flags[static_cast<uint8_t>(c)] & cls) != 0;
}

// Replaces every non-overlapping occurrence of `from` by `to`, scanning left to right once.
void replaceAll(std::string& s, std::string_view from, std::string_view to) {
  std::string out;
  size_t pos = 0;
  for (size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size()) {
    out.append(s, pos, hit - pos);
    out.append(to);
  }
  if (pos == 0) return;
  out.append(s, pos, std::string::npos);
  s.swap(out);
}

// Reads a file for scanning: CR LF pairs become LF, as a text-mode read would give them.
std::string readSource(const std::string& file_name) {
  std::string text;
  const InputRead read = readInputFile(file_name, InputKind::kSource, text);
  if (read.outcome == ReadOutcome::kCannotOpen) {
    reportMessage("error: Could not open file " + file_name);
    return {};
  }
  if (!read.ok()) {
    reportMessage("error: " + read.problem(file_name, InputKind::kSource));
    return {};
  }
  if (std::memchr(text.data(), '\r', text.size()) != nullptr) {
    size_t out = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
      text[out++] = text[i];
    }
    text.resize(out);
  }
  return text;
}

}  // namespace

RawScanner::RawScanner(std::string text, uint32_t tab_width)
    : buffer_(std::move(text)),
      p_(buffer_.data()),
      end_(buffer_.data() + buffer_.size()),
      tabWidth_(tab_width > 0 ? tab_width : 8) {}

void RawScanner::restore(const Mark& m) {
  p_ = buffer_.data() + m.offset;
  line_ = m.line;
  column_ = m.column;
}

// Counts one character that was just consumed.
inline void RawScanner::advance(char c) {
  if (c == '\n') {
    ++line_;
    column_ = 0;
  } else if (c == '\t') {
    ++column_;
    column_ = column_ - column_ % tabWidth_ + tabWidth_;
  } else {
    ++column_;
  }
}

int RawScanner::getChar() {
  last_ = mark();
  if (p_ == end_) return -1;
  char c = *p_++;
  advance(c);
  return static_cast<uint8_t>(c);
}

void RawScanner::putBackChar() {
  restore(last_);
}

void RawScanner::skipWhiteSpaceAndComments(std::string& comments) {
  while (p_ != end_) {
    if (is(*p_, kSpace)) {
      advance(*p_++);
    } else if (*p_ == '/' && p_ + 1 != end_ && p_[1] == '/') {
      advance(*p_++);
      advance(*p_++);
      while (p_ != end_ && *p_ != '\n') comments.push_back(*p_), advance(*p_++);
      if (p_ != end_) advance(*p_++);
      comments.push_back('\n');
    } else if (*p_ == '/' && p_ + 1 != end_ && p_[1] == '*') {
      advance(*p_++);
      advance(*p_++);
      while (p_ != end_ && !(*p_ == '*' && p_ + 1 != end_ && p_[1] == '/'))
        comments.push_back(*p_), advance(*p_++);
      for (int i = 0; i < 2 && p_ != end_; ++i) advance(*p_++);
      comments.push_back('\n');
    } else {
      return;
    }
  }
}

bool RawScanner::skipToDirective(bool at_line_start) {
  if (atStart_) {
    atStart_ = false;
    at_line_start = true;
  }
  const char* p = p_;
  const char* line_begin = p_;
  uint32_t line = line_;
  bool start = at_line_start;  // nothing but white space and comments since the line began
  auto block_comment = [&] {   // at "/*": to just after "*/", lines counted
    for (p += 2; p < end_; ++p) {
      if (*p == '\n') {
        ++line;
        line_begin = p + 1;
      } else if (*p == '*' && p + 1 < end_ && p[1] == '/') {
        p += 2;
        return;
      }
    }
  };
  while (p < end_) {
    const char c = *p;
    if (c == '\n') {
      ++line;
      line_begin = ++p;
      start = true;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f') {
      ++p;
    } else if (c == '#' && start) {
      p_ = line_begin;
      line_ = line;
      column_ = 0;
      while (p_ != p) advance(*p_++);  // the column, tab stops counted
      return true;
    } else if (c == '/' && p + 1 < end_ && p[1] == '*') {
      block_comment();
    } else if (c == '/' && p + 1 < end_ && p[1] == '/') {
      const void* eol = std::memchr(p, '\n', static_cast<size_t>(end_ - p));
      p = eol != nullptr ? static_cast<const char*>(eol) : end_;
    } else if (c == '"' || c == '\'') {
      // A literal ends at its closing quote or, unescaped, at the end of its line.
      start = false;
      for (++p; p < end_ && *p != c && *p != '\n'; ++p) {
        if (*p == '\\' && p + 1 < end_) {
          if (*++p == '\n') {
            ++line;
            line_begin = p + 1;
          }
        }
      }
      if (p < end_ && *p == c) ++p;
    } else if (c == '\\' && p + 1 < end_ && p[1] == '\n') {
      p += 2;  // a continued line goes on; what follows does not start a line
      ++line;
      line_begin = p;
      start = false;
    } else {
      // Inside a line, only line breaks, literals, comments and continuations matter.
      start = false;
      for (++p; p < end_ && !is(*p, kSkipStop);) ++p;
    }
  }
  p_ = line_begin;
  line_ = line;
  column_ = 0;
  while (p_ != end_) advance(*p_++);
  return false;
}

// Undoes the consumption of the line break that ended a line comment, so that the preprocessor sees the
// comment followed by a line break. A comment on the last line of a text without one gets one.
void RawScanner::putBackLineBreak() {
  if (p_ == end_ && (p_ == buffer_.data() || p_[-1] != '\n')) {
    size_t offset = buffer_.size();
    buffer_.push_back('\n');
    p_ = buffer_.data() + offset;
    end_ = buffer_.data() + buffer_.size();
  } else {
    --p_;
  }
  --line_;
  column_ = 0;
}

void RawScanner::lineComment(token_t& token) {
  if (!token.comment) {
    token.comment = std::make_shared<CommentBlock>(1);
    token.commentLine = line_;
  }
  std::string& text = token.comment->back();
  for (;;) {
    const char* eol = static_cast<const char*>(std::memchr(p_, '\n', static_cast<size_t>(end_ - p_)));
    if (eol == nullptr) eol = end_;
    text.append(column_, ' ');
    text.append(p_, eol);
    text.push_back('\n');
    p_ = eol == end_ ? end_ : eol + 1;
    ++line_;
    column_ = 0;
    // A line comment on the next line, after nothing but white space, continues this one.
    Mark before = mark();
    while (p_ != end_ && *p_ != '\n' && is(*p_, kSpace)) advance(*p_++);
    if (end_ - p_ >= 2 && p_[0] == '/' && p_[1] == '/') {
      advance(*p_++);
      advance(*p_++);
      continue;
    }
    restore(before);
    break;
  }
  putBackLineBreak();
}

void RawScanner::blockComment(token_t& token) {
  if (!token.comment) {
    token.comment = std::make_shared<CommentBlock>(1);
    token.commentLine = line_;
  }
  std::string& text = token.comment->back();
  for (;;) {
    // A comment that opens at the start of a line keeps two spaces of indentation.
    text.append(column_ > 2 ? column_ - 2 : column_, ' ');
    column_ = 0;
    for (;;) {
      const char* star = p_;
      while (star != end_ && *star != '*') advance(*star++);
      text.append(p_, star);
      p_ = star;
      if (p_ == end_) break;
      advance(*p_++);  // the star
      if (p_ == end_) break;
      char after = *p_;
      if (after == '/') {
        advance(*p_++);
        break;
      }
      if (after == '*') {
        text.push_back('*');  // a run of stars is comment text; only the last one may close the comment
        continue;
      }
      advance(*p_++);
      text.push_back('*');
      text.push_back(after);
    }
    text.push_back('\n');
    // Another block comment after white space, across at most one line break, joins this one.
    Mark before = mark();
    bool crossed = false;
    while (p_ != end_ && is(*p_, kSpace)) {
      if (*p_ == '\n') {
        if (crossed) break;
        crossed = true;
      }
      advance(*p_++);
    }
    if (end_ - p_ >= 2 && p_[0] == '/' && p_[1] == '*') {
      advance(*p_++);
      advance(*p_++);
      continue;
    }
    restore(before);
    break;
  }
}

void RawScanner::stringLiteral(std::string& text) {
  while (p_ != end_) {
    char c = *p_++;
    advance(c);
    if (c == '"') return;
    if (c == '\\' && p_ != end_ && (*p_ == '"' || *p_ == '\\' || *p_ == '\n')) {
      c = *p_++;
      advance(c);
      text.push_back(c);
      continue;
    }
    text.push_back(c);
    if (c == '\n') return;
  }
}

// A character literal keeps its quotes and escapes. An unescaped line break ends it, as it ends a string
// literal, so that a lone apostrophe (in an "error" line or a skipped group) cannot swallow the lines
// after it.
void RawScanner::charLiteral(std::string& text) {
  text.push_back('\'');
  while (p_ != end_) {
    char c = *p_++;
    advance(c);
    text.push_back(c);
    if (c == '\'' || c == '\n') return;
    if (c == '\\' && p_ != end_) {
      c = *p_++;
      advance(c);
      text.push_back(c);
    }
  }
}

void RawScanner::number(std::string& text) {
  while (p_ != end_ && (is(*p_, kHexDigit) || *p_ == '.' || ((*p_ == 'x' || *p_ == 'X') && text == "0"))) {
    text.push_back(*p_);
    advance(*p_++);
  }
  if (p_ != end_ && (*p_ == 'u' || *p_ == 'U')) text.push_back(*p_), advance(*p_++);
  if (p_ != end_ && (*p_ == 'l' || *p_ == 'L' || *p_ == 'f' || *p_ == 'F'))
    text.push_back(*p_), advance(*p_++);
}

// The name of an operator function: "operator" followed by the characters up to the parameter list. The
// name also ends before ";", "{" and "}", which no operator name contains, so that a using-declaration
// such as "using Base::operator=;" does not swallow the declarations after it, and at the end of its line
// (or a line continuation), so that "using ::ns::operator^=" ending a macro definition does not swallow
// the lines after the directive.
void RawScanner::operatorName(std::string& text) {
  std::string scratch;
  skipWhiteSpaceAndComments(scratch);
  auto ends_name = [](char c) {
    return c == '(' || c == ';' || c == '{' || c == '}' || c == '\n' || c == '\r' || c == '\\';
  };
  if (p_ != end_ && is(*p_, kWordStart)) text.push_back(' ');
  if (p_ != end_ && !(*p_ == ';' || *p_ == '{' || *p_ == '}')) {
    text.push_back(*p_);
    advance(*p_++);
    while (p_ != end_ && !ends_name(*p_)) {
      text.push_back(*p_);
      advance(*p_++);
    }
  }
  while (!text.empty() && is(text.back(), kSpace)) text.pop_back();
  replaceAll(text, "\t", " ");
  replaceAll(text, "  ", " ");
  replaceAll(text, " *", "*");
  replaceAll(text, " &", "&");
}

void RawScanner::nextToken(token_t& token) {
  token.comment.reset();
  token.flags = 0;
  std::string& text = token.text;
  text.clear();
  int32_t kind = T_EOF;
  if (atStart_) {
    // Every text begins with a line break, so a directive on its first line is at the start of a line.
    atStart_ = false;
    text.push_back('\n');
    kind = T_WHITESPACE;
  } else {
    while (p_ != end_) {
      const char* start = p_;
      char c = *p_++;
      advance(c);
      char next = p_ != end_ ? *p_ : '\0';
      if (is(c, kSpace)) {
        while (p_ != end_ && is(*p_, kSpace)) advance(*p_++);
        text.assign(start, p_);
        kind = T_WHITESPACE;
      } else if (is(c, kWordStart)) {
        while (p_ != end_ && is(*p_, kWord)) ++p_;
        column_ += static_cast<uint32_t>(p_ - start - 1);
        text.assign(start, p_);
        if (text == "operator") {
          operatorName(text);
          kind = T_IDENTIFIER;
        } else {
          kind = wordKind(text);
        }
      } else if (c >= '0' && c <= '9') {
        text.push_back(c);
        number(text);
        kind = T_LITERAL;
      } else if (c == '/' && next == '/') {
        advance(*p_++);
        lineComment(token);
        continue;
      } else if (c == '/' && next == '*') {
        advance(*p_++);
        blockComment(token);
        continue;
      } else if (c == '"') {
        stringLiteral(text);
        kind = T_LITERAL;
        token.flags = kStringLiteral;
      } else if (c == '\'') {
        charLiteral(text);
        kind = T_LITERAL;
      } else {
        // Operators of two characters, then single characters.
        int32_t pair = 0;
        if (next == '#' && c == '#')
          pair = T_PASTE;
        else if (next == '=' && c == '=')
          pair = T_EQ;
        else if (next == '=' && c == '!')
          pair = T_NE;
        else if (next == '=' && c == '<')
          pair = T_LE;
        else if (next == '=' && c == '>')
          pair = T_GE;
        else if (next == '&' && c == '&')
          pair = T_ANDAND;
        else if (next == '|' && c == '|')
          pair = T_OROR;
        else if (next == ':' && c == ':')
          pair = T_SCOPE;
        if (pair != 0) {
          advance(*p_++);
          text.assign(start, 2);
          kind = pair;
        } else {
          text.push_back(c);
          kind =
              is(c, kSingle) ? static_cast<int32_t>(static_cast<uint8_t>(c)) : static_cast<int32_t>(T_OTHER);
        }
      }
      break;
    }
  }
  token.kind = kind;
  token.line = line_;
  token.column = column_ >= text.size() ? column_ - static_cast<uint32_t>(text.size()) : 0;
}

FileRawScanner::FileRawScanner(const std::string& file_name, uint32_t tab_width)
    : RawScanner(readSource(file_name), tab_width), fileName_(file_name) {}

}  // namespace quillet
