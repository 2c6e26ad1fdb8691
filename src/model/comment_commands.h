// The comment commands Quillet understands, written "@name" or "\name" as C++ libraries write them, and how
// to find one in comment text. A command starts at "@" or "\" at the start of the text or after a blank
// or an opening bracket, quote or punctuation mark, and its name is the letters that follow ("@param",
// "\return"); "{.cpp}" after "code" names a language. The table tells what each command does: begin a
// section of the structured comment, a block read as written, an inline markup, name the comment's target,
// or nothing but structure that is left out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/byte_search.h"

namespace quillet {

/// What a command does.
enum class CommandRole : uint8_t {
  kSection,    // begins a section (param, return, note, see, ...) running to a blank line or the next one
  kBrief,      // begins the brief description
  kDetails,    // begins a paragraph of the detailed description
  kBlock,      // begins text read as written up to its end command (code, verbatim, rst)
  kHidden,     // begins text left out up to its end command (internal, cond)
  kBlockEnd,   // ends a block or hidden text
  kInline,     // marks up the word or name after it (c, b, ref, ...) or stands for markup (n, li)
  kTarget,     // names the declaration the comment documents (class, fn, ...)
  kStructure,  // says something about grouping or placement only; left out with its argument line
  kHeading,    // a heading: its argument line after the identifier is shown as a paragraph
};

/// The sections of a structured comment; the lists and texts a section adds to.
enum class SectionKind : uint8_t {
  kParam,
  kTemplateParam,
  kReturn,
  kReturnValue,
  kThrows,
  kSee,
  kNote,  // pre, post, invariant, note, warning, attention, remark, since, deprecated, todo, ...
};

/// One command of the table.
struct CommentCommand {
  std::string_view name;
  CommandRole role;
  SectionKind section = SectionKind::kNote;
  /// The name the command's notes go by ("note", "warning", "pre", ...); for blocks, the end command.
  std::string_view kind = {};
};

/// The command called `name`, or null when there is none of that name.
const CommentCommand* findCommentCommand(std::string_view name);

/// A command written in comment text.
struct CommandAt {
  size_t begin = 0;                         // where its "@" or "\" stands
  size_t end = 0;                           // just after its name (and a "{.lang}" after "code")
  std::string_view name;                    // the letters after the "@" or "\"
  std::string_view language;                // what "{.lang}" named, without the braces and the dot
  const CommentCommand* command = nullptr;  // null for a name no command has
};

/// True when a command is written at `at` (an "@" or "\" where a command may start, followed by a letter),
/// filling `found`.
bool readCommand(std::string_view text, size_t at, CommandAt& found);

/// True when `text` may hold a command: it has an "@" or "\" before a letter somewhere.
bool mayHoldCommands(std::string_view text);

/// Where the first "@" or "\" of `text` at or after `from` stands; npos when there is none.
inline size_t findCommandMark(std::string_view text, size_t from) {
  return findAnyOf<false, '@', '\\'>(text, from);
}

/// Where the first "@" or "\" of the line of `text` that `from` is on stands, or else the line break that
/// ends the line; npos when neither follows.
inline size_t findCommandMarkOnLine(std::string_view text, size_t from) {
  return findAnyOf<false, '@', '\\', '\n'>(text, from);
}

}  // namespace quillet
