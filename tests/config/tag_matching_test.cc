#include "config/tag_matching.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

CommentTag tag(const std::string& name, int32_t operation = CommentTag::kKeepTag) {
  CommentTag t;
  t.setTagName(name);
  t.setOperation(operation);
  return t;
}

// Finds and applies `tags` on `text`; the matches as they stand afterwards go to `matches`.
std::string findAndApply(const std::string& text, const std::vector<CommentTag>& tags,
                         std::vector<TagMatch>* matches = nullptr) {
  std::vector<TagMatch> found = findTagMatches(text, tags);
  std::string result = applyTags(text, found, tags);
  if (matches != nullptr) *matches = found;
  return result;
}

TEST(TagMatchingTest, FindsEveryMatchSortedByPosition) {
  const std::vector<CommentTag> tags = {tag("@return"), tag("@param")};
  const std::vector<TagMatch> matches = findTagMatches("@param a @return x @param b", tags);
  EXPECT_EQ(matches, (std::vector<TagMatch>{{1, 6, 0}, {0, 7, 9}, {1, 6, 19}}));
  EXPECT_TRUE(findTagMatches("", tags).empty());
  EXPECT_TRUE(findTagMatches("nothing here", {}).empty());
}

TEST(TagMatchingTest, OverlapsKeepTheLongerOrTheEarlierTag) {
  // Same position: the longer match survives whatever the list order.
  std::vector<TagMatch> m = findTagMatches("Note: x", {tag("Note"), tag("Note:")});
  EXPECT_EQ(m, (std::vector<TagMatch>{{1, 5, 0}}));
  // Equal lengths at one position: the tag earlier in the list survives.
  m = findTagMatches("TODO x", {tag("TO.O"), tag("TODO")});
  EXPECT_EQ(m, (std::vector<TagMatch>{{0, 4, 0}}));
  // A later, longer match removes an earlier, shorter one it overlaps, and then meets the next in turn.
  m = findTagMatches("abcdefgh", {tag("ab"), tag("bcdef"), tag("fg"), tag("gh")});
  EXPECT_EQ(m, (std::vector<TagMatch>{{1, 5, 1}, {3, 2, 6}}));
}

TEST(TagMatchingTest, EmptyMatchesAndBadPatternsDoNotLoop) {
  const std::vector<TagMatch> m = findTagMatches("abxx", {tag("x*"), tag("*bad"), tag("[open")});
  // "x*" matches nothing at 0, 1 and 4, and "xx" at 2; the illegal patterns match nothing.
  EXPECT_EQ(m, (std::vector<TagMatch>{{0, 0, 0}, {0, 0, 1}, {0, 2, 2}, {0, 0, 4}}));
  const std::string long_text(10000, 'a');
  EXPECT_EQ(findTagMatches(long_text, {tag("b*")}).size(), 10001u);
  EXPECT_EQ(findTagMatches("abc", {tag("$")}), (std::vector<TagMatch>{{0, 0, 3}}));
}

TEST(TagMatchingTest, RemovingAndReplacingTags) {
  std::vector<TagMatch> m;
  EXPECT_EQ(findAndApply("keep @rm this", {tag("@rm", CommentTag::kRemoveTag)}, &m), "keep     this");
  EXPECT_EQ(m, (std::vector<TagMatch>{{0, 3, 5}}));

  CommentTag two_lines = tag("@br", CommentTag::kReplaceTag);
  two_lines.setReplacement("first\\nsecond");
  EXPECT_EQ(findAndApply("a @br b @br c", {two_lines}, &m), "a first\nsecond b first\nsecond c");
  EXPECT_EQ(m, (std::vector<TagMatch>{{0, 12, 2}, {0, 12, 17}}));

  CommentTag shorter = tag("@deprecated", CommentTag::kReplaceTag);
  shorter.setReplacement("Old:");
  EXPECT_EQ(findAndApply("@deprecated use x. @deprecated", {shorter}, &m), "Old: use x. Old:");
  EXPECT_EQ(m, (std::vector<TagMatch>{{0, 4, 0}, {0, 4, 12}}));
}

