#include "config/configuration.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "common/file_system.h"
#include "config/compiler_profiles.h"

namespace quillet {

namespace {

Configuration* g_current_configuration = nullptr;

constexpr std::string_view kUntitled = "untitled";

// Splits `text` at any of `separators`, strips blanks from both ends of each piece and drops empty pieces;
// with `to_slashes`, every backslash of a piece becomes "/".
void appendPieces(std::string_view text, std::string_view separators, bool to_slashes,
                  std::vector<std::string>& pieces) {
  while (!text.empty()) {
    const size_t cut = text.find_first_of(separators);
    std::string_view piece = text.substr(0, cut);
    text = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
    const size_t first = piece.find_first_not_of(" \t");
    if (first == std::string_view::npos) continue;
    piece = piece.substr(first, piece.find_last_not_of(" \t") - first + 1);
    std::string& added = pieces.emplace_back(piece);
    if (to_slashes)
      for (char& c : added)
        if (c == '\\') c = '/';
  }
}

}  // namespace

Configuration::Configuration() {
  arrangement_.setName(std::string(kUntitled));
}

void Configuration::reset() {
  auto strings = std::move(reservedStrings_);
  auto numbers = std::move(reservedNumbers_);
  auto reals = std::move(reservedReals_);
  *this = Configuration();
  reservedStrings_ = std::move(strings);
  reservedNumbers_ = std::move(numbers);
  reservedReals_ = std::move(reals);
}

bool Configuration::isDocumented(int protection) const {
  switch (protection) {
    case 1:
      return true;
    case 2:
      return documentProtected_;
    case 3:
      return documentPrivate_;
    default:
      return false;
  }
}

void Configuration::removeCommentTag(size_t index) {
  modified_ = true;
  commentTags_.erase(commentTags_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string Configuration::profileDefines() const {
  const CompilerProfile* profile = compilerProfileRow(compilerProfile_);
  if (profile == nullptr) return {};
  std::string defines = profile->baseDefines;
  const std::vector<CompilerVersion> versions = compilerVersions(compilerProfile_);
  if (compilerVersion_ < versions.size()) defines += "," + versions[compilerVersion_].define;
  return defines;
}

std::vector<std::string> Configuration::includeDirectories() const {
  std::vector<std::string> directories;
  appendPieces(expandEnvironment(includePath_), ";,", true, directories);
  if (useIncludeEnvironment_) {
    if (const std::optional<std::string> include = fileSystem().environment("INCLUDE"))
      appendPieces(expandEnvironment(*include), ";", true, directories);
  }
  return directories;
}

std::vector<std::string> Configuration::defineList() const {
  std::vector<std::string> defines;
  appendPieces(defines_ + "," + profileDefines(), ";,", false, defines);
  return defines;
}

std::string Configuration::expandEnvironment(std::string_view path) {
  std::string expanded;
  size_t pos = 0;
  while (pos < path.size()) {
    // Whichever form of reference comes first is expanded first.
    const size_t marker = std::min(path.find("$(", pos), path.find('%', pos));
    if (marker == std::string_view::npos) break;
    expanded.append(path.substr(pos, marker - pos));
    const bool parenthesized = path[marker] == '$';
    const size_t name_start = marker + (parenthesized ? 2 : 1);
    const size_t close = path.find(parenthesized ? ')' : '%', name_start);
    if (close == std::string_view::npos) {
      // No closing character: the marker stays as written and scanning goes on after it.
      expanded.append(path.substr(marker, name_start - marker));
      pos = name_start;
      continue;
    }
    const std::string name(path.substr(name_start, close - name_start));
    if (const std::optional<std::string> value = fileSystem().environment(name)) {
      expanded += *value;
    } else {
      expanded.append(path.substr(marker, close + 1 - marker));
    }
    pos = close + 1;
  }
  expanded.append(path.substr(std::min(pos, path.size())));
  return expanded;
}

Configuration* currentConfiguration() {
  return g_current_configuration;
}

void setCurrentConfiguration(Configuration* configuration) {
  g_current_configuration = configuration;
}

namespace {

// A positive decimal number stored as an extension setting, or `fallback`.
uint64_t positiveSetting(const std::optional<std::string>& text, uint64_t fallback) {
  if (!text) return fallback;
  uint64_t value = 0;
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, value);
  return error == std::errc() && stop == end && value > 0 ? value : fallback;
}

std::optional<std::string> numberText(std::optional<uint64_t> value) {
  if (!value) return std::nullopt;
  return std::to_string(*value);
}

}  // namespace

uint64_t Configuration::maxOutputBytes() const {
  return positiveSetting(extensionSetting("max_output_bytes"), kDefaultMaxOutputBytes);
}

void Configuration::setMaxOutputBytes(std::optional<uint64_t> bytes) {
  setExtensionSetting("max_output_bytes", numberText(bytes));
}

uint64_t Configuration::maxEvaluationSteps() const {
  return positiveSetting(extensionSetting("max_evaluation_steps"), kDefaultMaxEvaluationSteps);
}

void Configuration::setMaxEvaluationSteps(std::optional<uint64_t> steps) {
  setExtensionSetting("max_evaluation_steps", numberText(steps));
}

}  // namespace quillet
