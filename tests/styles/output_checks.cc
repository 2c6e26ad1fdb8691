#include "styles/output_checks.h"

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace quillet {

namespace {

namespace fs = std::filesystem;

bool isHtmlFile(const fs::path& path) {
  return path.extension() == ".html" || path.extension() == ".htm";
}

// The first group of every match of `pattern` in `text`, in order.
std::vector<std::string> matches(const std::string& text, const std::regex& pattern) {
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
    found.push_back((*it)[1]);
  return found;
}

// The ids and then the named anchors a page defines, in order of appearance (a name may appear twice).
std::vector<std::string> anchorsOf(const std::string& page) {
  static const std::regex id(R"(\sid="([^"]*)\")", std::regex::icase);
  static const std::regex name(R"(<a\s[^>]*\bname="([^"]*)\")", std::regex::icase);
  std::vector<std::string> anchors = matches(page, id);
  for (std::string& named : matches(page, name)) anchors.push_back(std::move(named));
  return anchors;
}

bool isRemote(const std::string& link) {
  for (const char* scheme : {"http:", "https:", "mailto:", "data:"})
    if (link.rfind(scheme, 0) == 0) return true;
  return false;
}

}  // namespace

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> htmlFilesIn(const std::string& folder) {
  std::vector<std::string> pages;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
    if (entry.is_regular_file() && isHtmlFile(entry.path())) pages.push_back(entry.path().string());
  std::sort(pages.begin(), pages.end());
  return pages;
}

std::vector<std::string> brokenLinks(const std::vector<std::string>& pages) {
  static const std::regex link(R"(\s(?:href|src)="([^"]*)\")", std::regex::icase);
  std::vector<std::string> problems;
  std::map<std::string, std::set<std::string>> anchors_by_page;
  auto anchorsFor = [&](const fs::path& page) -> const std::set<std::string>& {
    const std::string key = fs::weakly_canonical(page).string();
    auto found = anchors_by_page.find(key);
    if (found != anchors_by_page.end()) return found->second;
    const std::vector<std::string> list = anchorsOf(fileText(key));
    return anchors_by_page.emplace(key, std::set<std::string>(list.begin(), list.end())).first->second;
  };

  for (const std::string& page : pages) {
    const std::string text = fileText(page);
    const std::string name = fs::path(page).filename().string();
    std::set<std::string> seen;
    for (const std::string& anchor : anchorsOf(text))
      if (!seen.insert(anchor).second) problems.push_back(name + ": anchor \"" + anchor + "\" defined twice");

    for (const std::string& target : matches(text, link)) {
      if (target.empty()) problems.push_back(name + ": empty link");
      if (target.empty() || isRemote(target)) continue;
      const size_t hash = target.find('#');
      const std::string file = target.substr(0, hash);
      fs::path destination = fs::path(page).parent_path() / file;
      if (file.rfind("file://", 0) == 0) destination = file.substr(7);
      if (file.empty()) destination = page;
      std::error_code error;
      if (!fs::exists(destination, error)) {
        problems.push_back(name + ": link to missing file " + target);
      } else if (hash != std::string::npos && hash + 1 < target.size() && isHtmlFile(destination) &&
                 !anchorsFor(destination).count(target.substr(hash + 1))) {
        problems.push_back(name + ": link to missing anchor " + target);
      }
    }
  }
  return problems;
}

std::vector<std::string> unexpandedReferences(const std::vector<std::string>& files) {
  static const std::regex reference(
      "(?:^|[^A-Za-z0-9_.])((?:link_to|anchor|name|text|text_summary|class_type|ret|type|default|func_attrib|"
      "file|file_url|html_url|document_name|date|parent_list|tag|template|namespace|html_file_index|html_"
      "body|"
      "metric_[a-z_]+)_)(?=[^A-Za-z0-9_]|$)");
  std::vector<std::string> found;
  for (const std::string& file : files)
    for (const std::string& reference_text : matches(fileText(file), reference))
      found.push_back(fs::path(file).filename().string() + ": " + reference_text);
  return found;
}

std::vector<std::string> rtfProblems(const std::string& rtf) {
  std::vector<std::string> problems;
  if (rtf.rfind("{\\rtf1", 0) != 0) problems.push_back("the file does not start with {\\rtf1");
  if (rtf.find("{\\fonttbl") == std::string::npos) problems.push_back("no font table");

  long depth = 0;
  size_t closed_at = std::string::npos;
  for (size_t i = 0; i < rtf.size(); ++i) {
    const char c = rtf[i];
    if (c == '\\') {
      ++i;  // "\\", "\{" and "\}" are text, not groups
    } else if (c == '}') {
      if (--depth < 0) {
        problems.push_back("unbalanced '}' at offset " + std::to_string(i));
        break;
      }
      if (depth == 0) closed_at = i;
    } else if (closed_at != std::string::npos && !std::isspace(static_cast<unsigned char>(c))) {
      problems.push_back("text after the document's closing brace at offset " + std::to_string(closed_at));
      break;
    } else if (c == '{') {
      ++depth;
    }
  }
  if (depth > 0) problems.push_back(std::to_string(depth) + " group(s) left open at the end");

  static const std::regex bookmark(R"(\\bkmkstart ([^}]*)\})");
  static const std::regex hyperlink(R"(HYPERLINK \\\\l "([^"]*)\")");
  const std::vector<std::string> defined = matches(rtf, bookmark);
  const std::set<std::string> bookmarks(defined.begin(), defined.end());
  for (const std::string& target : matches(rtf, hyperlink))
    if (!bookmarks.count(target)) problems.push_back("hyperlink to missing bookmark \"" + target + "\"");
  return problems;
}

std::vector<std::string> winHelpProblems(const std::string& rtf) {
  std::vector<std::string> problems = rtfProblems(rtf);
  static const std::regex topic(R"(#\{\\footnote ([^}]*)\})");
  std::set<std::string> topics;
  for (const std::string& defined : matches(rtf, topic))
    if (!topics.insert(defined).second) problems.push_back("topic \"" + defined + "\" defined twice");
  // A jump is hidden text after a hotspot: "{\v topic}" or "\v topic }".
  for (size_t at = rtf.find("\\v "); at != std::string::npos; at = rtf.find("\\v ", at + 3)) {
    if (at > 0 && rtf[at - 1] == '\\') continue;
    const size_t end = rtf.find('}', at + 3);
    std::string jump = rtf.substr(at + 3, end == std::string::npos ? std::string::npos : end - at - 3);
    while (!jump.empty() && jump.back() == ' ') jump.pop_back();
    if (!topics.count(jump)) problems.push_back("jump to missing topic \"" + jump + "\"");
  }
  if (topics.empty()) problems.push_back("no topic footnotes");
  return problems;
}

std::string shellQuoted(const std::string& text) {
  std::string result = "'";
  for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return result + "'";
}

int runCommand(const std::string& command, std::string* out) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  std::string text;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  const int status = pclose(pipe);
  if (out) *out = std::move(text);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string findProgram(const std::string& names) {
  std::string path;
  runCommand("command -v " + names + " 2>/dev/null | head -n 1", &path);
  while (!path.empty() && std::isspace(static_cast<unsigned char>(path.back()))) path.pop_back();
  return path;
}

std::string tidyReport(const std::string& tidy, const std::string& page) {
  std::string report;
  // tidy's status: 0 clean, 1 warnings only, 2 errors; both kinds are listed.
  const int status = runCommand(
      shellQuoted(tidy) + " -errors -quiet --show-warnings yes " + shellQuoted(page) + " 2>&1", &report);
  if (status >= 2 && report.empty()) report = "tidy failed";
  return report;
}

}  // namespace quillet
