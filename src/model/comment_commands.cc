#include "model/comment_commands.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "common/byte_search.h"

namespace quillet {

namespace {

using R = CommandRole;
using S = SectionKind;

// Sorted by name for binary search. For kStructure, kind "line" means the command takes the rest of its
// line as its argument; for kBlock and kHidden, kind is the end command.
constexpr std::array<CommentCommand, 113> kCommands = {{
    {"a", R::kInline},
    {"addtogroup", R::kStructure, S::kNote, "line"},
    {"anchor", R::kStructure, S::kNote, "word"},
    {"arg", R::kInline},
    {"attention", R::kSection, S::kNote, "attention"},
    {"author", R::kSection, S::kNote, "author"},
    {"authors", R::kSection, S::kNote, "author"},
    {"b", R::kInline},
    {"brief", R::kBrief},
    {"bug", R::kSection, S::kNote, "bug"},
    {"c", R::kInline},
    {"callergraph", R::kStructure},
    {"callgraph", R::kStructure},
    {"class", R::kTarget},
    {"code", R::kBlock, S::kNote, "endcode"},
    {"cond", R::kHidden, S::kNote, "endcond"},
    {"copybrief", R::kInline},
    {"copydetails", R::kInline},
    {"copydoc", R::kInline},
    {"copyright", R::kSection, S::kNote, "copyright"},
    {"date", R::kSection, S::kNote, "date"},
    {"def", R::kTarget},
    {"defgroup", R::kStructure, S::kNote, "line"},
    {"deprecated", R::kSection, S::kNote, "deprecated"},
    {"details", R::kDetails},
    {"dir", R::kStructure, S::kNote, "line"},
    {"docbookonly", R::kHidden, S::kNote, "enddocbookonly"},
    {"e", R::kInline},
    {"em", R::kInline},
    {"endcode", R::kBlockEnd},
    {"endcond", R::kBlockEnd},
    {"enddocbookonly", R::kBlockEnd},
    {"endhtmlonly", R::kBlockEnd},
    {"endinternal", R::kBlockEnd},
    {"endlatexonly", R::kBlockEnd},
    {"endlink", R::kInline},
    {"endmanonly", R::kBlockEnd},
    {"endparblock", R::kStructure},
    {"endrst", R::kBlockEnd},
    {"endrtfonly", R::kBlockEnd},
    {"endverbatim", R::kBlockEnd},
    {"endxmlonly", R::kBlockEnd},
    {"enum", R::kTarget},
    {"example", R::kStructure, S::kNote, "line"},
    {"exception", R::kSection, S::kThrows, "throws"},
    {"file", R::kTarget},
    {"fn", R::kTarget},
    {"headerfile", R::kStructure, S::kNote, "line"},
    {"hidecallergraph", R::kStructure},
    {"hidecallgraph", R::kStructure},
    {"hideinitializer", R::kStructure},
    {"htmlonly", R::kHidden, S::kNote, "endhtmlonly"},
    {"ingroup", R::kStructure, S::kNote, "line"},
    {"internal", R::kHidden, S::kNote, "endinternal"},
    {"invariant", R::kSection, S::kNote, "invariant"},
    {"latexonly", R::kHidden, S::kNote, "endlatexonly"},
    {"li", R::kInline},
    {"link", R::kInline},
    {"mainpage", R::kStructure, S::kNote, "line"},
    {"manonly", R::kHidden, S::kNote, "endmanonly"},
    {"memberof", R::kStructure, S::kNote, "line"},
    {"n", R::kInline},
    {"name", R::kStructure, S::kNote, "line"},
    {"namespace", R::kTarget},
    {"nosubgrouping", R::kStructure},
    {"note", R::kSection, S::kNote, "note"},
    {"overload", R::kStructure},
    {"p", R::kInline},
    {"page", R::kStructure, S::kNote, "line"},
    {"par", R::kSection, S::kNote, "par"},
    {"paragraph", R::kHeading},
    {"param", R::kSection, S::kParam, "param"},
    {"parblock", R::kStructure},
    {"post", R::kSection, S::kNote, "post"},
    {"pre", R::kSection, S::kNote, "pre"},
    {"private", R::kStructure},
    {"privatesection", R::kStructure},
    {"protected", R::kStructure},
    {"protectedsection", R::kStructure},
    {"public", R::kStructure},
    {"publicsection", R::kStructure},
    {"ref", R::kInline},
    {"related", R::kStructure, S::kNote, "line"},
    {"relates", R::kStructure, S::kNote, "line"},
    {"remark", R::kSection, S::kNote, "remark"},
    {"remarks", R::kSection, S::kNote, "remark"},
    {"result", R::kSection, S::kReturn, "return"},
    {"return", R::kSection, S::kReturn, "return"},
    {"returns", R::kSection, S::kReturn, "return"},
    {"retval", R::kSection, S::kReturnValue, "retval"},
    {"rst", R::kBlock, S::kNote, "endrst"},
    {"rtfonly", R::kHidden, S::kNote, "endrtfonly"},
    {"sa", R::kSection, S::kSee, "see"},
    {"section", R::kHeading},
    {"see", R::kSection, S::kSee, "see"},
    {"short", R::kBrief},
    {"since", R::kSection, S::kNote, "since"},
    {"struct", R::kTarget},
    {"subsection", R::kHeading},
    {"subsubsection", R::kHeading},
    {"test", R::kSection, S::kNote, "test"},
    {"throw", R::kSection, S::kThrows, "throws"},
    {"throws", R::kSection, S::kThrows, "throws"},
    {"todo", R::kSection, S::kNote, "todo"},
    {"tparam", R::kSection, S::kTemplateParam, "tparam"},
    {"typedef", R::kTarget},
    {"union", R::kTarget},
    {"var", R::kTarget},
    {"verbatim", R::kBlock, S::kNote, "endverbatim"},
    {"version", R::kSection, S::kNote, "version"},
    {"warning", R::kSection, S::kNote, "warning"},
    {"weakgroup", R::kStructure, S::kNote, "line"},
    {"xmlonly", R::kHidden, S::kNote, "endxmlonly"},
}};

constexpr bool byName(const CommentCommand& a, const CommentCommand& b) {
  return a.name < b.name;
}

static_assert(std::is_sorted(kCommands.begin(), kCommands.end(), byName));
static_assert(kCommands.size() < 256);

bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// True when a command may start right after `c`: a blank, an opening bracket or quote, or punctuation
// that cannot end a word of an address or path (so "a@b.org" and "C:\temp" hold no command).
bool opensCommand(char c) {
  switch (c) {
    case ' ':
    case '\t':
    case '\n':
    case '(':
    case '[':
    case '{':
    case ',':
    case ';':
    case '"':
    case '\'':
    case '`':
    case '>':
    case '*':
      return true;
    default:
      return false;
  }
}

}  // namespace

const CommentCommand* findCommentCommand(std::string_view name) {
  // The commands starting with each letter, found once: most look-ups then compare a handful of names.
  struct Range {
    unsigned char begin = 0;
    unsigned char end = 0;
  };
  static const std::array<Range, 26> kByLetter = [] {
    std::array<Range, 26> ranges{};
    for (size_t i = 0; i < kCommands.size(); ++i) {
      Range& range = ranges[static_cast<size_t>(kCommands[i].name[0] - 'a')];
      if (range.end == 0) range.begin = static_cast<unsigned char>(i);
      range.end = static_cast<unsigned char>(i + 1);
    }
    return ranges;
  }();
  if (name.empty() || name[0] < 'a' || name[0] > 'z') return nullptr;
  const Range range = kByLetter[static_cast<size_t>(name[0] - 'a')];
  for (size_t i = range.begin; i < range.end; ++i)
    if (kCommands[i].name == name) return &kCommands[i];
  return nullptr;
}

bool readCommand(std::string_view text, size_t at, CommandAt& found) {
  if (at >= text.size() || (text[at] != '@' && text[at] != '\\')) return false;
  if (at > 0 && !opensCommand(text[at - 1])) return false;
  size_t end = at + 1;
  while (end < text.size() && isLetter(text[end])) ++end;
  if (end == at + 1) return false;
  found.begin = at;
  found.name = text.substr(at + 1, end - at - 1);
  found.command = findCommentCommand(found.name);
  // An unknown backslash word of one letter, or one right after a quote, is an escape sequence of quoted
  // code ("\t", '\x41', "\uXXXX"), not a command.
  if (!found.command && text[at] == '\\' &&
      (found.name.size() == 1 || (at > 0 && (text[at - 1] == '"' || text[at - 1] == '\''))))
    return false;
  found.language = {};
  // "@code{.cpp}" names the language of the code.
  if (found.name == "code" && end + 1 < text.size() && text[end] == '{') {
    const size_t close = text.find('}', end);
    if (close != std::string_view::npos && close - end < 32) {
      std::string_view language = text.substr(end + 1, close - end - 1);
      if (language.starts_with('.')) language.remove_prefix(1);
      found.language = language;
      end = close + 1;
    }
  }
  found.end = end;
  return true;
}

bool mayHoldCommands(std::string_view text) {
  for (size_t at = findAnyOf<false, '@', '\\'>(text); at != std::string_view::npos;
       at = findAnyOf<false, '@', '\\'>(text, at + 1))
    if (at + 1 < text.size() && isLetter(text[at + 1])) return true;
  return false;
}

}  // namespace quillet
