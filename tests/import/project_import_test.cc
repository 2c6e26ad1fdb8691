#include <gtest/gtest.h>

#include <string>

#include "config/configuration.h"
#include "config/layout_item.h"
#include "import/dev_studio_import.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

using Strings = std::vector<std::string>;
constexpr const char* kHeader =
    "# Microsoft Developer Studio Project File - Name=\"app\" - Package Owner=<4>\n";

Strings sourcePaths(const Configuration& configuration) {
  Strings paths;
  for (const SourceEntry& entry : configuration.sourceEntries()) paths.push_back(entry.path);
  return paths;
}

Strings headerItems(const LayoutItem& chapter) {
  Strings names;
  for (size_t i = 0; i < chapter.childCount(); ++i) {
    EXPECT_EQ(chapter.child(i)->kind(), LayoutItem::kSymbolsByFile);
    names.push_back(chapter.child(i)->name());
  }
  return names;
}

class ProjectImportTest : public ::testing::Test {
 protected:
  // Writes a project file in the temporary tree and imports it by itself into `into`.
  int import(const std::string& body, Configuration& into, const std::string& name = "app.dsp") {
    return importProject(into, tree.write(name, kHeader + body));
  }

  TempTree tree;
  Configuration configuration;
};

TEST_F(ProjectImportTest, TakesSourcesAndHeadersByExtensionOnce) {
  const std::string body =
      "SOURCE=.\\main.cpp\nSOURCE=util.C\nSOURCE=..\\lib\\x.cxx\nSOURCE=\"with blank.c\"\nSOURCE=/abs/a.cpp\n"
      "SOURCE=.\\app.rc\nSOURCE=.\\Main.CPP\nSOURCE no_equals.cpp\nSOURCE=bad\x01name.cpp\n"
      "SOURCE=.\\inc\\app.h\nSOURCE=b.HPP\nSOURCE=c.hxx\nSOURCE=res.hm\nSOURCE=.\\INC\\APP.H\n"
      "SOURCE=inc/app.h\n# ADD CPP /D \"X\" /I \"inc\"\n";
  ASSERT_EQ(import(body, configuration), 1);
  const std::string root = tree.root();
  // Sources, and then headers, are seen from where the project file was named; rooted paths stay as written.
  EXPECT_EQ(sourcePaths(configuration),
            (Strings{root + "main.cpp", root + "util.C", root + "..\\lib\\x.cxx", root + "with blank.c",
                     "/abs/a.cpp", root + "inc\\app.h", root + "b.HPP", root + "c.hxx", root + "res.hm"}));
  // Header items keep the path as written; spellings differing in case or separator count once.
  EXPECT_EQ(headerItems(configuration.arrangement()), (Strings{"inc\\app.h", "b.HPP", "c.hxx", "res.hm"}));

  const std::string once = configuration.saveToText();
  ASSERT_EQ(import(body, configuration), 1);
  EXPECT_EQ(configuration.saveToText(), once);  // importing again adds nothing
}

TEST_F(ProjectImportTest, RelativeProjectNameKeepsPathsRelative) {
  ASSERT_EQ(importProject(configuration, "tests/data/import/geometry/shapes/shapes.dsp"), 1);
  const std::string folder = "tests/data/import/geometry/shapes/";
  EXPECT_EQ(sourcePaths(configuration), (Strings{folder + "Circle.cpp", folder + "Square.CPP",
                                                 folder + "Circle.h", folder + "Square.h"}));
  EXPECT_EQ(configuration.includePath(), folder + "..\\geo-util");
  EXPECT_EQ(headerItems(configuration.arrangement()), (Strings{"Circle.h", "Square.h"}));
}

TEST_F(ProjectImportTest, ChoosesCompilerProfileOnlyWhileGeneric) {
  auto profile_after = [this](const std::string& body, uint32_t preset) {
    Configuration fresh;
    fresh.setCompilerProfile(preset);
    fresh.setCompilerVersion(2);
    EXPECT_EQ(import(body, fresh), 1);
    return std::pair(fresh.compilerProfile(), fresh.compilerVersion());
  };
  EXPECT_EQ(profile_after("# PROP BASE Use_MFC 0\r\n# PROP BASE Use_MFC 2\r\n", 0), std::pair(1u, 6u));
  EXPECT_EQ(profile_after("# PROP BASE Use_MFC 2\n# PROP BASE Use_MFC 0\n", 0), std::pair(3u, 6u));
  EXPECT_EQ(profile_after("SOURCE=a.cpp\n", 0), std::pair(3u, 6u));           // no such line: MFC
  EXPECT_EQ(profile_after("# PROP BASE Use_MFC 0\n", 4), std::pair(4u, 2u));  // a chosen profile stays
}

