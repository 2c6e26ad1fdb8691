#include "frontend/preprocessor/macro_expander.h"

#include <utility>

#include "common/message_output.h"
#include "frontend/preprocessor/raw_scanner.h"

namespace quillet {

namespace {

// The empty stand-in for an argument without tokens next to "##"; it never leaves the building of one
// replacement.
constexpr int32_t kPlacemarker = -1;

// Reads a stretch of tokens that an expander must not read beyond.
class ListSource : public TokenSource {
 public:
  ListSource(const token_t* begin, const token_t* end) : next_(begin), end_(end) {}
  bool read(token_t& token) override {
    if (!unread_.empty()) {
      token = std::move(unread_.back());
      unread_.pop_back();
      return true;
    }
    if (next_ == end_) return false;
    token = *next_++;
    return true;
  }
  void unread(const token_t& token) override { unread_.push_back(token); }

 private:
  const token_t* next_;
  const token_t* end_;
  std::vector<token_t> unread_;
};

bool isWordText(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
      return false;
  return true;
}

// The character or string literal spelling `spelling` as it is written inside a string literal: a
// backslash before every quote and backslash, line breaks written as "\n".
void appendEscaped(std::string& out, std::string_view spelling) {
  for (char c : spelling) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    out += c;
  }
}

void makeNumber(token_t& token, int64_t value) {
  token.kind = T_LITERAL;
  token.text = std::to_string(value);
  token.flags &= kSpaceBefore;
}

void makeString(token_t& token, std::string text) {
  token.kind = T_LITERAL;
  token.text = std::move(text);
  token.flags = static_cast<uint8_t>((token.flags & kSpaceBefore) | kStringLiteral);
}

}  // namespace

std::string spellingOf(const token_t& token) {
  if ((token.flags & kStringLiteral) == 0) return token.text;
  std::string spelling = "\"";
  for (char c : token.text) {
    if (c == '"') spelling += '\\';
    spelling += c;
  }
  if (!token.text.empty() && token.text.back() == '\\') spelling += '\\';
  spelling += '"';
  return spelling;
}

std::string stringLiteralText(std::string_view spelling) {
  if (spelling.size() >= 2 && spelling.front() == '"' && spelling.back() == '"')
    spelling = spelling.substr(1, spelling.size() - 2);
  std::string text;
  text.reserve(spelling.size());
  for (size_t i = 0; i < spelling.size(); ++i) {
    if (spelling[i] == '\\' && i + 1 < spelling.size() &&
        (spelling[i + 1] == '"' || spelling[i + 1] == '\\' || spelling[i + 1] == '\n'))
      ++i;
    text += spelling[i];
  }
  return text;
}

void appendComment(std::shared_ptr<CommentBlock>& into, uint32_t& into_line,
                   const std::shared_ptr<CommentBlock>& more, uint32_t more_line) {
  if (!more) return;
  if (!into) {
    into = more;
    into_line = more_line;
    return;
  }
  auto merged = std::make_shared<CommentBlock>(*into);
  merged->insert(merged->end(), more->begin(), more->end());
  into = std::move(merged);
}

void mergeComment(const std::shared_ptr<CommentBlock>& earlier, uint32_t earlier_line, token_t& token) {
  if (!earlier) return;
  std::shared_ptr<CommentBlock> block = earlier;
  uint32_t line = earlier_line;
  appendComment(block, line, token.comment, token.commentLine);
  token.comment = std::move(block);
  token.commentLine = line;
}

void expandTokens(const ActiveMacros& macros, ExpansionContext& context, const std::vector<token_t>& tokens,
                  std::vector<token_t>& out, bool condition) {
  ListSource source(tokens.data(), tokens.data() + tokens.size());
  MacroExpander expander(macros, source, context, condition);
  token_t token;
  while (expander.next(token)) out.push_back(std::move(token));
}

// ---- The shared context ----

