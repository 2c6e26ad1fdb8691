// Which comment the recognizer hands on with which declaration. Comments ride on the token after them, so a
// comment written after a declaration on its line (int x; ///< the x) rides on the next declaration's
// first token. The declaration that ends takes that trailing part (its first line, the lines that continue
// it, and any comment marked with "<" as documenting what precedes it) and claims it, so that the next
// declaration gets only the rest. Lint suppressions (// NOLINT...) document nothing and are left out
// everywhere.
#include <algorithm>
#include <string_view>

#include "frontend/recognizer/comment_markers.h"
#include "frontend/recognizer/recognizer.h"
#include "frontend/recognizer/type_text.h"

namespace quillet {

std::string Recognizer::ownComment(const token_t& token) const {
  std::string text;
  if (!token.comment) return text;
  for (size_t i = 0; i < token.comment->size(); ++i) {
    std::string_view part = (*token.comment)[i];
    if (i == 0 && token.comment == claimed_) part.remove_prefix(std::min(claimedLength_, part.size()));
    text += part;
  }
  dropLintSuppressions(text);
  return text;
}

bool Recognizer::partlyClaimed(const token_t& token) const {
  return token.comment && token.comment == claimed_;
}

std::string Recognizer::takeTrailingComment(const token_t& next, uint32_t line, bool markedOnly) {
  if (!next.comment || next.comment->empty()) return {};
  const std::string& first = next.comment->front();
  if (next.comment == claimed_) {
    std::string again = first.substr(0, claimedLength_);
    dropLintSuppressions(again);
    return again;
  }
  const size_t length = trailingCommentLength(first, next.commentLine == line, markedOnly);
  if (length == 0) return {};
  claimed_ = next.comment;
  claimedLength_ = length;
  std::string taken = first.substr(0, length);
  dropLintSuppressions(taken);
  return taken;
}

void Recognizer::deliverComments(const token_t& token) {
  if (!token.comment) return;
  for (size_t i = 0; i < token.comment->size(); ++i) {
    std::string text = (*token.comment)[i];
    if (i == 0 && token.comment == claimed_) text.erase(0, claimedLength_);
    dropLintSuppressions(text);
    if (text.empty() && !(*token.comment)[i].empty()) continue;  // nothing of it was left
    lexer_.OnComment(text, false);
  }
}

void Recognizer::deliverCombined(const token_t& token, bool afterDeclaration) {
  if (!token.comment || token.comment->empty()) return;
  const std::string text = ownComment(token);
  if (!text.empty()) lexer_.OnComment(text, afterDeclaration);
}

void Recognizer::deliverHeadComment(const token_t& token) {
  if (!token.comment || token.comment->empty()) return;
  const std::string text = ownComment(token);
  // A plain comment inside a class head (class X // NOLINT, or a note after the name) does not displace a
  // documentation block written before the class.
  if (!text.empty()) lexer_.OnComment(text, !isDocumentationComment(text));
}

}  // namespace quillet
