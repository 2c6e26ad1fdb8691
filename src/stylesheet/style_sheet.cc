#include "stylesheet/style_sheet.h"

#include <algorithm>
#include <string>
#include <utility>

#include "common/file_contents.h"
#include "common/file_system.h"
#include "common/message_output.h"
#include "stylesheet/command_tokenizer.h"

namespace quillet {

namespace {

// How much of the rest of a file an error message quotes.
constexpr size_t kExcerptLength = 50;

enum class ReadResult { kOk, kCannotOpen, kTooLarge };

// Reads a style sheet file whole. Only regular files are read, so that a device or a pipe named as a style
// sheet cannot block the run or fill memory.
ReadResult readStyleSheetFile(const std::string& fileName, std::string& contents) {
  const FileStatus status = fileSystem().status(fileName);
  if (status.kind != PathKind::kFile) return ReadResult::kCannotOpen;
  if (status.size > StyleSheet::kMaxFileSize) return ReadResult::kTooLarge;
  if (!readFileContents(fileName, contents)) return ReadResult::kCannotOpen;
  if (contents.size() > StyleSheet::kMaxFileSize) return ReadResult::kTooLarge;
  return ReadResult::kOk;
}

bool hasRtfExtension(std::string_view fileName) {
  const size_t dot = fileName.rfind('.');
  const size_t separator = fileName.find_last_of("/\\");
  if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator)) return false;
  const std::string_view extension = fileName.substr(dot);
  if (extension.size() != 4) return false;
  return std::equal(extension.begin(), extension.end(), ".rtf",
                    [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b; });
}

// Line ends read as single line feeds: the carriage return of every CR LF pair is dropped.
void dropCarriageReturnsOfLineEnds(std::string& text) {
  size_t out = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    text[out++] = text[i];
  }
  text.resize(out);
}

void removeAll(std::string& text, char c) {
  text.erase(std::remove(text.begin(), text.end(), c), text.end());
}

bool isAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// Deletes the line breaks of an RTF text: RTF ignores them, and word processors break long lines anywhere,
// commands and references included. A line break that ends a control word ("\par" at the end of a line)
// also delimits it, so there it becomes a blank, which RTF reads as the same delimiter; deleting it would
// run the control word into the next line ("\par" and "Text" into "\parText").
void removeRtfLineBreaks(std::string& text) {
  enum { kText, kBackslash, kControlWord } state = kText;
  size_t out = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      if (state == kControlWord) {
        text[out++] = ' ';
        state = kText;
      }
      continue;
    }
    text[out++] = c;
    switch (state) {
      case kText:
        state = c == '\\' ? kBackslash : kText;
        break;
      case kBackslash:
        state = isAsciiLetter(c) ? kControlWord : kText;  // "\\", "\{" and the like end here
        break;
      case kControlWord:
        if (!isAsciiLetter(c) && !isDigit(c) && c != '-') state = c == '\\' ? kBackslash : kText;
        break;
    }
  }
  text.resize(out);
}

// Removes the RTF control words (a backslash, letters, an optional signed number and one optional blank)
// that a word processor wrote into a command together with the groups it split the command with, so that
// "cla}{\i sses" reads as "classes". An escaped backslash is kept.
void removeRtfControlWords(std::string& text) {
  std::string result;
  result.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '\\' || i + 1 >= text.size()) {
      result += text[i++];
      continue;
    }
    if (!isAsciiLetter(text[i + 1])) {  // a control symbol such as "\\": kept whole
      result.append(text, i, 2);
      i += 2;
      continue;
    }
    size_t j = i + 1;
    while (j < text.size() && isAsciiLetter(text[j])) ++j;
    const size_t number = j < text.size() && text[j] == '-' ? j + 1 : j;
    if (number < text.size() && isDigit(text[number])) {
      j = number;
      while (j < text.size() && isDigit(text[j])) ++j;
    }
    if (j < text.size() && text[j] == ' ') ++j;
    i = j;
  }
  text = std::move(result);
}

