#include "model/comment_markdown.h"

#include <md4c.h>

#include <algorithm>
#include <string>
#include <unordered_map>

#include "common/byte_search.h"
#include "common/message_output.h"

namespace quillet {

namespace {

// Containers (quotes, list items) nested deeper than this are shown as text: no reader of a comment needs
// them, and they would only make the reading slow.
constexpr size_t kDeepestNesting = 32;

// A byte that stands for a backslash while md4c reads the text, so that the escapes and commands written
// with a backslash ("\\", "\@", "\param") reach the comment's own reading as written.
constexpr char kBackslash = '\x03';

constexpr unsigned kMarkdownFlags = MD_FLAG_TABLES | MD_FLAG_STRIKETHROUGH | MD_FLAG_NOHTML |
                                    MD_FLAG_PERMISSIVEURLAUTOLINKS | MD_FLAG_PERMISSIVEWWWAUTOLINKS;

// How many blanks and tabs `line` starts with (a plain loop: the library's search for "not one of" a set
// costs a memchr per character, and this runs on every line of every comment).
size_t indentOf(std::string_view line) {
  size_t first = 0;
  while (first < line.size() && (line[first] == ' ' || line[first] == '\t')) ++first;
  return first;
}

std::string_view withoutIndent(std::string_view line) {
  return line.substr(indentOf(line));
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// True when the line (its indentation left out) starts a block of Markdown that is no paragraph: a list
// item, a heading, a quote or a table row.
bool startsMarkdownBlock(std::string_view line) {
  const std::string_view text = withoutIndent(line);
  if (text.size() >= 2 && (text[0] == '-' || text[0] == '+' || text[0] == '*') && text[1] == ' ') return true;
  size_t digits = 0;
  while (digits < text.size() && digits < 9 && isDigit(text[digits])) ++digits;
  if (digits > 0 && digits + 1 < text.size() && (text[digits] == '.' || text[digits] == ')') &&
      text[digits + 1] == ' ')
    return true;
  size_t hashes = 0;
  while (hashes < text.size() && text[hashes] == '#') ++hashes;
  if (hashes >= 1 && hashes <= 6 && (hashes == text.size() || text[hashes] == ' ')) return true;
  return text.starts_with('>') || (text.starts_with('|') && text.find('|', 1) != std::string_view::npos);
}

// The fence a line opens ("```" or "~~~", three or more) and the language after it; empty when none.
std::string_view fenceOf(std::string_view line, std::string_view& language) {
  const std::string_view text = withoutIndent(line);
  if (text.size() < 3 || (text[0] != '`' && text[0] != '~')) return {};
  size_t length = 0;
  while (length < text.size() && text[length] == text[0]) ++length;
  if (length < 3) return {};
  language = withoutIndent(text.substr(length));
  language = language.substr(0, language.find_first_of(" \t{"));
  return text.substr(0, length);
}

// How deep the containers of `text` nest: quote marks and list indentation.
size_t nestingOf(std::string_view text) {
  size_t deepest = 0;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    size_t depth = 0;
    size_t indent = 0;
    bool marker = false;  // indentation nests only in front of a list item; indented code stays flat
    for (size_t i = begin; i < end; ++i) {
      if (text[i] == '>') {
        ++depth;
      } else if (text[i] == ' ') {
        ++indent;
      } else if (!(text[i] == '-' || text[i] == '*' || text[i] == '+') || i + 1 >= end ||
                 text[i + 1] != ' ') {
        break;
      } else {
        ++depth;
        marker = true;
      }
    }
    deepest = std::max(deepest, depth + (marker ? indent / 2 : 0));
    begin = end + 1;
  }
  return deepest;
}

// True when no line of `text` may start a Markdown block (see startsMarkdownBlock and fenceOf) and no run
// of lines is indented by four more than the text's least indented line: then the text is prose only. One
// pass over the characters, as most comments are a few lines of prose.
bool onlyProse(std::string_view text) {
  size_t common = std::string_view::npos;      // the least indentation of a line with text
  size_t deepest_run = 0;                      // the most that every line of one run is indented
  size_t run = std::string_view::npos;         // the least indentation in the current run of lines
  const char* const end = text.data() + text.size();
  for (const char* p = text.data(); p < end;) {
    const char* const line = p;
    while (p < end && *p == ' ') ++p;
    if (p == end || *p == '\n') {
      // A blank line ends a run.
      if (run != std::string_view::npos) deepest_run = std::max(deepest_run, run);
      run = std::string_view::npos;
    } else {
      const char lead = *p;
      if (lead == '\t') return false;
      if (lead == '-' || lead == '+' || lead == '*' || lead == '#' || lead == '>' || lead == '|' ||
          lead == '`' || lead == '~' || isDigit(lead)) {
        const std::string_view rest(p, static_cast<size_t>(end - p));
        const std::string_view text_line = rest.substr(0, lineEnd(rest, 0));
        std::string_view language;
        if (startsMarkdownBlock(text_line) || !fenceOf(text_line, language).empty()) return false;
      }
      const size_t indent = static_cast<size_t>(p - line);
      common = std::min(common, indent);
      run = std::min(run, indent);
    }
    const std::string_view rest(p, static_cast<size_t>(end - p));
    p += std::min(lineEnd(rest, 0) + 1, rest.size());
  }
  if (run != std::string_view::npos) deepest_run = std::max(deepest_run, run);
  return common == std::string_view::npos || deepest_run < common + 4;
}

bool isAlphanumeric(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// How a character next to a run of "*" or "_" counts when deciding whether the run may open or close an
// emphasis. Beyond ASCII it is not looked up: such a run is taken to do both.
enum class Neighbour { kBlank, kPunctuation, kOther, kUnknown };

Neighbour neighbourKind(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte >= 0x80) return Neighbour::kUnknown;
  if (c == ' ' || c == '\t' || c == '\n') return Neighbour::kBlank;
  if ((c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') || (c >= '{' && c <= '~'))
    return Neighbour::kPunctuation;
  return Neighbour::kOther;
}

// Whether a run of `mark` ("*" or "_") between the characters `before` and `after` may open and may close
// an emphasis: the flanking rules of CommonMark.
void emphasisSides(char mark, Neighbour before, Neighbour after, bool& opens, bool& closes) {
  if (before == Neighbour::kUnknown || after == Neighbour::kUnknown) {
    opens = closes = true;
    return;
  }
  const bool left = after != Neighbour::kBlank &&
                    (after != Neighbour::kPunctuation || before != Neighbour::kOther);
  const bool right = before != Neighbour::kBlank &&
                     (before != Neighbour::kPunctuation || after != Neighbour::kOther);
  if (mark == '*') {
    opens = left;
    closes = right;
  } else {
    opens = left && (!right || before == Neighbour::kPunctuation);
    closes = right && (!left || after == Neighbour::kPunctuation);
  }
}

// True when `text` holds only `mark` and blanks.
bool onlyMarks(std::string_view text, char mark) {
  return text.find_first_not_of(std::string{mark, ' ', '\t'}) == std::string_view::npos;
}

// True when the line `text` (indentation and trailing blanks left out) may start or underline a block
// for md4c: a list item, a rule, a heading or its underline, a quote, a table row or a fence. A "[" that
// leads a line is left to the caller (a link definition).
bool mayStartBlock(std::string_view text) {
  const char lead = text[0];
  switch (lead) {
    case '-':
    case '+':
    case '*':
      return text.size() == 1 || text[1] == ' ' || text[1] == '\t' || onlyMarks(text, lead);
    case '=':
    case '_':
      return onlyMarks(text, lead);
    case '#': {
      const size_t hashes = std::min(text.find_first_not_of('#'), text.size());
      return hashes == text.size() || text[hashes] == ' ' || text[hashes] == '\t';
    }
    case '`':
    case '~':
      return text.starts_with(std::string_view(lead == '`' ? "```" : "~~~"));
    case '>':
    case '|':
    case ':':
      return true;
    default:
      break;
  }
  if (!isDigit(lead)) return false;
  size_t digits = 0;
  while (digits < text.size() && isDigit(text[digits])) ++digits;
  return digits < text.size() && (text[digits] == '.' || text[digits] == ')') &&
         (digits + 1 == text.size() || text[digits + 1] == ' ' || text[digits + 1] == '\t');
}

// True when md4c would read the paragraph `text` as nothing but plain words, and then `words` holds what it
// would report: the lines without their leading and trailing blanks, joined by one blank (in `joined` when
// there are several lines, else a part of `text`). Most comment paragraphs are such prose, and this spares
// them the parser. The paragraph goes to md4c when Markdown could make something of it:
// - a line that may start a block (see mayStartBlock), code indented by four, a link definition, two
//   blanks before a line break, or a blank line;
// - a backslash (escapes and commands), an entity ("&lt;"), "](" of a link, "<" with ":" or "@" before
//   the next ">" (an autolink), "://" or "www." (addresses);
// - a run of "*" or "_" that may close an emphasis after one that may open it ("T* p", "__x and __y" and
//   "x_y" are text), or two or more runs of "~" or "`" (a strikethrough or a code span needs a pair).
// `plainText` is cleared when the words hold something that prepareInline marks up: a command or a tag.
bool plainMarkdown(std::string_view text, std::string& joined, std::string_view& words, bool& plainText) {
  joined.clear();
  words = {};
  bool star_opened = false;
  bool underscore_opened = false;
  unsigned tildes = 0;
  unsigned ticks = 0;
  bool bracket_lead = false;
  size_t begin = 0;
  bool first = true;
  while (begin < text.size()) {
    const size_t end = lineEnd(text, begin);
    const std::string_view line = text.substr(begin, end - begin);
    const size_t indent = indentOf(line);
    size_t last = line.size();
    while (last > indent && line[last - 1] == ' ') --last;
    if (indent == line.size()) {
      if (end < text.size() || !first) return false;  // a blank line in the paragraph ends it
    } else {
      if ((first && indent >= 4) || line.substr(0, indent).find('\t') != std::string_view::npos) return false;
      if (end < text.size() && line.size() - last >= 2) return false;  // a hard line break
      if (mayStartBlock(line.substr(indent, last - indent))) return false;
      bracket_lead = bracket_lead || line[indent] == '[';
      // The character before a line's first one is its line break, a blank to md4c.
      const auto before = [&](size_t i) { return i == indent ? '\n' : line[i - 1]; };
      const auto after = [&](size_t i) { return i + 1 < last ? line[i + 1] : '\n'; };
      // Only the characters that may matter are looked at; the others are words.
      ByteSetFinder<true, '\\', '*', '~', '`', '_', '&', ']', '<', ':', '.', '@'> marks(line.substr(0, last));
      for (size_t i = marks.next(indent); i < last; i = marks.next(i + 1)) {
        const char c = line[i];
        // Moves `i` to the last character of the run of equal characters it is in.
        const auto skipRun = [&] {
          while (i + 1 < last && line[i + 1] == c) ++i;
        };
        switch (c) {
          case '\\':
          case '\t':
          case '\r':
          case '\0':
          case '\v':
          case '\f':
          case kBackslash:
            return false;
          case '*':
          case '_': {
            const char previous = before(i);
            skipRun();
            bool opens = false;
            bool closes = false;
            emphasisSides(c, neighbourKind(previous), neighbourKind(after(i)), opens, closes);
            bool& opened = c == '*' ? star_opened : underscore_opened;
            if (closes && opened) return false;
            opened = opened || opens;
            break;
          }
          case '~':
            skipRun();
            if (++tildes > 1) return false;
            break;
          case '`':
            skipRun();
            if (++ticks > 1) return false;
            break;
          case '&':
            if (i + 1 < last && (line[i + 1] == '#' || isAlphanumeric(line[i + 1]))) return false;
            break;
          case ']':
            if (i + 1 < last && line[i + 1] == '(') return false;
            break;
          case '@':
            plainText = false;
            break;
          case '<': {
            plainText = false;
            // md4c finds an autolink across a line break too, and reads "<>" as its start.
            const std::string_view rest = text.substr(begin + i);
            const size_t close = rest.find('>', 2);
            const std::string_view inside = rest.substr(0, close == std::string_view::npos ? 0 : close);
            if (inside.find_first_of(":@") != std::string_view::npos) return false;
            break;
          }
          case ':':
            if (line.substr(i).starts_with("://")) return false;
            break;
          case '.':
            if (i >= 3 && (line[i - 1] | 0x20) == 'w' && (line[i - 2] | 0x20) == 'w' &&
                (line[i - 3] | 0x20) == 'w')
              return false;
            break;
          default:
            if (c == kMarkupTagOpen || c == kMarkupTagClose) plainText = false;
            break;
        }
      }
      const std::string_view words_of_line = line.substr(indent, last - indent);
      if (words.empty()) {
        words = words_of_line;
      } else {
        if (joined.empty()) joined = words;
        joined += ' ';
        joined += words_of_line;
      }
    }
    first = false;
    begin = end + 1;
  }
  // A link definition ("[name]: target") may open the paragraph, its name running over lines.
  if (bracket_lead && text.find("]:") != std::string_view::npos) return false;
  if (!joined.empty()) words = joined;
  return true;
}

// Turns what md4c reports into prepared markup. Text of paragraphs goes through prepareInline (commands,
// escapes, tags, addresses); text of code and of links is written as it is.
class MarkdownWriter {
 public:
  explicit MarkdownWriter(PreparedText& into) : into_(into) {}

  bool read(std::string_view text) {
    std::string protectedText(text);
    for (size_t i = 0; i + 1 < protectedText.size(); ++i) {
      const char next = protectedText[i + 1];
      if (protectedText[i] == '\\' &&
          (next == '\\' || next == '@' || (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z'))) {
        protectedText[i] = kBackslash;
        if (next == '\\') protectedText[++i] = kBackslash;
      }
    }
    MD_PARSER parser{};
    parser.flags = kMarkdownFlags;
    parser.enter_block = [](MD_BLOCKTYPE type, void* detail, void* self) {
      return static_cast<MarkdownWriter*>(self)->block(type, detail, true);
    };
    parser.leave_block = [](MD_BLOCKTYPE type, void* detail, void* self) {
      return static_cast<MarkdownWriter*>(self)->block(type, detail, false);
    };
    parser.enter_span = [](MD_SPANTYPE type, void* detail, void* self) {
      return static_cast<MarkdownWriter*>(self)->span(type, detail, true);
    };
    parser.leave_span = [](MD_SPANTYPE type, void* detail, void* self) {
      return static_cast<MarkdownWriter*>(self)->span(type, detail, false);
    };
    parser.text = [](MD_TEXTTYPE type, const MD_CHAR* text, MD_SIZE size, void* self) {
      return static_cast<MarkdownWriter*>(self)->text(type, std::string_view(text, size));
    };
    const bool read =
        md_parse(protectedText.data(), static_cast<MD_SIZE>(protectedText.size()), &parser, this) == 0;
    flush();
    return read;
  }

 private:
  static std::string restored(std::string_view text) {
    std::string kept(text);
    std::replace(kept.begin(), kept.end(), kBackslash, '\\');
    return kept;
  }

  void flush() {
    if (pending_.empty()) return;
    std::replace(pending_.begin(), pending_.end(), kBackslash, '\\');
    prepareInline(pending_, into_);
    pending_.clear();
  }
  void tag(std::string_view name, const TagAttributes& attributes = {}) {
    flush();
    appendPreparedTag(into_.text, name, attributes);
  }
  void literal(std::string_view text) {
    flush();
    const size_t start = into_.text.size();
    appendPreparedText(into_.text, text);
    std::replace(into_.text.begin() + static_cast<std::ptrdiff_t>(start), into_.text.end(), kBackslash, '\\');
  }
  static std::string attributeText(const MD_ATTRIBUTE& attribute) {
    std::string text(attribute.text, attribute.size);
    std::replace(text.begin(), text.end(), '"', '\'');
    return "\"" + restored(text) + "\"";
  }

  int block(MD_BLOCKTYPE type, void* detail, bool enter) {
    switch (type) {
      case MD_BLOCK_UL:
        into_.block = true;
        tag(enter ? "ul" : "/ul");
        break;
      case MD_BLOCK_OL:
        into_.block = true;
        tag(enter ? "ol" : "/ol");
        break;
      case MD_BLOCK_LI:
        tag(enter ? "li" : "/li");
        break;
      case MD_BLOCK_QUOTE:
        into_.block = true;
        tag(enter ? "blockquote" : "/blockquote");
        break;
      case MD_BLOCK_HR:
        into_.block = true;
        if (enter) tag("hr");
        break;
      case MD_BLOCK_H: {
        // A comment's headings rank below the page's own.
        const unsigned level = std::min(6u, static_cast<const MD_BLOCK_H_DETAIL*>(detail)->level + 2);
        into_.block = true;
        const char name[] = {'/', 'h', static_cast<char>('0' + level), '\0'};
        tag(enter ? name + 1 : name);
        break;
      }
      case MD_BLOCK_CODE:
        into_.block = true;
        inCode_ = enter;
        tag(enter ? "pre" : "/pre");
        break;
      case MD_BLOCK_TABLE:
        into_.block = true;
        tag(enter ? "table" : "/table");
        break;
      case MD_BLOCK_THEAD:
      case MD_BLOCK_TBODY:
        break;
      case MD_BLOCK_TR:
        tag(enter ? "tr" : "/tr");
        break;
      case MD_BLOCK_TH:
        tag(enter ? "th" : "/th");
        break;
      case MD_BLOCK_TD:
        tag(enter ? "td" : "/td");
        break;
      case MD_BLOCK_P:
        // Paragraphs inside a list or quote are separated; a lone one is the text itself.
        if (!enter) {
          flush();
          paragraphEnded_ = true;
        } else if (paragraphEnded_) {
          tag("br");
        }
        break;
      case MD_BLOCK_DOC:
      case MD_BLOCK_HTML:
        break;
    }
    if (type != MD_BLOCK_P && type != MD_BLOCK_DOC) paragraphEnded_ = false;
    return 0;
  }

  int span(MD_SPANTYPE type, void* detail, bool enter) {
    switch (type) {
      case MD_SPAN_EM:
        tag(enter ? "em" : "/em");
        break;
      case MD_SPAN_STRONG:
        tag(enter ? "strong" : "/strong");
        break;
      case MD_SPAN_CODE:
        inCode_ = enter;
        tag(enter ? "code" : "/code");
        break;
      case MD_SPAN_DEL:
        tag(enter ? "s" : "/s");
        break;
      case MD_SPAN_U:
        tag(enter ? "u" : "/u");
        break;
      case MD_SPAN_A:
      case MD_SPAN_IMG: {
        // An image is shown as a link to it, with its description.
        const MD_ATTRIBUTE& target = type == MD_SPAN_A ? static_cast<const MD_SPAN_A_DETAIL*>(detail)->href
                                                       : static_cast<const MD_SPAN_IMG_DETAIL*>(detail)->src;
        inLink_ = enter;
        // Code written without backquotes reads as links too: "[]()" of a lambda has no target, and
        // "<std::string>" is an address of the scheme "std". They stay the text they were.
        if (enter) {
          const std::string_view href(target.text, target.size);
          if (type == MD_SPAN_A && href.empty()) {
            literal("[");
            linkClose_ = "]()";
          } else if (type == MD_SPAN_A && href.find("::") != std::string_view::npos &&
                     href.find('/') == std::string_view::npos) {
            literal("<");
            linkClose_ = ">";
          } else {
            linkClose_.clear();
            tag("a", {{"href", attributeText(target), false}});
          }
        } else if (!linkClose_.empty()) {
          literal(linkClose_);
        } else {
          tag("/a");
        }
        break;
      }
      case MD_SPAN_LATEXMATH:
      case MD_SPAN_LATEXMATH_DISPLAY:
      case MD_SPAN_WIKILINK:
        break;
    }
    return 0;
  }

  int text(MD_TEXTTYPE type, std::string_view text) {
    switch (type) {
      case MD_TEXT_NORMAL:
        if (inLink_ || inCode_) {
          literal(text);
        } else {
          pending_ += text;
        }
        break;
      case MD_TEXT_CODE:
        literal(text);
        break;
      case MD_TEXT_BR:
        tag("br");
        break;
      case MD_TEXT_SOFTBR:
        pending_ += ' ';
        break;
      case MD_TEXT_ENTITY:
        literal(entity(text));
        break;
      case MD_TEXT_NULLCHAR:
      case MD_TEXT_HTML:
      case MD_TEXT_LATEXMATH:
        literal(text);
        break;
    }
    return 0;
  }

  // The character an entity stands for; the entity itself when it is none of the few a comment uses.
  static std::string entity(std::string_view text) {
    static constexpr std::pair<std::string_view, std::string_view> kNamed[] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&nbsp;", " "}};
    for (const auto& [name, character] : kNamed)
      if (text == name) return std::string(character);
    if (text.size() > 3 && text[1] == '#') {
      unsigned long code = 0;
      const bool hex = text[2] == 'x' || text[2] == 'X';
      for (size_t i = hex ? 3 : 2; i + 1 < text.size() && code < 0x110000; ++i) {
        const char c = text[i];
        const int digit = isDigit(c)                    ? c - '0'
                          : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                        : -1;
        if (digit < 0) return std::string(text);
        code = code * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
      }
      if (code > 0 && code < 0x80) return std::string(1, static_cast<char>(code));
    }
    return std::string(text);
  }

  PreparedText& into_;
  std::string pending_;
  bool inLink_ = false;
  std::string linkClose_;  // what ends a link kept as text; empty for a real link
  bool inCode_ = false;
  bool paragraphEnded_ = false;
};

// The paragraph of Markdown blocks `text` (a list, a table, headings), as prepared markup.
DocParagraph markdownBlock(std::string_view text) {
  PreparedText prepared;
  if (!MarkdownWriter(prepared).read(text)) {
    prepared = PreparedText();
    prepareInline(text, prepared);
  }
  finishInline(prepared);
  DocParagraph paragraph;
  paragraph.text = std::move(prepared.text);
  paragraph.prepared = true;
  paragraph.block = true;
  return paragraph;
}

// The regions seen from a stretch that began at `offset`.
std::vector<TagRegion> regionsFrom(std::span<const TagRegion> regions, size_t offset) {
  std::vector<TagRegion> shifted;
  for (TagRegion region : regions) {
    if (region.end < offset) continue;
    region.position = region.position > offset ? region.position - offset : 0;
    region.end -= offset;
    shifted.push_back(region);
  }
  return shifted;
}

}  // namespace

std::vector<DocParagraph> buildMarkdownParagraphs(std::string_view text, std::span<const TagRegion> regions,
                                                  const ParagraphOptions& options,
                                                  std::string_view fileName) {
  // Most comments are prose: their paragraphs are read at once, and looked at again only when the
  // starts of some lines may open Markdown blocks.
  LineStarts starts;
  std::vector<DocParagraph> prose = buildParagraphs(text, regions, options, &starts);
  if (!starts.mayOpenBlocks || onlyProse(text)) return prose;
  if (nestingOf(text) > kDeepestNesting) {
    reportMessage("warning: " + (fileName.empty() ? std::string() : "(" + std::string(fileName) + ") ") +
                  "Markdown nested more than " + std::to_string(kDeepestNesting) + " deep, shown as text.");
    std::vector<DocParagraph> plain = buildParagraphs(text, regions, options);
    for (DocParagraph& paragraph : plain) {
      PreparedText prepared;
      prepareInline(paragraph.text, prepared);
      finishInline(prepared);
      paragraph.text = std::move(prepared.text);
      paragraph.prepared = true;
    }
    return plain;
  }
  struct Line {
    size_t begin;
    size_t end;  // after its line break
    bool blank;
    size_t indent;
  };
  std::vector<Line> lines;
  size_t common = std::string_view::npos;  // the indentation all lines share (comment markers left it)
  for (size_t begin = 0; begin < text.size();) {
    size_t end = text.find('\n', begin);
    end = end == std::string_view::npos ? text.size() : end + 1;
    const std::string_view line = text.substr(begin, end - begin);
    const size_t first = indentOf(line);
    const bool blank = first == line.size() || line.substr(first) == "\n";
    const size_t indent = blank ? 0 : first;
    if (!blank) common = std::min(common, indent);
    lines.push_back({begin, end, blank, indent});
    begin = end;
  }
  const auto lineText = [&](size_t i) { return text.substr(lines[i].begin, lines[i].end - lines[i].begin); };
  // The text of lines [first, last) with the indentation they share taken off.
  const auto relative = [&](size_t first, size_t last) {
    size_t indent = std::string_view::npos;
    for (size_t i = first; i < last; ++i)
      if (!lines[i].blank) indent = std::min(indent, lines[i].indent);
    std::string block;
    for (size_t i = first; i < last; ++i) {
      const std::string_view line = lineText(i);
      block += line.substr(std::min(indent, line.size()));
    }
    return block;
  };

  std::vector<DocParagraph> paragraphs;
  size_t prose_start = 0;  // where the text not yet formatted as prose begins
  const auto addProse = [&](size_t end) {
    if (end <= prose_start) return;
    std::vector<DocParagraph> made = buildParagraphs(text.substr(prose_start, end - prose_start),
                                                     regionsFrom(regions, prose_start), options);
    for (DocParagraph& paragraph : made) paragraphs.push_back(std::move(paragraph));
  };
  const auto addCode = [&](std::string_view code) {
    DocParagraph paragraph;
    paragraph.kind = DocParagraph::kPreformatted;
    paragraph.prepared = true;
    appendPreparedText(paragraph.text, code);
    if (!paragraph.text.empty() && paragraph.text.back() != '\n') paragraph.text += '\n';
    paragraphs.push_back(std::move(paragraph));
  };
  const auto startOf = [&](size_t i) { return i < lines.size() ? lines[i].begin : text.size(); };

  size_t i = 0;
  while (i < lines.size()) {
    std::string_view language;
    const std::string_view fence = fenceOf(lineText(i), language);
    if (!fence.empty()) {
      // Fenced code runs to its closing fence, or to the end of the comment.
      size_t close = i + 1;
      while (close < lines.size()) {
        std::string_view ignored;
        const std::string_view closing = fenceOf(lineText(close), ignored);
        if (!closing.empty() && closing.front() == fence.front() && closing.size() >= fence.size()) break;
        ++close;
      }
      addProse(lines[i].begin);
      addCode(relative(i + 1, close));
      i = std::min(close + 1, lines.size());
      prose_start = startOf(i);
      continue;
    }
    if (lines[i].blank) {
      ++i;
      continue;
    }
    // A run of lines up to a blank line or a fence: a Markdown block, code indented by four, or prose.
    size_t last = i;
    bool markdown = false;
    bool indented = true;
    while (last < lines.size() && !lines[last].blank) {
      std::string_view ignored;
      if (last > i && !fenceOf(lineText(last), ignored).empty()) break;
      markdown = markdown || startsMarkdownBlock(lineText(last));
      indented = indented && lines[last].indent >= common + 4;
      ++last;
    }
    if (markdown || indented) {
      addProse(lines[i].begin);
      if (markdown) {
        paragraphs.push_back(markdownBlock(relative(i, last)));
      } else {
        addCode(relative(i, last));
      }
      prose_start = startOf(last);
    }
    i = last;
  }
  addProse(text.size());
  return paragraphs;
}

namespace {

// What md4c made of paragraphs it read, by their text. The same paragraphs come back in file after file
// (a licence's address, an editor's mode line "-*- C++ -*-"), so each thread keeps its last few thousand.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};
using MarkdownMemo = std::unordered_map<std::string, PreparedText, TextHash, std::equal_to<>>;
constexpr size_t kMemoSize = 4096;

MarkdownMemo& markdownMemo() {
  thread_local MarkdownMemo memo;
  return memo;
}

void appendMade(const PreparedText& made, PreparedText& into) {
  into.text += made.text;
  into.block = into.block || made.block;
  into.inList = made.inList;
  into.copyTargets.insert(into.copyTargets.end(), made.copyTargets.begin(), made.copyTargets.end());
}

}  // namespace

void forgetMarkdownReadings() {
  markdownMemo().clear();
}

bool prepareMarkdownParagraph(std::string_view text, PreparedText& into) {
  PreparedText made;
  std::string joined;
  std::string_view words;
  bool plain_text = true;
  if (plainMarkdown(text, joined, words, plain_text)) {
    // Markdown hands on one line without blanks at its ends as it stands.
    if (plain_text && joined.empty() && words.size() == text.size()) return false;
    // Otherwise what md4c would hand on: its words, the lines joined by one blank.
    if (into.text.empty() && !into.inList && into.copyTargets.empty()) {
      if (!words.empty()) prepareInline(words, into);
      return true;
    }
    if (!words.empty()) prepareInline(words, made);
    appendMade(made, into);
    return true;
  }
  MarkdownMemo& memo = markdownMemo();
  if (const auto known = memo.find(text); known != memo.end()) {
    appendMade(known->second, into);
    return true;
  }
  if (!MarkdownWriter(made).read(text)) {
    prepareInline(text, into);
    return true;
  }
  appendMade(made, into);
  if (memo.size() >= kMemoSize) memo.clear();
  memo.emplace(std::string(text), std::move(made));
  return true;
}

}  // namespace quillet
