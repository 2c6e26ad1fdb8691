#include "model/comment_sections.h"

#include <ostream>

#include "model/model_properties.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/markup.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

constexpr std::array<std::string_view, 6> kListNames = {"param_list",  "tparam_list", "retval_list",
                                                        "throws_list", "see_list",    "notes_list"};
constexpr std::array<std::string_view, 6> kItemNames = {"param", "tparam", "retval", "throws", "see", "note"};

const std::vector<CommentItem>& itemsOf(const CommentSections& sections, CommentList list) {
  switch (list) {
    case CommentList::kParams:
      return sections.params;
    case CommentList::kTemplateParams:
      return sections.templateParams;
    case CommentList::kReturnValues:
      return sections.returnValues;
    case CommentList::kExceptions:
      return sections.exceptions;
    case CommentList::kSeeAlso:
      return sections.seeAlso;
    case CommentList::kNotes:
      break;
  }
  return sections.notes;
}

size_t textSize(const std::vector<CommentItem>& items) {
  size_t size = 0;
  for (const CommentItem& item : items) size += item.name.size() + item.text.size();
  return size;
}

void appendItems(std::vector<CommentItem>& to, const std::vector<CommentItem>& from) {
  to.insert(to.end(), from.begin(), from.end());
}

bool writesHtml(const EvaluationContext& context) {
  return context.filter != nullptr && context.filter->markupKind() == kHtmlMarkup;
}

// The heading of a list for templates that show only "text".
std::string_view listTitle(CommentList list) {
  switch (list) {
    case CommentList::kParams:
      return "Parameters";
    case CommentList::kTemplateParams:
      return "Template parameters";
    case CommentList::kReturnValues:
      return "Return values";
    case CommentList::kExceptions:
      return "Throws";
    case CommentList::kSeeAlso:
      return "See also";
    case CommentList::kNotes:
      break;
  }
  return "";
}

// One entry as "name (direction): text" in the output format.
void writeEntry(const CommentItem& item, bool named, const EvaluationContext& context,
                std::string_view classContext, std::ostream& out) {
  const bool html = writesHtml(context);
  if (named && !item.name.empty()) {
    out << (html ? "<CODE>" : "{\\b ");
    writeLinkedText(context, out, item.name, classContext);
    out << (html ? "</CODE>" : "}");
    if (!item.direction.empty()) writeFiltered(context, out, " [" + item.direction + "]");
    if (!item.text.empty()) writeFiltered(context, out, " ");
  }
  item.text.WriteFull(context, classContext, out);
}

}  // namespace

bool CommentSections::empty() const {
  return params.empty() && templateParams.empty() && returnValues.empty() && exceptions.empty() &&
         seeAlso.empty() && notes.empty() && returns.empty() && !deprecated && !hasBrief;
}

size_t CommentSections::size() const {
  return textSize(params) + textSize(templateParams) + textSize(returnValues) + textSize(exceptions) +
         textSize(seeAlso) + textSize(notes) + returns.size();
}

void CommentSections::append(const CommentSections& other) {
  appendItems(params, other.params);
  appendItems(templateParams, other.templateParams);
  appendItems(returnValues, other.returnValues);
  appendItems(exceptions, other.exceptions);
  appendItems(seeAlso, other.seeAlso);
  appendItems(notes, other.notes);
  returns.append(other.returns);
  deprecated = deprecated || other.deprecated;
  if (!hasBrief && other.hasBrief) {
    hasBrief = true;
    brief = other.brief;
  }
}

const CommentItem* CommentSections::parameter(std::string_view name) const {
  for (const CommentItem& item : params) {
    std::string_view names = item.name;
    while (!names.empty()) {
      const size_t comma = names.find(", ");
      if (names.substr(0, comma) == name) return &item;
      if (comma == std::string_view::npos) break;
      names.remove_prefix(comma + 2);
    }
  }
  return nullptr;
}

const DocText* CommentSections::parameterText(std::string_view name) const {
  const CommentItem* item = parameter(name);
  return item ? &item->text : nullptr;
}

std::string_view noteTitle(std::string_view kind) {
  static constexpr std::pair<std::string_view, std::string_view> kTitles[] = {
      {"attention", "Attention"}, {"author", "Author"},  {"bug", "Bug"},
      {"copyright", "Copyright"}, {"date", "Date"},      {"deprecated", "Deprecated"},
      {"invariant", "Invariant"}, {"note", "Note"},      {"post", "Postcondition"},
      {"pre", "Precondition"},    {"remark", "Remark"},  {"since", "Since"},
      {"test", "Test"},           {"todo", "To do"},     {"version", "Version"},
      {"warning", "Warning"},     {"return", "Returns"},
  };
  for (const auto& [name, title] : kTitles)
    if (name == kind) return title;
  return kind;
}

