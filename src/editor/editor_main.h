// Start-up of the configuration editor, the face of the program chosen when the command line does not ask
// for a batch run. Called by the program entry.
#pragma once

#include <iosfwd>
#include <string>

namespace quillet {

/// True when the environment names a display for the editor (DISPLAY, WAYLAND_DISPLAY or a Qt platform
/// chosen with QT_QPA_PLATFORM).
bool editorDisplayAvailable();

/// Runs the editor until its window closes, opening `config_file` first when it is not empty; the process
/// exit status. Without a display it writes one line to `err` saying so and returns 2.
int runEditor(int argc, char** argv, const std::string& config_file, std::ostream& err);

}  // namespace quillet
