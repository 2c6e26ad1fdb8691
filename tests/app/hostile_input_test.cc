// Hostile inputs, each a small generated input run through the batch face with a bound on time (and, for
// deep nesting, on memory and output): special files where files are expected, style sheets that write
// outside the output folder or never end, a full disk, objects whose page names collide, deep nesting,
// slips in style sheets and Windows paths in a project file.
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/batch_options.h"
#include "app/batch_run.h"
#include "common/file_contents.h"
#include "support/memory_tree.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

using Clock = std::chrono::steady_clock;

// A configuration documenting `sources` into out/index.html with the style set "S" of the tree, the
// arrangement `items` ("kind = 'x'\nname = 'y'" each) in one chapter, and extra TOML lines.
std::string configuration(const std::string& root, const std::vector<std::string>& sources,
                          const std::vector<std::string>& items, const std::string& extra = "") {
  std::string text;
  for (const std::string& source : sources) text += "[[sources.files]]\npath = '" + source + "'\n";
  text += "[output]\nhtml_output_file = '" + root + "out/index.html'\nhtml_style = 'S'\n" + extra;
  text += "[arrangement]\nname = 'Doc'\n[[arrangement.children]]\nkind = 'chapter'\nname = 'C'\n";
  for (const std::string& item : items) text += "[[arrangement.children.children]]\n" + item + "\n";
  return text;
}

// Runs `quillet -C arguments...`; the status, and what it wrote, in `out`.
int runQuillet(const std::vector<std::string>& arguments, std::string& out) {
  std::vector<const char*> argv{"quillet", "-C", "-nocopyright"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  BatchOptions options;
  const bool parsed = options.parse(static_cast<int>(argv.size()), argv.data());
  std::ostringstream stream;
  const int status = runBatch(options, parsed, stream);
  out = stream.str();
  return status;
}

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Runs in memory, the style set "S" being the test's own.
class HostileMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override { tree.files.setEnvironment("QUILLET_STYLES", tree.root() + "styles"); }
  void style(const std::string& name, const std::string& text) { tree.write("styles/HTML/S/" + name, text); }
  int run(const std::vector<std::string>& items, const std::string& extra = "",
          const std::vector<std::string>& sources = {"/t/src/*.h"}) {
    const std::string config = tree.write("q.toml", configuration(tree.root(), sources, items, extra));
    return runQuillet({config}, out);
  }

  MemoryTree tree;
  std::string out;
};

// Runs on the disk, for what only the real file system shows: devices, pipes, sparse files, a full volume.
class HostileDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree.write("styles/HTML/S/main.html",
               "<p>$$(for_each (global_class_list) start L)name_ $$(next L)</p>\n");
    ::setenv("QUILLET_STYLES", (tree.root() + "styles").c_str(), 1);
  }
  void TearDown() override { ::unsetenv("QUILLET_STYLES"); }
  int run(const std::vector<std::string>& sources, const std::vector<std::string>& items) {
    const std::string config = tree.write("q.toml", configuration(tree.root(), sources, items));
    return runQuillet({config}, out);
  }

  TempTree tree;
  std::string out;
};

