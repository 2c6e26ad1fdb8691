#include "stylesheet/style_sheet_cache.h"

#include <mutex>
#include <unordered_map>

#include "common/file_services.h"
#include "common/ordered_effects.h"

namespace quillet {

namespace {

// Nodes of an unordered_map never move, so references into it survive later insertions. Threads that
// write pages read style sheets too; one lock covers finding and reading a sheet.
std::unordered_map<std::string, StyleSheet>& cache() {
  static std::unordered_map<std::string, StyleSheet> sheets;
  return sheets;
}

std::mutex& cacheLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

const StyleSheet& cachedStyleSheet(const std::string& fileName) {
  std::string key = onDiskSpelling(fileName);
  // A sheet is read under the lock with its messages held back; they are reported once the lock is free,
  // because reporting may wait for the threads writing pages, which may be waiting for this lock.
  EffectCapture reading;
  const StyleSheet* sheet = nullptr;
  {
    const std::lock_guard lock(cacheLock());
    auto& sheets = cache();
    if (auto found = sheets.find(key); found != sheets.end()) return found->second;
    const CaptureScope scope(&reading);
    sheet = &sheets.try_emplace(key, key).first->second;
  }
  runEffectBarrier();
  reading.replay();
  return *sheet;
}

void clearStyleSheetCache() {
  const std::lock_guard lock(cacheLock());
  cache().clear();
}

size_t cachedStyleSheetCount() {
  const std::lock_guard lock(cacheLock());
  return cache().size();
}

}  // namespace quillet
