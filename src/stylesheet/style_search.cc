#include "stylesheet/style_search.h"

#include <string_view>

#include "config/configuration.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

const Configuration& configuration() {
  if (const Configuration* current = currentConfiguration()) return *current;
  static const Configuration defaults;
  return defaults;
}

}  // namespace

std::string styleSheetPath(int32_t format, const std::string& fileName) {
  OutputKind kind = OutputKind::kHtml;
  if (format == kRtfFormat) kind = OutputKind::kRtf;
  if (format == kWinHelpFormat) kind = OutputKind::kWinHelp;
  return configuration().styleFolderFile(kind, fileName);
}

std::string configuredHtmlExtension() {
  const Configuration& settings = configuration();
  if (settings.shortFileNames()) return ".htm";
  const std::string_view file = settings.htmlOutputFile();
  const size_t folderEnd = file.find_last_of("/\\");
  const std::string_view name = folderEnd == std::string_view::npos ? file : file.substr(folderEnd + 1);
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return ".html";
  return std::string(name.substr(dot));
}

}  // namespace quillet