TEST_F(HostileDiskTest, DevicesPipesAndHugeFilesAreRefusedAtOnce) {
  const std::string fifo = tree.path("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::resize_file(tree.write("huge.h", ""), (uintmax_t{300} << 20));  // sparse: nothing read
  tree.write("a.h", "#include \"/dev/zero\"\n#include \"fifo\"\nclass A {};\n");
  const auto start = Clock::now();
  EXPECT_EQ(run({tree.path("a.h"), fifo, "/dev/urandom", tree.path("huge.h")},
                {"kind = 'insert_document'\nname = '/dev/zero'",
                 "kind = 'link_document'\nname = '" + fifo + "'", "kind = 'classes_by_name'\nname = 'A'"}),
            kBatchRanGeneration)
      << out;
  for (const std::string& file : {std::string("/dev/zero"), fifo, std::string("/dev/urandom")})
    EXPECT_NE(out.find("error: " + file + " is not a regular file\n"), std::string::npos) << out;
  EXPECT_NE(out.find("error: " + tree.path("huge.h") + " is larger than 256 MB, the limit for source files"),
            std::string::npos)
      << out;
  std::string page;  // A is documented all the same
  EXPECT_TRUE(readFileContents(tree.path("out/index.html"), page));
  EXPECT_EQ(page, "<p>A </p>\n");

  for (const std::string& config : {std::string("/dev/zero"), fifo})
    EXPECT_EQ(runQuillet({config}, out), kBatchConfigurationFailed) << out;
  EXPECT_NE(out.find("error: " + fifo + " is not a regular file"), std::string::npos) << out;
  EXPECT_LT(secondsSince(start), 10);
}

// Unmounts a volume when the test ends, however it ends.
struct Mounted {
  std::string path;
  ~Mounted() { ::umount(path.c_str()); }
};

std::vector<std::string> listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(HostileDiskTest, FullVolumeLeavesThePreviousOutputWholeAndExitsWithFour) {
  const std::string volume = tree.path("volume");
  std::filesystem::create_directories(volume);
  if (::mount("tmpfs", volume.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "mounting a small tmpfs needs the rights to mount";
  const Mounted mounted{volume};
  std::string classes;
  for (int i = 0; i < 2000; ++i) classes += "class Class" + std::to_string(i) + " {};\n";
  tree.write("a.h", "class First {};\n");
  const std::string config = tree.write(
      "q.toml", configuration(volume + "/", {tree.path("a.h")}, {"kind = 'classes_by_name'\nname = '.*'"}));
  EXPECT_EQ(runQuillet({config}, out), kBatchRanGeneration) << out;
  std::string before;
  ASSERT_TRUE(readFileContents(volume + "/out/index.html", before));
  const std::vector<std::string> files = listing(volume + "/out");
  tree.write("a.h", classes);  // a page of some 20 KB, beside a filler that leaves no room for it
  tree.write("volume/filler", std::string(50000, 'x'));
  EXPECT_EQ(runQuillet({config}, out), kBatchOutputFailed) << out;
  EXPECT_NE(out.find("error: cannot write " + volume + "/out/index.html: No space left on device"),
            std::string::npos)
      << out;
  std::string after;
  EXPECT_TRUE(readFileContents(volume + "/out/index.html", after));
  EXPECT_EQ(after, before);
  EXPECT_EQ(listing(volume + "/out"), files);  // no temporary file left behind
}

TEST_F(HostileMemoryTest, FullDiskKeepsEveryPreviousPageAndStopsTheRun) {
  tree.write("src/a.h", "class A {};\nclass B {};\n");
  style("main.html",
        "main $$(for_each (global_class_list) start L)$$(new_file (class, _p, page.html))$$(next L)");
  style("page.html", "page of name_ with a good deal of text");
  ASSERT_EQ(run({"kind = 'classes_by_name'\nname = '.*'"}), kBatchRanGeneration) << out;
  const std::vector<std::string> before = tree.files.filePaths();
  style("page.html", "page of name_ with a good deal more text than the last time");
  tree.files.setCapacity(tree.files.usedBytes() + 80);
  EXPECT_EQ(run({"kind = 'classes_by_name'\nname = '.*'"}), kBatchOutputFailed) << out;
  EXPECT_NE(out.find(": No space left on device\n"), std::string::npos) << out;
  EXPECT_NE(out.find("error: the HTML output was not written; the files of the previous run are left"),
            std::string::npos);
  tree.files.setCapacity(UINT64_MAX);
  EXPECT_EQ(tree.files.filePaths(), before);
  EXPECT_EQ(*tree.files.file("/t/out/index_c_A_p.html"), "page of A with a good deal of text");
}

TEST_F(HostileMemoryTest, StyleSheetsWriteNothingOutsideTheOutputFolder) {
  tree.write("src/a.h", "class A {};\n");
  tree.write("secret", "keep");
  style("main.html",
        "x\n$$(copy_file (../../secret))$$(copy_file (..\\..\\secret))\n"
        "$$(new_file (chapter, ../../../x.html, logo.gif))$$(copy_file (logo.gif))");
  style("logo.gif", "GIF");
  run({"kind = 'classes_by_name'\nname = 'A'"});
  const std::string sheet = tree.root() + "styles/HTML/S/main.html";
  EXPECT_NE(out.find("error(" + sheet + ":2) : copy_file refused: /t/out/../../secret lies outside"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("error(" + sheet + ":2) : copy_file refused: /t/out/..\\..\\secret lies outside"),
            std::string::npos);
  EXPECT_NE(out.find("error(" + sheet + ":3) : new_file refused: /t/out/index../../../x.html lies outside"),
            std::string::npos)
      << out;
  for (const std::string& path : tree.files.filePaths())
    EXPECT_TRUE(path.starts_with("/t/out/") || path.starts_with("/t/src/") ||
                path.starts_with("/t/styles/") || path == "/t/secret" || path == "/t/q.toml")
        << path;
  EXPECT_EQ(*tree.files.file("/t/secret"), "keep");
  EXPECT_EQ(*tree.files.file("/t/out/logo.gif"), "GIF");  // copying inside the folder goes on
}

TEST_F(HostileMemoryTest, RunawayStyleSheetsStopWithinTheirBudget) {
  std::string classes;
  for (int i = 0; i < 60; ++i) classes += "class C" + std::to_string(i) + " {};\n";
  tree.write("src/a.h", classes);
  std::string loops, nexts;
  for (int i = 0; i < 5; ++i) {
    loops += "$$(for_each (global_class_list) start L" + std::to_string(i) + ")";
    nexts = "$$(next L" + std::to_string(i) + ")" + nexts;
  }
  style("main.html", "<p>\n" + loops + "name_ " + nexts + "</p>");
  const std::string sheet = tree.root() + "styles/HTML/S/main.html";
  const std::string items = "kind = 'classes_by_name'\nname = '.*'";
  auto start = Clock::now();
  EXPECT_EQ(run({items}, "[extensions]\nmax_evaluation_steps = 1000000\n"), kBatchOutputFailed) << out;
  EXPECT_NE(out.find("error(" + sheet + ":2) : the style sheets took more than 1000000 evaluation steps"),
            std::string::npos)
      << out;
  EXPECT_FALSE(tree.files.file("/t/out/index.html"));
  // Output runs out the same way (three of the loops write some 800 KB); 200 loops nested over two classes
  // would otherwise never end.
  style("main.html", "<p>\n" + loops.substr(0, loops.size() * 3 / 5) + "name_ " +
                         nexts.substr(nexts.size() * 2 / 5) + "</p>");
  EXPECT_EQ(run({items}, "[extensions]\nmax_output_bytes = 100000\n"), kBatchOutputFailed);
  EXPECT_NE(out.find("more than 100000 bytes of output (max_output_bytes)"), std::string::npos) << out;
  tree.write("src/a.h", "class A {};\nclass B {};\n");
  loops.clear(), nexts.clear();
  for (int i = 0; i < 200; ++i) {
    loops += "$$(for_each (global_class_list) start L" + std::to_string(i) + ")";
    nexts = "$$(next L" + std::to_string(i) + ")" + nexts;
  }
  style("main.html",
        loops + "$$(if (count_if(global_class_list, count_if(global_class_list, 1) GT 1) GT 1))x" + nexts);
  EXPECT_EQ(run({items}, "[extensions]\nmax_evaluation_steps = 1000000\n"), kBatchOutputFailed) << out;
  EXPECT_LT(secondsSince(start), 20);
}

TEST_F(HostileMemoryTest, CollidingPageNamesGetTheirOwnPagesAndLinks) {
  tree.write("src/a.h", "namespace geo {\nclass Circle {};\n}\nclass geo_scp_Circle {};\n");
  style("main.html",
        "$$(for_each (global_class_list) start L)<a href=\"link_to_\">name_</a>\n"
        "$$(new_file (class, _p, page.html))$$(next L)");
  style("page.html", "<h1 id=\"anchor_\">name_</h1> anchor_(class, _members)");
  EXPECT_EQ(run({"kind = 'classes_by_name'\nname = '.*'"}), kBatchRanGeneration) << out;
  EXPECT_EQ(out.find("already in index"), std::string::npos) << out;
  const std::string index = *tree.files.file("/t/out/index.html");
  EXPECT_NE(index.find("<a href=\"index_c_geo_scp_Circle_p.html#c_geo_scp_Circle\">Circle</a>"),
            std::string::npos)
      << index;
  EXPECT_NE(index.find("<a href=\"index_c_geo_scp_Circle_p0.html#c_geo_scp_Circle_2\">geo_scp_Circle</a>"),
            std::string::npos)
      << index;
  EXPECT_EQ(*tree.files.file("/t/out/index_c_geo_scp_Circle_p.html"),
            "<h1 id=\"c_geo_scp_Circle\">Circle</h1> ud43525029c_geo_scp_Circle_members");
  EXPECT_EQ(*tree.files.file("/t/out/index_c_geo_scp_Circle_p0.html"),
            "<h1 id=\"c_geo_scp_Circle_2\">geo_scp_Circle</h1> ud43525029c_geo_scp_Circle_2_members");
}

TEST_F(HostileMemoryTest, DeepNestingIsBoundedAndToldOnce) {
  const int depth = 8000;
  std::string text;
  for (int i = 0; i < depth; ++i) text += "namespace n {\n";
  text += "class A {};\n" + std::string(depth, '}') + "\n";
  for (int i = 0; i < depth; ++i) text += "struct s {\n";
  for (int i = 0; i < depth; ++i) text += "};\n";
  tree.write("src/a.h", text);
  style("main.html", "$$(for_each (global_class_list) start L)name_\n$$(next L)");
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const long rss_before = usage.ru_maxrss;
  const auto start = Clock::now();
  EXPECT_EQ(run({"kind = 'classes_by_name'\nname = '.*'"}), kBatchRanGeneration) << out;
  EXPECT_LT(secondsSince(start), 20);
  ::getrusage(RUSAGE_SELF, &usage);
  EXPECT_LT(usage.ru_maxrss - rss_before, 200 * 1024) << "kilobytes";
  EXPECT_NE(
      out.find("warning: (/t/src/a.h) classes are nested more than 256 levels deep; the deeper ones are "
               "not documented\n"),
      std::string::npos)
      << out;
  EXPECT_LT(tree.files.file("/t/out/index.html")->size(), size_t{20} << 20);
}

TEST_F(HostileMemoryTest, SlipsInStyleSheetsAreToldWithTheirLine) {
  tree.write("src/a.h", "class A {};\n");
  style("main.html",
        "<p>\n$$(next X)\n$$(for_each (global_class_list) start L)$$(if (class.bogus))\nname_\nmore\n"
        "$$(next L)$$(else)$$(for_each (nothing) start M)$$(next M)$$(if (1))\nrest\nof the file\n");
  run({"kind = 'classes_by_name'\nname = '.*'"});
  const std::string sheet = "(" + tree.root() + "styles/HTML/S/main.html:";
  for (const std::string& line :
       {"warning" + sheet + "2) : next X closes no loop", "error" + sheet + "6) : else without if",
        "warning" + sheet + "6) : if without an end",
        "error" + sheet + "3) : unknown property bogus in object",
        "error" + sheet + "6) : cannot find list object nothing in for_each"}) {
    const size_t at = out.find(line);
    EXPECT_NE(at, std::string::npos) << line << "\n" << out;
    EXPECT_EQ(out.find(line, at + 1), std::string::npos) << line;  // once
  }
}

TEST_F(HostileMemoryTest, DeveloperStudioPathsResolveBesideTheProject) {
  tree.write("proj/a.h", "/// A.\nclass A {};\n");
  tree.write("src/b.cpp", "void b();\n");
  const std::string project = tree.write(
      "proj/p.dsp",
      "# Microsoft Developer Studio Project File - Name=\"p\"\r\nSOURCE=.\\A.H\r\nSOURCE=..\\src\\b.cpp\r\n");
  tree.write("styles/HTML/Standard Style/main.html",
             "$$(for_each (global_class_list) start L)name_\n$$(next L)");
  EXPECT_EQ(runQuillet({"-prj", project, "-o", tree.path("out"), "-nortf"}, out), kBatchRanGeneration) << out;
  EXPECT_EQ(out.find("did not parse"), std::string::npos) << out;
  EXPECT_EQ(*tree.files.file("/t/out/p.html"), "A\n");
}

}  // namespace
}  // namespace quillet
