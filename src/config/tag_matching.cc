#include "config/tag_matching.h"

#include <algorithm>

namespace quillet {

namespace {

// True when `region` holds nothing but blanks and line breaks.
bool onlyBlanks(std::string_view region) {
  return region.find_first_not_of(" \r\n") == std::string_view::npos;
}

// The replacement text with each two-character sequence "\n" turned into a line break.
std::string expandReplacement(std::string_view replacement) {
  std::string expanded;
  expanded.reserve(replacement.size());
  for (size_t i = 0; i < replacement.size(); ++i) {
    if (replacement[i] == '\\' && i + 1 < replacement.size() && replacement[i + 1] == 'n') {
      expanded += '\n';
      ++i;
    } else {
      expanded += replacement[i];
    }
  }
  return expanded;
}

// Makes the matches safe to apply whatever the caller handed in: inside the text, in order, not overlapping.
void clampMatches(std::vector<TagMatch>& matches, size_t text_size) {
  size_t previous_end = 0;
  for (TagMatch& match : matches) {
    match.position = std::clamp(match.position, previous_end, text_size);
    match.length = std::min(match.length, text_size - match.position);
    previous_end = match.position + match.length;
  }
}

// One pass over the text: `edit` sees each match and appends to `out` what stands from `cursor` (the first
// byte not yet copied) up to the match's start, then returns the new cursor; the match's new position is
// where its own text begins in `out`, which `edit` reports through `start`.
template <typename Edit>
std::string rebuild(const std::string& text, std::vector<TagMatch>& matches, Edit edit) {
  std::string out;
  out.reserve(text.size() + 16);
  size_t cursor = 0;
  size_t previous_end = 0;
  for (size_t k = 0; k < matches.size(); ++k) {
    TagMatch& match = matches[k];
    const size_t next = k + 1 < matches.size() ? matches[k + 1].position : text.size();
    const size_t old_end = match.position + match.length;
    size_t start = 0;
    cursor = edit(match, previous_end, next, cursor, out, start);
    match.position = start;
    previous_end = old_end;
  }
  out.append(text, cursor, std::string::npos);
  return out;
}

}  // namespace

TagMatcher::TagMatcher(const std::vector<CommentTag>& tags) {
  patterns_.reserve(tags.size());
  for (const CommentTag& tag : tags) patterns_.emplace_back(tag.tagName());
}

std::vector<TagMatch> TagMatcher::find(std::string_view text) const {
  std::vector<TagMatch> found;
  for (size_t index = 0; index < patterns_.size(); ++index) {
    const Pattern& pattern = patterns_[index];
    if (!pattern.ok()) continue;
    size_t start = 0;
    while (start <= text.size()) {
      const Pattern::Match match = pattern.search(text, start);
      if (!match.found()) break;
      found.push_back({index, match.length, match.position});
      // An empty match moves the search on by one character so that it cannot repeat forever.
      start = match.position + std::max<size_t>(match.length, 1);
    }
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const TagMatch& a, const TagMatch& b) { return a.position < b.position; });

  // Of two overlapping neighbours the shorter goes (the later one when equally long); the survivor is
  // compared with the next in turn. Earlier survivors end before it starts, so one walk suffices.
  std::vector<TagMatch> kept;
  kept.reserve(found.size());
  for (const TagMatch& match : found) {
    if (!kept.empty() && kept.back().position + kept.back().length > match.position) {
      if (kept.back().length < match.length) kept.back() = match;
      continue;
    }
    kept.push_back(match);
  }
  return kept;
}

std::vector<TagMatch> findTagMatches(std::string_view text, const std::vector<CommentTag>& tags) {
  return TagMatcher(tags).find(text);
}

std::string applyTags(std::string_view original, std::vector<TagMatch>& matches,
                      const std::vector<CommentTag>& tags) {
  std::string text(original);
  clampMatches(matches, text.size());
  const auto tagOf = [&tags](const TagMatch& match) -> const CommentTag* {
    return match.tagIndex < tags.size() ? &tags[match.tagIndex] : nullptr;
  };
  const auto has = [&tagOf](const TagMatch& match, auto test) {
    const CommentTag* tag = tagOf(match);
    return tag != nullptr && test(*tag);
  };

  // 1. Always remove: the tag text becomes blanks.
  for (const TagMatch& match : matches)
    if (has(match, [](const CommentTag& t) { return t.operation() == CommentTag::kRemoveTag; }))
      std::fill_n(text.begin() + static_cast<std::ptrdiff_t>(match.position), match.length, ' ');

  // 2. Remove only when empty: when nothing but blanks follows up to the next tag, the tag and the blanks go.
  text = rebuild(
      text, matches,
      [&](TagMatch& match, size_t, size_t next, size_t cursor, std::string& out, size_t& start) {
        out.append(text, cursor, match.position - cursor);
        start = out.size();
        const size_t end = match.position + match.length;
        if (has(match, [](const CommentTag& t) { return t.operation() == CommentTag::kRemoveWhenEmpty; }) &&
            onlyBlanks(std::string_view(text).substr(end, next - end))) {
          match.length = 0;
          return next;
        }
        return match.position;
      });

  // 3. Replace: the tag text becomes the replacement.
  text = rebuild(text, matches,
                 [&](TagMatch& match, size_t, size_t, size_t cursor, std::string& out, size_t& start) {
                   out.append(text, cursor, match.position - cursor);
                   start = out.size();
                   const CommentTag* tag = tagOf(match);
                   if (tag == nullptr || tag->operation() != CommentTag::kReplaceTag) return match.position;
                   const std::string replacement = expandReplacement(tag->replacement());
                   out += replacement;
                   const size_t end = match.position + match.length;
                   match.length = replacement.size();
                   return end;
                 });

  // 4. Remove text before: from the end of the previous match (or the start) up to the tag.
  text = rebuild(
      text, matches,
      [&](TagMatch& match, size_t previous_end, size_t, size_t cursor, std::string& out, size_t& start) {
        const bool cut = has(match, [](const CommentTag& t) { return t.removeTextBefore(); });
        out.append(text, cursor, (cut ? previous_end : match.position) - cursor);
        start = out.size();
        return match.position;
      });

  // 5. Remove text after: from the end of the tag up to the next match (or the end).
  text = rebuild(text, matches,
                 [&](TagMatch& match, size_t, size_t next, size_t cursor, std::string& out, size_t& start) {
                   out.append(text, cursor, match.position - cursor);
                   start = out.size();
                   if (!has(match, [](const CommentTag& t) { return t.removeTextAfter(); }))
                     return match.position;
                   out.append(text, match.position, match.length);
                   return next;
                 });

  // 6. Paragraph break before: two line breaks go before the blanks that precede the tag, so the tag starts
  // a new paragraph. The blanks searched stop at the previous match, whose text stays whole.
  text = rebuild(
      text, matches,
      [&](TagMatch& match, size_t previous_end, size_t, size_t cursor, std::string& out, size_t& start) {
        if (has(match, [](const CommentTag& t) { return t.paragraphBreakBefore(); })) {
          size_t at = match.position;
          while (at > previous_end && text[at - 1] == ' ') --at;
          out.append(text, cursor, at - cursor);
          out += "\n\n";
          out.append(text, at, match.position - at);
        } else {
          out.append(text, cursor, match.position - cursor);
        }
        start = out.size();
        return match.position;
      });
  return text;
}

}  // namespace quillet
