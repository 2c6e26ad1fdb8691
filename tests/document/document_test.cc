#include "document/document.h"

#include <gtest/gtest.h>

#include <sstream>

#include "common/file_services.h"
#include "config/configuration.h"
#include "support/memory_tree.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {
namespace {

// An HTML evaluation context over an output folder, with the configuration published.
class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setCurrentConfiguration(&configuration);
    context.filter = &filter;
    context.outputFolder = "/out/html/";
    resetOutputFileNames();
  }
  void TearDown() override { setCurrentConfiguration(nullptr); }

  std::string property(StyleSheetObject& object, std::string_view name) {
    std::ostringstream out;
    EXPECT_TRUE(object.WriteProperty(context, name, out)) << name;
    return out.str();
  }
  int32_t test(const StyleSheetObject& object, std::string_view name) {
    int32_t value = -1;
    EXPECT_TRUE(object.Test(name, value)) << name;
    return value;
  }

  Configuration configuration;
  HTMLStyleSheetFilter filter;
  EvaluationContext context;
};

TEST_F(DocumentTest, ChaptersKnowTheirLevelAnchorAndFile) {
  configuration.setHtmlOutputFile("doc/index.html");
  configuration.setRtfOutputFile("print/manual.doc");
  Document document;
  document.setName("My Lib");
  Chapter* outer = document.appendChapter("Core & Utils");
  Chapter* inner = outer->appendChapter("Strings v2.0");

  EXPECT_EQ(test(document, "level"), 1);
  EXPECT_EQ(test(*outer, "level"), 2);
  EXPECT_EQ(test(*inner, "level"), 3);
  EXPECT_EQ(document.AnchorName(), "chp_My_Lib");
  EXPECT_EQ(inner->AnchorName(), "chp_My_Lib_Core___Utils_Strings_v2_0");
  EXPECT_EQ(document.FileName(context), "index");
  EXPECT_EQ(inner->FileName(context), "index_Core___Utils_Strings_v2_0");
  EXPECT_EQ(inner->FileName(context), "index_Core___Utils_Strings_v2_0");  // the same name when asked again
  EXPECT_GT(inner->number(), outer->number());

  EXPECT_EQ(property(*inner, "document_name"), "My Lib");
  EXPECT_EQ(property(*outer, "name"), "Core &amp; Utils");
  EXPECT_EQ(property(document, "version"), "2.1h");
  EXPECT_FALSE(property(document, "date").empty());
  EXPECT_EQ(inner->GetList("parent"), outer);
  EXPECT_EQ(document.GetList("parent"), nullptr);
  EXPECT_EQ(document.GetList("chapter_list")->Count(), 1u);
  EXPECT_EQ(document.GetList("chapter_list")->At(0), outer);
  EXPECT_EQ(document.TypeName(), "chapter");

  // The document's file name follows the output format.
  RTFStyleSheetFilter rtf;
  rtf.setFormat(kRtfFormat);
  context.filter = &rtf;
  EXPECT_EQ(document.FileName(context), "manual");
}

TEST_F(DocumentTest, OptionsAnswerFromTheConfiguration) {
  Document document;
  StyleSheetObject* options = document.GetList("options");
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(options->TypeName(), "options");
  const std::vector<std::tuple<int, int, int, int>> levels = {{0, 1, 0, 1}, {1, 1, 1, 0}, {2, 0, 0, 0}};
  for (const auto& [level, enabled, summary, all] : levels) {
    configuration.setMetricLevel(level);
    EXPECT_EQ(test(*options, "metrics_enabled"), enabled) << level;
    EXPECT_EQ(test(*options, "metrics_summary"), summary) << level;
    EXPECT_EQ(test(*options, "metrics_all"), all) << level;
  }
  configuration.setDocumentProtected(true);
  EXPECT_EQ(test(*options, "document_protected"), 1);
  EXPECT_EQ(test(*options, "document_private"), 0);
  EXPECT_EQ(test(*options, "link_to_headers"), 1);
  int32_t value = 0;
  EXPECT_FALSE(options->Test("no_such_option", value));
}

