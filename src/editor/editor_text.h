// The editor's own message texts and the small text helpers its windows share: filling the numbered
// placeholders of a message ("%1!s!"), and the file-dialog filters. Used by every window of the editor.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace quillet {

namespace text {
inline constexpr std::string_view kProductName = "Quillet";
inline constexpr std::string_view kConfigurationExtension = ".qlc";
inline constexpr std::string_view kUntitled = "Untitled";

inline constexpr std::string_view kSaveChanges =
    "The current configuration has changes that have not been saved.  Would you like to save the changes?";
inline constexpr std::string_view kOlderVersionSave =
    "The loaded configuration is from a previous version of Quillet.  Saving over the original file will "
    "make it unusable to previous versions.  Are you sure you want to continue?";
inline constexpr std::string_view kNotAConfiguration =
    "Cannot read file %1!s!.  The file is not a valid Quillet configuration file.";
inline constexpr std::string_view kNewerVersion =
    "Error reading file %1!s!, file is for a newer version of Quillet.";
inline constexpr std::string_view kReadError = "Error reading file %1!s!.";
inline constexpr std::string_view kWriteError = "Error writing  file %1!s!.";
inline constexpr std::string_view kRecentFileMissing =
    "Cannot Open file %1!s!.  This configuration will be removed from from the file menu.";
inline constexpr std::string_view kImportFailed =
    "Cannot read the file %1!s!.  The file does not appear to be a valid Microsoft Developer Studio file.";
inline constexpr std::string_view kSourceNotFound =
    "The specified file or path %1!s! could not be found.  Add the file anyway?";
inline constexpr std::string_view kItemFileNotFound =
    "The specified file or path %1!s! could not be found.  Do you still want to add it?";
inline constexpr std::string_view kNameRequired = "A name is required before leaving this window.";
inline constexpr std::string_view kIllegalName = "Illegal name.  Not a valid regular expression.";
inline constexpr std::string_view kIllegalTagName = "Illegal tag name.  Not a valid regular expression.";
inline constexpr std::string_view kWrongExtension = "The filename %1!s! can only have the extension %2!s!.";
inline constexpr std::string_view kNoStyles =
    "Cannot find the Styles key registry key, no style sheets are available.";
inline constexpr std::string_view kArrangeNote =
    "All classes and functions must be described in this window before they are documented.";

// File-dialog filters, in the form the Qt file dialogs read.
inline constexpr std::string_view kConfigurationFilter = "Configuration Files (*.qlc *.toml)";
inline constexpr std::string_view kProjectFilter =
    "Visual C++ 5.x, 6.x  (*.dsp *.dsw);;Compilation databases (compile_commands.json *.json)";
inline constexpr std::string_view kGraphicsFilter = "Graphics Files (*.gif *.png *.bmp *.jpg)";
inline constexpr std::string_view kAnyFileFilter = "All Files (*)";
}  // namespace text

/// `pattern` with each placeholder "%N!s!" replaced by the N-th of `arguments` (counted from 1); a
/// placeholder without an argument is left as written.
std::string formatMessage(std::string_view pattern, std::initializer_list<std::string_view> arguments);

}  // namespace quillet
