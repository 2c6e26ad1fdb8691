#include <gtest/gtest.h>

#include <string>

#include "config/configuration.h"
#include "config/layout_item.h"
#include "import/dev_studio_import.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

constexpr const char* kHeader =
    "# Microsoft Developer Studio Project File - Name=\"app\" - Package Owner=<4>\n";

std::vector<std::string> sourcePaths(const Configuration& configuration) {
  std::vector<std::string> paths;
  for (const SourceEntry& entry : configuration.sourceEntries()) {
    EXPECT_FALSE(entry.includeSubfolders);
    paths.push_back(entry.path);
  }
  return paths;
}

std::vector<std::string> childNames(const LayoutItem& chapter) {
  std::vector<std::string> names;
  for (size_t i = 0; i < chapter.childCount(); ++i) {
    EXPECT_EQ(chapter.child(i)->kind(), LayoutItem::kSymbolsByFile);
    names.push_back(chapter.child(i)->name());
  }
  return names;
}

class ProjectImportTest : public ::testing::Test {
 protected:
  // Writes a project file in the temporary tree and imports it by itself.
  int import(const std::string& body, const std::string& name = "app.dsp") {
    return importProject(configuration, tree.write(name, kHeader + body));
  }

  TempTree tree;
  Configuration configuration;
};

TEST_F(ProjectImportTest, TakesSourcesAndHeadersByExtensionOnce) {
  ASSERT_EQ(import("SOURCE=.\\main.cpp\n"
                   "SOURCE=util.C\nSOURCE=..\\lib\\x.cxx\nSOURCE=\"with blank.c\"\nSOURCE=/abs/root.cpp\n"
                   "SOURCE=.\\app.rc\nSOURCE=readme.txt\nSOURCE=.\\Main.CPP\nSOURCE no_equals.cpp\n"
                   "SOURCE=.\\inc\\app.h\nSOURCE=b.HPP\nSOURCE=c.hxx\nSOURCE=res.hm\nSOURCE=.\\INC\\APP.H\n"
                   "SOURCE=inc/app.h\nSOURCE=bad\x01name.cpp\n"),
            1);
  const std::string root = tree.root();
  // Sources keep their path as written, seen from where the project file was named; rooted paths stay.
  EXPECT_EQ(sourcePaths(configuration),
            (std::vector<std::string>{root + "main.cpp", root + "util.C", root + "..\\lib\\x.cxx",
                                      root + "with blank.c", "/abs/root.cpp"}));
  // Header items keep the path as written; spellings of one file differing in case or separator count once.
  EXPECT_EQ(childNames(configuration.arrangement()),
            (std::vector<std::string>{"inc\\app.h", "b.HPP", "c.hxx", "res.hm"}));

  const std::string before = configuration.saveToText();
  ASSERT_EQ(import("SOURCE=.\\main.cpp\nSOURCE=.\\inc\\app.h\n"
                   "# ADD CPP /D \"X\" /I \"inc\"\n# ADD CPP /D \"X\" /I \"inc\"\n"),
            1);
  const std::string once = configuration.saveToText();
  ASSERT_EQ(import("SOURCE=.\\main.cpp\nSOURCE=.\\inc\\app.h\n# ADD CPP /D \"X\" /I \"inc\"\n"), 1);
  EXPECT_NE(before, once);
  EXPECT_EQ(configuration.saveToText(), once);  // importing again adds nothing
}

TEST_F(ProjectImportTest, RelativeProjectNameKeepsSourcesRelative) {
  ASSERT_EQ(importProject(configuration, "tests/data/import/geometry/shapes/shapes.dsp"), 1);
  EXPECT_EQ(sourcePaths(configuration),
            (std::vector<std::string>{"tests/data/import/geometry/shapes/Circle.cpp",
                                      "tests/data/import/geometry/shapes/Square.CPP"}));
  EXPECT_EQ(configuration.includePath(), "tests/data/import/geometry/shapes/..\\geo-util");
  EXPECT_EQ(childNames(configuration.arrangement()), (std::vector<std::string>{"Circle.h", "Square.h"}));
}

TEST_F(ProjectImportTest, ChoosesCompilerProfileOnlyWhileGeneric) {
  auto profile_after = [this](const std::string& body, uint32_t preset) {
    Configuration fresh;
    fresh.setCompilerProfile(preset);
    fresh.setCompilerVersion(2);
    EXPECT_EQ(importProject(fresh, tree.write("p.dsp", kHeader + body)), 1);
    return std::pair(fresh.compilerProfile(), fresh.compilerVersion());
  };
  EXPECT_EQ(profile_after("# PROP BASE Use_MFC 0\r\n# PROP BASE Use_MFC 2\r\n", 0), std::pair(1u, 6u));
  EXPECT_EQ(profile_after("# PROP BASE Use_MFC 2\n# PROP BASE Use_MFC 0\n", 0), std::pair(3u, 6u));
  EXPECT_EQ(profile_after("# PROP BASE Use_MFC 0 \n", 0), std::pair(3u, 6u));  // not exactly "0"
  EXPECT_EQ(profile_after("SOURCE=a.cpp\n", 0), std::pair(3u, 6u));            // no line: MFC
  EXPECT_EQ(profile_after("# PROP BASE Use_MFC 0\n", 4), std::pair(4u, 2u));   // a chosen profile stays
}

