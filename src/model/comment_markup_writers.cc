#include "model/comment_markup_writers.h"

#include <algorithm>
#include <iterator>
#include <ostream>
#include <string>

#include "template_objects/markup.h"

namespace quillet {

namespace {

bool isNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == ':' || c == '.';
}

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A browser reads a value as one piece when it is quoted with nothing of the same quote inside, or when it
// is unquoted and holds no blank, control character, ">" or backquote.
bool valueStaysWhole(std::string_view value) {
  if (value.empty()) return true;
  const char quote = value.front();
  if (quote == '"' || quote == '\'') {
    return value.size() >= 2 && value.back() == quote &&
           value.substr(1, value.size() - 2).find(quote) == std::string_view::npos;
  }
  for (char c : value) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u == 0x7f || c == '>' || c == '`') return false;
  }
  return true;
}

// The first `limit` characters of `value` as a browser would see them in a URL: quotes at the start, blanks
// and control characters dropped, character references decoded, letters lower case.
std::string urlStart(std::string_view value, size_t limit) {
  std::string seen;
  size_t i = 0;
  while (i < value.size() && (value[i] == '"' || value[i] == '\'')) ++i;
  while (i < value.size() && seen.size() < limit) {
    unsigned long code = static_cast<unsigned char>(value[i]);
    ++i;
    if (code == '&' && i < value.size() && value[i] == '#') {
      size_t j = i + 1;
      const bool hex = j < value.size() && (value[j] == 'x' || value[j] == 'X');
      if (hex) ++j;
      unsigned long number = 0;
      const size_t digits_start = j;
      for (; j < value.size(); ++j) {
        const char d = lower(value[j]);
        int digit = -1;
        if (d >= '0' && d <= '9') digit = d - '0';
        if (hex && d >= 'a' && d <= 'f') digit = d - 'a' + 10;
        if (digit < 0) break;
        if (number < 0x110000) number = number * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
      }
      if (j > digits_start) {
        code = number;
        i = j < value.size() && value[j] == ';' ? j + 1 : j;
      }
    } else if (code == '&') {
      const size_t semicolon = value.find(';', i);
      if (semicolon != std::string_view::npos && semicolon - i <= 8) {
        std::string entity;
        for (char e : value.substr(i, semicolon - i)) entity += lower(e);
        if (entity == "colon" || entity == "tab" || entity == "newline") {
          code = entity == "colon" ? ':' : ' ';
          i = semicolon + 1;
        }
      }
    }
    if (code <= 0x20 || code == 0x7f) continue;
    seen += code < 0x80 ? lower(static_cast<char>(code)) : '?';
  }
  return seen;
}

bool isMonospace(std::string_view tag) {
  return tag == "pre" || tag == "code" || tag == "kbd" || tag == "tt" || tag == "samp";
}

}  // namespace

bool isSafeCommentAttribute(const TagAttribute& attribute) {
  const std::string_view name = attribute.name;
  if (name.empty()) return false;
  for (char c : name)
    if (!isNameCharacter(c)) return false;
  if (name.size() >= 2 && lower(name[0]) == 'o' && lower(name[1]) == 'n') return false;
  if (attribute.bare) return true;
  constexpr std::string_view kScript = "javascript:";
  return valueStaysWhole(attribute.value) && urlStart(attribute.value, kScript.size()) != kScript;
}

void HTMLCommentTextBuilder::WriteTag(std::string_view name, const TagAttributes& attributes) {
  out_ << '<' << name;
  for (const TagAttribute& attribute : attributes) {
    if (!isSafeCommentAttribute(attribute)) continue;
    out_ << ' ' << attribute.name;
    if (!attribute.bare) out_ << '=' << attribute.value;
  }
  out_ << '>';
  if (name.starts_with('/')) {
    const auto found = std::find(open_.rbegin(), open_.rend(), name.substr(1));
    if (found != open_.rend()) open_.erase(std::next(found).base());
  } else if (needsClosingTag(name)) {
    open_.emplace_back(name);
  }
}