int keywordKind(std::string_view token) {
  if (token == "for_each") return StyleSheet::kForEach;
  if (token == "for_each_if") return StyleSheet::kForEachIf;
  if (token == "if") return StyleSheet::kIf;
  if (token == "next") return StyleSheet::kNext;
  if (token == "new_file") return StyleSheet::kNewFile;
  if (token == "copy_file") return StyleSheet::kCopyFile;
  return 0;
}

bool isAnchorReference(const SectionToken& token) {
  return token.kind == SectionToken::kReference && (token.name == "anchor" || token.name == "anchor+");
}

}  // namespace

StyleSheet::StyleSheet(const std::string& fileName, bool)
    : fileName_(fileName), isRTF_(hasRtfExtension(fileName)) {}

StyleSheet::StyleSheet(const std::string& fileName) : StyleSheet(fileName, true) {
  std::string contents;
  switch (readStyleSheetFile(fileName, contents)) {
    case ReadResult::kOk:
      break;
    case ReadResult::kCannotOpen:
      reportMessage("error: (" + fileName + ") cannot open style sheet. ");
      contents.clear();
      break;
    case ReadResult::kTooLarge:
      reportMessage("error: (" + fileName + ") style sheet is too large to read. ");
      contents.clear();
      break;
  }
  parse(std::move(contents));
}

StyleSheet StyleSheet::fromText(const std::string& fileName, std::string_view contents) {
  StyleSheet sheet(fileName, true);
  sheet.parse(std::string(contents));
  return sheet;
}

void StyleSheet::report(std::string_view what, std::string_view detail) const {
  std::string message = "error(" + fileName_ + ")";
  message += what;
  message += detail;
  reportMessage(message);
}

void StyleSheet::reportTokenLimit() {
  if (reportedTokenLimit_) return;
  reportedTokenLimit_ = true;
  report(" : too many references and expressions, the rest of the style sheet is written as it stands", {});
}

void StyleSheet::parse(std::string contents) {
  dropCarriageReturnsOfLineEnds(contents);
  if (isRTF_) removeRtfLineBreaks(contents);
  size_t budget = kMaxTokens;
  const std::string_view text = contents;
  const size_t first = text.find("$$");
  addTextSection(removePanoseGroups(text.substr(0, first)), budget);
  if (first == std::string_view::npos) return;
  size_t position = first;
  while (position < text.size()) {
    if (sections_.size() >= kMaxSections) {
      report(" : too many template commands, the rest is written as text - ",
             text.substr(position, kExcerptLength));
      addTextSection(removePanoseGroups(text.substr(position)), budget);
      break;
    }
    position += parseCommand(text.substr(position), budget);
  }
}

