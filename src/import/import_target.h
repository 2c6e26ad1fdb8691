// The configuration an import fills, with the lookups that keep it free of duplicates: source entries,
// defines, include directories and arrangement items are each added only when the configuration does not
// hold them yet, so importing a project twice adds nothing the second time. One target serves all the
// projects of a workspace, so its lookups are built once rather than per project or per item.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace quillet {

class Configuration;
class LayoutItem;

class ImportTarget {
 public:
  /// Profile rows the import chooses between.
  static constexpr uint32_t kGenericProfile = 0;
  static constexpr uint32_t kApplicationProfile = 1;
  static constexpr uint32_t kMfcApplicationProfile = 3;
  /// The entry "6.0" of the Microsoft version list.
  static constexpr uint32_t kVersion60 = 6;

  /// A target that adds to `configuration`, which must outlive it and not be changed elsewhere meanwhile.
  explicit ImportTarget(Configuration& configuration);
  ImportTarget(const ImportTarget&) = delete;
  ImportTarget& operator=(const ImportTarget&) = delete;

  /// The configuration being filled.
  Configuration& configuration() { return configuration_; }

  /// Appends a source entry (without sub folders) for `path`; false when an entry names it already
  /// (compared as Windows compares paths: case and separator blind).
  bool addSourceFile(const std::string& path);
  /// The chapter directly below the arrangement root named `name` (case-blind), added when there is none;
  /// the root itself when an item of that name that is not a chapter is in the way.
  LayoutItem& projectChapter(const std::string& name);
  /// Adds a symbols-by-file item named `path` to `parent`; false when `parent` has a child of that name.
  bool addHeader(LayoutItem& parent, const std::string& path);
  /// Appends `define` to the defines; false when the define list (profile defines included) holds it. A
  /// define holding "," or ";" counts as the pieces the define list splits it into.
  bool addDefine(const std::string& define);
  /// Appends `folder` to the include path; false when one of its pieces is `folder` already.
  bool addIncludeDirectory(const std::string& folder);
  /// True while the configuration's compiler profile is still "generic".
  bool profileIsGeneric() const;
  /// Chooses the Visual C/C++ application profile, or the MFC application one when `mfc`, version 6.0.
  void chooseVisualCppProfile(bool mfc);
  /// Names the document after `file_name` (no folder or extension) while it is "untitled", and gives the
  /// configuration output file names under "doc/" when it has none at all.
  void nameDocument(const std::string& file_name);

 private:
  using ChildNames = std::unordered_map<std::string, LayoutItem*>;  // name key -> first child of that name
  ChildNames& childNamesOf(LayoutItem& parent);

  Configuration& configuration_;
  std::unordered_set<std::string> sources_;
  std::unordered_set<std::string> includes_;
  std::unordered_set<std::string> defines_;
  bool definesKnown_ = false;  // the define set follows the profile, so it is built when first needed
  std::unordered_map<const LayoutItem*, ChildNames> children_;
};

}  // namespace quillet
