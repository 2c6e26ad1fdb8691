// The link index of one output set: where each anchor is written (output file and anchor name), so that a
// link can name a target written later or in another file. The dictionary pass records every anchor; the
// file pass and the linked-text writer read it; the output stage creates one per output format, hands it
// the typedef names of documented classes and lists its named entries in the HTML ".idx" file.
//
// Objects are recorded by identity and, through their full names, by name. A full name met again with
// another file or anchor is ambiguous (overloaded functions, say): it is withdrawn and never recorded again,
// so linked text does not guess between its targets. Anchor names are unique to their declaration: when two
// declarations' anchor names come out alike (geo::Circle and a global class geo_scp_Circle), the later one's
// gets a numeric suffix, in both passes alike, so every link finds its own target.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "template_objects/link_lookup.h"

namespace quillet {

class StyleSheetObject;

class LinkIndex final : public LinkLookup {
 public:
  /// Where an anchor is: the output file (name and extension, no folder) and the anchor's name, with the
  /// kind of symbol the anchored object documents.
  struct Entry {
    std::string fileName;
    std::string anchorName;
    LinkKind kind = LinkKind::kOther;
    bool operator==(const Entry&) const = default;
  };

  /// A named entry as listed for the ".idx" file.
  struct NamedEntry {
    std::string_view name;
    const Entry* entry;
  };

  /// The prefix of the keys of postfixed anchors (anchor_(function, _impl)), keeping them apart from names.
  static constexpr std::string_view kPostfixPrefix = "ud43525029";

  LinkIndex() = default;
  LinkIndex(const LinkIndex&) = delete;
  LinkIndex& operator=(const LinkIndex&) = delete;

  /// Records `object`'s anchor in `fileName` under its identity (the first record stays) and its non-empty
  /// full name (unless that name is, or thereby becomes, ambiguous); false when the object had a record.
  bool addObject(std::string_view fileName, const StyleSheetObject& object);
  /// Records the anchor `anchorName` in `fileName` under `key`; the first record of a key stays, and an
  /// ambiguous name is not recorded.
  void addNamed(std::string_view fileName, std::string_view key, std::string_view anchorName);
  /// Records the typedef `name` as another name of `target` (an entry found with findNamed), under the same
  /// rule as full names: a name already recorded with another target becomes ambiguous.
  void addTypedef(std::string_view name, Entry target);

  /// The entry recorded for `object`, or null.
  const Entry* findObject(const StyleSheetObject& object) const;
  /// The entry recorded under `key`, or null (also for ambiguous names).
  const Entry* findNamed(std::string_view key) const;
  /// True when `name` was withdrawn as ambiguous.
  bool isAmbiguous(std::string_view name) const;
  /// False when no name was recorded whose last part (after its last "::" outside template arguments) is
  /// `word`: the linked-text writer then skips the keys it would try for the word in each enclosing scope.
  bool mayName(std::string_view word) const override;

  /// The link text to `object` for the context's markup: "file#anchor" for HTML, the anchor alone for RTF;
  /// empty when the object has no entry.
  std::string objectLink(const StyleSheetObject& object, const EvaluationContext& context) const override;
  /// The link text to the anchor recorded under `key`, as objectLink; empty when none is.
  std::string namedLink(const EvaluationContext& context, std::string_view key) const override;
  /// The link text to the anchor recorded under `key` and the kind of its object.
  LinkTarget namedTarget(const EvaluationContext& context, std::string_view key) const override;
  /// The anchor name to write for `object`: the recorded one, else anchorName(object).
  std::string objectAnchor(const EvaluationContext& context, const StyleSheetObject& object);
  /// The anchor name to write for `key`: the recorded one, else the key itself.
  std::string namedAnchor(const EvaluationContext& context, std::string_view key) const;

  /// The link text to `entry` for the context's markup: "file#anchor" for HTML, the anchor alone for RTF.
  static std::string linkText(const EvaluationContext& context, const Entry& entry);
  /// The key of a postfixed anchor of `object`: kPostfixPrefix, anchorName(object) and `postfix`.
  std::string postfixKey(const StyleSheetObject& object, std::string_view postfix);
  /// The anchor name of `object`: its AnchorName(), or, when another declaration (told apart by type and
  /// StyleSheetObject::DeclarationKey) was given that name first, the name with a suffix "_2", "_3", ...
  const std::string& anchorName(const StyleSheetObject& object);
  /// Ends the recording: from now on the index only answers, so that the threads writing pages may ask it
  /// side by side (an object met for the first time gets the name it would get, without recording it).
  void freeze() { frozen_ = true; }

  /// The number of named entries.
  size_t namedCount() const { return named_.size(); }
  /// Every named entry, sorted by name; valid until the index changes.
  std::vector<NamedEntry> namedEntries() const;

 private:
  struct StringHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  using NameMap = std::unordered_map<std::string, Entry, StringHash, std::equal_to<>>;
  using NameSet = std::unordered_set<std::string, StringHash, std::equal_to<>>;

  void recordName(std::string name, const Entry& entry);
  // Enters the last part of a name recorded in lastWords_ and its bit in wordBits_.
  void recordLastWord(std::string_view name);
  // The bit of wordBits_ that stands for `word`.
  static size_t wordBit(std::string_view word);
  const std::string& frozenAnchorName(std::string base, const std::string& owner) const;

  using TextMap = std::unordered_map<std::string, std::string, StringHash, std::equal_to<>>;

  std::unordered_map<const StyleSheetObject*, Entry> objects_;
  NameMap named_;
  NameSet ambiguous_;
  NameSet lastWords_;  // the last part of every name recorded, withdrawn ones included
  // One bit per hash value of a last word: a word whose bit is clear names nothing, which most words of a
  // text are told by this small table rather than by a search of the large set.
  std::vector<uint64_t> wordBits_ = std::vector<uint64_t>(kWordBits / 64);
  static constexpr size_t kWordBits = size_t{1} << 16;
  TextMap anchorOwners_;  // anchor name given out -> the declaration it was given to
  TextMap renamed_;       // declaration "\n" AnchorName() -> the suffixed name it was given instead
  bool frozen_ = false;
};

}  // namespace quillet
