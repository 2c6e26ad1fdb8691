// Object paths of templates: "class", "class.function_list", "function_list.index" name an object by walking
// the evaluator's object stack (the objects of the enclosing loops, innermost last). The evaluator resolves
// the lists of its loops and the objects of anchor, link_to and new_file with it; conditions resolve the
// objects whose numeric properties they ask for.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class StyleSheetObject;

/// The objects a template run currently sees; the last element is the innermost current object. The caller
/// owns the objects; the evaluator pushes and pops.
using ObjectStack = std::vector<StyleSheetObject*>;

/// The object that `path` (command tokens: names separated by ".") names on `stack`, or null. The first
/// name finds, from the innermost object outwards, the object of that type or, failing that, a list that an
/// object offers under that name (then only as a one-token path); each later name must be the type of the
/// next object inwards, a loop wrapper in between being stepped over, or a list the current object offers
/// (then only as the path's last name).
StyleSheetObject* findObject(std::span<const std::string> path, const ObjectStack& stack);
/// As above, for a path cut into views.
StyleSheetObject* findObject(std::span<const std::string_view> path, const ObjectStack& stack);

/// Cuts `text` with the command tokenizer into `tokens` (cleared first); the views point into `text`.
void cutPath(std::string_view text, std::vector<std::string_view>& tokens);

/// The tokens written one after the other without separators, as messages show expressions.
std::string joinTokens(std::span<const std::string> tokens);

}  // namespace quillet
