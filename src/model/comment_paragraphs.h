// Paragraphs of a comment: the cleaned and tagged comment text is cut at blank lines, each paragraph gets a
// formatting level (the comment's own, raised by the comment tags whose regions reach it), and is then kept
// as preformatted text or reflowed as prose. DocText builds its paragraph list here; the pieces are public
// so that the heuristics can be checked on their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/comment_tag.h"
#include "config/tag_matching.h"

namespace quillet {

/// One paragraph of a processed comment.
struct DocParagraph {
  enum Kind : int32_t { kFlowing = 2, kPreformatted = 4 };
  std::string text;
  int32_t kind = kFlowing;
  /// The text is prepared markup (tags between markers, the rest text) rather than text with HTML tags.
  bool prepared = false;
  /// The prepared text holds block markup (a list, a table, a heading), which no paragraph markup wraps.
  bool block = false;
  bool operator==(const DocParagraph&) const = default;
};

/// The formatting levels a paragraph can have: 1 decide by looks, 2 and 3 reflow, 4 keep as written.
enum ParagraphLevel : int32_t {
  kAutoLevel = 1,
  kFlowLevel = 2,
  kParagraphBreaksLevel = 3,
  kPreformattedLevel = 4,
};

/// The stretch of comment text a tag match governs: from the match to the next match (or the text's end).
struct TagRegion {
  size_t position = 0;
  size_t end = 0;
  int32_t level = kAutoLevel;
};

/// The regions of `matches` (sorted by position) in a text of `textSize` bytes, each with the level its
/// tag's formatting asks for (tags outside `tags` ask for nothing more than level 1).
std::vector<TagRegion> tagRegions(const std::vector<TagMatch>& matches, const std::vector<CommentTag>& tags,
                                  size_t textSize);

/// The settings paragraph building reads from the run's configuration.
struct ParagraphOptions {
  int32_t level = kAutoLevel;  // the level the comment starts from
  bool autoFormat = true;      // off: every paragraph is kept as written
  bool capitalize = true;      // capitalize sentences and end the text with punctuation
};

/// What buildParagraphs noticed of the starts of lines, for the reading of Markdown, which looks closer
/// only then: some line starts (after its blanks) with one of "-+*#>|`~", a digit or a tab, and so may
/// open a block; or every line of some paragraph is indented by four more than the least indented line.
struct LineStarts {
  bool mayOpenBlocks = false;
};

/// The paragraphs of `text`: runs of non-blank lines, each formatted at its level, then adjacent
/// preformatted paragraphs merged and their common indentation removed. With `starts`, what the lines'
/// starts may open is noted there.
std::vector<DocParagraph> buildParagraphs(std::string_view text, std::span<const TagRegion> regions,
                                          const ParagraphOptions& options, LineStarts* starts = nullptr);

/// True when the lines of a paragraph look laid out by hand (code, tables, short lines) rather than prose.
bool looksPreformatted(std::span<const std::string_view> lines);

/// The lines joined into one line of prose with runs of blanks collapsed; with `capitalize`, the first
/// letter and every letter after ". " upper case and a full stop added unless the text ends in punctuation.
std::string reflowLines(std::span<const std::string_view> lines, bool capitalize);

/// Merges adjacent preformatted paragraphs (restoring one blank line between them) and removes from each
/// preformatted paragraph the indentation all of its non-blank lines share.
void finishPreformatted(std::vector<DocParagraph>& paragraphs);

}  // namespace quillet
