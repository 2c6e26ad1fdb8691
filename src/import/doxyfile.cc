#include "import/doxyfile.h"

#include <algorithm>
#include <set>

#include "common/file_contents.h"
#include "common/file_services.h"
#include "common/file_system.h"
#include "import/source_survey.h"

namespace quillet {

namespace {

constexpr int kMaxIncludeDepth = 16;
constexpr int kMaxWalkDepth = 48;
constexpr size_t kMaxInputFiles = 200000;

// The keys this migration reads; every other key that is set is listed as not carried over.
const std::set<std::string, std::less<>> kCarried = {
    "PROJECT_NAME",     "PROJECT_BRIEF",    "INPUT",
    "FILE_PATTERNS",    "RECURSIVE",        "EXCLUDE",
    "EXCLUDE_PATTERNS", "PREDEFINED",       "INCLUDE_PATH",
    "OUTPUT_DIRECTORY", "HTML_OUTPUT",      "GENERATE_HTML",
    "GENERATE_RTF",     "RTF_OUTPUT",       "EXTRACT_PRIVATE",
    "MARKDOWN_SUPPORT", "EXTRACT_STATIC",   "ENABLE_PREPROCESSING",
    "MACRO_EXPANSION",  "JAVADOC_AUTOBRIEF"};

struct Failure {
  std::string message;
};

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : slash == 0 ? "/" : path.substr(0, slash);
}

std::string fromFolder(const std::string& folder, const std::string& path) {
  if (!path.empty() && path[0] == '/') return normalizedPath(path);
  return normalizedPath(folder + "/" + path);
}

// The words of a value: blanks separate them, double quotes group (with \" and \\ inside).
std::vector<std::string> splitWords(std::string_view text, const std::string& where) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    if (i >= text.size()) break;
    std::string word;
    if (text[i] == '"') {
      for (++i;; ++i) {
        if (i >= text.size()) throw Failure{where + "a quote is left open"};
        if (text[i] == '"') break;
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\')) ++i;
        word += text[i];
      }
      ++i;
    } else {
      while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r' && text[i] != '\n')
        word += text[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

bool isKeyChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

void readInto(const std::string& path, DoxyfileValues& values, std::vector<std::string>& include_path,
              int depth) {
  std::string text;
  const InputRead read = readInputFile(path, InputKind::kProject, text);
  if (!read.ok()) throw Failure{read.problem(path, InputKind::kProject)};
  size_t pos = 0;
  int line_number = 0;
  while (pos < text.size()) {
    // One logical line: physical lines ending in "\" continue on the next.
    const int first_line = line_number + 1;
    std::string line;
    for (;;) {
      size_t end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      std::string_view physical(text.data() + pos, end - pos);
      pos = end + 1;
      ++line_number;
      if (physical.ends_with('\r')) physical.remove_suffix(1);
      if (physical.ends_with('\\') && pos < text.size()) {
        line.append(physical.substr(0, physical.size() - 1)).append(" ");
        continue;
      }
      line.append(physical);
      break;
    }
    const std::string where = path + ":" + std::to_string(first_line) + ": ";
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    size_t key_end = start + (line[start] == '@' ? 1 : 0);
    while (key_end < line.size() && isKeyChar(line[key_end])) ++key_end;
    const std::string key = line.substr(start, key_end - start);
    size_t op = line.find_first_not_of(" \t", key_end);
    const bool append = op != std::string::npos && line.compare(op, 2, "+=") == 0;
    if (key.empty() || key == "@" || op == std::string::npos || (!append && line[op] != '='))
      throw Failure{where + "expected KEY = value"};
    const std::vector<std::string> words =
        splitWords(std::string_view(line).substr(op + (append ? 2 : 1)), where);
    if (key == "@INCLUDE_PATH") {
      for (const std::string& word : words) include_path.push_back(fromFolder(folderOf(path), word));
    } else if (key == "@INCLUDE") {
      if (depth >= kMaxIncludeDepth)
        throw Failure{where + "@INCLUDE nests too deeply (a file includes itself?)"};
      for (const std::string& word : words) {
        std::string file = fromFolder(folderOf(path), word);
        for (const std::string& folder : include_path)
          if (pathKind(file) != PathKind::kFile && pathKind(folder + "/" + word) == PathKind::kFile)
            file = folder + "/" + word;
        if (pathKind(file) != PathKind::kFile) throw Failure{where + "cannot find the included file " + word};
        readInto(file, values, include_path, depth + 1);
      }
    } else if (key[0] == '@') {
      throw Failure{where + "unknown command " + key};
    } else {
      DoxyfileValues::Value& value = values.keys[key];
      if (!append) value.words.clear();
      value.words.insert(value.words.end(), words.begin(), words.end());
      value.file = path;
      value.line = first_line;
    }
  }
}

bool isYes(const DoxyfileValues& values, const char* key, bool otherwise) {
  const auto found = values.keys.find(key);
  if (found == values.keys.end() || found->second.words.empty()) return otherwise;
  std::string word = found->second.words.front();
  for (char& c : word)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return word == "YES";
}

std::vector<std::string> wordsOf(const DoxyfileValues& values, const char* key) {
  const auto found = values.keys.find(key);
  return found == values.keys.end() ? std::vector<std::string>() : found->second.words;
}

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

// Collects the input files below `folder` that the patterns take and the exclusions leave.
struct InputWalk {
  std::vector<std::string> patterns;
  std::vector<std::string> excluded;  // absolute paths
  std::vector<std::string> excludePatterns;
  bool recursive = false;
  std::vector<std::string> files;
  size_t others = 0;  // files the patterns take that are not C or C++

  bool isExcluded(const std::string& path) const {
    for (const std::string& excluded_path : excluded)
      if (path == excluded_path || path.starts_with(excluded_path + "/")) return true;
    for (const std::string& pattern : excludePatterns)
      if (matchesWildcard(path, pattern)) return true;
    return false;
  }
  void add(const std::string& file) {
    if (isExcluded(file) || files.size() >= kMaxInputFiles) return;
    if (isSourceFileName(file) || isHeaderFileName(file)) {
      if (std::find(files.begin(), files.end(), file) == files.end()) files.push_back(file);
    } else {
      ++others;
    }
  }
  void walk(const std::string& folder, int depth) {
    if (depth > kMaxWalkDepth || isExcluded(folder)) return;
    std::vector<FolderEntry> entries;
    if (!listFolder(folder, entries)) return;
    for (const FolderEntry& entry : entries) {
      if (entry.name.empty() || entry.name[0] == '.') continue;
      const std::string path = folder + "/" + entry.name;
      if (entry.isFolder) {
        if (recursive) walk(path, depth + 1);
        continue;
      }
      for (const std::string& pattern : patterns)
        if (matchesWildcard(entry.name, pattern)) {
          add(path);
          break;
        }
    }
  }
};

}  // namespace

bool readDoxyfile(const std::string& path, DoxyfileValues& values, std::string& error) {
  std::vector<std::string> include_path;
  DoxyfileValues read;
  try {
    readInto(path, read, include_path, 0);
  } catch (const Failure& failure) {
    error = failure.message;
    return false;
  }
  values = std::move(read);
  return true;
}

bool migrateDoxyfile(const std::string& path, ProjectDescription& project, DoxyfileMigration& migration,
                     std::string& error) {
  DoxyfileValues values;
  if (!readDoxyfile(path, values, error)) return false;
  const std::string base = folderOf(normalizedPath(absolutePath(path)));
  ProjectDescription found = project;
  DoxyfileMigration result;
  found.root = base;
  found.name = joined(wordsOf(values, "PROJECT_NAME"));
  if (found.name.empty()) found.name = base.substr(base.rfind('/') + 1);
  result.brief = joined(wordsOf(values, "PROJECT_BRIEF"));

  InputWalk walk;
  walk.recursive = isYes(values, "RECURSIVE", false);
  walk.patterns = wordsOf(values, "FILE_PATTERNS");
  if (walk.patterns.empty())
    walk.patterns = {"*.c",  "*.cc",  "*.cxx", "*.cpp", "*.c++", "*.h",
                     "*.hh", "*.hxx", "*.hpp", "*.h++", "*.inl"};
  for (const std::string& excluded : wordsOf(values, "EXCLUDE"))
    walk.excluded.push_back(fromFolder(base, excluded));
  walk.excludePatterns = wordsOf(values, "EXCLUDE_PATTERNS");
  std::vector<std::string> inputs = wordsOf(values, "INPUT");
  if (inputs.empty()) inputs.push_back(".");
  for (const std::string& input : inputs) {
    const std::string full = fromFolder(base, input);
    const PathKind kind = pathKind(full);
    if (kind == PathKind::kFolder) {
      walk.walk(full, 0);
    } else if (kind == PathKind::kFile) {
      walk.add(full);
    } else {
      found.notes.push_back("the INPUT " + input + " does not exist");
    }
  }
  for (const std::string& file : walk.files)
    (isHeaderFileName(file) ? found.headers : found.sources).push_back(file);
  if (walk.others > 0)
    found.notes.push_back(std::to_string(walk.others) +
                          " input files that are not C or C++ sources or headers are left out");

  for (std::string define : wordsOf(values, "PREDEFINED")) {
    const size_t assign = define.find(":=");
    if (assign != std::string::npos) define.erase(assign, 1);
    if (std::find(found.defines.begin(), found.defines.end(), define) == found.defines.end())
      found.defines.push_back(define);
  }
  for (const std::string& folder : wordsOf(values, "INCLUDE_PATH")) {
    const std::string full = fromFolder(base, folder);
    if (std::find(found.includeFolders.begin(), found.includeFolders.end(), full) ==
        found.includeFolders.end())
      found.includeFolders.push_back(full);
  }

  const std::vector<std::string> output = wordsOf(values, "OUTPUT_DIRECTORY");
  const std::string out = output.empty() ? base : fromFolder(base, output.front());
  auto subFolder = [&](const char* key, const char* otherwise) {
    const std::vector<std::string> words = wordsOf(values, key);
    return fromFolder(out, words.empty() ? otherwise : words.front());
  };
  if (isYes(values, "GENERATE_HTML", true))
    result.htmlOutputFile = subFolder("HTML_OUTPUT", "html") + "/index.html";
  if (isYes(values, "GENERATE_RTF", false))
    result.rtfOutputFile = subFolder("RTF_OUTPUT", "rtf") + "/refman.rtf";
  result.documentPrivate = isYes(values, "EXTRACT_PRIVATE", false);
  result.markdown = isYes(values, "MARKDOWN_SUPPORT", true);

  // What has no setting of its own here is weighed against what this program always does.
  if (isYes(values, "EXTRACT_STATIC", false))
    found.notes.push_back("EXTRACT_STATIC = YES: file-static functions are never documented here");
  if (!isYes(values, "ENABLE_PREPROCESSING", true))
    found.notes.push_back("ENABLE_PREPROCESSING = NO: sources are always preprocessed here");
  if (isYes(values, "ENABLE_PREPROCESSING", true) && !isYes(values, "MACRO_EXPANSION", false))
    found.notes.push_back("MACRO_EXPANSION = NO: macros are always expanded here");
  if (isYes(values, "JAVADOC_AUTOBRIEF", false))
    found.notes.push_back(
        "JAVADOC_AUTOBRIEF = YES: the style sheets take a comment's summary from its first sentence");

  for (const auto& [key, value] : values.keys) {
    if (kCarried.count(key) || value.words.empty()) continue;
    result.notCarried.push_back(key + " (" + value.file + ":" + std::to_string(value.line) + ")");
  }
  project = std::move(found);
  migration = std::move(result);
  return true;
}

}  // namespace quillet
