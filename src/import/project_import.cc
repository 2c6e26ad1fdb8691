#include "import/project_import.h"

#include <string_view>
#include <vector>

#include "config/configuration.h"
#include "config/layout_item.h"
#include "import/compiler_options.h"
#include "import/import_target.h"
#include "import/project_paths.h"
#include "import/project_text.h"

namespace quillet {

namespace {

constexpr std::string_view kSourceLine = "SOURCE";
constexpr std::string_view kUseMfcLine = "# PROP BASE Use_MFC";
constexpr std::string_view kNoMfcLine = "# PROP BASE Use_MFC 0";
// Only the first option lines count: they belong to the project's first build configuration.
constexpr int kOptionLinesRead = 2;

bool isSourceExtension(const std::string& extension) {
  return extension == ".c" || extension == ".cpp" || extension == ".cxx";
}

bool isHeaderExtension(const std::string& extension) {
  return extension == ".h" || extension == ".hpp" || extension == ".hxx" || extension == ".hm";
}

// A path no file can have: control characters come from a damaged or binary file, and would cut the name
// short where it is handed to the file system.
bool isUsablePath(std::string_view path) {
  if (path.empty()) return false;
  for (char c : path)
    if (static_cast<unsigned char>(c) < 0x20) return false;
  return true;
}

// The file path of a "SOURCE=" line, without quotes and a leading ".\"; empty when the line names none.
std::string_view sourcePath(std::string_view line) {
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {};
  const std::string_view path = withoutDotPrefix(unquoted(line.substr(equals + 1)));
  return isUsablePath(path) ? path : std::string_view();
}

// Sources and headers become source entries seen from where the project file lies (".\a.h" beside it,
// "..\src\b.cpp" beside its folder); the run looks their names up case-blind. The headers come after all
// sources, so that a header a source includes is read there, with the source's macros, and one that no
// source includes is still read and documented by its header item.
void importFiles(ImportTarget& target, const std::vector<std::string_view>& lines, std::string_view folder,
                 LayoutItem& header_parent) {
  std::vector<std::string_view> headers;
  for (std::string_view line : lines) {
    if (!line.starts_with(kSourceLine)) continue;
    const std::string_view path = sourcePath(line);
    if (path.empty()) continue;
    const std::string extension = lowerExtension(path);
    if (isSourceExtension(extension)) {
      target.addSourceFile(underFolder(folder, path));
    } else if (isHeaderExtension(extension)) {
      // Header items keep the path as written: the run matches them against the files it parsed by their
      // trailing path, wherever the project lies.
      target.addHeader(header_parent, std::string(path));
      headers.push_back(path);
    }
  }
  for (std::string_view header : headers) target.addSourceFile(underFolder(folder, header));
}

void chooseProfile(ImportTarget& target, const std::vector<std::string_view>& lines) {
  if (!target.profileIsGeneric()) return;
  bool mfc = true;  // a project that does not say otherwise is taken for an MFC application
  for (std::string_view line : lines) {
    if (line.starts_with(kUseMfcLine)) {
      mfc = line != kNoMfcLine;
      break;
    }
  }
  target.chooseVisualCppProfile(mfc);
}

void importCompilerOptions(ImportTarget& target, const std::vector<std::string_view>& lines,
                           std::string_view folder) {
  CompilerOptions options;
  int read = 0;
  for (std::string_view line : lines) {
    if (!isCompilerOptionLine(line)) continue;
    readCompilerOptions(line, options);
    if (++read == kOptionLinesRead) break;
  }
  for (const std::string& define : options.defines) target.addDefine(define);
  for (const std::string& directory : options.includeDirectories) {
    if (isUsablePath(directory)) target.addIncludeDirectory(underFolder(folder, directory));
  }
}

}  // namespace

bool importProjectFile(ImportTarget& target, const std::string& file_name, bool in_workspace) {
  ProjectText text;
  if (!text.read(file_name) || !text.lines().front().starts_with(kProjectFileHeader)) return false;
  const std::vector<std::string_view>& lines = text.lines();
  const std::string_view folder = pathFolder(file_name);

  LayoutItem& header_parent = in_workspace ? target.projectChapter(std::string(pathStem(file_name)))
                                           : target.configuration().mutableArrangement();
  importFiles(target, lines, folder, header_parent);
  chooseProfile(target, lines);
  importCompilerOptions(target, lines, folder);
  target.nameDocument(file_name);
  return true;
}

}  // namespace quillet
