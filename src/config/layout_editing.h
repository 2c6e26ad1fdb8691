// The editing rules of the arrangement tree as plain operations: where chapters may go, inserting with the
// same-name rules, deleting and moving items with their subtrees. The editor's Arrange page calls them for
// its commands and drag and drop; Auto Fill and the project import insert through them too. They change the
// tree only; marking the configuration modified is the caller's part.
#pragma once

#include <string_view>

#include "config/layout_item.h"

namespace quillet {

/// Chapters nest at most this many levels below the root.
inline constexpr int kMaxChapterLevels = 3;

inline constexpr std::string_view kChapterNameClashMessage =
    "Chapter names at the same level must be different, please rename the chapter so that is it unique.";

/// The child of `chapter` whose name equals `name` ignoring case, or null.
LayoutItem* childNamed(LayoutItem& chapter, std::string_view name);
/// True when "Insert Chapter" is offered for the selected item: it has fewer than three ancestors.
bool canInsertChapter(const LayoutItem& selected);
/// True when a chapter's "do not combine child header files" choice is available: the chapter lies directly
/// below the root or one level deeper.
bool canSetNoCombineHeaders(const LayoutItem& chapter);

enum class EditResult {
  kDone,         // the item was added or moved
  kKindChanged,  // an item of the same name was there: it took the new item's kind, nothing was added
  kNameClash,    // a chapter of the same name (or a same-named item beside a new chapter) is there
  kNotAChapter,  // the target holds no children
  kTooDeep,      // chapters would nest more than three levels below the root
  kIntoItself,   // an item cannot move into itself or its own subtree
  kIsRoot,       // the root cannot be deleted or moved
};

struct InsertOutcome {
  EditResult result;
  LayoutItem* item;  // the item added, or the existing item that took the kind; null when refused
};

/// Inserts `item` (with any subtree) at the end of `chapter`, comparing its name case-blind with the
/// chapter's children: beside an equal name a chapter on either side is refused, otherwise the existing item
/// takes the new kind.
InsertOutcome insertItem(LayoutItem& chapter, LayoutItem item);
/// Deletes `item` and its subtree from its chapter; kIsRoot (nothing deleted) for an item without parent.
EditResult deleteItem(LayoutItem& item);
/// Moves `item` with its subtree to the end of `chapter`; refused into its own subtree, where an equal name
/// with a chapter on either side is there, or when chapters would nest too deep.
EditResult moveItem(LayoutItem& item, LayoutItem& chapter);

}  // namespace quillet
