// The first steps of turning a source comment into comment text: tabs expanded to blanks, comment markers
// ("*" and "/" at the ends of each line) blanked out, and "$$(...)" comment directives taken out of the
// text. DocText runs them, in this order, before tags and paragraphs; each works on the whole text at once.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

/// `text` with every tab replaced by blanks up to the next multiple of `tabSize` (8 when not positive),
/// columns counted from the last line break; a carriage return before a line feed is dropped.
std::string expandTabs(std::string_view text, int tabSize);

/// Replaces the comment markers at both ends of every line of `text` by blanks: leading and trailing
/// asterisks, then trailing and leading slashes, repeated until the line's ends hold no more markers (so
/// both bare comment bodies and comments with their delimiters are cleaned). Never changes the length of a
/// line, so the text keeps its alignment. A single "/" ending a line right after a word ends a path or URL
/// and stays. With `keepEmphasis` (comments read as Markdown), stars right before or after a word at the
/// ends of a line are emphasis ("**Note**:") and stay.
void blankCommentMarkers(std::string& text, bool keepEmphasis = false);

/// What taking the directives out of a comment found.
struct CommentDirectives {
  std::vector<std::string> targets;  // the targets of the "assign" directives, in text order
  std::vector<std::string> errors;   // one message line per unusable directive
};

/// Deletes every "$$(" ... ")" directive from `text` and collects the assign targets; a directive that is
/// not "assign,target" gives an error line naming `fileName`. A "$$(" without a ")" after it stays.
CommentDirectives extractDirectives(std::string& text, std::string_view fileName);

}  // namespace quillet
