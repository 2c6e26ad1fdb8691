// Test scaffolding for comments: paragraph makers, and a link index answering from a table with evaluation
// contexts for HTML and RTF over it, optionally with a style sheet that sets the fixed text.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "model/comment_paragraphs.h"
#include "stylesheet/evaluation_context.h"
#include "stylesheet/link_lookup.h"
#include "stylesheet/style_sheet.h"
#include "stylesheet/style_sheet_filter.h"

namespace quillet {

inline DocParagraph flowing(std::string text) {
  return {std::move(text), DocParagraph::kFlowing};
}
inline DocParagraph kept(std::string text) {
  return {std::move(text), DocParagraph::kPreformatted};
}

class CommentOutput final : public LinkLookup {
 public:
  std::string namedLink(const EvaluationContext&, std::string_view key) const override {
    auto found = links.find(std::string(key));
    return found == links.end() ? std::string() : found->second;
  }
  EvaluationContext html() const { return context(html_); }
  EvaluationContext rtf() const { return context(rtf_); }
  /// Makes the contexts carry a style sheet whose fixed text is `opening` and `closing`.
  void useFixedText(const std::string& opening, const std::string& closing) {
    sheet_.emplace(StyleSheet::fromText("main.html", "$$(" + opening + "fixed_text" + closing + ")"));
  }

  std::map<std::string, std::string> links;

 private:
  EvaluationContext context(const StyleSheetFilter& filter) const {
    EvaluationContext context;
    context.filter = &filter;
    context.linkIndex = this;
    context.styleSheet = sheet_ ? &*sheet_ : nullptr;
    return context;
  }

  HTMLStyleSheetFilter html_;
  RTFStyleSheetFilter rtf_;
  std::optional<StyleSheet> sheet_;
};

}  // namespace quillet
