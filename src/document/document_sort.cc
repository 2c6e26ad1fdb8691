// The sort stage of a run: class finishing, the order of each chapter's contents, the metrics and the
// document's global lists.
#include <algorithm>
#include <set>

#include "common/message_output.h"
#include "document/class_relations.h"
#include "document/document.h"

namespace quillet {

namespace {

template <typename Object>
void sortByName(std::vector<std::unique_ptr<Object>>& objects) {
  std::stable_sort(objects.begin(), objects.end(),
                   [](const auto& a, const auto& b) { return a->name < b->name; });
}

void sortByName(std::vector<StyleSheetObject*>& objects, auto nameOf) {
  std::stable_sort(objects.begin(), objects.end(),
                   [&](StyleSheetObject* a, StyleSheetObject* b) { return nameOf(a) < nameOf(b); });
}

void addClasses(const Chapter& chapter, ClassDictionary& dictionary) {
  for (const auto& documented : chapter.classes()) dictionary.addClass(*documented);
  for (const auto& sub : chapter.chapters()) addClasses(*sub, dictionary);
}

}  // namespace

bool Chapter::sortContents(const ClassDictionary& dictionary) {
  for (const auto& documented : classes_) documented->Finish(dictionary);
  if (runCanceled()) return false;
  sortByName(classes_);
  sortByName(enums_);
  std::stable_sort(functions_.begin(), functions_.end(),
                   [](const auto& a, const auto& b) { return a->LessThan(*b); });
  if (runCanceled()) return false;
  for (const auto& chapter : chapters_)
    if (!chapter->sortContents(dictionary)) return false;
  return true;
}

void Document::sort(const std::function<void(ClassDictionary&)>& add_typedefs) {
  ClassDictionary dictionary;
  addClasses(*this, dictionary);
  if (add_typedefs) add_typedefs(dictionary);
  if (!sortContents(dictionary)) return;
  computeMetrics();

  globalClasses_.clear();
  globalFunctions_.clear();
  globalEnums_.clear();
  globalChapters_.clear();
  gather(*this);
  sortByName(globalClasses_.items(),
             [](StyleSheetObject* o) -> const std::string& { return static_cast<Class*>(o)->name; });
  std::stable_sort(globalFunctions_.items().begin(), globalFunctions_.items().end(),
                   [](StyleSheetObject* a, StyleSheetObject* b) {
                     return static_cast<Function*>(a)->LessThan(*static_cast<Function*>(b));
                   });
  sortByName(globalEnums_.items(),
             [](StyleSheetObject* o) -> const std::string& { return static_cast<Enum*>(o)->name; });
  relateClasses(globalClasses_.items());

  std::set<std::string> files;
  for (const std::string& file : declaringFiles()) files.insert(file);
  for (StyleSheetObject* o : globalFunctions_.items())
    files.insert(static_cast<Function*>(o)->definitionFile);
  for (StyleSheetObject* o : globalClasses_.items())
    for (const Function& f : *static_cast<Class*>(o)->functions) files.insert(f.definitionFile);
  files.erase(std::string());
  sourcePages_.clear();
  for (const std::string& file : files)
    sourcePages_.push_back(std::make_unique<SourcePage>(file, &colourer_));
}

std::unordered_set<std::string> Document::declaringFiles() const {
  std::unordered_set<std::string> files;
  for (StyleSheetObject* o : globalClasses_.items()) files.insert(static_cast<Class*>(o)->file);
  for (StyleSheetObject* o : globalFunctions_.items()) files.insert(static_cast<Function*>(o)->file);
  for (StyleSheetObject* o : globalEnums_.items()) files.insert(static_cast<Enum*>(o)->file);
  return files;
}

void Document::gather(const Chapter& chapter) {
  globalChapters_.add(const_cast<Chapter*>(&chapter));
  for (const auto& documented : chapter.classes()) globalClasses_.add(documented.get());
  for (const auto& function : chapter.functions()) globalFunctions_.add(function.get());
  for (const auto& enumeration : chapter.enums()) globalEnums_.add(enumeration.get());
  for (const auto& sub : chapter.chapters()) gather(*sub);
}

}  // namespace quillet
