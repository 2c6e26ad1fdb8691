// Output filters: everything the evaluator writes from the documented program (names, comments, types, file
// names) passes through the filter of the output format, which escapes it; literal style sheet text does
// not. The filter's markup kind tells the markup writers (markup.h) whether to write HTML links or WinHelp
// hotspots. The output stage creates one filter per output set; the model, the document and the evaluator
// write through it. Also the escaping and identifier helpers those users share.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace quillet {

/// The output formats; they select the style folder and the configured main file names.
enum OutputFormat : int32_t { kHtmlFormat = 0, kRtfFormat = 1, kWinHelpFormat = 2 };
/// The markup families a filter writes.
enum MarkupKind : int32_t { kHtmlMarkup = 1, kRtfMarkup = 2 };

class StyleSheetFilter {
 public:
  StyleSheetFilter() = default;
  virtual ~StyleSheetFilter() = default;
  StyleSheetFilter(const StyleSheetFilter&) = delete;
  StyleSheetFilter& operator=(const StyleSheetFilter&) = delete;

  /// Writes `text` to `out`, escaped for the filter's format.
  virtual void write(std::ostream& out, std::string_view text) const = 0;
  /// kHtmlMarkup or kRtfMarkup.
  virtual MarkupKind markupKind() const = 0;

  /// The output format set by the output stage (kHtmlFormat until set).
  int32_t format() const { return format_; }
  /// Sets the output format (one of OutputFormat).
  void setFormat(int32_t format) { format_ = format; }

 private:
  int32_t format_ = kHtmlFormat;
};

/// The filter of HTML output: escapes "&", "<", ">" and the double quotation mark.
class HTMLStyleSheetFilter final : public StyleSheetFilter {
 public:
  /// Writes htmlEscape(text).
  void write(std::ostream& out, std::string_view text) const override;
  /// kHtmlMarkup.
  MarkupKind markupKind() const override { return kHtmlMarkup; }
};

/// The filter of RTF and WinHelp RTF output: escapes the backslash and the braces.
class RTFStyleSheetFilter final : public StyleSheetFilter {
 public:
  /// Writes rtfEscape(text).
  void write(std::ostream& out, std::string_view text) const override;
  /// kRtfMarkup.
  MarkupKind markupKind() const override { return kRtfMarkup; }
};

/// The text with "&", "<", ">" and '"' replaced by their HTML entities; every other byte (UTF-8 included)
/// kept.
std::string htmlEscape(std::string_view text);
/// Writes htmlEscape(text) to `out` without building the copy.
void writeHtmlEscaped(std::ostream& out, std::string_view text);
/// The text with "\", "{" and "}" preceded by a backslash; every other byte kept.
std::string rtfEscape(std::string_view text);
/// Writes rtfEscape(text) to `out` without building the copy.
void writeRtfEscaped(std::ostream& out, std::string_view text);
/// The text with every byte that is not an ASCII letter, digit or "_" replaced by "_" (for anchor names).
std::string makeIdentifier(std::string_view text);

}  // namespace quillet
