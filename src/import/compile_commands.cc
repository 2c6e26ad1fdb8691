#include "import/compile_commands.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <utility>
#include <vector>

#include "common/file_contents.h"
#include "common/file_system.h"
#include "import/shell_words.h"
#include "import/source_survey.h"

namespace quillet {

namespace {

using json = nlohmann::json;

// The options of one entry that matter here.
struct EntryOptions {
  std::string file;
  std::string compiler;
  std::string standard;
  std::vector<std::string> includeFolders;
  std::vector<std::string> defines;  // in order, after -U took out what it names
  std::vector<std::string> forcedIncludes;
};

struct BadEntry {
  std::string reason;
};

template <typename T>
void addOnce(std::vector<T>& list, const T& value) {
  if (std::find(list.begin(), list.end(), value) == list.end()) list.push_back(value);
}

std::string defineName(const std::string& define) {
  return define.substr(0, define.find('='));
}

// `path` made absolute against the entry's folder, and normalized.
std::string fromFolder(const std::string& folder, const std::string& path) {
  if (!path.empty() && path[0] == '/') return normalizedPath(path);
  return normalizedPath(folder + "/" + path);
}

EntryOptions readOptions(const std::vector<std::string>& words, const std::string& folder) {
  EntryOptions options;
  if (!words.empty()) options.compiler = words.front();
  // Options whose value may be attached or be the next word.
  auto value = [&](size_t& i, std::string_view option) -> std::optional<std::string> {
    const std::string& word = words[i];
    if (!word.starts_with(option)) return std::nullopt;
    if (word.size() > option.size()) return word.substr(option.size());
    if (i + 1 >= words.size()) throw BadEntry{"option " + word + " without its value"};
    return words[++i];
  };
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "-o" || word == "-MF" || word == "-MT" || word == "-MQ" || word == "-x" || word == "-arch" ||
        word == "-target" || word == "-Xclang") {
      ++i;  // an option whose value is of no interest
    } else if (word.starts_with("-std=")) {
      options.standard = word.substr(5);
    } else if (auto include = word.starts_with("-include") && word != "-include-pch" ? value(i, "-include")
                                                                                     : std::nullopt) {
      options.forcedIncludes.push_back(fromFolder(folder, *include));
    } else if (auto quote = value(i, "-iquote")) {
      addOnce(options.includeFolders, fromFolder(folder, *quote));
    } else if (auto system = value(i, "-isystem")) {
      addOnce(options.includeFolders, fromFolder(folder, *system));
    } else if (auto dir = value(i, "-I")) {
      addOnce(options.includeFolders, fromFolder(folder, *dir));
    } else if (auto define = value(i, "-D")) {
      const std::string name = defineName(*define);
      std::erase_if(options.defines, [&name](const std::string& d) { return defineName(d) == name; });
      options.defines.push_back(*define);
    } else if (auto undefine = value(i, "-U")) {
      std::erase_if(options.defines,
                    [&undefine](const std::string& d) { return defineName(d) == *undefine; });
    }
  }
  return options;
}

// The line on which each top-level element of the JSON array in `text` starts.
std::vector<int> elementLines(std::string_view text) {
  std::vector<int> lines;
  int line = 1;
  int depth = 0;
  bool in_string = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') ++line;
    if (in_string) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        in_string = false;
      }
      continue;
    }
    if (c == '"') in_string = true;
    if (c == '{' || c == '[') {
      if (depth == 1) lines.push_back(line);
      ++depth;
    } else if (c == '}' || c == ']') {
      --depth;
    } else if (depth == 1 && c != ',' && c != ' ' && c != '\t' && c != '\r' && c != '\n') {
      lines.push_back(line);  // a scalar element
      while (i + 1 < text.size() && text[i + 1] != ',' && text[i + 1] != ']' && text[i + 1] != '\n') ++i;
    }
  }
  return lines;
}

std::string jsonErrorText(const json::parse_error& error, std::string_view text) {
  // "[json.exception.parse_error.101] parse error at line 3, column 5: syntax error ..." -> what follows.
  std::string what = error.what();
  const size_t column = what.find("column ");
  const size_t colon = column == std::string::npos ? std::string::npos : what.find(": ", column);
  if (colon != std::string::npos) what = what.substr(colon + 2);
  const size_t byte = std::min<size_t>(error.byte, text.size());
  const int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + byte - (byte > 0), '\n'));
  return std::to_string(line) + ": " + what;
}

std::string commonFolder(const std::vector<std::string>& files) {
  if (files.empty()) return {};
  std::string common = files.front().substr(0, files.front().rfind('/'));
  for (const std::string& file : files) {
    while (!common.empty() &&
           !(file.starts_with(common) && file.size() > common.size() && file[common.size()] == '/'))
      common = common.substr(0, common.rfind('/') == std::string::npos ? 0 : common.rfind('/'));
  }
  return common;
}

template <typename Key>
Key mostCommon(const std::map<Key, int>& counts) {
  Key best{};
  int most = 0;
  for (const auto& [key, count] : counts)
    if (count > most) best = key, most = count;
  return best;
}

}  // namespace