ExpansionContext::ExpansionContext(bool macro_comments, ExpansionHooks* hooks)
    : macroComments_(macro_comments), hooks_(hooks) {}

void ExpansionContext::warn(uint32_t line, const std::string& text) {
  const std::string file = hooks_ != nullptr ? hooks_->fileName() : std::string();
  reportMessage("warning: (" + file + ":" + std::to_string(line) + ") " + text);
}

void ExpansionContext::warnNesting() {
  if (nestingWarned_) return;
  nestingWarned_ = true;
  warn(invocationLine_, "the arguments of macro " + invocation_ + " nest more than " +
                            std::to_string(limits_.nesting) +
                            " invocations deep; the deeper ones are used as written.");
}

void ExpansionContext::beginInvocation(const std::string& macro_name, uint32_t line) {
  invocation_ = macro_name;
  invocationLine_ = line;
  nestingWarned_ = false;
  invocationTokens_ = 0;
  invocationBytes_ = 0;
  aborted_ = disabled_;
}

bool ExpansionContext::charge(const token_t& token) {
  if (aborted_) return false;
  ++invocationTokens_;
  invocationBytes_ += token.text.size();
  if (++moduleTokens_ > limits_.moduleTokens) {
    warn(invocationLine_, "more than " + std::to_string(limits_.moduleTokens) +
                              " tokens came from macro expansions in this module; the rest of it is read "
                              "without expanding macros.");
    disabled_ = aborted_ = true;
  } else if (invocationTokens_ > limits_.invocationTokens || invocationBytes_ > limits_.invocationBytes) {
    warn(invocationLine_, "the expansion of macro " + invocation_ + " grows beyond " +
                              std::to_string(limits_.invocationTokens) + " tokens and was cut short.");
    aborted_ = true;
  }
  return !aborted_;
}

// ---- Contexts: the expansions being rescanned ----

struct MacroExpander::Context {
  // The macro whose expansion this is: its name is not expanded while the context is read. Null for
  // tokens given back, passed through or being expanded as an argument. The header records and the
  // predefined macros own it for longer than any expansion.
  const Macro* macro = nullptr;
  std::vector<token_t> tokens;
  // A replacement read in place from the definition: its tokens take the invocation's position, and the
  // first one the spacing and the comments of the macro's name.
  const std::vector<token_t>* direct = nullptr;
  size_t pos = 0;
  bool verbatim = false;  // tokens passed through without expansion
  bool barrier = false;   // an argument being expanded: reading ends with it
  uint32_t line = 0;
  uint32_t column = 0;
  uint8_t firstSpace = 0;
  std::shared_ptr<CommentBlock> carry;
  uint32_t carryLine = 0;

  size_t size() const { return direct != nullptr ? direct->size() : tokens.size(); }
};

// The arguments of one invocation: the tokens between its parentheses (the closing one included, for a
// pass-through) and where each argument lies among them, with the expansions made so far.
struct MacroExpander::Arguments {
  struct Range {
    size_t begin;
    size_t end;
  };
  std::vector<token_t> collected;
  std::vector<Range> ranges;
  std::vector<std::vector<token_t>> expanded;
  std::vector<bool> ready;
  bool variableOmitted = false;  // the invocation gave no variable arguments at all, not even an empty one

  const token_t* begin(size_t p) const { return collected.data() + ranges[p].begin; }
  const token_t* end(size_t p) const { return collected.data() + ranges[p].end; }
};

MacroExpander::MacroExpander(const ActiveMacros& macros, TokenSource& source, ExpansionContext& context,
                             bool condition)
    : macros_(macros), source_(source), context_(context), condition_(condition) {}

MacroExpander::~MacroExpander() {
  dropContexts();
}

void MacroExpander::pushContext(std::vector<token_t> tokens, const Macro* macro, bool verbatim) {
  Context context;
  context.tokens = std::move(tokens);
  context.macro = macro;
  context.verbatim = verbatim;
  if (macro) ++macro->expanding;
  contexts_.push_back(std::move(context));
}

