#include "frontend/preprocessor/preprocessor.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "frontend/preprocessor/preprocessor_fixture.h"

namespace quillet {
namespace {

class PreprocessorTest : public testing::PreprocessorFixture {
 protected:
  // The tokens of the module `source` up to the end, each followed by the comment it carries and the
  // comment's line: "1[  * doc \n]@2 two <end>".
  std::string commented(const std::string& source) {
    Preprocessor preprocessor(write("module.cpp", source), options_, cache_);
    std::string text;
    for (;;) {
      const token_t& token = preprocessor.nextToken();
      text += (text.empty() ? "" : " ") + (token.kind == T_EOF ? "<end>" : token.text);
      if (token.comment) {
        for (const std::string& part : *token.comment) text += "[" + part + "]";
        text += "@" + std::to_string(token.commentLine);
      }
      if (token.kind == T_EOF) return text;
    }
  }
};

TEST_F(PreprocessorTest, DefinesObjectLikeMacros) {
  EXPECT_EQ(preprocess("#define A 1\nA + A"), "1 + 1");
  // A parenthesis after a space starts the replacement, not a parameter list.
  EXPECT_EQ(preprocess("#define F (x)\nF"), "( x )");
  // The first definition stays in effect until "#undef".
  EXPECT_EQ(preprocess("#define A 1\n#define A 2\nA\n#undef A\n#define A 2\nA"), "1 2");
  EXPECT_EQ(preprocess("#define EMPTY\na EMPTY b"), "a b");
  // Malformed directives are ignored; words that are no directive are delivered.
  EXPECT_EQ(preprocess("#define\n#define 3 4\n#undef\n3"), "3");
  EXPECT_EQ(preprocess("#foo bar\n#\n#define X 1\nX"), "foo bar 1");
  EXPECT_EQ(preprocess("a # b"), "a # b");
}

TEST_F(PreprocessorTest, ContinuesDirectivesAcrossEscapedLineBreaks) {
  EXPECT_EQ(preprocess("#define DECLARE(name) \\\n  class name { \\  \n  };\nDECLARE(Foo)\n"
                       "#if defined(NO) || \\\n    defined(__cplusplus)\nyes\n#endif\n"
                       "#define ONE 1 \\\n\nONE"),
            "class Foo { } ; yes 1");
}

TEST_F(PreprocessorTest, UsesConfiguredAndPredefinedMacros) {
  EXPECT_EQ(preprocess("#ifdef X\nx\n#endif\nY Z\n#if X\nno\n#endif", {}, {"X", "Y=2+3", "Z=a  b"}),
            "x 2 + 3 a b");
  // Without a compiler "__cplusplus" is defined as nothing; the built-in names have stable values.
  EXPECT_EQ(preprocess("#ifdef __cplusplus\nyes\n#endif\n#if __cplusplus\nno\n#endif\n"
                       "__FILE__ __LINE__ __COUNTER__ __COUNTER__ __DATE__ __TIME__ end"),
            "yes " + root_ + "module.cpp 7 0 1 Jan  1 1970 00:00:00 end");
  // A configured value comes first and is not replaced by the predefined empty one.
  EXPECT_EQ(preprocess("__cplusplus", {}, {"__cplusplus=199711"}), "199711");
}

TEST_F(PreprocessorTest, EvaluatesConditions) {
  // Names left after expansion count as 0; "defined" may come from an expansion.
  EXPECT_EQ(preprocess("#if !UNDEFINED && UNDEFINED + 1 == 1\nyes0\n#endif\n"
                       "#if !defined(UNDEFINED)\nyes1\n#endif\n"
                       "#if defined UNDEFINED || 2 > 1\nyes2\n#endif\n"
                       "#define V 3\n#if V * 2 == 6 && defined(V) && (V > 2 ? 1 : 0)\nyes3\n#endif\n"
                       "#define HAS_V defined(V) && !defined W\n#if HAS_V\nyes4\n#endif\n"
                       "#if __cplusplus >= 201103L || 0x7fffffffffffffffL < 0\nno\n#endif\n"
                       "#if 1 / 0\nno\n#endif\n"),
            "yes0 yes1 yes2 yes3 yes4");
  EXPECT_EQ(run_.output.lines, (std::vector<std::string>{"error: division by zero."}));
  // Only a name makes "ifdef" and "ifndef" test anything; a keyword leaves the group active.
  EXPECT_EQ(preprocess("#ifdef const\nk\n#endif\n#ifndef 3\nn\n#endif\n#ifdef\ne\n#endif"), "k n e");
  EXPECT_EQ(preprocess("#define D\n#ifndef D\nno\n#else\nyes\n#endif"), "yes");
  EXPECT_EQ(
      preprocess("#ifdef NO\na\n#elifdef D\nb\n#elifndef NO\nc\n#endif\n#define D\n#if 0\n#elifdef D\nd\n"
                 "#elifdef D\ne\n#endif\n#if 1\nf\n#elifndef NO\ng\n#endif"),
      "c d f");
}

TEST_F(PreprocessorTest, SkipsGroupsAndNestedConditionals) {
  EXPECT_EQ(preprocess("#if 0\n#if 1\na\n#else\nb\n#endif\nc\n#else\nd\n#endif\ne"), "d e");
  EXPECT_EQ(preprocess("#define V 2\n#if V == 1\none\n#elif V == 2\ntwo\n#elif V == 2\nagain\n#else\nother\n"
                       "#endif\nend"),
            "two end");
  EXPECT_EQ(preprocess("#if 1\na\n#elif 1\nb\n#else\nc\n#endif\nd"), "a d");
  EXPECT_EQ(preprocess("#if 0\na\n#elif 0\nb\n#else\nc\n#endif\nd"), "c d");
  // Directives inside a skipped group do nothing, and an "#include" there is not even looked for.
  EXPECT_EQ(preprocess("#ifdef NO\n#define X 1\n#include \"none.h\"\n#error stop\n#endif\nX"), "X");
  EXPECT_TRUE(run_.output.lines.empty());
  // An apostrophe or an open string in a skipped line does not hide the end of the group.
  EXPECT_EQ(preprocess("#if 0\nit's skipped\n#endif\nvisible"), "visible");
  EXPECT_EQ(preprocess("#if 0\n\"open\n#endif\nvisible"), "visible");
  EXPECT_EQ(preprocess("#define S \"open\n#define T 2\nT"), "2");
}

TEST_F(PreprocessorTest, ExpandsFunctionLikeMacros) {
  EXPECT_EQ(preprocess("#define MAX(a, b) ((a) > (b) ? (a) : (b))\nMAX(x, y + 1)"),
            "( ( x ) > ( y + 1 ) ? ( x ) : ( y + 1 ) )");
  // Invocations may span lines; arguments are expanded before they are substituted.
  EXPECT_EQ(preprocess("#define ID(x) x\n#define ONE 1\nID(\nONE\n) ID(ID(ID(7)))"), "1 7");
  EXPECT_EQ(preprocess("#define P(x, y) x|y\nP((a, b), c)"), "( a , b ) | c");
  // A name without "(" is passed through, as is an invocation with the wrong number of arguments; a
  // macro of one parameter may be called with nothing.
  EXPECT_EQ(preprocess("#define F(a) [a]\nF F(1, 2) F() F(3)"), "F F ( 1 , 2 ) [ ] [ 3 ]");
  EXPECT_EQ(preprocess("#define G() g\nG() G(1)"), "g G ( 1 )");
  EXPECT_EQ(preprocess("#define F(a) a\nF(1"), "F ( 1");
}

TEST_F(PreprocessorTest, StringizesAndPastes) {
  Preprocessor preprocessor(write("m.cpp", "#define S(x) #x\nS(a + \"b\")"), {}, {}, cache_);
  const token_t& literal = preprocessor.nextToken();
  EXPECT_EQ(literal.kind, T_LITERAL);
  EXPECT_EQ(literal.flags & kStringLiteral, kStringLiteral);
  EXPECT_EQ(literal.text, "a + \"b\"");

  EXPECT_EQ(preprocess("#define CAT(a, b) a##b\nCAT(foo, bar) CAT(x, 1) CAT(, y)"), "foobar x1 y");
  // An argument next to "##" is not expanded first; others are.
  EXPECT_EQ(preprocess("#define ONE 1\n#define CAT(a, b) a ## b\n#define ID(x) x\nCAT(ONE, 2) ID(ONE)"),
            "ONE2 1");
  EXPECT_EQ(preprocess("#define AB a ## b\nAB"), "ab");
  EXPECT_EQ(preprocess("#define J(a, b) [a ## b]\nJ(, x) J(p q, r s)"), "[ x ] [ p qr s ]");
  // The joined token is read again: its kind is what its text makes it.
  Preprocessor pasted(write("p.cpp", "#define CAT(a, b) a##b\nCAT(x, 1) CAT(1, 2) CAT(str, uct) CAT(=,=)"),
                      {}, {}, cache_);
  for (int32_t kind : {T_IDENTIFIER, T_LITERAL, T_CLASS_KEY, T_EQ}) EXPECT_EQ(pasted.nextToken().kind, kind);
}

TEST_F(PreprocessorTest, DoesNotExpandAMacroInsideItself) {
  EXPECT_EQ(preprocess("#define foo foo + 1\nfoo"), "foo + 1");
  EXPECT_EQ(preprocess("#define A B\n#define B A\nA B"), "A B");
  EXPECT_EQ(preprocess("#define f(x) x f\nf(1)(2)"), "1 f ( 2 )");
  EXPECT_EQ(preprocess("#define f(x) x\n#define g f(g)\ng"), "g");
}

TEST_F(PreprocessorTest, CarriesCommentsOntoExpansionsAndPastDirectives) {
  EXPECT_EQ(commented("#define ONE 1\n/** doc */\nONE two"), "1[  * doc \n]@2 two <end>");
  // An empty replacement hands the comment to the token after it; so does a function-like macro.
  EXPECT_EQ(commented("#define NOTHING\n#define F(a) a\n/* c */ NOTHING x /* d */ F(y)"),
            "x[   c \n]@3 y[                 d \n]@3 <end>");
  // Comments inside a macro's replacement or arguments are kept only when asked for.
  const std::string inside = "#define D /* inner */ int\n#define F(a) a\nD F(/* arg */ y)";
  EXPECT_EQ(commented(inside), "int y <end>");
  options_.macroComments = true;
  EXPECT_EQ(commented(inside), "int[           inner \n]@1 y[     arg \n]@3 <end>");
  // Directives and skipped groups let the comments before them through; comments after the last token
  // ride on the end.
  EXPECT_EQ(commented("/// doc\n#define X 1\n#if 0\n// hidden\n#endif\nint y; // trailing\n#undef X\nlast"),
            "int[  / doc\n]@1 y ; last[          trailing\n]@6 <end>");
  EXPECT_EQ(commented("x\n/* end */"), "x <end>[   end \n]@2");
}

TEST_F(PreprocessorTest, GivesExpansionsThePositionOfTheInvocation) {
  Preprocessor preprocessor(write("m.cpp", "#define TWO 1 + 1\n#define ID(x) x\n\n\nTWO\nID(\nz)"), {}, {},
                            cache_);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(preprocessor.nextToken().line, 5u);
  EXPECT_EQ(preprocessor.nextToken().line, 7u);  // an argument keeps its own line
}

TEST_F(PreprocessorTest, ReportsErrorDirectives) {
  std::string module = write("e.cpp", "#error  This is \"bad\"  \nafter");
  Preprocessor preprocessor(module, {}, {}, cache_);
  EXPECT_EQ(tokensOf(preprocessor).size(), 1u);
  EXPECT_EQ(run_.output.lines, (std::vector<std::string>{"warning: (" + module + ") This is \"bad\""}));
}

TEST_F(PreprocessorTest, ConsumesPragmaOperatorsAndReportsWarnings) {
  EXPECT_EQ(
      preprocess("#define PUSH _Pragma(\"GCC diagnostic push\") int\na _Pragma(\"once\") PUSH b _Pragma c"),
      "a int b _Pragma c");
  std::string module = write("w.cpp", "#warning  keep \"this\"\n#if 0\n#warning no\n#endif\n");
  Preprocessor preprocessor(module, {}, {}, cache_);
  tokensOf(preprocessor);
  EXPECT_EQ(run_.output.lines, (std::vector<std::string>{"warning: (" + module + ") keep \"this\""}));
}

TEST_F(PreprocessorTest, AnswersConditionOperatorsFromTheCompiler) {
  write("inc/a.h", "");
  const std::string source =
      "#if __has_include(<a.h>) && __has_include(\"a.h\") && !__has_include(<none.h>)\ninc\n#endif\n"
      "#define HEADER <a.h>\n#if defined(__has_include) && __has_include(HEADER)\nmacro\n#endif\n"
      "#if __has_cpp_attribute(nodiscard) >= 201603L && __has_cpp_attribute(gnu::__always_inline__)\nattr\n"
      "#endif\n#if __has_builtin(__builtin_expect) && !__has_builtin(__nothing)\nbuiltin\n#endif\n"
      "#ifdef __has_feature\nfeature\n#endif\n";
  EXPECT_EQ(preprocess(source, {root_ + "inc"}), "inc macro");
  auto features = std::make_shared<std::map<std::string, int64_t, std::less<>>>();
  *features = {{"__has_cpp_attribute", 1},
               {"__has_cpp_attribute nodiscard", 201907},
               {"__has_cpp_attribute gnu::always_inline", 1},
               {"__has_builtin", 1},
               {"__has_builtin __builtin_expect", 1}};
  options_.compilerFeatures = features;
  options_.compilerMacros = {"__GNUC__ 12", "__INT64_C(c) c ## L", "__cplusplus 201703L"};
  EXPECT_EQ(preprocess(source + "__GNUC__ __INT64_C(5)\n#if __cplusplus >= 201103L\ncxx11\n#endif",
                       {root_ + "inc"}, {"__GNUC__=4"}),
            "inc macro attr builtin 4 5L cxx11");  // configured defines win over the compiler's
}

TEST_F(PreprocessorTest, WarnsOfAMalformedVaOpt) {
  EXPECT_EQ(preprocess("#define F(...) a __VA_OPT__ b\n\nF(1) F()"), "a __VA_OPT__ b a __VA_OPT__ b");
  ASSERT_EQ(run_.output.lines.size(), 1u);
  EXPECT_EQ(run_.output.lines[0],
            "warning: (" + root_ +
                "module.cpp:3) __VA_OPT__ in macro F is not followed by a parenthesized "
                "list; it is kept as a name.");
}

TEST_F(PreprocessorTest, BacksUpThroughABoundedHistory) {
  std::string source;
  for (int i = 0; i < 100; ++i) source += "t" + std::to_string(i) + " ";
  Preprocessor preprocessor(write("h.cpp", source), {}, {}, cache_);
  EXPECT_EQ(preprocessor.backUp().kind, T_EOF);  // nothing delivered yet
  EXPECT_EQ(preprocessor.peek().text, "t0");
  EXPECT_EQ(preprocessor.nextToken().text, "t0");
  EXPECT_EQ(preprocessor.backUp().text, "t0");  // the first token is as far back as it goes
  EXPECT_EQ(preprocessor.nextToken().text, "t1");
  for (int i = 2; i < 50; ++i) preprocessor.nextToken();
  // Sixteen tokens are kept, the current one included.
  for (int i = 48; i >= 34; --i) EXPECT_EQ(preprocessor.backUp().text, "t" + std::to_string(i));
  EXPECT_EQ(preprocessor.backUp().text, "t34");
  EXPECT_EQ(preprocessor.nextToken().text, "t35");
  EXPECT_EQ(preprocessor.peek().text, "t36");
  EXPECT_EQ(preprocessor.nextToken().text, "t36");
  for (int i = 37; i < 100; ++i) preprocessor.nextToken();
  EXPECT_EQ(preprocessor.nextToken().kind, T_EOF);
  EXPECT_EQ(preprocessor.nextToken().kind, T_EOF);
  EXPECT_EQ(preprocessor.backUp().kind, T_EOF);
}

TEST_F(PreprocessorTest, BoundsRunawayExpansions) {
  limits_.expansion.invocationTokens = 10000;
  limits_.expansion.moduleTokens = 100000;
  std::string source = "#define A0 x x\n";
  for (int i = 1; i <= 30; ++i)
    source +=
        "#define A" + std::to_string(i) + " A" + std::to_string(i - 1) + " A" + std::to_string(i - 1) + "\n";
  std::string tokens = preprocess(source + "A30 after");
  EXPECT_LT(tokens.size(), 10000u * 2);  // "x " up to the limit (the names expanded on the way count too)
  EXPECT_EQ(tokens.substr(tokens.size() - 7), "x after");
  EXPECT_EQ(run_.output.lines,
            (std::vector<std::string>{"warning: (" + root_ +
                                      "module.cpp:32) the expansion of macro "
                                      "A30 grows beyond 10000 tokens and was cut short."}));
  // Arguments that double at every level are cut short the same way.
  std::string doubling = "#define D(x) x x\n";
  for (int i = 0; i < 40; ++i) doubling += "D(";
  tokens = preprocess(doubling + "1" + std::string(40, ')') + " end");
  EXPECT_LT(tokens.size(), 10000u * 2);
  EXPECT_EQ(tokens.substr(tokens.size() - 3), "end");
  // Past the module's budget, macros are no longer expanded.
  run_.output.lines.clear();
  tokens = preprocess(source +
                      "A11 A11 A11 A11 A11 A11 A11 A11 A11 A11 A11 A11 A11 A11 A11 A11 A11 A11 A11 A0 end");
  EXPECT_EQ(tokens.substr(tokens.size() - 14), "A11 A11 A0 end");
  ASSERT_EQ(run_.output.lines.size(), 1u);
  EXPECT_NE(run_.output.lines[0].find("more than 100000 tokens came from macro expansions"),
            std::string::npos);
}

TEST_F(PreprocessorTest, BoundsNestedInvocations) {
  std::string deep = "#define ID(x) x\n";
  for (int i = 0; i < 100; ++i) deep += "ID(";
  EXPECT_EQ(preprocess(deep + "1" + std::string(100, ')') + " end"), "1 end");
  // Past the nesting bound an argument is substituted as written; rescanned inside the expansion of its
  // own macro, the names in it are no longer expanded.
  limits_.expansion.nesting = 10;
  std::string kept;
  std::string closing;
  for (int i = 0; i < 89; ++i) kept += "ID ( ", closing += " )";
  EXPECT_EQ(preprocess(deep + "1" + std::string(100, ')') + " end"), kept + "1" + closing + " end");
  EXPECT_EQ(run_.output.lines,
            (std::vector<std::string>{"warning: (" + root_ +
                                      "module.cpp:2) the arguments of macro ID nest more than 10 invocations "
                                      "deep; the deeper ones are used as written."}));
  // Far deeper, the work of copying each argument again at every level runs out of budget; the module
  // still goes on.
  limits_ = PreprocessorLimits();
  run_.output.lines.clear();
  std::string deeper = "#define ID(x) x\n";
  for (int i = 0; i < 20000; ++i) deeper += "ID(";
  EXPECT_EQ(preprocess(deeper + "1" + std::string(20000, ')') + " end"), "end");
  ASSERT_EQ(run_.output.lines.size(), 1u);
  EXPECT_NE(run_.output.lines[0].find("the expansion of macro ID grows beyond"), std::string::npos);
}

}  // namespace
}  // namespace quillet
