#include "common/output_set.h"

#include <algorithm>

#include "common/file_system.h"
#include "common/message_output.h"
#include "common/ordered_effects.h"

namespace quillet {

namespace {

OutputSet* g_open_set = nullptr;

// `path` made absolute, "\" read as "/", with its "." and ".." steps taken and no trailing separator.
std::string resolved(std::string_view path) {
  std::string slashed(path);
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  return normalPath(absolutePath(slashed));
}

}  // namespace

bool isInsideFolder(std::string_view folder, std::string_view path) {
  if (path.empty()) return false;
  std::string root = resolved(folder.empty() ? std::string_view(".") : folder);
  if (root.back() != '/') root += '/';
  const std::string target = resolved(path);
  return target.size() > root.size() && target.starts_with(root);
}

OutputSet::OutputSet(std::string folder) : folder_(std::move(folder)) {
  g_open_set = this;
}

OutputSet::~OutputSet() {
  abandon();
  if (g_open_set == this) g_open_set = nullptr;
}

bool OutputSet::contains(std::string_view path) const {
  return isInsideFolder(folder_, path);
}

void OutputSet::add(std::string temporary, std::string path) {
  if (EffectCapture* capture = threadEffectCapture()) {
    capture->outputFile(std::move(temporary), std::move(path));
    return;
  }
  runEffectBarrier();
  const auto [known, added] = byPath_.try_emplace(path, files_.size());
  if (!added) {
    std::string& earlier = files_[known->second].first;
    removeFile(earlier);
    earlier = std::move(temporary);
    return;
  }
  files_.emplace_back(std::move(temporary), std::move(path));
}

void OutputSet::fail(std::string_view message) {
  if (EffectCapture* capture = threadEffectCapture()) {
    capture->outputFailure(message);
    return;
  }
  runEffectBarrier();
  if (failed_) return;
  failed_ = true;
  reportMessage(message);
  reportOutputFailed();
}

bool OutputSet::commit() {
  if (failed_) return false;
  FileSystem& files = fileSystem();
  bool ok = true;
  for (const auto& [temporary, path] : files_) {
    if (files.rename(temporary, path)) {
      reportFileWritten(path);
      continue;
    }
    files.remove(temporary);
    if (ok) reportMessage("error: cannot put the output file " + path + " in place");
    ok = false;
  }
  files_.clear();
  byPath_.clear();
  if (!ok) reportOutputFailed();
  return ok;
}

void OutputSet::abandon() {
  for (const auto& [temporary, path] : files_) removeFile(temporary);
  files_.clear();
  byPath_.clear();
}

OutputSet* openOutputSet() {
  return g_open_set;
}

bool outputStopped() {
  return g_open_set && g_open_set->failed();
}

void stopOutput(std::string_view message) {
  if (g_open_set) {
    g_open_set->fail(message);
  } else {
    reportMessage(message);
  }
}

}  // namespace quillet
