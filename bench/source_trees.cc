#include "source_trees.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quillet::bench {

std::vector<std::string> filesBelow(const std::string& root, const std::string& extension) {
  std::vector<std::string> files;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(root, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (!it->is_regular_file()) continue;
    if (!extension.empty() && it->path().extension() != extension) continue;
    files.push_back(it->path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> standardHeaders() {
  std::vector<std::string> headers;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(kLibstdcxx, error))
    if (entry.is_regular_file() && !entry.path().has_extension()) headers.push_back(entry.path().string());
  std::sort(headers.begin(), headers.end());
  return headers;
}

std::vector<std::string> includeFolders() {
  return {kGoogletest + "/googletest/include",
          kGoogletest + "/googletest",
          kGoogletest + "/googlemock/include",
          kGoogletest + "/googlemock",
          kLibstdcxx,
          "/usr/include/x86_64-linux-gnu/c++/12",
          "/usr/lib/gcc/x86_64-linux-gnu/12/include",
          "/usr/include/x86_64-linux-gnu",
          "/usr/include"};
}

}  // namespace quillet::bench
