// Helpers for the code model tests: functions, classes, comments and paragraphs made in one line, property
// values read back as strings, a link index answering from a table with evaluation contexts for HTML and RTF
// over it (optionally with a style sheet that sets the fixed text), and a configuration published for a test.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "config/configuration.h"
#include "model/class.h"
#include "model/comment_paragraphs.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/link_lookup.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

/// A comment holding `text`, as if found in `file`.
inline DocText comment(const std::string& text, const std::string& file = "widget.h") {
  return DocText(text, false, DocText::kParameterLevel, file);
}

/// A function `name` with parameters of the given signature types (shown types alike).
inline Function function(const std::string& name, const std::vector<std::string>& types = {},
                         const std::string& attributes = "") {
  Function made;
  made.name = name;
  made.attributes = attributes;
  for (const std::string& type : types) made.AddArg(type, type, "", "", {});
  return made;
}

/// A class `name` of the given key.
inline Class makeClass(const std::string& name, const std::string& key = "class") {
  Class made;
  made.name = name;
  made.classType = key;
  return made;
}

/// What `object` writes for `property` in `context`, or "<unknown>" when it does not know it.
inline std::string property(StyleSheetObject& object, const std::string& name,
                            const EvaluationContext& context = {}) {
  std::ostringstream out;
  if (!object.WriteProperty(context, name, out)) return "<unknown>";
  return out.str();
}

/// The value of the test `name`, or -1 when the object does not know it.
inline int32_t test(const StyleSheetObject& object, const std::string& name) {
  int32_t value = -1;
  return object.Test(name, value) ? value : -1;
}

/// Paragraphs of either kind.
inline DocParagraph flowing(std::string text) {
  return {std::move(text), DocParagraph::kFlowing};
}
inline DocParagraph kept(std::string text) {
  return {std::move(text), DocParagraph::kPreformatted};
}

// A link index answering from `links`, with evaluation contexts for HTML and RTF over it.
class CommentOutput final : public LinkLookup {
 public:
  std::string namedLink(const EvaluationContext&, std::string_view key) const override {
    auto found = links.find(std::string(key));
    return found == links.end() ? std::string() : found->second;
  }
  EvaluationContext html() const { return context(html_); }
  EvaluationContext rtf() const { return context(rtf_); }
  /// Makes the contexts carry a style sheet's fixed text `opening` and `closing`.
  void useFixedText(const std::string& opening, const std::string& closing) {
    opening_ = opening;
    closing_ = closing;
  }

  std::map<std::string, std::string> links;

 private:
  EvaluationContext context(const StyleSheetFilter& filter) const {
    EvaluationContext context;
    context.filter = &filter;
    context.linkIndex = this;
    context.fixedTextOpening = opening_;
    context.fixedTextClosing = closing_;
    return context;
  }

  HTMLStyleSheetFilter html_;
  RTFStyleSheetFilter rtf_;
  std::string opening_, closing_;
};

// Publishes a configuration for one test.
class ScopedConfiguration {
 public:
  ScopedConfiguration() { setCurrentConfiguration(&configuration); }
  ~ScopedConfiguration() { setCurrentConfiguration(nullptr); }
  ScopedConfiguration(const ScopedConfiguration&) = delete;
  ScopedConfiguration& operator=(const ScopedConfiguration&) = delete;
  Configuration configuration;
};

}  // namespace quillet
