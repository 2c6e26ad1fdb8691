#include "config/layout_item.h"

#include <utility>

#include "config/portable_stream.h"

namespace quillet {

namespace {

// The fewest bytes one child record can take in a file; bounds a stored child count.
constexpr size_t kMinRecordBytes = 8;

}  // namespace

LayoutItem::LayoutItem(const LayoutItem& other) {
  copyFrom(other);
}

LayoutItem::LayoutItem(LayoutItem&& other) noexcept {
  takeFrom(other);
}

LayoutItem& LayoutItem::operator=(const LayoutItem& other) {
  if (this == &other) return *this;
  // Copy first: `other` may live inside this item's own subtree, which the assignment replaces.
  LayoutItem copy(other);
  takeFrom(copy);
  return *this;
}

LayoutItem& LayoutItem::operator=(LayoutItem&& other) noexcept {
  if (this != &other) takeFrom(other);
  return *this;
}

void LayoutItem::copyFrom(const LayoutItem& other) {
  name_ = other.name_;
  kind_ = other.kind_;
  noCombineHeaders_ = other.noCombineHeaders_;
  text_ = other.text_;
  preserveFormatting_ = other.preserveFormatting_;
  noHeaderComments_ = other.noHeaderComments_;
  copyToOutput_ = other.copyToOutput_;
  reservedStrings_ = other.reservedStrings_;
  reservedNumbers_ = other.reservedNumbers_;
  reservedReals_ = other.reservedReals_;
  children_.clear();
  children_.reserve(other.children_.size());
  for (const auto& child : other.children_) {
    auto copy = std::make_unique<LayoutItem>(*child);
    copy->parent_ = this;
    children_.push_back(std::move(copy));
  }
}

void LayoutItem::takeFrom(LayoutItem& other) {
  name_ = std::move(other.name_);
  kind_ = other.kind_;
  noCombineHeaders_ = other.noCombineHeaders_;
  text_ = std::move(other.text_);
  preserveFormatting_ = other.preserveFormatting_;
  noHeaderComments_ = other.noHeaderComments_;
  copyToOutput_ = other.copyToOutput_;
  reservedStrings_ = std::move(other.reservedStrings_);
  reservedNumbers_ = other.reservedNumbers_;
  reservedReals_ = other.reservedReals_;
  // Keep the old subtree alive until the new one is in place: `other` may be a part of it.
  auto old_children = std::move(children_);
  children_ = std::move(other.children_);
  other.children_.clear();
  for (auto& child : children_) child->parent_ = this;
}

bool LayoutItem::operator==(const LayoutItem& other) const {
  if (name_ != other.name_ || kind_ != other.kind_ || noCombineHeaders_ != other.noCombineHeaders_ ||
      text_ != other.text_ || preserveFormatting_ != other.preserveFormatting_ ||
      noHeaderComments_ != other.noHeaderComments_ || copyToOutput_ != other.copyToOutput_ ||
      reservedStrings_ != other.reservedStrings_ || reservedNumbers_ != other.reservedNumbers_ ||
      reservedReals_ != other.reservedReals_ || children_.size() != other.children_.size())
    return false;
  for (size_t i = 0; i < children_.size(); ++i)
    if (!(*children_[i] == *other.children_[i])) return false;
  return true;
}

LayoutItem* LayoutItem::addChild() {
  return adoptChild(std::make_unique<LayoutItem>());
}

LayoutItem* LayoutItem::adoptChild(std::unique_ptr<LayoutItem> item) {
  item->parent_ = this;
  children_.push_back(std::move(item));
  return children_.back().get();
}

std::unique_ptr<LayoutItem> LayoutItem::releaseChild(size_t index) {
  std::unique_ptr<LayoutItem> item = std::move(children_[index]);
  children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(index));
  item->parent_ = nullptr;
  return item;
}

void LayoutItem::removeChild(size_t index) {
  releaseChild(index);
}

size_t LayoutItem::indexOfChild(const LayoutItem* item) const {
  for (size_t i = 0; i < children_.size(); ++i)
    if (children_[i].get() == item) return i;
  return children_.size();
}

int LayoutItem::depth() const {
  int count = 0;
  for (const LayoutItem* up = parent_; up != nullptr; up = up->parent_) ++count;
  return count;
}

void LayoutItem::writeRecord(PortableWriter& out) const {
  out.beginRecord(this, kClassNumber);
  out.writeString(name_);
  out.writeSigned(kind_);
  if (parent_ == nullptr || !out.writeReference(parent_)) out.writeNullObject();
  out.writeString(text_);
  for (const std::string& reserved : reservedStrings_) out.writeString(reserved);
  out.writeBool(noCombineHeaders_);
  out.writeBool(preserveFormatting_);
  out.writeBool(noHeaderComments_);
  out.writeBool(copyToOutput_);
  for (const int32_t reserved : reservedNumbers_) out.writeSigned(reserved);
  for (const double reserved : reservedReals_) out.writeReal(reserved);
  out.writeUnsigned(static_cast<uint32_t>(children_.size()));
  for (const auto& child : children_) child->writeRecord(out);
  out.endRecord();
}

bool LayoutItem::readRecord(PortableReader& in) {
  PortableReader::ObjectStart start;
  if (!in.readObjectStart(start) || start.kind != PortableReader::ObjectKind::kRecord ||
      start.classNumber != kClassNumber)
    return false;
  *this = LayoutItem();  // assignment keeps this item's parent
  in.bindObject(start.slot, this);
  return readRecordBody(in, 0);
}

bool LayoutItem::readRecordBody(PortableReader& in, int depth) {
  if (depth > kMaxStoredDepth) return false;
  if (!in.readString(name_) || !in.readSigned(kind_)) return false;
  // The stored parent link must be the null object or a reference to an item already read; the tree's
  // shape comes from the nesting of the records, so its value is not used.
  PortableReader::ObjectStart parent;
  if (!in.readObjectStart(parent)) return false;
  if (parent.kind == PortableReader::ObjectKind::kRecord ||
      (parent.kind == PortableReader::ObjectKind::kReference && parent.classNumber != kClassNumber))
    return false;
  if (!in.readString(text_)) return false;
  for (std::string& reserved : reservedStrings_)
    if (!in.readString(reserved)) return false;
  if (!in.readBool(noCombineHeaders_) || !in.readBool(preserveFormatting_) ||
      !in.readBool(noHeaderComments_) || !in.readBool(copyToOutput_))
    return false;
  for (int32_t& reserved : reservedNumbers_)
    if (!in.readSigned(reserved)) return false;
  for (double& reserved : reservedReals_)
    if (!in.readReal(reserved)) return false;
  uint32_t count = 0;
  if (!in.readCount(count, kMinRecordBytes)) return false;
  for (uint32_t i = 0; i < count; ++i)
    if (!readChild(in, depth + 1)) return false;
  return in.readRecordEnd();
}

bool LayoutItem::readChild(PortableReader& in, int depth) {
  PortableReader::ObjectStart start;
  if (!in.readObjectStart(start) || start.kind != PortableReader::ObjectKind::kRecord ||
      start.classNumber != kClassNumber)
    return false;
  LayoutItem* child = addChild();
  in.bindObject(start.slot, child);
  return child->readRecordBody(in, depth);
}

}  // namespace quillet
