// The document the style sheets walk: a tree of chapters, each holding the external documents, embedded
// texts and code model copies the arrangement placed in it. The generation run builds one per run.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/doc_text.h"

namespace quillet {

/// An external document placed in a chapter: a link to a file, or an inserted or embedded text.
struct ExternalDocument {
  bool isLink = false;
  DocText text;          // the inserted or embedded text, processed as a comment; empty for a link
  std::string fileName;  // the linked or inserted file; empty for an embedded text
  std::string title;

  /// A link to `file_name`.
  static ExternalDocument link(std::string title, std::string file_name);
  /// An inserted (with a file name) or embedded (without) text.
  static ExternalDocument inserted(std::string title, std::string file_name, DocText text);
};

class Chapter {
 public:
  Chapter(Chapter* parent, std::string name);
  virtual ~Chapter() = default;
  Chapter(const Chapter&) = delete;
  Chapter& operator=(const Chapter&) = delete;

  const std::string& name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }
  Chapter* parent() const { return parent_; }

  /// The sub-chapter called exactly `name`, or null.
  Chapter* findChapter(const std::string& name) const;
  /// Appends a new sub-chapter called `name` and returns it.
  Chapter* appendChapter(const std::string& name);
  const std::vector<std::unique_ptr<Chapter>>& chapters() const { return chapters_; }

  /// Appends an external document or text.
  void appendExternalDocument(ExternalDocument document);
  const std::vector<ExternalDocument>& externalDocuments() const { return externalDocs_; }

 private:
  std::string name_;
  Chapter* parent_;
  std::vector<ExternalDocument> externalDocs_;
  std::vector<std::unique_ptr<Chapter>> chapters_;
};

class Document : public Chapter {
 public:
  /// A new document, named "Class Dictionary" until the run renames it.
  Document();
};

}  // namespace quillet
