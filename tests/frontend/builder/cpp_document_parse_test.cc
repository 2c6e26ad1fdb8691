#include "frontend/builder/cpp_document_parse.h"

#include <gtest/gtest.h>

#include "frontend/builder/code_store.h"
#include "frontend/preprocessor/preprocessor_fixture.h"

namespace quillet::testing {
namespace {

class CppDocumentParseTest : public PreprocessorFixture {
 protected:
  /// Parses `source` as the module `name` into the store.
  void build(const std::string& source, const std::string& name = "module.cpp") {
    FrontEndOptions options = options_;
    options.includeDirectories = {root_};
    Preprocessor preprocessor(write(name, source), options, cache_);
    CppDocumentParse parser(store_, options);
    parser.Parse(preprocessor);
  }
  const Function* freeFunction(const std::string& name) const {
    for (const Function& function : store_.functions())
      if (function.name == name) return &function;
    return nullptr;
  }
  const Function* member(const std::string& className, const std::string& name, size_t index = 0) {
    const Class* owner = store_.GetClass(className);
    if (!owner) return nullptr;
    for (const Function& function : *owner->functions)
      if (function.name == name && index-- == 0) return &function;
    return nullptr;
  }
  static std::string text(const DocText& comment) {
    std::string joined;
    for (const DocParagraph& paragraph : comment.paragraphs()) joined += paragraph.text;
    return joined;
  }
  const std::vector<std::string>& messages() const { return run_.output.lines; }

