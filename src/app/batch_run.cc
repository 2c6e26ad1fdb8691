#include "app/batch_run.h"

#include <cctype>
#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "app/batch_options.h"
#include "app/generation_run.h"
#include "app/project_setup.h"
#include "app/run_summary.h"
#include "app/std_message_output.h"
#include "common/file_services.h"
#include "common/file_system.h"
#include "config/configuration.h"
#include "config/configuration_io.h"
#include "import/dev_studio_import.h"

namespace quillet {

namespace {

void writeLine(std::ostream& out, const std::string& text) {
  out << text << '\n';
  out.flush();
}

bool isSeparator(char c) {
  return c == '/' || c == '\\';
}

// The file-name part of a path written with either separator.
std::string fileNamePart(const std::string& path) {
  const size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string lowerExtension(const std::string& file) {
  const std::string name = fileNamePart(file);
  const size_t dot = name.rfind('.');
  std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

// False only for a compilation database that cannot be used; Developer Studio files that cannot be used
// are reported and the run goes on with the configuration as it stands.
bool importProjectFile(const std::string& file, Configuration& configuration, std::ostream& out) {
  {
    // Project files written on Windows are named case-blind; look the name up as such a file system would.
    std::string spelled;
    if (!findOnDisk(file, spelled) || pathKind(spelled) != PathKind::kFile) {
      writeLine(out, "error: cannot open project " + file);
      return lowerExtension(file) != ".json";
    }
  }
  const std::string ext = lowerExtension(file);
  if (ext == ".dsp") {
    if (importProject(configuration, file) <= 0)
      writeLine(out, "error: " + file + " is not a valid Microsoft Developer Studio Project (DSP) File");
  } else if (ext == ".dsw") {
    if (importWorkspace(configuration, file) <= 0)
      writeLine(out, "error: " + file + " is not a valid Microsoft Developer Studio Workspace (DSW) File");
  } else if (ext == ".json") {
    std::vector<std::string> notes;
    std::string error;
    if (!mergeCompileCommands(configuration, file, notes, error)) {
      writeLine(out, "error: " + error);
      return false;
    }
    for (const std::string& note : notes) writeLine(out, "note: " + note);
  } else {
    writeLine(out, "error: " + file + " is not a valid Microsoft Developer Studio file extension");
  }
  return true;
}

}  // namespace

const char* bannerText() {
  return "Quillet 2.1h - documentation generator for C and C++";
}

std::string defaultConfigurationFile(std::string& why) {
  if (pathKind("quillet.toml") == PathKind::kFile) return "quillet.toml";
  std::vector<FolderEntry> entries;
  listFolder("", entries);
  std::vector<std::string> found;
  for (const FolderEntry& entry : entries)
    if (!entry.isFolder && lowerExtension(entry.name) == ".qlc") found.push_back(entry.name);
  if (found.size() == 1) return found.front();
  why = found.empty()
            ? "error: no configuration given, and the current folder has no quillet.toml or .qlc file"
            : "error: no configuration given, and the current folder has several .qlc files; "
              "name one";
  return {};
}

bool applyOverrides(const BatchOptions& options, Configuration& configuration, std::ostream& out) {
  configuration.setTraceTokens(options.debug);
  const bool verbose = options.verbose || options.debug;
  if (verbose) {
    configuration.setVerbose(true);
    configuration.setReportUndocumented(true);
  }
  if (options.ignoreIncludeEnv) configuration.setUseIncludeEnvironment(false);
  if (!options.includes.empty())
    configuration.setIncludePath(options.includes + ";" + configuration.includePath());
  if (!options.defines.empty()) configuration.setDefines(options.defines + ", " + configuration.defines());
  if (!options.projectFile.empty() && !importProjectFile(options.projectFile, configuration, out))
    return false;
  if (!options.outputDir.empty()) {
    std::string dir = options.outputDir;
    if (!isSeparator(dir.back())) dir += '/';
    auto relocate = [&dir](const std::string& name) {
      return name.empty() ? name : dir + fileNamePart(name);
    };
    configuration.setHtmlOutputFile(relocate(configuration.htmlOutputFile()));
    configuration.setRtfOutputFile(relocate(configuration.rtfOutputFile()));
    configuration.setWinHelpOutputFile(relocate(configuration.winHelpOutputFile()));
  }
  if (options.noHtml) configuration.setHtmlOutputFile("");
  if (options.noRtf) configuration.setRtfOutputFile("");
  return true;
}

int runBatch(const BatchOptions& options, bool parsed, std::ostream& out, bool live_progress) {
  if (!options.noCopyright) writeLine(out, bannerText());
  if (options.usageError) {
    options.printUsage(out);
    return kBatchUsageShown;
  }
  std::string config_file = options.configFile;
  if (!parsed && config_file.empty() && options.projectFile.empty()) {
    BatchOptions shown = options;
    config_file = defaultConfigurationFile(shown.errorMessage);
    if (config_file.empty()) {
      shown.errorMessage += "; `quillet init` writes one.";
      shown.printUsage(out);
      return kBatchUsageShown;
    }
  }

  const auto start = std::chrono::steady_clock::now();
  Configuration configuration;
  size_t load_warnings = 0;
  if (!config_file.empty()) {
    const ConfigurationLoad load = loadConfigurationFile(config_file, configuration);
    if (!load.ok) {
      writeLine(out, load.message);
      if (load.cannotOpen)
        writeLine(out, "(`quillet init` writes a configuration, quillet.toml, for the sources in a folder.)");
      return kBatchConfigurationFailed;
    }
    for (const std::string& warning : load.warnings) writeLine(out, "warning: " + warning);
    load_warnings = load.warnings.size();
  }
  if (!applyOverrides(options, configuration, out)) return kBatchConfigurationFailed;

  StdMessageOutput messages(out, live_progress);
  runGeneration(configuration, messages, options.jobs);
  messages.finishProgress();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  RunTally tally = messages.tally();
  tally.warnings += load_warnings;
  writeLine(out, runSummary(tally, configuration, seconds));
  if (tally.outputFailures > 0) return kBatchOutputFailed;
  return options.failOnWarning && tally.warnings + tally.errors > 0 ? kBatchWarnings : kBatchRanGeneration;
}

}  // namespace quillet
