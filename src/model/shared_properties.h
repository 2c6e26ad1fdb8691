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

/// Writes the text that `Get` gives for `object` with the type names in it linked, resolved from the
/// object's class (its `className`).
template <typename T, auto Get>
void writeLinkedValue(const T& object, const EvaluationContext& context, std::ostream& out) {
  writeLinkedText(context, out, std::invoke(Get, object), object.className);
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

/// "file" (the declaring file's name), "file_url" (a reference to it from the current output file) and
/// "namespace" (as a test, whether there is one), of an object with `file` and `nameSpace` members.
template <typename T>
inline constexpr PropertyRow<T> kDeclarationProperties[] = {
    {"file", writeDeclaringFile<T>},
    {"file_url", writeDeclaringFileUrl<T>},
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
