#include "import/import_target.h"

#include "config/configuration.h"
#include "config/layout_item.h"
#include "import/project_paths.h"

namespace quillet {

namespace {

constexpr std::string_view kUntitled = "untitled";
constexpr std::string_view kOutputFolder = "doc/";

std::string trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return std::string(text);
}

}  // namespace

ImportTarget::ImportTarget(Configuration& configuration) : configuration_(configuration) {
  for (const SourceEntry& entry : configuration_.sourceEntries()) sources_.insert(pathKey(entry.path));
  std::string_view path = configuration_.includePath();
  for (;;) {
    const size_t cut = path.find(';');
    includes_.insert(trimmed(path.substr(0, cut)));
    if (cut == std::string_view::npos) break;
    path.remove_prefix(cut + 1);
  }
}

bool ImportTarget::addSourceFile(const std::string& path) {
  if (!sources_.insert(pathKey(path)).second) return false;
  configuration_.mutableSourceEntries().push_back(SourceEntry{path, false});
  return true;
}

ImportTarget::ChildNames& ImportTarget::childNamesOf(LayoutItem& parent) {
  auto [it, added] = children_.try_emplace(&parent);
  if (added) {
    for (size_t i = 0; i < parent.childCount(); ++i)
      it->second.try_emplace(pathKey(parent.child(i)->name()), parent.child(i));
  }
  return it->second;
}

LayoutItem& ImportTarget::projectChapter(const std::string& name) {
  LayoutItem& root = configuration_.mutableArrangement();
  auto [it, added] = childNamesOf(root).try_emplace(pathKey(name), nullptr);
  if (!added) return it->second->isChapter() ? *it->second : root;
  LayoutItem* chapter = root.addChild();
  chapter->setName(name);
  chapter->setKind(LayoutItem::kChapter);
  it->second = chapter;
  return *chapter;
}

bool ImportTarget::addHeader(LayoutItem& parent, const std::string& path) {
  auto [it, added] = childNamesOf(parent).try_emplace(pathKey(path), nullptr);
  if (!added) return false;
  LayoutItem* item = parent.addChild();
  item->setName(path);
  item->setKind(LayoutItem::kSymbolsByFile);
  it->second = item;
  configuration_.setModified(true);
  return true;
}

bool ImportTarget::addDefine(const std::string& define) {
  if (!definesKnown_) {
    defines_.clear();
    for (std::string& known : configuration_.defineList()) defines_.insert(std::move(known));
    definesKnown_ = true;
  }
  // The define list is split at "," and ";", so a define written with one of them is held as its pieces;
  // comparing piece by piece keeps a second import from appending it again.
  bool added = false;
  std::string_view rest = define;
  for (;;) {
    const size_t cut = rest.find_first_of(",;");
    std::string piece = trimmed(rest.substr(0, cut));
    if (!piece.empty() && defines_.insert(piece).second) {
      const std::string& defines = configuration_.defines();
      configuration_.setDefines(defines.empty() ? piece : defines + "," + piece);
      added = true;
    }
    if (cut == std::string_view::npos) return added;
    rest.remove_prefix(cut + 1);
  }
}

bool ImportTarget::addIncludeDirectory(const std::string& folder) {
  if (!includes_.insert(trimmed(folder)).second) return false;
  const std::string& path = configuration_.includePath();
  configuration_.setIncludePath(path.empty() ? folder : path + ";" + folder);
  return true;
}

bool ImportTarget::profileIsGeneric() const {
  return configuration_.compilerProfile() == kGenericProfile;
}

void ImportTarget::chooseVisualCppProfile(bool mfc) {
  configuration_.setCompilerProfile(mfc ? kMfcApplicationProfile : kApplicationProfile);
  configuration_.setCompilerVersion(kVersion60);
  definesKnown_ = false;  // the profile's own defines now count as held
}

void ImportTarget::nameDocument(const std::string& file_name) {
  const std::string name(pathStem(file_name));
  if (configuration_.documentName() == kUntitled) configuration_.setDocumentName(name);
  if (configuration_.htmlOutputFile().empty() && configuration_.rtfOutputFile().empty() &&
      configuration_.winHelpOutputFile().empty()) {
    const std::string output = std::string(kOutputFolder) + name;
    configuration_.setHtmlOutputFile(output);
    configuration_.setRtfOutputFile(output);
    configuration_.setWinHelpOutputFile(output + "hlp");
  }
}

}  // namespace quillet
