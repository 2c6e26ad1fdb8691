#include "app/document_builder.h"

#include <cstdio>
#include <vector>

#include "app/source_list.h"
#include "common/file_contents.h"
#include "common/file_services.h"
#include "common/message_output.h"
#include "config/configuration.h"
#include "config/layout_item.h"
#include "document/document.h"
#include "model/doc_text.h"

namespace quillet {

namespace {

std::string fileNamePart(const std::string& path) {
  return path.substr(folderPart(path).size());
}

// The files an item of kind 1 or 2 names: the matches of its expanded name, else the name itself.
std::vector<std::string> documentFiles(const LayoutItem& item) {
  std::vector<std::string> files;
  if (!expandPattern(Configuration::expandEnvironment(item.name()), files, true))
    files.push_back(item.name());
  return files;
}

// Appends a link to `file`, first copying the file next to the HTML output when the item asks for it.
void linkDocument(const Configuration& configuration, const LayoutItem& item, const std::string& file,
                  Chapter& chapter) {
  std::string target = file;
  if (item.copyToOutput()) {
    target = folderPart(configuration.htmlOutputFile()) + fileNamePart(file);
    copyToOutput(file, target);
  }
  chapter.appendExternalDocument(ExternalDocument::link(item.text(), target));
}

// Kinds 1 and 2: link or insert every file the item names; a file that cannot be opened or read stops the
// item's remaining files.
void addDocuments(const Configuration& configuration, const LayoutItem& item, Chapter& chapter) {
  for (const std::string& file : documentFiles(item)) {
    std::string contents;
    if (!readFileContents(file, contents)) {
      // An unreadable file and one that cannot be opened are told apart by trying to open it alone.
      if (std::FILE* probe = std::fopen(file.c_str(), "rb")) {
        std::fclose(probe);
        if (item.kind() == LayoutItem::kInsertDocument) {
          reportMessage("error: file I/O error in " + file);
          return;
        }
      } else {
        reportMessage("error: Cannot open document " + file);
        return;
      }
    }
    if (item.kind() == LayoutItem::kLinkDocument) {
      linkDocument(configuration, item, file, chapter);
      continue;
    }
    if (looksBinary(contents)) {
      reportMessage("error: file " + file + " is binary, cannot insert");
      linkDocument(configuration, item, file, chapter);
      continue;
    }
    // An inserted file is processed as a comment with the tags applied, kept as written on request.
    const int32_t level = item.preserveFormatting() ? DocText::kPreformatted : DocText::kDeclarationLevel;
    chapter.appendExternalDocument(
        ExternalDocument::inserted(item.text(), file, DocText(contents, true, level, file)));
  }
}

// The next item of a pre-order walk from the root, or null when the walk is back at the root.
const LayoutItem* nextInPreOrder(const LayoutItem* item, const LayoutItem* root) {
  if (item->childCount() > 0) return item->child(0);
  while (item != root) {
    const LayoutItem* parent = item->parent();
    if (!parent) return nullptr;
    const size_t next = parent->indexOfChild(item) + 1;
    if (next < parent->childCount()) return parent->child(next);
    item = parent;
  }
  return nullptr;
}

}  // namespace

bool looksBinary(const std::string& text) {
  const size_t n = text.size() < 10 ? text.size() : 10;
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const bool printable = (c >= 0x20 && c != 0x7f) || c == '\n' || c == '\t' || c == '\r';
    if (!printable) return true;
  }
  return false;
}

Chapter& chapterFor(const LayoutItem& item, Document& document) {
  std::vector<const LayoutItem*> ancestors;
  for (const LayoutItem* p = item.parent(); p && p->parent(); p = p->parent()) ancestors.push_back(p);
  Chapter* chapter = &document;
  for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
    Chapter* found = chapter->findChapter((*it)->name());
    chapter = found ? found : chapter->appendChapter((*it)->name());
  }
  return *chapter;
}

void buildDocument(const Configuration& configuration, Document& document, DocumentedFiles& documented) {
  (void)documented;  // filled by the symbol selections
  document.setName(configuration.documentName());
  const LayoutItem* root = &configuration.arrangement();
  for (const LayoutItem* item = nextInPreOrder(root, root); item; item = nextInPreOrder(item, root)) {
    if (item->isChapter()) continue;
    if (runCanceled()) return;
    Chapter& chapter = chapterFor(*item, document);
    switch (item->kind()) {
      case LayoutItem::kLinkDocument:
      case LayoutItem::kInsertDocument:
        addDocuments(configuration, *item, chapter);
        break;
      case LayoutItem::kText:
        chapter.appendExternalDocument(ExternalDocument::inserted(
            item->name(), "", DocText(item->text(), true, DocText::kDeclarationLevel, item->name())));
        break;
      default:
        break;  // symbol selections are placed once the code store exists
    }
  }
}

}  // namespace quillet
