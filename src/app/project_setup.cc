#include "app/project_setup.h"

#include <algorithm>
#include <map>

#include "common/file_contents.h"
#include "common/file_system.h"
#include "config/configuration.h"
#include "config/layout_item.h"
#include "import/compile_commands.h"
#include "import/import_target.h"
#include "import/project_description.h"
#include "import/source_survey.h"

namespace quillet {

namespace {

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string extensionOf(const std::string& path) {
  const size_t dot = path.rfind('.');
  return dot == std::string::npos || dot < path.rfind('/') + 1 ? std::string() : path.substr(dot);
}

std::string lowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// "folder/*.ext" for each folder and extension of `files`, in order of first appearance.
std::vector<std::string> folderPatterns(const std::vector<std::string>& files, const std::string& base) {
  std::vector<std::string> patterns;
  for (const std::string& file : files) {
    const std::string folder = relativeTo(folderOf(file), base);
    const std::string pattern = (folder == "." ? std::string() : folder + "/") + "*" + extensionOf(file);
    if (std::find(patterns.begin(), patterns.end(), pattern) == patterns.end()) patterns.push_back(pattern);
  }
  return patterns;
}

// A chapter of the document: its name and the files whose declarations it shows.
struct PlannedChapter {
  std::string name;
  std::vector<std::string> files;
};

// One chapter per top-level namespace, a file going to the first namespace it opens; files that open none
// go to a chapter per folder. Without any namespace in the project, that is one chapter per folder.
std::vector<PlannedChapter> planChapters(const std::vector<std::string>& files, const std::string& base,
                                         const std::string& project_name) {
  std::vector<PlannedChapter> chapters;
  std::map<std::string, size_t> by_name;  // lower-case name -> chapter
  auto chapterFor = [&](const std::string& name) -> PlannedChapter& {
    const auto found = by_name.find(lowerCase(name));
    if (found != by_name.end()) return chapters[found->second];
    by_name[lowerCase(name)] = chapters.size();
    return chapters.emplace_back(PlannedChapter{name, {}});
  };
  std::vector<std::pair<std::string, std::string>> by_folder;  // file, folder chapter name
  for (const std::string& file : files) {
    std::string text;
    readInputFile(file, InputKind::kSource, text);
    const std::vector<std::string> namespaces = topLevelNamespaces(text);
    if (!namespaces.empty()) {
      chapterFor("namespace " + namespaces.front()).files.push_back(file);
      continue;
    }
    const std::string folder = relativeTo(folderOf(file), base);
    by_folder.emplace_back(file, folder == "." || folder.empty() ? project_name : folder);
  }
  for (const auto& [file, folder] : by_folder) chapterFor(folder).files.push_back(file);
  return chapters;
}

}  // namespace

std::string relativeTo(const std::string& path, const std::string& base) {
  if (path == base) return ".";
  if (!base.empty() && path.starts_with(base) && path.size() > base.size() &&
      (path[base.size()] == '/' || base.back() == '/'))
    return path.substr(base.size() + (base.back() == '/' ? 0 : 1));
  return path;
}

void describeProject(const ProjectDescription& project, const std::string& base, SourceListing listing,
                     Configuration& configuration) {
  configuration.setDocumentName(project.name.empty() ? "Documentation" : project.name);
  std::vector<SourceEntry>& entries = configuration.mutableSourceEntries();
  if (listing != SourceListing::kFolderPatterns) {
    for (const std::string& source : project.sources) entries.push_back({relativeTo(source, base), false});
    if (listing == SourceListing::kEveryFile)
      for (const std::string& header : project.headers) entries.push_back({relativeTo(header, base), false});
  } else {
    for (const std::string& pattern : folderPatterns(project.sources, base))
      entries.push_back({pattern, false});
    for (const std::string& pattern : folderPatterns(project.headers, base))
      entries.push_back({pattern, false});
  }

  std::string include_path;
  for (const std::string& folder : project.includeFolders)
    include_path += (include_path.empty() ? "" : ";") + relativeTo(folder, base);
  configuration.setIncludePath(include_path);
  std::string defines;
  for (const std::string& define : project.defines) defines += (defines.empty() ? "" : ", ") + define;
  configuration.setDefines(defines);

  configuration.setCompiler(project.compiler.empty() ? std::string(kSystemCompiler) : project.compiler);
  if (!project.languageStandard.empty()) configuration.setLanguageStandard(project.languageStandard);
  if (!project.forcedIncludes.empty()) {
    std::string forced;
    for (const std::string& file : project.forcedIncludes)
      forced += (forced.empty() ? "" : ";") + relativeTo(file, base);
    configuration.setExtensionSetting(kForcedIncludesSetting, forced);
  }

  // The headers are what a reader of the documentation looks up; a project without any shows its sources.
  const std::vector<std::string>& shown = project.headers.empty() ? project.sources : project.headers;
  LayoutItem& root = configuration.mutableArrangement();
  for (const PlannedChapter& planned : planChapters(shown, base, configuration.documentName())) {
    LayoutItem* chapter = root.addChild();
    chapter->setName(planned.name);
    for (const std::string& file : planned.files) {
      LayoutItem* item = chapter->addChild();
      item->setKind(LayoutItem::kSymbolsByFile);
      item->setName(relativeTo(file, base));
    }
  }
}

void useDefaultOutput(Configuration& configuration) {
  configuration.setHtmlOutputFile("docs/index.html");
  configuration.setHtmlStyle("Standard Style");
}

bool mergeCompileCommands(Configuration& configuration, const std::string& file,
                          std::vector<std::string>& notes, std::string& error) {
  // The project is the current folder when the database builds files there, else the sources' folder.
  const std::string base = fileSystem().currentFolder();
  ProjectDescription project;
  if (!readCompileCommands(file, base, project, error) && !readCompileCommands(file, "", project, error))
    return false;
  ImportTarget target(configuration);
  for (const std::string& source : project.sources) target.addSourceFile(relativeTo(source, base));
  // The headers go into a chapter of the project's own, as a workspace's projects do.
  LayoutItem& chapter = target.projectChapter(project.name);
  for (const std::string& header : project.headers) target.addHeader(chapter, relativeTo(header, base));
  for (const std::string& define : project.defines) target.addDefine(define);
  for (const std::string& folder : project.includeFolders)
    target.addIncludeDirectory(relativeTo(folder, base));
  if (configuration.compiler().empty() && !project.compiler.empty()) configuration.setCompiler(project.compiler);
  if (configuration.languageStandard().empty() && !project.languageStandard.empty())
    configuration.setLanguageStandard(project.languageStandard);
  target.nameDocument(project.name);
  notes = project.notes;
  return true;
}

}  // namespace quillet
