// The C++ lexer: the abstract parser that runs the declaration recognizer over the significant tokens of
// one module. It reports everything it finds (classes, enumerations, namespaces, typedefs, functions with
// their parameters, data declarations, comments, file changes and the statements and decisions of function
// bodies) through the pure virtual callbacks below, in the order the recognizer meets them. The code model
// builder implements the callbacks; the recording and null lexers implement them for tests and for runs
// without a builder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

class TokenStream;
class Recognizer;

/// Access codes of members and bases.
enum Access : int { kPublic = 1, kProtected = 2, kPrivate = 3 };

class CppLexer {
 public:
  CppLexer() = default;
  virtual ~CppLexer() = default;
  CppLexer(const CppLexer&) = delete;
  CppLexer& operator=(const CppLexer&) = delete;

  /// Reads the module of `preprocessor` to its end (or until the run is cancelled), making the callbacks
  /// for what it finds; comments after the last declaration are delivered too.
  virtual void Parse(TokenStream& preprocessor);

 protected:
  friend class Recognizer;

  /// The source line of the name of the class, function or enumeration reported last.
  uint32_t declarationLine() const { return declarationLine_; }

  /// A template head ("template<class T>") was read; an empty text after a forward class declaration.
  virtual void OnTemplatePrefix(std::string_view text) = 0;
  /// The head of a class definition is complete.
  virtual void OnClassBegin() = 0;
  /// A class definition begins with this key: "class", "struct" or "union".
  virtual void OnClassKey(std::string_view key) = 0;
  /// The name of the class begun last, qualified with "::" when written so.
  virtual void OnClassName(std::string_view name) = 0;
  /// One base of the class, with its access code and its text ("virtual Base<A, B>").
  virtual void OnBaseClass(int access, std::string_view text) = 0;
  /// The body of the class begins; the comment delivered just before belongs to the class.
  virtual void OnClassComment() = 0;
  /// The access in force from here on in the class body.
  virtual void OnAccessLabel(int access) = 0;
  /// The class begun last is complete.
  virtual void OnClassEnd() = 0;
  /// The body of an enumeration begins.
  virtual void OnEnumBegin() = 0;
  /// The name of the enumeration being read.
  virtual void OnEnumName(std::string_view name) = 0;
  /// One enumerator as written ("Red = 1") and the comment that goes with it.
  virtual void OnEnumerator(std::string_view text, std::string_view comment) = 0;
  /// The enumeration is complete.
  virtual void OnEnumEnd() = 0;
  /// A named namespace body begins.
  virtual void OnNamespaceBegin(std::string_view name) = 0;
  /// A namespace body ends.
  virtual void OnNamespaceEnd() = 0;
  /// A comment; an empty text separates the comments before and after a block. `afterDeclaration` marks
  /// a comment met at the opening brace of a function body or enumeration.
  virtual void OnComment(std::string_view text, bool afterDeclaration) = 0;
  /// A function declaration was recognised; this is its return type.
  virtual void OnReturnType(std::string_view text) = 0;
  /// The function's scope (empty, or names joined by "::") and name.
  virtual void OnFunctionName(std::string_view scope, std::string_view name) = 0;
  /// One parameter: its type resolved for comparing signatures, its type as qualified for display, its
  /// name (may be empty), its default value (may be empty) and its comment.
  virtual void OnParameter(std::string_view signatureType, std::string_view type, std::string_view name,
                           std::string_view defaultValue, std::string_view comment) = 0;
  /// What follows the parameter list: the attributes ("const", "= 0") and the throw specification.
  virtual void OnFunctionTrailer(std::string_view attributes, std::string_view throwSpec) = 0;
  /// A function or data declaration ended; `isPrototype` when it ended with ";".
  virtual void OnFunctionEnd(bool isPrototype) = 0;
  /// A statement (";") in a function body.
  virtual void OnStatement() = 0;
  /// An "if" in a function body.
  virtual void OnIf() = 0;
  /// A "&&" or "||" in a function body.
  virtual void OnLogicalOperator() = 0;
  /// A "while" in a function body.
  virtual void OnWhile() = 0;
  /// A "case" in a function body.
  virtual void OnCase() = 0;
  /// An "else" in a function body.
  virtual void OnElse() = 0;
  /// A "for" in a function body.
  virtual void OnFor() = 0;
  /// A "default" in a function body.
  virtual void OnDefault() = 0;
  /// The closing brace of a function body or skipped block.
  virtual void OnBodyEnd() = 0;
  /// A typedef begins.
  virtual void OnTypedefBegin() = 0;
  /// One token of a typedef's base type or declarators.
  virtual void OnTypedefPart(std::string_view text) = 0;
  /// The base type name of the typedef is complete.
  virtual void OnTypedefBaseEnd() = 0;
  /// One name part of the typedef's base type.
  virtual void OnTypedefDeclared(std::string_view text) = 0;
  /// A name the typedef declares.
  virtual void OnTypedefName(std::string_view name) = 0;
  /// A "," between typedef declarators.
  virtual void OnTypedefNext() = 0;
  /// The typedef is complete.
  virtual void OnTypedefEnd() = 0;
  /// Tokens now come from `fileName`; the answer is not used by the recognizer.
  virtual bool OnFileBegin(std::string_view fileName) = 0;
  /// A data declaration: its type and its name (with any array part).
  virtual void OnDataMember(std::string_view type, std::string_view name) = 0;
  /// A namespace body declared inline begins (inline namespace v9 {): its names are used without it.
  virtual void OnInlineNamespaceBegin(std::string_view name) { OnNamespaceBegin(name); }
  /// A friend declaration in a class body, as written after "friend" ("class Node", "bool operator==(A, A)").
  virtual void OnFriend(std::string_view) {}
  /// A using-declaration in a class body, as written after "using" ("Base::f").
  virtual void OnUsingDeclaration(std::string_view) {}
  /// A concept definition: its name and its constraint text; the template head came before.
  virtual void OnConcept(std::string_view, std::string_view) {}
  /// A declaration the recognizer could not make sense of, with the line it began on; it is passed over.
  virtual void OnSkippedDeclaration(std::string_view, uint32_t) {}
  /// True when `name` names a type known to the implementation.
  virtual bool IsTypeName(std::string_view name) = 0;
  /// `name` qualified by the class it is nested in, when it is a nested type; else `name`.
  virtual std::string QualifyTypeName(std::string_view name) = 0;
  /// `name` with typedefs resolved, then qualified as QualifyTypeName does.
  virtual std::string ResolveTypeName(std::string_view name) = 0;

 private:
  uint32_t declarationLine_ = 0;
};

}  // namespace quillet
