#include "document/document.h"

namespace quillet {

ExternalDocument ExternalDocument::link(std::string title, std::string file_name) {
  ExternalDocument doc;
  doc.isLink = true;
  doc.title = std::move(title);
  doc.fileName = std::move(file_name);
  return doc;
}

ExternalDocument ExternalDocument::inserted(std::string title, std::string file_name, DocText text) {
  ExternalDocument doc;
  doc.title = std::move(title);
  doc.fileName = std::move(file_name);
  doc.text = std::move(text);
  return doc;
}

Chapter::Chapter(Chapter* parent, std::string name) : name_(std::move(name)), parent_(parent) {}

Chapter* Chapter::findChapter(const std::string& name) const {
  for (const auto& chapter : chapters_)
    if (chapter->name() == name) return chapter.get();
  return nullptr;
}

Chapter* Chapter::appendChapter(const std::string& name) {
  chapters_.push_back(std::make_unique<Chapter>(this, name));
  return chapters_.back().get();
}

void Chapter::appendExternalDocument(ExternalDocument document) {
  externalDocs_.push_back(std::move(document));
}

Document::Document() : Chapter(nullptr, "Class Dictionary") {}

}  // namespace quillet
