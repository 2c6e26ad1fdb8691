// Runs the Windows Help compiler on the help project the WinHelp style sheets wrote. On a machine without
// "hcrtf" the start fails and the caller writes its error line.
#pragma once

#include <string>
#include <vector>

namespace quillet {

/// Starts `arguments` (the program first, found on the PATH) in `folder` (the current folder when empty)
/// with its standard streams on /dev/null, and waits for it; false when it could not be started. The exit
/// code is not looked at.
bool runDetached(const std::vector<std::string>& arguments, const std::string& folder);

}  // namespace quillet