  CodeStore store_;
};

TEST_F(CppDocumentParseTest, StoresClassesWithTheirMembersAndNestedClasses) {
  build(R"(
namespace geo {
/// A shape.
template <class T> class Shape : public Base, private virtual Impl {
 public:
  Shape();
  virtual ~Shape();
  static Shape* make(int sides);
  enum Kind { kRound, kSquare = 2 };
  typedef int Size;
 protected:
  Size count;  // How many.
 private:
  void hide() const {}
};
struct Point { int x, y; };
}
)");
  ASSERT_TRUE(messages().empty()) << messages()[0];
  const Class* shape = store_.GetClass("Shape");
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(shape->nameSpace, "geo");
  EXPECT_EQ(shape->templatePrefix, "template<class T>");
  EXPECT_EQ(text(shape->doc), "A shape.");
  ASSERT_EQ(shape->parents.size(), 2u);
  EXPECT_EQ(shape->parents[1].name, "virtual Impl");
  EXPECT_EQ(shape->parents[1].access, kAccessPrivate);

  std::vector<std::string> names;
  for (const Function& function : *shape->functions)
    names.push_back(std::to_string(function.access) + function.name);
  EXPECT_EQ(names, (std::vector<std::string>{"1Shape", "1~Shape", "1make", "3hide"}));
  const Function* make = member("Shape", "make");
  EXPECT_EQ(make->returnType, "static Shape*");
  EXPECT_EQ(make->nameSpace, "geo");
  ASSERT_EQ(make->args.size(), 1u);
  EXPECT_EQ(make->args[0].name, "sides");

  ASSERT_EQ(shape->enums.size(), 1u);
  EXPECT_EQ(shape->enums[0].tags[1].name, "kSquare = 2");
  EXPECT_EQ(shape->enums[0].tags[1].scope, "Shape");
  ASSERT_EQ(shape->dataMembers.size(), 1u);
  EXPECT_EQ(shape->dataMembers[0].type, "Size");
  EXPECT_EQ(shape->dataMembers[0].access, kAccessProtected);
  EXPECT_EQ(text(shape->dataMembers[0].doc), "How many.");
  EXPECT_NE(store_.GetTypedef("Shape::Size"), nullptr);
  EXPECT_TRUE(store_.HasNestedType("Shape::Kind"));
  EXPECT_TRUE(store_.HasNestedType("Shape::Size"));

  const Class* point = store_.GetClass("Point");
  ASSERT_NE(point, nullptr);
  EXPECT_EQ(point->dataMembers.size(), 2u);
  EXPECT_EQ(point->dataMembers[1].access, kAccessPublic);
  EXPECT_TRUE(store_.IsNamespace("geo"));

  // Nested classes take qualified names and the largest access of the classes around them.
  build(R"(
class A {
 protected:
  class B { public: struct Deep { int d; }; Deep make(); };
 public:
  struct Open {};
};
)",
        "nested.cpp");
  ASSERT_NE(store_.GetClass("A::B::Deep"), nullptr);
  EXPECT_EQ(store_.GetClass("A::B::Deep")->access, kAccessProtected);
  EXPECT_EQ(store_.GetClass("A::B")->access, kAccessProtected);
  EXPECT_EQ(store_.GetClass("A::Open")->access, kAccessPublic);
  EXPECT_EQ(store_.GetClass("A::B::Deep")->dataMembers[0].className, "A::B::Deep");
  EXPECT_EQ(member("A::B", "make")->className, "A::B");
}

TEST_F(CppDocumentParseTest, FreeFunctionsKeepTheirTemplateHeadsAndFileStaticOnesAreLeftOut) {
  build(R"(
static int helper(int x) { return x; }
static_info_t* lookup(const char* key);
struct S { static int count(); };
namespace n { static void hidden(); }
template <class T> T largest(T a, T b);
int smallest(int a, int b);
template <class T> class Box;
class Plain {};
)");
  EXPECT_EQ(freeFunction("helper"), nullptr);
  EXPECT_EQ(freeFunction("hidden"), nullptr);
  EXPECT_NE(freeFunction("lookup"), nullptr);  // "static" inside a longer name is no specifier
  EXPECT_NE(member("S", "count"), nullptr);
  EXPECT_EQ(freeFunction("largest")->templatePrefix, "template<class T>");
  EXPECT_TRUE(freeFunction("smallest")->templatePrefix.empty());
  EXPECT_TRUE(store_.GetClass("Plain")->templatePrefix.empty());
}

TEST_F(CppDocumentParseTest, PrototypesMatchDefinitions) {
  build(R"(
namespace ns {
int twice(int);
int twice(int);
class Shape {
 public:
  virtual void draw(int scale) const = 0;
  void move(int, int dy);
  template <class T> void put(const Shape<T>& other);
};
}
int ns::twice(int value) { return value * 2; }
namespace ns {
/** Draws it. */
void Shape::draw(int factor) const { if (factor) paint(); }
void Shape::move(long dx, long dy) { x += dx; y += dy; }
}
)");
  ASSERT_TRUE(messages().empty()) << messages()[0];
  ASSERT_EQ(store_.functions().size(), 1u);  // read twice, stored once
  const Function* twice = freeFunction("twice");
  EXPECT_EQ(twice->args[0].name, "value");
  EXPECT_EQ(twice->size, 1);
  EXPECT_EQ(twice->mccabe, 1);

  const Function* draw = member("Shape", "draw");
  EXPECT_EQ(draw->args[0].name, "scale");  // the declaration's name stays
  EXPECT_EQ(text(draw->definitionDoc), "Draws it.");
  EXPECT_TRUE(draw->declarationDoc.empty());
  EXPECT_EQ(draw->attributes, "const = 0");
  EXPECT_EQ(draw->size, 2);
  EXPECT_EQ(draw->mccabe, 2);

  // The only move taking two parameters takes the definition although the types differ.
  const Function* move = member("Shape", "move");
  EXPECT_EQ(move->args[0].name, "dx");
  EXPECT_EQ(move->args[0].signatureType, "int");
  EXPECT_EQ(move->size, 2);
  EXPECT_EQ(member("Shape", "put")->args[0].signatureType, "const Shape&");

  // Where each stands: the line of its name, and the definition's place when it is elsewhere.
  EXPECT_EQ(store_.GetClass("Shape")->line, 5);
  EXPECT_EQ(draw->line, 7);
  EXPECT_EQ(draw->definitionLine, 15);
  EXPECT_EQ(twice->line, 3);
  EXPECT_EQ(twice->definitionLine, 12);
  EXPECT_NE(twice->definitionFile.find("module.cpp"), std::string::npos);
}

TEST_F(CppDocumentParseTest, DefinitionsFindTheirClassThroughNamespaces) {
  build(R"(
namespace testing {
class Test { public: void Run(); };
namespace internal { class Impl { public: Impl(); }; }
}
namespace other { class Test { public: void Run(); }; }
namespace testing {
namespace { int helper() { return 1; } }
void Test::Run() { helper(); }
internal::Impl::Impl() { helper(); }
}
)");
  ASSERT_TRUE(messages().empty()) << messages()[0];
  for (const Class& stored : store_.classes()) {
    if (stored.name != "Test") continue;
    EXPECT_EQ(stored.functions->front().size, stored.nameSpace == "testing" ? 1 : 0) << stored.nameSpace;
  }
  EXPECT_EQ(member("internal::Impl", "Impl"), nullptr);
  EXPECT_EQ(store_.GetClass("Impl")->functions->front().size, 1);
  EXPECT_EQ(freeFunction("helper")->nameSpace, "testing");
}

TEST_F(CppDocumentParseTest, DefinitionsWithoutTheirDeclarationAreReported) {
  build(R"(
void A::f() { work(); }
class A {
 public:
  void g(int);
  void g(char*);
};
void A::g(long value) { work(); }
void A::f() { work(); }
)");
  ASSERT_EQ(messages().size(), 3u);
  const std::string file = root_ + "module.cpp";
  EXPECT_EQ(messages()[0], "error: (" + file +
                               ") A member function has been processed without first processing the class or "
                               "struct declaration for A");
  EXPECT_EQ(messages()[1], "error: (" + file +
                               ") function not in class A::g(long) failed match: A::g(int) failed match: "
                               "A::g(char*)");
  EXPECT_EQ(messages()[2], "error: (" + file + ") function not in class A::f()");
  for (const Function& g : *store_.GetClass("A")->functions) EXPECT_EQ(g.size, 0);
}

TEST_F(CppDocumentParseTest, ReferenceSpacingDoesNotKeepDefinitionsFromTheirDeclarations) {
  build(R"(
template <typename T> class Vec {
 public:
  Vec &operator=(const Vec &RHS);
  Vec &operator=(Vec &&RHS);
  void put(const T &value, Vec *into);
};
template <typename T> Vec<T> &Vec<T>::operator=(Vec<T> &&RHS) { work(); }
template <typename T> Vec<T> &Vec<T>::operator=(const Vec<T> &RHS) { work(); }
template <typename T> void Vec<T>::put(const T& value, Vec<T>* into) { work(); }
)");
  ASSERT_TRUE(messages().empty()) << messages()[0];
  for (const Function& function : *store_.GetClass("Vec")->functions) EXPECT_EQ(function.size, 1);
}

TEST_F(CppDocumentParseTest, TrailingMemberCommentsAndLintSuppressionsFindTheirDeclarations) {
  build(R"(
/*! @brief The document. */
template <class T>
class Doc // NOLINT(hicpp-special-member-functions)
    : public Base  // a plain note in the head
{
 public:
  void open();   ///< Opens it.
  /// Closes it.
  void close();  // NOLINT
  int size;      ///< The size,
                 ///< in bytes.
  /// The count.
  int count;
  enum Mode {
    /// Read only.
    kRead,
    kWrite,  ///< Write only.
    // Both.
    kBoth
  };
  void flush(); //!< Flushes it.
  /// Syncs it.
  void sync();
};
)");
  const Class* doc = store_.GetClass("Doc");
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(text(doc->doc), "The document.");
  EXPECT_EQ(text(member("Doc", "open")->declarationDoc), "Opens it.");
  EXPECT_EQ(text(member("Doc", "close")->declarationDoc), "Closes it.");
  EXPECT_EQ(text(member("Doc", "flush")->declarationDoc), "Flushes it.");
  EXPECT_EQ(text(member("Doc", "sync")->declarationDoc), "Syncs it.");
  ASSERT_EQ(doc->dataMembers.size(), 2u);
  EXPECT_EQ(text(doc->dataMembers[0].doc), "The size,\nin bytes.\n");  // two short lines stay as written
  EXPECT_EQ(text(doc->dataMembers[1].doc), "The count.");
  ASSERT_EQ(doc->enums.size(), 1u);
  const std::vector<EnumTag>& tags = doc->enums[0].tags;
  ASSERT_EQ(tags.size(), 3u);
  EXPECT_EQ(text(tags[0].doc), "Read only.");
  EXPECT_EQ(text(tags[1].doc), "Write only.");
  EXPECT_EQ(text(tags[2].doc), "Both.");
}

TEST_F(CppDocumentParseTest, CommandsShareParameterTextsNameTargetsAndReportMisnamedParameters) {
  build(R"(
/** @file
 * The file's own comment documents no declaration.
 */
/// @brief Scales.
/// @param[in] factor how much
/// @param missing not there
int scale(int factor, int offset);
/// @copydoc scale
int rescale(int factor, int offset);
/** @fn int later(int n)
 *  @param n the count
 */
int other();
int later(int n);
)");
  store_.ApplyAssignedComments();
  const Function* scale = freeFunction("scale");
  ASSERT_NE(scale, nullptr);
  EXPECT_EQ(text(scale->args[0].declarationDoc), "How much.");
  EXPECT_TRUE(scale->args[1].declarationDoc.empty());
  EXPECT_EQ(text(freeFunction("rescale")->args[0].declarationDoc), "How much.");
  EXPECT_TRUE(freeFunction("other")->declarationDoc.empty());
  EXPECT_EQ(text(freeFunction("later")->args[0].declarationDoc), "The count.");
  const std::string where = "warning: (" + root_ + "module.cpp) ";
  EXPECT_EQ(messages(),
            (std::vector<std::string>{
                where + "@param names missing, which scale(int, int) does not have.",
                where + "the parameters of scale(int, int) are partly documented; offset has no @param.",
                where + "@param names missing, which rescale(int, int) does not have.",
                where + "the parameters of rescale(int, int) are partly documented; offset has no @param.",
            }));
}

TEST_F(CppDocumentParseTest, CommentsBeforeAndAfterPrototypes) {
  build(R"(
/// Before f.
void f(int a /* the a */);
void f(int a /* the one */) {}
/// Before the class.
class C {
 public:
  /// Before g.
  int g();
  int h();  // After h, on its line.
};
)");
  EXPECT_EQ(text(freeFunction("f")->declarationDoc), "Before f.");
  EXPECT_EQ(text(freeFunction("f")->args[0].declarationDoc), "The a.");
  EXPECT_EQ(text(freeFunction("f")->args[0].definitionDoc), "The one.");  // merged from the definition
  EXPECT_EQ(text(store_.GetClass("C")->doc), "Before the class.");
  EXPECT_EQ(text(member("C", "g")->declarationDoc), "Before g.");
  EXPECT_TRUE(member("C", "h")->declarationDoc.empty());

  // Without comments expected before prototypes, the comment after one belongs to it.
  options_.commentsBeforePrototypes = false;
  build(R"(
int first(int a /* the a */);
// After first.
int second();
/* After second. */
/// Before third, which has none after it.
int third();
)",
        "after.h");
  EXPECT_EQ(text(freeFunction("first")->declarationDoc), "After first.");
  EXPECT_EQ(text(freeFunction("first")->args[0].declarationDoc), "The a.");
  EXPECT_EQ(text(freeFunction("second")->declarationDoc), "After second.");
  EXPECT_EQ(text(freeFunction("third")->declarationDoc), "Before third, which has none after it.");
}

