// The example project through the quillet program, checked as its readers meet it: every HTML page passes
// an HTML checker (tidy), every local link and anchor resolves, the RTF files are well formed, and a
// headless Chromium opens the contents page, follows a class link and finds the class's members without a
// console message. Screenshots of the contents page and of a class page go to <build>/screenshots/styles.
// The checks that need tidy or Chromium skip, saying so, where the tool is missing.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sstream>

#include "styles/output_checks.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

// The example documented once for all tests of the suite, into a temporary folder.
class ExampleOutputTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tree_ = new TempTree;
    // A fresh settings folder, so that the bundled style sets of the build tree are the ones used.
    const std::string command =
        "cd " + shellQuoted(std::string(QUILLET_SOURCE_DIR) + "/examples") +
        " && env -u QUILLET_STYLES XDG_CONFIG_HOME=" + shellQuoted(tree_->path("config")) + " " +
        shellQuoted(QUILLET_BINARY) + " -C -qlc example.qlc -o " + shellQuoted(tree_->path("out")) + " 2>&1";
    status_ = runCommand(command, &log_);
  }
  static void TearDownTestSuite() {
    delete tree_;
    tree_ = nullptr;
  }

  static std::string out(const std::string& name = "") { return tree_->path("out") + "/" + name; }

  // The main page: the ".idx" file of the HTML output has its stem.
  static std::string mainPage() {
    for (const fs::directory_entry& entry : fs::directory_iterator(out()))
      if (entry.path().extension() == ".idx") return out(entry.path().stem().string() + ".html");
    return {};
  }

  static inline TempTree* tree_ = nullptr;
  static inline std::string log_;
  static inline int status_ = -1;
};

TEST_F(ExampleOutputTest, RunWritesEveryOutputWithoutStyleSheetFaults) {
  ASSERT_EQ(status_, 0) << log_;
  std::istringstream lines(log_);
  std::vector<std::string> faults;
  for (std::string line; std::getline(lines, line);)
    if (line.find("error(") != std::string::npos) faults.push_back(line);  // the style sheet engine's form
  EXPECT_EQ(faults, std::vector<std::string>());
  EXPECT_FALSE(mainPage().empty()) << "no HTML output";
  // The WinHelp output ends with the help compiler's run, or, where there is none, a note saying so.
  EXPECT_TRUE(log_.find("note: the WinHelp project ") != std::string::npos ||
              log_.find("hcrtf.exe (Windows Help Compiler) must be installed") != std::string::npos)
      << log_;
}

TEST_F(ExampleOutputTest, EveryPagePassesTheHtmlChecker) {
  const std::string tidy = findProgram("tidy");
  if (tidy.empty()) GTEST_SKIP() << "tidy is not installed (Debian package tidy); HTML pages not checked";
  const std::vector<std::string> pages = htmlFilesIn(out());
  ASSERT_GE(pages.size(), 3u);
  for (const std::string& page : pages) EXPECT_EQ(tidyReport(tidy, page), "") << page;
}

TEST_F(ExampleOutputTest, EveryLocalLinkAndAnchorResolvesAndEveryReferenceIsExpanded) {
  const std::vector<std::string> pages = htmlFilesIn(out());
  ASSERT_FALSE(pages.empty());
  EXPECT_EQ(brokenLinks(pages), std::vector<std::string>());
  std::vector<std::string> files = pages;
  for (const fs::directory_entry& entry : fs::directory_iterator(out()))
    if (entry.path().extension() == ".rtf" || entry.path().extension() == ".hpj")
      files.push_back(entry.path());
  EXPECT_EQ(unexpandedReferences(files), std::vector<std::string>());
}

TEST_F(ExampleOutputTest, FileIndexLinksReachTheWindowTheyTarget) {
  // The file index aims every link at the frame "main"; the page that shows it must be that window.
  int pages_with_index = 0;
  for (const std::string& page : htmlFilesIn(out())) {
    const std::string text = fileText(page);
    if (text.find("TARGET=\"main\"") == std::string::npos) continue;
    ++pages_with_index;
    EXPECT_NE(text.find("window.name = \"main\";"), std::string::npos) << page;
  }
  EXPECT_EQ(pages_with_index, 1);
}

TEST_F(ExampleOutputTest, RtfAndHelpFilesAreWellFormed) {
  int rtf_files = 0;
  int help_files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(out())) {
    if (entry.path().extension() != ".rtf") continue;
    const std::string text = fileText(entry.path().string());
    fs::path project = entry.path();
    project.replace_extension(".hpj");
    if (fs::exists(project)) {  // the WinHelp output comes with its help project
      ++help_files;
      EXPECT_EQ(winHelpProblems(text), std::vector<std::string>()) << entry.path();
      EXPECT_NE(fileText(project.string()).find("\n" + entry.path().filename().string() + "\n"),
                std::string::npos)
          << "the help project names its RTF file";
    } else {
      ++rtf_files;
      EXPECT_EQ(rtfProblems(text), std::vector<std::string>()) << entry.path();
      EXPECT_NE(text.find("\\bkmkstart"), std::string::npos);
      EXPECT_EQ(text.find("\\uldb"), std::string::npos) << "a printed document has no help jumps";
    }
  }
  EXPECT_EQ(rtf_files, 1);
  EXPECT_EQ(help_files, 1);
}

