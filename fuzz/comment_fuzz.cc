// Fuzzes comment processing and the comment markup builders. The input's first byte chooses the options
// (automatic formatting, capitalization, tab size, whether the tags are applied and the starting level);
// the rest is a raw comment, processed with a few comment tags of every operation and written in full and
// as a summary in HTML and RTF. Any crash, hang or sanitizer report is a finding, and so is RTF output
// whose braces do not balance.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "common/message_output.h"
#include "config/configuration.h"
#include "model/doc_text.h"
#include "stylesheet/style_sheet.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/link_lookup.h"
#include "template_objects/style_sheet_filter.h"

namespace {

using namespace quillet;

class SilentOutput : public MessageOutput {
 public:
  void status(std::string_view) override {}
  void report(std::string_view) override {}
};

// Links every word that starts with an upper-case letter, so that both link forms are written.
class CapitalLinks : public LinkLookup {
 public:
  std::string namedLink(const EvaluationContext&, std::string_view key) const override {
    return !key.empty() && key[0] >= 'A' && key[0] <= 'Z' ? "x.html#" + std::string(key) : std::string();
  }
};

CommentTag tag(const char* name, int32_t operation, int32_t formatting, bool before, bool after, bool brk) {
  CommentTag t;
  t.setTagName(name);
  t.setOperation(operation);
  t.setReplacement("R\\nS");
  t.setFormatting(formatting);
  t.setRemoveTextBefore(before);
  t.setRemoveTextAfter(after);
  t.setParagraphBreakBefore(brk);
  return t;
}

Configuration& configuration() {
  static Configuration* const config = [] {
    auto* c = new Configuration;
    c->appendCommentTag(tag("@[a-z]+", CommentTag::kKeepTag, CommentTag::kPreserveAll, false, false, true));
    c->appendCommentTag(tag("TODO", CommentTag::kRemoveTag, CommentTag::kAutoFormat, false, true, false));
    c->appendCommentTag(
        tag("Note:", CommentTag::kRemoveWhenEmpty, CommentTag::kPreserveParagraphs, true, false, false));
    c->appendCommentTag(tag("x*", CommentTag::kReplaceTag, CommentTag::kAutoFormat, false, false, true));
    return c;
  }();
  return *config;
}

void checkBalanced(const std::string& rtf) {
  long depth = 0;
  for (size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\')
      ++i;
    else if (rtf[i] == '{')
      ++depth;
    else if (rtf[i] == '}' && --depth < 0)
      std::abort();
  }
  if (depth != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t options = data[0];
  const std::string_view comment(reinterpret_cast<const char*>(data + 1), size - 1);
  Configuration& config = configuration();
  config.setAutoFormat((options & 1) == 0);
  config.setAutoCapitalize((options & 2) == 0);
  config.setTabSize((options >> 2) & 7);
  static SilentOutput output;
  setCurrentConfiguration(&config);
  setCurrentMessageOutput(&output);

  const DocText doc(comment, (options & 32) == 0, 1 + ((options >> 6) & 3), "fuzz.h");
  DocText both = doc;
  both.append(doc);

  static const StyleSheet sheet = StyleSheet::fromText("main.rtf", "$$({\\f2 fixed_text })");
  static const HTMLStyleSheetFilter html;
  static const RTFStyleSheetFilter rtf;
  static const CapitalLinks links;
  EvaluationContext context;
  context.linkIndex = &links;
  context.fixedTextOpening = sheet.fixedTextOpening();
  context.fixedTextClosing = sheet.fixedTextClosing();
  for (const StyleSheetFilter* filter :
       {static_cast<const StyleSheetFilter*>(&html), static_cast<const StyleSheetFilter*>(&rtf)}) {
    context.filter = filter;
    std::ostringstream full;
    both.WriteFull(context, "Klass", full);
    std::ostringstream summary;
    doc.WriteSummary(context, "Klass", summary);
    if (filter == static_cast<const StyleSheetFilter*>(&rtf)) {
      checkBalanced(full.str());
      checkBalanced(summary.str());
    }
  }
  setCurrentMessageOutput(nullptr);
  setCurrentConfiguration(nullptr);
  return 0;
}
