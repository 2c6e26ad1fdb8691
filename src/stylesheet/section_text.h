// The literal text of a style sheet section, cut into literal tokens and reference tokens. A reference is a
// run of letters, underscores and periods ending in an underscore (name_, class.name_), optionally followed
// by "+" (write a blank after a non-empty value) or by parameters in parentheses (link_to_(class, _members)).
// The style sheet reader cuts every section text once; the evaluator writes literals and expands references.
// Also the removal of the font panose groups that word processors write into RTF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct SectionToken {
  enum Kind { kReference = 0, kLiteral = 1 };

  /// kReference or kLiteral.
  int kind = kLiteral;
  /// A literal's text; a reference's property or tag name, with "+" appended when "+" followed it.
  std::string name;
  /// The object path before the reference's last period; empty without a period.
  std::string object;
  /// The parameters in parentheses after a reference, blanks and line breaks removed.
  std::string firstParameter;
  std::string secondParameter;

  bool operator==(const SectionToken&) const = default;
};

/// Cuts `text` into tokens, appending at most `budget` of them to `tokens` and subtracting what it appended
/// from `budget`. When the budget runs short, the rest of the text becomes one literal token and false is
/// returned; true when the whole text was cut.
bool cutSectionText(std::string_view text, std::vector<SectionToken>& tokens, size_t& budget);

/// The text with every RTF group "{\*\panose <lower-case letters and digits>}" replaced by one blank, until
/// no such group is left (removing one may complete another around it).
std::string removePanoseGroups(std::string_view text);

}  // namespace quillet