void MacroExpander::popContext() {
  if (contexts_.back().macro) --contexts_.back().macro->expanding;
  contexts_.pop_back();
}

void MacroExpander::dropContexts() {
  while (!contexts_.empty()) popContext();
}

MacroExpander::Origin MacroExpander::readInput(token_t& token, bool& verbatim) {
  while (!contexts_.empty()) {
    Context& context = contexts_.back();
    if (context.pos < context.size()) {
      if (context.direct != nullptr) {
        token = (*context.direct)[context.pos];
        token.line = context.line;
        token.column = context.column;
        if (context.pos == 0) {
          token.flags = static_cast<uint8_t>((token.flags & ~kSpaceBefore) | context.firstSpace);
          if (context.carry) {
            mergeComment(context.carry, context.carryLine, token);
            context.carry.reset();
          }
        }
      } else {
        token = std::move(context.tokens[context.pos]);
      }
      ++context.pos;
      verbatim = context.verbatim;
      return Origin::kContext;
    }
    if (context.barrier) {
      verbatim = false;
      return Origin::kEnd;
    }
    // Reading past the end of an expansion lets its macro expand again.
    popContext();
  }
  verbatim = false;
  return source_.read(token) ? Origin::kSource : Origin::kEnd;
}

void MacroExpander::unreadInput(const token_t& token, Origin origin, bool verbatim) {
  if (origin == Origin::kSource) {
    source_.unread(token);
  } else if (origin == Origin::kContext) {
    pushContext({token}, nullptr, verbatim);
  }
}

void MacroExpander::applyPending(token_t& token) {
  if (!pending_) return;
  mergeComment(pending_, pendingLine_, token);
  pending_.reset();
}

void MacroExpander::carryComment(token_t& name, token_t* first) {
  if (!name.comment) return;
  if (first != nullptr) {
    mergeComment(name.comment, name.commentLine, *first);
  } else {
    appendComment(pending_, pendingLine_, name.comment, name.commentLine);
  }
}

// ---- Expansion ----

bool MacroExpander::next(token_t& token) {
  for (;;) {
    if (context_.aborted()) {
      if (barriers_ > 0) return false;
      dropContexts();
    }
    bool verbatim = false;
    const Origin origin = readInput(token, verbatim);
    if (origin == Origin::kEnd) return false;
    if (verbatim || (token.flags & kNoExpand) != 0 || !isWordKind(token.kind) || context_.disabled()) break;
    if (condition_ && conditionOperator(token)) break;
    const Macro* macro = macros_.find(token.text);
    if (macro == nullptr) {
      if (builtin(token) == Builtin::kDropped) continue;
      break;
    }
    if (macro->expanding > 0) {
      // The name of a macro met inside its own expansion stays as it is, wherever it goes later.
      token.flags |= kNoExpand;
      break;
    }
    if (origin == Origin::kSource && barriers_ == 0) context_.beginInvocation(macro->name, token.line);
    const bool expanded = macro->functionLike ? expandFunction(macro, token) : expandObject(macro, token);
    if (!expanded) break;
  }
  applyPending(token);
  return true;
}

void MacroExpander::finishExpansion(const Macro* macro, token_t& name, std::vector<token_t> result) {
  size_t kept = 0;
  for (size_t i = 0; i < result.size(); ++i)
    if (result[i].kind != kPlacemarker) {
      if (kept != i) result[kept] = std::move(result[i]);
      ++kept;
    }
  result.resize(kept);
  if (result.empty() || context_.aborted()) {
    carryComment(name, nullptr);
    return;
  }
  // The expansion stands where the name stood: it takes the name's spacing and comments.
  result.front().flags =
      static_cast<uint8_t>((result.front().flags & ~kSpaceBefore) | (name.flags & kSpaceBefore));
  carryComment(name, &result.front());
  pushContext(std::move(result), macro, false);
}

