#include "config/toml_stray_text.h"

namespace quillet {

namespace {

// Reads the text once, skipping comments and the four kinds of string; tracks line and column.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  std::optional<TomlTextPosition> run() {
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (static_cast<unsigned char>(c) >= 0x80) return position_;
      if (c == '#') {
        skipLine();
      } else if (c == '"' || c == '\'') {
        skipString(c);
      } else {
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
  TomlTextPosition position_;
};

}  // namespace

std::optional<TomlTextPosition> strayNonAsciiCharacter(std::string_view text) {
  return Scanner(text).run();
}

}  // namespace quillet
