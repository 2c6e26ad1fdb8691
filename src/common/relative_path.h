// Relative references between files of the output and files elsewhere: the background image of an HTML page
// (html_body.h), and for the model and the document, links from an output file to a source file or an
// external document. Paths may use "/" or "\" and may carry a drive prefix written on Windows.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

/// True after storing in `result` the path of `target` relative to the folder `fromFolder` ("../" steps,
/// "/" separators); relative inputs are taken from the current directory. False when the two lie under
/// different roots (another drive letter or network share), so that no relative path exists.
bool relativePath(std::string_view fromFolder, std::string_view target, std::string& result);

}  // namespace quillet
