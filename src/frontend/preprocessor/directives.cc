// The directives of the preprocessor, executed while tokens are delivered: conditions, includes (with
// header replay and the "once" guard) and macro definitions.

#include "common/expression.h"
#include "common/message_output.h"
#include "frontend/preprocessor/directive_line.h"
#include "frontend/preprocessor/preprocessor.h"

namespace quillet {

// Executes the directive whose "#" was just read at the start of a line. False when the word after the "#"
// is no directive word: `token` then holds it, to be delivered as an ordinary token.
bool Preprocessor::directive(token_t& token) {
  if (!readDirectiveWord(token, true)) return true;
  std::vector<token_t> line;
  switch (token.kind) {
    case T_INCLUDE:
      include();
      break;
    case T_IF:
      state_ = condition() ? kActive : kSkipping;
      break;
    case T_IFDEF:
    case T_IFNDEF:
      readLine(&line, false);
      if (!line.empty() && line.front().kind == T_IDENTIFIER) {
        bool defined = macros_.find(std::string_view(line.front().text)) != macros_.end();
        if (defined != (token.kind == T_IFDEF)) state_ = kSkipping;
      }
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
      if (!line.empty()) macros_.erase(line.front().text);
      break;
    case T_ERROR: {
      readLine(&line, true);
      std::string text;
      for (const token_t& t : line)
        if (!text.empty() || t.kind != T_WHITESPACE) text += t.text;
      reportMessage("warning: (" + currentFileName() + ") " + text);
      break;
    }
    case T_PRAGMA:
      pragma();
      break;
    default:
      return false;
  }
  addPending(token.comment, token.commentLine);
  if (state_ != kActive) skipGroup();
  return true;
}

bool Preprocessor::condition(Trailing* trailing) {
  std::vector<token_t> line;
  readLine(&line, false, trailing);
  std::vector<token_t> expanded;
  expandLine(answerDefined(line, macros_), expanded);
  // Names that survive expansion make the expression invalid, which counts as false.
  return C_Like_Expression(conditionText(expanded)).Evaluate() != 0;
}

void Preprocessor::define() {
  std::vector<token_t> line;
  readLine(&line, true);
  MacroPtr macro = defineFromLine(line, context_.macroComments());
  if (!macro || files_.empty()) return;
  HeaderRecord& record = *files_.back().record;
  (macro->functionLike ? record.functionMacros : record.objectMacros).insert_or_assign(macro->name, macro);
  // An active definition stays in effect until "#undef".
  macros_.try_emplace(macro->name, std::move(macro));
}

void Preprocessor::include() {
  std::vector<token_t> line;
  readLine(&line, false);
  std::vector<std::string_view> open_files;
  open_files.reserve(files_.size());
  for (const OpenFile& file : files_) open_files.push_back(file.scanner->fileName());
  bool angle = false;
  std::string name = includeName(line, angle);
  std::string resolved = resolveInclude(name, !angle, open_files, options_.includeDirectories, lookup_);
  if (resolved.empty() && !line.empty()) {
    std::vector<token_t> expanded;
    expandLine(line, expanded);
    name = includeName(expanded, angle);
    resolved = resolveInclude(name, !angle, open_files, options_.includeDirectories, lookup_);
  }
  if (resolved.empty()) {
    reportMessage("warning: (" + currentFileName() + ") missing #include file " + name +
                  ". The include path may be missing a directory, or the preprocessor flags are incorrect.");
    return;
  }
  files_.back().record->includedFiles.push_back(resolved);
  if (!reparseHeaders_) {
    if (const HeaderRecord* cached = headerCache_.find(resolved)) {
      replay(*cached);
      return;
    }
  }
  openFile(resolved, name);
}

// Defines the macros of a header read by an earlier module, and of the headers it included, instead of
// reading it again.
void Preprocessor::replay(const HeaderRecord& record) {
  std::vector<const HeaderRecord*> stack{&record};
  while (!stack.empty()) {
    const HeaderRecord* current = stack.back();
    stack.pop_back();
    if (!replayed_.insert(current->fileName).second) continue;
    for (const auto& [name, macro] : current->objectMacros) macros_.try_emplace(name, macro);
    for (const auto& [name, macro] : current->functionMacros) macros_.try_emplace(name, macro);
    for (auto it = current->includedFiles.rbegin(); it != current->includedFiles.rend(); ++it)
      if (const HeaderRecord* included = headerCache_.find(*it)) stack.push_back(included);
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
