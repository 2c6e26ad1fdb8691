// Link and anchor markup of the output formats, and the linked-text writer that turns the names of
// documented symbols inside a text into links. Used by the evaluators (anchors and links), the document
// (file index) and the model (types, return types and comments written as linked text).
#pragma once

#include <iosfwd>
#include <string_view>

namespace quillet {

struct EvaluationContext;

/// Writes an HTML link to `target` showing `text` (escaped). A target without "." that is neither empty nor
/// starts with "#" names nothing linkable: only the text is written. In the target "&", "<", ">" and '"'
/// become "amp", "lt", "gt" and "quot", as in htmlAnchor, so links and anchors made from one name agree.
void htmlLink(std::ostream& out, std::string_view text, std::string_view target);
/// Writes an HTML link to `url` shown in the frame `frame`, showing `text`; all three are escaped.
void htmlFrameLink(std::ostream& out, std::string_view text, std::string_view url, std::string_view frame);
/// Writes an HTML anchor called `name` (made safe as a link target is) around `text` (escaped).
void htmlAnchor(std::ostream& out, std::string_view text, std::string_view name);
/// Writes a WinHelp jump: `text` double-underlined followed by the topic identifier as hidden text.
void helpHotspot(std::ostream& out, std::string_view text, std::string_view topic);

/// Writes `text` through the context's filter, with every word that names an anchor of the context's link
/// index written as a link (HTML) or hotspot (RTF). A word is first looked up as `classContext` + "::" +
/// word when `classContext` is not empty, then alone. Words are the runs between the delimiters: blank,
/// tab, line feed and the punctuation ` @ " ~ ! # $ % ^ & * ( ) - = + [ { ] } \ | ; : ' , < . > / ?
void writeLinkedText(const EvaluationContext& context, std::ostream& out, std::string_view text,
                     std::string_view classContext);

/// True when `c` separates words for writeLinkedText.
bool isLinkedTextDelimiter(char c);

}  // namespace quillet
