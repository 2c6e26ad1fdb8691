// The one question the markup writers ask of a link index: where is the anchor recorded under a name? The
// link index of the evaluator implements it; the linked-text writer (markup.h) uses it to turn names of
// documented symbols into links.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

struct EvaluationContext;

class LinkLookup {
 public:
  virtual ~LinkLookup() = default;

  /// The link text to the anchor recorded under `key`, in the form the context's filter needs (file and
  /// anchor for HTML, the anchor alone for RTF); empty when nothing is recorded under `key`.
  virtual std::string namedLink(const EvaluationContext& context, std::string_view key) const = 0;
};

}  // namespace quillet
