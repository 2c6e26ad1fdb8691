#include "frontend/preprocessor/raw_scanner.h"
#include "frontend/preprocessor/source_colouring.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "support/scoped_run.h"

namespace quillet {
namespace {

using Kinds = std::vector<int32_t>;

std::vector<token_t> scanAll(RawScanner& scanner) {
  std::vector<token_t> tokens;
  token_t token;
  do {
    scanner.nextToken(token);
    tokens.push_back(token);
  } while (token.kind != T_EOF && tokens.size() < 10000);
  return tokens;
}
std::vector<token_t> scanAll(const std::string& text, uint32_t tab_width = 8) {
  RawScanner scanner(text, tab_width);
  return scanAll(scanner);
}

// The tokens of `text` other than white space and the end.
std::vector<token_t> significant(const std::string& text, uint32_t tab_width = 8) {
  std::vector<token_t> tokens = scanAll(text, tab_width);
  EXPECT_EQ(tokens.back().text, "");
  std::erase_if(tokens, [](const token_t& t) { return t.kind == T_WHITESPACE || t.kind == T_EOF; });
  return tokens;
}

// Expects the significant tokens of `text` to be of `kinds`, with texts that read `texts` when joined by
// spaces (the text itself when not given).
void expectTokens(const std::string& text, const Kinds& kinds, const char* texts = nullptr) {
  SCOPED_TRACE(text);
  Kinds seen;
  std::string joined;
  for (const token_t& token : significant(text)) {
    if (!seen.empty()) joined += ' ';
    seen.push_back(token.kind);
    joined += token.text;
  }
  EXPECT_EQ(seen, kinds);
  EXPECT_EQ(joined, texts ? texts : text);
}

// The significant tokens of `text` as "text@line:column".
std::string placed(const std::string& text, uint32_t tab_width = 8) {
  std::string out;
  for (const token_t& t : significant(text, tab_width))
    out += (out.empty() ? "" : " ") + t.text + "@" + std::to_string(t.line) + ":" + std::to_string(t.column);
  return out;
}

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
  expectTokens(":: == != <= >= && || ## : = ! < >",
               {T_SCOPE, T_EQ, T_NE, T_LE, T_GE, T_ANDAND, T_OROR, T_PASTE, ':', '=', '!', '<', '>'});
  // No other operator has more than one character: an arrow is a minus and a greater-than.
  expectTokens("a->b", {T_IDENTIFIER, '-', '>', T_IDENTIFIER}, "a - > b");
  for (char c : std::string(".-+&,()<>;:*{}[]=!~#\\")) expectTokens(std::string(1, c), {c});
  for (char c : std::string("/%^|?@$`")) expectTokens(std::string(1, c), {T_OTHER});
  EXPECT_EQ(significant("\xC3\xA9")[0].kind, T_OTHER);
}

TEST(RawScannerTest, LooksUpWordsExactly) {
  expectTokens("int __int8 unsigned virtual _declspec extern using namespace register inline",
               {T_TYPE, T_TYPE, T_QUALIFIER, T_QUALIFIER, T_DECLSPEC, T_EXTERN, T_USING, T_NAMESPACE,
                T_REGISTER, T_INLINE});
  expectTokens(
      "struct union public protected private template friend enum typedef",
      {T_CLASS_KEY, T_CLASS_KEY, T_PUBLIC, T_PROTECTED, T_PRIVATE, T_TEMPLATE, T_FRIEND, T_ENUM, T_TYPEDEF});
  expectTokens("while do switch case default for throw",
               {T_WHILE, T_DO, T_SWITCH, T_CASE, T_DEFAULT, T_FOR, T_THROW});
  expectTokens("include if ifdef ifndef elif else endif define undef error line pragma",
               {T_INCLUDE, T_IF, T_IFDEF, T_IFNDEF, T_ELIF, T_ELSE, T_ENDIF, T_DEFINE, T_UNDEF, T_ERROR,
                T_LINE, T_PRAGMA});
  for (const char* word : {"Int", "integer", "_x9", "i"}) EXPECT_EQ(wordKind(word), T_IDENTIFIER) << word;
}

TEST(RawScannerTest, ReadsNumbers) {
  expectTokens("0x1FuL 1.5f 12U 7l 0X1", Kinds(5, T_LITERAL));
  // A leading dot is no part of a number, nor is the sign of an exponent.
  expectTokens(".5 1e+5", {'.', T_LITERAL, T_LITERAL, '+', T_LITERAL}, ". 5 1e + 5");
  // Only a lone 0 takes an x; only one suffix letter follows the optional u.
  expectTokens("10x 1uLL", {T_LITERAL, T_IDENTIFIER, T_LITERAL, T_IDENTIFIER}, "10 x 1uL L");
}

TEST(RawScannerTest, ReadsStringAndCharacterLiterals) {
  expectTokens(R"("a\"b\\c\td" "")", {T_LITERAL, T_LITERAL}, "a\"b\\c\\td ");
  expectTokens("'a' '\\'' '\\n'", Kinds(3, T_LITERAL));
  // An escaped line break continues the literal; an unescaped one ends it and is kept.
  std::vector<token_t> tokens = scanAll("\"ab\\\ncd\" \"ef\ngh");
  EXPECT_EQ(tokens[1].text, "ab\ncd");
  EXPECT_EQ(tokens[1].line, 2u);
  EXPECT_EQ(tokens[3].text, "ef\n");
  EXPECT_EQ(tokens[3].line, 3u);
  EXPECT_EQ(tokens[4].text, "gh");
  // The end of the input ends a literal quietly; a lone apostrophe ends at the line break.
  expectTokens("\"abc", {T_LITERAL}, "abc");
  expectTokens("'ab", {T_LITERAL});
  expectTokens("don't\nint x;", {T_IDENTIFIER, T_LITERAL, T_TYPE, T_IDENTIFIER, ';'}, "don 't\n int x ;");
}

