#include "stylesheet/style_sheet.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/file_contents.h"
#include "common/file_system.h"
#include "common/message_output.h"
#include "stylesheet/command_tokenizer.h"

namespace quillet {

namespace {

// How much of the rest of a file an error message quotes.
constexpr size_t kExcerptLength = 50;

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
// run the control word into the next line ("\par" and "Text" into "\parText"). `lineStarts` receives, for
// every line after the first, the position in the result where it begins.
void removeRtfLineBreaks(std::string& text, std::vector<size_t>& lineStarts) {
  enum { kText, kBackslash, kControlWord } state = kText;
  size_t out = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      if (state == kControlWord) {
        text[out++] = ' ';
        state = kText;
      }
      lineStarts.push_back(out);
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

// Where each line after the first begins in `text`.
void findLineStarts(std::string_view text, std::vector<size_t>& lineStarts) {
  for (size_t i = text.find('\n'); i != std::string_view::npos; i = text.find('\n', i + 1))
    lineStarts.push_back(i + 1);
}

bool isAnchorReference(const SectionToken& token) {
  return token.kind == SectionToken::kReference && (token.name == "anchor" || token.name == "anchor+");
}

}  // namespace

StyleSheet::StyleSheet(const std::string& fileName, bool)
    : fileName_(fileName), isRTF_(hasRtfExtension(fileName)) {}

StyleSheet::StyleSheet(const std::string& fileName) : StyleSheet(fileName, true) {
  std::string contents;
  const InputRead read = readInputFile(fileName, InputKind::kStyleSheet, contents);
  if (read.outcome == ReadOutcome::kCannotOpen) {
    reportMessage("error: (" + fileName + ") cannot open style sheet. ");
  } else if (!read.ok()) {
    reportMessage("error: " + read.problem(fileName, InputKind::kStyleSheet));
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
  std::vector<size_t> lineStarts;
  if (isRTF_) {
    removeRtfLineBreaks(contents, lineStarts);
  } else {
    findLineStarts(contents, lineStarts);
  }
  // The line a section's command starts on, for messages.
  auto lineAt = [&lineStarts](size_t position) {
    return static_cast<uint32_t>(std::upper_bound(lineStarts.begin(), lineStarts.end(), position) -
                                 lineStarts.begin() + 1);
  };
  size_t budget = kMaxTokens;
  const std::string_view text = contents;
  const size_t first = text.find("$$");
  addTextSection(removePanoseGroups(text.substr(0, first)), budget);
  if (first == std::string_view::npos) {
    closingNext_.assign(1, 1);
    return;
  }
  size_t position = first;
  while (position < text.size()) {
    const size_t added = sections_.size();
    const uint32_t line = lineAt(position);
    if (sections_.size() >= kMaxSections) {
      report(" : too many template commands, the rest is written as text - ",
             text.substr(position, kExcerptLength));
      addTextSection(removePanoseGroups(text.substr(position)), budget);
      sections_.back().line_ = line;
      break;
    }
    parseLine_ = line;
    position += parseCommand(text.substr(position), budget);
    for (size_t i = added; i < sections_.size(); ++i) sections_[i].line_ = line;
  }
  findClosingNexts();
  checkStructure();
}

bool StyleSheet::startsFiles() const {
  for (const Section& section : sections_)
    if (section.kind() == kNewFile) return true;
  return false;
}

std::string StyleSheet::location(size_t index) const {
  std::string where = fileName_;
  where += ':';
  where += std::to_string(index < sections_.size() ? sections_[index].line_ : 1);
  return where;
}

void StyleSheet::warn(size_t index, std::string_view text) const {
  std::string message = "warning(" + location(index) + ") : ";
  message += text;
  reportMessage(message);
}

// Loops and ifs have no closing command of their own: a loop's body ends at the first next with its label,
// and an if's text, like every section's, at the next command; by convention a "$$(next endif)" right after
// an if ends its text. A next that neither closes a loop nor follows an if is a slip (a misspelt or
// left-over label), and so is an if whose text runs to the end of the file; neither changes what is run.
void StyleSheet::findClosingNexts() {
  // From the end backwards, the nearest next of each label is known when a loop is met: one pass, however
  // many loops and nexts a file holds.
  closingNext_.assign(sections_.size(), sections_.size());
  std::unordered_map<std::string_view, size_t> nearest;
  for (size_t i = sections_.size(); i-- > 0;) {
    const Section& section = sections_[i];
    if (section.kind_ == kNext) {
      nearest[section.label_] = i;
    } else if (section.kind_ == kForEach || section.kind_ == kForEachIf) {
      const auto found = nearest.find(section.label_);
      if (found != nearest.end()) closingNext_[i] = found->second;
    }
  }
}

void StyleSheet::checkStructure() const {
  std::vector<bool> closesLoop(sections_.size(), false);
  for (size_t closing : closingNext_)
    if (closing < sections_.size()) closesLoop[closing] = true;
  for (size_t i = 1; i < sections_.size(); ++i) {
    const Section& section = sections_[i];
    if (section.kind_ != kNext || closesLoop[i]) continue;
    if (section.label_.empty()) {
      warn(i, "next without a label closes no loop; outside loops it ends the style sheet here");
    } else if (sections_[i - 1].kind_ != kIf) {
      warn(i, "next " + section.label_ + " closes no loop (a loop's label misspelt, or its loop gone?)");
    }
  }
  // An if that ends the file with a text of several lines makes the rest of the file conditional.
  const std::string_view last = sections_.back().text_;
  const size_t end = last.find_last_not_of(" \t\r\n");
  if (sections_.size() > 1 && sections_.back().kind_ == kIf && end != std::string_view::npos &&
      last.substr(0, end).find('\n') != std::string_view::npos) {
    warn(sections_.size() - 1,
         "if without an end: its text runs to the end of the style sheet; end it with $$(next endif)");
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
        if (kind == 0 && token == "else") {
          reportMessage("error(" + fileName_ + ":" + std::to_string(parseLine_) +
                        ") : else without if: style sheets have no else; write a second if with the "
                        "opposite condition");
          kind = kText;
        } else if (kind == 0) {
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
