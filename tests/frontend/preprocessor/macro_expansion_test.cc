// Macro expansion against the language's own worked examples and against the system compiler: each case is
// preprocessed here and by "g++ -E -P", and the two token streams are compared with white space
// normalised (both texts go through the same scanner, so they are compared token by token).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "frontend/preprocessor/macro_expander.h"
#include "frontend/preprocessor/preprocessor_fixture.h"
#include "frontend/preprocessor/raw_scanner.h"

namespace quillet {
namespace {

// The tokens of `text` as the scanner reads them, spelled as written and separated by one space.
std::string normalised(const std::string& text) {
  RawScanner scanner(text);
  std::string out;
  token_t token;
  for (scanner.nextToken(token); token.kind != T_EOF; scanner.nextToken(token)) {
    if (token.kind == T_WHITESPACE) continue;
    if (!out.empty()) out += ' ';
    out += spellingOf(token);
  }
  return out;
}

// What "g++ -E -P" makes of `source`; empty when the compiler cannot be run.
std::string compilerOutput(const std::string& file) {
  std::string output;
  FILE* pipe = popen(("g++ -E -P -x c++ - < '" + file + "' 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  if (pclose(pipe) != 0) output.clear();
  return output;
}

class MacroExpansionTest : public testing::PreprocessorFixture {
 protected:
  // The module `source` preprocessed here, spelled as written, one space between tokens.
  std::string spelled(const std::string& source) {
    Preprocessor preprocessor(write("module.cpp", source), options_, cache_);
    std::string out;
    for (const token_t& token : tokensOf(preprocessor)) {
      if (!out.empty()) out += ' ';
      out += spellingOf(token);
    }
    return out;
  }
};

TEST_F(MacroExpansionTest, FollowsTheExamplesOfTheLanguage) {
  // Rescanning, the marking of names that would recurse, empty arguments and pasting.
  const std::string rescan =
      "#define x 3\n#define f(a) f(x * (a))\n#undef x\n#define x 2\n#define g f\n#define z z[0]\n"
      "#define h g(~\n#define m(a) a(w)\n#define w 0,1\n#define t(a) a\n#define p() int\n#define q(x) x\n"
      "#define r(x,y) x ## y\n#define str(x) # x\n"
      "f(y+1) + f(f(z)) % t(t(g)(0) + t)(1);\ng(x+(3,4)-w) | h 5) & m\n (f)^m(m);\n"
      "p() i[q()] = { q(1), r(2,3), r(4,), r(,5), r(,) };\nchar c[2][6] = { str(hello), str() };\n";
  EXPECT_EQ(spelled(rescan), normalised("f(2 * (y+1)) + f(2 * (f(2 * (z[0])))) % f(2 * (0)) + t(1);"
                                        "f(2 * (2+(3,4)-0,1)) | f(2 * (~ 5)) & f(2 * (0,1))^m(0,1);"
                                        "int i[] = { 1, 23, 4, 5, }; char c[2][6] = { \"hello\", \"\" };"));
  // Stringizing and pasting.
  const std::string concat =
      "#define str(s) # s\n#define xstr(s) str(s)\n"
      "#define debug(s, t) printf(\"x\" # s \"= %d, x\" # t \"= %s\", \\\n x ## s, x ## t)\n"
      "#define INCFILE(n) vers ## n\n#define glue(a, b) a ## b\n#define xglue(a, b) glue(a, b)\n"
      "#define HIGHLOW \"hello\"\n#define LOW LOW \", world\"\n"
      "debug(1, 2);\nfputs(str(strncmp(\"abc\\0d\", \"abc\", '\\4') // this goes away\n"
      "    == 0) str(: @\\n), s);\nxstr(INCFILE(2).h)\nglue(HIGH, LOW);\nxglue(HIGH, LOW)\n"
      "#define hash_hash # ## #\n#define mkstr(a) # a\n#define in_between(a) mkstr(a)\n"
      "#define join(c, d) in_between(c hash_hash d)\nchar p[] = join(x, y);\n"
      "#define t(x,y,z) x ## y ## z\n"
      "int j[] = { t(1,2,3), t(,4,5), t(6,,7), t(8,9,), t(10,,), t(,11,), t(,,12), t(,,) };\n";
  EXPECT_EQ(spelled(concat),
            normalised("printf(\"x\" \"1\" \"= %d, x\" \"2\" \"= %s\", x1, x2);"
                       "fputs(\"strncmp(\\\"abc\\\\0d\\\", \\\"abc\\\", '\\\\4') == 0\" \": @\\n\", s);"
                       "\"vers2.h\" \"hello\"; \"hello\" \", world\" char p[] = \"x ## y\";"
                       "int j[] = { 123, 45, 67, 89, 10, 11, 12, };"));
  // Variable arguments and __VA_OPT__.
  const std::string subst =
      "#define LPAREN() (\n#define G(Q) 42\n#define F(R, X, ...) __VA_OPT__(G R X) )\n"
      "int x = F(LPAREN(), 0, <:-);\n#undef F\n#undef G\n"
      "#define debug(...) fprintf(stderr, __VA_ARGS__)\n#define showlist(...) puts(#__VA_ARGS__)\n"
      "#define report(test, ...) ((test) ? puts(#test) : printf(__VA_ARGS__))\n"
      "debug(\"Flag\");\ndebug(\"X = %d\\n\", x);\nshowlist(The first, second, and third items.);\n"
      "report(x>y, \"x is %d but y is %d\", x, y);\n"
      "#define F(...) f(0 __VA_OPT__(,) __VA_ARGS__)\n#define G(X, ...) f(0, X __VA_OPT__(,) __VA_ARGS__)\n"
      "#define SDEF(sname, ...) S sname __VA_OPT__(= { __VA_ARGS__ })\n#define EMP\n"
      "F(a, b, c) F() F(EMP) G(a, b, c) G(a, ) G(a) SDEF(foo); SDEF(bar, 1, 2);\n"
      "#define H2(X, Y, ...) __VA_OPT__(X ## Y,) __VA_ARGS__\nH2(a, b, c, d)\n"
      "#define H3(X, ...) #__VA_OPT__(X##X X##X)\nH3(, 0)\n"
      "#define H4(X, ...) __VA_OPT__(a X ## X) ## b\nH4(, 1)\n"
      "#define H5A(...) __VA_OPT__()/**/__VA_OPT__()\n#define H5B(X) a ## X ## b\n#define H5C(X) H5B(X)\n"
      "H5C(H5A())\n";
  EXPECT_EQ(spelled(subst), normalised("int x = 42;"
                                       "fprintf(stderr, \"Flag\"); fprintf(stderr, \"X = %d\\n\", x);"
                                       "puts(\"The first, second, and third items.\");"
                                       "((x>y) ? puts(\"x>y\") : printf(\"x is %d but y is %d\", x, y));"
                                       "f(0, a, b, c) f(0) f(0) f(0, a, b, c) f(0, a) f(0, a) S foo;"
                                       "S bar = { 1, 2 }; ab, c, d \"\" a b ab"));
}

TEST_F(MacroExpansionTest, AgreesWithTheCompiler) {
  const std::vector<std::string> cases = {
      // Pasting with arguments that expand to nothing, as library namespaces are built.
      "#define TAG\n#define CAT_EX(a,b) json_abi##a##b\n#define CAT(a,b) CAT_EX(a,b)\nCAT(TAG, TAG)",
      "#define V3(a,b,c) _v ## a ## _ ## b ## _ ## c\n#define V(a,b,c) V3(a,b,c)\n#define M 3\nV(M,11,2)",
      "#define J(a,b) a##b\n#define AB done\nJ(A,B) J(1,2) J(x,1) J(<,<) J(-,>) J(,) J(L, \"s\")",
      "#define C3(a,b,c) a##b##c\nC3(,,) C3(x,,) C3(,y,) C3(,,z)",
      // Variable arguments.
      "#define F(...) f(__VA_ARGS__)\nF() F(1) F(1, 2) F((a, b), c)",
      "#define G(x, ...) g(x, ##__VA_ARGS__)\n#define ONE 1\nG(1) G(1,) G(1, ONE, 3)",
      "#define E(...) e(a, ##__VA_ARGS__)\nE() E(1)",
      "#define H(x, ...) h(x __VA_OPT__(,) __VA_ARGS__)\n#define EMPTY\nH(1) H(1,2) H(1, EMPTY)",
      "#define V(args...) v(args)\nV() V(1,2)",
      "#define N(a, ...) #__VA_ARGS__ a\nN(1) N(1, x, y)",
      // Stringizing: spacing and escapes.
      "#define S(x) #x\nS( a  +  b ) S(a+b) S(\"q\\\"uote\" 'c' '\\n') S() S(  ) S(a\n  b)",
      "#define S(x) #x\n#define X(x) S(x)\n#define ONE 1 + 1\n#define F(x) <x>\nX(ONE) X(F(2)) X( F ( 3 ) )",
      // Arguments: empty ones, nested parentheses, a macro of one parameter called with nothing.
      "#define E(a,b) [a|b]\nE(,) E(1,) E(,2) E((1,2),3)",
      "#define ONE(x) <x>\nONE() ONE( ) ONE(())",
      // Marking names that would recurse, and rescanning with what follows.
      "#define foo foo bar\n#define id(x) x\nid(foo) id(id(foo))",
      "#define A B\n#define B A\nA B",
      "#define f(x) x f\nf(1)(2)(3)",
      "#define obj(x) x\n#define fun obj\nfun(1) fun (2)",
      "#define EMPTY\n#define F(x) <x>\nF EMPTY (1)",
      "#define lparen (\n#define F(x) [x]\n#define K F lparen 1 )\nK",
      "#define t(a) a\n#define g f\n#define f(a) f(x * (a))\nt(t(g)(0) + t)(1)",
      "#define AA BB\n#define BB(x) AA x\nBB(1)(2) AA(3)",
      "#define str(x) #x\n#define xstr(x) str(x)\n#define INC(x) vers ## x\nxstr(INC(2).h)",
      "#define CAT(a, b) a ## b\n#define XCAT(a, b) CAT(a, b)\n#define P pre\nCAT(P, 1) XCAT(P, 1)",
  };
  for (const std::string& source : cases) {
    const std::string file = write("case.cpp", source + "\n");
    const std::string expected = compilerOutput(file);
    if (expected.empty()) GTEST_SKIP() << "g++ cannot be run";
    EXPECT_EQ(spelled(source), normalised(expected)) << source;
  }
}

}  // namespace
}  // namespace quillet
