#include "document/chapter_metrics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/configuration.h"
#include "document/document.h"

namespace quillet {
namespace {

// A function with the given counts; `documented` gives it a declaration comment.
Function function(const std::string& name, int32_t access, int32_t size, int32_t mccabe, int parameters,
                  bool documented) {
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
  made.classType = "class";
  for (const Function& member : members) made.AddFunction(member);
  return made;
}

std::vector<uint32_t> countsOf(const ChapterMetrics& metrics, MetricDistribution kind) {
  const auto counts = metrics.record().distribution(kind).counts();
  return {counts.begin(), counts.end()};
}

// The full names of the elements of the list a style sheet sees under `name`.
std::vector<std::string> namesIn(Chapter& chapter, std::string_view name) {
  std::vector<std::string> names;
  StyleSheetObject* list = chapter.GetList(name);
  if (!list) return {"<no list>"};
  for (size_t i = 0; i < list->Count(); ++i) names.push_back(list->At(i)->FullName());
  return names;
}

class ChapterMetricsTest : public ::testing::Test {
 protected:
  void SetUp() override { setCurrentConfiguration(&configuration); }
  void TearDown() override { setCurrentConfiguration(nullptr); }

  Configuration configuration;
  Document document;
};

// The document holds Shape and two free functions; its chapter Tools holds Pen and main, and Tools' own
// chapter Deep holds helper.
class ChapterTreeTest : public ChapterMetricsTest {
 protected:
  void SetUp() override {
    ChapterMetricsTest::SetUp();
    document.appendClass(makeClass("Shape", {function("area", kAccessPublic, 10, 3, 2, true),
                                             function("grow", kAccessProtected, 0, 0, 1, false),
                                             function("cache", kAccessPrivate, 5, 1, 0, true)}));
    document.appendFunction(function("parse", kAccessPublic, 4, 0, 1, true));
    document.appendFunction(function("run", kAccessPublic, 0, 2, 0, false));
    tools = document.appendChapter("Tools");
    tools->appendClass(makeClass("Pen", {function("draw", kAccessPublic, 7, 2, 0, true),
                                         function("Pen", kAccessPublic, 0, 0, 0, false)}));
    tools->appendFunction(function("main", kAccessPublic, 2, 1, 2, false));
    deep = tools->appendChapter("Deep");
    deep->appendFunction(function("helper", kAccessPublic, 2, 1, 0, true));
  }

