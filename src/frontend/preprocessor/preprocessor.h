// The preprocessor: turns one module (a source file) and the headers it includes into the stream of
// significant tokens that the C++ lexer reads. It keeps a stack of scanners, one per open file, executes
// directives, skips groups whose condition is false, expands macros and moves every comment onto the next
// significant token. Headers that earlier modules of the run already read are replayed from the header
// cache instead of being read again. It aims at reading real-world headers robustly, not at diagnosing
// them: almost nothing is an error. One preprocessor serves one module; the C++ lexer reads it through
// nextToken, backUp and peek, and parseModule (module_parse.h) creates it for the generation run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "frontend/preprocessor/active_macros.h"
#include "frontend/preprocessor/front_end_options.h"
#include "frontend/preprocessor/header_cache.h"
#include "frontend/preprocessor/include_resolver.h"
#include "frontend/preprocessor/macro_expander.h"
#include "frontend/preprocessor/raw_scanner.h"
#include "frontend/preprocessor/token.h"
#include "frontend/preprocessor/token_stream.h"

namespace quillet {

// The bounds of one module's preprocessing, so that hostile input cannot hang a run or exhaust memory.
struct PreprocessorLimits {
  /// How many open files may nest inside each other; a deeper "#include" is skipped with a warning.
  size_t includeDepth = 200;
  /// How many times one module may open a file; further "#include" lines are skipped with a warning.
  size_t filesPerModule = 10000;
  /// How many tokens of a directive line are kept; the rest of a longer line is ignored.
  size_t lineTokens = 1 << 20;
  /// The bounds of macro expansion.
  ExpansionLimits expansion;
};

class Preprocessor : public TokenStream, private TokenSource, private ExpansionHooks {
 public:
  /// Sixteen delivered tokens are kept for backUp, the current one included.
  static constexpr size_t kHistory = 16;

  /// Opens `module_file` with the front end's `options`; `lookup` finds include files (the header cache's
  /// disk lookup when null).
  Preprocessor(const std::string& module_file, FrontEndOptions options, HeaderCache& header_cache,
               FileLookup* lookup = nullptr);
  /// The same with default options but for the include folders and the defines ("NAME" or "NAME=value").
  Preprocessor(const std::string& module_file, std::vector<std::string> include_directories,
               std::vector<std::string> defines, HeaderCache& header_cache, FileLookup* lookup = nullptr);
  ~Preprocessor() override;
  Preprocessor(const Preprocessor&) = delete;
  Preprocessor& operator=(const Preprocessor&) = delete;

  /// Replaces the bounds (the defaults suit real code; tests and fuzzing use smaller ones).
  void setLimits(const PreprocessorLimits& limits);
  /// The bounds in force.
  const PreprocessorLimits& limits() const { return limits_; }
  /// The front end's options for this module (the later stages read theirs here too).
  const FrontEndOptions& options() const override { return options_; }

  /// The next significant token, macros expanded and directives executed; T_EOF (carrying any comments
  /// left) once the module is finished. The reference is valid until the next call.
  const token_t& nextToken() override;
  /// Steps back one token and returns it; at the first token it stays there.
  const token_t& backUp();
  /// The token that nextToken will return next, without consuming it.
  const token_t& peek();
  /// The name of the file being read; empty once the module is finished.
  const std::string& currentFileName() const override;
  /// The records of the files read by this module, the module's first, then in the order they were first
  /// opened; the preprocessor forgets them.
  std::vector<HeaderRecordPtr> takeModuleRecords();
  /// The bytes of source read so far (every file opened, each time it was opened).
  uint64_t bytesRead() const { return bytesRead_; }
  /// The number of times a file was opened so far (a header included twice counts twice).
  size_t filesOpened() const { return filesOpened_; }