bool MacroExpander::expandObject(const Macro* macro, token_t& name) {
  if (macro->pastes) {
    Arguments none;
    std::vector<token_t> result;
    build(*macro, name, none, 0, macro->replacement.size(), result);
    finishExpansion(macro, name, std::move(result));
    return true;
  }
  for (const token_t& token : macro->replacement)
    if (!context_.charge(token)) return true;
  if (macro->replacement.empty()) {
    carryComment(name, nullptr);
    return true;
  }
  Context context;
  context.macro = macro;
  context.direct = &macro->replacement;
  context.line = name.line;
  context.column = name.column;
  context.firstSpace = name.flags & kSpaceBefore;
  context.carry = name.comment;
  context.carryLine = name.commentLine;
  ++macro->expanding;
  contexts_.push_back(std::move(context));
  return true;
}

bool MacroExpander::collectArguments(std::vector<token_t>& collected, Arguments& arguments) {
  arguments.ranges.push_back({0, 0});
  int depth = 0;
  token_t token;
  for (;;) {
    bool verbatim = false;
    const Origin origin = readInput(token, verbatim);
    if (origin == Origin::kEnd) return false;
    if (token.kind == T_EOF) {
      unreadInput(token, origin, verbatim);
      return false;
    }
    if (!context_.charge(token)) return false;
    collected.push_back(std::move(token));
    const int32_t kind = collected.back().kind;
    if (kind == ')' && depth == 0) return true;
    if (kind == ',' && depth == 0) {
      arguments.ranges.push_back({collected.size(), collected.size()});
      continue;
    }
    if (kind == '(') ++depth;
    if (kind == ')') --depth;
    arguments.ranges.back().end = collected.size();
  }
}

// Matches the arguments to the parameters: the variable arguments (commas included) become the last one,
// and may be left out entirely. False when the count does not fit.
bool MacroExpander::fitArguments(const Macro& macro, Arguments& arguments) {
  const size_t parameters = macro.parameters.size();
  auto& ranges = arguments.ranges;
  if (!macro.variadic) {
    if (parameters == 0 && !(ranges.size() == 1 && ranges[0].begin == ranges[0].end)) return false;
    if (parameters > 0 && ranges.size() != parameters) return false;
  } else if (ranges.size() + 1 == parameters) {
    ranges.push_back({ranges.back().end, ranges.back().end});
    arguments.variableOmitted = true;
  } else if (ranges.size() < parameters) {
    return false;
  } else if (ranges.size() > parameters) {
    ranges[parameters - 1].end = ranges.back().end;
    ranges.resize(parameters);
  }
  arguments.expanded.resize(parameters);
  arguments.ready.assign(parameters, false);
  return true;
}

bool MacroExpander::expandFunction(const Macro* macro, token_t& name) {
  token_t paren;
  bool verbatim = false;
  const Origin origin = readInput(paren, verbatim);
  if (origin == Origin::kEnd) return false;
  if (paren.kind != '(') {
    unreadInput(paren, origin, verbatim);
    return false;
  }
  Arguments arguments;
  const bool closed = collectArguments(arguments.collected, arguments);
  if (!closed || !fitArguments(*macro, arguments) || context_.aborted()) {
    // Not an invocation this macro accepts: the name and what followed it pass through unexpanded.
    std::vector<token_t> tokens;
    tokens.reserve(arguments.collected.size() + 2);
    tokens.push_back(name);
    tokens.push_back(std::move(paren));
    for (token_t& token : arguments.collected) tokens.push_back(std::move(token));
    pushContext(std::move(tokens), nullptr, true);
    return true;
  }
  std::vector<token_t> result;
  build(*macro, name, arguments, 0, macro->replacement.size(), result);
  finishExpansion(macro, name, std::move(result));
  return true;
}

