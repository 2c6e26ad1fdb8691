#include "model/model_properties.h"

#include <algorithm>
#include <ostream>

#include "common/file_services.h"
#include "common/file_system.h"
#include "common/relative_path.h"
#include "config/configuration.h"
#include "model/model_mixins.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/link_lookup.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

std::string_view folderOf(std::string_view path) {
  const size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? std::string_view() : path.substr(0, separator + 1);
}

}  // namespace

void writeFiltered(const EvaluationContext& context, std::ostream& out, std::string_view text) {
  if (context.filter) {
    context.filter->write(out, text);
  } else {
    out << text;
  }
}

void writeFileProperty(const EvaluationContext& context, std::ostream& out, std::string_view file) {
  writeFiltered(context, out, fileNameOf(file));
}

void writeFileUrl(const EvaluationContext& context, std::ostream& out, std::string_view file) {
  std::string path;
  if (relativePath(folderOf(context.currentFile), file, path)) {
    for (char& c : path)
      if (c == '\\') c = '/';
    out << path;
    return;
  }
  // Only a path written for another root gets here (a drive letter, a network name): it is kept as
  // written, the way a relative one would be made absolute.
  std::string absolute(file);
  const bool rooted = (file.size() >= 2 && file[1] == ':') || file.starts_with("/") || file.starts_with("\\");
  if (!rooted) absolute = absolutePath(absolute);
  absolute = networkForm(absolute);
  // "file:///" already holds the slash of a root folder.
  if (absolute.starts_with("/") && !absolute.starts_with("//")) absolute.erase(0, 1);
  out << "file:///" << absolute;
}

void writeSourcePlace(const EvaluationContext& context, std::ostream& out, std::string_view file,
                      int32_t line) {
  std::string label(fileNameOf(file));
  if (line > 0) label += ":" + std::to_string(line);
  std::string page;
  if (context.linkIndex && context.filter && context.filter->markupKind() == kHtmlMarkup)
    page = context.linkIndex->namedLink(context, file);
  if (page.empty()) {
    writeFiltered(context, out, label);
    return;
  }
  page.erase(std::min(page.find('#'), page.size()));
  out << "<a href=\"";
  writeHtmlEscaped(out, page);
  if (line > 0) out << "#L" << line;
  out << "\">";
  writeHtmlEscaped(out, label);
  out << "</a>";
}

std::string objectFileName(std::string_view anchorName) {
  std::string_view stem = fileNameOf(runConfiguration().htmlOutputFile());
  const size_t dot = stem.rfind('.');
  if (dot != std::string_view::npos) stem = stem.substr(0, dot);
  std::string name(stem);
  name += '_';
  name += anchorName;
  return name;
}

const Configuration& runConfiguration() {
  if (const Configuration* current = currentConfiguration()) return *current;
  static const Configuration defaults;
  return defaults;
}

std::string spellArguments(std::string_view name) {
  if (name.find_first_of("<>*&") == std::string_view::npos) return std::string(name);
  std::string spelled;
  spelled.reserve(name.size() + 8);
  for (char c : name) {
    switch (c) {
      case '<':
        spelled += "LT";
        break;
      case '>':
        spelled += "GT";
        break;
      case '*':
        spelled += "Ptr";
        break;
      case '&':
        spelled += "Ref";
        break;
      default:
        spelled += c;
        break;
    }
  }
  return spelled;
}

}  // namespace quillet
