// The side tree of an HTML site: the chapters as the arrangement nests them with their classes, then the
// namespaces with theirs, written once as a script file that every page's side bar draws. The document
// writes it as its "nav_tree" property.
#pragma once

#include <ostream>

namespace quillet {

class Document;
struct EvaluationContext;

/// Writes the tree of `document` as a script assigning nodes [label, link, children] to
/// `window.quilletTree`; links are found through the context's link index.
void writeSiteTree(const Document& document, const EvaluationContext& context, std::ostream& out);

}  // namespace quillet
