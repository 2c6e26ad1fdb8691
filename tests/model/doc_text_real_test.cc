// Every comment of real library headers (read in place), as the scanner hands it over, processed and
// written in both formats: nothing of the markers is left at the line starts, prose is one line, and the
// RTF groups always balance.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/raw_scanner.h"
#include "model/comment_output.h"
#include "model/doc_text.h"

namespace quillet {
namespace {

const char* const kHeaders[] = {
    "/usr/include/c++/12/bits/stl_vector.h",
    "/usr/include/c++/12/bits/basic_string.h",
    "/usr/include/c++/12/bits/shared_ptr_base.h",
    "/usr/src/googletest/googletest/include/gtest/gtest.h",
};

std::vector<std::string> commentsOf(const std::string& file) {
  FileRawScanner scanner(file);
  std::vector<std::string> comments;
  token_t token;
  do {
    scanner.nextToken(token);
    if (token.comment)
      for (const std::string& text : *token.comment) comments.push_back(text);
  } while (token.kind != T_EOF);
  return comments;
}

// The depth of unescaped RTF braces at the end of `rtf`, or -1 when it ever drops below zero.
int rtfDepth(const std::string& rtf) {
  int depth = 0;
  for (size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') {
      ++i;
    } else if (rtf[i] == '{') {
      ++depth;
    } else if (rtf[i] == '}' && --depth < 0) {
      return -1;
    }
  }
  return depth;
}

bool someLineUnindented(const std::string& text) {
  size_t begin = 0;
  while (begin < text.size()) {
    if (text[begin] != ' ' && text[begin] != '\n') return true;
    const size_t end = text.find('\n', begin);
    if (end == std::string::npos) break;
    begin = end + 1;
  }
  return false;
}

TEST(DocTextRealCommentsTest, LibraryHeaderCommentsComeOutClean) {
  CommentOutput output;
  output.useFixedText("{\\f2 ", "}");
  size_t comments = 0;
  size_t flowing = 0;
  for (const char* header : kHeaders) {
    if (!std::filesystem::exists(header)) continue;
    for (const std::string& raw : commentsOf(header)) {
      ++comments;
      const DocText doc(raw, true, DocText::kDeclarationLevel, header);
      for (const DocParagraph& paragraph : doc.paragraphs()) {
        ASSERT_FALSE(paragraph.text.empty()) << raw;
        if (paragraph.kind == DocParagraph::kFlowing) {
          ++flowing;
          EXPECT_EQ(paragraph.text.find('\n'), std::string::npos) << raw;
          EXPECT_EQ(paragraph.text.find("  "), std::string::npos) << raw;
          EXPECT_NE(paragraph.text.front(), '*') << raw;
        } else {
          EXPECT_EQ(paragraph.text.back(), '\n') << raw;
          EXPECT_TRUE(someLineUnindented(paragraph.text)) << raw;  // the common indentation is gone
        }
      }
      std::ostringstream rtf;
      doc.WriteFull(output.rtf(), "vector", rtf);
      EXPECT_EQ(rtfDepth(rtf.str()), 0) << raw;
      std::ostringstream summary;
      doc.WriteSummary(output.rtf(), "vector", summary);
      EXPECT_EQ(rtfDepth(summary.str()), 0) << raw;
      std::ostringstream html;
      doc.WriteFull(output.html(), "vector", html);
      EXPECT_EQ(html.str().find("<script"), std::string::npos);
    }
  }
  if (comments == 0) GTEST_SKIP() << "no library headers installed";
  EXPECT_GT(flowing, comments / 4);  // most library comments are prose
}

}  // namespace
}  // namespace quillet