TEST_F(CppDocumentParseTest, CountsStatementsAndDecisionsOnce) {
  const std::string header = R"(
inline int body(int a, int b) {
  if (a && b) call(); else other();
  for (;;) {}
  switch (a) { case 1: break; default: break; }
  while (b) --b;
  return a;
}
)";
  write("body.h", header);
  build("#include \"body.h\"\n#include \"body.h\"\n");
  const Function* body = freeFunction("body");
  ASSERT_NE(body, nullptr);
  // Semicolons 2 + 2 + 2 + 1 + 1, plus the if and the while; decisions: if, for, case, default, while, 1.
  EXPECT_EQ(body->size, 10);
  EXPECT_EQ(body->mccabe, 6);
}

TEST_F(CppDocumentParseTest, TypedefsRecordDeclaredAndResolvedTypes) {
  build(R"(
typedef struct tagX { int a; } X, *PX;
typedef struct { int b; } Y;
typedef unsigned long ulong, *pulong;
typedef X Alias;
class Holder {
 public:
  typedef std::vector < int > List;
  void take(List items);
};
void Holder::take(std::vector<int> items) {}
)");
  ASSERT_TRUE(messages().empty()) << messages()[0];
  ASSERT_NE(store_.GetTypedef("PX"), nullptr);
  EXPECT_EQ(store_.GetTypedef("X")->resolvedType, "tagX");
  EXPECT_EQ(store_.GetTypedef("X")->declaredText, "tagX");
  EXPECT_EQ(store_.GetTypedef("PX")->resolvedType, "tagX*");
  EXPECT_EQ(store_.GetTypedef("pulong")->resolvedType, "unsigned long*");
  EXPECT_EQ(store_.GetTypedef("Alias")->resolvedType, "tagX");
  EXPECT_EQ(store_.GetTypedef("Holder::List")->resolvedType, "std::vector<int>");
  ASSERT_NE(store_.GetClass("tagX"), nullptr);
  ASSERT_NE(store_.GetClass("Y"), nullptr);
  EXPECT_EQ(store_.GetClass("Y")->dataMembers[0].name, "b");
  EXPECT_EQ(member("Holder", "take")->args[0].signatureType, "std::vector<int>");
  EXPECT_EQ(member("Holder", "take")->args[0].type, "Holder::List");
}

