// The property rows the code model kinds share, for their property tables: "name", the comment as "text"
// and "text_summary", where an object is declared ("file", "file_url", "namespace") and the access tests;
// and the writers and testers of model text that many rows are made of. Each kind's table includes the
// sets that fit it and adds rows of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>

#include "model/model_mixins.h"
#include "model/model_properties.h"
#include "template_objects/markup.h"
#include "template_objects/property_table.h"

namespace quillet {

/// The comment templates show for an object with one comment.
inline const DocText& shownComment(const HasADoc& object) {
  return object.doc;
}
/// The comment templates show for an object with a declaration and a definition comment.
inline DocText shownComment(const HasTwoDocs& object) {
  return object.CombinedComment();
}

/// Writes the text that `Get` (a member or a const member function of T) gives for `object`, filtered.
template <typename T, auto Get>
void writeFilteredValue(const T& object, const EvaluationContext& context, std::ostream& out) {
  writeFiltered(context, out, std::invoke(Get, object));
}

/// Writes the type text that `Get` gives for `object` with the type names in it linked, resolved from the
/// object's class (its `className`). A word in a type is a type: it links to a function or variable only
/// where it is called or qualified (a template parameter `A` is not the function `A()`).
template <typename T, auto Get>
void writeLinkedValue(const T& object, const EvaluationContext& context, std::ostream& out) {
  writeLinkedText(context, out, std::invoke(Get, object), object.className, LinkWords::kProse);
}

/// Writes the whole comment, resolving links from the scope that `Scope` gives.
template <typename T, auto Scope>
void writeComment(const T& object, const EvaluationContext& context, std::ostream& out) {
  shownComment(object).WriteFull(context, std::invoke(Scope, object), out);
}

/// Writes the comment's first sentence, resolving links from the scope that `Scope` gives.
template <typename T, auto Scope>
void writeCommentSummary(const T& object, const EvaluationContext& context, std::ostream& out) {
  shownComment(object).WriteSummary(context, std::invoke(Scope, object), out);
}

/// 1 when there is a comment to show, else 0.
template <typename T>
int32_t testComment(const T& object) {
  return shownComment(object).empty() ? 0 : 1;
}

/// Writes the comment's description without its sections, resolving links from the scope `Scope` gives.
template <typename T, auto Scope>
void writeCommentDetails(const T& object, const EvaluationContext& context, std::ostream& out) {
  shownComment(object).WriteDetails(context, std::invoke(Scope, object), out);
}

/// Writes what the comment's @return says.
template <typename T, auto Scope>
void writeCommentReturns(const T& object, const EvaluationContext& context, std::ostream& out) {
  const DocText comment = shownComment(object);
  if (const CommentSections* sections = comment.sections())
    sections->returns.WriteFull(context, std::invoke(Scope, object), out);
}

/// 1 when the comment has a description (paragraphs besides its sections).
template <typename T>
int32_t testCommentDetails(const T& object) {
  return shownComment(object).paragraphs().empty() ? 0 : 1;
}

/// 1 when the comment says what is returned.
template <typename T>
int32_t testCommentReturns(const T& object) {
  const DocText comment = shownComment(object);
  return comment.sections() && !comment.sections()->returns.empty() ? 1 : 0;
}

/// 1 when the comment says the object is deprecated.
template <typename T>
int32_t testDeprecated(const T& object) {
  const DocText comment = shownComment(object);
  return comment.sections() && comment.sections()->deprecated ? 1 : 0;
}

/// 1 when the comment documents parameters with @param.
template <typename T>
int32_t testParametersDocumented(const T& object) {
  const DocText comment = shownComment(object);
  return comment.sections() && !comment.sections()->params.empty() ? 1 : 0;
}

/// The view of the section list `List` of the comment, resolving links from the scope `Scope` gives.
template <typename T, auto Scope, CommentList List>
StyleSheetObject* commentSectionList(T& object) {
  return object.commentLists.over(shownComment(object), List, std::invoke(Scope, object));
}

/// Writes the file name and extension of the declaring file, filtered.
template <typename T>
void writeDeclaringFile(const T& object, const EvaluationContext& context, std::ostream& out) {
  writeFileProperty(context, out, object.file);
}

/// Writes a reference from the current output file to the declaring file.
template <typename T>
void writeDeclaringFileUrl(const T& object, const EvaluationContext& context, std::ostream& out) {
  writeFileUrl(context, out, object.file);
}

/// Writes where the object is declared, linked to its line on the file's source page when there is one.
template <typename T>
void writeDeclaredAt(const T& object, const EvaluationContext& context, std::ostream& out) {
  writeSourcePlace(context, out, object.file, object.line);
}

/// 1 when the object's declaring file is known.
template <typename T>
int32_t testDeclaredAt(const T& object) {
  return object.file.empty() ? 0 : 1;
}

/// 1 when the object's access is `Access`, else 0.
template <typename T, AccessCode Access>
int32_t testAccess(const T& object) {
  return object.access == Access ? 1 : 0;
}

/// "name": the name, filtered.
template <typename T>
inline constexpr PropertyRow<T> kNameProperty[] = {
    {"name", writeFilteredValue<T, &T::name>},
};

/// "text": the whole comment with links resolved from the scope `Scope` gives; as a test, whether there is
/// a comment.
template <typename T, auto Scope>
inline constexpr PropertyRow<T> kTextProperty[] = {
    {"text", writeComment<T, Scope>, testComment<T>},
};

/// "text_summary": the comment's first sentence with links resolved from the scope `Scope` gives.
template <typename T, auto Scope>
inline constexpr PropertyRow<T> kTextSummaryProperty[] = {
    {"text_summary", writeCommentSummary<T, Scope>},
};

/// The parts of a comment written with comment commands: "brief" (the summary), "details" (the description
/// without the sections), "returns" (also a test), the tests "deprecated" and "has_params_doc", and the
/// lists "param_list", "tparam_list", "retval_list", "throws_list", "see_list" and "notes_list"; links are
/// resolved from the scope `Scope` gives.
template <typename T, auto Scope>
inline constexpr PropertyRow<T> kCommentSectionProperties[] = {
    {"brief", writeCommentSummary<T, Scope>, testComment<T>},
    {"details", writeCommentDetails<T, Scope>, testCommentDetails<T>},
    {"returns", writeCommentReturns<T, Scope>, testCommentReturns<T>},
    {"deprecated", nullptr, testDeprecated<T>},
    {"has_params_doc", nullptr, testParametersDocumented<T>},
    {"param_list", nullptr, nullptr, commentSectionList<T, Scope, CommentList::kParams>},
    {"tparam_list", nullptr, nullptr, commentSectionList<T, Scope, CommentList::kTemplateParams>},
    {"retval_list", nullptr, nullptr, commentSectionList<T, Scope, CommentList::kReturnValues>},
    {"throws_list", nullptr, nullptr, commentSectionList<T, Scope, CommentList::kExceptions>},
    {"see_list", nullptr, nullptr, commentSectionList<T, Scope, CommentList::kSeeAlso>},
    {"notes_list", nullptr, nullptr, commentSectionList<T, Scope, CommentList::kNotes>},
};

/// "file" (the declaring file's name), "file_url" (a reference to it from the current output file),
/// "declared_at" (file and line, linked to the source page) and "namespace" (as a test, whether there is
/// one), of an object with `file`, `line` and `nameSpace` members.
template <typename T>
inline constexpr PropertyRow<T> kDeclarationProperties[] = {
    {"file", writeDeclaringFile<T>},
    {"file_url", writeDeclaringFileUrl<T>},
    {"declared_at", writeDeclaredAt<T>, testDeclaredAt<T>},
    {"namespace", writeFilteredValue<T, &T::nameSpace>, testNotEmpty<T, &T::nameSpace>},
};

/// "public", "protected" and "private": tests of whether the object has that access.
template <typename T>
inline constexpr PropertyRow<T> kAccessTests[] = {
    {"public", nullptr, testAccess<T, kAccessPublic>},
    {"protected", nullptr, testAccess<T, kAccessProtected>},
    {"private", nullptr, testAccess<T, kAccessPrivate>},
};

}  // namespace quillet
