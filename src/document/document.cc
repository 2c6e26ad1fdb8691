#include "document/document.h"

#include <atomic>
#include <clocale>
#include <ctime>
#include <ostream>

#include "common/file_services.h"
#include "common/file_system.h"
#include "config/configuration.h"
#include "document/html_body.h"
#include "document/metric_properties.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/property_table.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

// Every chapter made in this process, the documents included, takes the next number.
std::atomic<uint32_t> g_chapter_count{0};

std::string stemOf(const std::string& path) {
  const size_t cut = path.find_last_of("/\\");
  std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

void writeDate(const Chapter&, const EvaluationContext&, std::ostream& out) {
  out << longDate();
}

void writeName(const Chapter& chapter, const EvaluationContext& context, std::ostream& out) {
  context.filter->write(out, chapter.name());
}

void writeVersion(const Chapter&, const EvaluationContext& context, std::ostream& out) {
  context.filter->write(out, "2.1h");
}

// The background attributes of the HTML body element, from the run's configuration.
void writeHtmlBody(const Chapter&, const EvaluationContext& context, std::ostream& out) {
  writeHtmlBodyAttributes(out, context.outputFolder);
}

}  // namespace

std::string longDate() {
  static const bool locale_set = std::setlocale(LC_TIME, "") != nullptr;
  (void)locale_set;
  std::tm when{};
  bool known = false;
  // SOURCE_DATE_EPOCH (seconds since 1970, the reproducible-build convention) fixes the date, taken in UTC,
  // so that repeated runs write identical pages.
  const std::string fixed = environmentValue("SOURCE_DATE_EPOCH");
  if (!fixed.empty() && fixed.find_first_not_of("0123456789") == std::string::npos && fixed.size() < 18) {
    const std::time_t seconds = static_cast<std::time_t>(std::stoll(fixed));
    known = gmtime_r(&seconds, &when) != nullptr;
  } else {
    const std::time_t now = std::time(nullptr);
    known = localtime_r(&now, &when) != nullptr;
  }
  char text[128];
  if (known && std::strftime(text, sizeof text, "%A, %d %B %Y", &when) > 0) return text;
  return "today";
}

Chapter::Chapter(Chapter* parent, std::string name)
    : name_(std::move(name)), parent_(parent), number_(++g_chapter_count) {}

int32_t Chapter::level() const {
  int32_t level = 1;
  for (const Chapter* c = parent_; c; c = c->parent_) ++level;
  return level;
}

Chapter* Chapter::findChapter(const std::string& name) const {
  for (const auto& chapter : chapters_)
    if (chapter->name() == name) return chapter.get();
  return nullptr;
}

Chapter* Chapter::appendChapter(const std::string& name) {
  chapters_.push_back(std::make_unique<Chapter>(this, name));
  return chapters_.back().get();
}

void Chapter::appendExternalDocument(ExternalDocument document) {
  externalDocs_.push_back(std::move(document));
}

template <>
struct PropertyTable<Chapter> {
  static constexpr PropertyRow<Chapter> kChapterRows[] = {
      {"date", writeDate},
      {"document_name", [](const Chapter& c, const EvaluationContext& context,
                           std::ostream& out) { context.filter->write(out, c.outermost().name_); }},
      {"name", writeName},
      {"version", writeVersion},
      {"html_body", writeHtmlBody},
      {"level", nullptr, testValue<Chapter, &Chapter::level>},
      {"function_list", nullptr, nullptr, memberObject<Chapter, &Chapter::functionList_>},
      {"enum_list", nullptr, nullptr, memberObject<Chapter, &Chapter::enumList_>},
      {"class_list", nullptr, nullptr, memberObject<Chapter, &Chapter::classList_>},
      {"external_doc_list", nullptr, nullptr, memberObject<Chapter, &Chapter::externalDocList_>},
      {"chapter_list", nullptr, nullptr, memberObject<Chapter, &Chapter::chapterList_>},
      {"options", nullptr, nullptr, memberObject<Chapter, &Chapter::options_>},
      {"metric_class_list", nullptr, nullptr,
       [](Chapter& c) -> StyleSheetObject* { return &c.metrics_.classList(); }},
      {"metric_function_list", nullptr, nullptr,
       [](Chapter& c) -> StyleSheetObject* { return &c.metrics_.functionList(); }},
      {"parent", nullptr, nullptr, [](Chapter& c) -> StyleSheetObject* { return c.parent_; }},
  };
  static constexpr auto kRows = propertyRows(kChapterRows);
};

bool Chapter::WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) {
  if (writeProperty(*this, property, context, out)) return true;
  if (const MetricChart* chart = findMetricChart(property)) {
    writeMetricChart(*chart, metrics_, *this, context, out);
    return true;
  }
  if (const MetricChart* chart = findMetricSvgChart(property)) {
    writeMetricSvgChart(*chart, metrics_, out);
    return true;
  }
  return writeMetricFigure(property, metrics_.record(), outermost().metrics_.record(), out);
}

const Chapter& Chapter::outermost() const {
  const Chapter* outermost = this;
  while (outermost->parent_) outermost = outermost->parent_;
  return *outermost;
}

void Chapter::computeMetrics() {
  if (metrics_.computed()) return;
  metrics_.countOwn(classes_, functions_, MetricThresholds::from(currentConfiguration()));
  for (const auto& chapter : chapters_) {
    chapter->computeMetrics();
    metrics_.addSubChapter(chapter->metrics_);
  }
  metrics_.markComputed();
}

std::string Chapter::AnchorName() const {
  return makeIdentifier((parent_ ? parent_->AnchorName() + "_" : std::string("chp_")) + name_);
}

std::string Chapter::FileName(const EvaluationContext& context) const {
  return outputFileName((parent_ ? parent_->FileName(context) : std::string()) + "_" + name_);
}

bool Chapter::Test(std::string_view property, int32_t& value) const {
  return testProperty(*this, property, value) || testMetricChart(property, metrics_.record(), value);
}

StyleSheetObject* Chapter::GetList(std::string_view name) {
  return listProperty(*this, name);
}

Class& Chapter::appendClass(const Class& copy) {
  return *classes_.emplace_back(std::make_unique<Class>(copy));
}

Function& Chapter::appendFunction(const Function& copy) {
  return *functions_.emplace_back(std::make_unique<Function>(copy));
}

Enum& Chapter::appendEnum(const Enum& copy) {
  return *enums_.emplace_back(std::make_unique<Enum>(copy));
}

Document::Document() : Chapter(nullptr, "Class Dictionary") {}

std::string Document::FileName(const EvaluationContext& context) const {
  const Configuration* configuration = currentConfiguration();
  if (!configuration) return std::string();
  const int32_t format = context.filter ? context.filter->format() : kHtmlFormat;
  if (format == kRtfFormat) return stemOf(configuration->rtfOutputFile());
  if (format == kWinHelpFormat) return stemOf(configuration->winHelpOutputFile());
  return stemOf(configuration->htmlOutputFile());
}

}  // namespace quillet
