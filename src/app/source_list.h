// The first stage of a generation run: turns the configuration's source entries into the list of modules
// to parse and the list of source folders (which extend the include search).
#pragma once

#include <string>
#include <vector>

namespace quillet {

class Configuration;

struct SourceList {
  std::vector<std::string> modules;  // files to parse, in entry order
  std::vector<std::string> folders;  // folders of the entries' files, each once, in order of first appearance
};

/// Expands every source entry; an entry that matches nothing is reported as "error: cannot find file ".
SourceList buildSourceList(const Configuration& configuration);

/// The folder part of a path, up to and including its last separator ("/" or "\"); empty when there is none.
std::string folderPart(const std::string& path);

}  // namespace quillet
