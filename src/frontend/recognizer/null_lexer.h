// A CppLexer whose callbacks do nothing: the generation run parses each module with it until the code
// model builder exists, so that a run already reads every module through the recognizer (and shows its
// token trace); benchmarks and fuzz targets use it to time and exercise the front end alone.
#pragma once

#include <string>
#include <string_view>

#include "frontend/recognizer/cpp_lexer.h"

namespace quillet {

class NullLexer : public CppLexer {
 public:
  /// Classes, functions (with their parameters) and data declarations seen so far.
  size_t classes = 0;
  size_t functions = 0;
  size_t dataMembers = 0;

 protected:
  void OnTemplatePrefix(std::string_view) override {}
  void OnClassBegin() override { ++classes; }
  void OnClassKey(std::string_view) override {}
  void OnClassName(std::string_view) override {}
  void OnBaseClass(int, std::string_view) override {}
  void OnClassComment() override {}
  void OnAccessLabel(int) override {}
  void OnClassEnd() override {}
  void OnEnumBegin() override {}
  void OnEnumName(std::string_view) override {}
  void OnEnumerator(std::string_view, std::string_view) override {}
  void OnEnumEnd() override {}
  void OnNamespaceBegin(std::string_view) override {}
  void OnNamespaceEnd() override {}
  void OnComment(std::string_view, bool) override {}
  void OnReturnType(std::string_view) override {}
  void OnFunctionName(std::string_view, std::string_view) override { ++functions; }
  void OnParameter(std::string_view, std::string_view, std::string_view, std::string_view,
                   std::string_view) override {}
  void OnFunctionTrailer(std::string_view, std::string_view) override {}
  void OnFunctionEnd(bool) override {}
  void OnStatement() override {}
  void OnIf() override {}
  void OnLogicalOperator() override {}
  void OnWhile() override {}
  void OnCase() override {}
  void OnElse() override {}
  void OnFor() override {}
  void OnDefault() override {}
  void OnBodyEnd() override {}
  void OnTypedefBegin() override {}
  void OnTypedefPart(std::string_view) override {}
  void OnTypedefBaseEnd() override {}
  void OnTypedefDeclared(std::string_view) override {}
  void OnTypedefName(std::string_view) override {}
  void OnTypedefNext() override {}
  void OnTypedefEnd() override {}
  bool OnFileBegin(std::string_view) override { return false; }
  void OnDataMember(std::string_view, std::string_view) override { ++dataMembers; }
  bool IsTypeName(std::string_view) override { return false; }
  std::string QualifyTypeName(std::string_view name) override { return std::string(name); }
  std::string ResolveTypeName(std::string_view name) override { return std::string(name); }
};

}  // namespace quillet
