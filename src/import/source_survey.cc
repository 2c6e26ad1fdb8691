#include "import/source_survey.h"

#include <algorithm>
#include <deque>
#include <unordered_map>
#include <unordered_set>

#include "common/file_contents.h"
#include "common/file_system.h"

namespace quillet {

namespace {

// Bounds that keep a survey of a huge or looping tree finite.
constexpr int kMaxDepth = 48;
constexpr size_t kMaxFiles = 200000;

std::string lowerExtensionOf(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  std::string extension(path.substr(dot));
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return extension;
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

void walk(const std::string& folder, int depth, std::unordered_set<std::string>& seen,
          std::vector<std::string>& sources, std::vector<std::string>& headers) {
  if (depth > kMaxDepth || sources.size() + headers.size() >= kMaxFiles) return;
  // A folder reached twice (through a symbolic link) is read once.
  if (const std::optional<FileIdentity> identity = fileIdentity(folder)) {
    const std::string key = std::to_string(identity->device) + ":" + std::to_string(identity->node);
    if (!seen.insert(key).second) return;
  }
  std::vector<FolderEntry> entries;
  if (!listFolder(folder, entries)) return;
  for (const FolderEntry& entry : entries)
    if (!entry.isFolder && entry.name == "CMakeCache.txt") return;  // a build folder
  for (const FolderEntry& entry : entries) {
    const std::string path = folder + "/" + entry.name;
    if (entry.isFolder) {
      if (!isSkippedFolderName(entry.name)) walk(path, depth + 1, seen, sources, headers);
    } else if (isSourceFileName(entry.name)) {
      sources.push_back(path);
    } else if (isHeaderFileName(entry.name)) {
      headers.push_back(path);
    }
  }
}

// The text with comments, string and character literals blanked out, line breaks kept.
std::string codeOnly(std::string_view text) {
  std::string code(text);
  size_t i = 0;
  while (i < code.size()) {
    if (code.compare(i, 2, "//") == 0) {
      while (i < code.size() && code[i] != '\n') code[i++] = ' ';
    } else if (code.compare(i, 2, "/*") == 0) {
      const size_t end = code.find("*/", i + 2);
      const size_t stop = end == std::string::npos ? code.size() : end + 2;
      for (; i < stop; ++i)
        if (code[i] != '\n') code[i] = ' ';
    } else if (code[i] == '"' || code[i] == '\'') {
      const char quote = code[i];
      code[i++] = ' ';
      while (i < code.size() && code[i] != quote && code[i] != '\n') {
        if (code[i] == '\\' && i + 1 < code.size()) code[i++] = ' ';
        code[i++] = ' ';
      }
      if (i < code.size() && code[i] == quote) code[i++] = ' ';
    } else {
      ++i;
    }
  }
  return code;
}

bool isIdentifierChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

bool isSourceFileName(std::string_view path) {
  const std::string extension = lowerExtensionOf(path);
  return extension == ".c" || extension == ".cc" || extension == ".cpp" || extension == ".cxx" ||
         extension == ".c++";
}

bool isHeaderFileName(std::string_view path) {
  const std::string extension = lowerExtensionOf(path);
  return extension == ".h" || extension == ".hh" || extension == ".hpp" || extension == ".hxx" ||
         extension == ".h++" || extension == ".inl";
}

bool isSkippedFolderName(std::string_view name) {
  if (name.empty() || name[0] == '.') return true;
  const std::string lower = lowerCase(name);
  for (const std::string_view skipped :
       {"build", "builddir", "_build", "out", "third_party", "thirdparty", "3rdparty", "third-party",
        "external", "extern", "vendor", "_deps", "node_modules", "cmakefiles"})
    if (lower == skipped) return true;
  return lower.starts_with("build-") || lower.starts_with("build_") || lower.starts_with("cmake-build");
}

void findProjectFiles(const std::string& root, std::vector<std::string>& sources,
                      std::vector<std::string>& headers) {
  std::unordered_set<std::string> seen;
  const size_t first_source = sources.size();
  const size_t first_header = headers.size();
  walk(root, 0, seen, sources, headers);
  std::sort(sources.begin() + static_cast<std::ptrdiff_t>(first_source), sources.end());
  std::sort(headers.begin() + static_cast<std::ptrdiff_t>(first_header), headers.end());
}

std::vector<IncludeLine> includeLines(std::string_view text) {
  std::vector<IncludeLine> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string_view::npos || line[i] != '#') continue;
    i = line.find_first_not_of(" \t", i + 1);
    if (i == std::string_view::npos || line.compare(i, 7, "include") != 0) continue;
    i += 7;
    if (i < line.size() && isIdentifierChar(line[i])) continue;  // #include_next and the like
    i = line.find_first_not_of(" \t", i);
    if (i == std::string_view::npos || (line[i] != '"' && line[i] != '<')) continue;
    const char close = line[i] == '"' ? '"' : '>';
    const size_t stop = line.find(close, i + 1);
    if (stop == std::string_view::npos || stop == i + 1) continue;
    lines.push_back({std::string(line.substr(i + 1, stop - i - 1)), close == '"'});
  }
  return lines;
}

std::vector<std::string> topLevelNamespaces(std::string_view text) {
  const std::string code = codeOnly(text);
  std::vector<std::string> names;
  int depth = 0;
  size_t i = 0;
  bool line_start = true;
  while (i < code.size()) {
    const char c = code[i];
    if (c == '\n') {
      line_start = true;
      ++i;
      continue;
    }
    if (line_start && c == '#') {  // a directive: skipped to its end, continued lines included
      while (i < code.size() && !(code[i] == '\n' && code[i - 1] != '\\')) ++i;
      continue;
    }
    if (c != ' ' && c != '\t') line_start = false;
    if (c == '{') ++depth;
    if (c == '}' && depth > 0) --depth;
    if (depth == 0 && code.compare(i, 9, "namespace") == 0 && (i == 0 || !isIdentifierChar(code[i - 1])) &&
        i + 9 < code.size() && !isIdentifierChar(code[i + 9])) {
      size_t k = code.find_first_not_of(" \t\r\n", i + 9);
      size_t name_end = k;
      while (name_end < code.size() && isIdentifierChar(code[name_end])) ++name_end;
      const std::string name = k == std::string::npos ? std::string() : code.substr(k, name_end - k);
      // A nested name (a::b), attributes or a brace may follow; an alias (a = b;) is no namespace.
      const size_t after = code.find_first_of("{;=", name_end);
      if (!name.empty() && after != std::string::npos && code[after] == '{' &&
          std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
      i += 9;
      continue;
    }
    ++i;
  }
  return names;
}

std::string resolveInclude(const IncludeLine& include, const std::string& including,
                           const std::vector<std::string>& folders) {
  if (!include.name.empty() && include.name[0] == '/')
    return pathKind(include.name) == PathKind::kFile ? normalizedPath(include.name) : std::string();
  if (include.quoted) {
    const std::string beside = folderOf(including) + "/" + include.name;
    if (pathKind(beside) == PathKind::kFile) return normalizedPath(beside);
  }
  for (const std::string& folder : folders) {
    const std::string candidate = folder + "/" + include.name;
    if (pathKind(candidate) == PathKind::kFile) return normalizedPath(candidate);
  }
  return {};
}

std::vector<std::string> neededIncludeFolders(const std::vector<std::string>& files) {
  // Every file under each name it may be included by: its file name.
  std::unordered_map<std::string, std::vector<const std::string*>> by_name;
  for (const std::string& file : files) by_name[file.substr(file.rfind('/') + 1)].push_back(&file);
  std::vector<std::string> folders;
  for (const std::string& file : files) {
    std::string text;
    if (!readInputFile(file, InputKind::kSource, text).ok()) continue;
    for (const IncludeLine& include : includeLines(text)) {
      const std::string& name = include.name;
      if (name.empty() || name[0] == '/' || name.find("..") != std::string::npos) continue;
      const std::string folder = folderOf(file);
      if (include.quoted && pathKind(folder + "/" + name) == PathKind::kFile) continue;
      const auto candidates = by_name.find(name.substr(name.rfind('/') + 1));
      if (candidates == by_name.end()) continue;
      // The folder under which the name is found; the one sharing most of the including file's path wins.
      std::string best;
      size_t best_shared = 0;
      for (const std::string* candidate : candidates->second) {
        if (candidate->size() <= name.size() + 1 || !candidate->ends_with("/" + name)) continue;
        const std::string holder = candidate->substr(0, candidate->size() - name.size() - 1);
        size_t shared = 0;
        while (shared < holder.size() && shared < file.size() && holder[shared] == file[shared]) ++shared;
        if (best.empty() || shared > best_shared) best = holder, best_shared = shared;
      }
      if (!best.empty() && std::find(folders.begin(), folders.end(), best) == folders.end())
        folders.push_back(best);
    }
  }
  return folders;
}

std::string normalizedPath(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string_view::npos) slash = path.size();
    const std::string_view part = path.substr(start, slash - start);
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..") {
        parts.pop_back();
      } else if (path.empty() || path[0] != '/') {
        parts.push_back(part);  // a relative path may climb above its start
      }
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = slash + 1;
  }
  std::string normal = !path.empty() && path[0] == '/' ? "/" : "";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) normal += '/';
    normal += parts[i];
  }
  return normal.empty() ? "." : normal;
}

