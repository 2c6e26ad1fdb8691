#include "frontend/preprocessor/macro_expander.h"

#include <utility>

#include "common/message_output.h"

namespace quillet {

namespace {

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

}  // namespace

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

void expandTokens(const MacroTable& macros, ExpansionContext& context, const std::vector<token_t>& tokens,
                  std::vector<token_t>& out) {
  ListSource source(tokens.data(), tokens.data() + tokens.size());
  MacroExpander expander(macros, source, context);
  token_t token;
  while (expander.next(token)) out.push_back(std::move(token));
}

void mergeComment(const std::shared_ptr<CommentBlock>& earlier, uint32_t earlier_line, token_t& token) {
  if (!earlier) return;
  std::shared_ptr<CommentBlock> block = earlier;
  uint32_t line = earlier_line;
  appendComment(block, line, token.comment, token.commentLine);
  token.comment = std::move(block);
  token.commentLine = line;
}

ExpansionContext::ExpansionContext(bool macro_comments, std::function<std::string()> file_name)
    : macroComments_(macro_comments), fileName_(std::move(file_name)) {}

void ExpansionContext::beginInvocation(const std::string& macro_name) {
  invocation_ = macro_name;
  invocationTokens_ = 0;
  invocationBytes_ = 0;
  aborted_ = disabled_;
}

bool ExpansionContext::charge(const token_t& token) {
  if (aborted_) return false;
  ++invocationTokens_;
  invocationBytes_ += token.text.size();
  if (++moduleTokens_ > limits_.moduleTokens) {
    reportMessage(
        "warning: (" + fileName_() + ") more than " + std::to_string(limits_.moduleTokens) +
        " tokens came from macro expansions in this module; the rest of it is read without expanding "
        "macros.");
    disabled_ = aborted_ = true;
  } else if (invocationTokens_ > limits_.invocationTokens || invocationBytes_ > limits_.invocationBytes) {
    reportMessage("warning: (" + fileName_() + ") the expansion of macro " + invocation_ + " grows beyond " +
                  std::to_string(limits_.invocationTokens) + " tokens and was cut short.");
    aborted_ = true;
  }
  return !aborted_;
}

struct MacroExpander::Frame {
  // The macro whose replacement is being rescanned; null for tokens passed through unexpanded.
  MacroPtr macro;
  std::vector<token_t> owned;
  size_t pos = 0;
  bool verbatim = false;
  // A replacement read in place from the definition: its tokens take the invocation's position and the
  // first one takes the comments of the macro's name.
  bool direct = false;
  uint32_t line = 0;
  uint32_t column = 0;
  std::shared_ptr<CommentBlock> carry;
  uint32_t carryLine = 0;