TEST(TagMatchingTest, RemoveWhenEmptyLooksUpToTheNextTag) {
  const std::vector<CommentTag> tags = {tag("@todo", CommentTag::kRemoveWhenEmpty), tag("@see")};
  std::vector<TagMatch> m;
  // Followed only by blanks and line breaks: the tag goes with them.
  EXPECT_EQ(findAndApply("text @todo  \r\n  \n@see x", tags, &m), "text @see x");
  EXPECT_EQ(m, (std::vector<TagMatch>{{0, 0, 5}, {1, 4, 5}}));
  EXPECT_EQ(findAndApply("text @todo   ", tags), "text ");
  // Followed by any other text it stays.
  EXPECT_EQ(findAndApply("text @todo fix it @see x", tags), "text @todo fix it @see x");
  EXPECT_EQ(findAndApply("text @todo\t@see", tags), "text @todo\t@see");  // a tab is text
}

TEST(TagMatchingTest, CuttingTextBeforeAndAfter) {
  CommentTag before = tag("@brief");
  before.setRemoveTextBefore(true);
  CommentTag after = tag("@internal");
  after.setRemoveTextAfter(true);
  std::vector<TagMatch> m;
  EXPECT_EQ(findAndApply("junk @brief Short. @internal secret @brief Again", {before, after}, &m),
            "@brief Short. @internal@brief Again");
  EXPECT_EQ(m, (std::vector<TagMatch>{{0, 6, 0}, {1, 9, 14}, {0, 6, 23}}));
  EXPECT_EQ(findAndApply("tail @internal to the end", {after}), "tail @internal");
}

TEST(TagMatchingTest, ParagraphBreakGoesBeforeThePrecedingBlanks) {
  CommentTag para = tag("@note");
  para.setParagraphBreakBefore(true);
  std::vector<TagMatch> m;
  EXPECT_EQ(findAndApply("word   @note x", {para}, &m), "word\n\n   @note x");
  EXPECT_EQ(m, (std::vector<TagMatch>{{0, 5, 9}}));
  EXPECT_EQ(findAndApply("@note at start", {para}), "\n\n@note at start");

  // Blanks that belong to the previous tag's own text stay with it.
  CommentTag spaced = tag("@a  ");
  EXPECT_EQ(findAndApply("@a  @note", {spaced, para}, &m), "@a  \n\n@note");
  EXPECT_EQ(m, (std::vector<TagMatch>{{0, 4, 0}, {1, 5, 6}}));
}

TEST(TagMatchingTest, PassesRunInOrderOverTheChangedText) {
  // Replace (pass 3) comes before cutting text before (pass 4) and the paragraph break (pass 6); the blanks
  // left by the removed tag are its own text, so the break goes after them.
  CommentTag replace = tag("@r", CommentTag::kReplaceTag);
  replace.setReplacement("R:");
  replace.setRemoveTextBefore(true);
  replace.setParagraphBreakBefore(true);
  CommentTag gone = tag("@g", CommentTag::kRemoveTag);
  std::vector<TagMatch> m;
  EXPECT_EQ(findAndApply("a @g b @r c", {replace, gone}, &m), "a   \n\nR: c");
  EXPECT_EQ(m, (std::vector<TagMatch>{{1, 2, 2}, {0, 2, 6}}));
}

TEST(TagMatchingTest, StaleOrForeignMatchesAreAppliedSafely) {
  // Matches beyond the text, overlapping or naming a tag that does not exist are clamped or ignored.
  std::vector<TagMatch> m = {{0, 10, 3}, {5, 2, 1}, {0, 1, 100}};
  EXPECT_EQ(applyTags("short", m, {tag("x", CommentTag::kRemoveTag)}), "sho  ");
  EXPECT_EQ(m, (std::vector<TagMatch>{{0, 2, 3}, {5, 0, 5}, {0, 0, 5}}));
}

}  // namespace
}  // namespace quillet