void writeSections(const CommentSections& sections, const EvaluationContext& context,
                   std::string_view classContext, std::ostream& out) {
  const bool html = writesHtml(context);
  bool any = false;
  const auto heading = [&](std::string_view title) {
    if (html) {
      if (!any) out << "<DL CLASS=QLCMT>\n";
      out << "<DT>";
      writeFiltered(context, out, title);
      out << "</DT>\n";
    } else {
      out << "\\par {\\b ";
      writeFiltered(context, out, title);
      out << "}";
    }
    any = true;
  };
  const auto entry = [&](const CommentItem& item, bool named) {
    out << (html ? "<DD>" : "\\par ");
    writeEntry(item, named, context, classContext, out);
    if (html) out << "</DD>\n";
  };
  for (CommentList list : {CommentList::kTemplateParams, CommentList::kParams}) {
    const std::vector<CommentItem>& items = itemsOf(sections, list);
    if (items.empty()) continue;
    heading(listTitle(list));
    for (const CommentItem& item : items) entry(item, true);
  }
  if (!sections.returns.empty()) {
    heading(noteTitle("return"));
    entry({"return", "", "", sections.returns}, false);
  }
  for (CommentList list : {CommentList::kReturnValues, CommentList::kExceptions}) {
    const std::vector<CommentItem>& items = itemsOf(sections, list);
    if (items.empty()) continue;
    heading(listTitle(list));
    for (const CommentItem& item : items) entry(item, true);
  }
  for (const CommentItem& note : sections.notes) {
    heading(note.kind == "par" && !note.name.empty() ? std::string_view(note.name) : noteTitle(note.kind));
    entry(note, false);
  }
  if (!sections.seeAlso.empty()) {
    heading(listTitle(CommentList::kSeeAlso));
    for (const CommentItem& item : sections.seeAlso) entry(item, false);
  }
  if (any && html) out << "</DL>\n";
}

void CommentItemList::bind(const DocText& comment, CommentList list, std::string_view scope) {
  if (bound_ && list_ == list && comment_.sections() == comment.sections() && scope_ == scope) return;
  bound_ = true;
  list_ = list;
  comment_ = comment;
  scope_.assign(scope);
  items_.clear();
  if (const CommentSections* sections = comment_.sections())
    for (const CommentItem& item : itemsOf(*sections, list)) items_.emplace_back(item, *this);
}

std::string_view CommentItemList::TypeName() const {
  return kListNames[static_cast<size_t>(list_)];
}

bool CommentItemList::Test(std::string_view property, int32_t& value) const {
  if (property != "size") return false;
  value = static_cast<int32_t>(items_.size());
  return true;
}

StyleSheetObject* CommentItemList::At(size_t index) {
  return index < items_.size() ? &items_[index] : nullptr;
}

bool CommentItemList::Item::WriteProperty(const EvaluationContext& context, std::string_view property,
                                          std::ostream& out) {
  const std::string_view scope = list_->scope_;
  if (property == "text") {
    item_->text.WriteFull(context, scope, out);
  } else if (property == "name") {
    // An exception's name is a type, which links wherever it is documented.
    if (item_->kind == "throws") {
      writeLinkedText(context, out, item_->name, scope);
    } else {
      writeFiltered(context, out, item_->name);
    }
  } else if (property == "direction") {
    writeFiltered(context, out, item_->direction);
  } else if (property == "kind") {
    writeFiltered(context, out, item_->kind);
  } else if (property == "title") {
    // The heading of a note; the entries of the other lists are headed by their list.
    if (list_->list_ == CommentList::kNotes)
      writeFiltered(context, out,
                    item_->kind == "par" && !item_->name.empty() ? std::string_view(item_->name)
                                                                 : noteTitle(item_->kind));
  } else {
    return false;
  }
  return true;
}

std::string_view CommentItemList::Item::TypeName() const {
  return kItemNames[static_cast<size_t>(list_->list_)];
}

bool CommentItemList::Item::Test(std::string_view property, int32_t& value) const {
  if (property == "text") {
    value = item_->text.empty() ? 0 : 1;
  } else if (property == "direction") {
    value = item_->direction.empty() ? 0 : 1;
  } else if (property == "in") {
    value = item_->direction.starts_with("in") ? 1 : 0;
  } else if (property == "out") {
    value = item_->direction.ends_with("out") ? 1 : 0;
  } else {
    return false;
  }
  return true;
}

CommentListViews::~CommentListViews() = default;

StyleSheetObject* CommentListViews::over(const DocText& comment, CommentList list, std::string_view scope) {
  const std::lock_guard lock(mutex_);
  if (!views_) views_ = std::make_unique<std::array<CommentItemList, 6>>();
  CommentItemList& view = (*views_)[static_cast<size_t>(list)];
  view.bind(comment, list, scope);
  return &view;
}

}  // namespace quillet
