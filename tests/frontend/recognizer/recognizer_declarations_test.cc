// Function and data declarations: the analysis into return type, name, scope, parameters and trailer,
// and into data types and names, checked through the calls the recognizer makes.
#include <gtest/gtest.h>

#include "frontend/recognizer/recognizer_fixture.h"

namespace quillet::testing {
namespace {

using Calls = std::vector<std::string>;

class RecognizerDeclarationTest : public RecognizerFixture {
 protected:
  static constexpr const char* kFunction = "OnReturnType OnFunctionName OnParameter OnFunctionTrailer";
};

TEST_F(RecognizerDeclarationTest, SplitsParametersWithDefaultsAndEllipsis) {
  EXPECT_EQ(recognize("inline int f(int x = 5, const char* name = \"n\", ...);"),
            (Calls{"OnReturnType|int", "OnFunctionName||f", "OnParameter|int|int|x|5|",
                   "OnParameter|const char*|const char*|name|\"n\"|", "OnParameter|...|...|||",
                   "OnFunctionTrailer||", "OnFunctionEnd|1"}));
  // Built-in types of several words stay together; signed and unsigned alone are ints; a lone type has no
  // name; a class key belongs to the type.
  EXPECT_EQ(recognize("void g(unsigned x, long int y, unsigned char c, unsigned, signed* p, std::string,\n"
                      "       struct Node n, struct Node, void);",
                      "OnParameter"),
            (Calls{"OnParameter|unsigned int|unsigned int|x||", "OnParameter|long int|long int|y||",
                   "OnParameter|unsigned char|unsigned char|c||", "OnParameter|unsigned int|unsigned int|||",
                   "OnParameter|signed int*|signed int*|p||", "OnParameter|std::string|std::string|||",
                   "OnParameter|struct Node|struct Node|n||", "OnParameter|struct Node|struct Node|||",
                   "OnParameter|void|void|||"}));
  // Braces and commas inside defaults and templates do not split parameters; defaults keep the source's
  // spacing and quotes.
  EXPECT_EQ(
      recognize("void h(std::map<int, long> m = {}, Pair p = Pair(1, 2), int a[10], void (*cb)(int, char),\n"
                "       const char* s = \"a, b\", Style st = Style ());",
                "OnParameter"),
      (Calls{"OnParameter|std::map<int, long>|std::map<int, long>|m|{}|",
             "OnParameter|Pair|Pair|p|Pair(1, 2)|", "OnParameter|int|int|a[10]||",
             "OnParameter|void (* ) ( int, char )|void (* ) ( int, char )|cb||",
             "OnParameter|const char*|const char*|s|\"a, b\"|", "OnParameter|Style|Style|st|Style ()|"}));
}

TEST_F(RecognizerDeclarationTest, BuildsTheTwoTypeTextsThroughTheTypeNameQueries) {
  RecordingLexer lexer;
  lexer.qualified = {{"Size", "Box::Size"}, {"Item", "Box::Item"}};
  lexer.resolved = {{"Size", "unsigned long"}};
  EXPECT_EQ(recognize("void Box::put(const Item& item, Size count, std::vector<Size> all);", lexer),
            (Calls{"OnReturnType|void", "OnFunctionName|Box|put",
                   "OnParameter|const Box::Item&|const Box::Item&|item||",
                   "OnParameter|unsigned long|Box::Size|count||",
                   "OnParameter|std::vector<unsigned long>|std::vector<Box::Size>|all||",
                   "OnFunctionTrailer||", "OnFunctionEnd|1"}));
}

TEST_F(RecognizerDeclarationTest, TakesParameterCommentsWrittenOnTheirLine) {
  EXPECT_EQ(recognize("void f(int a,      // the first\n"
                      "       int b /* the second */,\n"
                      "       int /* the third */ c,\n"
                      "       // not the fourth's\n"
                      "       int d);",
                      "OnParameter"),
            (Calls{"OnParameter|int|int|a||the first\\n", "OnParameter|int|int|b||the second \\n",
                   "OnParameter|int|int|c||the third \\n", "OnParameter|int|int|d||"}));
}

TEST_F(RecognizerDeclarationTest, ReadsTrailersAndModernFunctionForms) {
  const char* kNames = "OnReturnType OnFunctionName OnFunctionTrailer";
  EXPECT_EQ(
      recognize("class A {\n"
                "  virtual void draw() const = 0;\n"
                "  void f() throw(std::bad_alloc);\n"
                "  void g() const noexcept(true) override;\n"
                "  A(const A&) = delete;\n"
                "};",
                kNames),
      (Calls{"OnReturnType|virtual void", "OnFunctionName||draw", "OnFunctionTrailer|const = 0|",
             "OnReturnType|void", "OnFunctionName||f", "OnFunctionTrailer||throw ( std::bad_alloc )",
             "OnReturnType|void", "OnFunctionName||g", "OnFunctionTrailer|const noexcept ( true ) override|",
             "OnReturnType|", "OnFunctionName||A", "OnFunctionTrailer|= delete|"}));
  EXPECT_EQ(
      recognize("class A {\n"
                "  A() = default;\n"
                "  auto size() const -> std::size_t;\n"
                "  [[nodiscard]] static auto make() -> A final;\n"
                "  void swap(A& a) NOEXCEPT_IF(is_nothrow<A>::value) __attribute__((nonnull(1)));\n"
                "};",
                kNames),
      (Calls{"OnReturnType|", "OnFunctionName||A", "OnFunctionTrailer|= default|", "OnReturnType|std::size_t",
             "OnFunctionName||size", "OnFunctionTrailer|const|", "OnReturnType|static A",
             "OnFunctionName||make", "OnFunctionTrailer|final|", "OnReturnType|void", "OnFunctionName||swap",
             "OnFunctionTrailer|NOEXCEPT_IF ( is_nothrow<A>::value )|"}));
}

TEST_F(RecognizerDeclarationTest, NamesOperatorsDestructorsAndScopedFunctions) {
  EXPECT_EQ(
      recognize("struct V {\n"
                "  bool operator==(const V& o) const;\n"
                "  int operator()(int) ;\n"
                "  operator bool() const;\n"
                "  virtual ~V();\n"
                "};\n"
                "V::operator bool() const { return true; }\n"
                "A::B::~B() {}\n"
                "template <> void Outer<int>::Inner<T>::f<int>(int x) {}\n"
                "std::string ns::C::name() const;\n",
                "OnFunctionName"),
      (Calls{"OnFunctionName||operator==", "OnFunctionName||operator()", "OnFunctionName||operator bool",
             "OnFunctionName||~V", "OnFunctionName|V|operator bool", "OnFunctionName|A::B|~B",
             "OnFunctionName|Outer<int>::Inner<T>|f", "OnFunctionName|ns::C|name"}));
}

TEST_F(RecognizerDeclarationTest, SkipsConstructorInitializersAndCountsTheBody) {
  EXPECT_EQ(
      recognize("class K {\n"
                " public:\n"
                "  K(int v) : v_{v}, w_(v), all_{{1, 2}} { if (v) f(); }\n"
                " private:\n"
                "  int v_;\n"
                "};",
                "OnAccessLabel OnReturnType OnFunctionName OnParameter OnFunctionTrailer OnFunctionEnd OnIf "
                "OnStatement OnBodyEnd OnDataMember OnClassEnd"),
      (Calls{"OnAccessLabel|3", "OnAccessLabel|1", "OnReturnType|", "OnFunctionName||K",
             "OnParameter|int|int|v||", "OnFunctionTrailer||", "OnFunctionEnd|0", "OnIf", "OnStatement",
             "OnBodyEnd", "OnAccessLabel|3", "OnDataMember|int|v_", "OnFunctionEnd|1", "OnClassEnd"}));
}

TEST_F(RecognizerDeclarationTest, ReportsDataMembersWithTheirTypesAndNames) {
  EXPECT_EQ(recognize("struct D {\n"
                      "  char name[16], *next, grid[2][N + 1];\n"
                      "  unsigned bits : 3;\n"
                      "  static const int kMax = 5;\n"
                      "  std::map<int, int*> table, *other;\n"
                      "  int count{0};\n"
                      "  void (*handler)(int);\n"
                      "  alignas(8) char buffer[sizeof(int)];\n"
                      "};",
                      "OnDataMember OnFunctionEnd"),
            (Calls{"OnDataMember|char|name[16]", "OnDataMember|char*|next",
                   "OnDataMember|char|grid[2][N + 1]", "OnFunctionEnd|1", "OnDataMember|unsigned|bits",
                   "OnFunctionEnd|0", "OnDataMember|static const int|kMax", "OnFunctionEnd|1",
                   "OnDataMember|std::map<int, int*>|table", "OnDataMember|std::map<int, int*>*|other",
                   "OnFunctionEnd|1", "OnDataMember|int|count", "OnFunctionEnd|0",
                   "OnDataMember|void (* ) ( int )|handler", "OnFunctionEnd|1",
                   "OnDataMember|char|buffer[sizeof(int)]", "OnFunctionEnd|1"}));
}

TEST_F(RecognizerDeclarationTest, GivesDataMembersTheCommentsBeforeAndAfterThem) {
  EXPECT_EQ(recognize("struct P {\n"
                      "  /// Across.\n"
                      "  int x;  ///< horizontal\n"
                      "  int y;  ///< vertical\n"
                      "  [[no_unique_address]] Empty e;  // after an attribute\n"
                      "};",
                      "OnComment OnDataMember"),
            (Calls{"OnComment|/ Across.\\n|0", "OnComment|/ Across.\\n|0", "OnComment||0",
                   "OnComment|/ Across.\\n /< horizontal\\n|0", "OnDataMember|int|x", "OnComment||0",
                   "OnComment|/< vertical\\n|0", "OnDataMember|int|y", "OnComment||0",
                   "OnComment|after an attribute\\n|0", "OnDataMember|Empty|e"}));
}

TEST_F(RecognizerDeclarationTest, AbandonsUnfinishedDeclarations) {
  // No ";" before the access label: the declaration is dropped and the label still counts.
  EXPECT_EQ(recognize("class Q {\n  int a\n public:\n  int b;\n};", "OnAccessLabel OnDataMember"),
            (Calls{"OnAccessLabel|3", "OnAccessLabel|1", "OnDataMember|int|b"}));
  // The body of a multi-line macro passed through as tokens does not swallow what follows it.
  EXPECT_EQ(recognize("x = y while (0) ((a) + (b))\nnamespace n { int f(); }\ntypedef int T;", kFunction),
            (Calls{"OnReturnType|int", "OnFunctionName||f", "OnFunctionTrailer||"}));
  EXPECT_EQ(recognize("static_assert(sizeof(int) == 4, \"int\");\nint (*broken(;\nint g();", kFunction),
            (Calls{"OnReturnType|int", "OnFunctionName||g", "OnFunctionTrailer||"}));
}

}  // namespace
}  // namespace quillet::testing
