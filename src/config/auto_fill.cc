#include "config/auto_fill.h"

#include <vector>

#include "common/file_services.h"
#include "config/layout_editing.h"

namespace quillet {

namespace {

constexpr const char* kHeaderPatterns[] = {"*.h", "*.hh", "*.hpp", "*.hxx"};

bool isSeparator(char c) {
  return c == '/' || c == '\\';
}

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The folder names of `path` below `base` (compared case-blind, either separator), in order; empty when the
// file lies in `base` itself or outside it.
std::vector<std::string_view> foldersBelow(std::string_view path, std::string_view base) {
  std::vector<std::string_view> names;
  if (path.size() <= base.size() || !isSeparator(path[base.size()])) return names;
  for (size_t i = 0; i < base.size(); ++i) {
    const bool same =
        isSeparator(base[i]) ? isSeparator(path[i]) : lowerAscii(base[i]) == lowerAscii(path[i]);
    if (!same) return names;
  }
  std::string_view rest = path.substr(base.size() + 1);
  for (size_t cut = rest.find_first_of("/\\"); cut != std::string_view::npos;
       cut = rest.find_first_of("/\\")) {
    if (cut > 0) names.push_back(rest.substr(0, cut));
    rest = rest.substr(cut + 1);
  }
  return names;
}

// The chapter for a file in the folders `names` below `root`: existing chapters of the same name are reused,
// missing ones are added, and nesting stops at the deepest chapter level allowed (or at an item of the
// folder's name that is not a chapter).
LayoutItem& chapterFor(LayoutItem& root, const std::vector<std::string_view>& names) {
  LayoutItem* chapter = &root;
  for (const std::string_view name : names) {
    if (!canInsertChapter(*chapter)) break;
    if (LayoutItem* existing = childNamed(*chapter, name)) {
      if (!existing->isChapter()) break;
      chapter = existing;
      continue;
    }
    LayoutItem fresh;
    fresh.setName(std::string(name));
    const InsertOutcome added = insertItem(*chapter, std::move(fresh));
    if (added.item == nullptr) break;
    chapter = added.item;
  }
  return *chapter;
}

}  // namespace

size_t autoFill(LayoutItem& root, const std::string& folder) {
  std::string base = folder;
  while (base.size() > 1 && isSeparator(base.back())) base.pop_back();
  std::vector<std::string> headers;
  for (const char* pattern : kHeaderPatterns) expandPatternInSubfolders(base + "/" + pattern, headers);
  if (headers.empty()) return 0;
  for (const std::string& header : headers) {
    LayoutItem item;
    item.setName(header);
    item.setKind(LayoutItem::kSymbolsByFile);
    insertItem(chapterFor(root, foldersBelow(header, base)), std::move(item));
  }
  return headers.size();
}

}  // namespace quillet
