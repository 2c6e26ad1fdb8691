// The declaration recognizer: the state machine that CppLexer::Parse runs over the tokens of one module.
// It reacts to a small set of token kinds, looks a few tokens ahead where it must, skips everything else
// and reports what it finds through the callbacks of its CppLexer. It never reports an error: tokens a
// state does not expect are passed over or make the state fall back. Used only by CppLexer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frontend/preprocessor/token.h"
#include "frontend/recognizer/cpp_lexer.h"
#include "frontend/recognizer/token_cursor.h"

namespace quillet {

// The recognizer's states; the numbers are the values on its state stack, the names are what the token
// trace writes.
enum class RecognizerState : int32_t {
  EMPTY = 1,
  EMPTY_EXTERN_C,
  EMPTY_NAMESPACE,
  TEMPLATE,
  IN_SCOPE,
  IN_ENUM,
  IN_FRIEND,
  IN_NAMESPACE_DECL,
  IN_USING,
  CLASS_DECL,
  STRUCT_DECL,
  CLASS_PARENTS,
  CLASS_END,
  IN_CLASS,
  IN_TYPEDEF_BASE,
  IN_TYPEDEF_BASE_LINK,
  IN_TYPEDEF_BACK,
  IN_TYPEDEF_ANON_ENUM,
  IN_TYPEDEF_ANON_STRUCT_BACK,
  IN_DECL_SPEC,
  VAR_OR_FUNC_DECL,
  MEMBER_FNC_INIT,
};

/// The trace name of `state` ("EMPTY", "IN_CLASS", ...).
const char* stateName(RecognizerState state);

class Recognizer {
 public:
  /// How far any look-ahead reads before it gives up; well below what the cursor holds.
  static constexpr size_t kLookAhead = 64;
  /// How many tokens one declaration may gather; a longer one is abandoned.
  static constexpr size_t kMaxDeclarationTokens = 1 << 16;

  Recognizer(CppLexer& lexer, TokenStream& preprocessor);
  Recognizer(const Recognizer&) = delete;
  Recognizer& operator=(const Recognizer&) = delete;

  /// Runs over the whole module (or until the run is cancelled).
  void run();

 private:
  using State = RecognizerState;

  // A token of a class head, kept to find the class name when the head is complete.
  struct HeadToken {
    int32_t kind;
    std::string text;
    uint32_t line = 0;
  };

  // The state stack; every change is written to the token trace.
  void push(State state);
  void pop();
  void replace(State state);
  State top() const { return stack_.back(); }
  void traceTop() const;

  void dispatch(const token_t& token);

  // Comments (recognizer_comments.cc).
  void deliverComments(const token_t& token);
  void deliverCombined(const token_t& token, bool afterDeclaration);
  void deliverHeadComment(const token_t& token);
  std::string ownComment(const token_t& token) const;
  bool partlyClaimed(const token_t& token) const;
  std::string takeTrailingComment(const token_t& next, uint32_t line, bool markedOnly);

  // File level, namespaces, class bodies and the small skipping states (recognizer_scopes.cc).
  void onEmpty(const token_t& token);
  bool onDeclarationStart(const token_t& token);
  void onInClass(const token_t& token);
  void onTemplate(const token_t& token);
  void onFriend(const token_t& token);
  void onNamespaceDecl(const token_t& token);
  void onNamespaceEnd();
  void onUsing(const token_t& token);
  void startUsing(bool inClass);
  bool readAlias();
  void readConcept();
  void readRequiresClause(std::string& text);
  void skipped(std::string_view why);
  void onDeclSpec(const token_t& token);
  void onScope(const token_t& token);
  void startDeclSpec(const token_t& token);

  // Classes and enumerations (recognizer_classes.cc).
  void onClassKey(const token_t& token);
  void enterClassDecl(const std::string& key);
  void onClassDecl(const token_t& token);
  void beginClass();
  void onClassParents(const token_t& token);
  void onClassEnd(const token_t& token);
  void onEnumKeyword();
  void enterEnum(State state);
  void onEnum(const token_t& token, bool inTypedef);
  void endEnumerator(uint32_t line, const token_t& next);
  std::string enumName() const;

