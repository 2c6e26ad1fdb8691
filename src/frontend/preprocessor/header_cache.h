// Macro definitions, the header record that remembers what reading one file did to the macros, and the
// header cache that a generation run keeps between modules. The first module that reads a header pays for
// it; later modules replay its record (its macros and the records of the files it included) instead of
// reading it again, because its declarations are already in the code model. Used by the preprocessor and
// by the generation run's module loop. The cache also remembers where include names led on disk.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
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
  /// Parameter names of a function-like macro, in order.
  std::vector<std::string> parameters;
  /// The replacement, white space dropped.
  std::vector<token_t> replacement;
  /// For each replacement token, the index of the parameter it names, or -1.
  std::vector<int32_t> parameterOf;
  /// True when the replacement contains "##", so that even an object-like macro must be built.
  bool pastes = false;
  /// The bytes of text in the replacement.
  uint64_t replacementBytes = 0;
};

using MacroPtr = std::shared_ptr<const Macro>;
using MacroTable = std::unordered_map<std::string, MacroPtr, StringViewHash, std::equal_to<>>;

/// A macro ready for expansion: parameter references and pasting worked out once.
MacroPtr makeMacro(std::string name, bool function_like, std::vector<std::string> parameters,
                   std::vector<token_t> replacement);

struct HeaderRecord {
  /// The file's resolved name.
  std::string fileName;
  /// Object-like macros defined in the file; a later definition of a name replaces the entry.
  MacroTable objectMacros;
  /// Function-like macros defined in the file.
  MacroTable functionMacros;
  /// Resolved names of the files this file included, in order.
  std::vector<std::string> includedFiles;
  /// Set when the file was read to its end.
  bool completelyRead = false;
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
  void clear() { records_.clear(); }
  /// The run's file lookups for include names, remembered from module to module.
  FileLookup& fileLookup() { return lookup_; }

 private:
  DiskFileLookup lookup_;
  std::unordered_map<std::string, HeaderRecordPtr, StringViewHash, std::equal_to<>> records_;
};

}  // namespace quillet
