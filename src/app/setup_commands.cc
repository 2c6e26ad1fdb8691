#include "app/setup_commands.h"

#include <ostream>
#include <set>

#include "app/batch_run.h"
#include "app/project_setup.h"
#include "common/file_system.h"
#include "config/configuration.h"
#include "config/configuration_io.h"
#include "config/layout_item.h"
#include "import/compile_commands.h"
#include "import/doxyfile.h"
#include "import/project_description.h"
#include "import/source_survey.h"

namespace quillet {

namespace {

constexpr const char* kInitUsage =
    "usage: quillet init [DIR] [--force] [--compile-commands FILE] [--from-doxyfile FILE]\n"
    "  Writes DIR/quillet.toml (DIR: the current folder when not given) for the C and C++ sources in DIR,\n"
    "  or for those a compilation database builds, or for those a Doxygen configuration names.\n"
    "  --force   overwrite an existing quillet.toml\n";

struct InitArguments {
  std::string folder = ".";
  bool force = false;
  std::string compileCommands;
  std::string doxyfile;
  std::string error;
};

InitArguments parseInit(const std::vector<std::string>& arguments) {
  InitArguments parsed;
  bool folder_given = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& arg = arguments[i];
    std::string* value = nullptr;
    std::string name = arg.substr(0, arg.find('='));
    if (name == "--compile-commands") value = &parsed.compileCommands;
    if (name == "--from-doxyfile") value = &parsed.doxyfile;
    if (value != nullptr) {
      if (arg.size() > name.size()) {
        *value = arg.substr(name.size() + 1);
      } else if (i + 1 < arguments.size()) {
        *value = arguments[++i];
      }
      if (value->empty()) parsed.error = "missing file after " + name;
    } else if (arg == "--force" || arg == "-f") {
      parsed.force = true;
    } else if (!arg.empty() && arg[0] == '-') {
      parsed.error = "unknown option " + arg;
    } else if (folder_given) {
      parsed.error = "more than one folder given";
    } else {
      parsed.folder = arg;
      folder_given = true;
    }
    if (!parsed.error.empty()) break;
  }
  if (parsed.error.empty() && !parsed.compileCommands.empty() && !parsed.doxyfile.empty())
    parsed.error = "give either --compile-commands or --from-doxyfile";
  return parsed;
}

size_t folderCount(const ProjectDescription& project) {
  std::set<std::string> folders;
  for (const auto* files : {&project.sources, &project.headers})
    for (const std::string& file : *files) folders.insert(file.substr(0, file.rfind('/')));
  return folders.size();
}

// Lines of at most about 100 characters listing `items` after `label`.
void writeList(std::ostream& out, const std::string& label, const std::vector<std::string>& items) {
  std::string line = label;
  for (size_t i = 0; i < items.size(); ++i) {
    const std::string piece = items[i] + (i + 1 < items.size() ? "," : "");
    if (line.size() + piece.size() > 100 && line != label) {
      out << line << '\n';
      line = "   ";
    }
    line += " " + piece;
  }
  out << line << '\n';
}

}  // namespace

