// Link and anchor markup of the output formats, and the linked-text writer that turns the names of
// documented symbols inside a text into links. Used by the evaluators (anchors and links), the document
// (file index) and the model (types, return types and comments written as linked text).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "template_objects/link_lookup.h"

namespace quillet {

struct EvaluationContext;

/// Which words of a text the linked-text writer may turn into links.
enum class LinkWords : uint8_t {
  /// Every name with a link target: declarations (types, return types, defaults) and text written as code.
  kAll,
  /// Running text of comments: names of types; functions, variables and enumerators only where the text
  /// writes them as code (between backquotes, followed by "()" or qualified with "::").
  kProse,
  /// Code blocks of comments: names of types only.
  kTypes,
  /// No word: the text of a link written in the comment.
  kNone,
};

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
/// Writes a cross reference of a printed RTF document: `text` (already RTF) underlined, as a hyperlink
/// field to the bookmark `bookmark` that a word processor follows.
void rtfCrossReference(std::ostream& out, std::string_view text, std::string_view bookmark);

/// Writes `text` through the context's filter, with every word that names an anchor of the context's link
/// index (of a kind `words` allows) written as a link (HTML) or hotspot (RTF). A word written qualified
/// (a::b::word) is looked up under its qualified name, then with leading qualifiers dropped; then as
/// `classContext` + "::" + word and in each class enclosing `classContext`, except where the word is that
/// class's own name (which names the class, not its constructor); then alone. Words are the runs between
/// the delimiters: blank, tab, line feed and the punctuation ` @ " ~ ! # $ % ^ & * ( ) - = + [ { ] } \ | ;
/// : ' , < . > / ?
void writeLinkedText(const EvaluationContext& context, std::ostream& out, std::string_view text,
                     std::string_view classContext, LinkWords words = LinkWords::kAll);

/// The target of the name `name` (which may be qualified and may end in a parameter list) as written in
/// the scope `classContext`, looked up as writeLinkedText looks up a word; any kind of symbol is taken. The
/// link is empty when the name has no target.
LinkTarget findNamedTarget(const EvaluationContext& context, std::string_view name,
                           std::string_view classContext);

/// Writes `text` as a link to `link`: an HTML link or a WinHelp hotspot, by the context's markup.
void writeLink(const EvaluationContext& context, std::ostream& out, std::string_view text,
               std::string_view link);

/// True when `c` separates words for writeLinkedText.
bool isLinkedTextDelimiter(char c);

}  // namespace quillet
