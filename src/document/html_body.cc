#include "document/html_body.h"

#include <cstdint>
#include <ostream>
#include <string>

#include "common/file_services.h"
#include "common/relative_path.h"
#include "config/configuration.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet {

namespace {

// The colour word of the configuration: bit 24 enables it; red, green and blue in the low three bytes.
constexpr uint32_t kColourEnabled = uint32_t{1} << 24;

void writeHexByte(std::ostream& out, uint32_t value) {
  constexpr char kDigits[] = "0123456789abcdef";
  out << kDigits[(value >> 4) & 0xf] << kDigits[value & 0xf];
}

}  // namespace

void writeHtmlBodyAttributes(std::ostream& out, std::string_view outputFolder,
                             const Configuration* configuration) {
  if (!configuration) return;
  const std::string& image = configuration->backgroundImage();
  if (!image.empty()) {
    std::string path;
    if (!relativePath(outputFolder, image, path)) path = networkForm(onDiskSpelling(image));
    // Escaped: a quotation mark or ampersand in a file name must not end or corrupt the attribute.
    out << " BACKGROUND=\"";
    writeHtmlEscaped(out, path);
    out << '"';
  }
  const uint32_t colour = configuration->backgroundColour();
  if (colour & kColourEnabled) {
    out << " BGCOLOR=\"#";
    writeHexByte(out, colour);
    writeHexByte(out, colour >> 8);
    writeHexByte(out, colour >> 16);
    out << '"';
  }
}

void writeHtmlBodyAttributes(std::ostream& out, std::string_view outputFolder) {
  writeHtmlBodyAttributes(out, outputFolder, currentConfiguration());
}

}  // namespace quillet
