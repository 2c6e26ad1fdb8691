#include "frontend/raw_scanner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "frontend/test_support.h"

namespace quillet {
namespace {

std::vector<token_t> scanAll(const std::string& text) {
  RawScanner scanner(text);
  std::vector<token_t> tokens;
  token_t token;
  do {
    scanner.nextToken(token);
    tokens.push_back(token);
  } while (token.kind != T_EOF && tokens.size() < 10000);
  return tokens;
}

// The tokens other than white space, as (kind, text) pairs.
std::vector<std::pair<int32_t, std::string>> significant(const std::string& text) {
  std::vector<std::pair<int32_t, std::string>> out;
  for (const token_t& t : scanAll(text))
    if (t.kind != T_WHITESPACE) out.emplace_back(t.kind, t.text);
  return out;
}

using Pairs = std::vector<std::pair<int32_t, std::string>>;

TEST(RawScannerTest, EmptyInputIsOneLineBreakThenEnd) {
  std::vector<token_t> tokens = scanAll("");
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[0].kind, T_WHITESPACE);
  EXPECT_EQ(tokens[0].text, "\n");
  EXPECT_EQ(tokens[0].line, 1u);
  EXPECT_EQ(tokens[1].kind, T_EOF);
  EXPECT_EQ(tokens[1].text, "");
}

TEST(RawScannerTest, ClassifiesOperatorsAndSingleCharacters) {
  EXPECT_EQ(significant(":: == != <= >= && || ## : = ! < >"), (Pairs{{T_SCOPE, "::"},
                                                                     {T_EQ, "=="},
                                                                     {T_NE, "!="},
                                                                     {T_LE, "<="},
                                                                     {T_GE, ">="},
                                                                     {T_ANDAND, "&&"},
                                                                     {T_OROR, "||"},
                                                                     {T_PASTE, "##"},
                                                                     {':', ":"},
                                                                     {'=', "="},
                                                                     {'!', "!"},
                                                                     {'<', "<"},
                                                                     {'>', ">"},
                                                                     {T_EOF, ""}}));
  // No other operator has more than one character: an arrow is a minus and a greater-than.
  EXPECT_EQ(significant("a->b"),
            (Pairs{{T_IDENTIFIER, "a"}, {'-', "-"}, {'>', ">"}, {T_IDENTIFIER, "b"}, {T_EOF, ""}}));
  std::string singles = ".-+&,()<>;:*{}[]=!~#\\";
  for (char c : singles) {
    auto tokens = significant(std::string(1, c));
    ASSERT_EQ(tokens.size(), 2u) << c;
    EXPECT_EQ(tokens[0].first, static_cast<int32_t>(c));
  }
  for (char c : std::string("/%^|?@$`")) {
    auto tokens = significant(std::string(1, c));
    EXPECT_EQ(tokens[0], (std::pair<int32_t, std::string>{T_OTHER, std::string(1, c)}));
  }
  EXPECT_EQ(significant("\xC3\xA9")[0].first, T_OTHER);
}

TEST(RawScannerTest, LooksUpWordsExactly) {
  EXPECT_EQ(significant("int __int8 unsigned virtual _declspec extern using namespace register inline"),
            (Pairs{{T_TYPE, "int"},
                   {T_TYPE, "__int8"},
                   {T_QUALIFIER, "unsigned"},
                   {T_QUALIFIER, "virtual"},
                   {T_DECLSPEC, "_declspec"},
                   {T_EXTERN, "extern"},
                   {T_USING, "using"},
                   {T_NAMESPACE, "namespace"},
                   {T_REGISTER, "register"},
                   {T_INLINE, "inline"},
                   {T_EOF, ""}}));
  EXPECT_EQ(significant("struct union public protected private template friend enum typedef")[1].first,
            T_CLASS_KEY);
  EXPECT_EQ(significant("while do switch case default for throw"), (Pairs{{T_WHILE, "while"},
                                                                          {T_DO, "do"},
                                                                          {T_SWITCH, "switch"},
                                                                          {T_CASE, "case"},
                                                                          {T_DEFAULT, "default"},
                                                                          {T_FOR, "for"},
                                                                          {T_THROW, "throw"},
                                                                          {T_EOF, ""}}));
  EXPECT_EQ(significant("include if ifdef ifndef elif else endif define undef error line pragma"),
            (Pairs{{T_INCLUDE, "include"},
                   {T_IF, "if"},
                   {T_IFDEF, "ifdef"},
                   {T_IFNDEF, "ifndef"},
                   {T_ELIF, "elif"},
                   {T_ELSE, "else"},
                   {T_ENDIF, "endif"},
                   {T_DEFINE, "define"},
                   {T_UNDEF, "undef"},
                   {T_ERROR, "error"},
                   {T_LINE, "line"},
                   {T_PRAGMA, "pragma"},
                   {T_EOF, ""}}));
  EXPECT_EQ(wordKind("Int"), T_IDENTIFIER);
  EXPECT_EQ(wordKind("integer"), T_IDENTIFIER);
  EXPECT_EQ(wordKind("_x9"), T_IDENTIFIER);
  EXPECT_EQ(wordKind("i"), T_IDENTIFIER);
}

TEST(RawScannerTest, ReadsNumbers) {
  EXPECT_EQ(significant("0x1FuL 1.5f 12U 7l 0X1"), (Pairs{{T_LITERAL, "0x1FuL"},
                                                          {T_LITERAL, "1.5f"},
                                                          {T_LITERAL, "12U"},
                                                          {T_LITERAL, "7l"},
                                                          {T_LITERAL, "0X1"},
                                                          {T_EOF, ""}}));
  EXPECT_EQ(significant(".5"), (Pairs{{'.', "."}, {T_LITERAL, "5"}, {T_EOF, ""}}));
  // Exponent signs are not part of a number.
  EXPECT_EQ(significant("1e+5"), (Pairs{{T_LITERAL, "1e"}, {'+', "+"}, {T_LITERAL, "5"}, {T_EOF, ""}}));
  // Only a lone 0 takes an x; only one suffix letter follows the optional u.
  EXPECT_EQ(
      significant("10x 1uLL"),
      (Pairs{{T_LITERAL, "10"}, {T_IDENTIFIER, "x"}, {T_LITERAL, "1uL"}, {T_IDENTIFIER, "L"}, {T_EOF, ""}}));
}

TEST(RawScannerTest, ReadsStringAndCharacterLiterals) {
  EXPECT_EQ(significant(R"("a\"b\\c\td" "")"),
            (Pairs{{T_LITERAL, "a\"b\\c\\td"}, {T_LITERAL, ""}, {T_EOF, ""}}));
  // An escaped line break continues the literal; an unescaped one ends it and is kept.
  std::vector<token_t> tokens = scanAll("\"ab\\\ncd\" \"ef\ngh");
  EXPECT_EQ(tokens[1].text, "ab\ncd");
  EXPECT_EQ(tokens[1].line, 2u);
  EXPECT_EQ(tokens[3].text, "ef\n");
  EXPECT_EQ(tokens[3].line, 3u);
  EXPECT_EQ(tokens[4].text, "gh");
  EXPECT_EQ(significant("'a' '\\'' '\\n'"),
            (Pairs{{T_LITERAL, "'a'"}, {T_LITERAL, "'\\''"}, {T_LITERAL, "'\\n'"}, {T_EOF, ""}}));
  // The end of the input ends a literal quietly.
  EXPECT_EQ(significant("\"abc"), (Pairs{{T_LITERAL, "abc"}, {T_EOF, ""}}));
  EXPECT_EQ(significant("'ab"), (Pairs{{T_LITERAL, "'ab"}, {T_EOF, ""}}));
}

TEST(RawScannerTest, LoneApostropheEndsAtTheLineBreak) {
  EXPECT_EQ(significant("don't\nint x;"), (Pairs{{T_IDENTIFIER, "don"},
                                                 {T_LITERAL, "'t\n"},
                                                 {T_TYPE, "int"},
                                                 {T_IDENTIFIER, "x"},
                                                 {';', ";"},
                                                 {T_EOF, ""}}));
}

TEST(RawScannerTest, NamesOperatorFunctions) {
  EXPECT_EQ(significant("operator  +  (")[0].second, "operator+");
  EXPECT_EQ(significant("operator()(int)")[0].second, "operator()");
  EXPECT_EQ(significant("operator==(")[0].second, "operator==");
  EXPECT_EQ(significant("operator new[](")[0].second, "operator new[]");
  EXPECT_EQ(significant("operator\tconst  char *(")[0].second, "operator const char*");
  EXPECT_EQ(significant("operator /* the sum */ + (")[0].second, "operator+");
  EXPECT_EQ(significant("operator int &(")[0],
            (std::pair<int32_t, std::string>{T_IDENTIFIER, "operator int&"}));
  // A using-declaration ends the name at the semicolon instead of at the next parenthesis.
  EXPECT_EQ(significant("using B::operator=; void f(int);"), (Pairs{{T_USING, "using"},
                                                                    {T_IDENTIFIER, "B"},
                                                                    {T_SCOPE, "::"},
                                                                    {T_IDENTIFIER, "operator="},
                                                                    {';', ";"},
                                                                    {T_TYPE, "void"},
                                                                    {T_IDENTIFIER, "f"},
                                                                    {'(', "("},
                                                                    {T_TYPE, "int"},
                                                                    {')', ")"},
                                                                    {';', ";"},
                                                                    {T_EOF, ""}}));
}

TEST(RawScannerTest, CountsLinesAndColumns) {
  std::vector<token_t> tokens = scanAll("ab  cd\n  ef\n");
  // "\n", "ab", "  ", "cd", "\n  ", "ef", "\n", EOF
  ASSERT_EQ(tokens.size(), 8u);
  EXPECT_EQ(tokens[1].line, 1u);
  EXPECT_EQ(tokens[1].column, 0u);
  EXPECT_EQ(tokens[3].column, 4u);
  EXPECT_EQ(tokens[3].line, 1u);
  EXPECT_EQ(tokens[5].text, "ef");
  EXPECT_EQ(tokens[5].line, 2u);
  EXPECT_EQ(tokens[5].column, 2u);
  EXPECT_EQ(tokens[7].line, 3u);
}

TEST(RawScannerTest, TabsMoveToTheNextStopAfterOneColumn) {
  testing::ScopedRun run;
  run.configuration.setTabSize(4);
  RawScanner scanner("abc\tx");
  token_t token;
  scanner.nextToken(token);  // the initial line break
  scanner.nextToken(token);
  EXPECT_EQ(token.text, "abc");
  scanner.nextToken(token);
  EXPECT_EQ(token.text, "\t");
  EXPECT_EQ(scanner.column(), 8u);  // a tab at column 3 with width 4
  scanner.nextToken(token);
  EXPECT_EQ(token.column, 8u);

  // A stored width of 0 reads as 8; so does running outside a run.
  run.configuration.setTabSize(0);
  std::vector<token_t> tokens = scanAll("\tx");
  EXPECT_EQ(tokens[2].column, 8u);
}

TEST(RawScannerTest, PutBackRestoresLineAndColumn) {
  RawScanner scanner("a\tb\nc");
  token_t token;
  scanner.nextToken(token);
  EXPECT_EQ(scanner.getChar(), 'a');
  EXPECT_EQ(scanner.getChar(), '\t');
  EXPECT_EQ(scanner.column(), 8u);
  scanner.putBackChar();
  EXPECT_EQ(scanner.column(), 1u);
  EXPECT_EQ(scanner.getChar(), '\t');
  EXPECT_EQ(scanner.getChar(), 'b');
  EXPECT_EQ(scanner.getChar(), '\n');
  EXPECT_EQ(scanner.line(), 2u);
  scanner.putBackChar();
  EXPECT_EQ(scanner.line(), 1u);
  EXPECT_EQ(scanner.column(), 9u);
  // A word followed by a tab: the tab is read once for the column, not twice.
  std::vector<token_t> tokens = scanAll("int\tx");
  EXPECT_EQ(tokens[3].text, "x");
  EXPECT_EQ(tokens[3].column, 8u);
}

TEST(RawScannerTest, AttachesBlockCommentToTheNextToken) {
  std::vector<token_t> tokens = scanAll("a/*x*/b");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[1].text, "a");
  EXPECT_FALSE(tokens[1].comment);
  EXPECT_EQ(tokens[2].text, "b");
  ASSERT_TRUE(tokens[2].comment);
  EXPECT_EQ(*tokens[2].comment, (CommentBlock{" x\n"}));
  EXPECT_EQ(tokens[2].commentLine, 1u);
  // A comment at the start of a line keeps two spaces; "**/" closes, and a star before another star is
  // dropped.
  tokens = scanAll("/** doc **/x");
  EXPECT_EQ(*tokens[1].comment, (CommentBlock{"  * doc \n"}));
  // A comment that runs to the end of the input is ended quietly and rides on the end token.
  tokens = scanAll("x /* open");
  EXPECT_EQ(tokens.back().kind, T_EOF);
  EXPECT_EQ(*tokens.back().comment, (CommentBlock{"   open\n"}));
}