  const std::vector<token_t>& list() const { return direct ? macro->replacement : owned; }
};

MacroExpander::MacroExpander(const MacroTable& macros, TokenSource& source, ExpansionContext& context,
                             int nesting)
    : macros_(macros), source_(source), context_(context), nesting_(nesting) {}

MacroExpander::~MacroExpander() {
  dropFrames();
}

void MacroExpander::popFrame() {
  if (frames_.back().macro) context_.leave(frames_.back().macro.get());
  frames_.pop_back();
}

void MacroExpander::dropFrames() {
  while (!frames_.empty()) popFrame();
  unread_.clear();
}

MacroExpander::Origin MacroExpander::readInput(token_t& token, bool& verbatim) {
  if (!unread_.empty()) {
    token = std::move(unread_.back().first);
    verbatim = unread_.back().second;
    unread_.pop_back();
    return Origin::kFrame;
  }
  while (!frames_.empty()) {
    Frame& frame = frames_.back();
    const std::vector<token_t>& list = frame.list();
    if (frame.pos < list.size()) {
      token = list[frame.pos];
      if (frame.direct) {
        token.line = frame.line;
        token.column = frame.column;
        if (frame.pos == 0 && frame.carry) {
          mergeComment(frame.carry, frame.carryLine, token);
          frame.carry.reset();
        }
      }
      ++frame.pos;
      verbatim = frame.verbatim;
      return Origin::kFrame;
    }
    popFrame();
  }
  verbatim = false;
  return source_.read(token) ? Origin::kSource : Origin::kEnd;
}

void MacroExpander::unreadInput(const token_t& token, Origin origin, bool verbatim) {
  if (origin == Origin::kSource) {
    source_.unread(token);
  } else if (origin == Origin::kFrame) {
    unread_.emplace_back(token, verbatim);
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

bool MacroExpander::next(token_t& token) {
  for (;;) {
    if (context_.aborted()) {
      if (nesting_ > 0) return false;
      dropFrames();
    }
    bool verbatim = false;
    Origin origin = readInput(token, verbatim);
    if (origin == Origin::kEnd) return false;
    if (verbatim || !isWordKind(token.kind) || context_.disabled()) break;
    auto it = macros_.find(std::string_view(token.text));
    if (it == macros_.end()) break;
    MacroPtr macro = it->second;  // kept alive even if a directive undefines it meanwhile
    if (context_.expanding(macro.get())) break;
    if (origin == Origin::kSource && nesting_ == 0) context_.beginInvocation(macro->name);
    bool expanded = macro->functionLike ? expandFunction(macro, token) : expandObject(macro, token);
    if (!expanded) break;
  }
  applyPending(token);
  return true;
}

bool MacroExpander::expandObject(const MacroPtr& macro, token_t& name) {
  if (macro->pastes) {
    Frame frame;
    build(*macro, name, {}, {}, frame.owned);
    carryComment(name, frame.owned.empty() ? nullptr : &frame.owned.front());
    if (context_.aborted() || frame.owned.empty()) return true;
    frame.macro = macro;
    context_.enter(macro.get());
    frames_.push_back(std::move(frame));
    return true;
  }
  for (const token_t& token : macro->replacement)
    if (!context_.charge(token)) return true;
  if (macro->replacement.empty()) {
    carryComment(name, nullptr);
    return true;
  }
  Frame frame;
  frame.macro = macro;
  frame.direct = true;
  frame.line = name.line;
  frame.column = name.column;
  frame.carry = name.comment;
  frame.carryLine = name.commentLine;
  context_.enter(macro.get());
  frames_.push_back(std::move(frame));
  return true;
}

bool MacroExpander::collectArguments(std::vector<token_t>& collected, std::vector<Range>& arguments,
                                     bool& closed) {
  arguments.push_back({0, 0});
  int depth = 0;
  closed = false;
  token_t token;
  for (;;) {
    bool verbatim = false;
    Origin origin = readInput(token, verbatim);
    if (origin == Origin::kEnd) return false;
    if (token.kind == T_EOF) {
      unreadInput(token, origin, verbatim);
      return false;
    }
    if (!context_.charge(token)) return false;
    collected.push_back(token);
    if (token.kind == ')' && depth == 0) {
      closed = true;
      return true;
    }
    if (token.kind == ',' && depth == 0) {
      arguments.push_back({collected.size(), collected.size()});
      continue;
    }
    if (token.kind == '(') ++depth;
    if (token.kind == ')') --depth;
    arguments.back().end = collected.size();
  }
}

bool MacroExpander::expandFunction(const MacroPtr& macro, token_t& name) {
  token_t paren;
  bool verbatim = false;
  Origin origin = readInput(paren, verbatim);
  if (origin == Origin::kEnd) return false;
  if (paren.kind != '(') {
    unreadInput(paren, origin, verbatim);
    return false;
  }
  std::vector<token_t> collected;
  std::vector<Range> arguments;
  bool closed = false;
  collectArguments(collected, arguments, closed);
  // An empty last argument counts as none, so that a macro without parameters can be called with "()".
  size_t count = arguments.size();
  if (arguments.back().begin == arguments.back().end) --count;
  if (!closed || count != macro->parameters.size() || context_.aborted()) {
    // Not an invocation this macro accepts: the name and what followed it pass through unexpanded.
    Frame frame;
    frame.verbatim = true;
    frame.owned.reserve(collected.size() + 2);
    frame.owned.push_back(name);
    frame.owned.push_back(std::move(paren));
    for (token_t& token : collected) frame.owned.push_back(std::move(token));
    frames_.push_back(std::move(frame));
    return true;
  }
  Frame frame;
  build(*macro, name, collected, arguments, frame.owned);
  carryComment(name, frame.owned.empty() ? nullptr : &frame.owned.front());
  if (context_.aborted() || frame.owned.empty()) return true;
  frame.macro = macro;
  context_.enter(macro.get());
  frames_.push_back(std::move(frame));
  return true;
}

bool MacroExpander::append(std::vector<token_t>& out, const token_t& token, bool keep_comment) {
  if (!context_.charge(token)) return false;
  out.push_back(token);
  if (!keep_comment) out.back().comment.reset();
  return true;
}

void MacroExpander::build(const Macro& macro, const token_t& name, const std::vector<token_t>& collected,
                          const std::vector<Range>& arguments, std::vector<token_t>& out) {
  const std::vector<token_t>& replacement = macro.replacement;
  const bool keep = context_.macroComments();
  std::vector<std::vector<token_t>> expanded(macro.parameters.size());
  std::vector<bool> expandedReady(macro.parameters.size(), false);
  auto argument_begin = [&](int32_t p) { return collected.data() + arguments[static_cast<size_t>(p)].begin; };
  auto argument_end = [&](int32_t p) { return collected.data() + arguments[static_cast<size_t>(p)].end; };
  auto copy_of = [&](const token_t& token) {
    token_t copy = token;
    copy.line = name.line;
    copy.column = name.column;
    return copy;
  };
  // Set while the last thing produced was an empty argument: "##" then has nothing on its left to join.
  bool left_empty = false;
  for (size_t i = 0; i < replacement.size(); ++i) {
    if (context_.aborted()) return;
    const token_t& token = replacement[i];
    const int32_t parameter = macro.parameterOf[i];
    const bool next_is_parameter = i + 1 < replacement.size() && macro.parameterOf[i + 1] >= 0;
    if (token.kind == '#' && macro.functionLike && next_is_parameter) {
      token_t literal = copy_of(token);
      literal.kind = T_LITERAL;
      literal.comment.reset();
      literal.text.clear();
      for (const token_t* t = argument_begin(macro.parameterOf[i + 1]);
           t != argument_end(macro.parameterOf[i + 1]); ++t) {
        literal.text += ' ';
        literal.text += t->text;
      }
      if (!append(out, literal, false)) return;
      ++i;
      left_empty = false;
      continue;
    }
    if (token.kind == T_PASTE) {
      if (i + 1 >= replacement.size()) continue;
      ++i;
      const int32_t right_parameter = macro.parameterOf[i];
      token_t single;
      const token_t* right_begin;
      const token_t* right_end;
      if (right_parameter >= 0) {
        right_begin = argument_begin(right_parameter);
        right_end = argument_end(right_parameter);
      } else {
        single = copy_of(replacement[i]);
        right_begin = &single;
        right_end = &single + 1;
      }
      if (right_begin == right_end) continue;
      if (!out.empty() && !left_empty) {
        out.back().text += right_begin->text;  // the joined token keeps the left one's kind and position
        ++right_begin;
      }
      for (const token_t* t = right_begin; t != right_end; ++t)
        if (!append(out, *t, keep)) return;
      left_empty = false;
      continue;
    }
    if (parameter >= 0) {
      const bool before_paste = i + 1 < replacement.size() && replacement[i + 1].kind == T_PASTE;
      size_t before = out.size();
      if (before_paste) {
        for (const token_t* t = argument_begin(parameter); t != argument_end(parameter); ++t)
          if (!append(out, *t, keep)) return;
      } else {
        size_t p = static_cast<size_t>(parameter);
        if (!expandedReady[p]) {
          expandList(argument_begin(parameter), argument_end(parameter), expanded[p]);
          expandedReady[p] = true;
        }
        for (const token_t& t : expanded[p])
          if (!append(out, t, keep)) return;
      }
      left_empty = out.size() == before;
      continue;
    }
    if (!append(out, copy_of(token), keep)) return;
    left_empty = false;
  }
}

void MacroExpander::expandList(const std::vector<token_t>& tokens, std::vector<token_t>& out) {
  expandList(tokens.data(), tokens.data() + tokens.size(), out);
}

void MacroExpander::expandList(const token_t* begin, const token_t* end, std::vector<token_t>& out) {
  if (nesting_ + 1 > context_.limits().nesting) {
    out.insert(out.end(), begin, end);
    return;
  }
  ListSource source(begin, end);
  MacroExpander inner(macros_, source, context_, nesting_ + 1);
  token_t token;
  while (inner.next(token)) out.push_back(std::move(token));
}

}  // namespace quillet
