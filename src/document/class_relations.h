// The relations between the documented classes that their pages show: derived classes, the members each
// class inherits from its documented bases, and which virtual functions override which. The document
// relates its classes once when it is sorted.
#pragma once

#include <string_view>
#include <vector>

namespace quillet {

class Class;
class StyleSheetObject;

/// The name of the class a base's text names: "virtual ns::Base<int>" gives "ns::Base".
std::string_view baseName(std::string_view text);

/// Fills the derived classes, inherited members and overrides of `classes` (Class objects), reading the
/// run's configuration for the access it documents.
void relateClasses(const std::vector<StyleSheetObject*>& classes);

}  // namespace quillet
