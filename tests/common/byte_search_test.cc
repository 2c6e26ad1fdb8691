// The chunked byte searches: every position inside and across the chunks, and the bytes past a text's end
// (which must never be looked at).
#include "common/byte_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

TEST(ByteSearchTest, FindsTheFirstWantedByteAtEveryPosition) {
  for (size_t size = 0; size <= 40; ++size) {
    for (size_t at = 0; at < size; ++at) {
      std::string text(size, 'a');
      text[at] = '\n';
      // A wanted byte just past the view's end is not found.
      const std::string padded = text + "@\\\n";
      const std::string_view view(padded.data(), size);
      EXPECT_EQ(findByte(view, '\n'), at);
      EXPECT_EQ(lineEnd(view, at + 1), size);
      EXPECT_EQ(findEitherByte(view, '\t', '\n'), at);
      EXPECT_EQ((findAnyOf<false, '@', '\n'>(view)), at);
      EXPECT_EQ((findAnyOf<false, '@', '\\'>(view)), std::string_view::npos);
      text[at] = '\x02';
      EXPECT_EQ((findAnyOf<true, '@'>(std::string_view(text))), at);
      EXPECT_EQ((findAnyOf<false, '@'>(std::string_view(text))), std::string_view::npos);
      EXPECT_EQ(findByte(text, '\x02', at + 1), std::string_view::npos);
      std::string blanks(size, ' ');
      EXPECT_EQ(skipBlanks(blanks, at), size);
      blanks[at] = 'x';
      EXPECT_EQ(skipBlanks(blanks), at);
    }
  }
  // Bytes above 0x7f are not control characters.
  std::string accents;
  for (int i = 0; i < 8; ++i) accents += "\xc3\xa9";
  EXPECT_EQ((findAnyOf<true, '@'>(std::string_view(accents + "@"))), 16u);
}

TEST(ByteSearchTest, SetFinderVisitsEveryWantedByteOnce) {
  // Texts of every length up to three chunks, with the wanted bytes at changing places.
  for (size_t size = 0; size <= 48; ++size) {
    std::string text;
    for (size_t i = 0; i < size; ++i) text += "a*b_c\x01" "de:"[(i * 7 + size) % 9];
    const std::string padded = text + "**";
    const std::string_view view(padded.data(), size);
    std::vector<size_t> expected;
    for (size_t i = 0; i < size; ++i)
      if (text[i] == '*' || text[i] == '_' || text[i] == '\x01') expected.push_back(i);
    std::vector<size_t> found;
    ByteSetFinder<true, '*', '_'> finder(view);
    for (size_t i = finder.next(0); i < size; i = finder.next(i + 1)) found.push_back(i);
    EXPECT_EQ(found, expected) << size;
  }
}

TEST(ByteSearchTest, ChunkMaskMarksEachEqualByte) {
  const char chunk[kChunkSize + 1] = "a b  c\nd e f g h";
  EXPECT_EQ(chunkMask(chunk, ' '), 0b0101'0101'0001'1010u);
  EXPECT_EQ(chunkMask(chunk, '\n'), 1u << 6);
}

}  // namespace
}  // namespace quillet
