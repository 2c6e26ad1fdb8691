#include "document/metric_properties.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "common/file_services.h"
#include "config/configuration.h"
#include "document/document.h"
#include "stylesheet/link_index.h"
#include "stylesheet/style_sheet.h"
#include "stylesheet/style_sheet_eval_to_dictionary.h"
#include "stylesheet/style_sheet_eval_to_file.h"
#include "support/temp_tree.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {
namespace {

TEST(MetricFormatTest, ThousandsOfStatementsAndRoundedFixedPoint) {
  EXPECT_EQ(formatStatements(9999), "9999");
  EXPECT_EQ(formatStatements(10000), "10K");
  EXPECT_EQ(formatStatements(25600), "25K");
  EXPECT_EQ(formatFixed(2.75, 0), "3");
  EXPECT_EQ(formatFixed(2, 1), "2.0");
  EXPECT_EQ(formatFixed(-25, 0), "-25");
  EXPECT_EQ(formatFixed(-0.3, 0), "0");  // never "-0"
  EXPECT_EQ(formatFixed(-0.04, 1), "0.0");
}

// The figures of a chapter (own) in a document (all), in the record's order: classes, functions,
// parameters, documented functions, functions with statements, function statements, function complexity,
// protected members, public members, class complexity, class statements.
class MetricFigureTest : public ::testing::Test {
 protected:
  std::string figure(std::string_view name) {
    std::ostringstream out;
    return writeMetricFigure(name, own, all, out) ? out.str() : "<unknown>";
  }

  MetricRecord own{{1, 1, 7, 1, 3, 4, 2, 0, 1, 3, 30}, {}};
  MetricRecord all{{4, 3, 12, 4, 8, 11, 5, 0, 5, 12, 40}, {}};
};

TEST_F(MetricFigureTest, CountsSharesAndAverages) {
  EXPECT_EQ(figure("metric_total_class"), "1");
  EXPECT_EQ(figure("metric_percent_class"), "25");
  EXPECT_EQ(figure("metric_total_loc"), "34");
  EXPECT_EQ(figure("metric_percent_loc"), "67");  // 34 of 51, rounded
  EXPECT_EQ(figure("metric_total_function"), "1");
  EXPECT_EQ(figure("metric_percent_function"), "33");
  EXPECT_EQ(figure("metric_ave_class_loc"), "30");
  EXPECT_EQ(figure("metric_ave_class_mccabe"), "3");
  EXPECT_EQ(figure("metric_ave_public_member"), "1");
  EXPECT_EQ(figure("metric_ave_protected_member"), "0");
  EXPECT_EQ(figure("metric_ave_parameters"), "3.5");     // 7 over one free and one public member function
  EXPECT_EQ(figure("metric_ave_function_loc"), "11.3");  // 34 statements over 3 functions with statements
  EXPECT_EQ(figure("metric_functions_doc"), "50");
  EXPECT_EQ(figure("metric_unknown"), "<unknown>");
  all.counts.classes = 3;  // 100 / 3 is cut, not rounded
  EXPECT_EQ(figure("metric_percent_class"), "33");
  own.counts.classStatements = 25596;
  EXPECT_EQ(figure("metric_total_loc"), "25K");
}

TEST_F(MetricFigureTest, DeviationsFromTheDocumentsAverages) {
  EXPECT_EQ(figure("metric_percent_class_loc"), "200");      // 30 against 10
  EXPECT_EQ(figure("metric_percent_class_mccabe"), "0");     // 3 against 3
  EXPECT_EQ(figure("metric_percent_public_member"), "-20");  // 1 against 1.25
  EXPECT_EQ(figure("metric_percent_parameters"), "133");     // 3.5 against 1.5
  EXPECT_EQ(figure("metric_percent_function_loc"), "78");    // 11.33 against 6.375
  EXPECT_EQ(figure("metric_percent_functions_doc"), "0");    // 50 against 50
  own.counts.protectedMembers = 2;
  EXPECT_EQ(figure("metric_percent_protected_member"), "0");  // against an average of 0
}

TEST_F(MetricFigureTest, AChapterWithoutClassesOrFunctionsWritesZeroForEveryRatio) {
  own = MetricRecord{};
  for (const char* name :
       {"metric_percent_class", "metric_percent_loc", "metric_percent_function", "metric_ave_class_loc",
        "metric_ave_class_mccabe", "metric_ave_public_member", "metric_functions_doc",
        "metric_percent_class_loc", "metric_percent_class_mccabe", "metric_percent_public_member",
        "metric_percent_functions_doc", "metric_percent_parameters", "metric_percent_function_loc"}) {
    EXPECT_EQ(figure(name), "0") << name;
  }
  EXPECT_EQ(figure("metric_ave_parameters"), "0.0");
  all = MetricRecord{};
  EXPECT_EQ(figure("metric_percent_loc"), "0");
}

// A document with one class of two public members of 3 statements and one free function of neither
// statements nor complexity, written to HTML in a temporary output folder.
class MetricChartPropertyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setCurrentConfiguration(&configuration);
    configuration.setHtmlOutputFile("/somewhere/index.html");
    resetOutputFileNames();
    context.filter = &filter;
    context.outputFolder = tree.root();
    Class shape;
    Function member;
    member.size = 3;
    shape.AddFunction(member);
    shape.AddFunction(member);
    document.appendClass(shape);
    document.appendFunction(Function());
    empty = document.appendChapter("Empty Part");
    document.computeMetrics();
  }
  void TearDown() override { setCurrentConfiguration(nullptr); }

  std::string property(StyleSheetObject& object, std::string_view name) {
    std::ostringstream out;
    EXPECT_TRUE(object.WriteProperty(context, name, out)) << name;
    return out.str();
  }
  int32_t test(const StyleSheetObject& object, std::string_view name) {
    int32_t value = -1;
    return object.Test(name, value) ? value : -1;
  }
  size_t filesWritten() const { return std::distance(std::filesystem::directory_iterator(tree.root()), {}); }

  Configuration configuration;
  HTMLStyleSheetFilter filter;
  EvaluationContext context;
  TempTree tree;
  Document document;
  Chapter* empty = nullptr;
};

