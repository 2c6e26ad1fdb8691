// A CppLexer that writes down every callback it receives, one line per call: the callback's name and its
// arguments separated by "|" (OnBaseClass|1|Base), line breaks in arguments written as "\n". Tests run the
// recognizer over source text and compare the recorded calls; the type-name queries answer from small
// tables the test fills.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/recognizer/cpp_lexer.h"

namespace quillet {

class RecordingLexer : public CppLexer {
 public:
  /// The calls so far, one line each, in order.
  std::vector<std::string> calls;
  /// When set, the type-name queries (IsTypeName, QualifyTypeName, ResolveTypeName) are recorded too.
  bool recordTypeQueries = false;
  /// Answers of QualifyTypeName by name; a name not listed answers itself.
  std::map<std::string, std::string, std::less<>> qualified;
  /// Answers of ResolveTypeName by name; a name not listed answers its QualifyTypeName.
  std::map<std::string, std::string, std::less<>> resolved;

 protected:
  void OnTemplatePrefix(std::string_view text) override;
  void OnClassBegin() override;
  void OnClassKey(std::string_view key) override;
  void OnClassName(std::string_view name) override;
  void OnBaseClass(int access, std::string_view text) override;
  void OnClassComment() override;
  void OnAccessLabel(int access) override;
  void OnClassEnd() override;
  void OnEnumBegin() override;
  void OnEnumName(std::string_view name) override;
  void OnEnumerator(std::string_view text, std::string_view comment) override;
  void OnEnumEnd() override;
  void OnNamespaceBegin(std::string_view name) override;
  void OnNamespaceEnd() override;
  void OnComment(std::string_view text, bool afterDeclaration) override;
  void OnReturnType(std::string_view text) override;
  void OnFunctionName(std::string_view scope, std::string_view name) override;
  void OnParameter(std::string_view signatureType, std::string_view type, std::string_view name,
                   std::string_view defaultValue, std::string_view comment) override;
  void OnFunctionTrailer(std::string_view attributes, std::string_view throwSpec) override;
  void OnFunctionEnd(bool isPrototype) override;
  void OnStatement() override;
  void OnIf() override;
  void OnLogicalOperator() override;
  void OnWhile() override;
  void OnCase() override;
  void OnElse() override;
  void OnFor() override;
  void OnDefault() override;
  void OnBodyEnd() override;
  void OnTypedefBegin() override;
  void OnTypedefPart(std::string_view text) override;
  void OnTypedefBaseEnd() override;
  void OnTypedefDeclared(std::string_view text) override;
  void OnTypedefName(std::string_view name) override;
  void OnTypedefNext() override;
  void OnTypedefEnd() override;
  bool OnFileBegin(std::string_view fileName) override;
  void OnDataMember(std::string_view type, std::string_view name) override;
  bool IsTypeName(std::string_view name) override;
  std::string QualifyTypeName(std::string_view name) override;
  std::string ResolveTypeName(std::string_view name) override;

 private:
  void record(std::string_view name, std::initializer_list<std::string_view> arguments = {});
};

}  // namespace quillet
