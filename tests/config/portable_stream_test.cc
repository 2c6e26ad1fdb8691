#include "config/portable_stream.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet {
namespace {

TEST(PortableWriterTest, NumbersEndWithCarriageReturnLineFeed) {
  PortableWriter out;
  out.writeSigned(-5);
  out.writeSigned(0);
  out.writeUnsigned(4294967295u);
  out.writeBool(true);
  out.writeReal(0);
  out.writeReal(0.5);
  out.writeReal(1.0 / 3);
  out.writeReal(-2.5e-20);
  EXPECT_EQ(out.text(), "-5\r\n0\r\n4294967295\r\n1\r\n0\r\n0.5\r\n0.3333333333333333\r\n-2.5e-20\r\n");
}

TEST(PortableWriterTest, StringsEscapeBlanksBracesControlAndHighBytes) {
  PortableWriter out;
  out.writeString("a b{}\\\"\n\t\x01\xe9\r\b\f");
  EXPECT_EQ(out.text(), "14\r\n\"a\\x20b\\[\\]\\\\\\\"\\n\\t\\x01\\xe9\\r\\b\\f\"");
  PortableWriter empty;
  empty.writeString("");
  empty.writeSigned(7);
  EXPECT_EQ(empty.text(), "0\r\n\"\"7\r\n");  // no line break after the closing quote
}

TEST(PortableWriterTest, BreaksStringTextBeyondEightyCharacters) {
  PortableWriter out;
  out.writeString(std::string(100, 'x'));
  // The opening quote and 79 characters fill the line; the 80th character starts a new one.
  EXPECT_EQ(out.text(), "100\r\n\"" + std::string(79, 'x') + "\r\n" + std::string(21, 'x') + "\"");

  // An escape is never split: it moves to the next line as a whole.
  PortableWriter escape;
  escape.writeString(std::string(78, 'y') + " ");
  EXPECT_EQ(escape.text(), "79\r\n\"" + std::string(78, 'y') + "\r\n\\x20\"");
}

TEST(PortableWriterTest, LineCountRunsAcrossStringsAndIgnoresNumbers) {
  PortableWriter out;
  for (int i = 0; i < 40; ++i) {
    out.writeString("");
    out.writeSigned(123456);  // numbers neither count nor restart the line
  }
  out.writeString("");
  std::string expected;
  for (int i = 0; i < 40; ++i) expected += "0\r\n\"\"123456\r\n";
  expected += "0\r\n\r\n\"\"";  // the 41st opening quote would be character 81
  EXPECT_EQ(out.text(), expected);
}

TEST(PortableWriterTest, RecordsReferencesAndTheNullObject) {
  PortableWriter out;
  int first = 0;
  int second = 0;
  out.beginObjectGraph();
  out.beginRecord(&first, 1);
  out.writeNullObject();
  out.beginRecord(&second, 1);
  EXPECT_TRUE(out.writeReference(&first));
  out.writeNullObject();
  out.endRecord();
  out.endRecord();
  EXPECT_FALSE(out.writeReference(nullptr));
  EXPECT_EQ(out.text(), ":1\r\n\\[:32775\r\n\\[\\]:1\r\n\\[@0\r\n@1\r\n\\]\\]");

  // A new graph numbers from 0 again and writes the null object's record again.
  out.beginObjectGraph();
  EXPECT_FALSE(out.writeReference(&first));
  out.writeNullObject();
  EXPECT_TRUE(out.text().ends_with("\\]\\]:32775\r\n\\[\\]"));
}

TEST(PortableReaderTest, ReadsWhatTheWriterWrote) {
  const std::string tricky =
      std::string("blank {brace} \\ \"quoted\"\r\n\t\x01\x7f\xff") + std::string(200, 'z');
  PortableWriter out;
  out.writeSigned(-2147483647 - 1);
  out.writeUnsigned(4294967295u);
  out.writeString(tricky);
  out.writeReal(0.1000000014901161);
  out.writeString("");
  out.writeBool(true);
  PortableReader in(out.text());
  int32_t i = 0;
  uint32_t u = 0;
  std::string s;
  std::string empty = "not empty";
  double r = 0;
  bool b = false;
  ASSERT_TRUE(in.readSigned(i));
  ASSERT_TRUE(in.readUnsigned(u));
  ASSERT_TRUE(in.readString(s));
  ASSERT_TRUE(in.readReal(r));
  ASSERT_TRUE(in.readString(empty));
  ASSERT_TRUE(in.readBool(b));
  EXPECT_EQ(i, -2147483647 - 1);
  EXPECT_EQ(u, 4294967295u);
  EXPECT_EQ(s, tricky);
  EXPECT_EQ(r, 0.1000000014901161);
  EXPECT_EQ(empty, "");
  EXPECT_TRUE(b);
  EXPECT_TRUE(in.atEnd());
}

TEST(PortableReaderTest, AcceptsLooseLayoutAndHonoursAnnouncedLength) {
  // Line feeds alone, breaks inside quotes, "\x" with one digit or none, raw bytes, and any non-zero boolean.
  PortableReader in("5\n  \"a\nb\r\n\\x9\\xc\"\n3\n\"abcdef\"\n9\n\"ab\"\n-7\n");
  std::string s;
  ASSERT_TRUE(in.readString(s));
  EXPECT_EQ(s, "ab\x09\x0c");  // only four characters came, so the string is shorter than announced
  ASSERT_TRUE(in.readString(s));
  EXPECT_EQ(s, "abc");  // the rest up to the closing quote is skipped
  ASSERT_TRUE(in.readString(s));
  EXPECT_EQ(s, "ab");
  bool b = false;
  ASSERT_TRUE(in.readBool(b));
  EXPECT_TRUE(b);
  EXPECT_TRUE(in.atEnd());

  PortableReader no_digit("2\r\n\"\\x\\[\"");
  ASSERT_TRUE(no_digit.readString(s));
  EXPECT_EQ(s, std::string("\0{", 2));
}

TEST(PortableReaderTest, RefusesMalformedValues) {
  std::string s;
  int32_t i = 0;
  uint32_t u = 0;
  EXPECT_FALSE(PortableReader("").readSigned(i));
  EXPECT_FALSE(PortableReader("abc").readSigned(i));
  EXPECT_FALSE(PortableReader("2147483648").readSigned(i));
  EXPECT_FALSE(PortableReader("-1").readUnsigned(u));
  EXPECT_FALSE(PortableReader("4294967296").readUnsigned(u));
  EXPECT_FALSE(PortableReader("99999999999999999999999").readUnsigned(u));
  EXPECT_FALSE(PortableReader("3\r\nabc").readString(s));        // no opening quote
  EXPECT_FALSE(PortableReader("3\r\n\"abc").readString(s));      // no closing quote
  EXPECT_FALSE(PortableReader("3\r\n\"a\\qc\"").readString(s));  // unknown escape
  EXPECT_FALSE(PortableReader("1\r\n\"\\").readString(s));       // escape cut off
  // A huge announced length is read as what is there, without reserving for it.
  ASSERT_TRUE(PortableReader("4294967295\r\n\"ab\"").readString(s));
  EXPECT_EQ(s, "ab");
}

TEST(PortableReaderTest, CountsAreBoundedByTheBytesLeft) {
  uint32_t count = 0;
  PortableReader small("3\r\n123456789");
  EXPECT_TRUE(small.readCount(count, 3));
  EXPECT_EQ(count, 3u);
  PortableReader too_many("4\r\n123456789");
  EXPECT_FALSE(too_many.readCount(count, 3));
  PortableReader hostile("4294967295\r\n");
  EXPECT_FALSE(hostile.readCount(count, 1));
}

TEST(PortableReaderTest, ObjectStartsResolveReferences) {
  int item = 0;
  PortableReader in(":1\r\n\\[:32775\r\n\\[\\]@0\r\n@1\r\n\\]@2\r\n@-1\r\n:2 \\[");
  PortableReader::ObjectStart start;
  ASSERT_TRUE(in.readObjectStart(start));
  EXPECT_EQ(start.kind, PortableReader::ObjectKind::kRecord);
  EXPECT_EQ(start.classNumber, 1u);
  EXPECT_EQ(start.slot, 0u);
  in.bindObject(start.slot, &item);
  ASSERT_TRUE(in.readObjectStart(start));
  EXPECT_EQ(start.kind, PortableReader::ObjectKind::kNull);
  ASSERT_TRUE(in.readObjectStart(start));
  EXPECT_EQ(start.kind, PortableReader::ObjectKind::kReference);
  EXPECT_EQ(start.object, &item);
  ASSERT_TRUE(in.readObjectStart(start));
  EXPECT_EQ(start.kind, PortableReader::ObjectKind::kNull);
  EXPECT_TRUE(in.readRecordEnd());
  EXPECT_FALSE(in.readObjectStart(start));  // @2: nothing has that number
  PortableReader negative("@-1\r\n");
  EXPECT_FALSE(negative.readObjectStart(start));
  PortableReader spaced(":2 \\[");
  ASSERT_TRUE(spaced.readObjectStart(start));
  EXPECT_EQ(start.classNumber, 2u);
  PortableReader garbage("x");
  EXPECT_FALSE(garbage.readObjectStart(start));
  PortableReader unbound(":1\r\n\\[@0\r\n");
  ASSERT_TRUE(unbound.readObjectStart(start));
  EXPECT_FALSE(unbound.readObjectStart(start));  // a reference to a record never bound to an object
}

}  // namespace
}  // namespace quillet
