// The small field mixins the code model classes are composed of: a name, one comment or the two comments
// of a function (at its declaration and at its definition), an access code and an enclosing namespace.
// The model classes (class.h, function.h, enum.h, data_decl.h) derive from them; the code model builder
// and comment association fill their fields directly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/comment_sections.h"
#include "model/doc_text.h"

namespace quillet {

/// Access codes of members, bases and model objects; public sorts lowest.
enum AccessCode : int32_t { kAccessPublic = 1, kAccessProtected = 2, kAccessPrivate = 3 };

/// The choices of which of a function's two comments a template shows.
enum CommentSelection : int32_t {
  kUseLargestComment = 0,
  kPreferDeclarationComment = 1,
  kPreferDefinitionComment = 2,
  kOnlyDeclarationComment = 3,
  kOnlyDefinitionComment = 4,
  kConcatenateComments = 5,
};

struct HasAName {
  std::string name;
};

struct HasADoc {
  DocText doc;
  /// The views templates loop over the comment's sections through.
  CommentListViews commentLists;
};

class HasTwoDocs {
 public:
  /// The comment found at the entity's declaration.
  DocText declarationDoc;
  /// The comment found at the entity's definition.
  DocText definitionDoc;
  /// The views templates loop over the shown comment's sections through.
  CommentListViews commentLists;

  /// The comment a template shows, chosen by the run's comment selection (kUseLargestComment outside a
  /// run).
  DocText CombinedComment() const;
  /// The comment chosen by `selection`; a value outside 0 to 5 behaves as kOnlyDeclarationComment.
  DocText CombinedComment(int32_t selection) const;
  /// The declaration comment becomes the definition comment and the definition comment becomes empty.
  virtual void TakeDefinitionComment();

 protected:
  HasTwoDocs() = default;
  HasTwoDocs(const HasTwoDocs&) = default;
  HasTwoDocs(HasTwoDocs&&) noexcept = default;
  HasTwoDocs& operator=(const HasTwoDocs&) = default;
  HasTwoDocs& operator=(HasTwoDocs&&) noexcept = default;
  ~HasTwoDocs() = default;
};

struct HasProtection {
  int32_t access = kAccessPublic;
};

struct HasANameSpace {
  std::string nameSpace;
};

/// The run's comment selection, or kUseLargestComment outside a run.
int32_t currentCommentSelection();

/// True when `text` begins with `prefix`.
inline bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

/// The file name and extension of `path`, without folders ("/" and "\" both separate).
std::string_view fileNameOf(std::string_view path);

/// Empties `comment` when it came from a file with the same name and extension as `fileName` (folders
/// ignored, case-sensitive).
void forgetCommentFrom(DocText& comment, std::string_view fileName);

}  // namespace quillet