  // Typedefs (recognizer_typedefs.cc).
  void onTypedefBase(const token_t& token);
  void onTypedefBaseLink(const token_t& token);
  void onTypedefBack(const token_t& token);
  void onTypedefAnonStructBack(const token_t& token);
  void typedefTagName(const token_t& tag);
  void endTypedefDeclarators();

  // Function and data declarations (recognizer_declarations.cc).
  void onVarOrFuncDecl(const token_t& token);
  void onMemberInit(const token_t& token);
  bool endsDeclaration(const token_t& token) const;
  void accumulate(const token_t& token);
  void abandonDeclaration();
  void analyseDeclaration(const token_t& terminator);
  void reportFunction(size_t open, size_t close, size_t throwAt);
  void reportParameters(size_t open, size_t close);
  void reportParameter(size_t begin, size_t end);
  void reportData(const token_t& terminator);
  std::string buildTypeText(const std::vector<const token_t*>& words, bool resolve);

  // Look-ahead (recognizer.cc). Each returns the cursor to where it started.
  bool isClassDefinition();
  bool braceFollows(int tokens);
  enum class EnumHead { kDefinition, kOpaque, kOther };
  EnumHead enumHead();
  // Attribute groups: __attribute__((...)), alignas(...) and [[...]].
  bool startsAttribute(const token_t& token);
  void skipAttribute(const token_t& token);
  size_t skipGroup(int32_t open, int32_t close, bool inside, size_t limit);

  CppLexer& lexer_;
  TokenStream& preprocessor_;
  TokenCursor cursor_;
  std::vector<State> stack_;
  std::string fileName_;
  bool trace_ = false;
  bool verbose_ = false;
  bool commentsAfterPrototype_ = false;

  // The part of a comment block that the declaration before it took as its trailing comment.
  std::shared_ptr<CommentBlock> claimed_;
  size_t claimedLength_ = 0;

  int braceDepth_ = 0;
  int baseAccess_ = kPrivate;
  int templateDepth_ = 0;
  std::string baseText_;
  std::vector<token_t> accumulated_;

  int declSpecDepth_ = 0;
  std::vector<HeadToken> classHead_;
  int classHeadAngles_ = 0;
  bool classIsStruct_ = false;
  int enumParens_ = 0;
  bool enumOpen_ = false;
  uint32_t enumPreviousLine_ = 0;  // the line of the "{" or "," before the enumerator being read
  int typedefAngles_ = 0;
  int typedefParens_ = 0;
  bool typedefDeclarator_ = false;           // inside the parentheses of (*Name)
  bool typedefAfterDeclarator_ = false;      // after them: the parameter list follows
  std::vector<std::string> namespaceNames_;  // names read in IN_NAMESPACE_DECL
  std::vector<bool> namespaceInline_;        // whether each of them was declared inline
  bool nextNamespaceInline_ = false;
  std::string friendText_;
  std::vector<size_t> namespaceLevels_;  // OnNamespaceBegin calls per open namespace body

  // The declaration being gathered in VAR_OR_FUNC_DECL.
  int declParens_ = 0;
  int declBraces_ = 0;
  uint32_t declPreviousLine_ = 0;  // the line of the token before the declaration
  token_t attributeLead_;  // the first token of an attribute group before a declaration, for its comment
  uint32_t attributeLeadPreviousLine_ = 0;
  bool hasAttributeLead_ = false;
  int friendParens_ = 0;
  bool reportedFunction_ = false;  // the declaration analysed last was a function

  // The initializer list or bit-field width skipped in MEMBER_FNC_INIT.
  int initParens_ = 0;
  int initBraces_ = 0;
  int32_t initLastKind_ = 0;
};

}  // namespace quillet
