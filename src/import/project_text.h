// The lines of a Developer Studio project or workspace file, read once into memory. Both CR LF and LF line
// ends are accepted, the file name is looked up case-blind as a Windows checkout expects, and a file too
// large to be a project is refused rather than read. The project and workspace imports walk these lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class ProjectText {
 public:
  ProjectText() = default;
  ProjectText(const ProjectText&) = delete;
  ProjectText& operator=(const ProjectText&) = delete;

  /// Reads `file_name`; false when it cannot be found or read, is not a regular file, is empty or is larger
  /// than project files may be.
  bool read(const std::string& file_name);
  /// Splits `contents` into lines as read does; false when it holds no line.
  bool assign(std::string contents);

  /// The lines in file order, without their line ends; valid while this object lives and is not reread.
  const std::vector<std::string_view>& lines() const { return lines_; }
  /// The path the file was read from: its stored spelling when the name was found case-blind.
  const std::string& path() const { return path_; }

 private:
  std::string contents_;
  std::vector<std::string_view> lines_;
  std::string path_;
};

}  // namespace quillet
