// The source scanner: turns the characters of one source text into raw tokens for the preprocessor. It
// classifies characters, recognises the words of the word table, keeps the line and column, and attaches
// every comment it skips to the next token it returns. RawScanner works over any text (the preprocessor
// scans configured define values with it); FileRawScanner reads a named file. Both scan one in-memory
// buffer with a pointer.
#pragma once

#include <cstdint>
#include <string>

#include "frontend/preprocessor/token.h"

namespace quillet {

class RawScanner {
 public:
  /// A scanner over `text`; its first token is a line break, then the tokens of the text.
  /// A scanner over `text` with tab stops every `tab_width` columns (8 when 0).
  explicit RawScanner(std::string text, uint32_t tab_width = 8);
  virtual ~RawScanner() = default;
  RawScanner(const RawScanner&) = delete;
  RawScanner& operator=(const RawScanner&) = delete;

  /// Replaces `token` with the next raw token; T_EOF (repeatedly) once the input is used up.
  void nextToken(token_t& token);
  /// The next character (0 to 255) with line and column counted, or -1 at the end of the input.
  int getChar();
  /// Returns the character that the last getChar read to the input, restoring its line and column.
  void putBackChar();
  /// Skips white space and comments, appending the comment text to `comments`.
  void skipWhiteSpaceAndComments(std::string& comments);
  /// Skips source text up to the next "#" that begins a line (only white space and comments before it on
  /// its line), without making tokens: true when one was found (the next token is that "#"), false at the
  /// end of the input. `at_line_start` tells whether the text skipped starts a line. Comments, string and
  /// character literals are passed over as the tokens would pass over them, and lines are counted.
  bool skipToDirective(bool at_line_start);

  /// The current line, counted from 1.
  uint32_t line() const { return line_; }
  /// The current column, counted from 0.
  uint32_t column() const { return column_; }
  /// The number of bytes of input.
  size_t size() const { return buffer_.size(); }

 private:
  // A position in the input with its line and column, for look-ahead that may have to be undone.
  struct Mark {
    size_t offset;
    uint32_t line;
    uint32_t column;
  };
  Mark mark() const { return {static_cast<size_t>(p_ - buffer_.data()), line_, column_}; }
  void restore(const Mark& m);
  void advance(char c);
  void lineComment(token_t& token);
  void blockComment(token_t& token);
  void stringLiteral(std::string& text);
  void charLiteral(std::string& text);
  void number(std::string& text);
  void operatorName(std::string& text);
  void putBackLineBreak();

  std::string buffer_;
  const char* p_;
  const char* end_;
  bool atStart_ = true;
  uint32_t column_ = 0;
  uint32_t line_ = 1;
  uint32_t tabWidth_;
  Mark last_{0, 1, 0};  // state before the last getChar, for putBackChar
};

class FileRawScanner : public RawScanner {
 public:
  /// A scanner over the file `file_name`; a file that cannot be read is reported and scans as empty.
  explicit FileRawScanner(const std::string& file_name, uint32_t tab_width = 8);

  /// The name the scanner was opened with.
  const std::string& fileName() const { return fileName_; }

 private:
  std::string fileName_;
};

}  // namespace quillet