TEST_F(DocumentTest, ExternalDocumentsNameThemselvesByTitleOrFile) {
  ExternalDocument untitled = ExternalDocument::link("", "/out/docs/Read Me.pdf");
  EXPECT_EQ(property(untitled, "name"), "/out/docs/Read Me.pdf");
  EXPECT_EQ(untitled.FullName(), "Read Me.pdf");
  EXPECT_EQ(untitled.AnchorName(), "d_Read_Me_pdf");
  EXPECT_EQ(property(untitled, "html_url"), "../docs/Read Me.pdf");
  EXPECT_EQ(test(untitled, "link"), 1);
  EXPECT_EQ(test(untitled, "text"), 0);
  EXPECT_EQ(test(untitled, "filename"), 1);

  ExternalDocument embedded = ExternalDocument::inserted("Intro", "", DocText("hello world", true, 1, ""));
  EXPECT_EQ(property(embedded, "name"), "Intro");
  EXPECT_EQ(test(embedded, "text"), 1);
  EXPECT_EQ(test(embedded, "filename"), 0);
  EXPECT_NE(property(embedded, "text").find("world"), std::string::npos);

  ExternalDocument elsewhere = ExternalDocument::link("Design", "C:\\notes\\api.doc");
  EXPECT_EQ(property(elsewhere, "html_url"), "file:///C:\\notes\\api.doc");
}

TEST_F(DocumentTest, LinkedDocumentsAreCopiedIntoTheSiteAndReferencedSafely) {
  MemoryTree tree;
  const std::string source = tree.write("doc/Q&A \"new\".txt", "questions");
  tree.files.addFolder(tree.path("out"));
  context.outputFolder = tree.path("out/");
  ExternalDocument linked = ExternalDocument::link("Questions", source);
  EXPECT_EQ(property(linked, "html_url"), "../doc/Q&amp;A &quot;new&quot;.txt");
  EXPECT_EQ(property(linked, "site_url"), "doc__t_doc_Q_A__new_.txt");
  EXPECT_EQ(tree.files.file(tree.path("out/doc__t_doc_Q_A__new_.txt")), "questions");
  ExternalDocument nameless = ExternalDocument::link("None", "");
  EXPECT_EQ(property(nameless, "site_url"), "");
}

// A model element called `name` declared in `file`.
template <typename Model>
Model named(const std::string& name, const std::string& file) {
  Model made;
  made.name = name;
  made.file = file;
  return made;
}

std::vector<std::string> namesOf(StyleSheetObject* list) {
  std::vector<std::string> names;
  for (size_t i = 0; i < list->Count(); ++i) names.push_back(list->At(i)->FullName());
  return names;
}

TEST_F(DocumentTest, SortingOrdersChaptersAndFillsTheGlobalLists) {
  Document document;
  document.appendClass(named<Class>("Zeta", "z.h"));
  Chapter* first = document.appendChapter("First");
  first->appendClass(named<Class>("beta", "b.h"));
  first->appendClass(named<Class>("Alpha", "a.h"));
  first->appendFunction(named<Function>("run", "a.h"));
  first->appendFunction(named<Function>("Stop", "b.h"));
  Chapter* inner = first->appendChapter("Inner");
  inner->appendClass(named<Class>("Gamma", "a.h"));

  document.sort();

  // Names compare byte by byte: every capital before every small letter.
  EXPECT_EQ(namesOf(first->GetList("class_list")), (std::vector<std::string>{"Alpha", "beta"}));
  EXPECT_EQ(namesOf(document.GetList("global_class_list")),
            (std::vector<std::string>{"Alpha", "Gamma", "Zeta", "beta"}));
  EXPECT_EQ(document.GetList("global_function_list")->Count(), 2u);
  EXPECT_EQ(namesOf(document.GetList("global_chapter_list")),
            (std::vector<std::string>{"Class Dictionary", "First", "Inner"}));
  EXPECT_EQ(document.declaringFiles(), (std::unordered_set<std::string>{"a.h", "b.h", "z.h"}));
}

TEST_F(DocumentTest, FileIndexListsEachFileWithWhatItDeclares) {
  Document document;
  document.appendClass(named<Class>("Widget", "src\\ui\\widget.h"));
  document.appendFunction(named<Function>("draw", "src\\ui\\widget.h"));
  document.appendClass(named<Class>("Point", "geo.h"));
  document.sort();
  const std::string index = property(document, "html_file_index");
  EXPECT_EQ(index.find("<UL>\n<LI>"), 0u);
  EXPECT_NE(index.find("#src_ui_widget_h"), std::string::npos);
  EXPECT_NE(index.find("<HR><H3>"), std::string::npos);
  // Without a link index the symbols are named, not linked; each file's symbols follow its heading.
  const size_t heading = index.find("widget.h</A></H3>");
  ASSERT_NE(heading, std::string::npos) << index;
  EXPECT_LT(heading, index.find("<LI>Widget"));
  EXPECT_LT(index.find("<LI>Widget"), index.find("<LI>draw"));
  EXPECT_LT(index.find("geo.h</A></H3>"), heading);  // files in name order
}

}  // namespace
}  // namespace quillet
