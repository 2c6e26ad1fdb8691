#include "model/comment_markup.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "common/message_output.h"
#include "template_objects/evaluation_context.h"

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

// The index of `name` among the allowed tags, ignoring case; kAllowedTags.size() when it is none of them.
size_t allowedTagIndex(std::string_view name) {
  if (name.empty() || name.size() > kLongestTag) return kAllowedTags.size();
  std::array<char, kLongestTag> buffer{};
  std::transform(name.begin(), name.end(), buffer.begin(), lower);
  const std::string_view lowered(buffer.data(), name.size());
  const auto found = std::lower_bound(kAllowedTags.begin(), kAllowedTags.end(), lowered);
  return found != kAllowedTags.end() && *found == lowered ? static_cast<size_t>(found - kAllowedTags.begin())
                                                          : kAllowedTags.size();
}

// Turns the opening tags that need a closing tag and get none into text, and joins neighbouring texts.
void demoteUnclosedTags(std::vector<MarkupPiece>& pieces) {
  std::array<std::vector<size_t>, kAllowedTags.size()> open;  // per tag, the opening pieces not yet closed
  for (size_t i = 0; i < pieces.size(); ++i) {
    const std::string& tag = pieces[i].tag;
    if (tag.empty()) continue;
    const bool closing = tag.front() == '/';
    const std::string_view name = closing ? std::string_view(tag).substr(1) : std::string_view(tag);
    if (!needsClosingTag(name)) continue;
    std::vector<size_t>& waiting = open[allowedTagIndex(name)];
    if (!closing) {
      waiting.push_back(i);
    } else if (!waiting.empty()) {
      waiting.pop_back();
    }
  }
  bool demoted = false;
  for (const std::vector<size_t>& waiting : open) {
    for (size_t i : waiting) {
      pieces[i].tag.clear();
      pieces[i].attributes.clear();
      demoted = true;
    }
  }
  if (!demoted) return;
  size_t kept = 0;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (kept > 0 && pieces[i].tag.empty() && pieces[kept - 1].tag.empty() &&
        pieces[kept - 1].end == pieces[i].begin) {
      pieces[kept - 1].end = pieces[i].end;
      continue;
    }
    if (kept != i) pieces[kept] = std::move(pieces[i]);
    ++kept;
  }
  pieces.resize(kept);
}

}  // namespace

bool isCommentSeparator(char c) {
  return kSeparatorTable[static_cast<unsigned char>(c)];
}

bool isAllowedCommentTag(std::string_view name) {
  return allowedTagIndex(name) < kAllowedTags.size();
}

bool needsClosingTag(std::string_view name) {
  // Tags that stand alone, and tags whose end HTML implies at the next one of their kind.
  static constexpr std::string_view kOptional[] = {"bgsound", "br",    "col", "colgroup", "dd",     "dt",
                                                   "hr",      "img",   "li",  "p",        "spacer", "tbody",
                                                   "td",      "tfoot", "th",  "thead",    "tr",     "wbr"};
  return isAllowedCommentTag(name) &&
         std::find(std::begin(kOptional), std::end(kOptional), name) == std::end(kOptional);
}

