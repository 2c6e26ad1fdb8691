#include "support/recording_lexer.h"

namespace quillet {

void RecordingLexer::record(std::string_view name, std::initializer_list<std::string_view> arguments) {
  std::string line(name);
  for (std::string_view argument : arguments) {
    line += '|';
    for (char c : argument) {
      if (c == '\n') {
        line += "\\n";
      } else {
        line += c;
      }
    }
  }
  calls.push_back(std::move(line));
}

void RecordingLexer::OnTemplatePrefix(std::string_view text) {
  record("OnTemplatePrefix", {text});
}
void RecordingLexer::OnClassBegin() {
  record("OnClassBegin");
}
void RecordingLexer::OnClassKey(std::string_view key) {
  record("OnClassKey", {key});
}
void RecordingLexer::OnClassName(std::string_view name) {
  record("OnClassName", {name});
}
void RecordingLexer::OnBaseClass(int access, std::string_view text) {
  record("OnBaseClass", {std::to_string(access), text});
}
void RecordingLexer::OnClassComment() {
  record("OnClassComment");
}
void RecordingLexer::OnAccessLabel(int access) {
  record("OnAccessLabel", {std::to_string(access)});
}
void RecordingLexer::OnClassEnd() {
  record("OnClassEnd");
}
void RecordingLexer::OnEnumBegin() {
  record("OnEnumBegin");
}
void RecordingLexer::OnEnumName(std::string_view name) {
  record("OnEnumName", {name});
}
void RecordingLexer::OnEnumerator(std::string_view text, std::string_view comment) {
  record("OnEnumerator", {text, comment});
}
void RecordingLexer::OnEnumEnd() {
  record("OnEnumEnd");
}
void RecordingLexer::OnNamespaceBegin(std::string_view name) {
  record("OnNamespaceBegin", {name});
}
void RecordingLexer::OnNamespaceEnd() {
  record("OnNamespaceEnd");
}
void RecordingLexer::OnComment(std::string_view text, bool afterDeclaration) {
  record("OnComment", {text, afterDeclaration ? "1" : "0"});
}
void RecordingLexer::OnReturnType(std::string_view text) {
  record("OnReturnType", {text});
}
void RecordingLexer::OnFunctionName(std::string_view scope, std::string_view name) {
  record("OnFunctionName", {scope, name});
}
void RecordingLexer::OnParameter(std::string_view signatureType, std::string_view type, std::string_view name,
                                 std::string_view defaultValue, std::string_view comment) {
  record("OnParameter", {signatureType, type, name, defaultValue, comment});
}
void RecordingLexer::OnFunctionTrailer(std::string_view attributes, std::string_view throwSpec) {
  record("OnFunctionTrailer", {attributes, throwSpec});
}
void RecordingLexer::OnFunctionEnd(bool isPrototype) {
  record("OnFunctionEnd", {isPrototype ? "1" : "0"});
}
void RecordingLexer::OnStatement() {
  record("OnStatement");
}
void RecordingLexer::OnIf() {
  record("OnIf");
}
void RecordingLexer::OnLogicalOperator() {
  record("OnLogicalOperator");
}
void RecordingLexer::OnWhile() {
  record("OnWhile");
}
void RecordingLexer::OnCase() {
  record("OnCase");
}
void RecordingLexer::OnElse() {
  record("OnElse");
}
void RecordingLexer::OnFor() {
  record("OnFor");
}
void RecordingLexer::OnDefault() {
  record("OnDefault");
}
void RecordingLexer::OnBodyEnd() {
  record("OnBodyEnd");
}
void RecordingLexer::OnTypedefBegin() {
  record("OnTypedefBegin");
}
void RecordingLexer::OnTypedefPart(std::string_view text) {
  record("OnTypedefPart", {text});
}
void RecordingLexer::OnTypedefBaseEnd() {
  record("OnTypedefBaseEnd");
}
void RecordingLexer::OnTypedefDeclared(std::string_view text) {
  record("OnTypedefDeclared", {text});
}
void RecordingLexer::OnTypedefName(std::string_view name) {
  record("OnTypedefName", {name});
}
void RecordingLexer::OnTypedefNext() {
  record("OnTypedefNext");
}
void RecordingLexer::OnTypedefEnd() {
  record("OnTypedefEnd");
}
bool RecordingLexer::OnFileBegin(std::string_view fileName) {
  record("OnFileBegin", {fileName});
  return false;
}
void RecordingLexer::OnDataMember(std::string_view type, std::string_view name) {
  record("OnDataMember", {type, name});
}

bool RecordingLexer::IsTypeName(std::string_view name) {
  if (recordTypeQueries) record("IsTypeName", {name});
  return qualified.count(name) > 0 || resolved.count(name) > 0;
}

std::string RecordingLexer::QualifyTypeName(std::string_view name) {
  if (recordTypeQueries) record("QualifyTypeName", {name});
  auto it = qualified.find(name);
  return it != qualified.end() ? it->second : std::string(name);
}

std::string RecordingLexer::ResolveTypeName(std::string_view name) {
  if (recordTypeQueries) record("ResolveTypeName", {name});
  auto it = resolved.find(name);
  if (it != resolved.end()) return it->second;
  auto q = qualified.find(name);
  return q != qualified.end() ? q->second : std::string(name);
}

}  // namespace quillet