// The printed manual as a word processor lays it out: LibreOffice turns the RTF into a PDF, whose text shows
// each contents entry with the page it is on.
TEST_F(ExampleOutputTest, PrintedContentsShowPageNumbersInAWordProcessor) {
  const std::string soffice = findProgram("soffice");
  const std::string pdftotext = findProgram("pdftotext");
  if (soffice.empty() || pdftotext.empty())
    GTEST_SKIP() << "LibreOffice or pdftotext is not installed (libreoffice-writer-nogui, poppler-utils)";
  std::string rtf;
  for (const fs::directory_entry& entry : fs::directory_iterator(out()))
    if (entry.path().extension() == ".rtf" && !fs::exists(fs::path(entry.path()).replace_extension(".hpj")))
      rtf = entry.path().string();
  ASSERT_FALSE(rtf.empty());
  const std::string pdf_folder = tree_->path("pdf");
  runCommand("timeout 180 " + shellQuoted(soffice) + " -env:UserInstallation=file://" +
             shellQuoted(tree_->path("office-profile")) + " --headless --convert-to pdf --outdir " +
             shellQuoted(pdf_folder) + " " + shellQuoted(rtf) + " >/dev/null 2>&1");
  std::string text;
  runCommand(shellQuoted(pdftotext) + " -layout " +
                 shellQuoted(pdf_folder + "/" + fs::path(rtf).stem().string()) + ".pdf -",
             &text);
  // The contents come before the first chapter; every chapter and class entry ends in its page number.
  const std::string contents = text.substr(0, text.find("About the library\n", text.find("Contents")));
  for (const char* entry : {"Shapes and Points", "class Circle", "class Canvas", "Drawing"}) {
    const size_t at = contents.find(entry);
    ASSERT_NE(at, std::string::npos) << entry << "\n" << text;
    const std::string line = contents.substr(at, contents.find('\n', at) - at);
    EXPECT_TRUE(line.find("...") != std::string::npos &&
                std::isdigit(static_cast<unsigned char>(line.back())))
        << line;
  }
}

// Headless Chromium as CI runs it: no network, no first-run work, a profile of its own.
std::string chromiumCommand(const std::string& chromium, const std::string& profile) {
  return "timeout 120 " + shellQuoted(chromium) +
         " --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
         "--disable-background-networking"
         " --disable-component-update --disable-sync --user-data-dir=" +
         shellQuoted(profile);
}

// The DOM of `url` after loading (and after the scripts it loads have run); `console` receives the console
// messages the page logged.
std::string loadedDom(const std::string& chromium, const std::string& profile, const std::string& url,
                      std::string& console) {
  const std::string log = profile + ".log";
  std::string dom;
  runCommand(chromiumCommand(chromium, profile) +
                 " --enable-logging=stderr --v=0 --virtual-time-budget=5000 --dump-dom " + shellQuoted(url) +
                 " 2>" + shellQuoted(log),
             &dom);
  runCommand("grep :CONSOLE " + shellQuoted(log), &console);
  return dom;
}

TEST_F(ExampleOutputTest, BrowserFollowsAClassLinkToTheClassMembers) {
  const std::string chromium = findProgram("chromium chromium-browser google-chrome");
  if (chromium.empty())
    GTEST_SKIP() << "Chromium is not installed (Debian package chromium); browser test skipped";
  const std::string index = mainPage();
  ASSERT_FALSE(index.empty());
  const std::string profile = tree_->path("chromium-profile");

  std::string console;
  const std::string contents = loadedDom(chromium, profile, "file://" + index, console);
  EXPECT_EQ(console, "") << "console messages on the contents page";
  // A class entry of the contents links to the class's page and anchor; Shape when there is one.
  static const std::regex class_link(R"re(<a class="name" href="([^"#]+)#(c_[^"]+)">([^<]+)</a>)re");
  std::smatch link;
  for (auto it = std::sregex_iterator(contents.begin(), contents.end(), class_link);
       it != std::sregex_iterator() && (link.empty() || link[3] != "Shape"); ++it)
    link = *it;
  ASSERT_FALSE(link.empty()) << "no class link on the contents page:\n" << contents;
  const std::string page = link[1], anchor = link[2], name = link[3];

  const std::string members = loadedDom(chromium, profile, "file://" + out(page) + "#" + anchor, console);
  EXPECT_EQ(console, "") << "console messages on the page of " << name;
  EXPECT_NE(members.find("<h1 id=\"" + anchor + "\">" + name + "</h1>"), std::string::npos) << members;
  // Every function of the member overview has its documented entry on the page.
  static const std::regex overview_link(R"re(<a class="fn" href="[^"#]*#(f_[^"]+)">)re");
  int listed = 0;
  for (auto it = std::sregex_iterator(members.begin(), members.end(), overview_link);
       it != std::sregex_iterator(); ++it, ++listed)
    EXPECT_NE(members.find("<article class=\"member\" id=\"" + (*it)[1].str() + "\">"), std::string::npos)
        << (*it)[1];
  EXPECT_GT(listed, 0) << name << " shows no member functions";

  const fs::path shots = fs::path(QUILLET_BUILD_DIR) / "screenshots" / "styles";
  fs::create_directories(shots);
  const std::pair<std::string, std::string> pictures[] = {
      {index, "contents.png"}, {out(page), "class.png"}, {index, "contents-phone.png"}};
  for (const auto& [shown, png] : pictures) {
    const char* size = png.find("phone") == std::string::npos ? "1280,1600" : "390,1200";
    runCommand(chromiumCommand(chromium, profile) + " --hide-scrollbars --window-size=" + size +
               " --screenshot=" + shellQuoted((shots / png).string()) + " " + shellQuoted("file://" + shown) +
               " >/dev/null 2>&1");
    EXPECT_TRUE(fs::exists(shots / png)) << png;
  }
}

