#include "import/project_text.h"

#include <cstdio>
#include <memory>

#include "common/file_services.h"

namespace quillet {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads at most `limit` bytes of `path` into `contents`; false when the file cannot be read or is longer.
bool readBounded(const std::string& path, size_t limit, std::string& contents) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  char buffer[65536];
  for (;;) {
    const size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
    if (contents.size() + n > limit) return false;
    contents.append(buffer, n);
    if (n < sizeof buffer) return !std::ferror(file.get());
  }
}

}  // namespace

bool ProjectText::read(const std::string& file_name) {
  path_.clear();
  if (!findOnDisk(file_name, path_)) path_ = file_name;
  std::string contents;
  if (!readBounded(path_, kMaxFileSize, contents)) {
    lines_.clear();
    return false;
  }
  return assign(std::move(contents));
}

bool ProjectText::assign(std::string contents) {
  contents_ = std::move(contents);
  lines_.clear();
  std::string_view rest = contents_;
  // A byte-order mark left by a later editor is not part of the first line.
  if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines_.push_back(line);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return !lines_.empty();
}

}  // namespace quillet
