#include "config/comment_tag.h"

#include <gtest/gtest.h>

#include <string>

#include "config/portable_stream.h"
#include "config/test_util.h"

namespace quillet {
namespace {

CommentTag readTag(const std::string& text, bool* ok = nullptr) {
  PortableReader in(text);
  in.beginObjectGraph();
  CommentTag tag;
  const bool read = tag.readRecord(in);
  if (ok != nullptr) *ok = read;
  return tag;
}

TEST(CommentTagTest, RecordIsWrittenInTheCurrentLayout) {
  CommentTag tag;
  tag.setTagName("TODO");
  tag.setOperation(CommentTag::kRemoveTag);
  tag.setRemoveTextAfter(true);
  tag.setFormatting(CommentTag::kPreserveAll);
  PortableWriter out;
  out.beginObjectGraph();
  tag.writeRecord(out);
  EXPECT_EQ(out.text(), ":2\r\n\\[4\r\n\"TODO\"" + repeat("0\r\n", 5) +
                            "2\r\n2\r\n0\r\n\"\"1\r\n0\r\n0\r\n2\r\n" + repeat("0\r\n", 10) +
                            repeat("0\r\n\"\"", 10) + "\\]");
  bool ok = false;
  EXPECT_EQ(readTag(out.text(), &ok), tag);
  EXPECT_TRUE(ok);
  readTag(":1" + out.text().substr(2), &ok);  // another class
  EXPECT_FALSE(ok);
}

TEST(CommentTagTest, OlderLayoutIsConverted) {
  bool ok = false;
  // always-remove, text-after, text-before, unused, remove-when-empty; then 0 and five ignored integers.
  const CommentTag when_empty =
      readTag(":2\r\n\\[3\r\n\"XYZ\"1\r\n1\r\n0\r\n5\r\n1\r\n0\r\n9\r\n9\r\n9\r\n9\r\n9\r\n\\]", &ok);
  ASSERT_TRUE(ok);
  CommentTag expected;  // the fifth value wins over the first; the ignored ones leave their defaults
  expected.setTagName("XYZ");
  expected.setOperation(CommentTag::kRemoveWhenEmpty);
  expected.setRemoveTextAfter(true);
  EXPECT_EQ(when_empty, expected);

  const CommentTag removed =
      readTag(":2\r\n\\[1\r\n\"A\"7\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n\\]", &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(removed.operation(), CommentTag::kRemoveTag);
  EXPECT_TRUE(removed.removeTextBefore());

  const CommentTag kept = readTag(":2\r\n\\[1\r\n\"A\"" + repeat("0\r\n", 11) + "\\]", &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(kept.operation(), CommentTag::kKeepTag);

  // Written again, an older record takes the current layout.
  PortableWriter out;
  out.beginObjectGraph();
  when_empty.writeRecord(out);
  EXPECT_EQ(readTag(out.text()), when_empty);
}

}  // namespace
}  // namespace quillet
