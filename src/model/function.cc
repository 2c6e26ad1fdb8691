#include "model/function.h"

#include <ostream>

#include "model/shared_properties.h"
#include "template_objects/markup.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

// The attributes with every " = 0" and then every "= 0" removed, so that a pure virtual declaration
// compares equal to its definition.
std::string withoutPureSpecifier(std::string_view attributes) {
  std::string text(attributes);
  for (std::string_view pure : {std::string_view(" = 0"), std::string_view("= 0")}) {
    for (size_t at = text.find(pure); at != std::string::npos; at = text.find(pure, at))
      text.erase(at, pure.size());
  }
  return text;
}

bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// -1, 0 or 1 as the first parameter whose shown type differs orders `a` and `b` by bytes.
int compareArgTypes(const std::vector<FunctionArg>& a, const std::vector<FunctionArg>& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    const int order = a[i].type.compare(b[i].type);
    if (order != 0) return order < 0 ? -1 : 1;
  }
  return 0;
}

// Names in member order: at the first position where exactly one has a letter, that one first; at the
// first position where both have letters, or when the shorter name ends, by bytes. Positions where
// neither has a letter are passed over.
bool nameLess(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return a < b;
  const size_t shorter = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < shorter; ++i) {
    const bool letterA = isLetter(a[i]);
    const bool letterB = isLetter(b[i]);
    if (letterA != letterB) return letterA;
    if (letterA) break;
  }
  return a < b;
}

// The attributes and any exception specification as "throw (...)", with the type names linked.
void writeAttributes(const Function& function, const EvaluationContext& context, std::ostream& out) {
  writeLinkedText(context, out, function.attributes, function.className);
  if (function.throwSpec.empty()) return;
  if (!function.attributes.empty()) writeFiltered(context, out, " ");
  writeFiltered(context, out, "throw (");
  writeLinkedText(context, out, function.throwSpec, function.className);
  writeFiltered(context, out, ")");
}

}  // namespace

std::string_view lastNameComponent(std::string_view className) {
  const size_t colon = className.rfind(':');
  return colon == std::string_view::npos ? className : className.substr(colon + 1);
}

void Function::AddArg(std::string signatureType, std::string type, std::string name, std::string defaultValue,
                      DocText comment) {
  FunctionArg& arg = args.emplace_back();
  arg.signatureType = std::move(signatureType);
  arg.type = std::move(type);
  arg.name = std::move(name);
  arg.defaultValue = std::move(defaultValue);
  arg.declarationDoc = std::move(comment);
  arg.className = className;
}

void Function::TakeDefinitionComment() {
  HasTwoDocs::TakeDefinitionComment();
  for (FunctionArg& arg : args) arg.TakeDefinitionComment();
}

void Function::ForgetCommentsFrom(std::string_view fileName) {
  forgetCommentFrom(declarationDoc, fileName);
  forgetCommentFrom(definitionDoc, fileName);
  for (FunctionArg& arg : args) {
    forgetCommentFrom(arg.declarationDoc, fileName);
    forgetCommentFrom(arg.definitionDoc, fileName);
  }
}

bool Function::Matches(const Function& other, bool ignoreClass) const {
  // The cheapest differences first: many overloads share a name and namespace.
  if (args.size() != other.args.size() || name != other.name || nameSpace != other.nameSpace) return false;
  if (!ignoreClass && className != other.className) return false;
  for (size_t i = 0; i < args.size(); ++i)
    if (args[i].signatureType != other.args[i].signatureType) return false;
  if (attributes == other.attributes) return true;
  return withoutPureSpecifier(attributes) == withoutPureSpecifier(other.attributes);
}

std::string Function::MatchKey() const {
  // Fields are separated by a byte no declaration contains.
  std::string key = nameSpace + '\n' + name + '\n' + className;
  for (const FunctionArg& arg : args) key += '\n' + arg.signatureType;
  key += '\n' + withoutPureSpecifier(attributes);
  return key;
}

bool Function::IsConstructor() const {
  return name == lastNameComponent(className);
}

bool Function::IsDestructor() const {
  const std::string_view last = lastNameComponent(className);
  return name.size() == last.size() + 1 && name.front() == '~' && std::string_view(name).substr(1) == last;
}

bool Function::LessThan(const Function& other) const {
  if (this == &other) return false;
  if (access != other.access) return access < other.access;

  const bool constructor = IsConstructor();
  if (constructor != other.IsConstructor()) return constructor;
  if (constructor) {
    if (args.size() != other.args.size()) return args.size() < other.args.size();
    const int order = compareArgTypes(args, other.args);
    if (order != 0) return order < 0;
    return attributes < other.attributes;
  }

  const bool destructor = startsWith(name, "~");
  if (destructor != startsWith(other.name, "~")) return destructor;

  const bool assignment = name == "operator=";
  if (assignment != (other.name == "operator=")) return assignment;
  const bool isOperator = name.find("operator") != std::string::npos;
  if (isOperator != (other.name.find("operator") != std::string::npos)) return isOperator;

  const bool isStatic = startsWith(returnType, "static");
  if (isStatic != startsWith(other.returnType, "static")) return !isStatic;

  if (name == other.name) {
    const bool commented = !CombinedComment().empty();
    if (commented != !other.CombinedComment().empty()) return !commented;
    if (args.size() != other.args.size()) return args.size() < other.args.size();
    return compareArgTypes(args, other.args) < 0;
  }
  return nameLess(name, other.name);
}