TEST_F(MetricChartPropertyTest, ChartsAreDrawnOnceUnderTheChaptersFileNameAndEmptyOnesNotAtAll) {
  context.outputFolder = tree.root() + "missing/";  // a file that cannot be opened: the name all the same
  EXPECT_EQ(property(document, "metric_class_mccabe_dist_fname"), "index_metcplx.png");
  context.outputFolder = tree.root();
  EXPECT_EQ(property(document, "metric_class_dist_fname"), "index_metnpub.png");
  EXPECT_EQ(property(document, "metric_class_loc_dist_fname"), "index_metloc.png");
  EXPECT_EQ(property(document, "metric_function_loc_dist_fname"), "index_metfloc.Png");
  EXPECT_EQ(property(document, "metric_function_mccabe_dist_fname"), "");  // no function has complexity
  EXPECT_EQ(property(*empty, "metric_class_dist_fname"), "");
  EXPECT_EQ(filesWritten(), 3u);
  EXPECT_TRUE(std::filesystem::exists(tree.path("index_metfloc.Png")));

  // The tests tell whether a chart shows more than one bar position.
  EXPECT_EQ(test(document, "metric_class_dist_fname"), 1);         // 0 to 2 public members
  EXPECT_EQ(test(document, "metric_function_loc_dist_fname"), 0);  // one function of 0 statements
  EXPECT_EQ(test(*empty, "metric_class_loc_dist_fname"), 0);
  EXPECT_EQ(test(document, "metric_total_class"), -1);  // figures are properties only

  std::filesystem::remove(tree.path("index_metloc.png"));
  EXPECT_EQ(property(document, "metric_class_loc_dist_fname"), "index_metloc.png");
  EXPECT_FALSE(std::filesystem::exists(tree.path("index_metloc.png")));  // not drawn again
}

TEST_F(MetricChartPropertyTest, OnlyTheFilePassDrawsCharts) {
  const StyleSheet sheet =
      StyleSheet::fromText("t.html", "[metric_class_dist_fname_] [metric_percent_class_]");
  LinkIndex links;
  ObjectStack stack{&document};
  StyleSheetEvalToDictionary(tree.root() + "index.html", sheet, links, tree.root(), filter).evaluate(stack);
  EXPECT_EQ(filesWritten(), 0u);
  std::ostringstream out;
  StyleSheetEvalToFile(out, tree.root() + "index.html", sheet, links, tree.root(), filter).evaluate(stack);
  EXPECT_EQ(out.str(), "[index_metnpub.png] [100]");
  EXPECT_EQ(filesWritten(), 1u);
}

}  // namespace
}  // namespace quillet
