// Test scaffolding for writing comments: a link index that answers from a table, the two filters, and
// evaluation contexts over them, optionally with a style sheet that sets the fixed text.
#pragma once

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "stylesheet/evaluation_context.h"
#include "stylesheet/link_lookup.h"
#include "stylesheet/style_sheet.h"
#include "stylesheet/style_sheet_filter.h"

namespace quillet {

// A link index that answers from a fixed table and records every name it was asked for.
class FakeLinks final : public LinkLookup {
 public:
  std::string namedLink(const EvaluationContext&, std::string_view key) const override {
    asked.emplace_back(key);
    auto found = links.find(std::string(key));
    return found == links.end() ? std::string() : found->second;
  }
  std::map<std::string, std::string> links;
  mutable std::vector<std::string> asked;
};

class CommentOutput {
 public:
  /// A context writing HTML through the link table.
  EvaluationContext html() const { return context(html_); }
  /// A context writing RTF through the link table.
  EvaluationContext rtf() const { return context(rtf_); }
  /// Makes the contexts carry a style sheet whose fixed text is `opening` and `closing`.
  void useFixedText(std::string_view opening, std::string_view closing) {
    sheet_.emplace(StyleSheet::fromText(
        "main.html", "$$(" + std::string(opening) + "fixed_text" + std::string(closing) + ")"));
  }

  FakeLinks links;

 private:
  EvaluationContext context(const StyleSheetFilter& filter) const {
    EvaluationContext context;
    context.filter = &filter;
    context.linkIndex = &links;
    context.styleSheet = sheet_ ? &*sheet_ : nullptr;
    return context;
  }

  HTMLStyleSheetFilter html_;
  RTFStyleSheetFilter rtf_;
  std::optional<StyleSheet> sheet_;
};

}  // namespace quillet