bool MacroExpander::append(std::vector<token_t>& out, token_t token, bool keep_comment) {
  if (token.kind != kPlacemarker && !context_.charge(token)) return false;
  if (!keep_comment) token.comment.reset();
  out.push_back(std::move(token));
  return true;
}

// Joins `right` to the last token of `out`: the two spellings side by side are read again as one token.
// A placemarker joins as nothing. Spellings that make no single token stay two tokens.
void MacroExpander::paste(std::vector<token_t>& out, const token_t& right) {
  token_t& left = out.back();
  if (right.kind == kPlacemarker) return;
  if (left.kind == kPlacemarker) {
    const uint8_t space = left.flags & kSpaceBefore;
    left = right;
    left.flags = static_cast<uint8_t>((left.flags & ~kSpaceBefore) | space);
    return;
  }
  const uint8_t space = left.flags & kSpaceBefore;
  if (isWordKind(left.kind) &&
      (isWordKind(right.kind) ||
       (right.kind == T_LITERAL && (right.flags & kStringLiteral) == 0 && isWordText(right.text)))) {
    // A name joined with a name or a number is a name (or a keyword): the common case, read directly.
    left.text += right.text;
    left.kind = wordKind(left.text);
    left.flags = space;
    return;
  }
  RawScanner scanner(spellingOf(left) + spellingOf(right));
  token_t scanned;
  token_t joined;
  int count = 0;
  for (scanner.nextToken(scanned); scanned.kind != T_EOF && count < 2; scanner.nextToken(scanned)) {
    if (scanned.comment) count = 2;  // "/" joined with "/" or "*" starts a comment: no token
    if (scanned.kind == T_WHITESPACE || count == 2) continue;
    if (++count == 1) joined = scanned;
  }
  if (scanned.comment) count = 2;
  if (count != 1) {
    append(out, right, context_.macroComments());
    return;
  }
  left.kind = joined.kind;
  left.text = std::move(joined.text);
  left.flags = static_cast<uint8_t>(space | (joined.flags & kStringLiteral));
}

const std::vector<token_t>& MacroExpander::expandedArgument(Arguments& arguments, size_t parameter) {
  if (!arguments.ready[parameter]) {
    arguments.ready[parameter] = true;
    expandList(arguments.begin(parameter), arguments.end(parameter), arguments.expanded[parameter]);
  }
  return arguments.expanded[parameter];
}

// Expands the tokens of an argument as if they were all the input there is: the expansions in progress
// stay marked, and reading ends with the argument.
void MacroExpander::expandList(const token_t* begin, const token_t* end, std::vector<token_t>& out) {
  if (barriers_ + 1 > context_.limits().nesting) {
    context_.warnNesting();
    out.insert(out.end(), begin, end);
    return;
  }
  Context context;
  context.tokens.assign(begin, end);
  context.barrier = true;
  contexts_.push_back(std::move(context));
  const size_t depth = contexts_.size();
  ++barriers_;
  std::shared_ptr<CommentBlock> saved = std::move(pending_);
  uint32_t saved_line = pendingLine_;
  pending_.reset();
  token_t token;
  while (next(token)) out.push_back(std::move(token));
  while (contexts_.size() >= depth) popContext();
  --barriers_;
  // Comments of names that expanded to nothing at the end of the argument are kept for what follows.
  appendComment(saved, saved_line, pending_, pendingLine_);
  pending_ = std::move(saved);
  pendingLine_ = saved_line;
}

