// Reading the structure of a comment written with comment commands: the description (with its brief part),
// the sections that @param, @return, @note, @see and their kind begin, the blocks read as written (@code,
// @verbatim, @rst), the text that is left out (@internal, @cond), and the names a comment says it
// documents (@class, @fn). Sections run to a blank line or the next section. Inline commands are left in
// the text for the paragraphs to mark up. DocText reads every comment that holds a command this way.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/comment_commands.h"

namespace quillet {

/// A stretch of comment text: prose to cut into paragraphs, or text kept as written (a code block).
struct CommentBlock {
  std::string text;
  bool verbatim = false;
  std::string language;  // of a code block, when named
  size_t offset = 0;     // where the stretch began in the comment text
  bool operator==(const CommentBlock&) const = default;
};

/// A section as written: the command that began it, its arguments and its text.
struct CommentSectionText {
  const CommentCommand* command = nullptr;
  std::string name;       // the parameter names (joined with ", "), the value, the exception type, a title
  std::string direction;  // "in", "out" or "in,out" for a parameter written with one
  std::vector<CommentBlock> blocks;
};

/// What reading a comment's commands found.
struct CommentStructure {
  /// True when the comment holds a command Quillet knows (otherwise the comment is read as before).
  bool hasCommands = false;
  std::vector<CommentBlock> description;
  /// The index in `description` of the block that holds the brief, or -1.
  int briefBlock = -1;
  std::vector<CommentSectionText> sections;
  /// The names that @class, @struct, @union, @enum, @fn, @var, @def and @typedef gave.
  std::vector<std::string> targets;
  /// True when the comment documents a file, a namespace or a group (@file, @namespace, @defgroup...),
  /// which the code model does not hold: it documents no declaration.
  bool documentsNoDeclaration = false;
  /// The message lines of the problems found (a block without its end command).
  std::vector<std::string> problems;
  /// The names of the unknown commands written, each once.
  std::vector<std::string> unknownCommands;
};

/// Reads the commands of the comment text `text` from `fileName` (named in messages).
CommentStructure readCommentStructure(std::string_view text, std::string_view fileName);

}  // namespace quillet
