#include "import/compiler_options.h"

#include <gtest/gtest.h>

#include "import/workspace_import.h"

namespace quillet {
namespace {

using Strings = std::vector<std::string>;

TEST(CompilerOptionsTest, ReadsDefinesAndIncludeDirectoriesInLineOrder) {
  CompilerOptions options;
  readCompilerOptions(
      R"(# ADD CPP /nologo /W3 /I "..\inc" /D "WIN32" /D "VERSION=2" /Fp"Debug/Dll.pch" /Yu"stdafx.h" /FD /c)",
      options);
  EXPECT_EQ(options.defines, (Strings{"WIN32", "VERSION=2"}));  // /Fp"Debug/Dll.pch" holds no /D option
  EXPECT_EQ(options.includeDirectories, Strings{"..\\inc"});

  CompilerOptions attached;
  readCompilerOptions(R"(# ADD BASE CPP /DNDEBUG /I ..\lib /I "c:\Program Files\x" /D "SPACED=a b" /D)",
                      attached);
  EXPECT_EQ(attached.defines, (Strings{"NDEBUG", "SPACED=a b"}));
  EXPECT_EQ(attached.includeDirectories, (Strings{"..\\lib", "c:\\Program Files\\x"}));

  CompilerOptions other;
  readCompilerOptions(R"(# ADD BASE RSC /d "NDEBUG" /i "x")", other);  // not a compiler option line
  readCompilerOptions(R"(# ADD CPP /d "lower" /Dx "/I")", other);
  EXPECT_EQ(other.defines, Strings{"x"});
  EXPECT_TRUE(other.includeDirectories.empty());
  EXPECT_TRUE(isCompilerOptionLine("# ADD BASE CPP /c"));
  EXPECT_FALSE(isCompilerOptionLine("# ADD CPP"));  // the blank after CPP belongs to the marker
}

TEST(CompilerOptionsTest, WorkspaceProjectLinesNameProjectPaths) {
  EXPECT_EQ(workspaceProjectPath(R"(Project: "app"=.\app\app.dsp - Package Owner=<4>)"), "app\\app.dsp");
  EXPECT_EQ(workspaceProjectPath(R"(Project: "my-app"=..\my-app.dsp - Package Owner=<4>)"), "..\\my-app.dsp");
  EXPECT_EQ(workspaceProjectPath(R"(Project: "x"=".\with blank - y.dsp" - Package Owner=<4>)"),
            "with blank - y.dsp");
  EXPECT_EQ(workspaceProjectPath("Project: \"x\"=  plain.dsp"), "plain.dsp");
  EXPECT_EQ(workspaceProjectPath("Project: \"x\"= - Package Owner=<4>"), "");
  EXPECT_EQ(workspaceProjectPath("Project_Dep_Name app"), "");
  EXPECT_EQ(workspaceProjectPath("    Project: \"x\"=x.dsp"), "");  // only lines that begin with Project
}

}  // namespace
}  // namespace quillet
