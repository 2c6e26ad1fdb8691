#include "config/configuration.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "config/compiler_profiles.h"

namespace quillet {
namespace {

using Strings = std::vector<std::string>;

// Sets an environment variable for the length of a test and restores the previous state afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (had_) {
      setenv(name_.c_str(), old_.c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }

 private:
  std::string name_;
  std::string old_;
  bool had_ = false;
};

TEST(ConfigurationTest, ResetRestoresDefaults) {
  Configuration c;
  c.setHtmlOutputFile("index.html");
  c.setTabSize(4);
  c.setVerbose(true);
  c.setTraceTokens(true);
  c.setReportUndocumented(true);
  c.mutableSourceEntries().push_back({"a.h", false});
  c.appendCommentTag(CommentTag());
  c.setDocumentName("Manual");
  c.mutableArrangement().addChild()->setName("Chapter");
  c.reset();
  EXPECT_EQ(c.htmlOutputFile(), "");
  EXPECT_EQ(c.tabSize(), 8);
  EXPECT_FALSE(c.verbose());
  EXPECT_FALSE(c.traceTokens());
  EXPECT_FALSE(c.reportUndocumented());
  EXPECT_TRUE(c.sourceEntries().empty());
  EXPECT_EQ(c.commentTagCount(), 0u);
  EXPECT_EQ(c.documentName(), "untitled");
  EXPECT_EQ(c.arrangement().kind(), LayoutItem::kChapter);
  EXPECT_EQ(c.arrangement().childCount(), 0u);
  EXPECT_FALSE(c.modified());
  EXPECT_EQ(c.saveToText(), Configuration().saveToText());
}

TEST(ConfigurationTest, ResetKeepsReservedValues) {
  std::string text = Configuration().saveToText();
  // The 53 reserved numbers and reals sit before the counts; give the last real a value of its own.
  const std::string tail = "0\r\n0\r\n0\r\n0\r\n\"\"0\r\n\"\":1";
  const size_t at = text.find(tail);
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 3, "0.75\r\n");
  Configuration c;
  ASSERT_TRUE(c.loadFromText(text));
  c.reset();
  EXPECT_NE(c.saveToText().find("0.75\r\n0\r\n0\r\n"), std::string::npos);
}

TEST(ConfigurationTest, SettersMarkModifiedAndRunSwitchesDoNot) {
  Configuration c;
  EXPECT_FALSE(c.modified());
  c.setVerbose(true);
  EXPECT_FALSE(c.modified());
  c.setAutoFormat(false);
  EXPECT_TRUE(c.modified());
  EXPECT_FALSE(c.autoFormat());
  c.setModified(false);
  c.appendCommentTag(CommentTag());
  EXPECT_TRUE(c.modified());
  c.setModified(false);
  c.removeCommentTag(0);
  EXPECT_TRUE(c.modified());
  EXPECT_EQ(c.commentTagCount(), 0u);
}

TEST(ConfigurationTest, CommentTagListKeepsOrder) {
  Configuration c;
  for (const char* name : {"first", "second", "third"}) {
    CommentTag tag;
    tag.setTagName(name);
    c.appendCommentTag(tag);
  }
  CommentTag replaced = c.commentTag(1);
  replaced.setTagName("middle");
  c.replaceCommentTag(1, replaced);
  c.removeCommentTag(0);
  ASSERT_EQ(c.commentTagCount(), 2u);
  EXPECT_EQ(c.commentTag(0).tagName(), "middle");
  EXPECT_EQ(c.commentTag(1).tagName(), "third");
}

TEST(ConfigurationTest, DocumentsByAccess) {
  Configuration c;
  EXPECT_TRUE(c.isDocumented(1));
  EXPECT_FALSE(c.isDocumented(2));
  EXPECT_FALSE(c.isDocumented(3));
  c.setDocumentProtected(true);
  EXPECT_TRUE(c.isDocumented(2));
  EXPECT_FALSE(c.isDocumented(3));
  c.setDocumentPrivate(true);
  EXPECT_TRUE(c.isDocumented(3));
  EXPECT_FALSE(c.isDocumented(0));
  EXPECT_FALSE(c.isDocumented(4));
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

  ASSERT_EQ(compilerProfileCount(), 9u);
  EXPECT_STREQ(compilerProfileRow(0)->name, "generic");
  EXPECT_STREQ(compilerProfileRow(8)->name, "Borland C/C++ WIN16 Application");
  EXPECT_EQ(compilerProfileRow(9), nullptr);
  const std::vector<CompilerVersion> ms = compilerVersions(6);
  ASSERT_EQ(ms.size(), 8u);
  EXPECT_EQ(ms[0].name, "2.0");
  EXPECT_EQ(ms[7].name, "6.0");
  EXPECT_EQ(ms[7].define, "_MSC_VER=1200");
  EXPECT_TRUE(compilerVersions(0).empty());
}