int runInit(const std::vector<std::string>& arguments, std::ostream& out) {
  const InitArguments parsed = parseInit(arguments);
  if (!parsed.error.empty()) {
    out << "error: " << parsed.error << '\n' << kInitUsage;
    return kBatchUsageShown;
  }
  const std::string folder = normalizedPath(absolutePath(parsed.folder));
  if (pathKind(folder) != PathKind::kFolder) {
    out << "error: " << parsed.folder << " is not a folder\n";
    return kBatchConfigurationFailed;
  }
  const std::string target = (folder == "/" ? "" : folder) + "/quillet.toml";
  if (pathKind(target) != PathKind::kMissing && !parsed.force) {
    out << "error: " << target << " exists already; --force overwrites it\n";
    return kBatchConfigurationFailed;
  }

  ProjectDescription project;
  DoxyfileMigration migration;
  std::string error;
  if (!parsed.compileCommands.empty()) {
    if (!readCompileCommands(parsed.compileCommands, folder, project, error)) {
      out << "error: " << error << '\n';
      return kBatchConfigurationFailed;
    }
  } else if (!parsed.doxyfile.empty()) {
    if (!migrateDoxyfile(parsed.doxyfile, project, migration, error)) {
      out << "error: " << error << '\n';
      return kBatchConfigurationFailed;
    }
  } else {
    project.root = folder;
    project.name = folder == "/" ? "Documentation" : folder.substr(folder.rfind('/') + 1);
    findProjectFiles(folder, project.sources, project.headers);
    std::vector<std::string> all = project.sources;
    all.insert(all.end(), project.headers.begin(), project.headers.end());
    project.includeFolders = neededIncludeFolders(all);
  }
  if (project.sources.empty() && project.headers.empty()) {
    out << "error: found no C or C++ sources or headers for " << folder << '\n';
    return kBatchConfigurationFailed;
  }

  Configuration configuration;
  useDefaultOutput(configuration);
  // A project set up today writes its comments in Markdown; a Doxyfile may say otherwise.
  configuration.setCommentMarkdown(parsed.doxyfile.empty() || migration.markdown);
  configuration.setHtmlSourcePages(true);
  if (!parsed.doxyfile.empty()) {
    configuration.setHtmlOutputFile(relativeTo(migration.htmlOutputFile, folder));
    configuration.setRtfOutputFile(relativeTo(migration.rtfOutputFile, folder));
    configuration.setDocumentPrivate(migration.documentPrivate);
    if (!migration.brief.empty()) {
      LayoutItem* about = configuration.mutableArrangement().addChild();
      about->setKind(LayoutItem::kText);
      about->setName("About " + project.name);
      about->setText(migration.brief);
    }
  }
  const SourceListing listing = !parsed.doxyfile.empty()          ? SourceListing::kEveryFile
                                : !parsed.compileCommands.empty() ? SourceListing::kSources
                                                                  : SourceListing::kFolderPatterns;
  describeProject(project, folder, listing, configuration);

  std::string reason;
  if (!saveConfigurationFile(target, configuration, reason)) {
    out << "error: cannot write " << target << ": " << reason << '\n';
    return kBatchConfigurationFailed;
  }

  out << "Wrote " << target << '\n';
  out << "  " << project.sources.size() << " sources and " << project.headers.size() << " headers in "
      << folderCount(project) << " folders\n";
  std::vector<std::string> includes;
  for (const std::string& include : project.includeFolders) includes.push_back(relativeTo(include, folder));
  if (!includes.empty()) writeList(out, "  include folders:", includes);
  if (!project.defines.empty()) writeList(out, "  defines:", project.defines);
  out << "  compiler: " << configuration.compiler()
      << (project.languageStandard.empty() ? "" : " (-std=" + project.languageStandard + ")") << '\n';
  std::vector<std::string> chapters;
  const LayoutItem& root = configuration.arrangement();
  for (size_t i = 0; i < root.childCount(); ++i) chapters.push_back(root.child(i)->name());
  writeList(out, "  chapters:", chapters);
  for (const std::string* output : {&configuration.htmlOutputFile(), &configuration.rtfOutputFile()})
    if (!output->empty()) out << "  output: " << *output << '\n';
  for (const std::string& note : project.notes) out << "note: " << note << '\n';
  if (!migration.notCarried.empty())
    writeList(out, "Not carried over from the Doxyfile:", migration.notCarried);
  const std::string here = fileSystem().currentFolder();
  out << "Next: " << (folder == normalizedPath(here) ? "" : "cd " + parsed.folder + " && ")
      << "quillet -C    (writes the documentation; edit quillet.toml to change what goes where)\n";
  return kBatchRanGeneration;
}

int runConvert(const std::vector<std::string>& arguments, std::ostream& out) {
  if (arguments.size() != 2 || arguments[0].empty() || arguments[1].empty()) {
    out << "usage: quillet convert IN OUT\n"
        << "  Converts a configuration between its forms: .qlc to .toml or .toml to .qlc, by OUT's name.\n";
    return kBatchUsageShown;
  }
  Configuration configuration;
  const ConfigurationLoad load = loadConfigurationFile(arguments[0], configuration, true);
  for (const std::string& warning : load.warnings) out << "warning: " << warning << '\n';
  if (!load.ok) {
    out << load.message << '\n';
    return kBatchConfigurationFailed;
  }
  std::string reason;
  if (!saveConfigurationFile(arguments[1], configuration, reason)) {
    out << "error: cannot write " << arguments[1] << ": " << reason << '\n';
    return kBatchConfigurationFailed;
  }
  out << "Wrote " << arguments[1] << '\n';
  return kBatchRanGeneration;
}

}  // namespace quillet
