// Documents a whole real source tree to HTML with the bundled style, the way a user's batch run would, and
// reports the wall time, the peak memory and the number of pages written.
//
//   end_to_end_bench <tree> [<tree> ...] [--doxygen] [--compiler=c++] [--std=c++20] [--keep <folder>]
//                    [--include <folder>]... [--source-pages] [--jobs=1,2]
//
// A tree "generated:chain:8000", "generated:flat:8000" or "generated:nest:8000" is written on the fly:
// 8,000 classes each deriving from the one before, standing side by side, or nested 250 deep. Each tree
// is run once per number of jobs (--jobs, default 1 and 2), reporting wall time, CPU time and peak memory.
// The pages go below $TMPDIR: an ext4 file system without a journal allocates files slowly for minutes
// after many were removed, so TMPDIR=/dev/shm measures the program rather than the file system.
//
// Each tree (for example /usr/src/googletest or /usr/include/llvm-14) gets a configuration made on the
// fly: every header below it is a source, every folder that holds headers is a chapter with one
// symbols-by-file item, and the tree itself is the include path. With --compiler the sources are read
// with that compiler's view (its predefined macros and include folders, language standard --std). With
// --doxygen the same tree is also documented by Doxygen (EXTRACT_ALL, HTML only) and the ratio of the two
// times is printed. --keep writes the pages of each tree to <folder>/<tree name> and leaves them there (to
// look at or grep); --include adds an include folder (a tree whose headers include each other as
// <name/header.hpp> needs its parent). --source-pages writes the HTML source page of every file too.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "app/generation_run.h"
#include "common/message_output.h"
#include "config/configuration.h"
#include "config/layout_item.h"

namespace fs = std::filesystem;
using namespace quillet;

namespace {

// Counts the lines of a run instead of printing them.
class CountingOutput final : public MessageOutput {
 public:
  void status(std::string_view) override {}
  void report(std::string_view text) override {
    // A few of each kind are kept to show: errors are rarer and say more than missing-header warnings.
    if (text.starts_with("error")) {
      if (++errors <= 5) samples.emplace_back(text);
    } else if (text.starts_with("warning")) {
      if (++warnings <= 5) samples.emplace_back(text);
    }
  }
  std::vector<std::string> samples;
  int errors = 0;
  int warnings = 0;
};

bool isHeader(const fs::path& path) {
  const std::string ext = path.extension().string();
  return ext == ".h" || ext == ".hpp" || ext == ".hh" || ext == ".hxx";
}

Configuration configurationFor(const fs::path& tree, const fs::path& output,
                               const std::vector<std::string>& includes, const std::string& compiler,
                               const std::string& standard) {
  Configuration configuration;
  configuration.setCompiler(compiler);
  configuration.setLanguageStandard(standard);
  configuration.setHtmlOutputFile((output / "index.html").string());
  // The tree and every "include" folder below it, as a project's own include path would name them.
  std::string include_path = tree.string();
  for (const std::string& folder : includes) include_path += ";" + folder;
  for (const auto& entry :
       fs::recursive_directory_iterator(tree, fs::directory_options::skip_permission_denied))
    if (entry.is_directory() && entry.path().filename() == "include")
      include_path += ";" + entry.path().string();
  configuration.setIncludePath(include_path);
  configuration.setUseIncludeEnvironment(false);
  LayoutItem& root = configuration.mutableArrangement();
  root.setName(tree.filename().string());
  std::map<std::string, bool> folders;  // sorted, so the chapters come in name order
  std::map<std::string, bool> extensions;
  for (const auto& entry :
       fs::recursive_directory_iterator(tree, fs::directory_options::skip_permission_denied)) {
    if (!entry.is_regular_file() || !isHeader(entry.path())) continue;
    folders[entry.path().parent_path().string()] = true;
    extensions[entry.path().extension().string()] = true;
  }
  for (const auto& [extension, unused] : extensions)
    configuration.mutableSourceEntries().push_back({(tree / ("*" + extension)).string(), true});
  for (const auto& [folder, unused] : folders) {
    LayoutItem* chapter = root.addChild();
    chapter->setName(fs::relative(folder, tree.parent_path()).string());
    LayoutItem* item = chapter->addChild();
    item->setKind(LayoutItem::kSymbolsByFile);
    item->setName(folder + "/*.h*");
  }
  return configuration;
}

size_t countPages(const fs::path& folder) {
  size_t pages = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().extension() == ".html") ++pages;
  return pages;
}

struct Measured {
  double seconds = 0;     // wall time
  double cpuSeconds = 0;  // user and system time of all threads
  double peakMiB = 0;
};

// Runs `work` in a child process and returns its wall time, CPU time and peak memory.
template <typename Work>
Measured measureInChild(Work work) {
  std::cout.flush();  // else the child would print the parent's pending lines a second time
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    work();
    std::_Exit(0);
  }
  int status = 0;
  struct rusage usage {};
  wait4(child, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const auto time = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return {seconds, time(usage.ru_utime) + time(usage.ru_stime), static_cast<double>(usage.ru_maxrss) / 1024.0};
}