TEST(RawScannerTest, NamesOperatorFunctions) {
  const std::pair<const char*, const char*> cases[] = {{"operator  +  (", "operator+"},
                                                       {"operator()(int)", "operator()"},
                                                       {"operator==(", "operator=="},
                                                       {"operator new[](", "operator new[]"},
                                                       {"operator int &(", "operator int&"},
                                                       {"operator\tconst  char *(", "operator const char*"},
                                                       {"operator /* the sum */ + (", "operator+"}};
  for (const auto& [source, name] : cases) {
    const token_t first = significant(source)[0];
    EXPECT_EQ(first.kind, T_IDENTIFIER) << source;
    EXPECT_EQ(first.text, name) << source;
  }
  // A using-declaration ends the name at the semicolon instead of at the next parenthesis.
  expectTokens(
      "using B::operator=; void f(int);",
      {T_USING, T_IDENTIFIER, T_SCOPE, T_IDENTIFIER, ';', T_TYPE, T_IDENTIFIER, '(', T_TYPE, ')', ';'},
      "using B :: operator= ; void f ( int ) ;");
  // So does the end of the line: the last line of a macro definition leaves the next line alone.
  expectTokens("#define E using ::n::operator^= \\\n  x\nnamespace n {",
               {'#', T_DEFINE, T_IDENTIFIER, T_USING, T_SCOPE, T_IDENTIFIER, T_SCOPE, T_IDENTIFIER, '\\',
                T_IDENTIFIER, T_NAMESPACE, T_IDENTIFIER, '{'},
               "# define E using :: n :: operator^= \\ x namespace n {");
}

TEST(RawScannerTest, CountsLinesAndColumnsWithTabStops) {
  EXPECT_EQ(placed("ab  cd\n  ef\n"), "ab@1:0 cd@1:4 ef@2:2");
  EXPECT_EQ(scanAll("ab  cd\n  ef\n").back().line, 3u);
  // A tab moves to the next stop after one column; a word before it reads it once, not twice.
  EXPECT_EQ(placed("abc\tx", 4), "abc@1:0 x@1:8");
  // A width of 0 reads as 8.
  EXPECT_EQ(placed("\tx int\ty", 0), "x@1:8 int@1:10 y@1:16");

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
}

TEST(RawScannerTest, AttachesBlockCommentsToTheNextToken) {
  std::vector<token_t> tokens = scanAll("a/*x*/b");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_FALSE(tokens[1].comment);
  EXPECT_EQ(tokens[2].text, "b");
  EXPECT_EQ(*tokens[2].comment, (CommentBlock{" x\n"}));
  EXPECT_EQ(tokens[2].commentLine, 1u);
  // A comment at the start of a line keeps two spaces; a run of stars is text, its last star may close.
  EXPECT_EQ(*scanAll("/** doc **/x")[1].comment, (CommentBlock{"  * doc *\n"}));
  EXPECT_EQ(*scanAll("/* a ** b ***/x")[1].comment, (CommentBlock{"   a ** b **\n"}));
  // A comment that runs to the end of the input is ended quietly and rides on the end token.
  tokens = scanAll("x /* open");
  EXPECT_EQ(tokens.back().kind, T_EOF);
  EXPECT_EQ(*tokens.back().comment, (CommentBlock{"   open\n"}));
  // Lines inside a comment are counted.
  tokens = scanAll("/*\n\n*/x");
  EXPECT_EQ(tokens[1].line, 3u);
  EXPECT_EQ(tokens[1].commentLine, 1u);
}

