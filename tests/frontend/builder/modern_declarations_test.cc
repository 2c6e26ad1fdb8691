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
      for (const BaseClass& base : stored.parents) out << " : " << base.name;
      out << '\n';
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
    for (const std::string& line : run_.output.lines) out << "! " << line << '\n';
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
)",
     "class SmallList [template<class T, int N>]\n  void push/1 body\n"
     "struct SmallList<bool, 4>::Bits\n"
     "class SmallList<bool, 4> [template<>]\n  void flip/0 body\n"
     "class SmallList<T*, 1> [template<class T>]\n  T* at/1 body\n"},
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
};
INSTANTIATE_TEST_SUITE_P(Specializations, ModernDeclarationsTest, ::testing::ValuesIn(kSpecializations));

}  // namespace
}  // namespace quillet::testing
