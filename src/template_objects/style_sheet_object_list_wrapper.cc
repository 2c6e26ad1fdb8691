#include "template_objects/style_sheet_object_list_wrapper.h"

#include <limits>
#include <utility>

namespace quillet {

namespace {

int32_t clampToInt32(size_t n) {
  return n > static_cast<size_t>(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                                      : static_cast<int32_t>(n);
}

}  // namespace

StyleSheetObjectListWrapper::StyleSheetObjectListWrapper(StyleSheetObject* list,
                                                         std::vector<size_t> selection)
    : list_(list), selection_(std::move(selection)), base_(list) {
  if (const auto* inner = dynamic_cast<const StyleSheetObjectListWrapper*>(list)) {
    base_ = inner->base_;
    baseSelection_.reserve(selection_.size());
    for (size_t position : selection_)
      baseSelection_.push_back(position < inner->baseSelection_.size() ? inner->baseSelection_[position]
                                                                       : SIZE_MAX);
  } else {
    baseSelection_ = selection_;
  }
}

StyleSheetObjectListWrapper::StyleSheetObjectListWrapper(const StyleSheetObjectListWrapper& other,
                                                         StyleSheetObject* list)
    : list_(list),
      selection_(other.selection_),
      base_(other.base_),
      baseSelection_(other.baseSelection_),
      current_(other.current_) {}

std::unique_ptr<StyleSheetObjectListWrapper> StyleSheetObjectListWrapper::copyOver(StyleSheetObject* list) const {
  return std::unique_ptr<StyleSheetObjectListWrapper>(new StyleSheetObjectListWrapper(*this, list));
}

bool StyleSheetObjectListWrapper::WriteProperty(const EvaluationContext& context, std::string_view property,
                                                std::ostream& out) {
  return list_ && list_->WriteProperty(context, property, out);
}

std::string_view StyleSheetObjectListWrapper::TypeName() const {
  return base_ ? base_->TypeName() : std::string_view();
}

std::string StyleSheetObjectListWrapper::FullName() const {
  return list_ ? list_->FullName() : std::string();
}

std::string StyleSheetObjectListWrapper::AnchorName() const {
  return list_ ? list_->AnchorName() : std::string();
}

std::string StyleSheetObjectListWrapper::FileName(const EvaluationContext& context) const {
  return list_ ? list_->FileName(context) : std::string();
}

bool StyleSheetObjectListWrapper::Test(std::string_view property, int32_t& value) const {
  if (property == "size") {
    value = clampToInt32(selection_.size());
    return true;
  }
  if (property == "index") {
    value = clampToInt32(current_);
    return true;
  }
  return list_ && list_->Test(property, value);
}

StyleSheetObject* StyleSheetObjectListWrapper::GetList(std::string_view name) {
  StyleSheetObject* neighbour = nullptr;
  if (name == "next" && current_ + 1 < selection_.size()) {
    neighbour = At(current_ + 1);
  } else if (name == "previous" && current_ > 0 && current_ - 1 < selection_.size()) {
    neighbour = At(current_ - 1);
  }
  if (neighbour) return neighbour;
  return list_ ? list_->GetList(name) : nullptr;
}

StyleSheetObject* StyleSheetObjectListWrapper::At(size_t index) {
  if (!base_ || index >= baseSelection_.size() || baseSelection_[index] == SIZE_MAX) return nullptr;
  return base_->At(baseSelection_[index]);
}

}  // namespace quillet
