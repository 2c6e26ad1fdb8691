#include "stylesheet/section_text.h"

#include <algorithm>

#include "common/pattern.h"

namespace quillet {

namespace {

bool isReferenceByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '.';
}

bool isParameterSpace(char c) {
  return c == ' ' || c == '\n' || c == '\t' || c == '\r';
}

// The next reference in `text` at or after `from`: the leftmost run of letters, underscores and periods that
// holds an underscore, up to and including its last underscore (the greedy, leftmost match of the pattern
// "[A-Za-z_.]+_"). Scans each byte once, so long texts without references cost linear time.
bool findReference(std::string_view text, size_t from, size_t& start, size_t& end) {
  size_t i = from;
  while (i < text.size()) {
    if (!isReferenceByte(text[i])) {
      ++i;
      continue;
    }
    const size_t run_start = i;
    size_t last_underscore = std::string_view::npos;
    for (; i < text.size() && isReferenceByte(text[i]); ++i) {
      if (text[i] == '_') last_underscore = i;
    }
    if (last_underscore != std::string_view::npos) {
      start = run_start;
      end = last_underscore + 1;
      return true;
    }
  }
  return false;
}

std::string withoutParameterSpace(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (!isParameterSpace(c)) result += c;
  }
  return result;
}

void appendLiteral(std::vector<SectionToken>& tokens, std::string_view text) {
  if (text.empty()) return;
  SectionToken& token = tokens.emplace_back();
  token.kind = SectionToken::kLiteral;
  token.name = text;
}

// The pattern of a panose group; fixed, so compiled once.
const Pattern& panosePattern() {
  static const Pattern pattern(R"({\\\*\\panose [a-z0-9]+})");
  return pattern;
}

constexpr std::string_view kPanoseOpening = "{\\*\\panose ";

}  // namespace

bool cutSectionText(std::string_view text, std::vector<SectionToken>& tokens, size_t& budget) {
  size_t position = 0;
  size_t start = 0;
  size_t end = 0;
  while (position < text.size() && findReference(text, position, start, end)) {
    if (budget < 3) {  // room for a literal, a reference and the literal of the rest
      const size_t before = tokens.size();
      appendLiteral(tokens, text.substr(position));
      budget -= std::min(budget, tokens.size() - before);
      return false;
    }
    const size_t before = tokens.size();
    appendLiteral(tokens, text.substr(position, start - position));

    SectionToken& reference = tokens.emplace_back();
    reference.kind = SectionToken::kReference;
    const std::string_view path = text.substr(start, end - 1 - start);
    const size_t period = path.rfind('.');
    if (period == std::string_view::npos) {
      reference.name = path;
    } else {
      reference.object = path.substr(0, period);
      reference.name = path.substr(period + 1);
    }
    // What follows the reference belongs to it even at the very end of the text: a "+" written there is
    // still the separator, not a character to output.
    if (end < text.size() && text[end] == '+') {
      reference.name += '+';
      ++end;
    } else if (end < text.size() && text[end] == '(') {
      size_t close = text.find(')', end + 1);
      if (close == std::string_view::npos) close = text.size();
      const std::string_view parameters = text.substr(end + 1, close - end - 1);
      const size_t comma = parameters.find(',');
      reference.firstParameter = withoutParameterSpace(parameters.substr(0, comma));
      if (comma != std::string_view::npos)
        reference.secondParameter = withoutParameterSpace(parameters.substr(comma + 1));
      end = close < text.size() ? close + 1 : close;
    }
    budget -= tokens.size() - before;
    position = end;
  }
  if (position < text.size()) {
    if (budget == 0) {
      // Even the rest must be kept: one more literal is allowed past an exhausted budget.
      appendLiteral(tokens, text.substr(position));
      return false;
    }
    appendLiteral(tokens, text.substr(position));
    --budget;
  }
  return true;
}

std::string removePanoseGroups(std::string_view text) {
  const Pattern& pattern = panosePattern();
  std::string result;
  result.reserve(text.size());
  size_t position = 0;
  while (position < text.size()) {
    const Pattern::Match match = pattern.search(text, position);
    if (!match.found()) break;
    result.append(text.substr(position, match.position - position));
    result += ' ';
    position = match.position + match.length;
    // The blank may complete a group that opened just before the one removed, as in
    // "{\*\panose{\*\panose 01}ab}": remove such enclosing groups too, innermost first.
    while (result.size() >= kPanoseOpening.size() && std::string_view(result).ends_with(kPanoseOpening)) {
      size_t i = position;
      while (i < text.size() && ((text[i] >= 'a' && text[i] <= 'z') || (text[i] >= '0' && text[i] <= '9')))
        ++i;
      if (i == position || i >= text.size() || text[i] != '}') break;
      result.resize(result.size() - kPanoseOpening.size());
      result += ' ';
      position = i + 1;
    }
  }
  result.append(text.substr(position));
  return result;
}

}  // namespace quillet
