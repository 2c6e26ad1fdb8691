#include "document/metric_properties.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "common/file_services.h"
#include "config/configuration.h"
#include "document/document.h"
#include "stylesheet/evaluation_context.h"
#include "stylesheet/link_index.h"
#include "stylesheet/style_sheet.h"
#include "stylesheet/style_sheet_eval_to_dictionary.h"
#include "stylesheet/style_sheet_eval_to_file.h"
#include "stylesheet/style_sheet_filter.h"
#include "support/temp_tree.h"

namespace quillet {
namespace {

std::string figure(std::string_view name, const MetricRecord& own, const MetricRecord& all) {
  std::ostringstream out;
  if (!writeMetricFigure(name, own, all, out)) return "<unknown>";
  return out.str();
}

TEST(MetricFormatTest, StatementsFromTenThousandOnAreWholeThousands) {
  EXPECT_EQ(formatStatements(0), "0");
  EXPECT_EQ(formatStatements(9999), "9999");
  EXPECT_EQ(formatStatements(10000), "10K");
  EXPECT_EQ(formatStatements(25600), "25K");
}

TEST(MetricFormatTest, FixedPointNumbersAreRoundedAndNeverNegativeZero) {
  EXPECT_EQ(formatFixed(2.75, 0), "3");
  EXPECT_EQ(formatFixed(3.5, 1), "3.5");
  EXPECT_EQ(formatFixed(2, 1), "2.0");
  EXPECT_EQ(formatFixed(-25, 0), "-25");
  EXPECT_EQ(formatFixed(-0.3, 0), "0");
  EXPECT_EQ(formatFixed(-0.04, 1), "0.0");
}

// A chapter holding a quarter of a document's classes, with averages of its own.
class MetricFigureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MetricCounts& c = own.counts;
    c.classes = 1;
    c.functions = 1;
    c.parameters = 7;
    c.documentedFunctions = 1;
    c.functionsWithStatements = 3;
    c.functionStatements = 4;
    c.functionComplexity = 2;
    c.protectedMembers = 0;
    c.publicMembers = 1;
    c.classComplexity = 3;
    c.classStatements = 30;
    MetricCounts& a = all.counts;
    a.classes = 4;
    a.functions = 3;
    a.parameters = 12;
    a.documentedFunctions = 4;
    a.functionsWithStatements = 8;
    a.functionStatements = 11;
    a.functionComplexity = 5;
    a.protectedMembers = 0;
    a.publicMembers = 5;
    a.classComplexity = 12;
    a.classStatements = 40;
  }

  MetricRecord own;
  MetricRecord all;
};

TEST_F(MetricFigureTest, CountsAndSharesOfTheWholeDocument) {
  EXPECT_EQ(figure("metric_total_class", own, all), "1");
  EXPECT_EQ(figure("metric_percent_class", own, all), "25");
  EXPECT_EQ(figure("metric_total_loc", own, all), "34");
  EXPECT_EQ(figure("metric_percent_loc", own, all), "67");  // 34 of 51, rounded
  EXPECT_EQ(figure("metric_total_function", own, all), "1");
  EXPECT_EQ(figure("metric_percent_function", own, all), "33");
  all.counts.classes = 3;  // 100 / 3 is cut, not rounded
  all.counts.functions = 2;
  EXPECT_EQ(figure("metric_percent_class", own, all), "33");
  EXPECT_EQ(figure("metric_percent_function", own, all), "50");
  own.counts.classStatements = 25596;
  EXPECT_EQ(figure("metric_total_loc", own, all), "25K");
  EXPECT_EQ(figure("metric_unknown", own, all), "<unknown>");
}

TEST_F(MetricFigureTest, AveragesWithAndWithoutADecimal) {
  EXPECT_EQ(figure("metric_ave_class_loc", own, all), "30");
  EXPECT_EQ(figure("metric_ave_class_mccabe", own, all), "3");
  EXPECT_EQ(figure("metric_ave_public_member", own, all), "1");
  EXPECT_EQ(figure("metric_ave_protected_member", own, all), "0");
  EXPECT_EQ(figure("metric_ave_parameters", own, all), "3.5");     // 7 over 1 free and 1 public member
  EXPECT_EQ(figure("metric_ave_function_loc", own, all), "11.3");  // 34 statements over 3 functions
  EXPECT_EQ(figure("metric_functions_doc", own, all), "50");
  EXPECT_EQ(figure("metric_ave_class_loc", all, all), "10");
  EXPECT_EQ(figure("metric_ave_parameters", all, all), "1.5");
  EXPECT_EQ(figure("metric_ave_function_loc", all, all), "6.4");  // 51 over 8
}

TEST_F(MetricFigureTest, DeviationsFromTheDocumentsAverages) {
  EXPECT_EQ(figure("metric_percent_class_loc", own, all), "200");      // 30 against 10
  EXPECT_EQ(figure("metric_percent_class_mccabe", own, all), "0");     // 3 against 3
  EXPECT_EQ(figure("metric_percent_public_member", own, all), "-20");  // 1 against 1.25
  EXPECT_EQ(figure("metric_percent_parameters", own, all), "133");     // 3.5 against 1.5
  EXPECT_EQ(figure("metric_percent_function_loc", own, all), "78");    // 11.33 against 6.375
  EXPECT_EQ(figure("metric_percent_functions_doc", own, all), "0");    // 50 against 50
  // Against an average of 0 every deviation is 0.
  EXPECT_EQ(figure("metric_percent_protected_member", own, all), "0");
  own.counts.protectedMembers = 2;
  EXPECT_EQ(figure("metric_percent_protected_member", own, all), "0");
}

