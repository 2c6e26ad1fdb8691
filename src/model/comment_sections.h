// The structured part of a comment written with comment commands, kept beside its description: the
// parameters (@param, with their direction), template parameters, the return text and return values, the
// exceptions, the see-also references and the notes (@pre, @post, @note, @warning, @since, @deprecated,
// ...), with an explicit brief. DocText holds one when its comment has any; the model objects hand its
// lists to templates through CommentListViews ("param_list", "notes_list", ...).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "model/comment_paragraphs.h"
#include "model/doc_text.h"
#include "template_objects/style_sheet_object.h"

namespace quillet {

/// One entry of a section: a documented parameter, template parameter, return value, exception, see-also
/// reference or note.
struct CommentItem {
  /// "param", "tparam", "retval", "throws", "see", or the kind of a note ("note", "warning", "pre", ...).
  std::string kind;
  /// The parameter names (joined with ", "), the value, the exception type or a note's title.
  std::string name;
  /// "in", "out" or "in,out" for a parameter written with a direction; empty otherwise.
  std::string direction;
  DocText text;
};

/// The sections of a structured comment, each list in the order written.
struct CommentSections {
  std::vector<CommentItem> params;
  std::vector<CommentItem> templateParams;
  std::vector<CommentItem> returnValues;
  std::vector<CommentItem> exceptions;
  std::vector<CommentItem> seeAlso;
  std::vector<CommentItem> notes;
  DocText returns;
  bool deprecated = false;
  /// The brief @brief gave (the first sentence stands for it when there is none).
  bool hasBrief = false;
  DocParagraph brief;

  /// True when no section has anything.
  bool empty() const;
  /// The summed size of the texts.
  size_t size() const;
  /// Adds the sections of `other` after these (its brief only when these have none).
  void append(const CommentSections& other);
  /// The text @param gave the parameter `name`, or null.
  const DocText* parameterText(std::string_view name) const;
  /// The @param entry that names the parameter `name`, or null.
  const CommentItem* parameter(std::string_view name) const;
};

/// The section lists a template can loop over.
enum class CommentList : uint8_t { kParams, kTemplateParams, kReturnValues, kExceptions, kSeeAlso, kNotes };

/// The heading of a note of the kind `kind` ("Note", "Warning", "Precondition", ...).
std::string_view noteTitle(std::string_view kind);

/// Writes the sections after a comment's description, for templates that show only "text": a definition
/// list in HTML, paragraphs in RTF. Names are linked within `classContext`.
void writeSections(const CommentSections& sections, const EvaluationContext& context,
                   std::string_view classContext, std::ostream& out);

/// One section list of a comment as a list of style sheet objects. Its elements answer "kind", "name",
/// "direction", "title" and "text" (linked within the scope the view was bound to), and the tests "text",
/// "direction", "in" and "out".
class CommentItemList final : public StyleSheetObject {
 public:
  CommentItemList() = default;
  CommentItemList(const CommentItemList&) = delete;
  CommentItemList& operator=(const CommentItemList&) = delete;
  ~CommentItemList() = default;

  /// Shows the list `list` of `comment` (which the view keeps), linking within `scope`; a view shown
  /// already stays as it is, so that a page reading it is never disturbed by another asking for it.
  void bind(const DocText& comment, CommentList list, std::string_view scope);

  /// Knows nothing.
  bool WriteProperty(const EvaluationContext&, std::string_view, std::ostream&) override { return false; }
  /// The list's name ("param_list", ...).
  std::string_view TypeName() const override;
  /// "size": the number of entries.
  bool Test(std::string_view property, int32_t& value) const override;
  /// The number of entries.
  size_t Count() const override { return items_.size(); }
  /// The entry at `index`, or null.
  StyleSheetObject* At(size_t index) override;

 private:
  class Item final : public StyleSheetObject {
   public:
    Item(const CommentItem& item, const CommentItemList& list) : item_(&item), list_(&list) {}
    bool WriteProperty(const EvaluationContext& context, std::string_view property,
                       std::ostream& out) override;
    std::string_view TypeName() const override;
    bool Test(std::string_view property, int32_t& value) const override;

   private:
    const CommentItem* item_;
    const CommentItemList* list_;
  };

  CommentList list_ = CommentList::kParams;
  bool bound_ = false;
  DocText comment_;
  std::string scope_;
  std::vector<Item> items_;
};

/// The section list views of one model object, made when a template first asks for one. A copy starts
/// without views of its own, so that a view always shows the object it was asked from.
class CommentListViews {
 public:
  CommentListViews() = default;
  CommentListViews(const CommentListViews&) noexcept {}
  CommentListViews(CommentListViews&&) noexcept {}
  CommentListViews& operator=(const CommentListViews&) noexcept { return *this; }
  CommentListViews& operator=(CommentListViews&&) noexcept { return *this; }
  ~CommentListViews();

  /// The view of the list `list` of `comment`, linking within `scope`. Pages written side by side may ask
  /// at once.
  StyleSheetObject* over(const DocText& comment, CommentList list, std::string_view scope);

 private:
  std::mutex mutex_;
  std::unique_ptr<std::array<CommentItemList, 6>> views_;
};

}  // namespace quillet
