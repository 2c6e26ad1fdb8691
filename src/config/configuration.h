// The settings of one documentation project, as stored in a ".qlc" configuration file. The batch run and the
// editor each own one; during a generation run it is reachable process-wide through currentConfiguration(),
// and every stage reads its options from it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/comment_tag.h"
#include "config/extension_settings.h"
#include "config/layout_item.h"

namespace quillet {

class PortableReader;

/// One source entry: a file or wildcard pattern, optionally searched in sub folders too.
struct SourceEntry {
  std::string path;
  bool includeSubfolders = false;
  bool operator==(const SourceEntry&) const = default;
};

/// The three kinds of output, each with its own style sheet set.
enum class OutputKind { kHtml, kRtf, kWinHelp };

class Configuration {
 public:
  static constexpr int kCurrentVersion = 3;
  static constexpr int kReservedStringCount = 66;
  static constexpr int kReservedNumberCount = 38;
  static constexpr int kReservedRealCount = 15;

  /// A new configuration: every setting at its default, an empty arrangement named "untitled".
  Configuration();

  /// Restores every stored setting to its default, empties the source entries and comment tags, leaves an
  /// arrangement root named "untitled" with no children and clears the run switches; reserved slots are kept.
  void reset();
  /// Loads the settings from `file_name`; false when the file is missing, malformed or of another version.
  /// Source entries and comment tags are appended to those held, so reset first to reuse a configuration.
  bool load(const std::string& file_name);
  /// Loads the settings from the text of a configuration file, as load does.
  bool loadFromText(std::string_view text);
  /// Reads the settings exactly as the text stores them, without converting the settings of older files;
  /// converting a file to another form and back with it gives the same bytes.
  bool loadStoredText(std::string_view text);
  /// What loading does after reading: fills in the style names older files leave empty (and marks a file
  /// written for one single HTML file as such). Without `name_standard_styles` an empty name stays empty
  /// where it would become the standard style, which it reads as anyway.
  void convertOlderSettings(bool name_standard_styles = true);
  /// Writes the settings to `file_name`; clears `modified` when it was written (a failed save keeps the
  /// changes marked as unsaved).
  bool save(const std::string& file_name);
  /// The text of the configuration file for the settings held (always version 3).
  std::string saveToText() const;
  /// True when the last load met a version below 3.
  bool isOlderVersion() const { return version_ < kCurrentVersion; }
  /// True when the last load met a version above 3.
  bool isNewerVersion() const { return version_ > kCurrentVersion; }
  /// The version read by the last load (3 for a new configuration).
  int version() const { return version_; }

  /// True when a setter ran since the configuration was created, reset, loaded or saved.
  bool modified() const { return modified_; }
  void setModified(bool on) { modified_ = on; }

  // Run switches: never stored in the file, and setting them does not mark the configuration modified.
  bool verbose() const { return verbose_; }
  void setVerbose(bool on) { verbose_ = on; }
  bool reportUndocumented() const { return reportUndocumented_; }
  void setReportUndocumented(bool on) { reportUndocumented_ = on; }
  bool traceTokens() const { return traceTokens_; }
  void setTraceTokens(bool on) { traceTokens_ = on; }

  // Output.
  const std::string& htmlOutputFile() const { return htmlOutputFile_; }
  void setHtmlOutputFile(const std::string& v) { set(htmlOutputFile_, v); }
  const std::string& rtfOutputFile() const { return rtfOutputFile_; }
  void setRtfOutputFile(const std::string& v) { set(rtfOutputFile_, v); }
  const std::string& winHelpOutputFile() const { return winHelpOutputFile_; }
  void setWinHelpOutputFile(const std::string& v) { set(winHelpOutputFile_, v); }
  const std::string& backgroundImage() const { return backgroundImage_; }
  void setBackgroundImage(const std::string& v) { set(backgroundImage_, v); }
  /// 0 = none; otherwise bit 24 set, red in bits 0-7, green 8-15, blue 16-23.
  uint32_t backgroundColour() const { return backgroundColour_; }
  void setBackgroundColour(uint32_t v) { set(backgroundColour_, v); }
  /// Style sheet names; an empty name reads as "Standard Style".
  std::string htmlStyle() const { return styleOrStandard(htmlStyle_); }
  void setHtmlStyle(const std::string& v) { set(htmlStyle_, v); }
  std::string rtfStyle() const { return styleOrStandard(rtfStyle_); }
  void setRtfStyle(const std::string& v) { set(rtfStyle_, v); }
  std::string winHelpStyle() const { return styleOrStandard(winHelpStyle_); }
  void setWinHelpStyle(const std::string& v) { set(winHelpStyle_, v); }
  /// The file `file_name` of the selected style set of `kind`: the first style folder that has it, else the
  /// path in the last folder, else (no style folders at all) the bare file name.
  std::string styleFolderFile(OutputKind kind, const std::string& file_name) const;
  bool shortFileNames() const { return shortFileNames_; }
  void setShortFileNames(bool on) { set(shortFileNames_, on); }
  bool linkToHeaders() const { return linkToHeaders_; }
  void setLinkToHeaders(bool on) { set(linkToHeaders_, on); }
  bool functionsInToc() const { return functionsInToc_; }
  void setFunctionsInToc(bool on) { set(functionsInToc_, on); }