  Chapter* tools = nullptr;
  Chapter* deep = nullptr;
};

TEST_F(ChapterTreeTest, SumsTheChapterAndEverySubChapter) {
  document.computeMetrics();

  const MetricCounts& tools_counts = tools->metrics().record().counts;
  EXPECT_EQ(tools_counts.classes, 1u);
  EXPECT_EQ(tools_counts.functions, 2u);  // main, and helper of Deep
  EXPECT_EQ(tools_counts.parameters, 2u);
  EXPECT_EQ(tools_counts.documentedFunctions, 2u);
  EXPECT_EQ(tools_counts.functionsWithStatements, 3u);
  EXPECT_EQ(tools_counts.publicMembers, 2u);
  EXPECT_EQ(tools_counts.classStatements, 7u);

  const MetricCounts& all = document.metrics().record().counts;
  EXPECT_EQ(all.classes, 2u);
  EXPECT_EQ(all.functions, 4u);
  EXPECT_EQ(all.parameters, 6u);               // private members' parameters count too
  EXPECT_EQ(all.documentedFunctions, 4u);      // area, parse, draw, helper: not the private cache
  EXPECT_EQ(all.functionsWithStatements, 6u);  // the private cache among them
  EXPECT_EQ(all.functionStatements, 8u);
  EXPECT_EQ(all.functionComplexity, 4u);
  EXPECT_EQ(all.protectedMembers, 1u);
  EXPECT_EQ(all.publicMembers, 3u);
  EXPECT_EQ(all.classComplexity, 6u);
  EXPECT_EQ(all.classStatements, 22u);
  EXPECT_EQ(all.totalStatements(), 30u);
  EXPECT_EQ(all.totalFunctions(), 8u);  // 4 free, 3 public and 1 protected member functions
}

TEST_F(ChapterTreeTest, DistributionsCountEachClassAndFreeFunctionByValue) {
  document.computeMetrics();
  EXPECT_EQ(countsOf(document.metrics(), MetricDistribution::kClassPublicMembers),
            (std::vector<uint32_t>{0, 1, 1}));
  const std::vector<uint32_t> statements = countsOf(document.metrics(), MetricDistribution::kClassStatements);
  ASSERT_EQ(statements.size(), 16u);  // Shape's 15 (the private member's included) and Pen's 7
  EXPECT_EQ(statements[15], 1u);
  EXPECT_EQ(statements[7], 1u);
  EXPECT_EQ(countsOf(document.metrics(), MetricDistribution::kClassComplexity),
            (std::vector<uint32_t>{0, 0, 1, 0, 1}));
  EXPECT_EQ(countsOf(document.metrics(), MetricDistribution::kFunctionStatements),
            (std::vector<uint32_t>{1, 0, 2, 0, 1}));
  // parse, of complexity 0, has no place in the complexity distribution.
  EXPECT_EQ(countsOf(document.metrics(), MetricDistribution::kFunctionComplexity),
            (std::vector<uint32_t>{0, 2, 1}));
  EXPECT_EQ(countsOf(deep->metrics(), MetricDistribution::kFunctionComplexity),
            (std::vector<uint32_t>{0, 1}));
  EXPECT_TRUE(deep->metrics().record().distribution(MetricDistribution::kClassStatements).counts().empty());
}

TEST_F(ChapterTreeTest, ComputesEachChapterOnce) {
  tools->computeMetrics();  // a sub-chapter computed first is not counted again
  document.computeMetrics();
  document.computeMetrics();
  EXPECT_EQ(document.metrics().record().counts.classes, 2u);
  EXPECT_EQ(tools->metrics().record().counts.functions, 2u);
  EXPECT_EQ(countsOf(document.metrics(), MetricDistribution::kFunctionStatements),
            (std::vector<uint32_t>{1, 0, 2, 0, 1}));
  EXPECT_EQ(document.GetList("metric_class_list")->Count(), 1u);
  EXPECT_EQ(tools->GetList("metric_function_list")->Count(), 1u);
}

TEST_F(ChapterTreeTest, WithoutThresholdsEveryChapterListsAllItsOwnClassesAndFunctions) {
  document.computeMetrics();
  EXPECT_EQ(namesIn(document, "metric_class_list"), (std::vector<std::string>{"Shape"}));
  EXPECT_EQ(namesIn(document, "metric_function_list"), (std::vector<std::string>{"parse", "run"}));
  EXPECT_EQ(namesIn(*tools, "metric_class_list"), (std::vector<std::string>{"Pen"}));
  EXPECT_EQ(namesIn(*tools, "metric_function_list"), (std::vector<std::string>{"main"}));
  EXPECT_EQ(namesIn(*deep, "metric_function_list"), (std::vector<std::string>{"helper"}));
  EXPECT_EQ(document.GetList("metric_function_list")->TypeName(), "metric_function_list");
}

TEST_F(ChapterMetricsTest, AClassIsListedOnlyAboveASetThreshold) {
  document.appendClass(makeClass("Exact", {function("f", kAccessPublic, 100, 1, 0, false)}));
  document.appendClass(makeClass("Above", {function("f", kAccessPublic, 60, 1, 0, false),
                                           function("g", kAccessPrivate, 41, 1, 0, false)}));
  document.appendClass(makeClass(
      "Busy", {function("f", kAccessPublic, 1, 1, 0, false), function("g", kAccessPublic, 1, 1, 0, false),
               function("h", kAccessPublic, 1, 1, 0, false)}));
  document.appendClass(makeClass("Tangled", {function("f", kAccessProtected, 1, 9, 0, false)}));
  configuration.setClassMinStatements(100);
  configuration.setClassMinPublicFunctions(2);
  configuration.setClassMinComplexity(8);
  document.computeMetrics();
  // Exact has 100 statements, one public function and complexity 1: equal to a threshold is not above it.
  EXPECT_EQ(namesIn(document, "metric_class_list"), (std::vector<std::string>{"Above", "Busy", "Tangled"}));
}

TEST_F(ChapterMetricsTest, AFunctionIsListedOnlyAboveASetThreshold) {
  document.appendFunction(function("exact", kAccessPublic, 20, 5, 0, false));
  document.appendFunction(function("long", kAccessPublic, 21, 1, 0, false));
  document.appendFunction(function("tangled", kAccessPublic, 1, 6, 0, false));
  configuration.setFunctionMinStatements(20);
  configuration.setFunctionMinComplexity(5);
  document.computeMetrics();
  EXPECT_EQ(namesIn(document, "metric_function_list"), (std::vector<std::string>{"long", "tangled"}));
}

TEST_F(ChapterMetricsTest, MemberFunctionsOfShownAccessFollowTheFreeFunctionsWhenAsked) {
  document.appendClass(makeClass(
      "Shape",
      {function("area", kAccessPublic, 30, 1, 0, false), function("grow", kAccessProtected, 30, 1, 0, false),
       function("cache", kAccessPrivate, 30, 1, 0, false), function("tiny", kAccessPublic, 1, 1, 0, false)}));
  document.appendFunction(function("parse", kAccessPublic, 30, 1, 0, false));
  Chapter* other = document.appendChapter("Other");
  other->appendClass(makeClass("Pen", {function("draw", kAccessPublic, 30, 1, 0, false)}));
  configuration.setFunctionMinStatements(10);
  configuration.setMetricsShowMemberFunctions(true);
  configuration.setDocumentProtected(true);
  document.computeMetrics();
  EXPECT_EQ(namesIn(document, "metric_function_list"),
            (std::vector<std::string>{"parse", "Shape::area", "Shape::grow"}));
  EXPECT_EQ(namesIn(*other, "metric_function_list"), (std::vector<std::string>{"Pen::draw"}));
}

TEST(DistributionTest, GrowsAsNeededAndAddsValueByValue) {
  Distribution small;
  small.count(2);
  small.count(2);
  Distribution large;
  large.count(0);
  large.count(4);
  large.add(small);
  EXPECT_EQ(std::vector<uint32_t>(large.counts().begin(), large.counts().end()),
            (std::vector<uint32_t>{1, 0, 2, 0, 1}));
  small.add(large);
  EXPECT_EQ(small.size(), 5u);

  Distribution huge;  // an absurd value is counted at the largest one kept, not allocated for
  huge.count(UINT32_MAX);
  EXPECT_EQ(huge.size(), size_t{Distribution::kLargestValue} + 1);
  EXPECT_EQ(huge.counts().back(), 1u);
}

}  // namespace
}  // namespace quillet
