#include "model/comment_markup.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace quillet {

namespace {

constexpr std::string_view kSeparators = " \t\n`~!@#$%^&*()-=+[{]}\\|;:'\",<.>/?";

constexpr std::array<bool, 256> makeSeparatorTable() {
  std::array<bool, 256> table{};
  for (char c : kSeparators) table[static_cast<unsigned char>(c)] = true;
  return table;
}

constexpr std::array<bool, 256> kSeparatorTable = makeSeparatorTable();

// The tags a comment may use, sorted for binary search.
constexpr std::array<std::string_view, 59> kAllowedTags = {
    "a",      "address",   "b",     "bgsound", "big",      "blink", "blockquote", "br",    "caption",
    "center", "cite",      "code",  "col",     "colgroup", "dd",    "dfn",        "div",   "dl",
    "dt",     "em",        "font",  "h1",      "h2",       "h3",    "h4",         "h5",    "h6",
    "hn",     "hr",        "i",     "img",     "kbd",      "li",    "map",        "nobr",  "ol",
    "p",      "plaintext", "pre",   "s",       "samp",     "small", "spacer",     "span",  "strike",
    "strong", "sub",       "table", "tbody",   "td",       "tfoot", "th",         "thead", "tr",
    "tt",     "u",         "ul",    "var",     "wbr"};

static_assert(std::is_sorted(kAllowedTags.begin(), kAllowedTags.end()));

constexpr size_t kLongestTag = 10;  // "blockquote"

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void assignLower(std::string& target, std::string_view text) {
  target.resize(text.size());
  std::transform(text.begin(), text.end(), target.begin(), lower);
}

// Stores the pending attribute unless it has no name or its name is already present (`seen` holds the
// names stored for the tag, so a tag with very many attributes costs no more than a list of them).
void storeAttribute(TagAttributes& attributes, std::unordered_set<std::string>& seen, std::string& name,
                    std::string& value, bool bare) {
  if (!name.empty()) {
    std::string lowered;
    assignLower(lowered, name);
    if (seen.insert(lowered).second)
      attributes.push_back({std::move(lowered), bare ? std::string() : value, bare});
  }
  name.clear();
  value.clear();
}

}  // namespace

bool isCommentSeparator(char c) {
  return kSeparatorTable[static_cast<unsigned char>(c)];
}

bool isAllowedCommentTag(std::string_view name) {
  if (name.empty() || name.size() > kLongestTag) return false;
  std::array<char, kLongestTag> buffer{};
  std::transform(name.begin(), name.end(), buffer.begin(), lower);
  const std::string_view lowered(buffer.data(), name.size());
  return std::binary_search(kAllowedTags.begin(), kAllowedTags.end(), lowered);
}

CommentTextBuilder::CommentTextBuilder(std::ostream& out, const EvaluationContext& context,
                                       std::string_view classContext)
    : out_(out), context_(context), classContext_(classContext) {}

void CommentTextBuilder::Build(std::string_view text) {
  enum class State { kText, kAfterOpen, kAfterSlash, kInTag, kInValue, kInQuoted };
  State state = State::kText;
  size_t plain = 0;      // start of the text not yet written
  size_t tag_start = 0;  // where the "<" of a possible tag stands
  std::string tag_name;
  TagAttributes attributes;
  std::unordered_set<std::string> seen;  // attribute names of the tag being read
  std::string name;
  std::string value;
  bool name_ended = false;  // a blank followed the pending name, which so far has no "="

  const auto flushTo = [&](size_t end) {
    if (end > plain) WriteText(text.substr(plain, end - plain));
  };
  const auto startTag = [&](std::string_view prefix, std::string_view token) {
    flushTo(tag_start);
    plain = tag_start;
    tag_name.assign(prefix);
    for (char c : token) tag_name += lower(c);
    attributes.clear();
    seen.clear();
    name.clear();
    value.clear();
    name_ended = false;
    state = State::kInTag;
  };
  const auto endTag = [&](size_t after) {
    WriteTag(tag_name, attributes);
    plain = after;
    state = State::kText;
  };

  size_t i = 0;
  while (i < text.size()) {
    size_t end = i + 1;
    if (!isCommentSeparator(text[i]))
      while (end < text.size() && !isCommentSeparator(text[end])) ++end;
    const std::string_view token = text.substr(i, end - i);
    const char c = token.size() == 1 ? token[0] : '\0';  // the separator, when the token is one
    i = end;

    switch (state) {
      case State::kText:
        if (c == '<') {
          tag_start = end - 1;
          state = State::kAfterOpen;
        }
        break;
      case State::kAfterOpen:
        if (isAllowedCommentTag(token)) {
          startTag("", token);
        } else {
          state = c == '/' ? State::kAfterSlash : State::kText;
        }
        break;
      case State::kAfterSlash:
        if (isAllowedCommentTag(token)) {
          startTag("/", token);
        } else {
          state = State::kText;
        }
        break;
      case State::kInTag:
        if (c == '>') {
          storeAttribute(attributes, seen, name, value, true);
          endTag(end);
        } else if (c == ' ' || c == '\n') {
          name_ended = !name.empty();
        } else if (c == '=') {
          name_ended = false;
          state = State::kInValue;
        } else {
          // A name followed by a blank and then another name had no value: it stands on its own.
          if (name_ended) storeAttribute(attributes, seen, name, value, true);
          name_ended = false;
          name += token;
        }
        break;
      case State::kInValue:
        if (c == '>') {
          storeAttribute(attributes, seen, name, value, false);
          endTag(end);
        } else if (c == ' ' || c == '\n') {
          storeAttribute(attributes, seen, name, value, false);
          state = State::kInTag;
        } else if (c == '"') {
          value += '"';
          state = State::kInQuoted;
        } else {
          value += token;
        }
        break;
      case State::kInQuoted:
        if (c == '>') {
          name.clear();
          value.clear();
          endTag(end);
        } else if (c == '"') {
          value += '"';
          storeAttribute(attributes, seen, name, value, false);
          state = State::kInTag;
        } else {
          value += token;
        }
        break;
    }
  }
  // Text up to a tag still being read is written; the unfinished tag itself is not.
  flushTo(state == State::kText ? text.size() : tag_start);
}

}  // namespace quillet
