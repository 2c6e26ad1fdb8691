// The questions the markup writers ask of a link index: where is the anchor recorded under a name, or for an
// object, and what kind of symbol does it document? The link index of the evaluators (link_index.h)
// implements them; the linked-text writer (markup.h) turns names of documented symbols into links, and the
// document links its file index to the classes.
#pragma once

#include <string>
#include <string_view>

#include "template_objects/style_sheet_object.h"

namespace quillet {

struct EvaluationContext;

/// What a name leads to: the link text (empty when the name leads nowhere) and the kind of its target.
struct LinkTarget {
  std::string link;
  LinkKind kind = LinkKind::kOther;
};

class LinkLookup {
 public:
  virtual ~LinkLookup() = default;

  /// The link text to the anchor recorded under `key`, in the form the context's filter needs (file and
  /// anchor for HTML, the anchor alone for RTF); empty when nothing is recorded under `key`.
  virtual std::string namedLink(const EvaluationContext& context, std::string_view key) const = 0;
  /// The link text and the kind of the target recorded under `key`. A look-up that records no kinds
  /// answers every target as a type, so that every name it knows links wherever it is written.
  virtual LinkTarget namedTarget(const EvaluationContext& context, std::string_view key) const {
    return {namedLink(context, key), LinkKind::kType};
  }
  /// False when no key recorded ends in the name `word` (after its last "::"), so that no key that a text
  /// mentioning `word` could be looked up under leads anywhere; a look-up that cannot tell answers true.
  virtual bool mayName(std::string_view /*word*/) const { return true; }
  /// The link text to the anchor recorded for `object`, in the same form; empty when it has none.
  virtual std::string objectLink(const StyleSheetObject& /*object*/,
                                 const EvaluationContext& /*context*/) const {
    return {};
  }
};

}  // namespace quillet
