#include "model/comment_inline.h"

#include <array>
#include <cstring>

#include "common/byte_search.h"
#include "model/comment_commands.h"
#include "model/comment_markup_writers.h"

namespace quillet {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isWordCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The characters "\c" stands for in comment text.
bool isEscapable(char c) {
  return c == '\\' || c == '@' || c == '&' || c == '$' || c == '#' || c == '<' || c == '>' || c == '%' ||
         c == '"' || c == '.' || c == '|' || c == '{' || c == '}' || c == '-' || c == '!' || c == '=';
}

// Where the word starting at `at` (after blanks on the line) ends, without punctuation that closes the
// sentence around it; `begin` gets where it starts.
size_t wordEnd(std::string_view text, size_t at, size_t& begin) {
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  begin = at;
  size_t end = at;
  while (end < text.size() && !isBlank(text[end])) ++end;
  // A sentence's punctuation after the word is not part of it; a name's "()" is.
  while (end > begin && std::string_view(".,;:!?'\"").find(text[end - 1]) != std::string_view::npos) --end;
  if (end > begin && text[end - 1] == ')' &&
      text.substr(begin, end - begin).find('(') == std::string_view::npos)
    --end;
  return end;
}

// How much of `word` can be part of the name of a symbol (with its scope, template arguments and
// parameters): up to a brace, backslash, quote or control character.
size_t nameLength(std::string_view word) {
  size_t length = 0;
  while (length < word.size()) {
    const unsigned char c = static_cast<unsigned char>(word[length]);
    if (c < 0x20 || c == 0x7f || c == '{' || c == '}' || c == '\\' || c == '"' || c == '\'' || c == '`')
      break;
    ++length;
  }
  return length;
}

// Where a web address starting at `at` ends, or `at` when none starts there.
size_t urlEnd(std::string_view text, size_t at) {
  const std::string_view rest = text.substr(at);
  if (!rest.starts_with("http://") && !rest.starts_with("https://")) return at;
  if (at > 0 && isWordCharacter(text[at - 1])) return at;
  size_t end = at;
  while (end < text.size() && !isBlank(text[end]) && text[end] != '<' && text[end] != '>' &&
         text[end] != '"' && text[end] != '`')
    ++end;
  while (end > at && std::string_view(".,;:!?)'").find(text[end - 1]) != std::string_view::npos) --end;
  return text.substr(at, end - at).find("://") + 3 < end - at ? end : at;
}

std::string quoted(std::string_view value) {
  std::string text = "\"";
  for (char c : value) text += c == '"' ? '\'' : c;
  text += '"';
  return text;
}

// Inline commands, escapes and addresses of a stretch of text that holds no HTML tag.
class InlineReader {
 public:
  InlineReader(std::string_view text, PreparedText& into) : text_(text), into_(into), out_(into.text) {}

  void read() {
    size_t plain = 0;
    size_t at = 0;
    while (at < text_.size()) {
      const char c = text_[at];
      size_t next = at;
      if (c == '\\' && at + 1 < text_.size() && isEscapable(text_[at + 1])) {
        appendPreparedText(out_, text_.substr(plain, at - plain));
        appendPreparedText(out_, text_.substr(at + 1, 1));
        plain = at + 2;
        at += 2;
        continue;
      }
      if (c == '\\' && text_.substr(at + 1).starts_with("::")) {
        appendPreparedText(out_, text_.substr(plain, at - plain));
        plain = at + 1;
        at += 3;
        continue;
      }
      CommandAt command;
      if ((c == '@' || c == '\\') && readCommand(text_, at, command) && command.command &&
          command.command->role == CommandRole::kInline) {
        appendPreparedText(out_, text_.substr(plain, at - plain));
        next = inlineCommand(command);
        plain = next;
        at = next;
        continue;
      }
      if (c == 'h' && (next = urlEnd(text_, at)) > at) {
        appendPreparedText(out_, text_.substr(plain, at - plain));
        const std::string_view url = text_.substr(at, next - at);
        appendPreparedTag(out_, "a", {{"href", quoted(url), false}});
        appendPreparedText(out_, url);
        appendPreparedTag(out_, "/a");
        plain = next;
        at = next;
        continue;
      }
      ++at;
    }
    appendPreparedText(out_, text_.substr(plain));
  }

