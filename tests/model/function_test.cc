#include "model/function.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "model/model_test_support.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {
namespace {

TEST(FunctionTest, NamesAndAnchors) {
  Function f = function("f", {"int", "char*"}, "const");
  f.className = "Shape";
  f.nameSpace = "Geo";
  EXPECT_EQ(f.AnchorName(), "f_Geo_Shape_f_int_charPtr_const");
  EXPECT_EQ(f.FullName(), "Shape::f");

  Function op = function("operator<<", {"std::ostream&", "const Vec<T>&"}, "= 0");
  EXPECT_EQ(op.AnchorName(), "f_operatorLTLT_std__ostreamRef_const_VecLTTGTRef_EQ_0");
  EXPECT_EQ(op.FullName(), "operator<<");
  // Operators whose symbols are no identifier characters keep apart: each symbol has a word.
  EXPECT_EQ(function("operator+", {"int"}).AnchorName(), "f_operatorPlus_int");
  EXPECT_EQ(function("operator-", {"int"}).AnchorName(), "f_operatorMinus_int");
  EXPECT_EQ(function("operator!=", {"int"}).AnchorName(), "f_operatorNotEQ_int");
  EXPECT_EQ(function("operator()").AnchorName(), "f_operatorCall");
  EXPECT_EQ(function("operator[]").AnchorName(), "f_operatorIndex");
  // Overloads differ, a declaration and its definition agree.
  EXPECT_NE(function("g", {"int"}).AnchorName(), function("g", {"long"}).AnchorName());
  EXPECT_EQ(function("g", {"int"}).AnchorName(), function("g", {"int"}).AnchorName());
}

TEST(FunctionTest, ConstructorAndDestructorTestsInNestedClasses) {
  // The tests "constructor", "destructor" and "member" of the function `name` of the class `scope`.
  auto tests = [](const std::string& name, const std::string& scope) {
    Function f = function(name);
    f.className = scope;
    return std::to_string(test(f, "constructor")) + std::to_string(test(f, "destructor")) +
           std::to_string(test(f, "member"));
  };
  EXPECT_EQ(tests("Inner", "Outer::Inner"), "101");
  EXPECT_EQ(tests("~Inner", "Outer::Inner"), "011");
  EXPECT_EQ(tests("Outer", "Outer::Inner"), "001");
  EXPECT_EQ(tests("free", ""), "000");
}

TEST(FunctionTest, MatchesComparesSignatureAndIgnoresThePureSpecifier) {
  Function declaration = function("draw", {"int"}, "const = 0");
  declaration.className = "Shape";
  Function definition = function("draw", {"int"}, "const");
  definition.className = "Shape";
  EXPECT_TRUE(declaration.Matches(definition, false));
  EXPECT_TRUE(definition.Matches(declaration, false));

  Function other = definition;
  other.className = "Circle";
  EXPECT_FALSE(declaration.Matches(other, false));
  EXPECT_TRUE(declaration.Matches(other, true));
  other.nameSpace = "geo";
  EXPECT_FALSE(declaration.Matches(other, true));
  EXPECT_FALSE(declaration.Matches(function("draw", {"long"}, "const"), true));
  EXPECT_FALSE(declaration.Matches(function("draw", {"int", "int"}, "const"), true));
  EXPECT_FALSE(declaration.Matches(function("draw", {"int"}, ""), true));

  // The hashing key agrees with matching, the class compared.
  EXPECT_EQ(declaration.MatchKey(), definition.MatchKey());
  for (const Function& different : {other, function("draw", {"long"}, "const"), function("draw", {"int"})})
    EXPECT_NE(declaration.MatchKey(), different.MatchKey());
  EXPECT_NE(function("f", {"a", "b"}).MatchKey(), function("f", {"a b"}).MatchKey());
}

TEST(FunctionTest, CommentSelectionChoosesBetweenDeclarationAndDefinition) {
  Function f;
  f.declarationDoc = comment("Declared here.");
  f.definitionDoc = comment("Defined somewhere else, at length.");
  auto text = [&](int32_t selection) {
    const DocText chosen = f.CombinedComment(selection);
    std::string joined;
    for (const DocParagraph& paragraph : chosen.paragraphs()) joined += paragraph.text + "|";
    return joined;
  };
  const std::string declared = "Declared here.|", defined = "Defined somewhere else, at length.|";
  const std::pair<int32_t, std::string> choices[] = {{0, defined},  {1, declared}, {2, defined},
                                                     {3, declared}, {4, defined},  {5, declared + defined},
                                                     {17, declared}};
  for (const auto& [selection, expected] : choices) EXPECT_EQ(text(selection), expected) << selection;

  // Equal sizes keep the declaration; an empty side gives way where the choice prefers.
  f.definitionDoc = comment("Same size here.");
  f.declarationDoc = comment("Same size there");
  EXPECT_EQ(text(0), "Same size there.|");
  f.declarationDoc = DocText();
  EXPECT_EQ(text(1), "Same size here.|");
  EXPECT_EQ(text(3), "");
  f.definitionDoc = DocText();
  f.declarationDoc = comment("Only declared.");
  EXPECT_EQ(text(2), "Only declared.|");
  EXPECT_EQ(text(5), "Only declared.|");
}

TEST(FunctionTest, TakeDefinitionCommentMovesEveryComment) {
  Function f = function("f", {"int"});
  f.definitionDoc = comment("Whole.");
  f.args[0].definitionDoc = comment("Part.");
  f.declarationDoc = comment("Lost.");
  f.TakeDefinitionComment();
  EXPECT_EQ(f.declarationDoc.paragraphs()[0].text, "Whole.");
  EXPECT_TRUE(f.definitionDoc.empty());
  EXPECT_EQ(f.args[0].declarationDoc.paragraphs()[0].text, "Part.");
  EXPECT_TRUE(f.args[0].definitionDoc.empty());

  f.definitionDoc = comment("From the source.", "src/widget.cpp");
  f.ForgetCommentsFrom("C:\\include\\widget.h");  // name and extension count, folders do not
  EXPECT_TRUE(f.args[0].declarationDoc.empty());
  EXPECT_FALSE(f.definitionDoc.empty());
}

TEST(FunctionTest, MemberOrder) {
  auto member = [](std::string name, int32_t access = 1, std::string ret = "void",
                   std::vector<std::string> types = {}) {
    Function f = function(name, types);
    f.className = "ns::Widget";
    f.access = access;
    f.returnType = std::move(ret);
    for (FunctionArg& arg : f.args) arg.type = arg.signatureType;
    return f;
  };
  Function commented = member("draw", 1, "void", {"int"});
  commented.declarationDoc = comment("Draws.");
  std::vector<Function> functions = {
      member("hidden", 3),
      member("_under"),
      member("make", 1, "static Widget*"),
      commented,
      member("draw", 1, "void", {"long"}),
      member("draw", 1, "void", {"int", "int"}),
      member("operator+"),
      member("operator="),
      member("~Widget"),
      member("Widget", 1, "", {"int"}),
      member("Widget", 1, "", {"const Widget&"}),
      member("Widget"),
      member("guarded", 2),
      member("b"),
  };
  std::stable_sort(functions.begin(), functions.end(),
                   [](const Function& a, const Function& b) { return a.LessThan(b); });
  std::vector<std::string> order;
  for (const Function& f : functions)
    order.push_back(f.name + (f.args.empty() ? "" : "(" + f.args.back().type + ")") +
                    (f.declarationDoc.empty() ? "" : "*"));
  EXPECT_EQ(order, (std::vector<std::string>{"Widget", "Widget(const Widget&)", "Widget(int)", "~Widget",
                                             "operator=", "operator+", "b", "draw(long)", "draw(int)",
                                             "draw(int)*", "_under", "make", "guarded", "hidden"}));
  EXPECT_FALSE(functions[0].LessThan(functions[0]));
}

TEST(FunctionTest, PropertiesAndTests) {
  HTMLStyleSheetFilter filter;
  EvaluationContext context;
  context.filter = &filter;
  Function f = function("get", {"int"}, "const");
  f.returnType = "static std::vector<int>";
  f.throwSpec = "std::bad_alloc";
  f.nameSpace = "a::b";
  f.size = 7;
  EXPECT_EQ(property(f, "ret", context), "static std::vector&lt;int&gt;");
  EXPECT_EQ(property(f, "func_attrib", context), "const throw (std::bad_alloc)");
  f.attributes.clear();
  EXPECT_EQ(property(f, "func_attrib", context), "throw (std::bad_alloc)");
  EXPECT_EQ(test(f, "static"), 1);
  EXPECT_EQ(test(f, "nonsense"), -1);

  StyleSheetObject* args = f.GetList("arg_list");
  ASSERT_NE(args, nullptr);
  EXPECT_EQ(args->At(0), &f.args[0]);
  f.args[0].defaultValue = "-1";
  EXPECT_EQ(property(f.args[0], "default", context), " = -1");
  f.className = "Widget";
  f.attributes = "const";
  EXPECT_EQ(f.SignatureText(), "a::b::Widget::get(int)const");
}

}  // namespace
}  // namespace quillet

