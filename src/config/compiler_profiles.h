// The table of compiler profiles: each row names a compiler, the defines it always implies and the versions
// the user may choose, each adding one define of its own. The configuration derives its profile defines from
// it; the editor lists the rows and versions.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quillet {

struct CompilerProfile {
  const char* name;
  const char* baseDefines;  // comma-separated, may be empty
  const char* versions;     // comma-separated "version:define" entries, may be empty
};

/// The number of rows of the compiler-profile table.
size_t compilerProfileCount();
/// Row `row` of the table; null when there is no such row.
const CompilerProfile* compilerProfileRow(size_t row);

/// One entry of a row's version list.
struct CompilerVersion {
  std::string name;    // the text before the first ":"
  std::string define;  // the text after it, blanks kept
};
/// The version list of row `row`, in table order; empty for a row without versions or no such row.
std::vector<CompilerVersion> compilerVersions(size_t row);

}  // namespace quillet
