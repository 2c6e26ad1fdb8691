// Classes, enumerations, typedefs, namespaces and extern "C" blocks, checked through the calls the
// recognizer makes.
#include <gtest/gtest.h>

#include "frontend/recognizer/recognizer_fixture.h"

namespace quillet::testing {
namespace {

using Calls = std::vector<std::string>;

class RecognizerClassTest : public RecognizerFixture {};

TEST_F(RecognizerClassTest, ReportsClassHeadsBasesAndAccessLabels) {
  EXPECT_EQ(recognize("// The shape\n"
                      "class Shape : public Base<A, B>, protected virtual Other {\n"
                      " public:\n"
                      "  int x;\n"
                      " private:\n"
                      "};\n"),
            (Calls{"OnComment|The shape\\n|0", "OnClassKey|class", "OnClassBegin", "OnClassName|Shape",
                   "OnAccessLabel|3", "OnBaseClass|1|Base<A, B>", "OnBaseClass|2|virtual Other",
                   "OnClassComment", "OnComment||0", "OnAccessLabel|1", "OnComment||0", "OnDataMember|int|x",
                   "OnFunctionEnd|1", "OnComment||0", "OnAccessLabel|3", "OnClassEnd"}));
  // A comment just inside the body is delivered before the class begins; it documents the class, but as a
  // plain comment it does not displace a documentation block before the class.
  EXPECT_EQ(recognize("struct S { // inside\n};", "OnComment OnClassBegin OnClassComment OnAccessLabel"),
            (Calls{"OnComment|inside\\n|1", "OnClassBegin", "OnClassComment", "OnAccessLabel|1",
                   "OnComment|inside\\n|0"}));
  // A struct's bases are public unless written otherwise, as the language has it.
  EXPECT_EQ(recognize("struct D : B, private C, D<E> {};", "OnBaseClass"),
            (Calls{"OnBaseClass|1|B", "OnBaseClass|3|C", "OnBaseClass|1|D<E>"}));
}

TEST_F(RecognizerClassTest, HandlesForwardDeclarationsNestingQualifiedNamesAndMereUses) {
  EXPECT_EQ(recognize("class A;\nstruct B;\n"), (Calls{"OnClassKey|class", "OnTemplatePrefix|",
                                                       "OnComment||0", "OnClassKey|struct", "OnComment||0"}));
  EXPECT_EQ(recognize("template <class T> class Outer { class Inner { union Deep { }; }; } outer;\n"
                      "class A::B { };",
                      "OnTemplatePrefix OnClassName OnClassEnd OnDataMember"),
            (Calls{"OnTemplatePrefix|template<class T>", "OnClassName|Outer", "OnClassName|Inner",
                   "OnClassName|Deep", "OnClassEnd", "OnClassEnd", "OnClassEnd", "OnDataMember||outer",
                   "OnClassName|A::B", "OnClassEnd"}));
  // Using a class is no definition of it.
  EXPECT_EQ(recognize("struct S s; class X* p; struct T f(int);", "OnClassKey OnDataMember OnFunctionName"),
            (Calls{"OnDataMember|struct S|s", "OnDataMember|class X*|p", "OnFunctionName||f"}));
  // Nor is naming one in a using-declaration, an alias or a friend declaration.
  EXPECT_EQ(recognize("class U {\n"
                      "  using Base::f;\n"
                      "  using T = int;\n"
                      "  using S = struct { int hidden; };\n"
                      "  friend class G;\n"
                      "  friend bool operator==(U a, U b) { return a.x == b.x; }\n"
                      "  int after;\n"
                      "};\n",
                      "OnDataMember OnFunctionName OnClassEnd"),
            (Calls{"OnDataMember|int|after", "OnClassEnd"}));
}

TEST_F(RecognizerClassTest, ReadsModernClassHeads) {
  EXPECT_EQ(recognize("class X final : public B {};\n"
                      "struct Y final {};\n"
                      "class alignas(16) Z {};\n"
                      "class [[deprecated(\"old\")]] W {};\n"
                      "struct __attribute__((packed)) P { int a; } __attribute__((aligned(4)));\n"
                      "class __declspec(dllexport) Q {};\n"
                      "template <> struct hash<int> {};\n"
                      "template <class T> struct hash<T*> : Base {};\n"
                      "class final {};\n",
                      "OnTemplatePrefix OnClassName OnBaseClass OnDataMember OnFunctionName"),
            (Calls{"OnClassName|X", "OnBaseClass|1|B", "OnClassName|Y", "OnClassName|Z", "OnClassName|W",
                   "OnClassName|P", "OnDataMember|int|a", "OnClassName|Q", "OnTemplatePrefix|template<>",
                   "OnClassName|hash<int>", "OnTemplatePrefix|template<class T>", "OnClassName|hash<T*>",
                   "OnBaseClass|1|Base", "OnClassName|final"}));
  // An explicit instantiation declares nothing.
  EXPECT_EQ(recognize("template class std::vector<int>;\nextern template struct X<long>;\nint after;",
                      "OnTemplatePrefix OnClassKey OnDataMember"),
            (Calls{"OnDataMember|int|after"}));
}

TEST_F(RecognizerClassTest, ReportsEnumerationsWithTheirEnumerators) {
  EXPECT_EQ(recognize("enum Color {\n"
                      "  Red = 1,  // the first\n"
                      "  Green = f(1, 2),\n"
                      "  Blue  // the last\n"
                      "};\n"),
            (Calls{"OnEnumBegin", "OnEnumName|Color", "OnEnumerator|Red = 1|the first\\n",
                   "OnEnumerator|Green = f ( 1 , 2 )|", "OnEnumerator|Blue|the last\\n", "OnEnumEnd",
                   "OnComment||0"}));
  // A trailing comma makes no empty enumerator; an unnamed enumeration has no name.
  EXPECT_EQ(recognize("enum { A, B, };"),
            (Calls{"OnEnumBegin", "OnEnumerator|A|", "OnEnumerator|B|", "OnEnumEnd", "OnComment||0"}));
  // A comment on the opening brace comes with the flag of a comment after the declaration.
  EXPECT_EQ(recognize("enum E\n/* doc */ { X };", "OnComment OnEnumName"),
            (Calls{"OnComment|doc \\n|1", "OnEnumName|E", "OnComment||0"}));
  // Scoped and typed enumerations; an opaque declaration or a use declares no enumerators.
  EXPECT_EQ(recognize("enum class E : unsigned { A, B };\n"
                      "enum F : int { C };\n"
                      "enum struct G { D };\n"
                      "enum class Opaque : int;\n"
                      "enum Old v;\n",
                      "OnEnumName OnEnumerator OnDataMember"),
            (Calls{"OnEnumName|E", "OnEnumerator|A|", "OnEnumerator|B|", "OnEnumName|F", "OnEnumerator|C|",
                   "OnEnumName|G", "OnEnumerator|D|", "OnDataMember|Old|v"}));
}

TEST_F(RecognizerClassTest, NamesUnnamedStructsAndEnumerationsAfterTheirTypedef) {
  EXPECT_EQ(recognize("typedef struct { int a; } Anon;"),
            (Calls{"OnTypedefBegin", "OnClassKey|struct", "OnClassBegin", "OnClassComment", "OnAccessLabel|1",
                   "OnComment||0", "OnDataMember|int|a", "OnFunctionEnd|1", "OnClassName|Anon", "OnClassEnd",
                   "OnTypedefDeclared|Anon", "OnTypedefPart|Anon", "OnTypedefBaseEnd", "OnTypedefName|Anon",
                   "OnTypedefEnd"}));
  EXPECT_EQ(recognize("typedef enum { Red = 1, Green } Color;"),
            (Calls{"OnTypedefBegin", "OnEnumBegin", "OnEnumerator|Red = 1|", "OnEnumerator|Green|",
                   "OnEnumName|Color", "OnEnumEnd", "OnTypedefDeclared|Color", "OnTypedefPart|Color",
                   "OnTypedefBaseEnd", "OnTypedefName|Color", "OnTypedefEnd"}));
  EXPECT_EQ(recognize("typedef struct tagX { int b; } X, *PX;",
                      "OnTypedefDeclared OnTypedefPart OnTypedefName OnTypedefNext OnClassName OnTypedefEnd"),
            (Calls{"OnTypedefDeclared|tagX", "OnTypedefPart|tagX", "OnClassName|tagX", "OnTypedefName|X",
                   "OnTypedefNext", "OnTypedefPart|*", "OnTypedefName|PX", "OnTypedefEnd"}));
}

TEST_F(RecognizerClassTest, ReadsTypedefsOfNamesTemplatesAndFunctionPointers) {
  const char* kParts =
      "OnTypedefPart OnTypedefDeclared OnTypedefBaseEnd OnTypedefName OnTypedefNext OnTypedefEnd";
  EXPECT_EQ(
      recognize("typedef unsigned long U, *PU;", kParts),
      (Calls{"OnTypedefPart|unsigned", "OnTypedefPart|long", "OnTypedefDeclared|long", "OnTypedefBaseEnd",
             "OnTypedefName|U", "OnTypedefNext", "OnTypedefPart|*", "OnTypedefName|PU", "OnTypedefEnd"}));
  // The names inside a template argument list are no typedef names.
  EXPECT_EQ(recognize("typedef std::map<Key, Value> Table;", kParts),
            (Calls{"OnTypedefPart|std", "OnTypedefDeclared|std",
                   "OnTypedefPart|::", "OnTypedefDeclared|::", "OnTypedefPart|map", "OnTypedefDeclared|map",
                   "OnTypedefBaseEnd", "OnTypedefPart|<", "OnTypedefPart|Key", "OnTypedefPart|,",
                   "OnTypedefPart|Value", "OnTypedefPart|>", "OnTypedefName|Table", "OnTypedefEnd"}));
  // A function pointer typedef is named by the name in its parentheses.
  EXPECT_EQ(
      recognize("typedef void (*Handler)(int code);\nint after;", kParts + std::string(" OnDataMember")),
      (Calls{"OnTypedefPart|void", "OnTypedefDeclared|void", "OnTypedefBaseEnd", "OnTypedefPart|(",
             "OnTypedefPart|*", "OnTypedefName|Handler", "OnTypedefPart|)", "OnTypedefPart|(",
             "OnTypedefPart|int", "OnTypedefPart|code", "OnTypedefPart|)", "OnTypedefEnd",
             "OnDataMember|int|after"}));
}

TEST_F(RecognizerClassTest, OpensNamespacesAndExternBlocks) {
  EXPECT_EQ(recognize("namespace outer { namespace { void g(); } }\n"
                      "namespace a::b { }\n"
                      "namespace fs = std::filesystem;\n"
                      "namespace std __attribute__((__visibility__(\"default\"))) { }\n"
                      "inline namespace v1 { }\n",
                      "OnNamespaceBegin OnNamespaceEnd OnFunctionName"),
            (Calls{"OnNamespaceBegin|outer", "OnFunctionName||g", "OnNamespaceEnd", "OnNamespaceBegin|a",
                   "OnNamespaceBegin|b", "OnNamespaceEnd", "OnNamespaceEnd", "OnNamespaceBegin|std",
                   "OnNamespaceEnd", "OnNamespaceBegin|v1", "OnNamespaceEnd"}));
  // extern "C" and extern "C++" blocks are transparent, inside a namespace too.
  EXPECT_EQ(recognize("extern \"C\" { int f(void); }\n"
                      "namespace n { extern \"C++\" { struct S {}; } }\n"
                      "extern \"C\" int g();\n"
                      "class After {};",
                      "OnNamespaceBegin OnNamespaceEnd OnFunctionName OnClassName OnClassEnd"),
            (Calls{"OnFunctionName||f", "OnNamespaceBegin|n", "OnClassName|S", "OnClassEnd", "OnNamespaceEnd",
                   "OnFunctionName||g", "OnClassName|After", "OnClassEnd"}));
}

}  // namespace
}  // namespace quillet::testing
