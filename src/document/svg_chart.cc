#include "document/svg_chart.h"

#include <algorithm>

#include "document/metric_chart.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

// The drawing area within a view box of kChartWidth by kSvgHeight units.
constexpr int kSvgHeight = 320;
constexpr int kLeft = 56;
constexpr int kRight = 16;
constexpr int kTop = 28;
constexpr int kBottom = 52;

}  // namespace

CountAxis countAxis(uint64_t highest) {
  CountAxis axis;
  if (highest == 0) return axis;
  constexpr uint64_t kMostTicks = 10;
  for (uint64_t power = 1;; power *= 10) {
    for (uint64_t factor : {1, 2, 5}) {
      const uint64_t step = factor * power;
      if ((highest + step - 1) / step <= kMostTicks || power > (UINT64_MAX / 100)) {
        axis.step = step;
        axis.top = (highest + step - 1) / step * step;
        return axis;
      }
    }
  }
}

void writeSvgBarChart(std::ostream& out, std::span<const uint32_t> counts, std::string_view title,
                      std::string_view xTitle, std::string_view yTitle) {
  if (counts.empty()) return;
  const size_t group = chartGroupSize(counts.size());
  const size_t bars = (counts.size() + group - 1) / group;
  const uint32_t highest = *std::max_element(counts.begin(), counts.end());
  const CountAxis y = countAxis(highest);
  const CountAxis x = countAxis(counts.size() - 1);
  const double width = kChartWidth - kLeft - kRight;
  const double height = kSvgHeight - kTop - kBottom;
  const double slot = width / static_cast<double>(counts.size());
  const int originY = kSvgHeight - kBottom;
  auto yPixel = [&](double value) { return originY - value * height / static_cast<double>(y.top); };

  out << "<svg class=\"chart-svg\" viewBox=\"0 0 " << kChartWidth << ' ' << kSvgHeight
      << "\" role=\"img\" aria-label=\"";
  writeHtmlEscaped(out, title);
  out << "\"><title>";
  writeHtmlEscaped(out, title);
  out << "</title>\n";
  // Grid lines and labels of the count axis.
  for (uint64_t tick = 0; tick <= y.top; tick += y.step) {
    const double at = yPixel(static_cast<double>(tick));
    out << "<line class=\"grid\" x1=\"" << kLeft << "\" y1=\"" << at << "\" x2=\"" << kChartWidth - kRight
        << "\" y2=\"" << at << "\"/><text class=\"tick\" x=\"" << kLeft - 6 << "\" y=\"" << at + 4
        << "\" text-anchor=\"end\">" << tick << "</text>\n";
  }
  // The bars: each group of values one bar, as high as its largest count.
  for (size_t bar = 0; bar < bars; ++bar) {
    const size_t start = bar * group;
    const size_t end = std::min(counts.size(), start + group);
    const uint32_t count = *std::max_element(counts.begin() + start, counts.begin() + end);
    if (count == 0) continue;
    const double left =
        kLeft + slot * static_cast<double>(start) + slot * static_cast<double>(end - start) / 6;
    const double barWidth = std::max(slot * static_cast<double>(end - start) * 2 / 3, 1.0);
    const double top = yPixel(count);
    out << "<rect class=\"bar\" x=\"" << left << "\" y=\"" << top << "\" width=\"" << barWidth
        << "\" height=\"" << originY - top << "\"><title>";
    if (end - start == 1) {
      out << start;
    } else {
      out << start << "\xE2\x80\x93" << end - 1;
    }
    out << ": " << count << "</title></rect>\n";
  }
  // The value axis with its labels under the middle of their slots.
  out << "<line class=\"axis\" x1=\"" << kLeft << "\" y1=\"" << originY << "\" x2=\"" << kChartWidth - kRight
      << "\" y2=\"" << originY << "\"/>\n";
  for (uint64_t tick = 0; tick < counts.size(); tick += x.step) {
    const double at = kLeft + slot * (static_cast<double>(tick) + 0.5);
    out << "<text class=\"tick\" x=\"" << at << "\" y=\"" << originY + 16 << "\" text-anchor=\"middle\">"
        << tick << "</text>\n";
  }
  out << "<text class=\"title\" x=\"" << kLeft + width / 2 << "\" y=\"" << kSvgHeight - 12
      << "\" text-anchor=\"middle\">";
  writeHtmlEscaped(out, xTitle);
  out << "</text>\n<text class=\"title\" x=\"" << kLeft << "\" y=\"" << kTop - 12
      << "\" text-anchor=\"start\">";
  writeHtmlEscaped(out, yTitle);
  out << "</text>\n</svg>";
}

}  // namespace quillet
