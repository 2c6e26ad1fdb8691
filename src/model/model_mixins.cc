#include "model/model_mixins.h"

#include "config/configuration.h"

namespace quillet {

int32_t currentCommentSelection() {
  const Configuration* configuration = currentConfiguration();
  return configuration ? configuration->duplicateCommentChoice() : kUseLargestComment;
}

DocText HasTwoDocs::CombinedComment() const {
  return CombinedComment(currentCommentSelection());
}

DocText HasTwoDocs::CombinedComment(int32_t selection) const {
  switch (selection) {
    case kUseLargestComment:
      return definitionDoc.size() > declarationDoc.size() ? definitionDoc : declarationDoc;
    case kPreferDeclarationComment:
      return declarationDoc.empty() ? definitionDoc : declarationDoc;
    case kPreferDefinitionComment:
      return definitionDoc.empty() ? declarationDoc : definitionDoc;
    case kOnlyDefinitionComment:
      return definitionDoc;
    case kConcatenateComments: {
      DocText both = declarationDoc;
      both.append(definitionDoc);
      return both;
    }
    case kOnlyDeclarationComment:
    default:
      return declarationDoc;
  }
}

void HasTwoDocs::TakeDefinitionComment() {
  declarationDoc = definitionDoc;
  definitionDoc.clear();
}

std::string_view fileNameOf(std::string_view path) {
  const size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

void forgetCommentFrom(DocText& comment, std::string_view fileName) {
  if (!comment.empty() && fileNameOf(comment.fileName()) == fileNameOf(fileName)) comment.clear();
}

}  // namespace quillet
