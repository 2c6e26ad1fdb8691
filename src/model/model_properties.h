// Property writing shared by the code model classes: filtered text, the "file" and "file_url" properties,
// the output file stem of one-file-per-object output, and the list views a model object holds over its own
// collections.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "template_objects/style_sheet_object_list.h"

namespace quillet {

class Configuration;
struct EvaluationContext;

/// Writes `text` through the context's output filter (unchanged when there is none).
void writeFiltered(const EvaluationContext& context, std::ostream& out, std::string_view text);
/// Writes the file name and extension of `file`, filtered.
void writeFileProperty(const EvaluationContext& context, std::ostream& out, std::string_view file);
/// Writes a reference from the context's current output file to `file`: a relative path with "/"
/// separators when one exists, else "file:///" and the absolute path.
void writeFileUrl(const EvaluationContext& context, std::ostream& out, std::string_view file);
/// Writes where a declaration stands, "file.h:123" (the line left out when it is 0); in HTML, when a source
/// page of `file` is anchored in the context's link index, as a link to that line of the page.
void writeSourcePlace(const EvaluationContext& context, std::ostream& out, std::string_view file,
                      int32_t line);
/// The file name of the configured HTML output file without folder and extension, "_" and `anchorName`.
std::string objectFileName(std::string_view anchorName);

/// `name` with the punctuation of template arguments spelled out for anchors ("<" LT, ">" GT, "*" Ptr,
/// "&" Ref), so that X<T*> and X<T&> keep anchors of their own.
std::string spellArguments(std::string_view name);
/// The run's configuration, or a default one outside a run.
const Configuration& runConfiguration();

/// A list view that a model object keeps over one of its own collections. A copied owner gets a fresh,
/// unbound view; `over` points the view at the owner's collection each time it is handed out, so a view
/// always shows the collection of the object it was asked from.
template <typename Collection>
class OwnedListView {
 public:
  /// A view called `name` (a string literal).
  explicit OwnedListView(std::string_view name) : view_(name, nullptr) {}
  OwnedListView(const OwnedListView& other) noexcept : view_(other.view_.TypeName(), nullptr) {}
  OwnedListView& operator=(const OwnedListView&) noexcept { return *this; }

  /// The view, showing `items`.
  StyleSheetObject* over(Collection& items) {
    view_.bind(&items);
    return &view_;
  }

 private:
  StyleSheetObjectVectorList<Collection> view_;
};

}  // namespace quillet