TEST_F(CppDocumentParseTest, EnumerationsAtNamespaceScope) {
  build(R"(
namespace a { namespace b {
/// Colours.
enum Colour {
  kRed,  // Red.
  kGreen
};
enum Colour { kRed, kGreen };
enum { kOne };
enum { kTwo };
} }
enum { kOne };
)");
  ASSERT_EQ(store_.enums().size(), 4u);
  const Enum& colour = store_.enums()[0];
  EXPECT_EQ(colour.nameSpace, "a::b");
  EXPECT_EQ(colour.file, root_ + "module.cpp");
  EXPECT_EQ(text(colour.doc), "Colours.");
  EXPECT_EQ(text(colour.tags[0].doc), "Red.");
  EXPECT_TRUE(store_.enums()[3].nameSpace.empty());
}

TEST_F(CppDocumentParseTest, AssignedCommentsReachTheirTargets) {
  build(R"(
/// Widget.
class Widget {
 public:
  /// Draws.
  void draw();
  void bare();
  /// Modes.
  enum Mode { kOn };
};
/// One.
void over(int);
/// Two.
void over(char*);
/// Later.
enum Colour { kRed };
/// $$(assign, over) More about over.
int d1;
/// $$(assign, Widget::draw) More about draw.
int d2;
/* $$(assign, Widget::Mode) $$(assign, Colour) Shared. */
int d3;
/// $$(assign, Widget) About the widget.
int d4;
/// $$(assign, Widget::bare) Lost without.
int d5;
/// $$(assign, Widget::missing) Nowhere.
)");
  EXPECT_EQ(store_.assignedCommentCount(), 7u);
  store_.ApplyAssignedComments();
  EXPECT_EQ(text(freeFunction("over")->declarationDoc), "One.More about over.");
  const Function* second = &store_.functions()[1];
  EXPECT_EQ(text(second->declarationDoc), "Two.More about over.");
  EXPECT_TRUE(second->definitionDoc.empty());  // an empty comment receives nothing
  EXPECT_EQ(text(member("Widget", "draw")->declarationDoc), "Draws.More about draw.");
  // A target without a comment of its own takes the assigned one.
  EXPECT_EQ(text(member("Widget", "bare")->declarationDoc), "Lost without.");
  EXPECT_EQ(text(store_.GetClass("Widget")->enums[0].doc), "Modes.Shared.");
  EXPECT_EQ(text(store_.enums()[0].doc), "Later.Shared.");
  EXPECT_EQ(text(store_.GetClass("Widget")->doc), "Widget.About the widget.");
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "error:(" + root_ + "module.cpp) cannot find comment target Widget::missing.");
}

