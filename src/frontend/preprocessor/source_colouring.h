// The colouring of a source page: the source scanner reads the text once and the stretches of keywords,
// type words, literals, comments and directive words are handed back as byte ranges of the text, in order.
#pragma once

#include <string_view>
#include <vector>

#include "common/source_span.h"

namespace quillet {

/// The coloured stretches of `text` in text order, none overlapping. A token that cannot be placed in the
/// text (a scanner that changed it) is left uncoloured.
std::vector<SourceSpan> colourSource(std::string_view text);

}  // namespace quillet