void MacroExpander::build(const Macro& macro, const token_t& name, Arguments& arguments, size_t begin,
                          size_t end, std::vector<token_t>& out) {
  const std::vector<token_t>& replacement = macro.replacement;
  const bool keep = context_.macroComments();
  const size_t variable = macro.variadic ? macro.parameters.size() - 1 : SIZE_MAX;
  auto copy_of = [&](const token_t& token) {
    token_t copy = token;
    copy.line = name.line;
    copy.column = name.column;
    return copy;
  };
  // The "(" of a "__VA_OPT__" at `open`: the index of its ")", or `end` when it has none.
  auto closing = [&](size_t open) {
    int depth = 0;
    for (size_t j = open; j < end; ++j) {
      if (replacement[j].kind == '(') ++depth;
      if (replacement[j].kind == ')' && --depth == 0) return j;
    }
    return end;
  };
  auto is_va_opt = [&](size_t i) {
    return macro.variadic && i < end && replacement[i].kind == T_IDENTIFIER &&
           replacement[i].text == "__VA_OPT__";
  };
  // The tokens "__VA_OPT__ ( ... )" at `i` stand for, placemarkers kept; `close` is set to its ")".
  auto va_opt = [&](size_t i, size_t& close, std::vector<token_t>& segment) {
    close = i + 1 < end && replacement[i + 1].kind == '(' ? closing(i + 1) : end;
    if (close == end) {
      context_.warn(name.line, "__VA_OPT__ in macro " + macro.name +
                                   " is not followed by a parenthesized list; it is kept as a name.");
      close = i;
      segment.push_back(copy_of(replacement[i]));
      return;
    }
    if (!expandedArgument(arguments, variable).empty()) build(macro, name, arguments, i + 2, close, segment);
    if (segment.empty()) segment.push_back(token_t{kPlacemarker, nullptr, {}, name.column, name.line, 0, 0});
  };
  auto stringize = [&](const token_t* first, const token_t* last, const token_t& hash) {
    std::string spelling = "\"";
    bool any = false;
    for (const token_t* t = first; t != last; ++t) {
      if (t->kind == kPlacemarker) continue;
      if (any && (t->flags & kSpaceBefore) != 0) spelling += ' ';
      any = true;
      const std::string text = spellingOf(*t);
      if (t->kind == T_LITERAL && !text.empty() && (text[0] == '"' || text[0] == '\'')) {
        appendEscaped(spelling, text);
      } else {
        spelling += text;
      }
    }
    spelling += '"';
    token_t literal = copy_of(hash);
    literal.comment.reset();
    makeString(literal, stringLiteralText(spelling));
    return literal;
  };

  bool paste_next = false;  // a "##" came before: the next thing produced joins the last token
  std::vector<token_t> segment;
  for (size_t i = begin; i < end; ++i) {
    if (context_.aborted()) return;
    const token_t& token = replacement[i];
    segment.clear();
    if (token.kind == T_PASTE) {
      // "##" at either end of a replacement has nothing to join.
      if (i != begin && i + 1 != end && !out.empty()) paste_next = true;
      continue;
    }
    const bool before_paste = i + 1 < end && replacement[i + 1].kind == T_PASTE;
    const int32_t parameter = macro.parameterOf[i];
    if (token.kind == '#' && macro.functionLike && i + 1 < end &&
        (macro.parameterOf[i + 1] >= 0 || is_va_opt(i + 1))) {
      const int32_t operand = macro.parameterOf[i + 1];
      if (operand >= 0) {
        segment.push_back(stringize(arguments.begin(static_cast<size_t>(operand)),
                                    arguments.end(static_cast<size_t>(operand)), token));
        ++i;
      } else {
        std::vector<token_t> content;
        size_t close = i + 1;
        va_opt(i + 1, close, content);
        segment.push_back(stringize(content.data(), content.data() + content.size(), token));
        i = close;
      }
    } else if (parameter >= 0) {
      const size_t p = static_cast<size_t>(parameter);
      if (paste_next && p == variable && i >= 2 && replacement[i - 2].kind == ',' && out.back().kind == ',') {
        // ", ## __VA_ARGS__": the comma goes when the variable arguments are left out (or are empty and
        // all the macro takes); otherwise they follow it as written.
        paste_next = false;
        if (arguments.variableOmitted || (p == 0 && arguments.ranges[p].begin == arguments.ranges[p].end)) {
          out.pop_back();
          continue;
        }
        segment.assign(arguments.begin(p), arguments.end(p));
      } else if (paste_next || before_paste) {
        segment.assign(arguments.begin(p), arguments.end(p));
        if (segment.empty())
          segment.push_back(token_t{kPlacemarker, nullptr, {}, name.column, name.line, 0, 0});
      } else {
        const std::vector<token_t>& expanded = expandedArgument(arguments, p);
        segment.assign(expanded.begin(), expanded.end());
      }
      // A substituted argument is spaced as its parameter was.
      if (!segment.empty())
        segment.front().flags =
            static_cast<uint8_t>((segment.front().flags & ~kSpaceBefore) | (token.flags & kSpaceBefore));
    } else if (is_va_opt(i)) {
      size_t close = i;
      va_opt(i, close, segment);
      if (!segment.empty())
        segment.front().flags =
            static_cast<uint8_t>((segment.front().flags & ~kSpaceBefore) | (token.flags & kSpaceBefore));
      i = close;
    } else {
      segment.push_back(copy_of(token));
    }
    for (size_t k = 0; k < segment.size(); ++k) {
      if (k == 0 && paste_next && !out.empty()) {
        paste(out, segment[0]);
      } else if (!append(out, std::move(segment[k]), keep)) {
        return;
      }
    }
    paste_next = false;
  }
}

