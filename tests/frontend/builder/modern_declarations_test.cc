// Modern declarations through the builder: each case is a small module, and what the code store holds
// afterwards is compared as one outline text (classes with their members, free functions, typedefs and the
// lines the run reported).
#include <gtest/gtest.h>

#include <sstream>

#include "frontend/builder/code_store.h"
#include "frontend/builder/cpp_document_parse.h"
#include "frontend/preprocessor/preprocessor_fixture.h"

namespace quillet::testing {
namespace {

struct Case {
  const char* title;
  const char* source;
  const char* outline;
};

void PrintTo(const Case& tested, std::ostream* out) {
  *out << tested.title;
}

class ModernDeclarationsTest : public PreprocessorFixture, public ::testing::WithParamInterface<Case> {
 protected:
  std::string outline(const std::string& source) {
    CodeStore store;
    FrontEndOptions options = options_;
    options.includeDirectories = {root_};
    options.verbose = true;
    {
      Preprocessor preprocessor(write("module.cpp", source), options, cache_);
      CppDocumentParse parser(store, options);
      parser.Parse(preprocessor);
    }
    std::ostringstream out;
    for (const Class& stored : store.classes()) {
      out << stored.classType << ' ' << (stored.nameSpace.empty() ? "" : stored.nameSpace + "::")
          << stored.name;
      if (!stored.templatePrefix.empty()) out << " [" << stored.templatePrefix << ']';
      if (!stored.inlineNamespace.empty()) out << " (in " << stored.inlineNamespace << ')';
      if (!stored.constraint.empty()) out << " = " << stored.constraint;
      for (const BaseClass& base : stored.parents) out << " : " << base.name;
      out << '\n';
      for (const std::string& text : stored.friends) out << "  friend " << text << '\n';
      for (const std::string& text : stored.usingDeclarations) out << "  using " << text << '\n';
      for (const Function& member : *stored.functions)
        out << "  " << member.returnType << (member.returnType.empty() ? "" : " ") << member.name << '/'
            << member.args.size() << (member.size > 0 ? " body" : "") << '\n';
      for (const DataDecl& data : stored.dataMembers)
        out << "  data " << data.type << ' ' << data.name << '\n';
      for (const TypedefRecord& record : stored.typedefs)
        out << "  typedef " << record.name << " = " << record.resolvedType << '\n';
    }
    for (const Function& free : store.functions())
      out << "function " << (free.nameSpace.empty() ? "" : free.nameSpace + "::") << free.name << '/'
          << free.args.size() << '\n';
    for (const TypedefRecord& record : store.typedefs())
      if (record.name.find("::") == std::string::npos)
        out << "typedef " << record.name << " = " << record.resolvedType << '\n';
    for (const std::string& line : run_.output.lines)
      if (line.starts_with("warning") || line.starts_with("error"))
        out << "! " << line.substr(line.find(')') + 2) << '\n';
    return out.str();
  }
};

TEST_P(ModernDeclarationsTest, Outline) {
  EXPECT_EQ(outline(GetParam().source), GetParam().outline);
}

const Case kSpecializations[] = {
    {"explicit and partial specializations are classes of their own, after their primary",
     R"(
template <class T, int N> class SmallList { void push(T); };
template <> class SmallList<bool, 4> { void flip(); struct Bits {}; };
template <class T> class SmallList<T*, 1> { T* at(int i); };
void SmallList<bool, 4>::flip() { go(); }
template <class T> T* SmallList<T*, 1>::at(int i) { return 0; }
template <class T, int N> void SmallList<T, N>::push(T) { go(); }
template <class T, int N> class SmallList<T, N>::iterator { void next(); };
template <class T> class SmallList<T*, 1>::iterator { void back(); };
)",
     "class SmallList [template<class T, int N>]\n  void push/1 body\n"
     "struct SmallList<bool, 4>::Bits\n"
     "class SmallList<bool, 4> [template<>]\n  void flip/0 body\n"
     "class SmallList<T*, 1> [template<class T>]\n  T* at/1 body\n"
     "class SmallList::iterator [template<class T, int N>]\n  void next/0\n"
     "class SmallList<T*, 1>::iterator [template<class T>]\n  void back/0\n"},
    {"specializations of function templates and of single members never join the primary",
     R"(
namespace fmt {
template <class T> struct formatter { void parse(); };
template <> struct formatter<int> { void parse(); void format(int v); };
template <> void formatter<long>::parse() {}
template <class T> void print(T value);
template <> void print<int>(int value);
template <> void print(char value) {}
template void print<short>(short);
template <class T> formatter(T) -> formatter<T>;
}
)",
     "struct fmt::formatter [template<class T>]\n  void parse/0\n"
     "struct fmt::formatter<int> [template<>]\n  void parse/0\n  void format/1\n"
     "function fmt::print/1\n"},
    {"constructors of a specialization defined outside it find it",
     R"(
namespace testing {
template <typename T> class Matcher { public: Matcher(T value); };
template <> class Matcher<const std::string&> {
 public:
  Matcher(const std::string& s);
  Matcher(const char* s);
};
Matcher<const std::string&>::Matcher(const std::string& s) { Set(s); }
Matcher<const std::string&>::Matcher(const char* s) { Set(s); }
}
)",
     "class testing::Matcher [template<typename T>]\n  Matcher/1\n"
     "class testing::Matcher<const std::string&> [template<>]\n  Matcher/1 body\n  Matcher/1 body\n"},
    {"definitions naming the template parameters otherwise, or the class through a typedef",
     R"(
template <class K, class AllocatorTy> class Scope {
 public:
  Scope(Table<K, AllocatorTy>& table);
  Scope(Scope&) = delete;
};
template <class K, class Allocator> Scope<K, Allocator>::Scope(Table<K, Allocator>& table) { go(); }
template <class Tr> class Region {
  using BlockT = typename Tr::BlockT;
  bool contains(const BlockT* block) const;
  bool contains(const Region* region) const;
};
template <class Tr> bool Region<Tr>::contains(const BlockT* block) const { return true; }
template <> class Scope<int, int> { void add(); };
typedef Scope<int, int> IntScope;
void IntScope::add() { go(); }
)",
     "class Scope [template<class K, class AllocatorTy>]\n  Scope/1 body\n  Scope/1\n"
     "class Region [template<class Tr>]\n  bool contains/1 body\n  bool contains/1\n  typedef BlockT = "
     "typename Tr::BlockT\n"
     "class Scope<int, int> [template<>]\n  void add/0 body\n"
     "typedef IntScope = Scope<int, int>\n"},
};
INSTANTIATE_TEST_SUITE_P(Specializations, ModernDeclarationsTest, ::testing::ValuesIn(kSpecializations));