std::vector<MarkupPiece> readCommentMarkup(std::string_view text) {
  std::vector<MarkupPiece> pieces;
  enum class State { kText, kAfterOpen, kAfterSlash, kInTag, kInValue, kInQuoted };
  State state = State::kText;
  size_t plain = 0;      // start of the text not yet cut off
  size_t tag_start = 0;  // where the "<" of a possible tag stands
  std::string tag_name;
  TagAttributes attributes;
  std::unordered_set<std::string> seen;  // attribute names of the tag being read
  std::string name;
  std::string value;
  bool name_ended = false;  // a blank followed the pending name, which so far has no "="

  const auto textTo = [&](size_t end) {
    if (end > plain) pieces.push_back({plain, end, {}, {}});
  };
  const auto startTag = [&](std::string_view prefix, std::string_view token) {
    textTo(tag_start);
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
    pieces.push_back({tag_start, after, std::move(tag_name), std::move(attributes)});
    tag_name.clear();
    attributes.clear();
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
  // Text up to a tag still being read is kept; the unfinished tag itself is not.
  textTo(state == State::kText ? text.size() : tag_start);
  demoteUnclosedTags(pieces);
  return pieces;
}

void readPreparedTag(std::string_view written, std::string& name, TagAttributes& attributes) {
  attributes.clear();
  const size_t blank = written.find(' ');
  name.assign(written.substr(0, blank));
  size_t at = blank;
  while (at != std::string_view::npos && at < written.size()) {
    while (at < written.size() && written[at] == ' ') ++at;
    const size_t equals = written.find('=', at);
    if (equals == std::string_view::npos || equals + 1 >= written.size() || written[equals + 1] != '"') break;
    const size_t close = written.find('"', equals + 2);
    if (close == std::string_view::npos) break;
    attributes.push_back({std::string(written.substr(at, equals - at)),
                          std::string(written.substr(equals + 1, close - equals)), false});
    at = close + 1;
  }
}

CommentTextBuilder::CommentTextBuilder(std::ostream& out, const EvaluationContext& context,
                                       std::string_view classContext)
    : out_(out), context_(context), classContext_(classContext) {}

LinkWords CommentTextBuilder::linkWords() const {
  if (linkDepth_ > 0) return LinkWords::kNone;
  if (codeDepth_ > 0) return LinkWords::kAll;
  return codeBlock_ || preDepth_ > 0 ? LinkWords::kTypes : LinkWords::kProse;
}

void CommentTextBuilder::Build(std::string_view text, size_t limit) {
  prepared_ = false;
  const std::string_view shown = text.substr(0, limit);
  if (shown.find('<') == std::string_view::npos) {
    if (!shown.empty()) this->text(shown);
  } else {
    for (const MarkupPiece& piece : readCommentMarkup(text)) {
      if (piece.begin >= shown.size()) break;
      if (piece.tag.empty()) {
        this->text(shown.substr(piece.begin, std::min(piece.end, shown.size()) - piece.begin));
      } else if (piece.end <= shown.size()) {
        tag(piece.tag, piece.attributes);
      }
    }
  }
  endReference();
  EndText();
}

void CommentTextBuilder::BuildPrepared(std::string_view text, size_t limit) {
  prepared_ = true;
  const std::string_view shown = text.substr(0, limit);
  std::string name;
  TagAttributes attributes;
  size_t at = 0;
  while (at < shown.size()) {
    const size_t open = shown.find(kMarkupTagOpen, at);
    if (open != at) this->text(shown.substr(at, std::min(open, shown.size()) - at));
    if (open == std::string_view::npos) break;
    const size_t close = shown.find(kMarkupTagClose, open);
    if (close == std::string_view::npos) break;
    readPreparedTag(shown.substr(open + 1, close - open - 1), name, attributes);
    tag(name, attributes);
    at = close + 1;
  }
  endReference();
  EndText();
}

void CommentTextBuilder::tag(std::string_view name, const TagAttributes& attributes) {
  endReference();
  if (name == "ref" || name == "seeref") {
    inReference_ = true;
    referenceTarget_.clear();
    for (const TagAttribute& attribute : attributes)
      if (attribute.name == "name" && attribute.value.size() >= 2)
        referenceTarget_ = attribute.value.substr(1, attribute.value.size() - 2);
    referenceText_.clear();
    reportUnknown_ = name == "ref";
    return;
  }
  if (name == "/ref" || name == "/seeref") return;
  const bool closing = name.starts_with('/');
  const std::string_view bare = closing ? name.substr(1) : name;
  if (bare == "code" || bare == "tt" || bare == "kbd" || bare == "samp") {
    codeDepth_ = closing ? std::max(0, codeDepth_ - 1) : codeDepth_ + 1;
  } else if (bare == "a") {
    linkDepth_ = closing ? std::max(0, linkDepth_ - 1) : linkDepth_ + 1;
  } else if (bare == "pre") {
    preDepth_ = closing ? std::max(0, preDepth_ - 1) : preDepth_ + 1;
  }
  WriteTag(name, attributes);
}

void CommentTextBuilder::text(std::string_view text) {
  if (inReference_) {
    referenceText_ += text;
  } else {
    WriteText(text);
  }
}

void CommentTextBuilder::endReference() {
  if (!inReference_) return;
  inReference_ = false;
  const std::string_view shown = referenceText_.empty() ? std::string_view(referenceTarget_) : referenceText_;
  const LinkTarget target = findNamedTarget(context_, referenceTarget_, classContext_);
  if (!target.link.empty()) {
    writeLink(context_, out_, shown, target.link);
    return;
  }
  if (reportUnknown_ && context_.linkIndex)
    reportMessage("warning: @ref names nothing documented: " + referenceTarget_);
  ++codeDepth_;  // the name is still written as code: its parts may link
  WriteText(shown);
  --codeDepth_;
}

}  // namespace quillet
