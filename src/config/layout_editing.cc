#include "config/layout_editing.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace quillet {

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) {
             return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
           };
           return lower(x) == lower(y);
         });
}

// How many chapter levels `item`'s subtree adds below the item's own place: 1 for a chapter without chapters
// inside, 0 for anything that is not a chapter.
int chapterLevels(const LayoutItem& item) {
  if (!item.isChapter()) return 0;
  int deepest = 0;
  for (size_t i = 0; i < item.childCount(); ++i) deepest = std::max(deepest, chapterLevels(*item.child(i)));
  return deepest + 1;
}

bool fitsBelow(const LayoutItem& chapter, const LayoutItem& item) {
  return chapter.depth() + chapterLevels(item) <= kMaxChapterLevels;
}

// The child of `chapter` whose name equals `name` case-blind, other than `except`; null when none.
LayoutItem* sameNamedChild(LayoutItem& chapter, std::string_view name, const LayoutItem* except) {
  for (size_t i = 0; i < chapter.childCount(); ++i) {
    LayoutItem* child = chapter.child(i);
    if (child != except && equalIgnoringCase(child->name(), name)) return child;
  }
  return nullptr;
}

}  // namespace

LayoutItem* childNamed(LayoutItem& chapter, std::string_view name) {
  return sameNamedChild(chapter, name, nullptr);
}

bool canInsertChapter(const LayoutItem& selected) {
  return selected.depth() < kMaxChapterLevels;
}

bool canSetNoCombineHeaders(const LayoutItem& chapter) {
  const int depth = chapter.depth();
  return depth == 1 || depth == 2;
}

InsertOutcome insertItem(LayoutItem& chapter, LayoutItem item) {
  if (!chapter.isChapter()) return {EditResult::kNotAChapter, nullptr};
  if (LayoutItem* existing = sameNamedChild(chapter, item.name(), nullptr)) {
    if (existing->isChapter() || item.isChapter()) return {EditResult::kNameClash, nullptr};
    existing->setKind(item.kind());
    return {EditResult::kKindChanged, existing};
  }
  if (!fitsBelow(chapter, item)) return {EditResult::kTooDeep, nullptr};
  return {EditResult::kDone, chapter.adoptChild(std::make_unique<LayoutItem>(std::move(item)))};
}

EditResult deleteItem(LayoutItem& item) {
  LayoutItem* parent = item.parent();
  if (parent == nullptr) return EditResult::kIsRoot;
  parent->removeChild(parent->indexOfChild(&item));
  return EditResult::kDone;
}

EditResult moveItem(LayoutItem& item, LayoutItem& chapter) {
  LayoutItem* parent = item.parent();
  if (parent == nullptr) return EditResult::kIsRoot;
  if (!chapter.isChapter()) return EditResult::kNotAChapter;
  for (const LayoutItem* up = &chapter; up != nullptr; up = up->parent())
    if (up == &item) return EditResult::kIntoItself;
  if (const LayoutItem* existing = sameNamedChild(chapter, item.name(), &item);
      existing != nullptr && (existing->isChapter() || item.isChapter()))
    return EditResult::kNameClash;
  if (!fitsBelow(chapter, item)) return EditResult::kTooDeep;
  chapter.adoptChild(parent->releaseChild(parent->indexOfChild(&item)));
  return EditResult::kDone;
}

}  // namespace quillet
