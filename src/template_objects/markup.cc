#include "template_objects/markup.h"

#include <array>
#include <ostream>
#include <string>

#include "template_objects/evaluation_context.h"
#include "template_objects/link_lookup.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

constexpr std::string_view kDelimiters = " \t\n`@\"~!#$%^&*()-=+[{]}\\|;:',<.>/?";

constexpr std::array<bool, 256> makeDelimiterTable() {
  std::array<bool, 256> table{};
  for (char c : kDelimiters) table[static_cast<unsigned char>(c)] = true;
  return table;
}

constexpr std::array<bool, 256> kDelimiterTable = makeDelimiterTable();

// Writes a link target or anchor name with the HTML specials spelled as bare words ("<" as "lt"), so the
// result is safe inside an attribute and a name like operator<< gives the same text in links and anchors.
void writeSafeName(std::ostream& out, std::string_view name) {
  size_t run_start = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    std::string_view word;
    switch (name[i]) {
      case '&':
        word = "amp";
        break;
      case '<':
        word = "lt";
        break;
      case '>':
        word = "gt";
        break;
      case '"':
        word = "quot";
        break;
      default:
        continue;
    }
    out.write(name.data() + run_start, static_cast<std::streamsize>(i - run_start));
    out.write(word.data(), static_cast<std::streamsize>(word.size()));
    run_start = i + 1;
  }
  out.write(name.data() + run_start, static_cast<std::streamsize>(name.size() - run_start));
}

