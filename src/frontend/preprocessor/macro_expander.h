// Macro expansion over a stream of significant tokens, the way a C++ compiler expands: arguments are fully
// expanded before they are substituted (except next to "#" and "##"), "#" makes a string literal spelled
// as the compiler spells it, "##" joins two tokens into a new one (empty arguments leave placemarkers),
// variadic macros take "__VA_ARGS__", "__VA_OPT__" and the GNU ", ## __VA_ARGS__", and the result is
// rescanned together with the tokens that follow. A macro's name met while its own expansion is being
// rescanned is marked and never expanded again. The built-in names (__FILE__, __LINE__, __COUNTER__,
// __DATE__, __TIME__) and the "_Pragma" operator are handled here; inside a condition so are "defined"
// and the "__has_..." operators, answered through ExpansionHooks. Comments ride from a macro's name onto
// its expansion. The preprocessor runs one expander over its files and short-lived ones over directive
// lines; every expansion is charged to a budget, so that hostile input cannot hang or exhaust memory.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/preprocessor/active_macros.h"
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

// What an expander asks of the preprocessor it works for.
class ExpansionHooks {
 public:
  virtual ~ExpansionHooks() = default;
  /// True when `name` is a defined macro or a built-in name ("defined" and "#ifdef" answer with it).
  virtual bool isDefined(std::string_view name) = 0;
  /// True when the include file `name` is found ("__has_include", or "__has_include_next" when `next`).
  virtual bool hasInclude(const std::string& name, bool angle, bool next) = 0;
  /// The value of `operation` ("__has_cpp_attribute", "__has_builtin"...) for `name`: the compiler's
  /// answer, 0 when nobody knows.
  virtual int64_t feature(std::string_view operation, const std::string& name) = 0;
  /// The name of the file being read, for __FILE__ and messages.
  virtual std::string fileName() = 0;
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

// What the expanders of one preprocessor share: the options, the budget, the hooks and the messages.
class ExpansionContext {
 public:
  /// `hooks` (not owned; null answers every question with "no") serve built-in names and conditions.
  ExpansionContext(bool macro_comments, ExpansionHooks* hooks);

  /// Starts the budget of a new expansion of `macro_name`, met on `line`.
  void beginInvocation(const std::string& macro_name, uint32_t line);
  /// Charges one produced token; false (after reporting once) when a limit is exceeded.
  bool charge(const token_t& token);
  /// True once the current expansion exceeded its budget; expanders then stop producing.
  bool aborted() const { return aborted_; }
  /// True once the module exceeded its budget; macros are no longer expanded.
  bool disabled() const { return disabled_; }
  /// True when comments inside macro replacements and arguments are kept.
  bool macroComments() const { return macroComments_; }
  /// The bounds in force.
  const ExpansionLimits& limits() const { return limits_; }
  /// Replaces the bounds.
  void setLimits(const ExpansionLimits& limits) { limits_ = limits; }
  /// The preprocessor's hooks; null when there are none.
  ExpansionHooks* hooks() const { return hooks_; }
  /// The value __COUNTER__ gives next (0, 1, 2... within a module).
  uint64_t nextCounter() { return counter_++; }
  /// Reports `text` as a warning about `line` of the file being read.
  void warn(uint32_t line, const std::string& text);
  /// Reports, once per expansion, that arguments nest too deeply to be expanded before substitution.
  void warnNesting();

 private:
  bool macroComments_;
  ExpansionHooks* hooks_;
  ExpansionLimits limits_;
  std::string invocation_;
  uint32_t invocationLine_ = 0;
  uint64_t invocationTokens_ = 0;
  uint64_t invocationBytes_ = 0;
  uint64_t moduleTokens_ = 0;
  uint64_t counter_ = 0;
  bool aborted_ = false;
  bool disabled_ = false;
  bool nestingWarned_ = false;
};

class MacroExpander {
 public:
  /// An expander over `source` that looks macros up in `macros`. With `condition` set it reads the line
  /// of an "#if": "defined" and the "__has_..." operators become 1 or 0.
  MacroExpander(const ActiveMacros& macros, TokenSource& source, ExpansionContext& context,
                bool condition = false);
  ~MacroExpander();
  MacroExpander(const MacroExpander&) = delete;
  MacroExpander& operator=(const MacroExpander&) = delete;

  /// Fills `token` with the next fully expanded token; false at the end of the source.
  bool next(token_t& token);

 private:
  struct Context;
  struct Arguments;
  enum class Origin { kContext, kSource, kEnd };
  enum class Builtin { kNone, kValue, kDropped };

  Origin readInput(token_t& token, bool& verbatim);
  void unreadInput(const token_t& token, Origin origin, bool verbatim);
  void pushContext(std::vector<token_t> tokens, const Macro* macro, bool verbatim);
  void popContext();
  void dropContexts();
  bool expandObject(const Macro* macro, token_t& name);
  bool expandFunction(const Macro* macro, token_t& name);
  bool collectArguments(std::vector<token_t>& collected, Arguments& arguments);
  bool fitArguments(const Macro& macro, Arguments& arguments);
  void build(const Macro& macro, const token_t& name, Arguments& arguments, size_t begin, size_t end,
             std::vector<token_t>& out);
  const std::vector<token_t>& expandedArgument(Arguments& arguments, size_t parameter);
  void expandList(const token_t* begin, const token_t* end, std::vector<token_t>& out);
  bool append(std::vector<token_t>& out, token_t token, bool keep_comment);
  void paste(std::vector<token_t>& out, const token_t& right);
  void finishExpansion(const Macro* macro, token_t& name, std::vector<token_t> result);
  Builtin builtin(token_t& token);
  bool conditionOperator(token_t& token);
  bool readHeaderName(std::string& name, bool& angle);
  std::string readOperand();
  void carryComment(token_t& name, token_t* first);
  void applyPending(token_t& token);

  const ActiveMacros& macros_;
  TokenSource& source_;
  ExpansionContext& context_;
  bool condition_;
  std::vector<Context> contexts_;
  int barriers_ = 0;  // arguments being expanded inside this expander
  std::shared_ptr<CommentBlock> pending_;
  uint32_t pendingLine_ = 0;
};

/// Puts the comments of `earlier` (which began on `earlier_line`) in front of those of `token`.
void mergeComment(const std::shared_ptr<CommentBlock>& earlier, uint32_t earlier_line, token_t& token);
/// Adds the comments of `more` (begun on `more_line`) after those of `into`, leaving shared blocks as they
/// are.
void appendComment(std::shared_ptr<CommentBlock>& into, uint32_t& into_line,
                   const std::shared_ptr<CommentBlock>& more, uint32_t more_line);
/// Expands `tokens` alone, as a line of a directive (of a condition when `condition` is set), appending the
/// result to `out`.
void expandTokens(const ActiveMacros& macros, ExpansionContext& context, const std::vector<token_t>& tokens,
                  std::vector<token_t>& out, bool condition = false);
/// The characters of `token` as they are written in source: a string literal gets its quotes back.
std::string spellingOf(const token_t& token);
/// The text the source scanner gives a string literal written as `spelling` (quotes included): the
/// characters between the quotes, an escaped quote, backslash or line break kept as the character alone.
std::string stringLiteralText(std::string_view spelling);

}  // namespace quillet
