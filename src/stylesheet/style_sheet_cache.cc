#include "stylesheet/style_sheet_cache.h"

#include <unordered_map>

#include "common/file_services.h"

namespace quillet {

namespace {

// Nodes of an unordered_map never move, so references into it survive later insertions.
std::unordered_map<std::string, StyleSheet>& cache() {
  static std::unordered_map<std::string, StyleSheet> sheets;
  return sheets;
}

}  // namespace

const StyleSheet& cachedStyleSheet(const std::string& fileName) {
  std::string key = onDiskSpelling(fileName);
  auto& sheets = cache();
  auto found = sheets.find(key);
  if (found != sheets.end()) return found->second;
  return sheets.try_emplace(key, key).first->second;
}

void clearStyleSheetCache() {
  cache().clear();
}

size_t cachedStyleSheetCount() {
  return cache().size();
}

}  // namespace quillet
