#include "document/metric_chart.h"

#include <gd.h>
#include <gdfonts.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "common/file_contents.h"

namespace quillet {

namespace {

// The built-in small font of gd: 6 by 13 pixels.
constexpr int kFontWidth = 6;
constexpr int kFontHeight = 13;
// Room for the axis titles: below the chart for the x title, left of it for the y title.
constexpr int kXTitleSpace = kFontWidth + 6;
constexpr int kYTitleSpace = kFontWidth + 8;
// Distance of the axes from the edges of the image (and of the origin from the title room).
constexpr int kMargin = 20;
// Half the length of a tick.
constexpr int kTickHalf = 3;

// Rounds `value` down (or up) to a multiple of `step`, keeping it where it already is within a
// ten-thousandth of a step of one.
double roundToStep(double value, double step, bool up) {
  const double steps = value / step;
  const double nearest = std::round(steps);
  if (std::fabs(steps - nearest) * step <= step / 10000) return nearest * step;
  return (up ? std::ceil(steps) : std::floor(steps)) * step;
}

// Number of steps between the ends of an axis, forgiving the rounding error of the division.
int stepCount(const ChartAxis& axis) {
  return static_cast<int>(std::floor((axis.maximum - axis.minimum) / axis.step + 1e-6));
}

// The label of a tick: no decimals for whole steps, one for finer ones. The padding of the two-character
// field draws nothing and is left out, so that the digits themselves are centred on the tick.
std::string tickLabel(double value, double step) {
  char text[64];
  std::snprintf(text, sizeof text, "%2.*f", step >= 1 ? 0 : 1, value);
  std::string label = text;
  label.erase(0, label.find_first_not_of(' '));
  return label;
}

int textWidth(std::string_view text) {
  return static_cast<int>(text.size()) * kFontWidth;
}

unsigned char* gdText(std::string& text) {
  return reinterpret_cast<unsigned char*>(text.data());
}

struct ImageDeleter {
  void operator()(gdImage* image) const { gdImageDestroy(image); }
};
struct PngDeleter {
  void operator()(void* png) const { gdFree(png); }
};

// Maps chart values to pixels and draws into one image.
class ChartPainter {
 public:
  ChartPainter(gdImagePtr image, int left, int bottom) : image_(image), left_(left), bottom_(bottom) {
    // The first colour allocated is the background.
    const int white = gdImageColorAllocate(image_, 255, 255, 255);
    black_ = gdImageColorAllocate(image_, 0, 0, 0);
    gdImageColorTransparent(image_, white);
    originX_ = left_ + kMargin;
    originY_ = kChartHeight - bottom_ - kMargin;
  }

  void drawAxes() {
    gdImageLine(image_, originX_, originY_, kChartWidth - kMargin, originY_, black_);
    gdImageLine(image_, originX_, originY_, originX_, kMargin, black_);
  }

  // Fits the x axis plus one bar slot and the y axis into the room between the axes.
  void setScale(const ChartAxis& x, const ChartAxis& y, double slot) {
    x_ = x;
    y_ = y;
    slot_ = slot;
    xScale_ = (kChartWidth - left_ - 2 * kMargin) / (x.maximum - x.minimum + slot);
    yScale_ = (kChartHeight - bottom_ - 2 * kMargin) / (y.maximum - y.minimum);
  }

  int pixelX(double value) const {
    return originX_ + static_cast<int>(std::lround((value - x_.minimum) * xScale_));
  }
  int pixelY(double value) const {
    return originY_ - static_cast<int>(std::lround((value - y_.minimum) * yScale_));
  }

  // Ticks under the middle of each bar slot, labelled above the x title's room.
  void drawXTicks() {
    const int steps = stepCount(x_);
    for (int k = 0; k <= steps; ++k) {
      const double value = x_.minimum + k * x_.step;
      const int x = pixelX(value + slot_ / 2);
      gdImageLine(image_, x, originY_ - kTickHalf, x, originY_ + kTickHalf, black_);
      std::string label = tickLabel(value, x_.step);
      gdImageString(image_, gdFontGetSmall(), x - textWidth(label) / 2, kChartHeight - bottom_ - 10,
                    gdText(label), black_);
    }
  }

  // Ticks across the y axis, labelled upwards just left of them, clear of the y title.
  void drawYTicks() {
    const int steps = stepCount(y_);
    for (int k = 0; k <= steps; ++k) {
      const double value = y_.minimum + k * y_.step;
      const int y = pixelY(value);
      gdImageLine(image_, originX_ - kTickHalf, y, originX_ + kTickHalf, y, black_);
      std::string label = tickLabel(value, y_.step);
      // The font leaves three blank rows above its digits and two below: their ink ends just before the tick.
      gdImageStringUp(image_, gdFontGetSmall(), originX_ - kTickHalf - kFontHeight + 2,
                      y + textWidth(label) / 2, gdText(label), black_);
    }
  }

