#include "document/source_pages.h"

#include <algorithm>
#include <ostream>

#include "common/file_contents.h"
#include "model/model_properties.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

const char* spanClass(SpanKind kind) {
  switch (kind) {
    case SpanKind::kKeyword:
      return "kw";
    case SpanKind::kType:
      return "ty";
    case SpanKind::kLiteral:
      return "lit";
    case SpanKind::kComment:
      return "cm";
    case SpanKind::kDirective:
      return "pp";
  }
  return "kw";
}

std::string fileText(const std::string& path, bool& read) {
  std::string text;
  read = readFileContents(path, text);
  return text;
}

}  // namespace

void writeSourceLines(std::ostream& out, std::string_view text, const std::vector<SourceSpan>& spans) {
  size_t next = 0;  // the first span not yet closed
  int32_t line = 0;
  size_t at = 0;
  while (at < text.size() || line == 0) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    ++line;
    out << "<span class=\"line\" id=\"L" << line << "\"><span class=\"ln\">" << line << "</span>";
    // The stretches within this line, a stretch that crosses lines cut at each line break.
    size_t pos = at;
    while (pos < end) {
      while (next < spans.size() && spans[next].end <= pos) ++next;
      if (next >= spans.size() || spans[next].begin >= end) {
        writeHtmlEscaped(out, text.substr(pos, end - pos));
        pos = end;
        break;
      }
      const SourceSpan& span = spans[next];
      const size_t begin = std::max(span.begin, pos);
      writeHtmlEscaped(out, text.substr(pos, begin - pos));
      const size_t stop = std::min(span.end, end);
      out << "<span class=\"" << spanClass(span.kind) << "\">";
      writeHtmlEscaped(out, text.substr(begin, stop - begin));
      out << "</span>";
      pos = stop;
    }
    out << "</span>\n";
    if (end >= text.size()) break;
    at = end + 1;
    if (at == text.size()) break;  // a final line break ends the last line
  }
}

bool SourcePage::WriteProperty(const EvaluationContext& context, std::string_view property,
                               std::ostream& out) {
  if (property == "name") {
    writeFileProperty(context, out, path_);
    return true;
  }
  if (property == "path") {
    writeFiltered(context, out, path_);
    return true;
  }
  if (property == "source_lines") {
    bool read = false;
    std::string text = fileText(path_, read);
    if (!read) {
      writeFiltered(context, out, "The file could not be read.");
      return true;
    }
    // Carriage returns of Windows line ends are not shown.
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    std::vector<SourceSpan> spans;
    if (colourer_ && *colourer_) spans = (*colourer_)(text);
    writeSourceLines(out, text, spans);
    return true;
  }
  return false;
}

std::string SourcePage::AnchorName() const {
  return makeIdentifier("src_" + path_);
}

std::string SourcePage::FileName(const EvaluationContext&) const {
  return objectFileName(AnchorName());
}

bool SourcePage::Test(std::string_view property, int32_t& value) const {
  if (property != "line_count") return false;
  bool read = false;
  const std::string text = fileText(path_, read);
  value = static_cast<int32_t>(std::min<size_t>(std::count(text.begin(), text.end(), '\n'), INT32_MAX));
  return true;
}

}  // namespace quillet