size_t StyleSheet::parseCommand(std::string_view rest, size_t& budget) {
  if (!rest.starts_with("$$(")) {
    report(" : unknown template command separator - ", rest.substr(0, kExcerptLength));
    addTextSection({}, budget);
    return rest.size();
  }
  const size_t next = rest.find("$$", 2);
  const std::string_view command =
      rest.substr(2, next == std::string_view::npos ? std::string_view::npos : next - 2);
  const size_t consumed = 2 + command.size();

  // The parenthesised part ends where the parenthesis opened by "$$(" closes.
  size_t depth = 0;
  size_t end = std::string_view::npos;
  for (size_t i = 0; i < command.size(); ++i) {
    if (command[i] == '(') {
      ++depth;
    } else if (command[i] == ')' && --depth == 0) {
      end = i + 1;
      break;
    }
  }
  if (end == std::string_view::npos) {
    report(" : missing parentheses in ", rest.substr(0, kExcerptLength));
    addTextSection({}, budget);
    return rest.size();
  }
  std::string literal = removePanoseGroups(command.substr(end));
  const std::string_view raw_body = command.substr(1, end - 2);

  const size_t fixed = raw_body.find("fixed_text");
  if (fixed != std::string_view::npos) {
    fixedTextOpening_ = raw_body.substr(0, fixed);
    fixedTextClosing_ = raw_body.substr(fixed + std::string_view("fixed_text").size());
    addTextSection(literal, budget);
    return consumed;
  }

  std::string body(raw_body);
  std::replace(body.begin(), body.end(), '\t', ' ');
  // A word processor may split a command across formatting groups ("cla}{\i sses"): the braces go, and the
  // texts around the command get "}{" so that their own groups still balance.
  const auto opens = std::count(body.begin(), body.end(), '{');
  const auto closes = std::count(body.begin(), body.end(), '}');
  const bool scope_repair = opens + closes > 0;
  if (scope_repair) {
    if (opens != closes) report(" : mismatched RTF scope '{' or '}' in command ", body + ".");
    removeAll(body, '{');
    removeAll(body, '}');
    if (isRTF_) removeRtfControlWords(body);
  }
  removeAll(body, '\n');

  // Keyword, then the operand (a parenthesised expression, or the label of "next"), then "start" and a label.
  int state = 1;
  int kind = kText;
  long paren_depth = 0;
  std::string expression;
  std::string label;
  size_t position = 0;
  for (std::string_view token = nextCommandToken(body, position); !token.empty();
       token = nextCommandToken(body, position)) {
    switch (state) {
      case 1:
        kind = keywordKind(token);
        if (kind == 0) {
          report(" : unknown template command ", std::string(token) + " in expression " + body);
          kind = kText;
        }
        state = 2;
        break;
      case 2:
        if (kind == kNext) {
          label = token;
          break;
        }
        paren_depth +=
            std::count(token.begin(), token.end(), '(') - std::count(token.begin(), token.end(), ')');
        if (isComparisonWord(token)) {
          expression += ' ';
          expression += token;
          expression += ' ';
        } else {
          expression += token;
        }
        if (paren_depth == 0) state = 3;
        break;
      case 3:
        if (token != "start") {
          report(" : unknown template command ", std::string(token) + " in expression " + body);
        }
        state = 4;
        break;
      default:
        label = token;
        break;
    }
  }
  if (expression.size() > 2) expression = expression.substr(1, expression.size() - 2);

  Section section;
  section.kind_ = kind;
  section.label_ = std::move(label);
  setExpression(section, std::move(expression), budget);
  if (scope_repair) {
    setText(sections_.back(), sections_.back().text_ + "}{", budget);
    literal.insert(0, "}{");
  }
  setText(section, std::move(literal), budget);
  sections_.push_back(std::move(section));
  return consumed;
}

void StyleSheet::addTextSection(std::string_view text, size_t& budget) {
  Section& section = sections_.emplace_back();
  setText(section, std::string(text), budget);
}

void StyleSheet::setText(Section& section, std::string text, size_t& budget) {
  budget += section.textTokens_.size();
  section.textTokens_.clear();
  section.text_ = std::move(text);
  if (!cutSectionText(section.text_, section.textTokens_, budget)) reportTokenLimit();
  const bool loop = section.kind_ == kForEach || section.kind_ == kForEachIf;
  section.anchorFree_ =
      !loop && std::none_of(section.textTokens_.begin(), section.textTokens_.end(), isAnchorReference);
}

void StyleSheet::setExpression(Section& section, std::string expression, size_t& budget) {
  section.expression_ = std::move(expression);
  section.expressionTokens_.clear();
  size_t position = 0;
  for (std::string_view token = nextCommandToken(section.expression_, position); !token.empty();
       token = nextCommandToken(section.expression_, position)) {
    if (budget == 0) {
      reportTokenLimit();
      break;
    }
    --budget;
    const std::string_view replacement = comparisonOperator(token);
    section.expressionTokens_.emplace_back(replacement.empty() ? token : replacement);
  }
}

}  // namespace quillet
