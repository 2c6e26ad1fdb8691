#include "document/metric_properties.h"

#include <cstdio>
#include <optional>
#include <ostream>

#include "common/file_services.h"
#include "document/metric_chart.h"
#include "document/svg_chart.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

namespace {

constexpr MetricChart kCharts[] = {
    {"metric_class_dist_fname", MetricDistribution::kClassPublicMembers, "Number of Public Members",
     "Number of Classes", "_metnpub", ".png"},
    {"metric_class_loc_dist_fname", MetricDistribution::kClassStatements, "Number of Statements",
     "Number of Classes", "_metloc", ".png"},
    {"metric_class_mccabe_dist_fname", MetricDistribution::kClassComplexity, "McCabe Complexity",
     "Number of Classes", "_metcplx", ".png"},
    {"metric_function_loc_dist_fname", MetricDistribution::kFunctionStatements, "Number of Statements",
     "Number of Functions", "_metfloc", ".Png"},
    {"metric_function_mccabe_dist_fname", MetricDistribution::kFunctionComplexity, "McCabe Complexity",
     "Number of Functions", "_metfcplx", ".Png"},
};

// `above` / `below`, or nothing when there is nothing below the line.
std::optional<double> ratio(double above, uint64_t below) {
  if (below == 0) return std::nullopt;
  return above / static_cast<double>(below);
}

// An average (or share) of a chapter and the property that compares it with the whole document's.
struct Average {
  std::string_view property;
  std::string_view deviation;
  int decimals;
  std::optional<double> (*of)(const MetricCounts&);
};

constexpr Average kAverages[] = {
    {"metric_ave_class_loc", "metric_percent_class_loc", 0,
     [](const MetricCounts& c) { return ratio(c.classStatements, c.classes); }},
    {"metric_ave_class_mccabe", "metric_percent_class_mccabe", 0,
     [](const MetricCounts& c) { return ratio(c.classComplexity, c.classes); }},
    {"metric_ave_public_member", "metric_percent_public_member", 0,
     [](const MetricCounts& c) { return ratio(c.publicMembers, c.classes); }},
    {"metric_ave_protected_member", "metric_percent_protected_member", 0,
     [](const MetricCounts& c) { return ratio(c.protectedMembers, c.classes); }},
    {"metric_ave_parameters", "metric_percent_parameters", 1,
     [](const MetricCounts& c) { return ratio(c.parameters, c.totalFunctions()); }},
    {"metric_ave_function_loc", "metric_percent_function_loc", 1,
     [](const MetricCounts& c) {
       return ratio(static_cast<double>(c.totalStatements()), c.functionsWithStatements);
     }},
    {"metric_functions_doc", "metric_percent_functions_doc", 0,
     [](const MetricCounts& c) { return ratio(100.0 * c.documentedFunctions, c.totalFunctions()); }},
};

// How far the chapter's average lies above (or below) the document's, in percent of the document's; 0 when
// either average is missing or the document's is 0.
double deviation(std::optional<double> own, std::optional<double> all) {
  if (!own || !all || *all == 0) return 0;
  return (*own - *all) / *all * 100;
}

}  // namespace

std::string formatFixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string result = text;
  // A small negative value rounds to "-0" (or "-0.0"): show it as the zero it is.
  if (result.front() == '-' && result.find_first_not_of("-0.") == std::string::npos) result.erase(0, 1);
  return result;
}

std::string formatStatements(uint64_t statements) {
  if (statements < 10000) return std::to_string(statements);
  return std::to_string(statements / 1000) + "K";
}

const MetricChart* findMetricChart(std::string_view name) {
  for (const MetricChart& chart : kCharts) {
    if (chart.property == name) return &chart;
  }
  return nullptr;
}

bool writeMetricFigure(std::string_view name, const MetricRecord& own, const MetricRecord& all,
                       std::ostream& out) {
  const MetricCounts& c = own.counts;
  const MetricCounts& a = all.counts;
  if (name == "metric_total_class") {
    out << c.classes;
  } else if (name == "metric_percent_class") {
    out << (a.classes == 0 ? 0 : uint64_t{c.classes} * 100 / a.classes);
  } else if (name == "metric_total_loc") {
    out << formatStatements(c.totalStatements());
  } else if (name == "metric_percent_loc") {
    out << formatFixed(ratio(100.0 * c.totalStatements(), a.totalStatements()).value_or(0), 0);
  } else if (name == "metric_total_function") {
    out << c.functions;
  } else if (name == "metric_percent_function") {
    out << formatFixed(ratio(100.0 * c.functions, a.functions).value_or(0), 0);
  } else {
    for (const Average& average : kAverages) {
      if (name == average.property) {
        out << formatFixed(average.of(c).value_or(0), average.decimals);
        return true;
      }
      if (name == average.deviation) {
        out << formatFixed(deviation(average.of(c), average.of(a)), 0);
        return true;
      }
    }
    return false;
  }
  return true;
}

bool testMetricChart(std::string_view name, const MetricRecord& record, int32_t& value) {
  const MetricChart* chart = findMetricChart(name);
  if (!chart) return false;
  value = record.distribution(chart->distribution).size() > 1 ? 1 : 0;
  return true;
}

const MetricChart* findMetricSvgChart(std::string_view name) {
  constexpr std::string_view kSvg = "_svg";
  if (!name.ends_with(kSvg)) return nullptr;
  name.remove_suffix(kSvg.size());
  for (const MetricChart& chart : kCharts) {
    std::string_view property = chart.property;
    if (property.ends_with("_fname") && property.substr(0, property.size() - 6) == name) return &chart;
  }
  return nullptr;
}

void writeMetricSvgChart(const MetricChart& chart, const ChapterMetrics& metrics, std::ostream& out) {
  const Distribution& distribution = metrics.record().distribution(chart.distribution);
  const std::string title = std::string(chart.yTitle) + " by " + std::string(chart.xTitle);
  writeSvgBarChart(out, distribution.counts(), title, chart.xTitle, chart.yTitle);
}

void writeMetricChart(const MetricChart& chart, ChapterMetrics& metrics, const StyleSheetObject& chapter,
                      const EvaluationContext& context, std::ostream& out) {
  const Distribution& distribution = metrics.record().distribution(chart.distribution);
  if (distribution.size() == 0) return;
  const std::string fileName =
      outputFileName(chapter.FileName(context) + std::string(chart.suffix)) + std::string(chart.extension);
  out << fileName;
  const std::string path = context.outputFolder + fileName;
  if (metrics.firstDrawing(path)) drawBarChart(distribution.counts(), chart.xTitle, chart.yTitle, path);
}

}  // namespace quillet
