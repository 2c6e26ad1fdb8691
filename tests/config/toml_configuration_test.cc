#include "config/toml_configuration.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "common/file_contents.h"
#include "config/configuration.h"
#include "config/portable_stream.h"

namespace quillet {
namespace {

// The .qlc text a .qlc text turns into when it goes through the readable form: read as stored, written as
// TOML, read back and saved.
std::string throughToml(const std::string& qlc, std::string* toml_text = nullptr) {
  Configuration loaded;
  EXPECT_TRUE(loaded.loadStoredText(qlc));
  const std::string toml = writeTomlConfiguration(loaded);
  if (toml_text) *toml_text = toml;
  Configuration back;
  const TomlReadResult read = readTomlConfiguration(toml, "x.toml", back);
  EXPECT_TRUE(read.ok) << read.error << "\n" << toml;
  EXPECT_TRUE(read.warnings.empty()) << read.warnings.front();
  return back.saveToText();
}

TEST(TomlConfigurationTest, TheExampleComesBackByteForByteAndReadsAsIntended) {
  std::string qlc;
  ASSERT_TRUE(readFileContents("examples/example.qlc", qlc));
  std::string toml;
  EXPECT_EQ(throughToml(qlc, &toml), qlc);
  for (const char* expected : {"[[sources.files]]", "path = 'src/*.cpp'", "include_subfolders = true",
                               "[[comments.tags]]", "operation = 'remove'", "name = 'Geo Library'",
                               "[[arrangement.children.children]]", "kind = 'classes_by_name'"})
    EXPECT_NE(toml.find(expected), std::string::npos) << expected << "\n" << toml;
  // Defaults are left out.
  EXPECT_EQ(toml.find("html_style"), std::string::npos);
  EXPECT_EQ(toml.find("[reserved]"), std::string::npos);
}

// Splits a .qlc text into its values: numbers and strings (each with its position), leaving record marks.
struct Value {
  size_t begin, end;
  bool isString;
};
std::vector<Value> valuesOf(const std::string& text) {
  std::vector<Value> values;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n' || c == ' ') {
      ++i;
    } else if (c == ':' || c == '@') {  // a record's class number or a reference: skipped
      i = text.find('\n', i);
    } else if (c == '\\') {
      i += 2;
    } else {
      const size_t begin = i;
      i = text.find('\r', i);
      size_t next = i;
      while (next < text.size() && (text[next] == '\r' || text[next] == '\n')) ++next;
      if (next < text.size() && text[next] == '"') {  // a string: its length, then the quoted characters
        for (i = next + 1; text[i] != '"'; ++i)
          if (text[i] == '\\') ++i;
        values.push_back({begin, ++i, true});
      } else {
        values.push_back({begin, i, false});
      }
    }
  }
  return values;
}

std::string randomString(std::mt19937& random) {
  static const std::vector<std::string> pieces = {"a",    "Z",  " ",    "{",  "}",    "\\",     "\"",
                                                  "\r\n", "\t", "\xe9", "é",  "\x01", "'",      "''",
                                                  "#",    "=",  "\x7f", "\r", "\n",   "\"\"\"", "\\\n"};
  std::string text;
  for (size_t n = random() % 6; n > 0; --n) text += pieces[random() % pieces.size()];
  if (random() % 5 == 0) text += std::string(100, 'x');
  return text;
}

// Values of the rich configuration's file changed at random, each kept only when the file still loads, give
// configurations with every slot (reserved ones included) away from its default.
TEST(TomlConfigurationTest, RandomConfigurationsComeBackByteForByte) {
  std::string base;
  ASSERT_TRUE(readFileContents("examples/example.qlc", base));
  const std::vector<std::string> numbers = {"0", "1", "-1", "7", "2147483647", "-2147483648", "4294967295"};
  for (unsigned seed = 1; seed <= 12; ++seed) {
    std::mt19937 random(seed);
    std::string text = base;
    const std::vector<Value> values = valuesOf(base);
    for (auto it = values.rbegin(); it != values.rend(); ++it) {  // from the end: positions stay valid
      if (random() % 3 != 0) continue;
      std::string replacement;
      if (it->isString) {
        PortableWriter writer;
        writer.writeString(randomString(random));
        replacement = writer.text();
      } else {
        replacement = numbers[random() % numbers.size()];
        if (random() % 4 == 0) replacement = random() % 2 ? "0.1" : "-2.5e-300";
      }
      std::string changed = text;
      changed.replace(it->begin, it->end - it->begin, replacement);
      Configuration probe;
      if (probe.loadStoredText(changed)) text = changed;
    }
    Configuration loaded;
    ASSERT_TRUE(loaded.loadStoredText(text));
    const std::string canonical = loaded.saveToText();
    SCOPED_TRACE(seed);
    EXPECT_NE(canonical, base);
    EXPECT_EQ(throughToml(canonical), canonical);
  }
}

TEST(TomlConfigurationTest, ExtensionSettingsAndBytesThatAreNotUtf8) {
  Configuration c;
  c.setExtensionSetting("compiler", "c++");
  c.setExtensionSetting("source pages", "on");
  c.setHtmlOutputFile("d\xe9j\xe0/index.html");
  std::string toml;
  EXPECT_EQ(throughToml(c.saveToText(), &toml), c.saveToText());
  EXPECT_NE(toml.find("[extensions]\ncompiler = 'c++'\n'source pages' = 'on'"), std::string::npos) << toml;
  EXPECT_NE(toml.find("html_output_file = { latin1 = 'déjà/index.html' }"), std::string::npos) << toml;
}

