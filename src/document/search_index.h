// The search index of an HTML site: every documented class, function, enumeration, enumerator, typedef,
// namespace, file and chapter with its kind, name, scope, summary and page, written as one script file that
// pages opened from file:// can load. The document writes it as its "search_index" property; the site's
// search script ranks the entries as the reader types.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace quillet {

class Document;
struct EvaluationContext;

/// Writes `text` as a JavaScript string literal, quotes included, safe inside a script file.
void writeScriptString(std::ostream& out, std::string_view text);

/// The text of prepared HTML (tags dropped, the four escapes undone, white space runs made one blank).
std::string plainText(std::string_view html);

/// Writes the search index of `document`: a script assigning the entries to `window.quilletIndex`. Pages
/// are found through the context's link index; without one, every entry has an empty page.
void writeSearchIndex(const Document& document, const EvaluationContext& context, std::ostream& out);

}  // namespace quillet
