#include "document/chapter_metrics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/configuration.h"
#include "document/document.h"

namespace quillet {
namespace {

// A function with the given counts; `documented` gives it a declaration comment.
Function function(const std::string& name, int32_t access, int32_t size, int32_t mccabe, int parameters = 0,
                  bool documented = false) {
  Function made;
  made.name = name;
  made.access = access;
  made.size = size;
  made.mccabe = mccabe;
  for (int i = 0; i < parameters; ++i) made.AddArg("int", "int", "p" + std::to_string(i), "", {});
  if (documented)
    made.declarationDoc = DocText("Does " + name + ".", false, DocText::kDeclarationLevel, "a.h");
  return made;
}

Class makeClass(const std::string& name, const std::vector<Function>& members) {
  Class made;
  made.name = name;
  for (const Function& member : members) made.AddFunction(member);
  return made;
}

const MetricCounts& countsOf(const Chapter& chapter) {
  return chapter.metrics().record().counts;
}

std::vector<uint32_t> distributionOf(const Chapter& chapter, MetricDistribution kind) {
  const auto counts = chapter.metrics().record().distribution(kind).counts();
  return {counts.begin(), counts.end()};
}

// The full names of the elements of the list a style sheet sees under `name`.
std::vector<std::string> namesIn(Chapter& chapter, std::string_view name) {
  std::vector<std::string> names;
  StyleSheetObject* list = chapter.GetList(name);
  for (size_t i = 0; list && i < list->Count(); ++i) names.push_back(list->At(i)->FullName());
  return names;
}

using Counts = std::vector<uint32_t>;
using Names = std::vector<std::string>;

class ChapterMetricsTest : public ::testing::Test {
 protected:
  void SetUp() override { setCurrentConfiguration(&configuration); }
  void TearDown() override { setCurrentConfiguration(nullptr); }

  // The document holds Shape and two free functions; its chapter Tools holds Pen and main; Tools' chapter
  // Deep holds helper.
  void buildTree() {
    document.appendClass(makeClass("Shape", {function("area", kAccessPublic, 10, 3, 2, true),
                                             function("grow", kAccessProtected, 0, 0, 1),
                                             function("cache", kAccessPrivate, 5, 1, 0, true)}));
    document.appendFunction(function("parse", kAccessPublic, 4, 0, 1, true));
    document.appendFunction(function("run", kAccessPublic, 0, 2));
    tools = document.appendChapter("Tools");
    tools->appendClass(makeClass(
        "Pen", {function("draw", kAccessPublic, 7, 2, 0, true), function("Pen", kAccessPublic, 0, 0)}));
    tools->appendFunction(function("main", kAccessPublic, 2, 1, 2));
    deep = tools->appendChapter("Deep");
    deep->appendFunction(function("helper", kAccessPublic, 2, 1, 0, true));
  }

