// Reading the compiler option lines of a Developer Studio project ("# ADD CPP ..." and "# ADD BASE CPP
// ...") for the two options the import takes over: preprocessor defines (/D) and include directories (/I).
// The project import hands what it finds to the configuration.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct CompilerOptions {
  std::vector<std::string> defines;             // "NAME" or "NAME=value", quotes removed
  std::vector<std::string> includeDirectories;  // as written in the project, quotes removed
};

/// True when `line` is a compiler option line of a project file.
bool isCompilerOptionLine(std::string_view line);
/// Appends the defines and include directories that the option line `line` names, in line order.
void readCompilerOptions(std::string_view line, CompilerOptions& options);

}  // namespace quillet
