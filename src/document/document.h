// The document the style sheets walk: a tree of chapters, each holding the external documents, embedded
// texts and code model copies the arrangement placed in it. The generation run builds one per run, sorts it
// and hands it to the output stage as the first object of the evaluators' stack. Chapters ("chapter") answer
// their names, anchors, output file names and levels; the document adds the file index and the global lists.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "document/chapter_metrics.h"
#include "document/chapter_options.h"
#include "document/external_document.h"
#include "document/source_pages.h"
#include "model/class.h"
#include "model/class_dictionary.h"
#include "model/enum.h"
#include "model/function.h"
#include "template_objects/style_sheet_object_list.h"

namespace quillet {

template <typename T>
struct PropertyTable;

class Chapter : public StyleSheetObject {
 public:
  /// A chapter called `name` inside `parent` (null for the document); numbered by the process-wide counter.
  Chapter(Chapter* parent, std::string name);
  virtual ~Chapter() = default;
  Chapter(const Chapter&) = delete;
  Chapter& operator=(const Chapter&) = delete;

  const std::string& name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }
  Chapter* parent() const { return parent_; }
  /// The chapter's number: the process-wide count of chapters created when it was made.
  uint32_t number() const { return number_; }
  /// 1 for the document, one more for each level below it.
  int32_t level() const;

  /// The sub-chapter called exactly `name`, or null.
  Chapter* findChapter(const std::string& name) const;
  /// Appends a new sub-chapter called `name` and returns it.
  Chapter* appendChapter(const std::string& name);
  const std::vector<std::unique_ptr<Chapter>>& chapters() const { return chapters_; }

  /// Appends an external document or text.
  void appendExternalDocument(ExternalDocument document);
  const std::vector<ExternalDocument>& externalDocuments() const { return externalDocs_; }

  /// Fills the metrics of this chapter and of every sub-chapter (whose figures it adds up), once: later
  /// calls return at once. The document calls it when it is sorted.
  void computeMetrics();
  /// The chapter's metrics; empty until computed.
  const ChapterMetrics& metrics() const { return metrics_; }

  /// Writes a property of the chapter's property table (document.cc), a metric figure or a metric chart.
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// "chapter".
  std::string_view TypeName() const override { return "chapter"; }
  /// The chapter's name.
  std::string FullName() const override { return name_; }
  /// "chp_" and the names from the document down, joined with "_", made an identifier.
  std::string AnchorName() const override;
  /// The output file stem of the chapter: a unique name made from its parent's and its own.
  std::string FileName(const EvaluationContext& context) const override;
  /// Answers a test of the chapter's property table and, for each metric chart, whether it would show more
  /// than one bar position.
  bool Test(std::string_view property, int32_t& value) const override;
  /// A list of the chapter's property table: the chapter's lists, its options, its metric lists and its
  /// parent.
  StyleSheetObject* GetList(std::string_view name) override;

  /// Appends a copy of a class, function or enumeration; answers the chapter's copy.
  Class& appendClass(const Class& copy);
  Function& appendFunction(const Function& copy);
  Enum& appendEnum(const Enum& copy);
  /// The copies held, in the order appended (until the document is sorted).
  const std::vector<std::unique_ptr<Class>>& classes() const { return classes_; }
  const std::vector<std::unique_ptr<Function>>& functions() const { return functions_; }
  const std::vector<std::unique_ptr<Enum>>& enums() const { return enums_; }

  /// Finishes every class copy and sorts the classes and enumerations by name and the functions in function
  /// order, in this chapter and every sub-chapter; false when the run was cancelled on the way.
  bool sortContents(const ClassDictionary& dictionary);

 private:
  // The chapter's property table (document.cc) reads the names and hands out the lists and the parent.
  friend struct PropertyTable<Chapter>;

  // The document: the chapter reached by following parents until there is none.
  const Chapter& outermost() const;

