#include "config/toml_stray_text.h"

namespace quillet {

namespace {

// Reads the text once, skipping comments and the four kinds of string; tracks line and column.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  std::optional<TomlTextProblem> run() {
    bool lineStart = true;  // only blanks so far on this line
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (static_cast<unsigned char>(c) >= 0x80)
        return TomlTextProblem{position_, "a character outside ASCII stands outside a string or comment"};
      if (c == '[' && lineStart && openArrays_ == 0) {
        if (!tableHeaderKeysStartWell())
          return TomlTextProblem{position_, "a key of the table header starts with a character no key may"};
        lineStart = false;
      } else if (c == '#') {
        skipLine();
      } else if (c == '"' || c == '\'') {
        skipString(c);
        lineStart = false;
      } else {
        // A "[" inside a value's array, even first on its line, opens an array, not a table header.
        if (c == '[') ++openArrays_;
        if (c == ']' && openArrays_ > 0) --openArrays_;
        lineStart = c == '\n' || ((c == ' ' || c == '\t' || c == '\r') && lineStart);
        advance();
      }
    }
    return std::nullopt;
  }

 private:
  bool startsWith(std::string_view what) const { return text_.substr(at_).starts_with(what); }

  void advance() {
    const char c = text_[at_++];
    if (c == '\n') {
      ++position_.line;
      position_.column = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++position_.column;  // a UTF-8 continuation byte is part of the character before it
    }
  }

  static bool isBareKeyCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
  }
  void skipBlanks() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t')) advance();
  }

  // Reads a table header from its "[" or "[[" over its dotted keys; false, with the reader on the
  // character, when a key starts with a character that is neither a key character nor a quote.
  bool tableHeaderKeysStartWell() {
    advance();
    if (at_ < text_.size() && text_[at_] == '[') advance();
    while (true) {
      skipBlanks();
      if (at_ >= text_.size()) return true;
      const char c = text_[at_];
      if (c == '"' || c == '\'') {
        skipString(c);
      } else if (isBareKeyCharacter(c)) {
        while (at_ < text_.size() && isBareKeyCharacter(text_[at_])) advance();
      } else {
        return false;
      }
      skipBlanks();
      if (at_ >= text_.size() || text_[at_] != '.') return true;
      advance();
    }
  }

  void skipLine() {
    while (at_ < text_.size() && text_[at_] != '\n') advance();
  }

  // A basic string ('"') knows backslash escapes, a literal one ('\'') does not; tripled quotes open one
  // of several lines, whose closing quotes may be followed by up to two more quotes of its text. A string
  // of one line that is not closed ends at the line's end (the library reports it).
  void skipString(char quote) {
    const std::string_view triple = quote == '"' ? "\"\"\"" : "'''";
    const bool multiLine = startsWith(triple);
    for (size_t i = 0; i < (multiLine ? 3u : 1u); ++i) advance();
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (c == '\n' && !multiLine) return;
      if (c == '\\' && quote == '"') {
        advance();
        if (at_ < text_.size()) advance();
        continue;
      }
      if (multiLine ? startsWith(triple) : c == quote) {
        for (size_t i = 0; i < (multiLine ? 3u : 1u); ++i) advance();
        for (size_t i = 0; multiLine && i < 2 && at_ < text_.size() && text_[at_] == quote; ++i) advance();
        return;
      }
      advance();
    }
  }

  std::string_view text_;
  size_t at_ = 0;
  size_t openArrays_ = 0;
  TomlTextPosition position_;
};

}  // namespace

std::optional<TomlTextProblem> tomlTextProblem(std::string_view text) {
  return Scanner(text).run();
}

}  // namespace quillet