// ---- Built-in names and condition operators ----

// Replaces a built-in name by its value, or consumes a "_Pragma" operator with its operand.
MacroExpander::Builtin MacroExpander::builtin(token_t& token) {
  const std::string& text = token.text;
  if (text.size() < 7 || text[0] != '_') return Builtin::kNone;
  if (text == "__LINE__") {
    makeNumber(token, token.line);
  } else if (text == "__FILE__") {
    makeString(token, context_.hooks() != nullptr ? context_.hooks()->fileName() : std::string());
  } else if (text == "__COUNTER__") {
    makeNumber(token, static_cast<int64_t>(context_.nextCounter()));
  } else if (text == "__DATE__") {
    makeString(token, "Jan  1 1970");  // documentation does not change from one run to the next
  } else if (text == "__TIME__") {
    makeString(token, "00:00:00");
  } else if (text == "__TIMESTAMP__") {
    makeString(token, "Thu Jan  1 00:00:00 1970");
  } else if (text == "_Pragma") {
    token_t next;
    bool verbatim = false;
    Origin origin = readInput(next, verbatim);
    if (origin == Origin::kEnd) return Builtin::kNone;
    if (next.kind != '(') {
      unreadInput(next, origin, verbatim);
      return Builtin::kNone;
    }
    // The operator and its parenthesized operand are dropped; the name's comments go on.
    for (int depth = 1; depth > 0;) {
      origin = readInput(next, verbatim);
      if (origin == Origin::kEnd) break;
      if (next.kind == T_EOF) {
        unreadInput(next, origin, verbatim);
        break;
      }
      if (next.kind == '(') ++depth;
      if (next.kind == ')') --depth;
    }
    carryComment(token, nullptr);
    return Builtin::kDropped;
  } else {
    return Builtin::kNone;
  }
  return Builtin::kValue;
}