TEST(RawScannerTest, MergesBlockCommentsAcrossOneLineBreak) {
  std::vector<token_t> tokens = scanAll("/* a */\n/* b */ x");
  // "\n", " " with the merged block, "x"
  EXPECT_EQ(tokens[1].kind, T_WHITESPACE);
  ASSERT_TRUE(tokens[1].comment);
  EXPECT_EQ(tokens[1].comment->size(), 1u);
  EXPECT_NE(tokens[1].comment->front().find(" a \n"), std::string::npos);
  EXPECT_NE(tokens[1].comment->front().find(" b \n"), std::string::npos);
  EXPECT_EQ(tokens[1].line, 2u);

  tokens = scanAll("/* a */\n\n/* b */x");
  EXPECT_EQ(tokens[1].text, "\n\n");
  EXPECT_EQ(*tokens[1].comment, (CommentBlock{"   a \n"}));
  EXPECT_EQ(tokens[2].text, "x");
  EXPECT_EQ(*tokens[2].comment, (CommentBlock{"   b \n"}));
  EXPECT_EQ(tokens[2].commentLine, 3u);
  // Lines inside a comment are counted.
  tokens = scanAll("/*\n\n*/x");
  EXPECT_EQ(tokens[1].line, 3u);
  EXPECT_EQ(tokens[1].commentLine, 1u);
}

