// Bar charts of the metric distributions: the axis scaling and the drawing of one 620 by 380 pixel PNG
// with gd. Chapters draw a chart when a style sheet asks for one of their "_dist_fname" properties.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quillet {

/// Size of every chart, in pixels.
inline constexpr int kChartWidth = 620;
inline constexpr int kChartHeight = 380;

/// One scaled chart axis: its ends, multiples of `step`, and the distance between its ticks.
struct ChartAxis {
  double minimum = 0;
  double maximum = 1;
  double step = 1;
};

/// The axis for values from `low` to `high`: a range of at least 1, starting at 0 for a positive `low`
/// when `fromZero` is set, with a step of 1, 2 or 5 times a power of ten that gives about 3 to 14 ticks,
/// and ends rounded outwards to multiples of the step.
ChartAxis scaleAxis(double low, double high, bool fromZero);

/// How many consecutive values one bar shows for a distribution of `values` values: 1 up to a third of
/// the chart's width, else the fewest that keep the bars within a third of the width.
size_t chartGroupSize(size_t values);

/// Draws the bar chart of `counts` (the count of value i at index i) with the axis titles into a new PNG
/// file at `path`. White is the transparent background; everything is drawn in black. True when the file
/// was written; false, writing nothing, for an empty distribution or a file that cannot be opened.
bool drawBarChart(std::span<const uint32_t> counts, std::string_view xTitle, std::string_view yTitle,
                  const std::string& path);

}  // namespace quillet
