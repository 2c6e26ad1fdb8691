#include <gtest/gtest.h>

#include <string>

#include "config/configuration.h"
#include "config/layout_item.h"
#include "import/dev_studio_import.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

constexpr const char* kWorkspaceHeader = "Microsoft Developer Studio Workspace File, Format Version 6.00\r\n";
constexpr const char* kProjectHeader = "# Microsoft Developer Studio Project File - Name=\"p\"\r\n";

std::string projectLine(const std::string& name, const std::string& path) {
  return "Project: \"" + name + "\"=" + path + " - Package Owner=<4>\r\n\r\nPackage=<5>\r\n{{{\r\n}}}\r\n";
}

TEST(WorkspaceImportTest, ImportsEachProjectWithItsOwnChapter) {
  const std::string folder = std::string(QUILLET_TEST_DATA) + "/import/geometry/";
  Configuration configuration;
  ASSERT_TRUE(importDevStudioFile(configuration, folder + "geometry.DSW"));  // names are found case-blind

  EXPECT_EQ(configuration.documentName(), "geometry");
  EXPECT_EQ(configuration.htmlOutputFile(), "doc/geometry");
  // The projects' sources, then their headers, carry the project's folder as the workspace names it.
  std::vector<std::string> sources;
  for (const SourceEntry& entry : configuration.sourceEntries()) sources.push_back(entry.path);
  EXPECT_EQ(sources,
            (std::vector<std::string>{folder + "Shapes/Circle.cpp", folder + "Shapes/Square.CPP",
                                      folder + "Shapes/Circle.h", folder + "Shapes/Square.h",
                                      folder + "geo-util/geo_util.c", folder + "geo-util/geo_util.h"}));
  const LayoutItem& root = configuration.arrangement();
  ASSERT_EQ(root.childCount(), 2u);
  EXPECT_EQ(root.child(0)->name(), "Shapes");
  ASSERT_EQ(root.child(0)->childCount(), 2u);
  EXPECT_EQ(root.child(0)->child(0)->name(), "Circle.h");  // never prefixed with the project's folder
  EXPECT_EQ(root.child(0)->child(1)->name(), "Square.h");
  EXPECT_EQ(root.child(1)->name(), "geo-util");
  ASSERT_EQ(root.child(1)->childCount(), 1u);
  EXPECT_EQ(root.child(1)->child(0)->name(), "geo_util.h");
  // The first project chose the profile; defines of both projects, the profile's own left out.
  EXPECT_EQ(configuration.compilerProfile(), 1u);
  EXPECT_EQ(configuration.defines(), "NDEBUG,SHAPES_EXPORTS,GEO_UTIL");
  EXPECT_EQ(configuration.includePath(), folder + "Shapes/..\\geo-util");

  const std::string once = configuration.saveToText();
  ASSERT_TRUE(importDevStudioFile(configuration, folder + "geometry.dsw"));
  EXPECT_EQ(configuration.saveToText(), once);
}

TEST(WorkspaceImportTest, FailingProjectStopsImportAndKeepsEarlierOnes) {
  TempTree tree;
  tree.write("one/one.dsp", std::string(kProjectHeader) + "SOURCE=.\\one.cpp\r\nSOURCE=.\\one.h\r\n");
  tree.write("the three/three.dsp", kProjectHeader);
  tree.write("bad.dsp", "not a project\r\n");
  Configuration configuration;
  configuration.setDocumentName("Kept");
  configuration.mutableArrangement().addChild()->setName("ONE");  // an existing chapter of that name is used
  const std::string workspace =
      tree.write("all.dsw", kWorkspaceHeader + projectLine("one", ".\\one\\one.dsp") +
                                projectLine("one again", ".\\ONE\\One.dsp") + projectLine("bad", "bad.dsp") +
                                projectLine("three", "\".\\the three\\three.dsp\""));
  EXPECT_EQ(importWorkspace(configuration, workspace), 0);
  EXPECT_EQ(configuration.documentName(), "Kept");
  EXPECT_EQ(configuration.htmlOutputFile(), "doc/all");
  ASSERT_EQ(configuration.sourceEntries().size(), 2u);
  EXPECT_EQ(configuration.sourceEntries()[0].path, tree.root() + "one/one.cpp");
  EXPECT_EQ(configuration.sourceEntries()[1].path, tree.root() + "one/one.h");
  ASSERT_EQ(configuration.arrangement().childCount(), 1u);
  EXPECT_EQ(configuration.arrangement().child(0)->childCount(), 1u);

  tree.write("bad.dsp", kProjectHeader);  // three projects give three chapters
  Configuration fresh;
  EXPECT_EQ(importWorkspace(fresh, workspace), 1);
  EXPECT_EQ(fresh.arrangement().childCount(), 3u);
}

TEST(WorkspaceImportTest, RefusesFilesThatAreNotWorkspaces) {
  TempTree tree;
  Configuration configuration;
  const std::string before = configuration.saveToText();
  EXPECT_EQ(importWorkspace(configuration, tree.write("p.dsw", kProjectHeader)), 0);
  EXPECT_EQ(importWorkspace(configuration, tree.path("missing.dsw")), 0);
  // A workspace that lists itself is not a project; the editor takes only ".dsw" names for workspaces.
  EXPECT_EQ(
      importWorkspace(configuration, tree.write("self.dsw", kWorkspaceHeader + projectLine("s", "self.dsw"))),
      0);
  EXPECT_FALSE(importDevStudioFile(configuration, tree.write("w.txt", kWorkspaceHeader)));
  EXPECT_TRUE(importDevStudioFile(configuration, tree.write("p.txt", kProjectHeader)));
}

}  // namespace
}  // namespace quillet
