#include "model/comment_markdown.h"

namespace quillet {

std::vector<DocParagraph> buildMarkdownParagraphs(std::string_view text, std::span<const TagRegion> regions,
                                                  const ParagraphOptions& options) {
  return buildParagraphs(text, regions, options);
}

void prepareMarkdownInline(std::string_view text, PreparedText& into) {
  prepareInline(text, into);
}

}  // namespace quillet