TEST_F(CppDocumentParseTest, AssignedCommentsFindTargetsQualifiedByNamespaces) {
  build(R"(
namespace geo {
class Canvas { public: void Clear(); struct Pixel {}; };
void Plot();
enum Mode { kOn };
/* $$(assign, geo::Canvas::Clear) Clears. */
int a;
/* $$(assign, geo::Plot) $$(assign, geo::Mode) $$(assign, geo::Canvas::Pixel) Shared. */
int b;
/* $$(assign, other::Canvas::Clear) $$(assign, geo::Canvas::Fill) Nowhere. */
int c;
}
)");
  store_.ApplyAssignedComments();
  EXPECT_EQ(text(member("Canvas", "Clear")->declarationDoc), "Clears.");
  EXPECT_EQ(text(freeFunction("Plot")->declarationDoc), "Shared.");
  EXPECT_EQ(text(store_.enums()[0].doc), "Shared.");
  EXPECT_EQ(text(store_.GetClass("Canvas::Pixel")->doc), "Shared.");
  EXPECT_EQ(messages().size(), 2u);
}

TEST_F(CppDocumentParseTest, BearsUnbalancedAndHostileInput) {
  build(
      "}}} class { class { void f(); }; }; namespace { } } void A::B::C::f() {} typedef ;;\n"
      "struct S : S { virtual void f(); }; enum { , } ; void (*p)(int);\n");
  build("class Open { void f() {");
  EXPECT_NE(store_.GetClass("S"), nullptr);
  EXPECT_EQ(store_.GetClass(""), nullptr);
}

}  // namespace
}  // namespace quillet::testing
