#include "document/metric_chart.h"

#include <gd.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "support/temp_tree.h"

namespace quillet {
namespace {

TEST(ScaleAxisTest, StepsOfOneTwoOrFiveTimesAPowerOfTenAndEndsOnMultiplesOfTheStep) {
  struct Case {
    double low, high;
    bool fromZero;
    ChartAxis expected;
  };
  const Case cases[] = {
      {0, 9, false, {0, 9, 1}},
      {0, 3, false, {0, 3, 0.5}},     // fewer than four steps: halved
      {0, 120, false, {0, 120, 10}},  // 1.4 steps of 100 do not fit
      {0, 1234, false, {0, 1300, 100}},
      {2, 17, false, {0, 20, 5}},
      {0, 100.0005, false, {0, 100, 10}},  // within a ten-thousandth of a step of a multiple: kept
      {0, 100.02, false, {0, 110, 10}},
      {7, 7, false, {7, 8, 0.1}},  // equal values span one
      {5, 5, true, {0, 6, 1}},     // one is added before a positive minimum of the y axis becomes 0
      {3, 47, true, {0, 50, 10}},
      {0.25, 0.75, false, {0.2, 0.8, 0.1}},  // narrower than one
  };
  for (const Case& c : cases) {
    const ChartAxis axis = scaleAxis(c.low, c.high, c.fromZero);
    EXPECT_DOUBLE_EQ(axis.minimum, c.expected.minimum) << c.low << ".." << c.high;
    EXPECT_DOUBLE_EQ(axis.maximum, c.expected.maximum) << c.low << ".." << c.high;
    EXPECT_DOUBLE_EQ(axis.step, c.expected.step) << c.low << ".." << c.high;
  }
  for (double high = 1; high < 200000; high = high * 1.07 + 1) {  // always a readable number of ticks
    const ChartAxis axis = scaleAxis(0, high, true);
    const double steps = (axis.maximum - axis.minimum) / axis.step;
    EXPECT_TRUE(steps >= 2.8 && steps <= 16 && axis.maximum >= high) << high;
  }
}

struct ImageDeleter {
  void operator()(gdImage* image) const { gdImageDestroy(image); }
};
using Image = std::unique_ptr<gdImage, ImageDeleter>;

Image drawAndRead(const std::vector<uint32_t>& counts, const std::string& path) {
  EXPECT_TRUE(drawBarChart(counts, "Number of Statements", "Number of Classes", path));
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return nullptr;
  Image image(gdImageCreateFromPng(file));
  std::fclose(file);
  return image;
}

bool isBlack(gdImage* image, int x, int y) {
  const int colour = gdImageGetPixel(image, x, y);
  return gdImageRed(image, colour) + gdImageGreen(image, colour) + gdImageBlue(image, colour) == 0;
}

// The pixel column of value `value` on an x axis of `units` values plus one slot.
int column(double value, double units) {
  return 34 + static_cast<int>(std::lround(value * 566 / units));
}

TEST(DrawBarChartTest, DrawsATransparentPngWithAxesAndBarOutlines) {
  TempTree tree;
  const Image image = drawAndRead({3, 5, 1, 0, 2}, tree.path("chart.png"));
  ASSERT_TRUE(image);
  gdImage* const im = image.get();
  EXPECT_EQ(gdImageSX(im), 620);
  EXPECT_EQ(gdImageSY(im), 380);
  const int background = gdImageGetPixel(im, 300, 200);
  EXPECT_EQ(background, gdImageGetTransparent(im));
  EXPECT_EQ(gdImageRed(im, background) + gdImageGreen(im, background) + gdImageBlue(im, background), 765);
  // The origin lies 20 pixels inside the room of the titles (14 pixels left, 12 below); the axes end 20
  // pixels from the edges.
  for (int x = 34; x <= 600; x += 17) EXPECT_TRUE(isBlack(im, x, 348)) << x;
  for (int y = 20; y <= 348; y += 16) EXPECT_TRUE(isBlack(im, 34, y)) << y;
  EXPECT_FALSE(isBlack(im, 601, 348));
  EXPECT_FALSE(isBlack(im, 34, 19));
  // Values 0 to 4 plus one slot across, counts 0 to 5 up: the bar of count 5 reaches the top, two thirds
  // of its slot wide; the bar of count 1 ends a fifth of the way up.
  EXPECT_TRUE(isBlack(im, column(1.5, 5), 20));
  EXPECT_TRUE(isBlack(im, column(1.5 - 1.0 / 3, 5), 200));
  EXPECT_TRUE(isBlack(im, column(1.5 + 1.0 / 3, 5), 200));
  EXPECT_FALSE(isBlack(im, column(1.5, 5), 200));  // outlines, not filled
  EXPECT_TRUE(isBlack(im, column(2.5, 5), 348 - 66));
  EXPECT_FALSE(isBlack(im, column(2.5, 5), 200));
}

TEST(DrawBarChartTest, AGroupedBarIsAsHighAsItsLargestCountAndWideAsItsGroup) {
  EXPECT_EQ(chartGroupSize(206), 1u);  // no more bars than a third of the width
  EXPECT_EQ(chartGroupSize(207), 2u);
  EXPECT_EQ(chartGroupSize(414), 3u);
  TempTree tree;
  std::vector<uint32_t> counts(600, 1);  // groups of three values
  counts[301] = 10;
  const Image image = drawAndRead(counts, tree.path("grouped.png"));
  ASSERT_TRUE(image);
  EXPECT_TRUE(isBlack(image.get(), column(301.5, 601), 20));  // the middle of values 300 to 302
  int topWidth = 0;
  for (int x = 40; x < 620; ++x) topWidth += isBlack(image.get(), x, 20) ? 1 : 0;
  EXPECT_GE(topWidth, 2);  // two thirds of three values: about 1.9 pixels
}

}  // namespace
}  // namespace quillet
