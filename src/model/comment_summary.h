// The summary of a comment: its first sentence. A sentence ends at ".", "!" or "?" followed by white space
// or the end of the paragraph (closing brackets and quotes after the mark belong to the sentence), so a
// summary never ends inside a URL, a number, a qualified name or a member access, nor after "e.g." or
// "i.e.". In a preformatted paragraph a line break ends it too. Tags are stepped over whole. DocText writes
// the first paragraph up to this length as its summary.
#pragma once

#include <cstddef>
#include <string_view>

namespace quillet {

/// The length of the first sentence of the paragraph `text`, the whole text when it holds no sentence end.
/// `preformatted` makes a line break end the sentence too; `prepared` reads `text` as prepared markup.
size_t firstSentenceLength(std::string_view text, bool preformatted, bool prepared);

}  // namespace quillet
