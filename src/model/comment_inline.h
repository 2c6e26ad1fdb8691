// Inline markup of comments written with commands or Markdown, turned into prepared markup (see
// comment_markup.h): @c and @p mark code, @a, @e and @em emphasis, @b bold, @ref and @link references,
// @n line breaks and @li list items; "\@", "\\" and their kind stand for the character; the allowed HTML
// tags that are closed become tags; web addresses become links. Everything else is text, so a "<" that
// opens no tag stays a "<". DocText prepares every paragraph of such a comment this way.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/comment_markup.h"

namespace quillet {

/// A paragraph (or part of one) in prepared markup.
struct PreparedText {
  std::string text;
  /// True when it holds block markup (lists, tables, headings) that cannot stand inside a paragraph.
  bool block = false;
  /// The names that @copydoc, @copybrief and @copydetails named.
  std::vector<std::string> copyTargets;
  /// True while a list that @li began is open.
  bool inList = false;
};

/// Appends `text` to `out` as text of prepared markup.
void appendPreparedText(std::string& out, std::string_view text);
/// Appends the tag `name` with `attributes` (unsafe ones left out) to `out` as prepared markup.
void appendPreparedTag(std::string& out, std::string_view name, const TagAttributes& attributes = {});
/// True when the tag `name` (lower case, without "/") is block markup.
bool isBlockTag(std::string_view name);

/// True when `text` holds nothing that prepareInline would change: no command, escape, tag, web address or
/// marker character.
bool isPlainText(std::string_view text);
/// Appends the inline markup of `text` to `into`: commands, escapes, closed HTML tags and web addresses.
void prepareInline(std::string_view text, PreparedText& into);
/// Ends what prepareInline left open at the end of a paragraph (a list begun by @li).
void finishInline(PreparedText& into);

}  // namespace quillet
