#include "template_objects/style_sheet_object.h"

namespace quillet {

std::string StyleSheetObject::FullName() const {
  return {};
}

std::string StyleSheetObject::AnchorName() const {
  return {};
}

LinkKind StyleSheetObject::linkKind() const {
  return LinkKind::kOther;
}

std::string StyleSheetObject::DeclarationKey() const {
  return FullName();
}

std::string StyleSheetObject::FileName(const EvaluationContext&) const {
  return {};
}

bool StyleSheetObject::Test(std::string_view, int32_t&) const {
  return false;
}

StyleSheetObject* StyleSheetObject::GetList(std::string_view) {
  return nullptr;
}

size_t StyleSheetObject::Count() const {
  return 0;
}

StyleSheetObject* StyleSheetObject::At(size_t) {
  return nullptr;
}

}  // namespace quillet
