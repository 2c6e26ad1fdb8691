// Reading and writing the ".qlc" configuration file: the settings in their fixed file order, followed by
// the source entries, the comment tags, the defines, the include path and the arrangement tree.

#include "common/file_contents.h"
#include "config/configuration.h"
#include "config/portable_stream.h"

namespace quillet {

namespace {

// The fewest bytes a stored source entry ("0", an empty string, a flag) or comment tag record can take;
// they bound the stored counts before anything is allocated for them.
constexpr size_t kMinSourceEntryBytes = 6;
constexpr size_t kMinCommentTagBytes = 8;

constexpr int kOldestReadableVersion = 2;

}  // namespace

std::string Configuration::saveToText() const {
  PortableWriter out;
  out.writeSigned(kCurrentVersion);
  out.writeString(htmlOutputFile_);
  out.writeString(rtfOutputFile_);
  out.writeString(reservedText_);
  out.writeString(backgroundImage_);
  out.writeBool(legacySingleFile_);
  out.writeBool(reservedFlag1_);
  out.writeBool(reservedFlag2_);
  out.writeBool(linkToHeaders_);
  out.writeBool(useIncludeEnvironment_);
  out.writeBool(reparseHeaders_);
  out.writeBool(documentProtected_);
  out.writeSigned(metricLevel_);
  out.writeString(htmlStyle_);
  out.writeString(rtfStyle_);
  out.writeString(winHelpStyle_);
  out.writeString(winHelpOutputFile_);
  // The last reserved slot carries the extension settings once any is set; until then it is written as read.
  for (size_t i = 0; i < reservedStrings_.size(); ++i) {
    const bool extension_slot = i + 1 == reservedStrings_.size() && !extensions_.empty();
    out.writeString(extension_slot ? extensions_.toText() : reservedStrings_[i]);
  }
  out.writeUnsigned(compilerProfile_);
  out.writeUnsigned(compilerVersion_);
  out.writeBool(functionsInToc_);
  out.writeBool(legacyFlag_);
  out.writeBool(metricsShowMemberFunctions_);
  out.writeUnsigned(classMinStatements_);
  out.writeUnsigned(classMinPublicFunctions_);
  out.writeUnsigned(classMinComplexity_);
  out.writeUnsigned(functionMinComplexity_);
  out.writeUnsigned(functionMinStatements_);
  out.writeUnsigned(backgroundColour_);
  out.writeBool(noAutoFormat_);
  out.writeSigned(legacyPaper_);
  out.writeBool(noCommentsBeforePrototypes_);
  out.writeBool(noSortMembers_);
  out.writeSigned(tabSize_);
  out.writeBool(commentsAfterPrototype_);
  out.writeBool(noParameterComments_);
  out.writeSigned(duplicateCommentChoice_);
  out.writeBool(documentPrivate_);
  out.writeBool(shortFileNames_);
  out.writeBool(macroComments_);
  out.writeBool(noAutoCapitalize_);
  for (const int32_t reserved : reservedNumbers_) out.writeSigned(reserved);
  for (const double reserved : reservedReals_) out.writeReal(reserved);
  out.writeUnsigned(static_cast<uint32_t>(sourceEntries_.size()));
  for (const SourceEntry& entry : sourceEntries_) {
    out.writeString(entry.path);
    out.writeBool(entry.includeSubfolders);
  }
  out.writeUnsigned(static_cast<uint32_t>(commentTags_.size()));
  for (const CommentTag& tag : commentTags_) {
    out.beginObjectGraph();
    tag.writeRecord(out);
  }
  out.writeString(defines_);
  out.writeString(includePath_);
  out.beginObjectGraph();
  arrangement_.writeRecord(out);
  return out.text();
}

bool Configuration::save(const std::string& file_name) {
  // A configuration that could not be written stays modified, so that its changes are not taken as saved.
  std::string error;
  if (!writeFileContents(file_name, saveToText(), error)) return false;
  modified_ = false;
  return true;
}

bool Configuration::load(const std::string& file_name) {
  std::string text;
  if (!readInputFile(file_name, InputKind::kConfiguration, text).ok()) return false;
  return loadFromText(text);
}

bool Configuration::loadFromText(std::string_view text) {
  if (!loadStoredText(text)) return false;
  convertOlderSettings();
  return true;
}

bool Configuration::loadStoredText(std::string_view text) {
  PortableReader in(text);
  int32_t version = 0;
  if (!in.readSigned(version)) return false;
  version_ = version;
  if (version != kCurrentVersion && version != kOldestReadableVersion) return false;
  if (!readSettings(in)) return false;
  modified_ = false;
  return true;
}

bool Configuration::readSettings(PortableReader& in) {
  if (!in.readString(htmlOutputFile_) || !in.readString(rtfOutputFile_) || !in.readString(reservedText_) ||
      !in.readString(backgroundImage_) || !in.readBool(legacySingleFile_) || !in.readBool(reservedFlag1_) ||
      !in.readBool(reservedFlag2_) || !in.readBool(linkToHeaders_) || !in.readBool(useIncludeEnvironment_) ||
      !in.readBool(reparseHeaders_) || !in.readBool(documentProtected_) || !in.readSigned(metricLevel_) ||
      !in.readString(htmlStyle_) || !in.readString(rtfStyle_) || !in.readString(winHelpStyle_) ||
      !in.readString(winHelpOutputFile_))
    return false;
  for (std::string& reserved : reservedStrings_)
    if (!in.readString(reserved)) return false;
  if (extensions_.fromText(reservedStrings_.back())) reservedStrings_.back().clear();
  if (!in.readUnsigned(compilerProfile_) || !in.readUnsigned(compilerVersion_) ||
      !in.readBool(functionsInToc_) || !in.readBool(legacyFlag_) ||
      !in.readBool(metricsShowMemberFunctions_) || !in.readUnsigned(classMinStatements_) ||
      !in.readUnsigned(classMinPublicFunctions_) || !in.readUnsigned(classMinComplexity_) ||
      !in.readUnsigned(functionMinComplexity_) || !in.readUnsigned(functionMinStatements_) ||
      !in.readUnsigned(backgroundColour_) || !in.readBool(noAutoFormat_) || !in.readSigned(legacyPaper_) ||
      !in.readBool(noCommentsBeforePrototypes_) || !in.readBool(noSortMembers_) || !in.readSigned(tabSize_) ||
      !in.readBool(commentsAfterPrototype_) || !in.readBool(noParameterComments_) ||
      !in.readSigned(duplicateCommentChoice_) || !in.readBool(documentPrivate_) ||
      !in.readBool(shortFileNames_) || !in.readBool(macroComments_) || !in.readBool(noAutoCapitalize_))
    return false;
  for (int32_t& reserved : reservedNumbers_)
    if (!in.readSigned(reserved)) return false;
  for (double& reserved : reservedReals_)
    if (!in.readReal(reserved)) return false;

  uint32_t count = 0;
  if (!in.readCount(count, kMinSourceEntryBytes)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    SourceEntry entry;
    if (!in.readString(entry.path) || !in.readBool(entry.includeSubfolders)) return false;
    sourceEntries_.push_back(std::move(entry));
  }
  if (!in.readCount(count, kMinCommentTagBytes)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    in.beginObjectGraph();
    CommentTag tag;
    if (!tag.readRecord(in)) return false;
    commentTags_.push_back(std::move(tag));
  }
  if (!in.readString(defines_) || !in.readString(includePath_)) return false;
  in.beginObjectGraph();
  return arrangement_.readRecord(in);
}

void Configuration::convertOlderSettings(bool name_standard_styles) {
  if (legacySingleFile_) legacyFlag_ = true;
  if (htmlStyle_.empty() && legacySingleFile_) htmlStyle_ = "Single File Style";
  if (htmlStyle_.empty() && name_standard_styles) htmlStyle_ = "Standard Style";
  if (rtfStyle_.empty() && legacyPaper_ != 0) rtfStyle_ = "Standard A4 Style";
  if (rtfStyle_.empty() && name_standard_styles) rtfStyle_ = "Standard Style";
}

}  // namespace quillet
