#include "common/file_contents.h"

#include <cstdio>

namespace quillet {

bool readFileContents(const std::string& path, std::string& contents) {
  contents.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    const size_t n = std::fread(buffer, 1, sizeof buffer, file);
    contents.append(buffer, n);
    if (n < sizeof buffer) {
      ok = !std::ferror(file);
      break;
    }
  }
  std::fclose(file);
  return ok;
}

}  // namespace quillet
