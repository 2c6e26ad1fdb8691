#include "document/metric_chart.h"

#include <gd.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "support/temp_tree.h"

namespace quillet {
namespace {

void expectAxis(double low, double high, bool fromZero, ChartAxis expected) {
  const ChartAxis axis = scaleAxis(low, high, fromZero);
  EXPECT_DOUBLE_EQ(axis.minimum, expected.minimum) << low << ".." << high;
  EXPECT_DOUBLE_EQ(axis.maximum, expected.maximum) << low << ".." << high;
  EXPECT_DOUBLE_EQ(axis.step, expected.step) << low << ".." << high;
}

TEST(ScaleAxisTest, StepsAreOneTwoOrFiveTimesAPowerOfTenAndEndsAreMultiplesOfTheStep) {
  expectAxis(0, 9, false, {0, 9, 1});
  expectAxis(0, 3, false, {0, 3, 0.5});     // fewer than four steps: the step is halved
  expectAxis(0, 120, false, {0, 120, 10});  // 1.4 steps of 100 would not fit: one power lower
  expectAxis(0, 250, false, {0, 250, 50});
  expectAxis(0, 1234, false, {0, 1300, 100});    // the maximum rounded up
  expectAxis(2, 17, false, {0, 20, 5});          // and the minimum down
  expectAxis(0, 100.0005, false, {0, 100, 10});  // within a ten-thousandth of a step: kept
  expectAxis(0, 100.02, false, {0, 110, 10});
}

TEST(ScaleAxisTest, EqualValuesSpanOneAndTheYAxisStartsAtZero) {
  expectAxis(0, 0, false, {0, 1, 0.1});
  expectAxis(7, 7, false, {7, 8, 0.1});
  expectAxis(5, 5, true, {0, 6, 1});  // maximum + 1 first, then the positive minimum becomes 0
  expectAxis(3, 47, true, {0, 50, 10});
}

TEST(ScaleAxisTest, RangesBelowOneStillGetAStep) {
  expectAxis(0.25, 0.75, false, {0.2, 0.8, 0.1});
}

TEST(ScaleAxisTest, EveryRangeGetsAReadableNumberOfTicksAroundItsValues) {
  for (double high = 1; high < 200000; high = high * 1.07 + 1) {
    const ChartAxis axis = scaleAxis(0, high, true);
    const double steps = (axis.maximum - axis.minimum) / axis.step;
    EXPECT_GE(steps, 2.8) << high;
    EXPECT_LE(steps, 16) << high;
    EXPECT_LE(axis.minimum, 0);
    EXPECT_GE(axis.maximum, high);
    EXPECT_NEAR(axis.maximum / axis.step, std::round(axis.maximum / axis.step), 1e-6) << high;
  }
}

TEST(ChartGroupSizeTest, BarsStayWithinAThirdOfTheWidth) {
  EXPECT_EQ(chartGroupSize(1), 1u);
  EXPECT_EQ(chartGroupSize(206), 1u);
  EXPECT_EQ(chartGroupSize(207), 2u);
  EXPECT_EQ(chartGroupSize(413), 2u);
  EXPECT_EQ(chartGroupSize(414), 3u);
  for (size_t values : {500u, 10000u, 1048577u}) {
    const size_t group = chartGroupSize(values);
    EXPECT_LE(values / group, 206u) << values;
    EXPECT_GT(values / (group - 1), 206u) << values;
  }
}

struct ImageDeleter {
  void operator()(gdImage* image) const { gdImageDestroy(image); }
};
using Image = std::unique_ptr<gdImage, ImageDeleter>;

Image readPng(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return nullptr;
  Image image(gdImageCreateFromPng(file));
  std::fclose(file);
  return image;
}

bool isBlack(gdImage* image, int x, int y) {
  const int colour = gdImageGetPixel(image, x, y);
  return gdImageRed(image, colour) == 0 && gdImageGreen(image, colour) == 0 &&
         gdImageBlue(image, colour) == 0;
}

bool isTransparentWhite(gdImage* image, int x, int y) {
  const int colour = gdImageGetPixel(image, x, y);
  return colour == gdImageGetTransparent(image) && gdImageRed(image, colour) == 255 &&
         gdImageGreen(image, colour) == 255 && gdImageBlue(image, colour) == 255;
}

TEST(DrawBarChartTest, DrawsATransparentPngWithAxesAndBars) {
  TempTree tree;
  const std::string path = tree.path("chart.png");
  const std::vector<uint32_t> counts = {3, 5, 1, 0, 2};
  ASSERT_TRUE(drawBarChart(counts, "Number of Statements", "Number of Classes", path));

  const Image image = readPng(path);
  ASSERT_TRUE(image);
  EXPECT_EQ(gdImageSX(image.get()), 620);
  EXPECT_EQ(gdImageSY(image.get()), 380);
  ASSERT_GE(gdImageGetTransparent(image.get()), 0);
  EXPECT_TRUE(isTransparentWhite(image.get(), 0, 0));
  EXPECT_TRUE(isTransparentWhite(image.get(), 619, 379));
  EXPECT_TRUE(isTransparentWhite(image.get(), 300, 200));  // inside the chart, above the bars

  // The origin lies 20 pixels inside the room of the titles (14 pixels left, 12 below); the axes end 20
  // pixels from the edges.
  for (int x = 34; x <= 600; x += 17) EXPECT_TRUE(isBlack(image.get(), x, 348)) << x;
  for (int y = 20; y <= 348; y += 16) EXPECT_TRUE(isBlack(image.get(), 34, y)) << y;
  EXPECT_FALSE(isBlack(image.get(), 601, 348));
  EXPECT_FALSE(isBlack(image.get(), 34, 19));

  // Values 0 to 4 on an axis from 0 to 4 plus one slot; counts on an axis from 0 to 5: the bar of value 1
  // (count 5) is two thirds of its slot wide around its middle and reaches the top of the y axis.
  const double unit = 566.0 / 5;
  const int middle = 34 + static_cast<int>(std::lround(1.5 * unit));
  EXPECT_TRUE(isBlack(image.get(), middle, 20));
  EXPECT_TRUE(isBlack(image.get(), 34 + static_cast<int>(std::lround((1.5 - 1.0 / 3) * unit)), 200));
  EXPECT_TRUE(isBlack(image.get(), 34 + static_cast<int>(std::lround((1.5 + 1.0 / 3) * unit)), 200));
  EXPECT_FALSE(isBlack(image.get(), middle, 200));  // outlines, not filled
  // The bar of value 2 (count 1) ends a fifth of the way up.
  const int third = 34 + static_cast<int>(std::lround(2.5 * unit));
  EXPECT_TRUE(isBlack(image.get(), third, 348 - static_cast<int>(std::lround(328.0 / 5))));
  EXPECT_FALSE(isBlack(image.get(), third, 200));
}

TEST(DrawBarChartTest, AGroupedBarIsAsHighAsItsLargestCount) {
  TempTree tree;
  const std::string path = tree.path("grouped.png");
  std::vector<uint32_t> counts(600, 1);  // groups of three values
  counts[301] = 10;
  ASSERT_TRUE(drawBarChart(counts, "x", "y", path));
  const Image image = readPng(path);
  ASSERT_TRUE(image);
  // The x axis runs from 0 to 600 plus one slot; the group of values 300 to 302 has its middle at 301.5
  // and its bar reaches the top of the y axis (0 to 10).
  const double unit = 566.0 / 601;
  const int middle = 34 + static_cast<int>(std::lround(301.5 * unit));
  EXPECT_TRUE(isBlack(image.get(), middle, 20));
  int topWidth = 0;
  for (int x = 40; x < 620; ++x) topWidth += isBlack(image.get(), x, 20) ? 1 : 0;
  EXPECT_GE(topWidth, 2);  // two thirds of three values, not of one
  EXPECT_LE(topWidth, 4);
}

TEST(DrawBarChartTest, WritesNothingForAnEmptyDistributionOrAFileThatCannotBeOpened) {
  TempTree tree;
  EXPECT_FALSE(drawBarChart({}, "x", "y", tree.path("empty.png")));
  EXPECT_FALSE(std::filesystem::exists(tree.path("empty.png")));
  const std::vector<uint32_t> counts = {1, 2};
  EXPECT_FALSE(drawBarChart(counts, "x", "y", tree.path("missing/folder/chart.png")));
}

}  // namespace
}  // namespace quillet
