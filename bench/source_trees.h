// The real source trees the front-end benchmarks read in place, and what a build of them would use as
// include folders.
#pragma once

#include <string>
#include <vector>

namespace quillet::bench {

/// The googletest sources of the machine.
inline const std::string kGoogletest = "/usr/src/googletest";
/// The C++ standard library headers of the machine.
inline const std::string kLibstdcxx = "/usr/include/c++/12";
/// The fmt headers of the machine.
inline const std::string kFmt = "/usr/include/fmt";

/// The files below `root` (all of them, or only those ending in `extension`), sorted; empty when missing.
std::vector<std::string> filesBelow(const std::string& root, const std::string& extension = "");
/// The standard headers at the top of the C++ library folder (names without an extension).
std::vector<std::string> standardHeaders();
/// The include folders for googletest sources, the C++ library and the system headers.
std::vector<std::string> includeFolders();

}  // namespace quillet::bench