void HTMLCommentTextBuilder::WriteText(std::string_view text) {
  writeLinkedText(context_, out_, text, classContext_, linkWords());
}

void HTMLCommentTextBuilder::EndText() {
  for (auto name = open_.rbegin(); name != open_.rend(); ++name) out_ << "</" << *name << '>';
  open_.clear();
}

RTFCommentTextBuilder::RTFCommentTextBuilder(std::ostream& out, const EvaluationContext& context,
                                             std::string_view classContext, std::string_view monospaceOpen,
                                             std::string_view monospaceClose)
    : CommentTextBuilder(out, context, classContext),
      monospaceOpen_(monospaceOpen),
      monospaceClose_(monospaceClose) {}

RTFCommentTextBuilder::~RTFCommentTextBuilder() {
  while (!openGroups_.empty()) closeGroup();
}

void RTFCommentTextBuilder::closeGroup() {
  const Group group = openGroups_.back();
  if (group.monospace) out_ << monospaceClose_;
  out_ << '}' << group.after;
  openGroups_.pop_back();
}

// Prepared markup: what a tag writes in RTF. False for the tags the older table below knows as well.
bool RTFCommentTextBuilder::writePreparedTag(std::string_view name) {
  if (name == "br" || name == "hr") {
    out_ << "\\line ";
    return true;
  }
  if (name == "img" || name == "wbr" || name == "col" || name == "spacer" || name == "bgsound") return true;
  std::string_view control;
  std::string_view after;
  if (name == "li" || name == "dt") {
    control = name == "li" ? "\\line \\bullet  " : "\\line \\b ";
  } else if (name == "dd" || name == "tr") {
    control = "\\line ";
  } else if (name == "td" || name == "th") {
    control = "\\tab ";
  } else if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') {
    control = "\\par \\b ";
    after = "\\line ";
  } else if (name == "em" || name == "cite" || name == "var" || name == "dfn") {
    control = "\\i ";
  } else if (name == "strong") {
    control = "\\b ";
  } else if (name == "s" || name == "strike") {
    control = "\\strike ";
  } else if (name == "ul" || name == "ol" || name == "dl" || name == "table" || name == "blockquote") {
    after = "\\line ";
  } else {
    return false;
  }
  out_ << '{' << control;
  openGroups_.push_back({false, after});
  return true;
}

void RTFCommentTextBuilder::WriteTag(std::string_view name, const TagAttributes&) {
  // A closing tag closes the innermost group whatever its name, and nothing when none is open. The
  // monospace closing goes with the group a monospace tag opened, so that a fixed text holding braces of
  // its own stays balanced however the comment's tags are nested.
  if (name.starts_with('/')) {
    if (!openGroups_.empty()) closeGroup();
    return;
  }
  if (prepared() && writePreparedTag(name)) return;
  out_ << '{';
  openGroups_.push_back({isMonospace(name), {}});
  if (name == "p") {
    out_ << "\\par ";
  } else if (name == "hr") {
    out_ << "\\brdrl ";
  } else if (name == "b") {
    out_ << "\\b ";
  } else if (name == "i") {
    out_ << "\\i ";
  } else if (name == "u") {
    out_ << "\\ul ";
  } else if (isMonospace(name)) {
    out_ << monospaceOpen_;
  }
}

void RTFCommentTextBuilder::WriteText(std::string_view text) {
  size_t begin = 0;
  while (begin < text.size()) {
    const size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) {
      writeLinkedText(context_, out_, text.substr(begin), classContext_, linkWords());
      return;
    }
    if (end > begin)
      writeLinkedText(context_, out_, text.substr(begin, end - begin), classContext_, linkWords());
    out_ << "\\line ";
    begin = end + 1;
  }
}

}  // namespace quillet
