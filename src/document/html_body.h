// The attributes of an HTML page's BODY tag that the configuration asks for: a background image and a
// background colour. Chapters write them for the "html_body" property of a style sheet.
#pragma once

#include <iosfwd>
#include <string_view>

namespace quillet {

class Configuration;

/// Writes ` BACKGROUND="<image>"` when `configuration` names a background image, the image given relative to
/// `outputFolder` when possible and else as its absolute on-disk path, then ` BGCOLOR="#rrggbb"` when it
/// enables a background colour. Writes nothing for a null configuration.
void writeHtmlBodyAttributes(std::ostream& out, std::string_view outputFolder,
                             const Configuration* configuration);

/// The same with the configuration of the run in progress.
void writeHtmlBodyAttributes(std::ostream& out, std::string_view outputFolder);

}  // namespace quillet
