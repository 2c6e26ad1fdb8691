// Macro definitions, the header record that remembers what reading one file did to the macros, and the
// header cache that a generation run keeps between modules. The first module that reads a header pays for
// it; later modules replay its record (its macros and the records of the files it included) instead of
// reading it again, because its declarations are already in the code model. Used by the preprocessor and
// by the generation run's module loop. The cache also remembers where include names led on disk.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "frontend/preprocessor/include_resolver.h"
#include "frontend/preprocessor/token.h"

namespace quillet {

// Hashing for maps keyed by std::string that are searched with a std::string_view.
struct StringViewHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

struct Macro {
  std::string name;
  bool functionLike = false;
  /// True when the last parameter takes the variable arguments ("..." names it "__VA_ARGS__").
  bool variadic = false;
  /// Parameter names of a function-like macro, in order.
  std::vector<std::string> parameters;
  /// The replacement, white space dropped (kSpaceBefore tells where it was).
  std::vector<token_t> replacement;
  /// For each replacement token, the index of the parameter it names, or -1.
  std::vector<int32_t> parameterOf;
  /// True when the replacement contains "##", so that even an object-like macro must be built.
  bool pastes = false;
  /// The bytes of text in the replacement.
  uint64_t replacementBytes = 0;
  /// The hash of the name, worked out once: a module's table of macros in effect is filled with the same
  /// definitions again for every module that replays a header.
  size_t nameHash = 0;
  /// How many expansions of this macro are being rescanned right now; while it is not 0 the macro's name
  /// is not expanded. A run reads one module at a time, so the count belongs to the preprocessor at work.
  mutable uint32_t expanding = 0;
};

using MacroPtr = std::shared_ptr<const Macro>;
using MacroTable = std::unordered_map<std::string, MacroPtr, StringViewHash, std::equal_to<>>;

/// The hash by which the table of macros in effect finds a name (FNV-1a: short names hash quickly and
/// spread well).
inline size_t macroNameHash(std::string_view name) {
  uint64_t hash = 14695981039346656037ull;
  for (char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return static_cast<size_t>(hash ^ (hash >> 29));
}

/// A macro ready for expansion: parameter references and pasting worked out once.
MacroPtr makeMacro(std::string name, bool function_like, std::vector<std::string> parameters,
                   std::vector<token_t> replacement, bool variadic = false);

/// One step of what reading a file did to the macros, in the order it happened.
struct MacroEvent {
  enum Kind : uint8_t { kDefine, kUndefine, kInclude };
  Kind kind = kDefine;
  /// The macro defined (kDefine).
  MacroPtr macro;
  /// The name undefined (kUndefine) or the resolved name of the file included (kInclude).
  std::string name;
};

struct HeaderRecord {
  /// The file's resolved name.
  std::string fileName;
  /// Object-like macros defined in the file; a later definition of a name replaces the entry.
  MacroTable objectMacros;
  /// Function-like macros defined in the file.
  MacroTable functionMacros;
  /// Resolved names of the files this file included, in order.
  std::vector<std::string> includedFiles;
  /// Definitions, undefinitions and inclusions in the order they happened; a replay repeats them.
  std::vector<MacroEvent> events;
  /// Set when the file was read to its end.
  bool completelyRead = false;
  /// Set for a header found in the compiler's system folders: read for its macros, not documented.
  bool system = false;
};

using HeaderRecordPtr = std::shared_ptr<HeaderRecord>;

class HeaderCache {
 public:
  HeaderCache() = default;
  HeaderCache(const HeaderCache&) = delete;
  HeaderCache& operator=(const HeaderCache&) = delete;

  /// The record of the file named exactly `file_name`, or null.
  const HeaderRecord* find(std::string_view file_name) const;
  /// True when a record of the file named exactly `file_name` is held.
  bool contains(std::string_view file_name) const { return find(file_name) != nullptr; }
  /// Adds the records of a finished module; a file that already has a record keeps the earlier one.
  void add(std::vector<HeaderRecordPtr> records);
  /// The number of records held.
  size_t size() const { return records_.size(); }
  /// Forgets every record.
  void clear() {
    records_.clear();
    journal_.clear();
  }
  /// The run's file lookups for include names, remembered from module to module.
  FileLookup& fileLookup() { return lookup_; }
  /// Forgets the file lookups, after files were added or removed.
  void forgetFiles() { lookup_.forget(); }
  /// True the first time `name` is given: an include file missing from the search path is reported once
  /// per run.
  bool firstMissing(const std::string& name);

  /// A point in the history of the records added and the missing files met, to roll back to: a module
  /// read ahead of its turn whose turn goes otherwise is taken back out.
  size_t journalPosition() const { return journal_.size(); }
  /// Forgets every record added and every missing file met since `position`.
  void rollBack(size_t position);
  /// The macros that every module starts with, made from `defines` ("NAME" or "NAME=value") and
  /// `compiler_macros` ("NAME value" or "NAME(params) value", as "#define" lines give them) by `make`
  /// once per run and kept while the same settings are asked for. The table owns its macros.
  std::shared_ptr<const MacroTable> predefined(const std::vector<std::string>& defines,
                                               const std::vector<std::string>& compiler_macros,
                                               const std::function<MacroTable()>& make);

 private:
  DiskFileLookup lookup_;
  std::unordered_set<std::string> missing_;
  std::vector<std::string> predefinedDefines_;
  std::vector<std::string> predefinedCompilerMacros_;
  std::shared_ptr<const MacroTable> predefined_;
  std::unordered_map<std::string, HeaderRecordPtr, StringViewHash, std::equal_to<>> records_;
  // What add() and firstMissing() entered, in order: a record's file name, or a missing name after a "\n".
  std::vector<std::string> journal_;
};

}  // namespace quillet
