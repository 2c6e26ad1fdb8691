#include "document/site_tree.h"

#include <map>

#include "document/document.h"
#include "document/search_index.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/link_lookup.h"

namespace quillet {

namespace {

class TreeWriter {
 public:
  TreeWriter(const EvaluationContext& context, std::ostream& out) : context_(context), out_(out) {}

  // Opens a node; its children follow until close().
  void open(std::string_view label, const StyleSheetObject* target) {
    out_ << (first_ ? "[" : ",[");
    writeScriptString(out_, label);
    out_ << ',';
    writeScriptString(out_, target && context_.linkIndex ? context_.linkIndex->objectLink(*target, context_)
                                                         : std::string());
    out_ << ",[";
    first_ = true;
  }
  void close() {
    out_ << "]]";
    first_ = false;
  }
  void leaf(std::string_view label, const StyleSheetObject* target) {
    open(label, target);
    close();
  }

 private:
  const EvaluationContext& context_;
  std::ostream& out_;
  bool first_ = true;
};

void writeChapter(TreeWriter& tree, const Chapter& chapter) {
  tree.open(chapter.name(), &chapter);
  for (const auto& sub : chapter.chapters()) writeChapter(tree, *sub);
  for (const auto& c : chapter.classes()) tree.leaf(c->name, c.get());
  tree.close();
}

}  // namespace

void writeSiteTree(const Document& document, const EvaluationContext& context, std::ostream& out) {
  out << "window.quilletTree=[";
  TreeWriter tree(context, out);
  for (const auto& chapter : document.chapters()) writeChapter(tree, *chapter);
  std::map<std::string, std::vector<const Class*>> spaces;
  for (const StyleSheetObject* object : document.globalClasses()) {
    const Class* c = static_cast<const Class*>(object);
    if (!c->nameSpace.empty()) spaces[c->nameSpace].push_back(c);
  }
  if (!spaces.empty()) {
    tree.open("Namespaces", nullptr);
    for (const auto& [space, classes] : spaces) {
      tree.open(space, nullptr);
      for (const Class* c : classes) tree.leaf(c->name, c);
      tree.close();
    }
    tree.close();
  }
  out << "];\n";
}

}  // namespace quillet
