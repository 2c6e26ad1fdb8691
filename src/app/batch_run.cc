#include "app/batch_run.h"

#include <cctype>
#include <ostream>
#include <string>

#include "app/batch_options.h"
#include "app/generation_run.h"
#include "app/std_message_output.h"
#include "common/file_services.h"
#include "common/file_system.h"
#include "config/configuration.h"
#include "import/dev_studio_import.h"

namespace quillet {

namespace {

void writeLine(std::ostream& out, const std::string& text) {
  out << text << '\n';
  out.flush();
}

std::string loadFailureLine(const Configuration& configuration, const std::string& file) {
  if (configuration.isOlderVersion())
    return "Cannot read file " + file + ".  The file is not a valid Quillet configuration file.";
  if (configuration.isNewerVersion())
    return "Error reading file " + file + ", file is for a newer version of Quillet.";
  return "Error reading file " + file + ".";
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

void importProjectFile(const std::string& file, Configuration& configuration, std::ostream& out) {
  {
    // Project files written on Windows are named case-blind; look the name up as such a file system would.
    std::string spelled;
    if (!findOnDisk(file, spelled) || pathKind(spelled) != PathKind::kFile) {
      writeLine(out, "error: cannot open project " + file);
      return;
    }
  }
  const std::string ext = lowerExtension(file);
  if (ext == ".dsp") {
    if (importProject(configuration, file) <= 0)
      writeLine(out, "error: " + file + " is not a valid Microsoft Developer Studio Project (DSP) File");
  } else if (ext == ".dsw") {
    if (importWorkspace(configuration, file) <= 0)
      writeLine(out, "error: " + file + " is not a valid Microsoft Developer Studio Workspace (DSW) File");
  } else {
    writeLine(out, "error: " + file + " is not a valid Microsoft Developer Studio file extension");
  }
}

}  // namespace

const char* bannerText() {
  return "Quillet 2.1h - documentation generator for C and C++";
}

void applyOverrides(const BatchOptions& options, Configuration& configuration, std::ostream& out) {
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
  if (!options.projectFile.empty()) importProjectFile(options.projectFile, configuration, out);
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
}

int runBatch(const BatchOptions& options, bool parsed, std::ostream& out) {
  if (!options.noCopyright) writeLine(out, bannerText());
  if (options.usageError || !parsed) {
    options.printUsage(out);
    return kBatchUsageShown;
  }

  Configuration configuration;
  if (!options.configFile.empty() && !configuration.load(options.configFile)) {
    writeLine(out, loadFailureLine(configuration, options.configFile));
    return kBatchConfigurationFailed;
  }
  applyOverrides(options, configuration, out);

  StdMessageOutput messages(out);
  runGeneration(configuration, messages);
  return kBatchRanGeneration;
}

}  // namespace quillet
