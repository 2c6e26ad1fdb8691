#include "document/chapter_options.h"

#include "config/configuration.h"
#include "model/model_mixins.h"
#include "model/model_properties.h"
#include "template_objects/property_table.h"

namespace quillet {

template <>
struct PropertyTable<ChapterOptions> {
  using Options = ChapterOptions;
  static constexpr PropertyRow<ChapterOptions> kOptionRows[] = {
      {"functions_in_toc", nullptr,
       [](const Options&) -> int32_t { return runConfiguration().functionsInToc(); }},
      {"metrics_enabled", nullptr,
       [](const Options&) -> int32_t { return runConfiguration().metricLevel() != 2; }},
      {"metrics_summary", nullptr,
       [](const Options&) -> int32_t { return runConfiguration().metricLevel() == 1; }},
      {"metrics_all", nullptr,
       [](const Options&) -> int32_t { return runConfiguration().metricLevel() == 0; }},
      {"link_to_headers", nullptr,
       [](const Options&) -> int32_t { return runConfiguration().linkToHeaders(); }},
      {"document_protected", nullptr,
       [](const Options&) -> int32_t { return runConfiguration().isDocumented(kAccessProtected); }},
      {"document_private", nullptr,
       [](const Options&) -> int32_t { return runConfiguration().isDocumented(kAccessPrivate); }},
      {"source_pages", nullptr,
       [](const Options&) -> int32_t { return runConfiguration().htmlSourcePages(); }},
  };
  static constexpr auto kRows = propertyRows(kOptionRows);
};

bool ChapterOptions::WriteProperty(const EvaluationContext&, std::string_view, std::ostream&) {
  return false;
}

bool ChapterOptions::Test(std::string_view property, int32_t& value) const {
  return testProperty(*this, property, value);
}

}  // namespace quillet