 private:
  enum State { kSkipping = 0, kBranchTaken = 1, kActive = 2 };
  struct OpenFile {
    std::unique_ptr<FileRawScanner> scanner;
    HeaderRecordPtr record;
    /// The index in the search path of the folder the file was found in; SIZE_MAX when it was not found
    /// through the search path.
    size_t directory = SIZE_MAX;
    /// A header of the compiler's that is read for its macros only.
    bool hidden = false;
    /// The line of the "#include" that opened the file, in the file that includes it.
    uint32_t includedAt = 0;
  };
  struct Trailing {
    std::shared_ptr<CommentBlock> block;
    uint32_t line = 0;
  };

  // TokenSource: significant tokens before macro expansion.
  bool read(token_t& token) override;
  void unread(const token_t& token) override;

  // ExpansionHooks: what the macro expander asks.
  bool isDefined(std::string_view name) override;
  bool hasInclude(const std::string& name, bool angle, bool next) override;
  int64_t feature(std::string_view operation, const std::string& name) override;
  std::string fileName() override { return currentFileName(); }

  void readRaw(token_t& token);
  void addPending(const std::shared_ptr<CommentBlock>& block, uint32_t line);
  void endOfFile();
  void popFile();
  void openFile(const std::string& name, const std::string& requested, size_t directory = SIZE_MAX,
                bool hidden = false);
  std::string resolve(const std::string& name, bool angle, bool next, size_t* found_in);
  std::string includeChain() const;
  std::string searchedFolders(bool angle, bool next) const;
  HeaderRecord& moduleRecord(const std::string& name);
  bool readDirectiveWord(token_t& token, bool keep_comments);
  void readLine(std::vector<token_t>* line, bool keep_white_space, Trailing* trailing = nullptr);
  void dropLine(Trailing* trailing = nullptr);

  bool directive(token_t& token);
  bool namedDirective(token_t& token);
  void include(bool next);
  void report(const std::string& text);
  bool condition(Trailing* trailing = nullptr);
  void define();
  void pragma();
  void replay(const HeaderRecord& record);
  void skipGroup();
  bool definedName(const std::vector<token_t>& line);
  void expandLine(const std::vector<token_t>& line, std::vector<token_t>& out);

  // Files and conditions.
  std::vector<OpenFile> files_;
  State state_ = kActive;
  bool lineStart_ = false;
  uint64_t bytesRead_ = 0;
  size_t filesOpened_ = 0;
  uint32_t lastLine_ = 0;
  uint32_t directiveLine_ = 0;  // the line of the directive being executed
  std::string noFile_;
  std::vector<token_t> pushback_;
  token_t lineToken_;  // reused by readLine, so that its text keeps its room
  std::shared_ptr<CommentBlock> pending_;
  uint32_t pendingLine_ = 0;

  // Configuration of the module.
  FrontEndOptions options_;
  PreprocessorLimits limits_;
  HeaderCache& headerCache_;
  FileLookup& lookup_;
  bool reparseHeaders_ = false;

  // Macros and records.
  SearchMemo* searchMemo_ = nullptr;  // the lookup's memo of searchPath_'s searches
  std::vector<std::string> searchPath_;           // the include folders, then the compiler's
  size_t firstSystem_ = 0;                        // where the compiler's folders begin in the search path
  std::shared_ptr<const MacroTable> predefined_;  // the macros every module starts with, owned
  std::vector<MacroPtr> defined_;                 // the macros this module defined, owned
  ActiveMacros macros_;
  std::unordered_map<std::string, HeaderRecordPtr, StringViewHash, std::equal_to<>> records_;
  std::vector<HeaderRecordPtr> recordOrder_;
  std::unordered_set<const HeaderRecord*> replayed_;
  ExpansionContext context_;
  MacroExpander expander_;

  // The history of delivered tokens, a ring that grows when the lexer looks far ahead.
  std::vector<token_t> ring_;
  size_t first_ = 0;  // ring index of the oldest token kept
  size_t count_ = 0;  // tokens kept
  size_t pos_ = 0;    // tokens delivered among those kept
  token_t none_;
};

}  // namespace quillet
