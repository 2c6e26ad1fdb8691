#include "app/output_stage.h"

#include "app/help_compiler.h"
#include "app/source_list.h"
#include "common/file_contents.h"
#include "common/file_services.h"
#include "common/file_system.h"
#include "common/message_output.h"
#include "common/output_set.h"
#include "config/configuration.h"
#include "stylesheet/link_index.h"
#include "stylesheet/page_jobs.h"
#include "stylesheet/object_path.h"
#include "stylesheet/style_search.h"
#include "stylesheet/style_sheet_cache.h"
#include "stylesheet/style_sheet_eval_to_dictionary.h"
#include "stylesheet/style_sheet_eval_to_file.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

// Volumes whose names may not be this long only hold 8.3 names.
constexpr long kLongNameLength = 150;

std::string fileNamePart(const std::string& path) {
  return path.substr(folderPart(path).size());
}

std::string stemOf(const std::string& path) {
  const std::string name = fileNamePart(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string extensionOf(const std::string& path) {
  const std::string name = fileNamePart(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

const std::string& configuredOutput(const Configuration& configuration, int32_t format) {
  switch (format) {
    case kRtfFormat:
      return configuration.rtfOutputFile();
    case kWinHelpFormat:
      return configuration.winHelpOutputFile();
    default:
      return configuration.htmlOutputFile();
  }
}

// The longest name the volume that will hold `file` accepts: asked of the nearest folder that exists.
long volumeNameLength(const std::string& file) {
  std::string folder = folderPart(file);
  for (int steps = 0; steps < 256; ++steps) {
    const std::string probe = folder.empty() ? "." : folder;
    if (pathKind(probe) == PathKind::kFolder) return maxNameLength(probe);
    if (folder.empty() || folder == "/") break;
    folder = folderPart(folder.substr(0, folder.size() - 1));
  }
  return -1;
}

void writeIndexFile(const LinkIndex& links, const std::string& path) {
  std::string text;
  for (const LinkIndex::NamedEntry& named : links.namedEntries()) {
    text += '"';
    text += named.name;
    text += "\",\"";
    text += named.entry->fileName;
    text += '#';
    text += named.entry->anchorName;
    text += "\"\n";
  }
  std::string error;
  if (!writeFileContents(path, text, error) && !outputStopped())
    reportMessage("error: cannot open file " + path);
}

const char* formatName(int32_t format) {
  switch (format) {
    case kRtfFormat:
      return "RTF";
    case kWinHelpFormat:
      return "WinHelp";
    default:
      return "HTML";
  }
}

uint64_t spent(uint64_t left, uint64_t used) {
  return used >= left ? 0 : left - used;
}

// True when a folder of the PATH holds the program `name`.
bool onPath(const std::string& name) {
  const std::string path = environmentValue("PATH");
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    const std::string folder = end == start ? "." : path.substr(start, end - start);
    if (pathKind(folder + "/" + name) == PathKind::kFile) return true;
    start = end + 1;
  }
  return false;
}

void compileHelp(const std::string& main_file, const std::string& folder) {
  const std::string project = stemOf(main_file) + ".hpj";
  if (!onPath("hcrtf") && !onPath("hcrtf.exe")) {
    // Where the Windows help compiler does not exist, the help project is what this step delivers.
    reportMessage("note: the WinHelp project " + (folder.empty() ? std::string("./") : folder) + project +
                  " was written; the Windows Help Compiler is not on the PATH here, so compile it on Windows "
                  "with " +
                  helpCompilerCommand(main_file) + " in that folder.");
    return;
  }
  if (!runDetached({"hcrtf", "/x", project}, folder)) {
    reportMessage("error: Unable to run the command \"" + helpCompilerCommand(main_file) +
                  "\". hcrtf.exe (Windows Help Compiler) must be installed, and on the path.");
  }
}

}  // namespace

std::string mainOutputFile(const std::string& configured, int32_t format) {
  const std::string extension = format == kHtmlFormat ? configuredHtmlExtension() : std::string(".rtf");
  // Only a dot of the file's own name starts an extension: "out.d/index" is "index" in "out.d".
  return folderPart(configured) + stemOf(configured) + extension;
}

std::string helpCompilerCommand(const std::string& main_file) {
  return "hcrtf  /x \"" + stemOf(main_file) + ".hpj\"";
}

OutputRun::OutputRun(const Configuration& configuration) {
  left.maxSteps = configuration.maxEvaluationSteps();
  left.maxOutputBytes = configuration.maxOutputBytes();
}

void writeOutput(StyleSheetObject& document, int32_t format,
                 const std::function<void(LinkIndex&)>& add_links) {
  const Configuration* configuration = currentConfiguration();
  if (!configuration) return;
  OutputRun run(*configuration);
  writeOutput(run, document, format, add_links);
}

void writeOutput(OutputRun& run, StyleSheetObject& document, int32_t format,
                 const std::function<void(LinkIndex&)>& add_links) {
  const Configuration* configuration = currentConfiguration();
  if (!configuration || run.stopped) return;
  HTMLStyleSheetFilter html_filter;
  RTFStyleSheetFilter rtf_filter;
  StyleSheetFilter& filter = format == kHtmlFormat ? static_cast<StyleSheetFilter&>(html_filter) : rtf_filter;
  filter.setFormat(format);

  const std::string output_file = mainOutputFile(configuredOutput(*configuration, format), format);
  const long name_length = volumeNameLength(output_file);
  if (name_length >= 0 && name_length < kLongNameLength && !configuration->shortFileNames()) {
    reportMessage("error: cannot open output file " + output_file +
                  " the filesystem does not support long file names.");
    return;
  }
  if (format == kHtmlFormat && configuration->shortFileNames() && stemOf(output_file).size() > 8) {
    reportMessage("error: output filename  " + output_file +
                  " is longer that 8 characters.  Cannot create a 8.3 conforming documentation set.");
    return;
  }

  const std::string output_folder = folderPart(output_file);
  if (!output_folder.empty()) ensureFolder(output_folder);
  resetOutputFileNames(configuration->shortFileNames());
  LinkIndex links;
  const std::string main_file =
      output_folder + outputFileName(stemOf(output_file)) + extensionOf(output_file);
  const std::string main_style = format == kHtmlFormat ? "main.html" : "main.rtf";
  const StyleSheet& sheet = cachedStyleSheet(styleSheetPath(format, main_style));

  // Every file of the set waits beside its place until the whole set is written; then all replace their
  // previous versions at once. A set that fails removes what it wrote.
  OutputSet set(output_folder);
  EvaluationBudget budget(run.left);
  bool main_written = false;

  if (configuration->verbose()) reportStatus("Building index for " + main_file);
  {
    // Pages that start no further files are read on the run's threads, their records kept in order.
    PageJobs pages(run.jobs > 1 ? run.jobs - 1 : 0);
    ObjectStack stack{&document};
    StyleSheetEvalToDictionary dictionary(main_file, sheet, links, output_folder, filter);
    dictionary.evaluate(stack);
    pages.finish();
  }
  if (add_links) add_links(links);

  if (!set.failed()) {
    if (configuration->verbose()) reportStatus("Writing " + main_file);
    OutputFile out(main_file);
    std::string error;
    if (out.good()) {
      // The pages that new_file starts are written on the run's threads; the link index only answers.
      links.freeze();
      PageJobs pages(run.jobs > 1 ? run.jobs - 1 : 0);
      ObjectStack stack{&document};
      StyleSheetEvalToFile writer(out.stream(), main_file, sheet, links, output_folder, filter);
      writer.evaluate(stack);
      pages.finish();
    }
    main_written = out.commit(error);
    if (!main_written && !set.failed()) {
      reportMessage("error: cannot open output file " + main_file + ": " + error);
      reportOutputFailed();
    }
  }
  if (main_written && format == kHtmlFormat)
    writeIndexFile(links, output_folder + stemOf(main_file) + ".idx");

  run.left.maxSteps = spent(run.left.maxSteps, budget.steps());
  run.left.maxOutputBytes = spent(run.left.maxOutputBytes, budget.outputBytes());
  if (set.failed()) {
    run.stopped = true;
    reportMessage(std::string("error: the ") + formatName(format) +
                  " output was not written; the files of the previous run are left as they were.");
    return;
  }
  if (!main_written) return;  // the files of the set are removed with it
  // A run stopped by the user leaves the previous output whole rather than half replaced.
  if (runCanceled()) return;
  if (!set.commit()) {
    run.stopped = true;
    return;
  }
  if (format == kWinHelpFormat) compileHelp(main_file, output_folder);
}

void reportUndocumentedFiles(const std::vector<std::string>& files,
                             const std::unordered_set<std::string>& skip,
                             const std::unordered_set<std::string>& declaring) {
  for (const std::string& file : files) {
    if (skip.count(file) || file.find(".c") != std::string::npos || file.find(".C") != std::string::npos)
      continue;
    if (declaring.count(file)) continue;
    reportMessage("The file " + file + " was not documented.");
  }
}

}  // namespace quillet
