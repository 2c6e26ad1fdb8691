#include "frontend/preprocessor/preprocessor.h"

#include <cstdio>
#include <utility>

#include "common/message_output.h"
#include "frontend/preprocessor/directive_line.h"
#include "frontend/preprocessor/raw_scanner.h"

namespace quillet {

namespace {

bool hasLineBreak(const token_t& token) {
  return token.text.find('\n') != std::string::npos;
}

// White space after a backslash that holds exactly one line break: the backslash continues the line.
bool continuesLine(const token_t& token) {
  size_t first = token.text.find('\n');
  return first != std::string::npos && token.text.find('\n', first + 1) == std::string::npos;
}

// A literal left open at the end of its line ends with the line break, so the next line starts a line.
bool endsLine(const token_t& token) {
  return token.kind == T_LITERAL && !token.text.empty() && token.text.back() == '\n';
}

}  // namespace

namespace {

FrontEndOptions optionsWith(std::vector<std::string> include_directories, std::vector<std::string> defines) {
  FrontEndOptions options;
  options.includeDirectories = std::move(include_directories);
  options.defines = std::move(defines);
  return options;
}

}  // namespace

Preprocessor::Preprocessor(const std::string& module_file, std::vector<std::string> include_directories,
                           std::vector<std::string> defines, HeaderCache& header_cache, FileLookup* lookup)
    : Preprocessor(module_file, optionsWith(std::move(include_directories), std::move(defines)), header_cache,
                   lookup) {}

Preprocessor::Preprocessor(const std::string& module_file, FrontEndOptions options, HeaderCache& header_cache,
                           FileLookup* lookup)
    : options_(std::move(options)),
      headerCache_(header_cache),
      lookup_(lookup != nullptr ? *lookup : header_cache.fileLookup()),
      reparseHeaders_(options_.reparseHeaders),
      context_(options_.macroComments, this),
      expander_(macros_, *this, context_),
      ring_(64) {
  searchPath_ = options_.includeDirectories;
  firstSystem_ = searchPath_.size();
  searchPath_.insert(searchPath_.end(), options_.systemIncludeDirectories.begin(),
                     options_.systemIncludeDirectories.end());
  searchMemo_ = lookup_.memoFor(searchPath_);
  // The macros every module starts with are made once per run: the configured ones first (they win),
  // then the compiler's, and "__cplusplus", which counts as defined even without a compiler.
  predefined_ = headerCache_.predefined(options_.defines, options_.compilerMacros, [this] {
    MacroTable table;
    for (const std::string& setting : options_.defines)
      if (MacroPtr macro = defineFromSetting(setting)) table.try_emplace(macro->name, std::move(macro));
    for (const std::string& definition : options_.compilerMacros) {
      RawScanner scanner{definition};
      std::vector<token_t> line;
      token_t token;
      for (scanner.nextToken(token); token.kind != T_EOF; scanner.nextToken(token)) line.push_back(token);
      if (MacroPtr macro = defineFromLine(line, false)) table.try_emplace(macro->name, std::move(macro));
    }
    MacroPtr cplusplus = defineFromSetting("__cplusplus");
    table.try_emplace(cplusplus->name, std::move(cplusplus));
    return table;
  });
  for (const auto& [name, macro] : *predefined_) macros_.add(macro.get());
  openFile(module_file, module_file);
}

Preprocessor::~Preprocessor() = default;

void Preprocessor::setLimits(const PreprocessorLimits& limits) {
  limits_ = limits;
  context_.setLimits(limits.expansion);
}

// ---- The history of delivered tokens ----

const token_t& Preprocessor::nextToken() {
  if (pos_ == count_) {
    if (count_ == ring_.size()) {
      // The lexer looks further ahead than the ring holds: unroll it into a larger one.
      std::vector<token_t> larger(ring_.size() * 2);
      for (size_t i = 0; i < count_; ++i) larger[i] = std::move(ring_[(first_ + i) % ring_.size()]);
      ring_.swap(larger);
      first_ = 0;
    }
    token_t& slot = ring_[(first_ + count_) % ring_.size()];
    if (!expander_.next(slot)) {
      slot = token_t();
      slot.line = lastLine_;
    }
    ++count_;
  }
  const token_t& token = ring_[(first_ + pos_) % ring_.size()];
  ++pos_;
  // Keep a bounded number of tokens behind the current one.
  for (int dropped = 0; dropped < 2 && pos_ > kHistory && count_ >= kHistory; ++dropped) {
    first_ = (first_ + 1) % ring_.size();
    --count_;
    --pos_;
  }
  return token;
}

const token_t& Preprocessor::backUp() {
  if (pos_ == 0) return none_;
  if (pos_ > 1) --pos_;
  return ring_[(first_ + pos_ - 1) % ring_.size()];
}

const token_t& Preprocessor::peek() {
  const token_t& token = nextToken();
  --pos_;
  return token;
}

const std::string& Preprocessor::currentFileName() const {
  return files_.empty() ? noFile_ : files_.back().scanner->fileName();
}

void Preprocessor::report(const std::string& text) {
  reportMessage("warning: (" + currentFileName() + ":" + std::to_string(directiveLine_) + ") " + text);
}

// The files that include the current one, innermost first, each with the line of its "#include".
std::string Preprocessor::includeChain() const {
  std::string chain;
  for (size_t i = files_.size() - 1; i-- > 0;) {
    chain += chain.empty() ? "included from " : ", from ";
    chain += files_[i].scanner->fileName() + ":" + std::to_string(files_[i + 1].includedAt);
  }
  return chain;
}

std::vector<HeaderRecordPtr> Preprocessor::takeModuleRecords() {
  records_.clear();
  std::vector<HeaderRecordPtr> records;
  records.swap(recordOrder_);
  return records;
}

// ---- Files ----

HeaderRecord& Preprocessor::moduleRecord(const std::string& name) {
  auto it = records_.find(std::string_view(name));
  if (it == records_.end()) {
    auto record = std::make_shared<HeaderRecord>();
    record->fileName = name;
    recordOrder_.push_back(record);
    it = records_.emplace(name, std::move(record)).first;
  }
  return *it->second;
}

void Preprocessor::openFile(const std::string& name, const std::string& requested, size_t directory,
                            bool hidden) {
  if (files_.size() >= limits_.includeDepth) {
    report("#include file " + requested + " is nested more than " + std::to_string(limits_.includeDepth) +
           " files deep and was skipped. A header may include itself without a guard.");
    return;
  }
  if (filesOpened_ >= limits_.filesPerModule) {
    report("#include file " + requested + " was skipped: more than " +
           std::to_string(limits_.filesPerModule) + " files were opened for this module.");
    return;
  }
  ++filesOpened_;
  moduleRecord(name);
  OpenFile file;
  file.record = records_.find(std::string_view(name))->second;
  file.record->system = hidden;
  file.scanner = std::make_unique<FileRawScanner>(name, options_.tabWidth);
  file.directory = directory;
  file.hidden = hidden;
  file.includedAt = directiveLine_;
  bytesRead_ += file.scanner->size();
  files_.push_back(std::move(file));
  if (options_.traceTokens) {
    const std::string chain = includeChain();
    std::printf("! reading %s%s%s\n", name.c_str(), chain.empty() ? "" : ", ", chain.c_str());
  }
}

void Preprocessor::popFile() {
  lastLine_ = files_.back().scanner->line();
  files_.pop_back();
  // An unterminated conditional never reaches past the end of its file.
  state_ = kActive;
  lineStart_ = true;
}

void Preprocessor::endOfFile() {
  files_.back().record->completelyRead = true;
  popFile();
}

void Preprocessor::readRaw(token_t& token) {
  if (files_.empty()) {
    token = token_t();
    token.line = lastLine_;
    return;
  }
  files_.back().scanner->nextToken(token);
}

void Preprocessor::addPending(const std::shared_ptr<CommentBlock>& block, uint32_t line) {
  if (!files_.empty() && files_.back().hidden) return;  // the compiler's headers are not documented
  appendComment(pending_, pendingLine_, block, line);
}

// ---- Significant tokens ----

bool Preprocessor::read(token_t& token) {
  if (!pushback_.empty()) {
    token = std::move(pushback_.back());
    pushback_.pop_back();
    return true;
  }
  bool space = false;
  for (;;) {
    // In a header of the compiler's only the directives matter: the text between them is passed over.
    if (!files_.empty() && files_.back().hidden && files_.back().scanner->skipToDirective(lineStart_))
      lineStart_ = true;
    readRaw(token);
    switch (token.kind) {
      case T_WHITESPACE:
        addPending(token.comment, token.commentLine);
        if (hasLineBreak(token)) lineStart_ = true;
        space = true;
        continue;
      case T_EOF:
        addPending(token.comment, token.commentLine);
        token.comment.reset();
        if (files_.empty()) break;
        endOfFile();
        continue;
      case '#':
        if (!lineStart_) break;
        addPending(token.comment, token.commentLine);
        space = true;
        if (directive(token)) continue;
        break;  // not a directive word: the "#" is dropped and the word delivered
      default:
        break;
    }
    lineStart_ = endsLine(token);
    if (!files_.empty() && files_.back().hidden) {
      space = true;
      continue;  // a header of the compiler's: read for its directives only
    }
    if (space || token.comment) token.flags |= kSpaceBefore;
    if (pending_) {
      mergeComment(pending_, pendingLine_, token);
      pending_.reset();
    }
    return true;
  }
}

void Preprocessor::unread(const token_t& token) {
  pushback_.push_back(token);
}

// Reads the word after a "#" at the start of a line, leaving its comments on it. False when the line holds
// nothing more (a line break or the end of the file follows), which makes an empty directive.
bool Preprocessor::readDirectiveWord(token_t& token, bool keep_comments) {
  for (;;) {
    readRaw(token);
    if (token.kind != T_WHITESPACE && token.kind != T_EOF) return true;
    if (keep_comments) addPending(token.comment, token.commentLine);
    if (token.kind == T_EOF) return false;
    if (hasLineBreak(token)) {
      lineStart_ = true;
      return false;
    }
  }
}

void Preprocessor::readLine(std::vector<token_t>* line, bool keep_white_space, Trailing* trailing) {
  std::shared_ptr<CommentBlock> carried;  // comments of dropped white space, for the next token of the line
  uint32_t carriedLine = 0;
  bool after_backslash = false;
  token_t& token = lineToken_;
  for (;;) {
    readRaw(token);
    if (after_backslash && token.kind == T_WHITESPACE && hasLineBreak(token)) {
      // A backslash at the end of the line continues the directive on the next one (unless that is empty).
      if (line != nullptr && !line->empty() && line->back().kind == '\\') line->pop_back();
      if (continuesLine(token)) token.text.assign(1, ' ');
    }
    after_backslash = token.kind == '\\';
    if (token.kind == T_EOF || (token.kind == T_WHITESPACE && hasLineBreak(token))) {
      if (token.kind == T_WHITESPACE) lineStart_ = true;
      // Comments at the end of the line belong to what follows it.
      Trailing end{std::move(carried), carriedLine};
      appendComment(end.block, end.line, token.comment, token.commentLine);
      if (trailing != nullptr) {
        *trailing = std::move(end);
      } else {
        addPending(end.block, end.line);
      }
      return;
    }
    if (line == nullptr) {  // a line read only to be dropped
      if (endsLine(token)) {
        lineStart_ = true;
        if (trailing != nullptr) *trailing = Trailing();
        return;
      }
      continue;
    }
    const bool room = line->size() < limits_.lineTokens;  // the rest of an overlong line is ignored
    if (token.kind == T_WHITESPACE) {
      if (token.comment) appendComment(carried, carriedLine, token.comment, token.commentLine);
      if (keep_white_space && room) {
        line->push_back(token);
        line->back().comment.reset();
      }
      continue;
    }
    if (carried) {
      mergeComment(carried, carriedLine, token);
      carried.reset();
    }
    if (room) line->push_back(token);
    if (endsLine(token)) {
      lineStart_ = true;
      if (trailing != nullptr) *trailing = Trailing();
      return;
    }
  }
}

void Preprocessor::dropLine(Trailing* trailing) {
  readLine(nullptr, false, trailing);
}

void Preprocessor::expandLine(const std::vector<token_t>& line, std::vector<token_t>& out) {
  expandTokens(macros_, context_, line, out);
}

// True when the first token of the line of an "#ifdef" (or its relatives) names a defined macro. A line
// that starts with no name counts as naming a defined one, so that "#ifdef" leaves the group active.
bool Preprocessor::definedName(const std::vector<token_t>& line) {
  if (line.empty() || line.front().kind != T_IDENTIFIER) return true;
  return isDefined(line.front().text);
}

bool Preprocessor::isDefined(std::string_view name) {
  if (macros_.contains(name)) return true;
  static constexpr std::string_view kBuiltins[] = {"__FILE__",      "__LINE__",          "__COUNTER__",
                                                   "__DATE__",      "__TIME__",          "__TIMESTAMP__",
                                                   "__has_include", "__has_include_next"};
  for (std::string_view builtin : kBuiltins)
    if (name == builtin) return true;
  // The other condition operators count as defined when the compiler has them.
  return name.starts_with("__has_") && options_.compilerFeatures &&
         options_.compilerFeatures->find(name) != options_.compilerFeatures->end();
}

int64_t Preprocessor::feature(std::string_view operation, const std::string& name) {
  if (!options_.compilerFeatures) return 0;
  // "__name__" is the same attribute as "name", in the scope and in the name alike.
  std::string normal;
  size_t start = 0;
  const bool attribute = operation.ends_with("attribute");
  for (;;) {
    size_t scope = name.find("::", start);
    std::string_view part =
        std::string_view(name).substr(start, scope == std::string::npos ? scope : scope - start);
    if (attribute && part.size() > 4 && part.starts_with("__") && part.ends_with("__"))
      part = part.substr(2, part.size() - 4);
    normal += part;
    if (scope == std::string::npos) break;
    normal += "::";
    start = scope + 2;
  }
  std::string key(operation);
  key += ' ';
  key += normal;
  auto it = options_.compilerFeatures->find(key);
  return it == options_.compilerFeatures->end() ? 0 : it->second;
}

// ---- Skipping groups ----

void Preprocessor::skipGroup() {
  int depth = 1;
  token_t token;
  while (state_ != kActive) {
    if (!files_.empty() && files_.back().scanner->skipToDirective(lineStart_)) lineStart_ = true;
    readRaw(token);
    if (token.kind == T_EOF) {
      if (files_.empty()) return;
      endOfFile();  // the end of the file ends the skip
      return;
    }
    if (token.kind == T_WHITESPACE) {
      if (hasLineBreak(token)) lineStart_ = true;
      continue;
    }
    if (token.kind != '#' || !lineStart_) {
      lineStart_ = endsLine(token);
      continue;
    }
    if (!readDirectiveWord(token, false)) continue;
    Trailing trailing;
    switch (token.kind) {
      case T_IF:
      case T_IFDEF:
      case T_IFNDEF:
        ++depth;
        dropLine(&trailing);
        break;
      case T_ENDIF:
        dropLine(&trailing);
        if (depth-- == 1) {
          state_ = kActive;
          addPending(trailing.block, trailing.line);
        }
        break;
      case T_ELIF:
        if (depth == 1 && state_ == kSkipping) {
          if (condition(&trailing)) {
            state_ = kActive;
            addPending(trailing.block, trailing.line);
          }
        } else {
          dropLine(&trailing);
        }
        break;
      case T_ELSE:
        dropLine(&trailing);
        if (depth == 1 && state_ == kSkipping) {
          state_ = kActive;
          addPending(trailing.block, trailing.line);
        }
        break;
      case T_INCLUDE:
      case T_DEFINE:
      case T_UNDEF:
      case T_ERROR:
      case T_LINE:
      case T_PRAGMA:
        dropLine(&trailing);
        break;
      case T_IDENTIFIER:
        if (token.text == "elifdef" || token.text == "elifndef") {
          std::vector<token_t> line;
          readLine(&line, false, &trailing);
          if (depth == 1 && state_ == kSkipping && definedName(line) == (token.text == "elifdef")) {
            state_ = kActive;
            addPending(trailing.block, trailing.line);
          }
        } else {
          // Other words ("include_next", "warning", or none the preprocessor knows) are skipped too.
          dropLine(&trailing);
        }
        break;
      default:
        lineStart_ = false;
        break;
    }
  }
}

}  // namespace quillet
