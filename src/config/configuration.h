// The settings of one documentation project, as stored in a ".qlc" configuration file. The batch run and the
// editor each own one; during a generation run it is reachable process-wide through currentConfiguration().
#pragma once

#include <string>

namespace quillet {

class Configuration {
 public:
  Configuration() = default;

  /// Loads the settings from `file_name`; false when the file is missing, unreadable or of another version.
  bool load(const std::string& file_name);
  /// True when the last load met a version below 3.
  bool isOlderVersion() const { return version_ < 3; }
  /// True when the last load met a version above 3.
  bool isNewerVersion() const { return version_ > 3; }
  int version() const { return version_; }

  bool modified() const { return modified_; }

  // Run switches: never stored in the file.
  bool verbose() const { return verbose_; }
  void setVerbose(bool on) { verbose_ = on; }
  bool reportUndocumented() const { return reportUndocumented_; }
  void setReportUndocumented(bool on) { reportUndocumented_ = on; }
  bool traceTokens() const { return traceTokens_; }
  void setTraceTokens(bool on) { traceTokens_ = on; }

  const std::string& htmlOutputFile() const { return htmlOutputFile_; }
  void setHtmlOutputFile(const std::string& v) { htmlOutputFile_ = v, modified_ = true; }
  const std::string& rtfOutputFile() const { return rtfOutputFile_; }
  void setRtfOutputFile(const std::string& v) { rtfOutputFile_ = v, modified_ = true; }
  const std::string& winHelpOutputFile() const { return winHelpOutputFile_; }
  void setWinHelpOutputFile(const std::string& v) { winHelpOutputFile_ = v, modified_ = true; }

  const std::string& includePath() const { return includePath_; }
  void setIncludePath(const std::string& v) { includePath_ = v, modified_ = true; }
  const std::string& defines() const { return defines_; }
  void setDefines(const std::string& v) { defines_ = v, modified_ = true; }
  bool useIncludeEnvironment() const { return useIncludeEnvironment_; }
  void setUseIncludeEnvironment(bool on) { useIncludeEnvironment_ = on, modified_ = true; }

 private:
  bool verbose_ = false;
  bool reportUndocumented_ = false;
  bool traceTokens_ = false;
  bool modified_ = false;
  int version_ = 3;

  std::string htmlOutputFile_;
  std::string rtfOutputFile_;
  std::string winHelpOutputFile_;
  std::string includePath_;
  std::string defines_;
  bool useIncludeEnvironment_ = true;
};

/// The configuration of the run in progress, or null outside a run.
Configuration* currentConfiguration();
/// Publishes (or, with null, withdraws) the configuration of the run in progress.
void setCurrentConfiguration(Configuration* configuration);

}  // namespace quillet