TEST(TomlConfigurationTest, HandWrittenFilesAndTheirMistakes) {
  struct Case {
    std::string text;
    std::string error;    // empty: reads
    std::string warning;  // the first warning expected, if any
  };
  const std::vector<Case> cases = {
      {"[output]\nhtml_output_file = 'docs/index.html'\n[document]\ntab_size = 4\n", "", ""},
      {"[metrics]\nmetric_level = 'summary'\n[[comments.tags]]\ntag_name = '@todo'\noperation = 3\n", "", ""},
      {"[document]\nno_such_thing = 1\n", "", "x.toml:2: unknown key document.no_such_thing (ignored)"},
      {"[colours]\nred = 1\n", "", "x.toml:1: unknown key colours (ignored)"},
      {"[[arrangement.children]]\nname = 'A'\ncolour = 'red'\n", "",
       "x.toml:3: unknown key arrangement.children[0].colour (ignored)"},
      {"[output]\nshort_file_names = 'yes'\n", "x.toml:2: output.short_file_names: expected true or false",
       ""},
      {"\n[document]\ntab_size = 4294967296\n",
       "x.toml:3: document.tab_size: expected an integer from -2147483648 to 2147483647", ""},
      {"[metrics]\nclass_min_statements = -1\n",
       "x.toml:2: metrics.class_min_statements: expected an integer from 0 to 4294967295", ""},
      {"[[arrangement.children]]\nkind = 'shelf'\n",
       "x.toml:2: arrangement.children[0].kind: expected one of link_document, insert_document, "
       "symbols_by_file, "
       "classes_by_name, functions_by_name, chapter, text (or a number)",
       ""},
      {"[[sources.files]]\ninclude_subfolders = true\n",
       "x.toml:1: sources.files[0].path: a source entry needs a path", ""},
      {"[output]\nhtml_output_file = { latin1 = '\xe2\x82\xac' }\n",
       "x.toml:2: output.html_output_file.latin1: a character beyond U+00FF cannot stand for a byte", ""},
      {"[output]\nhtml_output_file = 'a'\nhtml_output_file = 'b'\n", "x.toml:3:", ""},
      {"[sources\n", "x.toml:1:", ""},
      {"sources = 3\n", "x.toml:1: sources: expected a table", ""},
      // Characters outside ASCII: in comments and strings of every kind, and nowhere else.
      {"# \xc3\xa9\n[extensions]\na = \"\\\"\xc3\xa9\"\nb = '\xc3\xa9'\nc = '''\n\xc3\xa9'''\n"
       "d = \"\"\"\xc3\xa9\"\"\"\"\" # \xc3\xa9\n",
       "", ""},
      {"[document]\ntab\xc3\xa9 = 1\n", "x.toml:2:4: a character outside ASCII stands outside", ""},
      {"[extensions]\nd = \"\"\"x\"\"\"\"\" \xc8\x97\n", "x.toml:2:15: a character outside ASCII", ""},
      // A table header key that no key character or quote starts (the library asserts on it).
      {"[document]\n  [@[sources.files]]\n", "x.toml:2:4: a key of the table header starts with", ""},
      {"[a . \"b\" . @]\n", "x.toml:1:12: a key of the table header starts with", ""},
      {"[extensions]\nx = [\n  [ { a = 1 } ],\n]\n", "x.toml:2: extensions.x", ""},  // an array, no header
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Configuration configuration;
    const TomlReadResult read = readTomlConfiguration(c.text, "x.toml", configuration);
    EXPECT_EQ(read.ok, c.error.empty());
    EXPECT_EQ(read.error.substr(0, c.error.size()), c.error);
    if (c.error.empty()) {
      EXPECT_EQ(read.error, "");
    }
    if (!c.warning.empty()) {
      ASSERT_FALSE(read.warnings.empty());
      EXPECT_EQ(read.warnings.front(), c.warning);
    }
  }
}

TEST(TomlConfigurationTest, WhatAHandWrittenFileMeans) {
  Configuration c;
  const TomlReadResult read = readTomlConfiguration(
      "[sources]\nfiles = [{ path = 'src/*.cpp', include_subfolders = true }]\n"
      "[arrangement]\nname = 'Docs'\n[[arrangement.children]]\nname = 'Core'\n"
      "[[arrangement.children.children]]\nkind = 'symbols_by_file'\nname = 'src/core.h'\n",
      "x.toml", c);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(c.documentName(), "Docs");
  ASSERT_EQ(c.sourceEntries().size(), 1u);
  EXPECT_TRUE(c.sourceEntries()[0].includeSubfolders);
  ASSERT_EQ(c.arrangement().childCount(), 1u);
  const LayoutItem& core = *c.arrangement().child(0);
  EXPECT_TRUE(core.isChapter());
  ASSERT_EQ(core.childCount(), 1u);
  EXPECT_EQ(core.child(0)->kind(), LayoutItem::kSymbolsByFile);
  EXPECT_EQ(core.child(0)->parent(), &core);
  // Left-out settings keep their defaults, the way a loaded .qlc has them.
  EXPECT_EQ(c.htmlStyle(), "Standard Style");
  EXPECT_EQ(c.tabSize(), 8);
  EXPECT_TRUE(c.linkToHeaders());
  EXPECT_FALSE(c.modified());
}

}  // namespace
}  // namespace quillet