std::string Function::SignatureText() const {
  std::string text;
  if (!nameSpace.empty()) text += nameSpace + "::";
  text += className + "::" + name + "(";
  for (size_t i = 0; i < args.size(); ++i) {
    if (i > 0) text += ", ";
    text += args[i].signatureType;
  }
  text += ")" + attributes;
  return text;
}

std::string Function::ParameterText() const {
  std::string text = "(";
  for (size_t i = 0; i < args.size(); ++i) {
    if (i > 0) text += ", ";
    text += args[i].type;
  }
  text += ')';
  if (!attributes.empty()) text.append(" ").append(attributes);
  return text;
}

template <>
struct PropertyTable<Function> {
  static constexpr PropertyRow<Function> kFunctionRows[] = {
      {"class_name", writeFilteredValue<Function, &Function::className>},
      {"template", writeFilteredValue<Function, &Function::templatePrefix>,
       testNotEmpty<Function, &Function::templatePrefix>},
      {"ret", writeLinkedValue<Function, &Function::returnType>},
      {"func_attrib", writeAttributes},
      {"size", writeNumberValue<Function, &Function::size>, testValue<Function, &Function::size>},
      {"mccabe", writeNumberValue<Function, &Function::mccabe>, testValue<Function, &Function::mccabe>},
      {"member", nullptr, testNotEmpty<Function, &Function::className>},
      {"signature", [](const Function& f, const EvaluationContext& context,
                       std::ostream& out) { writeFiltered(context, out, f.ParameterText()); }},
      {"defined_at",
       [](const Function& f, const EvaluationContext& context, std::ostream& out) {
         writeSourcePlace(context, out, f.definitionFile, f.definitionLine);
       },
       testNotEmpty<Function, &Function::definitionFile>},
      {"overrides", nullptr, [](const Function& f) -> int32_t { return f.overrides != nullptr; },
       [](Function& f) -> StyleSheetObject* { return f.overrides; }},
      {"overrider_list", nullptr, nullptr, [](Function& f) { return f.overriderList_.over(f.overriddenBy); }},
      {"constructor", nullptr, testValue<Function, &Function::IsConstructor>},
      {"destructor", nullptr, testValue<Function, &Function::IsDestructor>},
      {"operator", nullptr, [](const Function& f) -> int32_t { return startsWith(f.name, "operator"); }},
      {"static", nullptr, [](const Function& f) -> int32_t { return startsWith(f.returnType, "static"); }},
      {"virtual", nullptr, [](const Function& f) -> int32_t { return startsWith(f.returnType, "virtual"); }},
      {"arg_list", nullptr, nullptr, [](Function& f) { return f.argList_.over(f.args); }},
  };
  // A function's comment resolves links from its class.
  static constexpr auto kRows =
      propertyRows(kNameProperty<Function>, kTextProperty<Function, &Function::className>,
                   kTextSummaryProperty<Function, &Function::className>,
                   kCommentSectionProperties<Function, &Function::className>,
                   kDeclarationProperties<Function>, kAccessTests<Function>, kFunctionRows);
};

bool Function::WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) {
  return writeProperty(*this, property, context, out);
}

std::string Function::FullName() const {
  return className.empty() ? name : className + "::" + name;
}

namespace {

// Operators that differ only in symbols the identifier rule turns into "_" (operator+ and operator-, say)
// would share one anchor, and a link to one would land on the other; those symbols get words instead.
std::string spelledOperatorName(std::string_view name) {
  if (!startsWith(name, "operator")) return std::string(name);
  std::string spelled;
  for (char c : name) {
    switch (c) {
      case '+':
        spelled += "Plus";
        break;
      case '-':
        spelled += "Minus";
        break;
      case '!':
        spelled += "Not";
        break;
      case '/':
        spelled += "Div";
        break;
      case '%':
        spelled += "Mod";
        break;
      case '^':
        spelled += "Xor";
        break;
      case '|':
        spelled += "Or";
        break;
      case '~':
        spelled += "Compl";
        break;
      case ',':
        spelled += "Comma";
        break;
      case '(':
        spelled += "Call";
        break;
      case '[':
        spelled += "Index";
        break;
      case ')':
      case ']':
        break;
      default:
        spelled += c;
    }
  }
  return spelled;
}

}  // namespace

std::string Function::AnchorName() const {
  std::string text = "f_";
  if (!nameSpace.empty()) text += nameSpace + "_";
  if (!className.empty()) text += className + "_";
  text += spelledOperatorName(name);
  for (const FunctionArg& arg : args) text += "_" + arg.signatureType;
  if (!attributes.empty()) text += "_" + attributes;

  std::string anchor;
  anchor.reserve(text.size() + 8);
  for (char c : text) {
    switch (c) {
      case ' ':
        anchor += '_';
        break;
      case '&':
        anchor += "Ref";
        break;
      case '>':
        anchor += "GT";
        break;
      case '<':
        anchor += "LT";
        break;
      case '*':
        anchor += "Ptr";
        break;
      case '=':
        anchor += "EQ";
        break;
      default:
        anchor += c;
    }
  }
  return makeIdentifier(anchor);
}

std::string Function::DeclarationKey() const {
  std::string key = nameSpace + "::" + className + "::" + name + "(";
  for (const FunctionArg& arg : args) key += arg.signatureType + ",";
  key += ")";
  key += attributes;
  return key;
}

std::string Function::FileName(const EvaluationContext&) const {
  return objectFileName(AnchorName());
}

bool Function::Test(std::string_view property, int32_t& value) const {
  return testProperty(*this, property, value);
}

StyleSheetObject* Function::GetList(std::string_view name) {
  return listProperty(*this, name);
}

}  // namespace quillet