// Reads "( name )" after "__has_include": a string literal, "<" tokens ">", or tokens that expand to
// either.
bool MacroExpander::readHeaderName(std::string& name, bool& angle) {
  token_t token;
  bool verbatim = false;
  Origin origin = readInput(token, verbatim);
  if (origin == Origin::kEnd) return false;
  if (token.kind != '(') {
    unreadInput(token, origin, verbatim);
    return false;
  }
  std::vector<token_t> tokens;
  bool closed = false;
  for (int depth = 0; !closed;) {
    origin = readInput(token, verbatim);
    if (origin == Origin::kEnd) break;
    if (token.kind == ')' && depth == 0) {
      closed = true;
      break;
    }
    if (token.kind == '(') ++depth;
    if (token.kind == ')') --depth;
    tokens.push_back(std::move(token));
    if (tokens.size() > 4096) break;
  }
  if (tokens.empty()) return false;
  const bool written = (tokens.front().flags & kStringLiteral) != 0 || tokens.front().kind == '<';
  std::vector<token_t> expanded;
  if (!written) expandList(tokens.data(), tokens.data() + tokens.size(), expanded);
  const std::vector<token_t>& header = written ? tokens : expanded;
  if (header.empty()) return false;
  angle = header.front().kind == '<';
  name.clear();
  if (!angle) {
    name = header.front().text;
    return true;
  }
  for (size_t i = 1; i < header.size() && header[i].kind != '>'; ++i) name += header[i].text;
  return true;
}

// Reads "( tokens )" after a "__has_..." operator and gives the tokens' texts, macros expanded.
std::string MacroExpander::readOperand() {
  token_t token;
  bool verbatim = false;
  Origin origin = readInput(token, verbatim);
  if (origin == Origin::kEnd) return {};
  if (token.kind != '(') {
    unreadInput(token, origin, verbatim);
    return {};
  }
  std::vector<token_t> tokens;
  for (int depth = 0;;) {
    origin = readInput(token, verbatim);
    if (origin == Origin::kEnd || (token.kind == ')' && depth == 0) || tokens.size() > 4096) break;
    if (token.kind == '(') ++depth;
    if (token.kind == ')') --depth;
    tokens.push_back(std::move(token));
  }
  std::vector<token_t> expanded;
  expandList(tokens.data(), tokens.data() + tokens.size(), expanded);
  std::string operand;
  for (const token_t& t : expanded) operand += t.text;
  return operand;
}

// In a condition: "defined NAME", "defined ( NAME )" and the "__has_..." operators become 1 or 0 (or the
// compiler's number). False for any other token.
bool MacroExpander::conditionOperator(token_t& token) {
  ExpansionHooks* hooks = context_.hooks();
  if (token.text == "defined") {
    token_t name;
    bool verbatim = false;
    Origin origin = readInput(name, verbatim);
    bool parenthesized = false;
    if (origin != Origin::kEnd && name.kind == '(') {
      parenthesized = true;
      origin = readInput(name, verbatim);
    }
    bool defined = false;
    if (origin != Origin::kEnd && isWordKind(name.kind)) {
      defined = hooks != nullptr ? hooks->isDefined(name.text) : macros_.contains(name.text);
      if (parenthesized) {
        token_t close;
        origin = readInput(close, verbatim);
        if (origin != Origin::kEnd && close.kind != ')') unreadInput(close, origin, verbatim);
      }
    } else if (origin != Origin::kEnd) {
      unreadInput(name, origin, verbatim);
    }
    makeNumber(token, defined ? 1 : 0);
    return true;
  }
  if (token.text.size() < 8 || token.text.compare(0, 6, "__has_") != 0) return false;
  const std::string operation = token.text;
  int64_t value = 0;
  if (operation == "__has_include" || operation == "__has_include_next") {
    std::string name;
    bool angle = false;
    if (readHeaderName(name, angle) && hooks != nullptr)
      value = hooks->hasInclude(name, angle, operation == "__has_include_next") ? 1 : 0;
  } else if (operation == "__has_cpp_attribute" || operation == "__has_attribute" ||
             operation == "__has_builtin" || operation == "__has_feature" || operation == "__has_extension" ||
             operation == "__has_c_attribute" || operation == "__has_declspec_attribute") {
    const std::string operand = readOperand();
    if (hooks != nullptr && !operand.empty()) value = hooks->feature(operation, operand);
  } else {
    return false;
  }
  makeNumber(token, value);
  return true;
}

}  // namespace quillet