 private:
  // Writes the inline command and returns where the text after it (and its argument) starts.
  size_t inlineCommand(const CommandAt& command) {
    const std::string_view name = command.name;
    size_t begin = 0;
    if (name == "n") {
      appendPreparedTag(out_, "br");
      return command.end;
    }
    if (name == "li" || name == "arg") {
      if (!into_.inList) {
        appendPreparedTag(out_, "ul");
        into_.block = true;
        into_.inList = true;
      }
      appendPreparedTag(out_, "li");
      return command.end;
    }
    if (name == "endlink") return command.end;
    size_t end = wordEnd(text_, command.end, begin);
    // A name that a command refers to ends where a character no name holds begins (a brace, a quote).
    if (name == "ref" || name == "link" || name == "copydoc" || name == "copybrief" || name == "copydetails")
      end = begin + nameLength(text_.substr(begin, end - begin));
    const std::string_view word = text_.substr(begin, end - begin);
    if (name == "copydoc" || name == "copybrief" || name == "copydetails") {
      if (!word.empty()) into_.copyTargets.emplace_back(word);
      return end;
    }
    if (word.empty()) return command.end;
    if (name == "ref" || name == "link") {
      size_t after = end;
      std::string_view shown = word;
      if (name == "link") {
        // "@link name the text @endlink"
        const size_t close = text_.find("endlink", end);
        if (close != std::string_view::npos && close > end &&
            (text_[close - 1] == '@' || text_[close - 1] == '\\')) {
          shown = text_.substr(end, close - 1 - end);
          while (!shown.empty() && isBlank(shown.front())) shown.remove_prefix(1);
          while (!shown.empty() && isBlank(shown.back())) shown.remove_suffix(1);
          after = close + 7;
        }
      } else {
        // "@ref name "the text""
        size_t quote = end;
        while (quote < text_.size() && text_[quote] == ' ') ++quote;
        if (quote < text_.size() && text_[quote] == '"') {
          const size_t close = text_.find('"', quote + 1);
          if (close != std::string_view::npos) {
            shown = text_.substr(quote + 1, close - quote - 1);
            after = close + 1;
          }
        }
      }
      appendPreparedTag(out_, "ref", {{"name", quoted(word), false}});
      appendPreparedText(out_, shown.empty() ? word : shown);
      appendPreparedTag(out_, "/ref");
      return after;
    }
    const std::string_view tag = name == "c" || name == "p" ? "code" : name == "b" ? "b" : "em";
    appendPreparedTag(out_, tag);
    appendPreparedText(out_, word);
    appendPreparedTag(out_, "/" + std::string(tag));
    return end;
  }

  std::string_view text_;
  PreparedText& into_;
  std::string& out_;
};

}  // namespace

void appendPreparedText(std::string& out, std::string_view text) {
  const size_t start = out.size();
  out += text;
  for (size_t i = start; i < out.size(); ++i)
    if (out[i] == kMarkupTagOpen || out[i] == kMarkupTagClose) out[i] = ' ';
}

void appendPreparedTag(std::string& out, std::string_view name, const TagAttributes& attributes) {
  out += kMarkupTagOpen;
  out += name;
  for (const TagAttribute& attribute : attributes) {
    if (attribute.bare || !isSafeCommentAttribute(attribute)) continue;
    std::string_view value = attribute.value;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    if (value.find('"') != std::string_view::npos) continue;
    out += ' ';
    out += attribute.name;
    out += "=\"";
    appendPreparedText(out, value);
    out += '"';
  }
  out += kMarkupTagClose;
}

bool isBlockTag(std::string_view name) {
  static constexpr std::string_view kBlocks[] = {"address", "blockquote", "center", "div", "dl", "h1",
                                                 "h2",      "h3",         "h4",     "h5",  "h6", "hr",
                                                 "ol",      "pre",        "table",  "ul",  "p"};
  for (std::string_view block : kBlocks)
    if (block == name) return true;
  return false;
}

bool isPlainText(std::string_view text) {
  // One pass over the text (most paragraphs are a line or two, where one pass beats six searches).
  for (size_t i = findAnyOf<false, '@', '\\', '<', kMarkupTagOpen, kMarkupTagClose, ':'>(text);
       i != std::string_view::npos;
       i = findAnyOf<false, '@', '\\', '<', kMarkupTagOpen, kMarkupTagClose, ':'>(text, i + 1)) {
    if (text[i] != ':' || text.substr(i).starts_with("://")) return false;
  }
  return true;
}

void prepareInline(std::string_view text, PreparedText& into) {
  // Most paragraphs hold nothing to mark up: they are text as they are.
  if (isPlainText(text)) {
    into.text += text;
    return;
  }
  const auto read = [&](std::string_view part) { InlineReader(part, into).read(); };
  if (text.find('<') == std::string_view::npos) {
    read(text);
    return;
  }
  for (const MarkupPiece& piece : readCommentMarkup(text)) {
    if (piece.tag.empty()) {
      read(text.substr(piece.begin, piece.end - piece.begin));
      continue;
    }
    const std::string_view name =
        piece.tag.front() == '/' ? std::string_view(piece.tag).substr(1) : piece.tag;
    if (isBlockTag(name)) into.block = true;
    appendPreparedTag(into.text, piece.tag, piece.attributes);
  }
}

void finishInline(PreparedText& into) {
  if (into.inList) appendPreparedTag(into.text, "/ul");
  into.inList = false;
}

}  // namespace quillet
