// Bar charts of the metric distributions as SVG, written into an HTML page: horizontal labels, whole-number
// ticks, axis titles, and colours taken from the page's style sheet (the classes "chart-svg", "bar",
// "axis" and "grid"), so that a dark page gets a dark chart. The PNG charts stay for the RTF outputs.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string_view>

namespace quillet {

/// The ticks of an axis of whole numbers from 0 to `highest`: a step of 1, 2 or 5 times a power of ten,
/// never below 1, giving at most about ten ticks; `top` is the first multiple of the step at or above
/// `highest` (at least one step).
struct CountAxis {
  uint64_t step = 1;
  uint64_t top = 1;
};
CountAxis countAxis(uint64_t highest);

/// Writes the bar chart of `counts` (the count of value i at index i) as an inline SVG element titled
/// `title`; nothing for an empty distribution. Text is escaped for HTML.
void writeSvgBarChart(std::ostream& out, std::span<const uint32_t> counts, std::string_view title,
                      std::string_view xTitle, std::string_view yTitle);

}  // namespace quillet
