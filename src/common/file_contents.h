// Reading a whole file into memory: the scanner, the style sheet reader and the document inserter all work
// on one in-memory buffer rather than on a stream.
#pragma once

#include <string>

namespace quillet {

/// Reads the whole file `path` (binary) into `contents`; false when it cannot be opened or read.
bool readFileContents(const std::string& path, std::string& contents);

}  // namespace quillet
