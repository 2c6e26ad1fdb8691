// Auto Fill of the arrangement tree: given the root folder of a source tree, every header file below it
// becomes a "symbols by file" item, in a chapter named after its folder, the chapters nested like the
// folders (at most three levels deep). Used by the editor's Arrange page.
#pragma once

#include <string>
#include <string_view>

#include "config/layout_item.h"

namespace quillet {

inline constexpr std::string_view kNoFilesFoundMessage =
    "No files found, please verify that the directory name is valid.";

/// Fills `root` from the header files (*.h, *.hh, *.hpp, *.hxx) under `folder` and its sub folders; the
/// number of header files found, 0 when there is none (the tree is then unchanged).
size_t autoFill(LayoutItem& root, const std::string& folder);

}  // namespace quillet