  // What is documented.
  bool documentProtected() const { return documentProtected_; }
  void setDocumentProtected(bool on) { set(documentProtected_, on); }
  bool documentPrivate() const { return documentPrivate_; }
  void setDocumentPrivate(bool on) { set(documentPrivate_, on); }
  /// True when members of access `protection` (1 public, 2 protected, 3 private) are documented.
  bool isDocumented(int protection) const;

  // Arrangement and comment tags.
  /// The root of the arrangement tree; its name is the document name.
  const LayoutItem& arrangement() const { return arrangement_; }
  /// The root of the arrangement tree for editing; marks the configuration modified.
  LayoutItem& mutableArrangement() { return modified_ = true, arrangement_; }
  /// The document name (the arrangement root's name).
  const std::string& documentName() const { return arrangement_.name(); }
  void setDocumentName(const std::string& name) { modified_ = true, arrangement_.setName(name); }
  /// The comment tags in matching order.
  const std::vector<CommentTag>& commentTags() const { return commentTags_; }
  size_t commentTagCount() const { return commentTags_.size(); }
  /// A copy of tag `index`.
  CommentTag commentTag(size_t index) const { return commentTags_[index]; }
  /// Appends `tag` at the end of the matching order.
  void appendCommentTag(const CommentTag& tag) { modified_ = true, commentTags_.push_back(tag); }
  /// Replaces tag `index` with `tag`.
  void replaceCommentTag(size_t index, const CommentTag& tag) { modified_ = true, commentTags_[index] = tag; }
  /// Removes tag `index`; the later tags move up.
  void removeCommentTag(size_t index);

  // Preprocessing.
  const std::vector<SourceEntry>& sourceEntries() const { return sourceEntries_; }
  std::vector<SourceEntry>& mutableSourceEntries() { return modified_ = true, sourceEntries_; }
  const std::string& includePath() const { return includePath_; }
  void setIncludePath(const std::string& v) { set(includePath_, v); }
  const std::string& defines() const { return defines_; }
  void setDefines(const std::string& v) { set(defines_, v); }
  bool useIncludeEnvironment() const { return useIncludeEnvironment_; }
  void setUseIncludeEnvironment(bool on) { set(useIncludeEnvironment_, on); }
  bool reparseHeaders() const { return reparseHeaders_; }
  void setReparseHeaders(bool on) { set(reparseHeaders_, on); }
  uint32_t compilerProfile() const { return compilerProfile_; }
  void setCompilerProfile(uint32_t v) { set(compilerProfile_, v); }
  uint32_t compilerVersion() const { return compilerVersion_; }
  void setCompilerVersion(uint32_t v) { set(compilerVersion_, v); }
  /// The compiler profile's base defines, then "," and the selected version's define when there is one.
  std::string profileDefines() const;
  /// The include directories for the preprocessor: the include path's pieces, then (when enabled) those of
  /// the INCLUDE environment variable; references expanded, blanks stripped, "\" turned into "/".
  std::vector<std::string> includeDirectories() const;
  /// The defines for the preprocessor, the user's first, then the profile's; each "NAME" or "NAME=value".
  std::vector<std::string> defineList() const;
  /// `path` with every "$(NAME)" and "%NAME%" replaced by the environment variable's value; a reference to
  /// an unset variable, or one without its closing character, is left as written.
  static std::string expandEnvironment(std::string_view path);

  // Comments. The user-visible sense of the settings stored inverted.
  bool commentsBeforePrototypes() const { return !noCommentsBeforePrototypes_; }
  void setCommentsBeforePrototypes(bool on) { set(noCommentsBeforePrototypes_, !on); }
  bool sortMembers() const { return !noSortMembers_; }
  void setSortMembers(bool on) { set(noSortMembers_, !on); }
  bool parameterComments() const { return !noParameterComments_; }
  void setParameterComments(bool on) { set(noParameterComments_, !on); }
  bool autoCapitalize() const { return !noAutoCapitalize_; }
  void setAutoCapitalize(bool on) { set(noAutoCapitalize_, !on); }
  bool autoFormat() const { return !noAutoFormat_; }
  void setAutoFormat(bool on) { set(noAutoFormat_, !on); }
  /// The tab size; a stored 0 reads as 8.
  int tabSize() const { return tabSize_ == 0 ? 8 : tabSize_; }
  void setTabSize(int v) { set(tabSize_, v); }
  bool commentsAfterPrototype() const { return commentsAfterPrototype_; }
  void setCommentsAfterPrototype(bool on) { set(commentsAfterPrototype_, on); }
  bool macroComments() const { return macroComments_; }
  void setMacroComments(bool on) { set(macroComments_, on); }
  int duplicateCommentChoice() const { return duplicateCommentChoice_; }
  void setDuplicateCommentChoice(int v) { set(duplicateCommentChoice_, v); }