const Case kModern[] = {
    {"aliases are typedefs; concepts, requires clauses, variables, friends and using-declarations",
     R"(
template <class T> concept Sortable = requires(T a) { a < a; } && sizeof(T) > 1;
template <class T> requires Sortable<T> && (sizeof(T) < 64) class Box {
 public:
  using Value = T;
  template <class U> using Pair = std::pair<T, U>;
  using Base::Base;
  using typename Base::size_type;
  static constexpr int kSize = 4;
  static inline int count = 0;
  static_assert(sizeof(T) > 0, "complete");
  friend class Tray;
  friend bool operator==(const Box& a, const Box& b) { return true; }
  void sort() requires Sortable<T>;
};
using Handle = struct Node*;
template <class T> using Vec = std::vector<T>;
class After {};
constinit int ready = 0;
)",
     "concept Sortable [template<class T>] = requires(T a) { a<a; }&& sizeof(T)>1\n"
     "class Box [template<class T> requires Sortable<T>&&(sizeof(T)<64)]\n"
     "  friend class Tray\n  friend bool operator==(const Box& a, const Box& b)\n"
     "  using Base::Base\n  using Base::size_type\n"
     "  void sort/0\n  data static constexpr int kSize\n  data static int count\n"
     "  typedef Value = T\n  typedef Pair = std::pair<T, U>\n"
     "class After\n"
     "typedef Handle = struct Node*\n"
     "typedef Vec = std::vector<T>\n"},
    {"inline namespaces are left out of names; a comment before a closing brace is delivered",
     R"(
namespace fmt {
inline namespace v9 {
class format_error {};
namespace detail { void helper(); }
void print(int v);
/// \fn print
/// Prints.
}
}
namespace fmt::inline v10 { struct later {}; }
void fmt::v9::detail::helper() {}
)",
     "class fmt::format_error (in fmt::v9)\n"
     "struct fmt::later (in fmt::v10)\n"
     "function fmt::detail::helper/0\n"
     "function fmt::print/1\n"},
    {"declarations passed over are reported under -V, once each",
     R"(
class Broken {
  int f(int a));
  STRAY_MACRO(x)
 public:
  int kept;
};
)",
     "class Broken\n  data int kept\n"
     "! declaration passed over: \"int f(int a))\" (its parentheses do not match)\n"
     "! declaration passed over: \"STRAY_MACRO(x)\" (it does not end before 'public')\n"},
};
INSTANTIATE_TEST_SUITE_P(Modern, ModernDeclarationsTest, ::testing::ValuesIn(kModern));

}  // namespace
}  // namespace quillet::testing