TEST(ConfigurationTest, DefineListPutsUserDefinesFirst) {
  Configuration c;
  c.setDefines(" A=1 ;B,, C = 2 ");
  EXPECT_EQ(c.defineList(), (Strings{"A=1", "B", "C = 2"}));
  c.setCompilerProfile(7);
  c.setCompilerVersion(0);
  const Strings defines = c.defineList();
  ASSERT_EQ(defines.size(), 15u);
  EXPECT_EQ(defines[3], "__CDECL__");
  EXPECT_EQ(defines.back(), "__TURBOC__=0x460");  // the blank after the version's colon is stripped
  c.setDefines("");
  c.setCompilerProfile(0);
  EXPECT_TRUE(c.defineList().empty());
}

TEST(ConfigurationTest, IncludeDirectoriesSplitStripAndUseSlashes) {
  ScopedEnv include("INCLUDE", "/usr/inc, with comma;;  x:\\sdk ");
  ScopedEnv root("QUILLET_TEST_ROOT", "/src");
  Configuration c;
  c.setIncludePath("c:/inc; d:\\lib ,,e:\\x;$(QUILLET_TEST_ROOT)\\h; ,");
  EXPECT_EQ(c.includeDirectories(),
            (Strings{"c:/inc", "d:/lib", "e:/x", "/src/h", "/usr/inc, with comma", "x:/sdk"}));
  c.setUseIncludeEnvironment(false);
  EXPECT_EQ(c.includeDirectories(), (Strings{"c:/inc", "d:/lib", "e:/x", "/src/h"}));
  ScopedEnv no_include("INCLUDE", nullptr);
  c.setUseIncludeEnvironment(true);
  EXPECT_EQ(c.includeDirectories().size(), 4u);
}

TEST(ConfigurationTest, ExpandsBothReferenceForms) {
  ScopedEnv root("QUILLET_TEST_ROOT", "c:\\src");
  ScopedEnv self("QUILLET_TEST_SELF", "%QUILLET_TEST_ROOT%$(QUILLET_TEST_ROOT)");
  ScopedEnv unset("QUILLET_TEST_UNSET", nullptr);
  EXPECT_EQ(Configuration::expandEnvironment("$(QUILLET_TEST_ROOT)\\x\\*.cpp"), "c:\\src\\x\\*.cpp");
  EXPECT_EQ(Configuration::expandEnvironment("%QUILLET_TEST_ROOT%\\x\\*.cpp"), "c:\\src\\x\\*.cpp");
  // Either form may come first; an inserted value is not expanded again.
  EXPECT_EQ(Configuration::expandEnvironment("%QUILLET_TEST_ROOT%;$(QUILLET_TEST_ROOT)"), "c:\\src;c:\\src");
  EXPECT_EQ(Configuration::expandEnvironment("a$(QUILLET_TEST_SELF)b"),
            "a%QUILLET_TEST_ROOT%$(QUILLET_TEST_ROOT)b");
  EXPECT_EQ(Configuration::expandEnvironment(""), "");
  EXPECT_EQ(Configuration::expandEnvironment("plain\\path"), "plain\\path");
}

TEST(ConfigurationTest, UnexpandableReferencesStayAsWritten) {
  ScopedEnv root("QUILLET_TEST_ROOT", "/r");
  ScopedEnv unset("QUILLET_TEST_UNSET", nullptr);
  EXPECT_EQ(Configuration::expandEnvironment("$(QUILLET_TEST_UNSET)/%QUILLET_TEST_ROOT%"),
            "$(QUILLET_TEST_UNSET)//r");
  EXPECT_EQ(Configuration::expandEnvironment("%QUILLET_TEST_UNSET%/$(QUILLET_TEST_ROOT)"),
            "%QUILLET_TEST_UNSET%//r");
  EXPECT_EQ(Configuration::expandEnvironment("$(QUILLET_TEST_ROOT"), "$(QUILLET_TEST_ROOT");
  EXPECT_EQ(Configuration::expandEnvironment("100%"), "100%");
  EXPECT_EQ(Configuration::expandEnvironment("$(open %QUILLET_TEST_ROOT%"), "$(open /r");
  EXPECT_EQ(Configuration::expandEnvironment("%%$()"), "%%$()");
}

}  // namespace
}  // namespace quillet
