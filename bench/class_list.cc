// Lists the classes Quillet's front end stores for a real source tree, one line each, so that a script can
// compare them with a compiler's own list (bench/class_recall.py does, with libclang).
//
//   class_list <tree> [--compiler=clang++-14] [--std=c++17] [--include=<folder>]... [--verbose]
//
// Every header below the tree is a module, read in name order with one header cache, the way a run reads
// them; the tree, every "include" folder below it and the --include folders are the include path. With
// --compiler the sources are read with that compiler's view. Each line is: file, tab, namespace, tab, class
// name, tab, class key. The run's message lines go to the standard error stream.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/compiler_view.h"
#include "common/message_output.h"
#include "frontend/builder/code_store.h"
#include "frontend/builder/cpp_document_parse.h"
#include "frontend/preprocessor/module_parse.h"

namespace fs = std::filesystem;
using namespace quillet;

namespace {

class StderrOutput final : public MessageOutput {
 public:
  void status(std::string_view text) override { write(text); }
  void report(std::string_view text) override { write(text); }

 private:
  void write(std::string_view text) {
    if (wasReported(text)) return;
    remember(text);
    std::cerr << text << '\n';
  }
};

bool isHeader(const fs::path& path) {
  const std::string ext = path.extension().string();
  return ext == ".h" || ext == ".hpp" || ext == ".hh" || ext == ".hxx";
}

}  // namespace

int main(int argc, char** argv) {
  std::string compiler;
  std::string standard;
  fs::path tree;
  bool verbose = false;
  std::vector<std::string> includes;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.starts_with("--compiler=")) {
      compiler = arg.substr(11);
    } else if (arg.starts_with("--std=")) {
      standard = arg.substr(6);
    } else if (arg.starts_with("--include=")) {
      includes.push_back(arg.substr(10));
    } else if (arg == "--verbose") {
      verbose = true;
    } else {
      tree = arg;
    }
  }
  if (tree.empty() || !fs::is_directory(tree)) {
    std::cerr
        << "usage: class_list <tree> [--compiler=c++] [--std=c++17] [--include=<folder>]... [--verbose]\n";
    return 2;
  }
  StderrOutput output;
  setCurrentMessageOutput(&output);

  FrontEndOptions options;
  options.verbose = verbose;
  options.includeDirectories.push_back(tree.string());
  std::vector<std::string> modules;
  for (const auto& entry :
       fs::recursive_directory_iterator(tree, fs::directory_options::skip_permission_denied)) {
    if (entry.is_directory() && entry.path().filename() == "include")
      options.includeDirectories.push_back(entry.path().string());
    if (entry.is_regular_file() && isHeader(entry.path())) modules.push_back(entry.path().string());
  }
  std::sort(modules.begin(), modules.end());
  for (std::string& folder : includes) options.includeDirectories.push_back(std::move(folder));
  if (!compiler.empty()) {
    if (std::optional<CompilerView> view = compilerView(compiler, standard)) {
      options.compilerMacros = std::move(view->macros);
      options.systemIncludeDirectories = std::move(view->includeFolders);
      options.compilerFeatures =
          std::make_shared<const std::map<std::string, int64_t, std::less<>>>(std::move(view->features));
      options.sourceFiles =
          std::make_shared<const std::unordered_set<std::string>>(modules.begin(), modules.end());
    }
  }

  CodeStore store;
  HeaderCache cache;
  for (const std::string& module : modules) {
    if (cache.contains(module)) continue;
    std::vector<HeaderRecordPtr> records =
        parseModule(module, options, cache, [&](Preprocessor& preprocessor) {
          CppDocumentParse builder(store, preprocessor.options());
          builder.Parse(preprocessor);
        });
    cache.add(std::move(records));
  }
  for (const Class& stored : store.classes())
    std::cout << stored.file << '\t' << stored.nameSpace << '\t' << stored.name << '\t' << stored.classType
              << '\n';
  setCurrentMessageOutput(nullptr);
  return 0;
}