  // Metrics.
  /// 0 summary and detailed metrics, 1 just summary metrics, 2 no metrics.
  int metricLevel() const { return metricLevel_; }
  void setMetricLevel(int v) { set(metricLevel_, v); }
  bool metricsShowMemberFunctions() const { return metricsShowMemberFunctions_; }
  void setMetricsShowMemberFunctions(bool on) { set(metricsShowMemberFunctions_, on); }
  uint32_t classMinStatements() const { return classMinStatements_; }
  void setClassMinStatements(uint32_t v) { set(classMinStatements_, v); }
  uint32_t classMinPublicFunctions() const { return classMinPublicFunctions_; }
  void setClassMinPublicFunctions(uint32_t v) { set(classMinPublicFunctions_, v); }
  uint32_t classMinComplexity() const { return classMinComplexity_; }
  void setClassMinComplexity(uint32_t v) { set(classMinComplexity_, v); }
  uint32_t functionMinComplexity() const { return functionMinComplexity_; }
  void setFunctionMinComplexity(uint32_t v) { set(functionMinComplexity_, v); }
  uint32_t functionMinStatements() const { return functionMinStatements_; }
  void setFunctionMinStatements(uint32_t v) { set(functionMinStatements_, v); }

  // The compiler's view of the code (extension settings; empty values are not stored).
  /// The compiler asked for its predefined macros and system include folders: empty for none (sources are
  /// read without them), "c++" or another name looked for along PATH, or a path.
  std::string compiler() const { return extensionSetting("compiler").value_or(""); }
  void setCompiler(const std::string& v) { setExtensionSetting("compiler", nonEmpty(v)); }
  /// The language standard handed to that compiler as "-std=" ("c++17", "gnu++20"); empty for its default.
  std::string languageStandard() const { return extensionSetting("language_standard").value_or(""); }
  void setLanguageStandard(const std::string& v) { setExtensionSetting("language_standard", nonEmpty(v)); }

  /// Settings added after the file layout was fixed, stored by name in the last reserved string slot.
  const ExtensionSettings& extensionSettings() const { return extensions_; }
  /// The extension setting `name`, or nullopt at its default.
  std::optional<std::string> extensionSetting(std::string_view name) const { return extensions_.get(name); }
  /// Sets the extension setting `name` (nullopt: back to its default); marks the configuration modified.
  void setExtensionSetting(std::string_view name, std::optional<std::string> value) {
    extensions_.set(name, std::move(value));
    modified_ = true;
  }

  // ---- Comment commands and Markdown ----
  /// True when comment paragraphs are read as Markdown. Off unless set, so that a file written before the
  /// setting existed gives the same pages; the set-up commands that make a configuration turn it on.
  bool commentMarkdown() const { return extensionSetting(kCommentMarkdownSetting) == "1"; }
  void setCommentMarkdown(bool on) {
    setExtensionSetting(kCommentMarkdownSetting, on ? std::optional<std::string>("1") : std::nullopt);
  }
  /// True when a comment without @brief takes its first sentence as its brief (the default); off, its
  /// first paragraph.
  bool commentAutoBrief() const { return extensionSetting(kCommentAutoBriefSetting) != "0"; }
  void setCommentAutoBrief(bool on) {
    setExtensionSetting(kCommentAutoBriefSetting, on ? std::nullopt : std::optional<std::string>("0"));
  }
  static constexpr std::string_view kCommentMarkdownSetting = "comment_markdown";
  static constexpr std::string_view kCommentAutoBriefSetting = "comment_auto_brief";

  // ---- Budgets of the style sheets (extension settings) ----
  /// Far past what real documentation needs (the bundled styles take about one step for two bytes
  /// written), low enough to stop a runaway style sheet within a minute or so.
  static constexpr uint64_t kDefaultMaxOutputBytes = uint64_t{4} << 30;
  static constexpr uint64_t kDefaultMaxEvaluationSteps = 2'000'000'000;
  /// The most bytes the style sheets of one run may write ("max_output_bytes"); the default when unset
  /// or not a positive number.
  uint64_t maxOutputBytes() const;
  /// Sets "max_output_bytes"; nullopt returns it to its default.
  void setMaxOutputBytes(std::optional<uint64_t> bytes);
  /// The most evaluation steps (sections run, list elements visited, condition tokens computed) the style
  /// sheets of one run may take ("max_evaluation_steps"); the default when unset or not a positive number.
  uint64_t maxEvaluationSteps() const;
  /// Sets "max_evaluation_steps"; nullopt returns it to its default.
  void setMaxEvaluationSteps(std::optional<uint64_t> steps);

