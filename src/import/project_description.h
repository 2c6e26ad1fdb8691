// What the set-up commands learn about a project before a configuration is made of it: its folder, its
// sources and headers, the include folders and defines the compiler is given, the compiler and language
// standard, and notes for the user. Filled by the folder survey, the compilation database reader and the
// Doxyfile migration; turned into a configuration by the application's project set-up.
#pragma once

#include <string>
#include <vector>

namespace quillet {

struct ProjectDescription {
  std::string root;                         // the project's folder, absolute, without a trailing "/"
  std::string name;                         // the document name
  std::vector<std::string> sources;         // absolute paths, in order
  std::vector<std::string> headers;         // the project's own headers, absolute paths, in order
  std::vector<std::string> includeFolders;  // absolute (or as given when relative), each once, in order
  std::vector<std::string> defines;         // "NAME" or "NAME=value", each once, in order
  std::vector<std::string> forcedIncludes;  // files included before each source (-include)
  std::string compiler;                     // the compiler the entries name, or empty
  std::string languageStandard;             // the value of -std=, or empty
  std::vector<std::string> notes;           // things the user should be told
};

}  // namespace quillet
