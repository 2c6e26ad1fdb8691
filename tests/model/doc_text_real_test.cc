// The comments of real library headers (read in place), as the scanner hands them over, processed and
// written: prose comes out as one clean line, the RTF groups always balance, and no comment command is
// left in the text.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "frontend/preprocessor/raw_scanner.h"
#include "model/doc_text.h"
#include "model/model_test_support.h"

namespace quillet {
namespace {

// The depth of unescaped RTF braces at the end of `rtf`, or -1 when it ever drops below zero.
int rtfDepth(const std::string& rtf) {
  int depth = 0;
  for (size_t i = 0; i < rtf.size() && depth >= 0; ++i) {
    if (rtf[i] == '\\')
      ++i;
    else if (rtf[i] == '{')
      ++depth;
    else if (rtf[i] == '}')
      --depth;
  }
  return depth;
}

TEST(DocTextRealCommentsTest, LibraryHeaderCommentsComeOutClean) {
  CommentOutput output;
  output.useFixedText("{\\f2 ", "}");
  size_t comments = 0;
  size_t flowing = 0;
  for (const char* header :
       {"/usr/include/c++/12/bits/stl_vector.h", "/usr/include/c++/12/bits/basic_string.h",
        "/usr/src/googletest/googletest/include/gtest/gtest.h", "/usr/include/nlohmann/json.hpp",
        "/usr/include/fmt/core.h"}) {
    if (!std::filesystem::exists(header)) continue;
    FileRawScanner scanner(header);
    token_t token;
    do {
      scanner.nextToken(token);
      if (!token.comment) continue;
      for (const std::string& raw : *token.comment) {
        ++comments;
        const DocText doc(raw, true, DocText::kDeclarationLevel, header);
        for (const DocParagraph& paragraph : doc.paragraphs()) {
          if (paragraph.kind != DocParagraph::kFlowing) continue;
          ++flowing;
          EXPECT_EQ(paragraph.text.find_first_of("\n"), std::string::npos) << raw;
          EXPECT_EQ(paragraph.text.find("  "), std::string::npos) << raw;
          EXPECT_NE(paragraph.text.front(), '*') << raw;
        }
        std::ostringstream rtf;
        doc.WriteFull(output.rtf(), "vector", rtf);
        doc.WriteSummary(output.rtf(), "vector", rtf);
        EXPECT_EQ(rtfDepth(rtf.str()), 0) << raw;
        std::ostringstream html;
        doc.WriteFull(output.html(), "vector", html);
        for (const char* command : {"@brief", "@param", "@return", "\\brief", "\\param", "@tparam", "@throw"})
          EXPECT_EQ(html.str().find(command), std::string::npos) << raw << "\n" << html.str();
      }
    } while (token.kind != T_EOF);
  }
  if (comments == 0) GTEST_SKIP() << "no library headers installed";
  EXPECT_GT(flowing, comments / 4);  // most library comments are prose
}

}  // namespace
}  // namespace quillet