  Configuration configuration;
  Document document;
  Chapter* tools = nullptr;
  Chapter* deep = nullptr;
};

TEST_F(ChapterMetricsTest, SumsEachChapterWithItsSubChaptersOnceAndListsItsOwnItems) {
  buildTree();
  tools->computeMetrics();  // a sub-chapter computed first is not counted twice
  document.computeMetrics();
  document.computeMetrics();
  // Classes, functions, parameters, documented functions, functions with statements, function statements
  // and complexity, protected and public members, class complexity and statements.
  EXPECT_EQ(countsOf(*deep), (MetricCounts{0, 1, 0, 1, 1, 2, 1, 0, 0, 0, 0}));
  EXPECT_EQ(countsOf(*tools), (MetricCounts{1, 2, 2, 2, 3, 4, 2, 0, 2, 2, 7}));
  // Private members count for parameters, statements and complexity, not as documented functions.
  EXPECT_EQ(countsOf(document), (MetricCounts{2, 4, 6, 4, 6, 8, 4, 1, 3, 6, 22}));
  EXPECT_EQ(document.metrics().record().counts.totalStatements(), 30u);
  EXPECT_EQ(document.metrics().record().counts.totalFunctions(), 8u);  // private members left out

  EXPECT_EQ(distributionOf(document, MetricDistribution::kClassPublicMembers), (Counts{0, 1, 1}));
  const Counts statements = distributionOf(document, MetricDistribution::kClassStatements);
  EXPECT_TRUE(statements.size() == 16 && statements[15] == 1 && statements[7] == 1);  // Shape and Pen
  EXPECT_EQ(distributionOf(document, MetricDistribution::kClassComplexity), (Counts{0, 0, 1, 0, 1}));
  EXPECT_EQ(distributionOf(document, MetricDistribution::kFunctionStatements), (Counts{1, 0, 2, 0, 1}));
  // parse, of complexity 0, has no place in the complexity distribution.
  EXPECT_EQ(distributionOf(document, MetricDistribution::kFunctionComplexity), (Counts{0, 2, 1}));
  EXPECT_EQ(distributionOf(*deep, MetricDistribution::kClassStatements), Counts{});

  // Without thresholds every chapter lists all its own classes and functions.
  EXPECT_EQ(namesIn(document, "metric_class_list"), (Names{"Shape"}));
  EXPECT_EQ(namesIn(document, "metric_function_list"), (Names{"parse", "run"}));
  EXPECT_EQ(namesIn(*tools, "metric_class_list"), (Names{"Pen"}));
  EXPECT_EQ(namesIn(*deep, "metric_function_list"), (Names{"helper"}));
}

TEST_F(ChapterMetricsTest, AClassIsListedOnlyAboveASetThreshold) {
  document.appendClass(makeClass("Exact", {function("f", kAccessPublic, 100, 1)}));
  document.appendClass(
      makeClass("Above", {function("f", kAccessPublic, 60, 1), function("g", kAccessPrivate, 41, 1)}));
  document.appendClass(
      makeClass("Busy", {function("f", kAccessPublic, 1, 1), function("g", kAccessPublic, 1, 1),
                         function("h", kAccessPublic, 1, 1)}));
  document.appendClass(makeClass("Tangled", {function("f", kAccessProtected, 1, 9)}));
  configuration.setClassMinStatements(100);
  configuration.setClassMinPublicFunctions(2);
  configuration.setClassMinComplexity(8);
  document.computeMetrics();
  // Exact has 100 statements, one public function and complexity 1: equal to a threshold is not above it.
  EXPECT_EQ(namesIn(document, "metric_class_list"), (Names{"Above", "Busy", "Tangled"}));
}

TEST_F(ChapterMetricsTest, AFunctionIsListedOnlyAboveASetThresholdAndMembersOfShownAccessFollowWhenAsked) {
  document.appendClass(
      makeClass("Shape", {function("area", kAccessPublic, 30, 1), function("grow", kAccessProtected, 30, 1),
                          function("cache", kAccessPrivate, 30, 1), function("tiny", kAccessPublic, 20, 5)}));
  document.appendFunction(function("exact", kAccessPublic, 20, 5));
  document.appendFunction(function("long", kAccessPublic, 21, 1));
  document.appendFunction(function("tangled", kAccessPublic, 1, 6));
  configuration.setFunctionMinStatements(20);
  configuration.setFunctionMinComplexity(5);
  configuration.setMetricsShowMemberFunctions(true);
  configuration.setDocumentProtected(true);
  document.computeMetrics();
  EXPECT_EQ(namesIn(document, "metric_function_list"),
            (Names{"long", "tangled", "Shape::area", "Shape::grow"}));
}

TEST(DistributionTest, CountsAnAbsurdValueAtTheLargestValueKept) {
  Distribution huge;
  huge.count(UINT32_MAX);
  EXPECT_EQ(huge.size(), size_t{Distribution::kLargestValue} + 1);
  EXPECT_EQ(huge.counts().back(), 1u);
}

}  // namespace
}  // namespace quillet
