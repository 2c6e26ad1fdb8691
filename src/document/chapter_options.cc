#include "document/chapter_options.h"

#include "config/configuration.h"

namespace quillet {

bool ChapterOptions::WriteProperty(const EvaluationContext&, std::string_view, std::ostream&) {
  return false;
}

bool ChapterOptions::Test(std::string_view property, int32_t& value) const {
  static const Configuration defaults;
  const Configuration& configuration = currentConfiguration() ? *currentConfiguration() : defaults;
  bool answer = false;
  if (property == "functions_in_toc") {
    answer = configuration.functionsInToc();
  } else if (property == "metrics_enabled") {
    answer = configuration.metricLevel() != 2;
  } else if (property == "metrics_summary") {
    answer = configuration.metricLevel() == 1;
  } else if (property == "metrics_all") {
    answer = configuration.metricLevel() == 0;
  } else if (property == "link_to_headers") {
    answer = configuration.linkToHeaders();
  } else if (property == "document_protected") {
    answer = configuration.isDocumented(2);
  } else if (property == "document_private") {
    answer = configuration.isDocumented(3);
  } else {
    return false;
  }
  value = answer ? 1 : 0;
  return true;
}

}  // namespace quillet
