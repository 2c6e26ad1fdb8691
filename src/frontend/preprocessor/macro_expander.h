// Macro expansion over a stream of significant tokens: object-like and function-like macros, "#" and
// "##", arguments expanded before they are substituted, the guard that keeps a macro from expanding
// inside its own replacement, and comments carried from a macro's name onto its expansion. The
// preprocessor runs one expander over its files and short-lived ones over argument lists and directive
// lines. Every expansion is charged to a budget, so that hostile input cannot hang or exhaust memory.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "frontend/preprocessor/header_cache.h"
#include "frontend/preprocessor/token.h"

namespace quillet {

// Where an expander reads unexpanded tokens from.
class TokenSource {
 public:
  virtual ~TokenSource() = default;
  /// Fills `token` with the next token; false at the end of the source.
  virtual bool read(token_t& token) = 0;
  /// Gives `token` back, so that the next read returns it again.
  virtual void unread(const token_t& token) = 0;
};

// The bounds that keep hostile input from hanging a run or exhausting its memory.
struct ExpansionLimits {
  /// The most tokens one expansion started from a file (or a directive line) may produce.
  uint64_t invocationTokens = 1 << 20;
  /// The most bytes of token text one such expansion may produce.
  uint64_t invocationBytes = 64 << 20;
  /// The most tokens all expansions of one module may produce.
  uint64_t moduleTokens = uint64_t{1} << 26;
  /// How deeply arguments may be expanded inside arguments; deeper ones are substituted as written.
  int nesting = 128;
};

// What the expanders of one preprocessor share: the options, the budget and the messages.
class ExpansionContext {
 public:
  /// `file_name` names the file being read, for messages.
  ExpansionContext(bool macro_comments, std::function<std::string()> file_name);

  /// Starts the budget of a new expansion of `macro_name`.
  void beginInvocation(const std::string& macro_name);
  /// Charges one produced token; false (after reporting once) when a limit is exceeded.
  bool charge(const token_t& token);
  /// True once the current expansion exceeded its budget; expanders then stop producing.
  bool aborted() const { return aborted_; }
  /// True once the module exceeded its budget; macros are no longer expanded.
  bool disabled() const { return disabled_; }
  /// True when comments inside macro replacements and arguments are kept.
  bool macroComments() const { return macroComments_; }
  /// True while a replacement of `macro` is being rescanned (the recursion guard).
  bool expanding(const Macro* macro) const { return expanding_.count(macro) != 0; }
  /// Marks the start of the rescan of a replacement of `macro`.
  void enter(const Macro* macro) { ++expanding_[macro]; }
  /// Marks the end of the rescan of a replacement of `macro`.
  void leave(const Macro* macro) {
    auto it = expanding_.find(macro);
    if (it != expanding_.end() && --it->second == 0) expanding_.erase(it);
  }
  /// The bounds in force.
  const ExpansionLimits& limits() const { return limits_; }
  /// Replaces the bounds.
  void setLimits(const ExpansionLimits& limits) { limits_ = limits; }

 private:
  bool macroComments_;
  ExpansionLimits limits_;
  std::unordered_map<const Macro*, uint32_t> expanding_;
  std::function<std::string()> fileName_;
  std::string invocation_;
  uint64_t invocationTokens_ = 0;
  uint64_t invocationBytes_ = 0;
  uint64_t moduleTokens_ = 0;
  bool aborted_ = false;
  bool disabled_ = false;
};

class MacroExpander {
 public:
  /// An expander over `source` that looks macros up in `macros`; `nesting` counts enclosing expansions.
  MacroExpander(const MacroTable& macros, TokenSource& source, ExpansionContext& context, int nesting = 0);
  ~MacroExpander();
  MacroExpander(const MacroExpander&) = delete;
  MacroExpander& operator=(const MacroExpander&) = delete;

  /// Fills `token` with the next fully expanded token; false at the end of the source.
  bool next(token_t& token);
  /// Expands `tokens` alone, reading nothing beyond them, and appends the result to `out`.
  void expandList(const std::vector<token_t>& tokens, std::vector<token_t>& out);

 private:
  struct Frame;
  enum class Origin { kFrame, kSource, kEnd };
  struct Range {
    size_t begin;
    size_t end;
  };

  Origin readInput(token_t& token, bool& verbatim);
  void unreadInput(const token_t& token, Origin origin, bool verbatim);
  void popFrame();
  void dropFrames();
  bool expandObject(const MacroPtr& macro, token_t& name);
  bool expandFunction(const MacroPtr& macro, token_t& name);
  bool collectArguments(std::vector<token_t>& collected, std::vector<Range>& arguments, bool& closed);
  void build(const Macro& macro, const token_t& name, const std::vector<token_t>& collected,
             const std::vector<Range>& arguments, std::vector<token_t>& out);
  bool append(std::vector<token_t>& out, const token_t& token, bool keep_comment);
  void carryComment(token_t& name, token_t* first);
  void expandList(const token_t* begin, const token_t* end, std::vector<token_t>& out);
  void applyPending(token_t& token);

  const MacroTable& macros_;
  TokenSource& source_;
  ExpansionContext& context_;
  int nesting_;
  std::vector<Frame> frames_;
  std::vector<std::pair<token_t, bool>> unread_;  // tokens given back after looking for "(", with "verbatim"
  std::shared_ptr<CommentBlock> pending_;
  uint32_t pendingLine_ = 0;
};

/// Puts the comments of `earlier` (which began on `earlier_line`) in front of those of `token`.
void mergeComment(const std::shared_ptr<CommentBlock>& earlier, uint32_t earlier_line, token_t& token);
/// Adds the comments of `more` (begun on `more_line`) after those of `into`, leaving shared blocks as they
/// are.
void appendComment(std::shared_ptr<CommentBlock>& into, uint32_t& into_line,
                   const std::shared_ptr<CommentBlock>& more, uint32_t more_line);
/// Expands `tokens` alone, as a line of a directive, appending the result to `out`.
void expandTokens(const MacroTable& macros, ExpansionContext& context, const std::vector<token_t>& tokens,
                  std::vector<token_t>& out);

}  // namespace quillet
