#include "config/configuration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/test_util.h"

namespace quillet {
namespace {

using Strings = std::vector<std::string>;

TEST(ConfigurationTest, ResetRestoresDefaultsAndKeepsReservedSlots) {
  std::string text = Configuration().saveToText();
  // Give the last reserved real a value of its own (it precedes the counts, defines and include path).
  text.replace(text.find("0\r\n0\r\n0\r\n0\r\n\"\"0\r\n\"\":1"), 3, "0.75\r\n");
  Configuration c;
  ASSERT_TRUE(c.loadFromText(text));
  c.setHtmlOutputFile("index.html");
  c.setTabSize(4);
  c.setVerbose(true);
  c.setTraceTokens(true);
  c.mutableSourceEntries().push_back({"a.h", false});
  c.appendCommentTag(CommentTag());
  c.setDocumentName("Manual");
  c.mutableArrangement().addChild();
  c.reset();
  EXPECT_FALSE(c.verbose() || c.traceTokens() || c.modified());
  EXPECT_EQ(c.documentName(), "untitled");
  EXPECT_EQ(c.arrangement(), Configuration().arrangement());
  EXPECT_EQ(c.saveToText(), text);  // defaults everywhere but in the reserved slot
}

TEST(ConfigurationTest, ProfileDefinesAddTheSelectedVersion) {
  Configuration c;
  EXPECT_EQ(c.profileDefines(), "");
  c.setCompilerProfile(1);
  c.setCompilerVersion(7);
  EXPECT_EQ(c.profileDefines(), "WIN32, _WIN32, _M_IX86=400, WIN32, _WINDOWS, _MBCS,_MSC_VER=1200");
  c.setCompilerVersion(8);  // beyond the version list: the base defines alone
  EXPECT_EQ(c.profileDefines(), "WIN32, _WIN32, _M_IX86=400, WIN32, _WINDOWS, _MBCS");
  c.setCompilerProfile(7);
  c.setCompilerVersion(0);
  EXPECT_TRUE(c.profileDefines().ends_with("__TLS__, _Windows, __TURBOC__=0x460"));
  c.setCompilerProfile(99);  // a row the table does not have, as a damaged file may name
  EXPECT_EQ(c.profileDefines(), "");
}

TEST(ConfigurationTest, DefineListPutsUserDefinesFirst) {
  Configuration c;
  c.setDefines(" A=1 ;B,, C = 2 ");
  EXPECT_EQ(c.defineList(), (Strings{"A=1", "B", "C = 2"}));
  c.setCompilerProfile(7);
  const Strings defines = c.defineList();
  ASSERT_EQ(defines.size(), 15u);
  EXPECT_EQ(defines[3], "__CDECL__");
  EXPECT_EQ(defines.back(), "__TURBOC__=0x460");  // the blank after the version's colon is stripped
}

TEST(ConfigurationTest, IncludeDirectoriesSplitStripAndUseSlashes) {
  ScopedEnv include("INCLUDE", "/usr/inc, with comma;;  x:\\sdk ");
  ScopedEnv root("QUILLET_TEST_ROOT", "/src");
  Configuration c;
  c.setIncludePath("c:/inc; d:\\lib ,,e:\\x;$(QUILLET_TEST_ROOT)\\h; ,");
  const Strings own = {"c:/inc", "d:/lib", "e:/x", "/src/h"};
  Strings with_environment = own;
  with_environment.insert(with_environment.end(), {"/usr/inc, with comma", "x:/sdk"});  // split at ";" only
  EXPECT_EQ(c.includeDirectories(), with_environment);
  c.setUseIncludeEnvironment(false);
  EXPECT_EQ(c.includeDirectories(), own);
}

TEST(ConfigurationTest, ExpandsEnvironmentReferences) {
  ScopedEnv root("QUILLET_TEST_ROOT", "c:\\src");
  ScopedEnv self("QUILLET_TEST_SELF", "%QUILLET_TEST_ROOT%");
  ScopedEnv unset("QUILLET_TEST_UNSET", nullptr);
  const auto expand = Configuration::expandEnvironment;
  EXPECT_EQ(expand("$(QUILLET_TEST_ROOT)\\x\\*.cpp"), "c:\\src\\x\\*.cpp");
  EXPECT_EQ(expand("%QUILLET_TEST_ROOT%\\x\\*.cpp"), "c:\\src\\x\\*.cpp");
  // Either form may come first; an inserted value is not expanded again.
  EXPECT_EQ(expand("%QUILLET_TEST_ROOT%;$(QUILLET_TEST_ROOT)"), "c:\\src;c:\\src");
  EXPECT_EQ(expand("a$(QUILLET_TEST_SELF)b"), "a%QUILLET_TEST_ROOT%b");
  // Unset variables and references without their closing character stay as written; scanning goes on.
  EXPECT_EQ(expand("$(QUILLET_TEST_UNSET)/%QUILLET_TEST_ROOT%"), "$(QUILLET_TEST_UNSET)/c:\\src");
  EXPECT_EQ(expand("%QUILLET_TEST_UNSET%/$(QUILLET_TEST_ROOT)"), "%QUILLET_TEST_UNSET%/c:\\src");
  EXPECT_EQ(expand("$(open %QUILLET_TEST_ROOT%"), "$(open c:\\src");
  EXPECT_EQ(expand("100%"), "100%");
  EXPECT_EQ(expand("%%$()"), "%%$()");
}

}  // namespace
}  // namespace quillet