TEST_F(ProjectImportTest, TakesDefinesAndIncludesOfFirstTwoOptionLines) {
  configuration.setDefines("KEEP, NDEBUG");
  configuration.setIncludePath("c:\\sdk; " + tree.root() + "inc");
  const std::string options =
      "# PROP BASE Use_MFC 0\n"
      "# ADD BASE CPP /nologo /D \"WIN32\" /D \"NDEBUG\" /D \"FIRST\" /I \"inc\" /c\n"
      "# ADD BASE RSC /d \"RESOURCE\"\n"
      "# ADD CPP /D \"SECOND\" /DFIRST /I \"c:\\sdk\" /I ..\\other /Fp\"Debug/Dll.pch\" /Yu\"x.h\" /c\n"
      "# ADD CPP /D \"THIRD\" /I \"third\"\n";
  ASSERT_EQ(import(options, configuration), 1);
  // WIN32 comes with the profile chosen above; NDEBUG and FIRST are held already.
  EXPECT_EQ(configuration.defines(), "KEEP, NDEBUG,FIRST,SECOND");
  EXPECT_EQ(configuration.includePath(), "c:\\sdk; " + tree.root() + "inc;" + tree.root() + "..\\other");

  // A define holding a comma is held as the pieces the define list makes of it.
  Configuration split;
  ASSERT_EQ(import("# ADD CPP /D \"V=1,2\" /D \"SPACED=a b\"\n", split), 1);
  ASSERT_EQ(import("# ADD CPP /D \"V=1,2\" /D \"SPACED=a b\"\n", split), 1);
  EXPECT_EQ(split.defines(), "V=1,2,SPACED=a b");
}

TEST_F(ProjectImportTest, NamesOnlyAnUnnamedDocumentWithoutOutputs) {
  ASSERT_EQ(import("", configuration, "Sub/My.App.dsp"), 1);
  EXPECT_EQ(configuration.documentName(), "My.App");
  EXPECT_EQ(configuration.htmlOutputFile() + "|" + configuration.rtfOutputFile() + "|" +
                configuration.winHelpOutputFile(),
            "doc/My.App|doc/My.App|doc/My.Apphlp");

  Configuration named;
  named.setDocumentName("Manual");
  named.setRtfOutputFile("manual.rtf");
  ASSERT_EQ(import("", named), 1);
  EXPECT_EQ(named.documentName(), "Manual");
  EXPECT_EQ(named.htmlOutputFile() + "|" + named.rtfOutputFile() + "|" + named.winHelpOutputFile(),
            "|manual.rtf|");
}

TEST_F(ProjectImportTest, RefusesFilesThatAreNotProjectsAndChangesNothing) {
  const std::string before = configuration.saveToText();
  EXPECT_EQ(importProject(configuration, tree.path("missing.dsp")), 0);
  EXPECT_EQ(importProject(configuration, tree.write("empty.dsp", "")), 0);
  EXPECT_EQ(importProject(configuration, tree.write("lead.dsp", " " + std::string(kHeader) + "SOURCE=a.c\n")),
            0);
  EXPECT_EQ(importProject(configuration, tree.root()), 0);  // a folder
  EXPECT_EQ(configuration.saveToText(), before);
}

TEST_F(ProjectImportTest, DamagedFilesImportWhatTheyCan) {
  // A byte-order mark and a last line cut short; binary bytes and a very long line after the first line.
  ASSERT_EQ(importProject(configuration, tree.write("bom.dsp", "\xEF\xBB\xBF" + std::string(kHeader) +
                                                                   "SOURCE=a.cpp\r\nSOURCE=b.c")),
            1);
  std::string binary = "SOURCE=c.cpp\n";
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
  ASSERT_EQ(import(binary + "\nSOURCE=d.cpp\n" + std::string(200000, 'x'), configuration), 1);
  const std::string root = tree.root();
  EXPECT_EQ(sourcePaths(configuration),
            (Strings{root + "a.cpp", root + "b.c", root + "c.cpp", root + "d.cpp"}));

  // Every cut and every flipped byte of a well-formed project imports or fails without harm.
  const std::string good =
      std::string(kHeader) + "# PROP BASE Use_MFC 0\r\n# ADD CPP /I \"i\" /D X\r\nSOURCE=\"a.h\"";
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
