// Conversions between the program's byte strings (UTF-8 passes through) and Qt's strings, for the editor's
// windows.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quillet {

/// `text` as a Qt string, read as UTF-8.
inline QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// `text` as a byte string in UTF-8.
inline std::string toStdString(const QString& text) {
  return text.toStdString();
}

}  // namespace quillet