  // ---- Source pages of the HTML site ----
  /// True when the HTML site has a page of source text for each documented file, and declarations link to
  /// their lines. Off unless set, so that a file written before the setting existed gives the same pages;
  /// the set-up commands that make a configuration turn it on.
  bool htmlSourcePages() const { return extensionSetting(kHtmlSourcePagesSetting) == "1"; }
  void setHtmlSourcePages(bool on) {
    setExtensionSetting(kHtmlSourcePagesSetting, on ? std::optional<std::string>("1") : std::nullopt);
  }
  static constexpr std::string_view kHtmlSourcePagesSetting = "html_source_pages";

  // Kept from older files and reserved slots: read and written, used by nothing else.
  bool legacySingleFile() const { return legacySingleFile_; }
  void setLegacySingleFile(bool on) { set(legacySingleFile_, on); }
  bool legacyFlag() const { return legacyFlag_; }
  int legacyPaper() const { return legacyPaper_; }
  /// A text stored in the file and used by nothing.
  const std::string& reservedText() const { return reservedText_; }
  void setLegacyPaper(int v) { set(legacyPaper_, v); }

 private:
  // The readable (TOML) form of the file reads and writes every stored field, reserved ones included.
  friend struct TomlFields;

  template <typename T>
  void set(T& field, const T& value) {
    field = value;
    modified_ = true;
  }
  static std::optional<std::string> nonEmpty(const std::string& value) {
    return value.empty() ? std::nullopt : std::optional<std::string>(value);
  }
  static std::string styleOrStandard(const std::string& name) {
    return name.empty() ? "Standard Style" : name;
  }
  bool readSettings(PortableReader& in);

  // Run switches and state.
  bool verbose_ = false;
  bool reportUndocumented_ = false;
  bool traceTokens_ = false;
  bool modified_ = false;
  int version_ = kCurrentVersion;

  // Stored settings.
  std::string htmlOutputFile_;
  std::string rtfOutputFile_;
  std::string winHelpOutputFile_;
  std::string backgroundImage_;
  bool legacySingleFile_ = false;
  bool reservedFlag1_ = true;
  bool reservedFlag2_ = true;
  bool linkToHeaders_ = true;
  bool documentProtected_ = false;
  bool documentPrivate_ = false;
  bool functionsInToc_ = false;
  bool legacyFlag_ = false;
  bool shortFileNames_ = false;
  uint32_t compilerProfile_ = 0;
  uint32_t compilerVersion_ = 0;
  uint32_t backgroundColour_ = 0;
  int legacyPaper_ = 0;
  bool noCommentsBeforePrototypes_ = false;
  bool noSortMembers_ = false;
  int tabSize_ = 8;
  bool commentsAfterPrototype_ = false;
  bool noParameterComments_ = false;
  bool macroComments_ = false;
  int duplicateCommentChoice_ = 0;
  bool noAutoCapitalize_ = false;
  std::string htmlStyle_;
  std::string rtfStyle_;
  std::string winHelpStyle_;
  int metricLevel_ = 0;
  bool metricsShowMemberFunctions_ = false;
  uint32_t classMinStatements_ = 0;
  uint32_t classMinPublicFunctions_ = 0;
  uint32_t classMinComplexity_ = 0;
  uint32_t functionMinComplexity_ = 0;
  uint32_t functionMinStatements_ = 0;
  std::vector<SourceEntry> sourceEntries_;
  std::vector<CommentTag> commentTags_;
  LayoutItem arrangement_;
  std::string reservedText_;
  std::string includePath_;
  std::string defines_;
  bool useIncludeEnvironment_ = true;
  bool reparseHeaders_ = false;
  bool noAutoFormat_ = false;
  std::vector<std::string> reservedStrings_ = std::vector<std::string>(kReservedStringCount);
  std::vector<int32_t> reservedNumbers_ = std::vector<int32_t>(kReservedNumberCount);
  std::vector<double> reservedReals_ = std::vector<double>(kReservedRealCount);
  ExtensionSettings extensions_;
};

/// The configuration of the run in progress, or null outside a run.
Configuration* currentConfiguration();
/// Publishes (or, with null, withdraws) the configuration of the run in progress.
void setCurrentConfiguration(Configuration* configuration);

}  // namespace quillet