void writeText(std::ostream& out, std::string_view text) {
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace

bool isLinkedTextDelimiter(char c) {
  return kDelimiterTable[static_cast<unsigned char>(c)];
}

void htmlLink(std::ostream& out, std::string_view text, std::string_view target) {
  if (!target.empty() && target.find('.') == std::string_view::npos && target.front() != '#') {
    writeHtmlEscaped(out, text);
    return;
  }
  out << "<A HREF=\"";
  writeSafeName(out, target);
  out << "\">";
  writeHtmlEscaped(out, text);
  out << "</A>";
}

void htmlFrameLink(std::ostream& out, std::string_view text, std::string_view url, std::string_view frame) {
  out << "<A HREF=\"";
  writeHtmlEscaped(out, url);
  out << "\" TARGET=\"";
  writeHtmlEscaped(out, frame);
  out << "\">";
  writeHtmlEscaped(out, text);
  out << "</A>";
}

void htmlAnchor(std::ostream& out, std::string_view text, std::string_view name) {
  out << "<A NAME=\"";
  writeSafeName(out, name);
  out << "\">";
  writeHtmlEscaped(out, text);
  out << "</A>";
}

void helpHotspot(std::ostream& out, std::string_view text, std::string_view topic) {
  out << "{\\uldb ";
  writeText(out, text);
  out << "\\ulnone\\v ";
  writeText(out, topic);
  out << " }";
}

namespace {

bool acceptsKind(LinkKind kind, LinkWords words, bool asCode) {
  if (kind == LinkKind::kType) return true;
  return words == LinkWords::kAll || (words == LinkWords::kProse && asCode);
}

std::string_view lastComponent(std::string_view scope) {
  const size_t colon = scope.rfind("::");
  return colon == std::string_view::npos ? scope : scope.substr(colon + 2);
}

// Offers `tryKey` each key under which `word` (written after `qualifier`, which is empty or "a::b") may be
// recorded, most specific first, until it accepts one.
template <typename Try>
bool tryKeys(std::string_view qualifier, std::string_view word, std::string_view classContext,
             std::string& key, Try tryKey) {
  for (size_t start = 0; !qualifier.empty();) {
    key.assign(qualifier.substr(start));
    key += "::";
    key += word;
    if (tryKey(key)) return true;
    const size_t next = qualifier.find("::", start);
    if (next == std::string_view::npos) break;
    start = next + 2;
  }
  for (std::string_view scope = classContext; !scope.empty();) {
    if (lastComponent(scope) != word) {
      key.assign(scope);
      key += "::";
      key += word;
      if (tryKey(key)) return true;
    }
    const size_t cut = scope.rfind("::");
    if (cut == std::string_view::npos) break;
    scope = scope.substr(0, cut);
  }
  key.assign(word);
  return tryKey(key);
}

// Where the qualifier written directly before position `at` of `text` ("a::b" in "a::b::word") begins;
// `at` itself when the word is not written after "::". At most eight names count, so that a text made of
// one long chain of names costs no more than its length.
size_t qualifierStart(std::string_view text, size_t at) {
  size_t start = at;
  for (int names = 0; names < 8 && start >= 2 && text[start - 1] == ':' && text[start - 2] == ':'; ++names) {
    size_t word = start - 2;
    while (word > 0 && !isLinkedTextDelimiter(text[word - 1])) --word;
    if (word == start - 2) break;
    start = word;
  }
  return start;
}

// The end (one past the ">") of the template argument list that begins at `at`, or npos when none begins
// there or it does not close within a declaration's length.
size_t argumentListEnd(std::string_view text, size_t at) {
  if (at >= text.size() || text[at] != '<') return std::string_view::npos;
  constexpr size_t kLongest = 512;
  int depth = 0;
  for (size_t i = at; i < text.size() && i < at + kLongest; ++i) {
    const char c = text[i];
    if (c == '<') ++depth;
    if (c == '>' && --depth == 0) return i + 1;
    if (c == ';' || c == '{' || c == '}' || c == '\n') break;
  }
  return std::string_view::npos;
}

}  // namespace

void rtfCrossReference(std::ostream& out, std::string_view text, std::string_view bookmark) {
  out << "{\\field{\\*\\fldinst HYPERLINK \\\\l \"";
  // A bookmark is a name; a quote or an RTF special character would end the instruction early.
  for (char c : bookmark)
    if (c != '"' && c != '\\' && c != '{' && c != '}') out << c;
  out << "\"}{\\fldrslt {\\ul " << text << "}}}";
}

void writeLink(const EvaluationContext& context, std::ostream& out, std::string_view text,
               std::string_view link) {
  if (context.filter && context.filter->markupKind() == kHtmlMarkup) {
    htmlLink(out, text, link);
    return;
  }
  const std::string escaped =
      text.find_first_of("\\{}") == std::string_view::npos ? std::string(text) : rtfEscape(text);
  // A printed document has no jumps: its references are underlined links to the bookmark.
  if (context.filter && context.filter->format() == kRtfFormat) {
    rtfCrossReference(out, escaped, link);
  } else {
    helpHotspot(out, escaped, link);
  }
}

LinkTarget findNamedTarget(const EvaluationContext& context, std::string_view name,
                           std::string_view classContext) {
  LinkTarget found;
  if (!context.linkIndex) return found;
  // A parameter list (f(int) or f()) and a leading "::" say nothing about where the name is recorded;
  // "Class#member" is another way of writing "Class::member".
  std::string written(name.substr(0, name.find('(')));
  for (size_t hash = written.find('#'); hash != std::string::npos; hash = written.find('#', hash))
    written.replace(hash, 1, "::");
  std::string_view rest = written;
  while (rest.starts_with("::")) rest.remove_prefix(2);
  const size_t cut = rest.rfind("::");
  const std::string_view qualifier = cut == std::string_view::npos ? std::string_view() : rest.substr(0, cut);
  const std::string_view word = cut == std::string_view::npos ? rest : rest.substr(cut + 2);
  if (word.empty()) return found;
  std::string key;
  tryKeys(qualifier, word, classContext, key, [&](const std::string& candidate) {
    found = context.linkIndex->namedTarget(context, candidate);
    return !found.link.empty();
  });
  return found;
}

void writeLinkedText(const EvaluationContext& context, std::ostream& out, std::string_view text,
                     std::string_view classContext, LinkWords words) {
  const StyleSheetFilter* filter = context.filter;
  auto plain = [&](std::string_view piece) {
    if (filter) {
      filter->write(out, piece);
    } else {
      writeText(out, piece);
    }
  };
  std::string key;            // reused for every look-up
  bool inBackquotes = false;  // between two backquotes of running text

  size_t i = 0;
  while (i < text.size()) {
    size_t end = i;
    const bool delimiters = isLinkedTextDelimiter(text[i]);
    while (end < text.size() && isLinkedTextDelimiter(text[end]) == delimiters) ++end;
    const std::string_view piece = text.substr(i, end - i);
    const size_t start = i;
    i = end;
    if (delimiters || !context.linkIndex || words == LinkWords::kNone) {
      // A backquote opens code only when another one closes it ("`a b`"); a lone one (`quoted') is text.
      if (delimiters && words == LinkWords::kProse) {
        for (size_t at = start; at < end; ++at) {
          if (text[at] != '`') continue;
          inBackquotes = !inBackquotes && text.find('`', at + 1) != std::string_view::npos;
        }
      }
      plain(piece);
      continue;
    }
    // Most words of a text name nothing documented; those need no look-up in any enclosing scope.
    const size_t arguments = argumentListEnd(text, end);
    const bool mayNameSpecial =
        arguments != std::string_view::npos && context.linkIndex->mayName(text.substr(start, arguments - start));
    if (!mayNameSpecial && !context.linkIndex->mayName(piece)) {
      plain(piece);
      continue;
    }
    const size_t qualified_from = qualifierStart(text, start);
    const bool after_scope = qualified_from < start || (start >= 2 && text.substr(start - 2, 2) == "::");
    const std::string_view qualifier =
        qualified_from < start ? text.substr(qualified_from, start - 2 - qualified_from) : std::string_view();
    const bool as_code = inBackquotes || after_scope || text.substr(end, 2) == "()";
    std::string link;
    auto accept = [&](const std::string& candidate) {
      LinkTarget target = context.linkIndex->namedTarget(context, candidate);
      if (target.link.empty() || !acceptsKind(target.kind, words, as_code)) return false;
      link = std::move(target.link);
      return true;
    };
    // A name with template arguments written exactly as a documented specialization's (X<int>) links to
    // that specialization as a whole.
    if (mayNameSpecial) {
      const std::string_view special = text.substr(start, arguments - start);
      if (tryKeys(qualifier, special, classContext, key, accept)) {
        writeLink(context, out, special, link);
        i = arguments;
        continue;
      }
    }
    tryKeys(qualifier, piece, classContext, key, accept);
    if (link.empty()) {
      plain(piece);
    } else {
      writeLink(context, out, piece, link);
    }
  }
}

}  // namespace quillet
