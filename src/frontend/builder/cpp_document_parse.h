// The code model builder: a CppLexer whose callbacks turn what the declaration recognizer reports about a
// module into code model objects filed in the run's code store. Classes (nested ones qualified by their
// enclosing classes), enumerations, namespaces, functions (prototypes matched with definitions, bodies
// counted), data members, typedefs and comments. The generation run makes one per module; the recognizer
// asks it whether names are types and how to qualify and resolve them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/builder/code_store.h"
#include "frontend/preprocessor/front_end_options.h"
#include "frontend/recognizer/cpp_lexer.h"
#include "model/class.h"

namespace quillet {

class CppDocumentParse : public CppLexer {
 public:
  /// Classes nested deeper than this are not documented, and namespaces deeper than this count as the
  /// namespace at this depth: every level repeats the names around it, so memory and output would grow
  /// with the square of the depth.
  static constexpr size_t kMaxNesting = 256;

  /// A builder filing into `store`, which must outlive it.
  /// A builder filing into `store`, with the comment choices of `options`.
  explicit CppDocumentParse(CodeStore& store, const FrontEndOptions& options = {})
      : store_(store), options_(options) {}

  /// True when `name` is a class, or an enumeration or typedef nested in the open class or the class of
  /// the function being read.
  bool IsTypeName(std::string_view name) override;
  /// `name` qualified by the open class (or the class of the function being read) when it is nested
  /// there; else `name`.
  std::string QualifyTypeName(std::string_view name) override;
  /// `name` with the typedefs of the open class and of the store resolved, then qualified.
  std::string ResolveTypeName(std::string_view name) override;

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
  void OnInlineNamespaceBegin(std::string_view name) override;
  void OnFriend(std::string_view text) override;
  void OnUsingDeclaration(std::string_view text) override;
  void OnConcept(std::string_view name, std::string_view constraint) override;
  void OnSkippedDeclaration(std::string_view text, uint32_t line) override;
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
  void OnLogicalOperator() override {}
  void OnWhile() override;
  void OnCase() override;
  void OnElse() override {}
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

 private:
  // The typedef being assembled.
  struct TypedefText {
    std::string base;
    std::string declared;
    std::string resolved;
    std::string writtenBase;
    std::string written;
    std::string name;
    bool inBase = true;
  };
  // An open class with the access in force inside it. A typedef whose base type is a struct body is
  // paused while that body is read, so that typedefs inside it do not disturb it.
  struct OpenClass {
    int32_t access = kAccessPrivate;
    Class assembled;
    TypedefText pausedTypedef;
    bool tooDeep = false;  // nested deeper than kMaxNesting: left unnamed, so never stored
  };

  // An open namespace body and the lengths of the two namespace texts before it.
  struct OpenNamespace {
    size_t shownLength = 0;
    size_t writtenLength = 0;
  };

  void clearFlags();
  void enterNamespace(std::string_view name, bool isInline);
  OpenClass& top() { return classStack_.back(); }
  void finishTypedefDeclarator();
  void storeFreeFunction(bool isPrototype);
  void storeMemberDefinition();
  void countStatement();
  void countDecision();
  void reportNesting(bool& reported, const char* what, const char* effect);

  CodeStore& store_;
  const FrontEndOptions options_;
  std::string fileName_;
  bool inFunction_ = false;
  bool inClass_ = false;
  std::string pendingTemplate_;
  std::string pendingClassKey_;
  Function currentFunction_;
  DocText pendingComment_;
  Enum currentEnum_;
  bool counting_ = false;
  bool commentAfterPrototype_ = false;
  Function* lastFunction_ = nullptr;
  std::vector<OpenClass> classStack_;
  std::vector<OpenNamespace> namespaceStack_;
  size_t namespacesTooDeep_ = 0;  // namespaces open beyond kMaxNesting
  std::string joinedNamespace_;   // the open namespaces as users name them, inline ones left out
  std::string writtenNamespace_;  // the open namespaces as declared, inline ones included
  bool reportedClassNesting_ = false;
  bool reportedNamespaceNesting_ = false;
  TypedefText typedef_;
};

}  // namespace quillet
