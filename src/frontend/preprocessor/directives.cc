// The directives of the preprocessor, executed while tokens are delivered: conditions, includes (with
// header replay and the "once" guard), macro definitions and the diagnostics.

#include <cstdint>

#include "common/condition_expression.h"
#include "common/message_output.h"
#include "frontend/preprocessor/directive_line.h"
#include "frontend/preprocessor/preprocessor.h"

namespace quillet {

// Executes the directive whose "#" was just read at the start of a line. False when the word after the "#"
// is no directive word: `token` then holds it, to be delivered as an ordinary token.
bool Preprocessor::directive(token_t& token) {
  if (!readDirectiveWord(token, true)) return true;
  directiveLine_ = token.line;
  std::vector<token_t> line;
  switch (token.kind) {
    case T_INCLUDE:
      include(false);
      break;
    case T_IF:
      state_ = condition() ? kActive : kSkipping;
      break;
    case T_IFDEF:
    case T_IFNDEF:
      readLine(&line, false);
      if (definedName(line) != (token.kind == T_IFDEF) && !line.empty() && line.front().kind == T_IDENTIFIER)
        state_ = kSkipping;
      break;
    case T_ELIF:
      dropLine();
      state_ = kBranchTaken;
      break;
    case T_ELSE:
      dropLine();
      state_ = kSkipping;
      break;
    case T_ENDIF:
    case T_LINE:
      dropLine();
      break;
    case T_DEFINE:
      define();
      break;
    case T_UNDEF:
      readLine(&line, false);
      if (!line.empty()) {
        macros_.remove(line.front().text);
        if (!files_.empty())
          files_.back().record->events.push_back({MacroEvent::kUndefine, nullptr, line.front().text});
      }
      break;
    case T_ERROR: {
      readLine(&line, true);
      std::string text;
      for (const token_t& t : line)
        if (!text.empty() || t.kind != T_WHITESPACE) text += spellingOf(t);
      reportMessage("warning: (" + currentFileName() + ") " + text);
      break;
    }
    case T_PRAGMA:
      pragma();
      break;
    case T_IDENTIFIER:
      if (!namedDirective(token)) return false;
      break;
    default:
      return false;
  }
  addPending(token.comment, token.commentLine);
  if (state_ != kActive) skipGroup();
  return true;
}

// The directives whose words the scanner reads as ordinary names. False for a word that is none.
bool Preprocessor::namedDirective(token_t& token) {
  std::vector<token_t> line;
  if (token.text == "include_next") {
    include(true);
  } else if (token.text == "elifdef" || token.text == "elifndef") {
    dropLine();
    state_ = kBranchTaken;
  } else if (token.text == "warning") {
    readLine(&line, true);
    std::string text;
    for (const token_t& t : line)
      if (!text.empty() || t.kind != T_WHITESPACE) text += spellingOf(t);
    reportMessage("warning: (" + currentFileName() + ") " + text);
  } else {
    return false;
  }
  return true;
}

bool Preprocessor::condition(Trailing* trailing) {
  std::vector<token_t> line;
  readLine(&line, false, trailing);
  std::vector<token_t> expanded;
  expandTokens(macros_, context_, line, expanded, true);
  const ConditionResult result = evaluateCondition(conditionText(expanded));
  return result.valid && result.value != 0;
}

void Preprocessor::define() {
  std::vector<token_t> line;
  readLine(&line, true);
  MacroPtr macro = defineFromLine(line, context_.macroComments());
  if (!macro || files_.empty()) return;
  HeaderRecord& record = *files_.back().record;
  (macro->functionLike ? record.functionMacros : record.objectMacros).insert_or_assign(macro->name, macro);
  record.events.push_back({MacroEvent::kDefine, macro, {}});
  // An active definition stays in effect until "#undef".
  macros_.add(macro.get());
  defined_.push_back(std::move(macro));
}

// Finds the file an include line names: next to the open files (quoted names), then along the search
// path; "#include_next" goes on after the folder where the current file was found.
std::string Preprocessor::resolve(const std::string& name, bool angle, bool next, size_t* found_in) {
  std::vector<std::string_view> open_files;
  open_files.reserve(files_.size());
  for (const OpenFile& file : files_) open_files.push_back(file.scanner->fileName());
  if (next && !files_.empty() && files_.back().directory != SIZE_MAX)
    return resolveInclude(name, false, open_files, searchPath_, lookup_, files_.back().directory + 1,
                          found_in, searchMemo_);
  return resolveInclude(name, !angle, open_files, searchPath_, lookup_, 0, found_in, searchMemo_);
}

bool Preprocessor::hasInclude(const std::string& name, bool angle, bool next) {
  return !resolve(name, angle, next, nullptr).empty();
}

// The folders an include was looked for in, for the warning that it is missing.
std::string Preprocessor::searchedFolders(bool angle, bool next) const {
  std::vector<std::string_view> folders;
  size_t first = 0;
  if (next && !files_.empty() && files_.back().directory != SIZE_MAX) {
    first = files_.back().directory + 1;
  } else if (!angle) {
    for (auto file = files_.rbegin(); file != files_.rend(); ++file)
      folders.push_back(folderOf(file->scanner->fileName()));
  }
  for (size_t i = first; i < searchPath_.size(); ++i) folders.push_back(searchPath_[i]);
  std::string text;
  for (std::string_view folder : folders) {
    if (!text.empty()) text += ", ";
    text += folder.empty() ? std::string_view(".") : folder;
  }
  return text.empty() ? "no folder" : text;
}

void Preprocessor::include(bool next) {
  std::vector<token_t> line;
  readLine(&line, false);
  bool angle = false;
  std::string name = includeName(line, angle);
  size_t found_in = SIZE_MAX;
  std::string resolved = resolve(name, angle, next, &found_in);
  if (resolved.empty() && !line.empty()) {
    std::vector<token_t> expanded;
    expandLine(line, expanded);
    name = includeName(expanded, angle);
    resolved = resolve(name, angle, next, &found_in);
  }
  if (resolved.empty()) {
    // Once per run for each missing name, with where it was wanted and where it was looked for.
    if (files_.empty() || files_.back().hidden || !headerCache_.firstMissing(name)) return;
    const std::string chain = includeChain();
    report("missing #include file " + name +
           ". The include path may be missing a directory, or the preprocessor flags are incorrect." +
           (chain.empty() ? std::string() : " The file is " + chain + ".") +
           " Folders searched: " + searchedFolders(angle, next) + ".");
    return;
  }
  files_.back().record->includedFiles.push_back(resolved);
  files_.back().record->events.push_back({MacroEvent::kInclude, nullptr, resolved});
  // A header of the compiler's, or one that such a header includes, is read for its macros only, unless
  // it is one of the sources.
  const bool system = (found_in != SIZE_MAX && found_in >= firstSystem_) || files_.back().hidden;
  const bool hidden = system && !(options_.sourceFiles && options_.sourceFiles->count(resolved) != 0);
  if (!reparseHeaders_) {
    if (const HeaderRecord* cached = headerCache_.find(resolved)) {
      replay(*cached);
      return;
    }
  }
  openFile(resolved, name, found_in, hidden);
}

// Repeats what reading a header did to the macros in an earlier module, and what the headers it
// included did, in the order it happened, instead of reading it again.
void Preprocessor::replay(const HeaderRecord& record) {
  struct Step {
    const HeaderRecord* record;
    size_t event;
  };
  if (!replayed_.insert(&record).second) return;
  std::vector<Step> stack{{&record, 0}};
  while (!stack.empty()) {
    Step& step = stack.back();
    if (step.event == step.record->events.size()) {
      stack.pop_back();
      continue;
    }
    const MacroEvent& event = step.record->events[step.event++];
    switch (event.kind) {
      case MacroEvent::kDefine:
        macros_.add(event.macro.get());
        break;
      case MacroEvent::kUndefine:
        macros_.remove(event.name);
        break;
      case MacroEvent::kInclude:
        if (const HeaderRecord* included = headerCache_.find(event.name))
          if (replayed_.insert(included).second) stack.push_back({included, 0});
        break;
    }
  }
}

// "#pragma once": a file open twice, or already read to its end in this module, is left at once.
void Preprocessor::pragma() {
  std::vector<token_t> line;
  readLine(&line, false);
  if (line.size() != 1 || line.front().text != "once" || files_.empty()) return;
  const std::string& name = currentFileName();
  size_t open = 0;
  for (const OpenFile& file : files_) open += file.scanner->fileName() == name ? 1 : 0;
  if (open > 1 || files_.back().record->completelyRead) popFile();
}

}  // namespace quillet
