#include "template_objects/style_sheet_filter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace quillet {
namespace {

std::string written(const StyleSheetFilter& filter, std::string_view text) {
  std::ostringstream out;
  filter.write(out, text);
  return out.str();
}

TEST(StyleSheetFilterTest, EachFilterEscapesItsOwnSpecialsAndPassesUtf8Through) {
  HTMLStyleSheetFilter html;
  RTFStyleSheetFilter rtf;
  EXPECT_EQ(written(html, "a<b && \"c\""), "a&lt;b &amp;&amp; &quot;c&quot;");
  EXPECT_EQ(written(html, "&amp;>\n{\\}"), "&amp;amp;&gt;\n{\\}");
  EXPECT_EQ(written(rtf, "{\\b x}"), "\\{\\\\b x\\}");
  EXPECT_EQ(written(rtf, "a<b & \"c\""), "a<b & \"c\"");
  const std::string utf8 =
      "Gr\xc3\xbc\xc3\x9f"
      "e \xe2\x86\x92 \xf0\x9f\x98\x80";
  EXPECT_EQ(written(html, utf8), utf8);
  EXPECT_EQ(written(rtf, utf8), utf8);
}

TEST(StyleSheetFilterTest, MakeIdentifierKeepsOnlyLettersDigitsAndUnderscore) {
  EXPECT_EQ(makeIdentifier("operator<<"), "operator__");
  EXPECT_EQ(makeIdentifier("\xc3\xa9t\xc3\xa9"), "__t__");  // each byte of a UTF-8 letter
}

}  // namespace
}  // namespace quillet