  std::string name_;
  Chapter* parent_;
  uint32_t number_;
  ChapterMetrics metrics_;
  std::vector<ExternalDocument> externalDocs_;
  std::vector<std::unique_ptr<Class>> classes_;
  std::vector<std::unique_ptr<Function>> functions_;
  std::vector<std::unique_ptr<Enum>> enums_;
  std::vector<std::unique_ptr<Chapter>> chapters_;
  ChapterOptions options_;
  StyleSheetObjectVectorList<std::vector<ExternalDocument>> externalDocList_{"external_doc_list",
                                                                             &externalDocs_};
  StyleSheetObjectVectorList<std::vector<std::unique_ptr<Chapter>>> chapterList_{"chapter_list", &chapters_};
  StyleSheetObjectVectorList<std::vector<std::unique_ptr<Function>>> functionList_{"function_list",
                                                                                   &functions_};
  StyleSheetObjectVectorList<std::vector<std::unique_ptr<Class>>> classList_{"class_list", &classes_};
  StyleSheetObjectVectorList<std::vector<std::unique_ptr<Enum>>> enumList_{"enum_list", &enums_};
};

class Document : public Chapter {
 public:
  /// A new document, named "Class Dictionary" until the run renames it.
  Document();

  /// The stem of the configured main output file of the context's format.
  std::string FileName(const EvaluationContext& context) const override;
  /// Knows "html_file_index", "search_index" and "nav_tree" (file_index.cc) and everything a chapter knows.
  bool WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) override;
  /// The four global lists and the source pages ("source_file_list"), then the chapter's lists.
  StyleSheetObject* GetList(std::string_view name) override;

  /// The sort stage of the run: finishes and sorts every chapter, computes the metrics and fills the global
  /// lists. Classes know each other through the documented classes and the typedefs that
  /// `add_typedefs` enters into the dictionary. Stops early, leaving the global lists empty, when the run
  /// is cancelled.
  void sort(const std::function<void(ClassDictionary&)>& add_typedefs = {});
  /// The files that declare a class, function or enumeration of the global lists.
  std::unordered_set<std::string> declaringFiles() const;
  /// Colours the source pages from now on (the run hands in the scanner's colouring).
  void setSourceColourer(SourceColourer colourer) { colourer_ = std::move(colourer); }
  /// The source pages, one per file that declares or defines a symbol of the global lists, by path.
  const std::vector<std::unique_ptr<SourcePage>>& sourcePages() const { return sourcePages_; }

  /// Every class, function and enumeration of every chapter, each sorted; every chapter in pre-order.
  size_t globalClassCount() const { return globalClasses_.Count(); }
  size_t globalFunctionCount() const { return globalFunctions_.Count(); }
  size_t globalEnumCount() const { return globalEnums_.Count(); }
  size_t globalChapterCount() const { return globalChapters_.Count(); }
  const std::vector<StyleSheetObject*>& globalClasses() const { return globalClasses_.items(); }
  const std::vector<StyleSheetObject*>& globalFunctions() const { return globalFunctions_.items(); }
  const std::vector<StyleSheetObject*>& globalEnums() const { return globalEnums_.items(); }
  const std::vector<StyleSheetObject*>& globalChapters() const { return globalChapters_.items(); }

 private:
  // The document's property table (file_index.cc) writes the file index and hands out the global lists.
  friend struct PropertyTable<Document>;

  void gather(const Chapter& chapter);
  void writeFileIndex(const EvaluationContext& context, std::ostream& out) const;

  StyleSheetObjectSubsetList globalClasses_{"global_class_list"};
  StyleSheetObjectSubsetList globalFunctions_{"global_function_list"};
  StyleSheetObjectSubsetList globalEnums_{"global_enum_list"};
  StyleSheetObjectSubsetList globalChapters_{"global_chapter_list"};
  SourceColourer colourer_;
  std::vector<std::unique_ptr<SourcePage>> sourcePages_;
  StyleSheetObjectVectorList<std::vector<std::unique_ptr<SourcePage>>> sourcePageList_{"source_file_list",
                                                                                       &sourcePages_};
};

/// Today's date in the user's long date format (the date SOURCE_DATE_EPOCH gives, when it is set).
std::string longDate();

}  // namespace quillet