// Writes a generated tree for `recipe`, "chain:N" (N classes, each deriving from the one before), "flat:N"
// (N classes) or "nest:N" (N classes nested 250 deep, in N / 250 trees), below `folder`; returns its
// folder, or an empty path for a recipe it does not know.
fs::path generateTree(const std::string& recipe, const fs::path& folder) {
  const size_t colon = recipe.find(':');
  const std::string kind = recipe.substr(0, colon);
  const int count = colon == std::string::npos ? 0 : std::atoi(recipe.c_str() + colon + 1);
  if (count <= 0 || (kind != "chain" && kind != "flat" && kind != "nest")) return {};
  const fs::path tree = folder / (kind + std::to_string(count));
  fs::create_directories(tree);
  std::ofstream out(tree / "classes.h");
  constexpr int kDepth = 250;
  for (int i = 0; i < count; ++i) {
    const int level = i % kDepth;
    if (kind == "nest" && level == 0 && i > 0)
      for (int open = 0; open < kDepth; ++open) out << "};\n";
    out << "/** Class number " << i << ". */\nclass C" << i;
    if (kind == "chain" && i > 0) out << " : public C" << i - 1;
    out << " {\n public:\n  /** Does step " << i << ". */\n  virtual void step" << i << "();\n  int value" << i
        << ";\n";
    if (kind != "nest") out << "};\n";
  }
  if (kind == "nest") {
    for (int level = 0; level <= (count - 1) % kDepth; ++level) out << "};\n";
  }
  return tree;
}

double runDoxygen(const fs::path& tree, const fs::path& output) {
  fs::create_directories(output);
  std::ofstream(output / "Doxyfile") << "INPUT = " << tree.string()
                                     << "\nRECURSIVE = YES\nEXTRACT_ALL = YES\n"
                                     << "GENERATE_LATEX = NO\nGENERATE_HTML = YES\nOUTPUT_DIRECTORY = "
                                     << output.string() << "\nQUIET = YES\nWARNINGS = NO\n";
  const auto start = std::chrono::steady_clock::now();
  const std::string command = "doxygen " + (output / "Doxyfile").string() + " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  bool doxygen = false;
  fs::path keep;
  std::vector<std::string> includes;
  std::string compiler;
  std::string standard;
  std::vector<fs::path> trees;
  bool sourcePages = false;
  std::vector<unsigned> jobCounts = {1, 2};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--doxygen") {
      doxygen = true;
    } else if (arg == "--keep" && i + 1 < argc) {
      keep = fs::absolute(argv[++i]);
    } else if (arg == "--include" && i + 1 < argc) {
      includes.emplace_back(argv[++i]);
    } else if (arg.starts_with("--compiler=")) {
      compiler = arg.substr(11);
    } else if (arg.starts_with("--jobs=")) {
      jobCounts.clear();
      for (size_t at = 7; at < arg.size();) {
        const size_t comma = std::min(arg.find(',', at), arg.size());
        jobCounts.push_back(static_cast<unsigned>(std::stoul(arg.substr(at, comma - at))));
        at = comma + 1;
      }
    } else if (arg == "--source-pages") {
      sourcePages = true;
    } else if (arg.starts_with("--std=")) {
      standard = arg.substr(6);
    } else {
      trees.emplace_back(arg);
    }
  }
  if (trees.empty()) trees = {"/usr/src/googletest", "/usr/include/llvm-14"};

  const fs::path scratch = fs::temp_directory_path() / ("quillet-bench-" + std::to_string(getpid()));
  for (fs::path tree : trees) {
    const std::string name = tree.string();
    if (name.starts_with("generated:")) tree = generateTree(name.substr(10), scratch / "generated");
    if (!fs::is_directory(tree)) {
      std::cout << tree.string() << ": not found, skipped\n";
      continue;
    }
    const fs::path output = keep.empty() ? scratch / tree.filename() / "quillet" : keep / tree.filename();
    double fastest = 0;
    for (unsigned jobs : jobCounts) {
      const Measured measured = measureInChild([&] {
        Configuration configuration = configurationFor(tree, output, includes, compiler, standard);
        configuration.setHtmlSourcePages(sourcePages);
        CountingOutput messages;
        runGeneration(configuration, messages, jobs);
        std::cout << "  " << messages.errors << " error and " << messages.warnings << " warning lines\n";
        for (const std::string& sample : messages.samples) std::cout << "    " << sample << "\n";
        std::cout.flush();
      });
      std::cout << name << " -j " << jobs << ": " << measured.seconds << " s wall, " << measured.cpuSeconds
                << " s CPU, peak " << measured.peakMiB << " MiB, " << countPages(output) << " pages\n";
      if (fastest == 0 || measured.seconds < fastest) fastest = measured.seconds;
    }
    if (doxygen) {
      const double doxygen_seconds = runDoxygen(tree, scratch / tree.filename() / "doxygen");
      if (doxygen_seconds < 0) {
        std::cout << "  doxygen: not available\n";
      } else {
        std::cout << "  doxygen: " << doxygen_seconds << " s, " << doxygen_seconds / fastest
                  << " times as long\n";
      }
    }
  }
  if (!keep.empty()) std::cout << "output kept in " << keep.string() << "\n";
  fs::remove_all(scratch);
  return 0;
}