namespace quillet {
namespace {

// The items of the list `name` of `object`, each written as "name|direction|title|text".
std::vector<std::string> listed(StyleSheetObject& object, const std::string& name,
                                const EvaluationContext& context) {
  std::vector<std::string> items;
  StyleSheetObject* list = object.GetList(name);
  if (!list) return {"<no list>"};
  for (size_t i = 0; i < list->Count(); ++i) {
    StyleSheetObject& item = *list->At(i);
    items.push_back(property(item, "name", context) + "|" + property(item, "direction", context) + "|" +
                    property(item, "title", context) + "|" + property(item, "text", context));
  }
  return items;
}

TEST(FunctionTest, StructuredCommentPartsAreProperties) {
  ScopedConfiguration run;
  CommentOutput output;
  output.links["Widget"] = "w.html#c_Widget";
  const EvaluationContext html = output.html();
  Function f = function("draw", {"int", "int"});
  f.className = "Widget";
  f.declarationDoc = DocText(
      "@brief Draws it.\n\nLonger text.\n@param[in] x the x\n@param y the y\n@return true when drawn\n"
      "@throws Widget when broken\n@note Slow; see Widget.\n@deprecated Use paint.\n@sa paint, Widget",
      true, DocText::kDeclarationLevel, "w.h");
  EXPECT_EQ(property(f, "brief", html), "Draws it.");
  EXPECT_EQ(property(f, "text_summary", html), "Draws it.");
  EXPECT_EQ(property(f, "details", html), "Draws it.<P CLASS=QLCMT>Longer text.</P>\n");
  EXPECT_EQ(property(f, "returns", html), "True when drawn.");
  EXPECT_EQ(test(f, "returns"), 1);
  EXPECT_EQ(test(f, "deprecated"), 1);
  EXPECT_EQ(test(f, "has_params_doc"), 1);
  EXPECT_EQ(listed(f, "param_list", html), (std::vector<std::string>{"x|in||The x.", "y|||The y."}));
  EXPECT_EQ(listed(f, "throws_list", html),
            std::vector<std::string>{"<A HREF=\"w.html#c_Widget\">Widget</A>|||When broken."});
  EXPECT_EQ(listed(f, "notes_list", html),
            (std::vector<std::string>{"||Note|Slow; see <A HREF=\"w.html#c_Widget\">Widget</A>.",
                                      "||Deprecated|Use paint."}));
  EXPECT_EQ(listed(f, "see_list", html),
            std::vector<std::string>{"|||paint, <A HREF=\"w.html#c_Widget\">Widget</A>"});
  EXPECT_EQ(f.GetList("tparam_list")->Count(), 0u);
  // "text" shows the sections too, for style sheets that know nothing of them.
  const std::string text = property(f, "text", html);
  EXPECT_NE(text.find("<DT>Parameters</DT>\n<DD><CODE>x</CODE> [in] The x.</DD>"), std::string::npos) << text;
  EXPECT_NE(text.find("<DT>Deprecated</DT>\n<DD>Use paint.</DD>"), std::string::npos) << text;
  // A comment without commands has no sections.
  f.declarationDoc = DocText("Plain.", true, DocText::kDeclarationLevel, "w.h");
  EXPECT_EQ(property(f, "details", html), property(f, "text", html));
  EXPECT_EQ(test(f, "has_params_doc"), 0);
  EXPECT_EQ(f.GetList("param_list")->Count(), 0u);
}

}  // namespace
}  // namespace quillet