TEST(RawScannerTest, MergesConsecutiveLineComments) {
  std::vector<token_t> tokens = scanAll("// one\n   // two\nx");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[1].kind, T_WHITESPACE);
  EXPECT_EQ(tokens[1].text, "\n");  // the comment is followed by a line break
  EXPECT_EQ(*tokens[1].comment, (CommentBlock{"   one\n      two\n"}));
  EXPECT_EQ(tokens[1].commentLine, 1u);
  EXPECT_EQ(tokens[2].text, "x");
  EXPECT_EQ(tokens[2].line, 3u);

  // A blank line between them makes two blocks: the first rides on the white space holding the blank
  // line, the second on the token after it.
  tokens = scanAll("// one\n\n// two\nx");
  EXPECT_EQ(tokens[1].text, "\n\n");
  EXPECT_EQ(*tokens[1].comment, (CommentBlock{"   one\n"}));
  EXPECT_EQ(tokens[2].text, "\n");
  EXPECT_EQ(*tokens[2].comment, (CommentBlock{"   two\n"}));
  EXPECT_EQ(tokens[2].commentLine, 3u);
  EXPECT_EQ(tokens[3].line, 4u);

  // A comment on the last line, without a line break, still ends with one.
  tokens = scanAll("x // end");
  EXPECT_EQ(tokens[3].kind, T_WHITESPACE);
  EXPECT_EQ(tokens[3].text, "\n");
  EXPECT_EQ(*tokens[3].comment, (CommentBlock{"     end\n"}));
  EXPECT_EQ(tokens[3].line, 2u);
  EXPECT_EQ(tokens[4].kind, T_EOF);
}

