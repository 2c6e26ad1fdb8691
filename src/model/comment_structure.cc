#include "model/comment_structure.h"

#include <algorithm>
#include <utility>

#include "common/byte_search.h"

namespace quillet {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

bool isNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == ':' ||
         c == '~';
}

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

// The text of a code block as written: without the rest of the command's line when that is blank, and
// without the blanks before the end command.
std::string verbatimText(std::string_view text) {
  const size_t first_line_end = text.find('\n');
  if (first_line_end != std::string_view::npos && trim(text.substr(0, first_line_end)).empty())
    text.remove_prefix(first_line_end + 1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  std::string kept(text);
  if (!kept.empty() && kept.back() != '\n') kept += '\n';
  return kept;
}

// The name a "@fn" declaration declares: the last word before its parameter list, qualified as written;
// an operator's whole name ("operator new", "operator()").
std::string declaredFunctionName(std::string_view declaration) {
  const size_t open = declaration.find('(');
  const std::string_view head = trim(declaration.substr(0, open));
  size_t start = head.find_last_of(" \t*&");
  start = start == std::string_view::npos ? 0 : start + 1;
  const size_t op = head.rfind("operator");
  if (op != std::string_view::npos && op < start) {
    start = op;
    while (start > 0 && isNameCharacter(head[start - 1])) --start;
  }
  std::string name(head.substr(start));
  if (name.ends_with("operator") && open != std::string_view::npos &&
      declaration.substr(open).starts_with("()"))
    name += "()";
  return name;
}

class StructureReader {
 public:
  StructureReader(std::string_view text, std::string_view fileName) : text_(text), fileName_(fileName) {}

  CommentStructure read() {
    bool line_start = true;
    while (pos_ < text_.size()) {
      if (line_start) {
        line_start = false;
        size_t first = skipBlanks(text_, pos_);
        while (first < text_.size() && isBlank(text_[first])) ++first;
        if (first == text_.size() || text_[first] == '\n') {
          blankLine();
          pos_ = first + 1;
          line_start = true;
          continue;
        }
      }
      const size_t next = findCommandMarkOnLine(text_, pos_);
      if (next == std::string_view::npos) {
        append(text_.substr(pos_));
        break;
      }
      if (text_[next] == '\n') {
        append(text_.substr(pos_, next + 1 - pos_));
        pos_ = next + 1;
        line_start = true;
        continue;
      }
      append(text_.substr(pos_, next - pos_));
      pos_ = next;
      CommandAt command;
      if (readCommand(text_, next, command)) {
        line_start = handle(command);
        continue;
      }
      // "@{" and "@}" open and close member groups: structure only.
      if (next + 1 < text_.size() && (text_[next + 1] == '{' || text_[next + 1] == '}') &&
          (next == 0 || text_[next - 1] == ' ' || text_[next - 1] == '\n')) {
        result_.hasCommands = true;
        pos_ = next + 2;
        continue;
      }
      append(text_.substr(next, 1));
      ++pos_;
    }
    // Empty blocks say nothing.
    const auto drop_empty = [](std::vector<CommentBlock>& blocks, int* keep) {
      std::vector<CommentBlock> kept;
      for (size_t i = 0; i < blocks.size(); ++i) {
        const bool is_kept = static_cast<int>(i) == (keep ? *keep : -1);
        if (!is_kept && trim(blocks[i].text).empty()) continue;
        if (is_kept) *keep = static_cast<int>(kept.size());
        kept.push_back(std::move(blocks[i]));
      }
      blocks = std::move(kept);
    };
    drop_empty(result_.description, &result_.briefBlock);
    for (CommentSectionText& section : result_.sections) drop_empty(section.blocks, nullptr);
    return std::move(result_);
  }

 private:
  std::vector<CommentBlock>& blocks() {
    return inSection_ ? result_.sections.back().blocks : result_.description;
  }
  CommentBlock& current() {
    std::vector<CommentBlock>& list = blocks();
    if (list.empty() || list.back().verbatim || newBlock_) {
      list.emplace_back();
      list.back().offset = pos_;
      newBlock_ = false;
    }
    return list.back();
  }
  void append(std::string_view text) {
    if (!text.empty()) current().text += text;
  }
  void toDescription() {
    inSection_ = false;
    newBlock_ = true;
  }
  void blankLine() {
    if (inSection_ || inBrief_) {
      inBrief_ = false;
      toDescription();
      return;
    }
    append("\n");
  }
  // The end of the line the reader is on.
  size_t lineEnd() const {
    return quillet::lineEnd(text_, pos_);
  }
  // The next word on the line (blanks skipped), and the reader after it.
  std::string_view word() {
    while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
    const size_t start = pos_;
    while (pos_ < text_.size() && !isBlank(text_[pos_]) && text_[pos_] != '\n') ++pos_;
    return text_.substr(start, pos_ - start);
  }
  // Where the end command `name` is written from `from` on (counting nested openings of `open`), or npos.
  // A search that found nothing is remembered, so that many openings without an end cost one search.
  size_t findEnd(size_t from, std::string_view open, std::string_view name, size_t& after) {
    for (const auto& [missing, searched_from] : missingEnds_)
      if (missing == name && from >= searched_from) return std::string_view::npos;
    int depth = 0;
    for (size_t at = findCommandMark(text_, from); at != std::string_view::npos;
         at = findCommandMark(text_, at + 1)) {
      CommandAt found;
      if (!readCommand(text_, at, found)) continue;
      if (found.name == open) ++depth;
      if (found.name == name && depth-- == 0) {
        after = found.end;
        return at;
      }
    }
    missingEnds_.emplace_back(name, from);
    return std::string_view::npos;
  }
  void problem(std::string_view what) {
    result_.problems.push_back("warning: (" + std::string(fileName_) + ") " + std::string(what) +
                               ", shown as text.");
  }
  void asText(const CommandAt& command) {
    append(text_.substr(command.begin, command.end - command.begin));
    pos_ = command.end;
  }

  // Handles the command at the reader; true when the reader is left at the start of a line.
  bool handle(const CommandAt& command) {
    if (!command.command) {
      if (std::find(result_.unknownCommands.begin(), result_.unknownCommands.end(), command.name) ==
          result_.unknownCommands.end())
        result_.unknownCommands.emplace_back(command.name);
      asText(command);
      return false;
    }
    const CommentCommand& known = *command.command;
    result_.hasCommands = true;
    pos_ = command.end;
    switch (known.role) {
      case CommandRole::kInline:
        pos_ = command.begin;
        asText(command);
        return false;
      case CommandRole::kBrief:
        toDescription();
        inBrief_ = true;
        result_.briefBlock = static_cast<int>(result_.description.size());
        current();
        return false;
      case CommandRole::kDetails:
        inBrief_ = false;
        toDescription();
        return false;
      case CommandRole::kSection:
        inBrief_ = false;
        startSection(known);
        return false;
      case CommandRole::kBlock: {
        size_t after = 0;
        const size_t end = findEnd(command.end, {}, known.kind, after);
        if (end == std::string_view::npos) {
          problem("@" + std::string(command.name) + " without @" + std::string(known.kind));
          pos_ = command.begin;
          asText(command);
          return false;
        }
        CommentBlock block;
        block.text = verbatimText(text_.substr(command.end, end - command.end));
        block.verbatim = true;
        block.language = command.language;
        block.offset = command.end;
        blocks().push_back(std::move(block));
        newBlock_ = true;
        pos_ = after;
        return false;
      }
      case CommandRole::kHidden: {
        size_t after = 0;
        const size_t end = findEnd(command.end, command.name, known.kind, after);
        if (end != std::string_view::npos) {
          pos_ = after;
        } else if (command.name == "internal") {
          pos_ = text_.size();  // internal text runs to the end of the comment
        } else {
          problem("@" + std::string(command.name) + " without @" + std::string(known.kind));
          pos_ = command.begin;
          asText(command);
        }
        return false;
      }
      case CommandRole::kBlockEnd:
        problem("@" + std::string(command.name) + " without its opening command");
        pos_ = command.begin;
        asText(command);
        return false;
      case CommandRole::kTarget:
        target(command.name);
        return false;
      case CommandRole::kStructure:
        if (command.name == "name" || command.name == "defgroup" || command.name == "addtogroup" ||
            command.name == "weakgroup" || command.name == "mainpage" || command.name == "page" ||
            command.name == "dir")
          result_.documentsNoDeclaration = true;
        if (known.kind == "line") {
          pos_ = lineEnd();
        } else if (known.kind == "word") {
          word();
        }
        return false;
      case CommandRole::kHeading: {
        word();  // the heading's identifier
        const size_t end = lineEnd();
        const std::string_view title = trim(text_.substr(pos_, end - pos_));
        pos_ = end;
        if (!title.empty()) {
          newBlock_ = true;
          append(title);
          append("\n");
          newBlock_ = true;
        }
        return false;
      }
    }
    return false;
  }

  void startSection(const CommentCommand& known) {
    CommentSectionText& section = result_.sections.emplace_back();
    section.command = &known;
    inSection_ = true;
    newBlock_ = true;
    switch (known.section) {
      case SectionKind::kParam:
      case SectionKind::kTemplateParam: {
        while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '[') {
          const size_t close = text_.find(']', pos_);
          if (close != std::string_view::npos && close < lineEnd()) {
            std::string direction;
            for (char c : text_.substr(pos_ + 1, close - pos_ - 1))
              if (c != ' ') direction += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            section.direction = direction == "out,in" ? "in,out" : direction;
            pos_ = close + 1;
          }
        }
        // Several names: "a,b" or "a, b".
        for (;;) {
          std::string_view name = word();
          const bool more = name.ends_with(',');
          size_t start = 0;
          while (start < name.size()) {
            size_t comma = name.find(',', start);
            if (comma == std::string_view::npos) comma = name.size();
            if (comma > start) {
              if (!section.name.empty()) section.name += ", ";
              section.name += name.substr(start, comma - start);
            }
            start = comma + 1;
          }
          if (!more || name.empty()) break;
        }
        break;
      }
      case SectionKind::kReturnValue:
      case SectionKind::kThrows:
        section.name = word();
        break;
      default:
        if (known.kind == "par") {
          const size_t end = lineEnd();
          section.name = trim(text_.substr(pos_, end - pos_));
          pos_ = end;
        }
        break;
    }
  }

  void target(std::string_view name) {
    const size_t end = lineEnd();
    const std::string_view argument = trim(text_.substr(pos_, end - pos_));
    pos_ = end;
    if (name == "class" || name == "struct" || name == "union" || name == "enum") {
      size_t length = 0;
      while (length < argument.size() && isNameCharacter(argument[length])) ++length;
      if (length > 0) result_.targets.emplace_back(argument.substr(0, length));
    } else if (name == "fn") {
      const std::string function = declaredFunctionName(argument);
      if (!function.empty()) result_.targets.push_back(function);
    } else {
      result_.documentsNoDeclaration = true;  // a file, namespace, macro, typedef or variable
    }
  }

  std::string_view text_;
  std::string_view fileName_;
  size_t pos_ = 0;
  bool inSection_ = false;
  bool inBrief_ = false;
  bool newBlock_ = false;
  std::vector<std::pair<std::string_view, size_t>> missingEnds_;  // end commands not found after a position
  CommentStructure result_;
};

}  // namespace

CommentStructure readCommentStructure(std::string_view text, std::string_view fileName) {
  return StructureReader(text, fileName).read();
}

}  // namespace quillet
