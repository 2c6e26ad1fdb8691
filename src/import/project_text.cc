#include "import/project_text.h"

#include "common/file_contents.h"
#include "common/file_services.h"
#include "common/file_system.h"

namespace quillet {

bool ProjectText::read(const std::string& file_name) {
  path_.clear();
  if (!findOnDisk(file_name, path_)) path_ = file_name;
  std::string contents;
  if (!readInputFile(path_, InputKind::kProject, contents).ok()) {
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
