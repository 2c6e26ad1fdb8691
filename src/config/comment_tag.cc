#include "config/comment_tag.h"

#include "config/portable_stream.h"

namespace quillet {

namespace {

// The integer after the five leading ones that marks the current record layout; 0 marks the older one.
constexpr int32_t kCurrentLayoutMarker = 2;
constexpr int kLeadingIntegers = 5;

}  // namespace

void CommentTag::writeRecord(PortableWriter& out) const {
  out.beginRecord(this, kClassNumber);
  out.writeString(tagName_);
  for (int i = 0; i < kLeadingIntegers; ++i) out.writeSigned(0);
  out.writeSigned(kCurrentLayoutMarker);
  out.writeSigned(operation_);
  out.writeString(replacement_);
  out.writeBool(removeTextAfter_);
  out.writeBool(removeTextBefore_);
  out.writeBool(paragraphBreakBefore_);
  out.writeSigned(formatting_);
  for (const int32_t reserved : reservedNumbers_) out.writeSigned(reserved);
  for (const std::string& reserved : reservedTexts_) out.writeString(reserved);
  out.endRecord();
}

bool CommentTag::readRecord(PortableReader& in) {
  PortableReader::ObjectStart start;
  if (!in.readObjectStart(start) || start.kind != PortableReader::ObjectKind::kRecord ||
      start.classNumber != kClassNumber)
    return false;
  in.bindObject(start.slot, this);
  return readValues(in) && in.readRecordEnd();
}

bool CommentTag::readValues(PortableReader& in) {
  int32_t leading[kLeadingIntegers] = {};
  int32_t marker = 0;
  if (!in.readString(tagName_)) return false;
  for (int32_t& value : leading)
    if (!in.readSigned(value)) return false;
  if (!in.readSigned(marker)) return false;
  if (marker != 0) {
    if (!in.readSigned(operation_) || !in.readString(replacement_) || !in.readBool(removeTextAfter_) ||
        !in.readBool(removeTextBefore_) || !in.readBool(paragraphBreakBefore_) || !in.readSigned(formatting_))
      return false;
    for (int32_t& reserved : reservedNumbers_)
      if (!in.readSigned(reserved)) return false;
    for (std::string& reserved : reservedTexts_)
      if (!in.readString(reserved)) return false;
    return true;
  }
  // The older layout: always-remove, remove-text-after, remove-text-before, an unused value and
  // remove-only-when-empty, then five ignored integers.
  for (int i = 0; i < kLeadingIntegers; ++i) {
    int32_t ignored = 0;
    if (!in.readSigned(ignored)) return false;
  }
  operation_ = kKeepTag;
  if (leading[0] != 0) operation_ = kRemoveTag;
  if (leading[4] != 0) operation_ = kRemoveWhenEmpty;
  removeTextAfter_ = leading[1] != 0;
  removeTextBefore_ = leading[2] != 0;
  paragraphBreakBefore_ = false;
  formatting_ = kAutoFormat;
  replacement_.clear();
  return true;
}

}  // namespace quillet