TEST(RawScannerTest, MergesCommentsAcrossOneLineBreakOnly) {
  std::vector<token_t> tokens = scanAll("/* a */\n/* b */ x");
  EXPECT_EQ(tokens[1].kind, T_WHITESPACE);  // " " with the merged block, then "x"
  EXPECT_EQ(*tokens[1].comment, (CommentBlock{"   a \n   b \n"}));
  EXPECT_EQ(tokens[1].line, 2u);
  tokens = scanAll("// one\n   // two\nx");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[1].text, "\n");  // the comment is followed by a line break
  EXPECT_EQ(*tokens[1].comment, (CommentBlock{"   one\n      two\n"}));
  EXPECT_EQ(tokens[1].commentLine, 1u);
  EXPECT_EQ(tokens[2].line, 3u);

  // A blank line between them makes two blocks: the first rides on the white space holding the blank
  // line, the second on the token after it.
  for (const auto& [source, line] : {std::pair{"/* a*/\n\n/* b*/x", 3u}, {"// a\n\n// b\nx", 4u}}) {
    tokens = scanAll(source);
    EXPECT_EQ(tokens[1].text, "\n\n") << source;
    EXPECT_EQ(*tokens[1].comment, (CommentBlock{"   a\n"})) << source;
    EXPECT_EQ(*tokens[2].comment, (CommentBlock{"   b\n"})) << source;
    EXPECT_EQ(tokens[2].commentLine, 3u) << source;
    EXPECT_EQ(significant(source)[0].line, line) << source;
  }
  // A comment on the last line, without a line break, still ends with one.
  tokens = scanAll("x // end");
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

TEST(RawScannerTest, ReadsAFileWithEitherLineEndAndReportsOneThatCannotBeOpened) {
  const std::string path = ::testing::TempDir() + "raw_scanner_test.h";
  std::ofstream(path, std::ios::binary) << "a\r\n// c\r\nb";
  FileRawScanner scanner(path);
  EXPECT_EQ(scanner.fileName(), path);
  std::vector<token_t> tokens = scanAll(scanner);
  std::remove(path.c_str());
  ASSERT_EQ(tokens.size(), 6u);
  EXPECT_EQ(tokens[2].text, "\n");
  EXPECT_EQ(*tokens[3].comment, (CommentBlock{"   c\n"}));
  EXPECT_EQ(tokens[4].text, "b");
  EXPECT_EQ(tokens[4].line, 3u);

  testing::ScopedRun run;
  FileRawScanner missing(path + ".missing");
  tokens = scanAll(missing);
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[0].kind, T_WHITESPACE);
  token_t token;
  missing.nextToken(token);
  EXPECT_EQ(token.kind, T_EOF);
  EXPECT_EQ(run.output.lines, (std::vector<std::string>{"error: Could not open file " + path + ".missing"}));
}

TEST(RawScannerTest, SkipsToTheNextDirectiveWithoutMakingTokens) {
  RawScanner scanner("a # b\n/* #no\n */ x \"#no\n 'c' // #no\n  y \\\n#no\n \t/* c */ #yes\nz\n#last");
  ASSERT_TRUE(scanner.skipToDirective(true));
  token_t token;
  scanner.nextToken(token);
  EXPECT_EQ(token.kind, '#');
  EXPECT_EQ(token.line, 7u);                    // the lines passed over are counted
  EXPECT_EQ(token.column, 16u);                 // tab stops counted
  ASSERT_TRUE(scanner.skipToDirective(false));  // the rest of the "#yes" line is passed over
  EXPECT_EQ(scanner.line(), 9u);
  scanner.nextToken(token);
  EXPECT_FALSE(scanner.skipToDirective(false));
  scanner.nextToken(token);
  EXPECT_EQ(token.kind, T_EOF);
}

// The source pages colour what the scanner finds: keywords, type words, literals with their quotes,
// comments between tokens and directive words with their "#"; identifiers and operators stay plain.
TEST(SourceColouringTest, ColoursTokensByKindAtTheirPlaceInTheText) {
  const std::string text = "#include <x.h>\n// note\nstatic int n = 42; const char* s = \"a\\\"b\";\n";
  std::vector<std::string> coloured;
  for (const SourceSpan& span : colourSource(text))
    coloured.push_back(std::to_string(static_cast<int>(span.kind)) + ":" +
                       text.substr(span.begin, span.end - span.begin));
  EXPECT_EQ(coloured, (std::vector<std::string>{"4:#include", "3:// note", "0:static", "1:int", "2:42",
                                                "0:const", "1:char", "2:\"a\\\"b\""}));
  EXPECT_TRUE(colourSource("").empty());
  EXPECT_EQ(colourSource("/* never closed").size(), 1u);
}

}  // namespace
}  // namespace quillet
