#include "config/portable_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "config/test_util.h"

namespace quillet {
namespace {

TEST(PortableWriterTest, NumbersAndEscapedStrings) {
  PortableWriter out;
  out.writeSigned(-5);
  out.writeUnsigned(4294967295u);
  out.writeReal(0);
  out.writeReal(1.0 / 3);
  out.writeReal(-2.5e-20);
  out.writeString("a b{}\\\"\n\t\x01\xe9\r\b\f");
  out.writeString("");
  out.writeBool(true);
  EXPECT_EQ(out.text(),
            "-5\r\n4294967295\r\n0\r\n0.3333333333333333\r\n-2.5e-20\r\n"
            "14\r\n\"a\\x20b\\[\\]\\\\\\\"\\n\\t\\x01\\xe9\\r\\b\\f\"0\r\n\"\"1\r\n");
}

TEST(PortableWriterTest, BreaksStringTextBeyondEightyCharacters) {
  PortableWriter out;
  out.writeString(std::string(100, 'x'));
  // The opening quote and 79 characters fill the line; the 80th character starts a new one.
  EXPECT_EQ(out.text(), "100\r\n\"" + std::string(79, 'x') + "\r\n" + std::string(21, 'x') + "\"");

  PortableWriter escape;  // an escape moves to the next line whole
  escape.writeString(std::string(78, 'y') + " ");
  EXPECT_EQ(escape.text(), "79\r\n\"" + std::string(78, 'y') + "\r\n\\x20\"");

  PortableWriter running;  // the count runs across strings; numbers neither count nor restart it
  for (int i = 0; i < 41; ++i) {
    running.writeString("");
    running.writeSigned(123456);
  }
  EXPECT_EQ(running.text(), repeat("0\r\n\"\"123456\r\n", 40) + "0\r\n\r\n\"\"123456\r\n");
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
  EXPECT_EQ(out.text(), ":1\r\n\\[:32775\r\n\\[\\]:1\r\n\\[@0\r\n@1\r\n\\]\\]");
  out.beginObjectGraph();  // a new graph numbers from 0 and writes the null record again
  EXPECT_FALSE(out.writeReference(&first));
  out.writeNullObject();
  EXPECT_TRUE(out.text().ends_with("\\]\\]:32775\r\n\\[\\]"));
}

TEST(PortableReaderTest, AcceptsLooseLayoutAndHonoursAnnouncedLength) {
  // Line feeds alone, breaks inside quotes, "\x" with one digit or none, and any non-zero boolean.
  PortableReader in("5\n  \"a\nb\r\n\\x9\\xc\"\n3\n\"abcdef\"\n2\n\"\\x\\[\"\n-7\n");
  std::string s;
  ASSERT_TRUE(in.readString(s));
  EXPECT_EQ(s, "ab\x09\x0c");  // fewer characters than announced
  ASSERT_TRUE(in.readString(s));
  EXPECT_EQ(s, "abc");  // the rest up to the closing quote is skipped
  ASSERT_TRUE(in.readString(s));
  EXPECT_EQ(s, std::string("\0{", 2));
  bool b = false;
  ASSERT_TRUE(in.readBool(b));
  EXPECT_TRUE(b);
  // A huge announced length is read as what is there, without reserving for it.
  ASSERT_TRUE(PortableReader("4294967295\r\n\"ab\"").readString(s));
  EXPECT_EQ(s, "ab");
}

TEST(PortableReaderTest, RefusesMalformedValuesAndHostileCounts) {
  std::string s;
  int32_t i = 0;
  uint32_t u = 0;
  EXPECT_FALSE(PortableReader("abc").readSigned(i));
  EXPECT_FALSE(PortableReader("2147483648").readSigned(i));
  EXPECT_FALSE(PortableReader("-1").readUnsigned(u));
  EXPECT_FALSE(PortableReader("99999999999999999999999").readUnsigned(u));
  EXPECT_FALSE(PortableReader("3\r\nabc").readString(s));        // no opening quote
  EXPECT_FALSE(PortableReader("3\r\n\"abc").readString(s));      // no closing quote
  EXPECT_FALSE(PortableReader("3\r\n\"a\\qc\"").readString(s));  // unknown escape
  EXPECT_TRUE(PortableReader("3\r\n123456789").readCount(u, 3));
  EXPECT_FALSE(PortableReader("4\r\n123456789").readCount(u, 3));
  EXPECT_FALSE(PortableReader("4294967295\r\n").readCount(u, 1));
}

TEST(PortableReaderTest, ObjectStartsResolveReferences) {
  int item = 0;
  PortableReader in(":1\r\n\\[:32775\r\n\\[\\]@0\r\n@1\r\n@2\r\n");
  PortableReader::ObjectStart start;
  ASSERT_TRUE(in.readObjectStart(start));
  EXPECT_EQ(start.kind, PortableReader::ObjectKind::kRecord);
  in.bindObject(start.slot, &item);
  ASSERT_TRUE(in.readObjectStart(start));
  EXPECT_EQ(start.kind, PortableReader::ObjectKind::kNull);
  ASSERT_TRUE(in.readObjectStart(start));
  EXPECT_EQ(start.object, &item);
  ASSERT_TRUE(in.readObjectStart(start));
  EXPECT_EQ(start.kind, PortableReader::ObjectKind::kNull);
  EXPECT_FALSE(in.readObjectStart(start));  // nothing has the number 2
  PortableReader unbound(":1\r\n\\[@0\r\n");
  ASSERT_TRUE(unbound.readObjectStart(start));
  EXPECT_FALSE(unbound.readObjectStart(start));  // a record never bound to an object
}

}  // namespace
}  // namespace quillet
