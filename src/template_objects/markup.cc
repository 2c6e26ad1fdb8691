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

void writeLinkedText(const EvaluationContext& context, std::ostream& out, std::string_view text,
                     std::string_view classContext) {
  const StyleSheetFilter* filter = context.filter;
  auto plain = [&](std::string_view piece) {
    if (filter) {
      filter->write(out, piece);
    } else {
      writeText(out, piece);
    }
  };
  std::string qualified;  // reused for every word: classContext + "::" + word
  if (!classContext.empty()) {
    qualified.assign(classContext);
    qualified += "::";
  }
  const size_t prefix_size = qualified.size();

  size_t i = 0;
  while (i < text.size()) {
    size_t end = i;
    const bool delimiters = isLinkedTextDelimiter(text[i]);
    while (end < text.size() && isLinkedTextDelimiter(text[end]) == delimiters) ++end;
    const std::string_view piece = text.substr(i, end - i);
    i = end;
    if (delimiters || !context.linkIndex) {
      plain(piece);
      continue;
    }
    auto find = [&](std::string_view name) {
      std::string link;
      if (prefix_size > 0) {
        qualified.resize(prefix_size);
        qualified += name;
        link = context.linkIndex->namedLink(context, qualified);
      }
      if (link.empty()) link = context.linkIndex->namedLink(context, name);
      return link;
    };
    auto write = [&](std::string_view shown, const std::string& link) {
      if (filter && filter->markupKind() == kHtmlMarkup) {
        htmlLink(out, shown, link);
      } else {
        helpHotspot(out, shown, link);
      }
    };
    // A name with template arguments written exactly as a documented specialization's (X<int>) links to
    // that specialization as a whole.
    const size_t arguments = argumentListEnd(text, end);
    if (arguments != std::string_view::npos) {
      const size_t begin = end - piece.size();
      const std::string_view special = text.substr(begin, arguments - begin);
      const std::string link = find(special);
      if (!link.empty()) {
        write(special, link);
        i = arguments;
        continue;
      }
    }
    const std::string link = find(piece);
    if (link.empty()) {
      plain(piece);
    } else {
      write(piece, link);
    }
  }
}

}  // namespace quillet
