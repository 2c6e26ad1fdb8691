// The metric properties of a chapter as style sheets see them: its figures ("metric_total_class",
// "metric_ave_function_loc", ...), each written against the figures of the whole document, and its five
// distribution charts ("metric_class_dist_fname", ...), drawn into the output folder on first use. Chapters
// answer their WriteProperty and Test calls for these names from here.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "document/chapter_metrics.h"

namespace quillet {

class StyleSheetObject;
struct EvaluationContext;

/// One of the five chart properties.
struct MetricChart {
  std::string_view property;
  MetricDistribution distribution;
  std::string_view xTitle;
  std::string_view yTitle;
  std::string_view suffix;     // appended to the chapter's file name for the chart's file name stem
  std::string_view extension;  // ".png" for class charts, ".Png" for function charts
};

/// The chart property called `name`, or null.
const MetricChart* findMetricChart(std::string_view name);
/// The chart whose SVG property is called `name` (its property with "_svg" for "_fname":
/// "metric_class_dist_svg"), or null.
const MetricChart* findMetricSvgChart(std::string_view name);
/// Writes `chart` of `metrics` as an inline SVG element; nothing for an empty distribution.
void writeMetricSvgChart(const MetricChart& chart, const ChapterMetrics& metrics, std::ostream& out);

/// True when `name` is a metric figure, after writing the figure of the chapter whose record is `own` in
/// the document whose record is `all`. Counts are written as integers; averages, shares and deviations
/// rounded (one decimal for "metric_ave_parameters" and "metric_ave_function_loc"); every division by a
/// zero count, and every deviation from an average of 0, writes 0.
bool writeMetricFigure(std::string_view name, const MetricRecord& own, const MetricRecord& all,
                       std::ostream& out);

/// True when `name` is a chart property, after storing 1 when its distribution has more than one entry
/// (the chart shows more than one bar position) and 0 otherwise.
bool testMetricChart(std::string_view name, const MetricRecord& record, int32_t& value);

/// Writes the file name of `chart` for `chapter` (its output file name, the chart's suffix and extension)
/// and draws the chart into the context's output folder unless that file was drawn before. Writes and
/// draws nothing for an empty distribution; a file that cannot be opened is skipped silently.
void writeMetricChart(const MetricChart& chart, ChapterMetrics& metrics, const StyleSheetObject& chapter,
                      const EvaluationContext& context, std::ostream& out);

/// `value` with `decimals` decimals, rounded; never "-0".
std::string formatFixed(double value, int decimals);

/// A statement count: in full below 10000, else whole thousands followed by "K".
std::string formatStatements(uint64_t statements);

}  // namespace quillet
