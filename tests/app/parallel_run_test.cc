// A run on several threads writes what a run on one thread writes: every output file byte for byte, and
// the same message lines in the same order. Checked on the bundled example and on a generated tree of many
// modules, with faults in it that give messages. The sanitizer builds run these tests with ThreadSanitizer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "app/generation_run.h"
#include "config/configuration.h"
#include "config/layout_item.h"
#include "example_configuration.h"
#include "support/recording_output.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

// Every file below `folder`, by its path relative to it, with its contents.
std::map<std::string, std::string> filesBelow(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    files[fs::relative(entry.path(), folder).string()] = contents.str();
  }
  return files;
}

// A recording output that cancels the run, as the editor's Stop does, at the first status line that starts
// with `cancelAt` (never when it is empty).
class CancellingOutput : public RecordingOutput {
 public:
  explicit CancellingOutput(std::string cancelAt) : cancelAt_(std::move(cancelAt)) {}
  void status(std::string_view text) override {
    RecordingOutput::status(text);
    if (!cancelAt_.empty() && text.starts_with(cancelAt_)) canceled = true;
  }

 private:
  std::string cancelAt_;
};

// Runs `configuration` with `jobs` threads, its outputs put below `out` (the same folder for every run,
// since messages name it), cancelled at the status line starting with `cancelAt`; answers the lines.
std::vector<std::string> run(Configuration configuration, unsigned jobs, const std::string& out,
                             const std::string& cancelAt = {}) {
  configuration.setHtmlOutputFile(out + "/html/index.html");
  if (!configuration.rtfOutputFile().empty()) configuration.setRtfOutputFile(out + "/rtf/manual.rtf");
  if (!configuration.winHelpOutputFile().empty()) configuration.setWinHelpOutputFile(out + "/help/help.rtf");
  CancellingOutput output(cancelAt);
  runGeneration(configuration, output, jobs);
  return output.lines;
}

// Runs `configuration` on one thread and on four, expecting the same messages and files; answers the
// messages.
std::vector<std::string> expectSameRuns(const Configuration& configuration, const TempTree& tree,
                                        const std::string& cancelAt = {}) {
  fs::remove_all(tree.path("one"));
  fs::remove_all(tree.path("four"));
  const std::vector<std::string> one = run(configuration, 1, tree.path("out"), cancelAt);
  fs::create_directories(tree.path("out"));
  fs::rename(tree.path("out"), tree.path("one"));
  const std::vector<std::string> four = run(configuration, 4, tree.path("out"), cancelAt);
  fs::create_directories(tree.path("out"));
  fs::rename(tree.path("out"), tree.path("four"));
  EXPECT_EQ(one, four);
  const auto first = filesBelow(tree.path("one"));
  const auto second = filesBelow(tree.path("four"));
  if (cancelAt.empty()) {
    EXPECT_GT(first.size(), 10u);
  }
  EXPECT_EQ(first.size(), second.size());
  for (auto a = first.begin(), b = second.begin(); a != first.end() && b != second.end(); ++a, ++b) {
    EXPECT_EQ(a->first, b->first);
    EXPECT_TRUE(a->second == b->second) << a->first << " differs";
  }
  return one;
}

TEST(ParallelRunTest, TheExampleComesOutTheSameOnFourThreads) {
  TempTree tree;
  const fs::path previous = fs::current_path();
  fs::current_path(std::string(QUILLET_SOURCE_DIR) + "/examples");
  unsetenv("QUILLET_STYLES");  // the build tree's bundled styles
  expectSameRuns(exampleConfiguration(), tree);
  fs::current_path(previous);
}

// Modules that include each other's headers, classes deriving across them, comments with links and
// commands, and faults: a missing header, an unknown comment command, a comment with no target.
TEST(ParallelRunTest, ManyModulesWithFaultsComeOutTheSameOnFourThreads) {
  TempTree tree;
  constexpr int kModules = 40;
  for (int i = 0; i < kModules; ++i) {
    const std::string n = std::to_string(i);
    std::string header = "#ifndef M" + n + "_H\n#define M" + n + "_H\n";
    if (i > 0) header += "#include \"m" + std::to_string(i - 1) + ".h\"\n";
    if (i % 7 == 0) header += "#include <missing_" + n + ".h>\n";
    header += "#define LIMIT_" + n + " " + n + "\nnamespace lib {\n/// Shape number " + n +
              ", see @ref Shape0 and Shape" + std::to_string(i / 2) + "::area().\n/// @frobnicate" + n +
              " it.\nclass Shape" + n + (i > 0 ? " : public Shape" + std::to_string(i - 1) : std::string()) +
              " {\n public:\n  /// The area, `LIMIT_" + n + "` at most.\n  /// @param scale how much\n" +
              "  virtual double area(int scale) const;\n  int count" + n + " = 0;  ///< how many\n};\n" +
              "/// Makes a shape.\nShape" + n + "* make" + n + "(int kind = LIMIT_" + n + ");\n}\n#endif\n";
    tree.write("src/m" + n + ".h", header);
    tree.write("src/m" + n + ".cc", "#include \"m" + n + ".h\"\n/// A stray comment.\n" +
                                        "double lib::Shape" + n + "::area(int s) const { return s * " + n +
                                        "; }\n");
  }
  Configuration configuration;
  configuration.mutableSourceEntries().push_back({tree.path("src/*.h"), false});
  configuration.mutableSourceEntries().push_back({tree.path("src/*.cc"), false});
  configuration.setRtfOutputFile("manual.rtf");
  LayoutItem& root = configuration.mutableArrangement();
  root.setName("Shapes");
  LayoutItem* chapter = root.addChild();
  chapter->setName("All shapes");
  LayoutItem* item = chapter->addChild();
  item->setKind(LayoutItem::kSymbolsByFile);
  item->setName(tree.path("src/*.h"));
  unsetenv("QUILLET_STYLES");
  const std::vector<std::string> messages = expectSameRuns(configuration, tree);
  EXPECT_GT(messages.size(), 6u);

  // Stopped while the modules are read, or while the pages are written, the run ends the same way and
  // leaves no page behind.
  configuration.setVerbose(true);
  for (const std::string& cancelAt : {"Parsing file: " + tree.path("src/m20.h"), std::string("Writing ")}) {
    expectSameRuns(configuration, tree, cancelAt);
    EXPECT_TRUE(filesBelow(tree.path("four")).empty()) << cancelAt;
  }
}

}  // namespace
}  // namespace quillet