TEST_F(MetricFigureTest, AChapterWithoutClassesOrFunctionsWritesZeroForEveryRatio) {
  const MetricRecord empty;
  for (const char* name :
       {"metric_percent_class", "metric_percent_loc", "metric_percent_function", "metric_ave_class_loc",
        "metric_ave_class_mccabe", "metric_ave_public_member", "metric_ave_protected_member",
        "metric_functions_doc", "metric_percent_class_loc", "metric_percent_class_mccabe",
        "metric_percent_public_member", "metric_percent_protected_member", "metric_percent_functions_doc",
        "metric_percent_parameters", "metric_percent_function_loc"}) {
    EXPECT_EQ(figure(name, empty, all), "0") << name;
    EXPECT_EQ(figure(name, empty, empty), "0") << name;
  }
  EXPECT_EQ(figure("metric_ave_parameters", empty, all), "0.0");
  EXPECT_EQ(figure("metric_ave_function_loc", empty, empty), "0.0");
}

// A document of two chapters with metrics, written to HTML in a temporary output folder.
class MetricChartPropertyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setCurrentConfiguration(&configuration);
    configuration.setHtmlOutputFile("/somewhere/index.html");
    resetOutputFileNames();
    context.filter = &filter;
    context.outputFolder = tree.root();

    Class shape;
    shape.name = "Shape";
    Function member;
    member.size = 3;
    shape.AddFunction(member);
    shape.AddFunction(member);
    document.appendClass(shape);
    Function free;
    free.mccabe = 0;  // no complexity: nothing for the complexity chart
    document.appendFunction(free);
    empty = document.appendChapter("Empty Part");
    document.computeMetrics();
  }
  void TearDown() override {
    setCurrentConfiguration(nullptr);
    resetOutputFileNames();
  }

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
  TempTree tree;
  Document document;
  Chapter* empty = nullptr;
};

TEST_F(MetricChartPropertyTest, ChartsAreWrittenUnderTheChaptersFileName) {
  EXPECT_EQ(property(document, "metric_class_dist_fname"), "index_metnpub.png");
  EXPECT_EQ(property(document, "metric_class_loc_dist_fname"), "index_metloc.png");
  EXPECT_EQ(property(document, "metric_class_mccabe_dist_fname"), "index_metcplx.png");
  EXPECT_EQ(property(document, "metric_function_loc_dist_fname"), "index_metfloc.Png");
  for (const char* file :
       {"index_metnpub.png", "index_metloc.png", "index_metcplx.png", "index_metfloc.Png"}) {
    EXPECT_TRUE(std::filesystem::exists(tree.path(file))) << file;
  }
  // No function has a complexity: that chart is neither named nor drawn.
  EXPECT_EQ(property(document, "metric_function_mccabe_dist_fname"), "");
  EXPECT_FALSE(std::filesystem::exists(tree.path("index_metfcplx.Png")));
  EXPECT_EQ(property(*empty, "metric_class_dist_fname"), "");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tree.root()), {}), 4);
}

TEST_F(MetricChartPropertyTest, AChartIsDrawnOnceHoweverOftenItIsNamed) {
  EXPECT_EQ(property(document, "metric_class_loc_dist_fname"), "index_metloc.png");
  std::filesystem::remove(tree.path("index_metloc.png"));
  EXPECT_EQ(property(document, "metric_class_loc_dist_fname"), "index_metloc.png");
  EXPECT_FALSE(std::filesystem::exists(tree.path("index_metloc.png")));
}

TEST_F(MetricChartPropertyTest, AFolderThatCannotBeWrittenStillGetsTheName) {
  context.outputFolder = tree.root() + "missing/";
  EXPECT_EQ(property(document, "metric_class_dist_fname"), "index_metnpub.png");
  EXPECT_FALSE(std::filesystem::exists(tree.path("missing")));
}

TEST_F(MetricChartPropertyTest, TestsTellWhetherAChartShowsMoreThanOneBarPosition) {
  EXPECT_EQ(test(document, "metric_class_dist_fname"), 1);            // a class of 2 public members: 0 to 2
  EXPECT_EQ(test(document, "metric_class_loc_dist_fname"), 1);        // values 0 to 6
  EXPECT_EQ(test(document, "metric_function_loc_dist_fname"), 0);     // one function of 0 statements
  EXPECT_EQ(test(document, "metric_function_mccabe_dist_fname"), 0);  // empty
  EXPECT_EQ(test(*empty, "metric_class_dist_fname"), 0);
  int32_t value = 0;
  EXPECT_FALSE(document.Test("metric_total_class", value));
  EXPECT_EQ(test(*empty, "level"), 2);
}

TEST_F(MetricChartPropertyTest, OnlyTheFilePassDrawsCharts) {
  const StyleSheet sheet = StyleSheet::fromText(
      "t.html", "[metric_class_dist_fname_] [metric_total_class_] [metric_percent_class_]");
  LinkIndex links;
  ObjectStack stack{&document};
  StyleSheetEvalToDictionary(tree.root() + "index.html", sheet, links, tree.root(), filter).evaluate(stack);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tree.root()), {}), 0);

  std::ostringstream out;
  StyleSheetEvalToFile(out, tree.root() + "index.html", sheet, links, tree.root(), filter).evaluate(stack);
  EXPECT_EQ(out.str(), "[index_metnpub.png] [1] [100]");
  EXPECT_TRUE(std::filesystem::exists(tree.path("index_metnpub.png")));
}

}  // namespace
}  // namespace quillet
