#include "import/compiler_options.h"

#include "import/project_paths.h"

namespace quillet {

namespace {

constexpr std::string_view kBaseOptionLine = "# ADD BASE CPP ";
constexpr std::string_view kOptionLine = "# ADD CPP ";

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// Splits an option line into words at blanks outside double quotes, so that a quoted value holding a blank
// or a "/" (such as /Fp"Debug/Dll.pch") stays one word and is never taken for an option of its own.
class OptionWords {
 public:
  explicit OptionWords(std::string_view text) : rest_(text) {}

  /// The next word, or an empty view when the line is used up.
  std::string_view next() {
    while (!rest_.empty() && isBlank(rest_.front())) rest_.remove_prefix(1);
    size_t end = 0;
    bool quoted = false;
    while (end < rest_.size() && (quoted || !isBlank(rest_[end]))) {
      if (rest_[end] == '"') quoted = !quoted;
      ++end;
    }
    const std::string_view word = rest_.substr(0, end);
    rest_.remove_prefix(end);
    return word;
  }

 private:
  std::string_view rest_;
};

}  // namespace

bool isCompilerOptionLine(std::string_view line) {
  return line.starts_with(kBaseOptionLine) || line.starts_with(kOptionLine);
}

void readCompilerOptions(std::string_view line, CompilerOptions& options) {
  if (line.starts_with(kBaseOptionLine)) {
    line.remove_prefix(kBaseOptionLine.size());
  } else if (line.starts_with(kOptionLine)) {
    line.remove_prefix(kOptionLine.size());
  } else {
    return;
  }
  OptionWords words(line);
  for (std::string_view word = words.next(); !word.empty(); word = words.next()) {
    if (word.size() < 2 || word[0] != '/' || (word[1] != 'D' && word[1] != 'I')) continue;
    // The value follows as the next word ("/D "WIN32"") or directly ("/DWIN32").
    const std::string_view value = unquoted(word.size() > 2 ? word.substr(2) : words.next());
    if (value.empty()) continue;
    (word[1] == 'D' ? options.defines : options.includeDirectories).emplace_back(value);
  }
}

}  // namespace quillet