  void drawTitles(std::string xTitle, std::string yTitle) {
    // The x title sits on the bottom edge: a whole line of the font fits, descenders included, below the
    // tick labels.
    if (!xTitle.empty()) {
      gdImageString(image_, gdFontGetSmall(), (kChartWidth - textWidth(xTitle)) / 2,
                    kChartHeight - kFontHeight, gdText(xTitle), black_);
    }
    if (!yTitle.empty()) {
      gdImageStringUp(image_, gdFontGetSmall(), 10, (kChartHeight + textWidth(yTitle)) / 2, gdText(yTitle),
                      black_);
    }
  }

  // The outline of a bar two thirds of its slot [start, end) wide, from the axis up to `count`.
  void drawBar(double start, double end, double count) {
    const double middle = (start + end) / 2;
    const double half = (end - start) / 3;
    gdImageRectangle(image_, pixelX(middle - half), pixelY(count), pixelX(middle + half), originY_, black_);
  }

 private:
  gdImagePtr image_;
  int left_;
  int bottom_;
  int black_ = 0;
  int originX_ = 0;
  int originY_ = 0;
  ChartAxis x_;
  ChartAxis y_;
  double slot_ = 1;
  double xScale_ = 1;
  double yScale_ = 1;
};

}  // namespace

ChartAxis scaleAxis(double low, double high, bool fromZero) {
  ChartAxis axis;
  if (!std::isfinite(low) || !std::isfinite(high) || high < low) return axis;
  axis.minimum = low;
  axis.maximum = high;
  if (axis.maximum == axis.minimum) axis.maximum = axis.minimum + 1;
  if (fromZero && axis.minimum > 0) axis.minimum = 0;
  const double range = axis.maximum - axis.minimum;
  // The power of ten of the range itself: for ranges of 1 or more the same as that of its integer part,
  // and still a usable step for narrower ranges (where the integer part, 0, has none).
  int exponent = static_cast<int>(std::floor(std::log10(range)));
  if (std::pow(10.0, exponent) * 1.4 > range) --exponent;
  axis.step = std::pow(10.0, exponent);
  if (range / axis.step < 4) axis.step /= 2;
  axis.minimum = roundToStep(axis.minimum, axis.step, false);
  axis.maximum = roundToStep(axis.maximum, axis.step, true);
  return axis;
}

size_t chartGroupSize(size_t values) {
  // Bars stay at least three pixels apart: values / group (whole bars) must not exceed a third of the width.
  constexpr size_t most = kChartWidth / 3;
  return values <= most ? 1 : values / (most + 1) + 1;
}

bool drawBarChart(std::span<const uint32_t> counts, std::string_view xTitle, std::string_view yTitle,
                  const std::string& path) {
  if (counts.empty()) return false;
  const std::unique_ptr<gdImage, ImageDeleter> image(gdImageCreate(kChartWidth, kChartHeight));
  if (!image) return false;

  ChartPainter painter(image.get(), yTitle.empty() ? 0 : kYTitleSpace, xTitle.empty() ? 0 : kXTitleSpace);
  painter.drawAxes();

  const uint32_t highest = *std::max_element(counts.begin(), counts.end());
  const uint32_t lowest = *std::min_element(counts.begin(), counts.end());
  const ChartAxis x = scaleAxis(0, static_cast<double>(counts.size() - 1), false);
  const ChartAxis y = scaleAxis(lowest, highest, true);
  // The values are 0, 1, 2, ...: one bar slot is one unit wide.
  painter.setScale(x, y, 1);
  painter.drawXTicks();
  painter.drawYTicks();
  painter.drawTitles(std::string(xTitle), std::string(yTitle));

  // Each group of values is one bar, as high as the group's largest count.
  const size_t group = chartGroupSize(counts.size());
  for (size_t start = 0; start < counts.size(); start += group) {
    const size_t end = std::min(counts.size(), start + group);
    const uint32_t height = *std::max_element(counts.begin() + start, counts.begin() + end);
    painter.drawBar(static_cast<double>(start), static_cast<double>(end), height);
  }

  int size = 0;
  const std::unique_ptr<void, PngDeleter> png(gdImagePngPtr(image.get(), &size));
  if (!png || size <= 0) return false;
  std::string error;
  return writeFileContents(
      path, std::string_view(static_cast<const char*>(png.get()), static_cast<size_t>(size)), error);
}

}  // namespace quillet
