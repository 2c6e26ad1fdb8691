// The parse driver: the statements and decisions reported from function bodies, comment delivery, file
// changes, the token trace, cancellation, and input that must neither crash nor hang.
#include "frontend/recognizer/cpp_lexer.h"

#include <gtest/gtest.h>

#include <string>

#include "frontend/recognizer/null_lexer.h"
#include "frontend/recognizer/recognizer_fixture.h"

namespace quillet::testing {
namespace {

using Calls = std::vector<std::string>;

class CppLexerTest : public RecognizerFixture {};

TEST_F(CppLexerTest, ReportsStatementsAndDecisionsOfBodies) {
  EXPECT_EQ(recognize("void f() { while (x || y) { do x(); while (0); } for (;;) {}\n"
                      "switch (x) { case 1: break; default: break; } }",
                      "OnWhile OnLogicalOperator OnStatement OnFor OnCase OnDefault"),
            (Calls{"OnWhile", "OnLogicalOperator", "OnStatement", "OnWhile", "OnStatement", "OnFor",
                   "OnStatement", "OnStatement", "OnCase", "OnStatement", "OnDefault", "OnStatement"}));
  // A block at file level is skipped the same way, after a separator comment.
  EXPECT_EQ(
      recognize("{ if (a) b(); }\nint after;", "OnComment OnIf OnBodyEnd OnDataMember"),
      (Calls{"OnComment||0", "OnIf", "OnBodyEnd", "OnComment||0", "OnComment||0", "OnDataMember|int|after"}));
}

TEST_F(CppLexerTest, DeliversCommentsBeforeDeclarationsAndAtTheEnd) {
  EXPECT_EQ(recognize("// about f\n"
                      "void f() {\n"
                      "  // inside: never delivered\n"
                      "  g();\n"
                      "}\n"
                      "// the end\n"
                      "/* really */\n"),
            (Calls{"OnComment|about f\\n|0", "OnReturnType|void", "OnFunctionName||f", "OnFunctionTrailer||",
                   "OnFunctionEnd|0", "OnStatement", "OnBodyEnd", "OnComment||0", "OnComment|the end\\n|0",
                   "OnComment|really \\n|0"}));
  // With comments after prototypes, a comment at the opening brace of a body comes flagged.
  options_.commentsAfterPrototype = true;
  EXPECT_EQ(recognize("void f()\n// after\n{ }", "OnComment"),
            (Calls{"OnComment|after\\n|1", "OnComment||0"}));
}

TEST_F(CppLexerTest, ReportsEachChangeOfFile) {
  write("h.h", "int inHeader;\n");
  RecordingLexer lexer;
  options_.verbose = true;
  Preprocessor preprocessor(write("m.cpp", "int before;\n#include \"h.h\"\nint after;\n"), options_, cache_);
  RecordingOutput output;
  setCurrentMessageOutput(&output);
  lexer.Parse(preprocessor);
  setCurrentMessageOutput(&run_.output);
  Calls files;
  for (const std::string& call : lexer.calls)
    if (call.rfind("OnFileBegin|", 0) == 0) files.push_back(call.substr(call.rfind('/') + 1));
  EXPECT_EQ(files, (Calls{"m.cpp", "h.h", "m.cpp"}));
  EXPECT_EQ(output.lines.size(), 0u);  // status lines are not reports
}

TEST_F(CppLexerTest, TracesTokensAndStateChanges) {
  options_.traceTokens = true;
  const std::string header = write("h.h", "class C { int x; };");
  ::testing::internal::CaptureStdout();
  recognize("#include \"h.h\"");
  std::fflush(stdout);
  // Each file read is named with the files that include it.
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "! reading " + root_ + "module.cpp\n! reading " + header + ", included from " + root_ +
                "module.cpp:1\n! class\nCLASS_END\nCLASS_DECL\n! C\n! {\nIN_CLASS\n! int\nVAR_OR_FUNC_DECL\n"
                "! int\n! x\n! ;\nIN_CLASS\n! }\nCLASS_END\n! ;\nEMPTY\n! ;\n");
}

TEST_F(CppLexerTest, StopsWhenTheRunIsCanceled) {
  class CancelingOutput : public RecordingOutput {
   public:
    bool isCanceled() override { return true; }
  } output;
  setCurrentMessageOutput(&output);
  EXPECT_EQ(recognize("class C { int x; };\n// never\n"), Calls{});
  setCurrentMessageOutput(&run_.output);
}

TEST_F(CppLexerTest, FinishesOnHostileInput) {
  const std::string deep(200000, '{');
  const std::string classes = [] {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "class C" + std::to_string(i) + " : B<";
    for (int i = 0; i < 20000; ++i) text += "struct S { enum E { A = (";
    return text;
  }();
  for (const std::string& source :
       {deep, classes, std::string(100000, '(') + ";", "template " + std::string(50000, '<'),
        "typedef " + std::string(30000, '<') + " T;", "int f(" + std::string(30000, ',') + ");",
        "namespace " + std::string(100000, 'a') + " {", "enum class E : " + std::string(200, ':') + " {",
        std::string("class X { int y } } } ; ; ) ) public: ~ ~ operator") + std::string(1000, '}')}) {
    NullLexer lexer;
    Preprocessor preprocessor(write("hostile.cpp", source), {}, {}, cache_);
    lexer.Parse(preprocessor);
  }
  // A declaration far too long to be one is given up, and what follows is still read.
  std::string longDeclaration = "int f(";
  for (int i = 0; i < 70000; ++i) longDeclaration += "a ";
  const Calls calls = recognize(longDeclaration + ");\nclass After {};", "OnClassName");
  EXPECT_EQ(calls, (Calls{"OnClassName|After"}));
}

}  // namespace
}  // namespace quillet::testing