bool isInsideProject(const std::string& path, const std::string& root) {
  if (root.empty() || !path.starts_with(root) || path.size() <= root.size() || path[root.size()] != '/')
    return false;
  size_t start = root.size() + 1;
  for (size_t slash = path.find('/', start); slash != std::string::npos; slash = path.find('/', start)) {
    if (isSkippedFolderName(std::string_view(path).substr(start, slash - start))) return false;
    start = slash + 1;
  }
  return true;
}

std::vector<std::string> includedProjectHeaders(const std::vector<std::string>& sources,
                                                const std::vector<std::string>& folders,
                                                const std::string& root) {
  std::vector<std::string> headers;
  std::unordered_set<std::string> seen(sources.begin(), sources.end());
  std::deque<std::string> waiting(sources.begin(), sources.end());
  while (!waiting.empty() && headers.size() < kMaxFiles) {
    const std::string file = waiting.front();
    waiting.pop_front();
    std::string text;
    if (!readInputFile(file, InputKind::kSource, text).ok()) continue;
    for (const IncludeLine& include : includeLines(text)) {
      const std::string found = resolveInclude(include, file, folders);
      if (found.empty() || !isInsideProject(found, root) || !seen.insert(found).second) continue;
      headers.push_back(found);
      waiting.push_back(found);
    }
  }
  return headers;
}

}  // namespace quillet
