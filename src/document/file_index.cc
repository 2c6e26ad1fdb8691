// The document's own answers: the HTML file index, which lists the files that declare documented
// symbols with links to those symbols, the search index, the side tree and the four global lists.
#include <map>
#include <ostream>

#include "document/document.h"
#include "document/search_index.h"
#include "document/site_tree.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/link_lookup.h"
#include "template_objects/markup.h"
#include "template_objects/property_table.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

// The anchor of a file in the index: its full name with ":", "\" and "." made "_".
std::string fileAnchor(const std::string& file) {
  std::string anchor = file;
  for (char& c : anchor)
    if (c == ':' || c == '\\' || c == '.') c = '_';
  return anchor;
}

// A list of links to `objects`, framed by <UL> and </UL> when there is any.
void writeDeclaredIn(const EvaluationContext& context, const std::vector<const StyleSheetObject*>& objects,
                     std::ostream& out) {
  if (objects.empty()) return;
  out << "<UL>\n";
  for (const StyleSheetObject* object : objects) {
    out << "<LI>";
    const std::string link =
        context.linkIndex ? context.linkIndex->objectLink(*object, context) : std::string();
    if (link.empty()) {
      context.filter->write(out, object->FullName());
    } else {
      htmlFrameLink(out, object->FullName(), link, "main");
    }
    out << '\n';
  }
  out << "</UL>\n";
}

// The classes, functions and enumerations a file declares, each kind in the order of its global list.
struct DeclaredIn {
  std::vector<const StyleSheetObject*> classes;
  std::vector<const StyleSheetObject*> functions;
  std::vector<const StyleSheetObject*> enums;
};

template <typename Model>
void fileObjects(const std::vector<StyleSheetObject*>& objects,
                 std::vector<const StyleSheetObject*> DeclaredIn::*kind, std::map<std::string, DeclaredIn>& files) {
  for (const StyleSheetObject* object : objects) {
    const std::string& file = static_cast<const Model*>(object)->file;
    if (!file.empty()) (files[file].*kind).push_back(object);
  }
}

}  // namespace

template <>
struct PropertyTable<Document> {
  static constexpr PropertyRow<Document> kDocumentRows[] = {
      {"html_file_index", [](const Document& d, const EvaluationContext& context,
                             std::ostream& out) { d.writeFileIndex(context, out); }},
      {"search_index", [](const Document& d, const EvaluationContext& context,
                          std::ostream& out) { writeSearchIndex(d, context, out); }},
      {"nav_tree", [](const Document& d, const EvaluationContext& context,
                      std::ostream& out) { writeSiteTree(d, context, out); }},
      {"global_class_list", nullptr, nullptr, memberObject<Document, &Document::globalClasses_>},
      {"global_function_list", nullptr, nullptr, memberObject<Document, &Document::globalFunctions_>},
      {"global_enum_list", nullptr, nullptr, memberObject<Document, &Document::globalEnums_>},
      {"global_chapter_list", nullptr, nullptr, memberObject<Document, &Document::globalChapters_>},
      {"source_file_list", nullptr, nullptr, memberObject<Document, &Document::sourcePageList_>},
  };
  static constexpr auto kRows = propertyRows(kDocumentRows);
};

bool Document::WriteProperty(const EvaluationContext& context, std::string_view property, std::ostream& out) {
  return writeProperty(*this, property, context, out) || Chapter::WriteProperty(context, property, out);
}

void Document::writeFileIndex(const EvaluationContext& context, std::ostream& out) const {
  // Each declaring file once, in name order, with what it declares.
  std::map<std::string, DeclaredIn> files;
  fileObjects<Class>(globalClasses_.items(), &DeclaredIn::classes, files);
  fileObjects<Function>(globalFunctions_.items(), &DeclaredIn::functions, files);
  fileObjects<Enum>(globalEnums_.items(), &DeclaredIn::enums, files);

  out << "<UL>\n";
  for (const auto& [file, unused] : files) {
    out << "<LI>";
    htmlFrameLink(out, file, "#" + fileAnchor(file), "main");
    out << '\n';
  }
  out << "</UL>\n";
  for (const auto& [file, declared] : files) {
    out << "<HR><H3>";
    htmlAnchor(out, file, fileAnchor(file));
    // The file's source page, when the site has one.
    const std::string page = context.linkIndex ? context.linkIndex->namedLink(context, file) : std::string();
    if (!page.empty()) {
      out << " <SMALL>";
      htmlLink(out, "source", page);
      out << "</SMALL>";
    }
    out << "</H3>\n";
    writeDeclaredIn(context, declared.classes, out);
    writeDeclaredIn(context, declared.functions, out);
    writeDeclaredIn(context, declared.enums, out);
  }
}

StyleSheetObject* Document::GetList(std::string_view name) {
  if (StyleSheetObject* list = listProperty(*this, name)) return list;
  return Chapter::GetList(name);
}

}  // namespace quillet
