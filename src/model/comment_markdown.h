// Markdown in comments, read with md4c (a CommonMark parser) into prepared markup so that every output
// format gets it: inline code, emphasis, strong text and links in paragraphs; lists, fenced code blocks,
// headings, tables and quotes as blocks. It works with the paragraphs of comment text processing: a
// paragraph the automatic formatting keeps as written stays as written, and the HTML tags a comment may use
// keep working. Text that merely looks like a tag stays text. DocText reads comments this way when the
// configuration turns Markdown on.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/comment_inline.h"
#include "model/comment_paragraphs.h"

namespace quillet {

/// The paragraphs of the comment text `text` (from `fileName`, named in messages) read as Markdown: fenced
/// code, code indented by four more than the rest, and blocks of list items, table rows, headings and
/// quotes become prepared paragraphs; the rest is cut and formatted as buildParagraphs does (those
/// paragraphs are not prepared yet). Containers nested too deep are reported and the text is read as it
/// would be without Markdown.
std::vector<DocParagraph> buildMarkdownParagraphs(std::string_view text, std::span<const TagRegion> regions,
                                                  const ParagraphOptions& options, std::string_view fileName);

/// Appends the inline Markdown of the paragraph text `text` (code spans, emphasis, links, autolinks) to
/// `into`, its other text marked up as prepareInline does, and returns true; or returns false, leaving
/// `into` alone, when `text` is one line that neither Markdown nor prepareInline finds anything in (it is
/// prepared markup as it stands).
bool prepareMarkdownParagraph(std::string_view text, PreparedText& into);

/// Forgets the readings of paragraphs that this thread keeps to answer repeated ones at once (for a
/// measure that must read the same comments afresh each round).
void forgetMarkdownReadings();

}  // namespace quillet