TEST_F(ProjectImportTest, TakesDefinesAndIncludesOfFirstTwoOptionLines) {
  configuration.setDefines("KEEP, NDEBUG");
  configuration.setIncludePath("c:\\sdk; " + tree.root() + "inc");
  ASSERT_EQ(
      import("# PROP BASE Use_MFC 0\n"
             "# ADD BASE CPP /nologo /D \"WIN32\" /D \"NDEBUG\" /D \"FIRST\" /I \"inc\" /c\n"
             "# ADD BASE RSC /d \"RESOURCE\"\n"
             "# ADD CPP /D \"SECOND\" /D \"FIRST\" /I \"c:\\sdk\" /I \"..\\other\" /Fp\"Debug/Dll.pch\" /c\n"
             "# ADD CPP /D \"THIRD\" /I \"third\"\n"),
      1);
  // WIN32 comes with the profile chosen above; NDEBUG and FIRST are held already.
  EXPECT_EQ(configuration.defines(), "KEEP, NDEBUG,FIRST,SECOND");
  EXPECT_EQ(configuration.includePath(), "c:\\sdk; " + tree.root() + "inc;" + tree.root() + "..\\other");

  Configuration empty;
  ASSERT_EQ(importProject(empty, tree.write("d.dsp", std::string(kHeader) + "# ADD CPP /D \"V=1,2\" /D A\n")),
            1);
  EXPECT_EQ(empty.defines(), "V=1,2,A");
  EXPECT_EQ(empty.includePath(), "");
}

TEST_F(ProjectImportTest, NamesUntitledDocumentAndGivesOutputNames) {
  ASSERT_EQ(import("", "Sub/My.App.dsp"), 1);
  EXPECT_EQ(configuration.documentName(), "My.App");
  EXPECT_EQ(configuration.htmlOutputFile(), "doc/My.App");
  EXPECT_EQ(configuration.rtfOutputFile(), "doc/My.App");
  EXPECT_EQ(configuration.winHelpOutputFile(), "doc/My.Apphlp");

  Configuration named;
  named.setDocumentName("Manual");
  named.setRtfOutputFile("manual.rtf");
  ASSERT_EQ(importProject(named, tree.write("other.dsp", kHeader)), 1);
  EXPECT_EQ(named.documentName(), "Manual");
  EXPECT_EQ(named.htmlOutputFile(), "");
  EXPECT_EQ(named.rtfOutputFile(), "manual.rtf");
  EXPECT_EQ(named.winHelpOutputFile(), "");
}

TEST_F(ProjectImportTest, RefusesFilesThatAreNotProjectsAndChangesNothing) {
  const std::string before = configuration.saveToText();
  EXPECT_EQ(importProject(configuration, tree.path("missing.dsp")), 0);
  EXPECT_EQ(importProject(configuration, tree.write("empty.dsp", "")), 0);
  EXPECT_EQ(importProject(configuration, tree.write("blank.dsp", "\nSOURCE=a.cpp\n")), 0);
  EXPECT_EQ(importProject(configuration, tree.write("ws.dsp", "Microsoft Developer Studio Workspace File\n")),
            0);
  EXPECT_EQ(
      importProject(configuration, tree.write("lead.dsp", std::string(" ") + kHeader + "SOURCE=a.cpp\n")), 0);
  EXPECT_EQ(importProject(configuration, tree.root()), 0);  // a folder
  EXPECT_EQ(configuration.saveToText(), before);
}

TEST_F(ProjectImportTest, DamagedFilesImportWhatTheyCan) {
  // A byte-order mark, a file cut off in mid-line, and binary bytes after the first line.
  ASSERT_EQ(importProject(configuration, tree.write("bom.dsp", "\xEF\xBB\xBF" + std::string(kHeader) +
                                                                   "SOURCE=a.cpp\r\nSOURCE=b.c")),
            1);
  std::string binary = std::string(kHeader) + "SOURCE=c.cpp\n";
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
  binary += "\nSOURCE=d.cpp\n" + std::string(200000, 'x') + "\n";
  ASSERT_EQ(importProject(configuration, tree.write("bin.dsp", binary)), 1);
  const std::string root = tree.root();
  EXPECT_EQ(sourcePaths(configuration),
            (std::vector<std::string>{root + "a.cpp", root + "b.c", root + "c.cpp", root + "d.cpp"}));

  // Every cut and every flipped byte of a well-formed project imports or fails without harm.
  const std::string good =
      std::string(kHeader) +
      "# PROP BASE Use_MFC 0\r\n# ADD CPP /I \"inc\" /D \"X\"\r\nSOURCE=\".\\a b.cpp\"\r\n";
  for (size_t cut = 0; cut <= good.size(); ++cut) {
    Configuration scratch;
    const std::string index = std::to_string(cut);  // fresh names: rewriting one file waits for the disk
    importProject(scratch, tree.write("cut" + index + ".dsp", good.substr(0, cut)));
    std::string flipped = good;
    flipped[cut % good.size()] = static_cast<char>(cut * 37);
    importProject(scratch, tree.write("flip" + index + ".dsp", flipped));
  }
}

}  // namespace
}  // namespace quillet
