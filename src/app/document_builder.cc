#include "app/document_builder.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

#include "app/source_list.h"
#include "common/file_contents.h"
#include "common/file_services.h"
#include "common/file_system.h"
#include "common/message_output.h"
#include "common/output_set.h"
#include "common/pattern.h"
#include "config/configuration.h"
#include "config/layout_item.h"
#include "document/document.h"
#include "frontend/builder/code_store.h"
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

// Appends a link to `file`, first copying the file next to the HTML output when the item asks for it. The
// copy keeps the file's own name, so it stays inside the output folder; a name that would leave it (a
// pattern that matched nothing, taken as written: "docs/..") is refused.
void linkDocument(const Configuration& configuration, const LayoutItem& item, const std::string& file,
                  Chapter& chapter) {
  std::string target = file;
  if (item.copyToOutput()) {
    const std::string folder = folderPart(configuration.htmlOutputFile());
    target = folder + fileNamePart(file);
    if (!isInsideFolder(folder, target)) {
      reportMessage("error: cannot copy " + file + " into the output folder: " + target + " lies outside it");
      return;
    }
    copyToOutput(file, target);
  }
  chapter.appendExternalDocument(ExternalDocument::link(item.text(), target));
}

// Kinds 1 and 2: link or insert every file the item names; a file that cannot be opened or read stops the
// item's remaining files. Only regular files are read: a pipe or a device is refused at once.
void addDocuments(const Configuration& configuration, const LayoutItem& item, Chapter& chapter) {
  for (const std::string& file : documentFiles(item)) {
    std::string contents;
    const InputRead read = readInputFile(file, InputKind::kDocument, contents);
    if (read.outcome == ReadOutcome::kNotRegular || read.outcome == ReadOutcome::kTooLarge) {
      reportMessage("error: " + read.problem(file, InputKind::kDocument));
      return;
    }
    if (!read.ok()) {
      // A file that is there but could not be read is told apart from one that cannot be reached.
      if (pathKind(file) != PathKind::kMissing) {
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

// Kind 4: the classes, then the enumerations, whose whole name the item's pattern matches.
void addClassesByName(const LayoutItem& item, const CodeStore& store, Chapter& chapter,
                      DocumentedFiles& documented) {
  const Pattern pattern(item.name());
  bool found = false;
  for (const Class& stored : store.classes()) {
    if (stored.name.empty() || !pattern.matchesWhole(stored.name)) continue;
    chapter.appendClass(stored);
    documented.insert(stored.file);
    found = true;
  }
  for (const Enum& stored : store.enums()) {
    if (stored.name.empty() || !pattern.matchesWhole(stored.name)) continue;
    chapter.appendEnum(stored);
    documented.insert(stored.file);
    found = true;
  }
  if (!found) reportMessage("error: cannot find class/struct/enum " + item.name());
}

// Kind 5: the free functions whose whole name the item's pattern matches.
void addFunctionsByName(const LayoutItem& item, const CodeStore& store, Chapter& chapter,
                        DocumentedFiles& documented) {
  const Pattern pattern(item.name());
  bool found = false;
  for (const Function& stored : store.functions()) {
    if (!pattern.matchesWhole(stored.name)) continue;
    chapter.appendFunction(stored);
    documented.insert(stored.file);
    found = true;
  }
  if (!found) reportMessage("error: cannot find function " + item.name());
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

std::string_view namePart(std::string_view path) {
  const size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

// Where the declarations of each source file are in the code store, and which parsed files an item's file
// may correspond to; made once per run, when the first file item needs it.
class StoreFiles {
 public:
  struct Declarations {
    std::vector<std::string_view> files;  // the parsed files that correspond
    std::vector<size_t> classes;
    std::vector<size_t> functions;
    std::vector<size_t> enums;
  };

  explicit StoreFiles(const CodeStore& store) {
    for (size_t i = 0; i < store.classes().size(); ++i) byFile_[store.classes()[i].file].classes.push_back(i);
    for (size_t i = 0; i < store.functions().size(); ++i)
      byFile_[store.functions()[i].file].functions.push_back(i);
    for (size_t i = 0; i < store.enums().size(); ++i) byFile_[store.enums()[i].file].enums.push_back(i);
    for (const std::string& parsed : store.parsedFiles)
      byName_[lowerCase(namePart(parsed))].push_back(&parsed);
  }

  /// The declarations of the parsed files that correspond to `named`, in store order; false when no
  /// parsed file corresponds.
  bool collect(const std::string& named, Declarations& found) const {
    const auto candidates = byName_.find(lowerCase(namePart(named)));
    if (candidates == byName_.end()) return false;
    bool any = false;
    for (const std::string* parsed : candidates->second) {
      if (!sameSourceFile(named, *parsed)) continue;
      any = true;
      found.files.push_back(*parsed);
      const auto declared = byFile_.find(*parsed);
      if (declared == byFile_.end()) continue;
      append(found.classes, declared->second.classes);
      append(found.functions, declared->second.functions);
      append(found.enums, declared->second.enums);
    }
    for (std::vector<size_t>* positions : {&found.classes, &found.functions, &found.enums}) {
      std::sort(positions->begin(), positions->end());
      positions->erase(std::unique(positions->begin(), positions->end()), positions->end());
    }
    return any;
  }

 private:
  static void append(std::vector<size_t>& to, const std::vector<size_t>& from) {
    to.insert(to.end(), from.begin(), from.end());
  }

  std::unordered_map<std::string, Declarations> byFile_;
  std::unordered_map<std::string, std::vector<const std::string*>> byName_;
};

// Kind 3: the classes, free functions and enumerations declared in the files the item names, in the item's
// chapter or, when its chapter keeps headers apart, in a sub-chapter per file. With header comments left
// out, the copies keep only comments found in other files (such as at definitions); the comments name the
// files as parsed, which is how the item's file is spelled on disk.
void addDeclaredInFiles(const LayoutItem& item, const CodeStore& store, const StoreFiles& files,
                        Chapter& chapter, DocumentedFiles& documented) {
  const bool apart = item.parent() && item.parent()->noCombineHeaders();
  const bool forget = item.noHeaderComments();
  for (const std::string& file : documentFiles(item)) {
    StoreFiles::Declarations found;
    if (!files.collect(file, found)) {
      reportMessage("warning: did not parse file " + file);
      continue;
    }
    Chapter* target = &chapter;
    if (apart) {
      const std::string name(namePart(file));
      Chapter* existing = chapter.findChapter(name);
      target = existing ? existing : chapter.appendChapter(name);
    }
    for (size_t i : found.classes) {
      Class& copy = target->appendClass(store.classes()[i]);
      documented.insert(copy.file);
      if (!forget) continue;
      copy.UnshareFunctions();  // the member functions of the stored class and its other copies keep theirs
      for (std::string_view parsed : found.files) copy.ForgetCommentsFrom(parsed);
    }
    for (size_t i : found.functions) {
      Function& copy = target->appendFunction(store.functions()[i]);
      documented.insert(copy.file);
      if (forget)
        for (std::string_view parsed : found.files) copy.ForgetCommentsFrom(parsed);
    }
    for (size_t i : found.enums) {
      Enum& copy = target->appendEnum(store.enums()[i]);
      documented.insert(copy.file);
      if (forget)
        for (std::string_view parsed : found.files) copy.ForgetCommentsFrom(parsed);
    }
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

bool sameSourceFile(std::string_view named, std::string_view parsed) {
  const std::string_view shorter = named.size() <= parsed.size() ? named : parsed;
  const std::string_view longer = named.size() <= parsed.size() ? parsed : named;
  const size_t offset = longer.size() - shorter.size();
  auto fold = [](char c) {
    if (c == '\\') return '/';
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  for (size_t i = 0; i < shorter.size(); ++i)
    if (fold(shorter[i]) != fold(longer[offset + i])) return false;
  return offset == 0 || longer[offset - 1] == '/' || longer[offset - 1] == '\\';
}

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

void buildDocument(const Configuration& configuration, const CodeStore& store, Document& document,
                   DocumentedFiles& documented) {
  std::optional<StoreFiles> files;
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
      case LayoutItem::kSymbolsByFile:
        if (!files) files.emplace(store);
        addDeclaredInFiles(*item, store, *files, chapter, documented);
        break;
      case LayoutItem::kClassesByName:
        addClassesByName(*item, store, chapter, documented);
        break;
      case LayoutItem::kFunctionsByName:
        addFunctionsByName(*item, store, chapter, documented);
        break;
      default:
        break;
    }
  }
}

}  // namespace quillet