// The site as a reader uses it: the search page answers from its address, the side tree marks the page
// shown, Shape lists the classes derived from it, declarations link to their source lines, and no page
// type logs a console message. Screenshots (light, dark, phone) of a class page, the search page and the
// metrics page go to <build>/screenshots/styles.
TEST_F(ExampleOutputTest, SearchSideTreeAndSourceLinksWorkInTheBrowser) {
  const std::string chromium = findProgram("chromium chromium-browser google-chrome");
  if (chromium.empty())
    GTEST_SKIP() << "Chromium is not installed (Debian package chromium); browser test skipped";
  const std::string profile = tree_->path("chromium-site");
  std::string console;

  const std::string search = out("search.html");
  const std::string results = loadedDom(chromium, profile, "file://" + search + "?q=Shape", console);
  EXPECT_EQ(console, "") << "console messages on the search page";
  static const std::regex first(
      R"re(id="search-results"><li><a href="([^"#]+)#[^"]*"><span class="kind">([a-z]+)</span><code class="name">([^<]*)</code>)re");
  std::smatch hit;
  ASSERT_TRUE(std::regex_search(results, hit, first)) << results;
  EXPECT_EQ(hit[2], "class");
  EXPECT_EQ(hit[3], "geo::Shape");
  const std::string shape = hit[1];

  const std::string page = loadedDom(chromium, profile, "file://" + out(shape), console);
  EXPECT_EQ(console, "") << "console messages on the page of Shape";
  EXPECT_TRUE(std::regex_search(
      page, std::regex(R"re(<a href="[^"]*" class="here" aria-current="page">Shape</a>)re")))
      << "the side tree does not mark Shape's page";
  for (const char* derived : {">Circle</a>", ">Rectangle</a>"})
    EXPECT_NE(page.find(derived, page.find("Derived classes")), std::string::npos) << derived;
  std::smatch declared;
  ASSERT_TRUE(std::regex_search(
      page, declared, std::regex(R"re(Declared in <code><a href="([^"#]+)#L([0-9]+)">shape\.h:\2</a>)re")))
      << "Shape's declaration does not link to its source line";

  // Every kind of page loads without a console message.
  std::vector<std::string> kinds = {out(declared[1].str())};
  for (const std::string& html : htmlFilesIn(out())) {
    const std::string text = fileText(html);
    for (const char* marker :
         {"<h1>Index</h1>", "<h1>Files</h1>", "<h1>Metrics</h1>", "<div class=\"kicker\">Chapter</div>"})
      if (text.find(marker) != std::string::npos) kinds.push_back(html);
  }
  kinds.push_back(mainPage());
  for (const std::string& shown : kinds) {
    loadedDom(chromium, profile, "file://" + shown, console);
    EXPECT_EQ(console, "") << "console messages on " << shown;
  }

  const fs::path shots = fs::path(QUILLET_BUILD_DIR) / "screenshots" / "styles";
  fs::create_directories(shots);
  std::string metrics;
  for (const std::string& html : htmlFilesIn(out()))
    if (fileText(html).find("<h1>Metrics</h1>") != std::string::npos) metrics = html;
  const std::pair<std::string, std::string> pictures[] = {
      {out(shape), "class"}, {search + "?q=Shape", "search"}, {metrics, "metrics"}};
  for (const auto& [shown, name] : pictures) {
    for (const std::string look : {"light", "dark", "phone"}) {
      const std::string png = name + "-" + look + ".png";
      runCommand(chromiumCommand(chromium, profile) + " --hide-scrollbars --virtual-time-budget=3000" +
                 (look == "phone" ? " --window-size=390,1200" : " --window-size=1280,1600") +
                 (look == "dark" ? " --force-dark-mode --blink-settings=preferredColorScheme=0" : "") +
                 " --screenshot=" + shellQuoted((shots / png).string()) + " " +
                 shellQuoted("file://" + shown) + " >/dev/null 2>&1");
      EXPECT_TRUE(fs::exists(shots / png)) << png;
    }
  }
}

}  // namespace
}  // namespace quillet