TEST(RawScannerTest, SkipsWhiteSpaceAndComments) {
  RawScanner scanner("  /* a */ // b\n  x");
  token_t token;
  scanner.nextToken(token);
  std::string comments;
  scanner.skipWhiteSpaceAndComments(comments);
  EXPECT_EQ(comments, " a \n b\n");
  EXPECT_EQ(scanner.getChar(), 'x');
  EXPECT_EQ(scanner.line(), 2u);
}

class FileRawScannerTest : public ::testing::Test {
 protected:
  void TearDown() override { std::remove(path_.c_str()); }
  std::string write(const std::string& text) {
    std::ofstream(path_, std::ios::binary) << text;
    return path_;
  }
  std::string path_ = ::testing::TempDir() + "raw_scanner_test.h";
};

TEST_F(FileRawScannerTest, ReadsAFileWithEitherLineEnd) {
  FileRawScanner scanner(write("a\r\n// c\r\nb"));
  EXPECT_EQ(scanner.fileName(), path_);
  token_t token;
  std::vector<token_t> tokens;
  do {
    scanner.nextToken(token);
    tokens.push_back(token);
  } while (token.kind != T_EOF);
  ASSERT_EQ(tokens.size(), 6u);
  EXPECT_EQ(tokens[2].text, "\n");
  EXPECT_EQ(*tokens[3].comment, (CommentBlock{"   c\n"}));
  EXPECT_EQ(tokens[4].text, "b");
  EXPECT_EQ(tokens[4].line, 3u);
}

TEST_F(FileRawScannerTest, ReportsAFileThatCannotBeOpened) {
  testing::ScopedRun run;
  FileRawScanner scanner(path_ + ".missing");
  token_t token;
  scanner.nextToken(token);
  EXPECT_EQ(token.kind, T_WHITESPACE);
  scanner.nextToken(token);
  EXPECT_EQ(token.kind, T_EOF);
  scanner.nextToken(token);
  EXPECT_EQ(token.kind, T_EOF);
  EXPECT_EQ(run.output.lines, (std::vector<std::string>{"error: Could not open file " + path_ + ".missing"}));
}

}  // namespace
}  // namespace quillet