bool readCompileCommands(const std::string& path, const std::string& root, ProjectDescription& project,
                         std::string& error) {
  std::string text;
  const InputRead input = readInputFile(path, InputKind::kProject, text);
  if (!input.ok()) {
    error = input.problem(path, InputKind::kProject);
    return false;
  }
  json entries;
  try {
    entries = json::parse(text);
  } catch (const json::parse_error& failure) {
    error = path + ":" + jsonErrorText(failure, text);
    return false;
  } catch (const json::exception& failure) {
    // Not a syntax error but a value the reader cannot hold, such as a number too large for a double.
    const std::string what = failure.what();
    const size_t bracket = what.find("] ");
    error = path + ": " + (bracket == std::string::npos ? what : what.substr(bracket + 2));
    return false;
  }
  if (!entries.is_array()) {
    error = path + ":1: a compilation database is an array of entries";
    return false;
  }
  const std::vector<int> lines = elementLines(text);
  std::vector<EntryOptions> read;
  for (size_t i = 0; i < entries.size(); ++i) {
    const json& entry = entries[i];
    const std::string where = path + ":" + std::to_string(i < lines.size() ? lines[i] : 1) + ": entry " +
                              std::to_string(i + 1) + ": ";
    try {
      if (!entry.is_object()) throw BadEntry{"expected an object"};
      const auto directory = entry.find("directory");
      const auto file = entry.find("file");
      if (directory == entry.end() || !directory->is_string()) throw BadEntry{"no \"directory\" string"};
      if (file == entry.end() || !file->is_string()) throw BadEntry{"no \"file\" string"};
      std::vector<std::string> words;
      if (const auto arguments = entry.find("arguments"); arguments != entry.end()) {
        if (!arguments->is_array()) throw BadEntry{"\"arguments\" is not an array of strings"};
        for (const json& word : *arguments) {
          if (!word.is_string()) throw BadEntry{"\"arguments\" is not an array of strings"};
          words.push_back(word.get<std::string>());
        }
      } else if (const auto command = entry.find("command"); command != entry.end() && command->is_string()) {
        if (!splitShellWords(command->get<std::string>(), words))
          throw BadEntry{"a quote is left open in \"command\""};
      } else {
        throw BadEntry{"neither \"arguments\" nor a \"command\" string"};
      }
      const std::string folder = directory->get<std::string>();
      EntryOptions options = readOptions(words, folder);
      options.file = fromFolder(folder, file->get<std::string>());
      read.push_back(std::move(options));
    } catch (const BadEntry& bad) {
      error = where + bad.reason;
      return false;
    }
  }

  ProjectDescription found = project;
  std::vector<std::string> files;
  for (const EntryOptions& entry : read) files.push_back(entry.file);
  found.root = root.empty() ? commonFolder(files) : normalizedPath(root);
  if (found.name.empty()) found.name = found.root.substr(found.root.rfind('/') + 1);

  std::map<std::string, int> compilers;
  std::map<std::string, int> standards;
  std::map<std::string, std::vector<std::string>> define_values;  // name -> values seen, first first
  std::map<std::string, size_t> define_counts;
  std::vector<std::string> define_order;
  size_t used = 0;
  for (const EntryOptions& entry : read) {
    if (!isInsideProject(entry.file, found.root)) continue;
    ++used;
    if (isHeaderFileName(entry.file)) {
      addOnce(found.headers, entry.file);
    } else {
      addOnce(found.sources, entry.file);
    }
    ++compilers[entry.compiler];
    // A C file counts little against C++ ones; a file name may have no extension at all.
    if (!entry.standard.empty()) standards[entry.standard] += entry.file.ends_with(".c") ? 1 : 1000;
    for (const std::string& folder : entry.includeFolders) addOnce(found.includeFolders, folder);
    for (const std::string& include : entry.forcedIncludes) addOnce(found.forcedIncludes, include);
    for (const std::string& define : entry.defines) {
      const std::string name = defineName(define);
      if (define_values.find(name) == define_values.end()) define_order.push_back(name);
      addOnce(define_values[name], define);
      ++define_counts[define];
    }
  }
  if (used == 0) {
    error = path + ": none of its " + std::to_string(read.size()) + " entries compiles a file inside " +
            found.root;
    return false;
  }

  // Defines: every entry's, merged; where they disagree the first value wins and the user is told.
  std::string differing;
  for (const std::string& name : define_order) {
    const std::vector<std::string>& values = define_values[name];
    addOnce(found.defines, values.front());
    for (const std::string& value : values) {
      if (define_counts[value] == used && values.size() == 1) continue;
      if (!differing.empty()) differing += ", ";
      differing += value + " (" + std::to_string(define_counts[value]) + " of " + std::to_string(used) + ")";
    }
  }
  if (!differing.empty())
    found.notes.push_back("the entries disagree on defines; merged, the first value of each kept: " +
                          differing);

  found.compiler = mostCommon(compilers);
  found.languageStandard = mostCommon(standards);
  for (const std::string& header : includedProjectHeaders(found.sources, found.includeFolders, found.root))
    addOnce(found.headers, header);
  project = std::move(found);
  return true;
}

}  // namespace quillet
