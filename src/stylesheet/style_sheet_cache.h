// The process-wide style sheet cache: each style sheet file is read once and shared by every evaluator that
// names it (the output stage for the main style sheets, new_file commands for the others). The generation
// run clears it at its start and at its end, so a run always sees the files as they are on disk.
#pragma once

#include <cstddef>
#include <string>

#include "stylesheet/style_sheet.h"

namespace quillet {

/// The style sheet of `fileName`, read and cached first when absent. The file is opened, and cached, under
/// its on-disk spelling, so names that differ only in case share one entry. The reference stays valid until
/// clearStyleSheetCache().
const StyleSheet& cachedStyleSheet(const std::string& fileName);

/// Deletes every cached style sheet; references handed out before become invalid.
void clearStyleSheetCache();

/// The number of cached style sheets.
size_t cachedStyleSheetCount();

}  // namespace quillet
