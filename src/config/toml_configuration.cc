#include "config/toml_configuration.h"

// The library checks some of its own expectations with assert() in builds without NDEBUG, among them ones
// that text it reports as a syntax error right after can break (a key that starts with "\r"). Its error
// is what a user should get, in every build, so those checks are left out here.
#define TOML_ASSERT(expr) static_assert(true)
#include <toml++/toml.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <sstream>
#include <utility>
#include <variant>

#include "config/configuration.h"
#include "config/toml_stray_text.h"

namespace quillet {

namespace {

using Names = std::vector<std::string_view>;

// Names of the values 0, 1, ... of the settings written as words; other stored values are written as
// integers.
const Names kMetricLevels = {"summary_and_detailed", "summary", "none"};
const Names kCommentChoices = {"largest",           "prefer_declarations", "prefer_definitions",
                               "declarations_only", "definitions_only",    "concatenate"};
// Item kinds from 0; kind 0 has no name and is written as a number.
const Names kItemKinds = {
    "",        "link_document", "insert_document", "symbols_by_file", "classes_by_name", "functions_by_name",
    "chapter", "text"};
const Names kTagOperations = {"", "keep", "remove", "remove_when_empty", "replace"};
const Names kTagFormatting = {"", "auto", "preserve_all", "preserve_paragraphs"};

// A problem that stops reading: where it is and why.
struct ReadError {
  int line;
  std::string key;
  std::string reason;
};

// ---- Text: TOML holds UTF-8; other bytes are written as a table {latin1 = "..."}, one character a byte.

bool isUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t extra = 0;
    uint32_t code = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, code = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    const uint32_t lowest = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

std::string latin1ToUtf8(std::string_view bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

// The bytes of a latin1 text; false when it holds a character beyond U+00FF.
bool utf8ToLatin1(std::string_view text, std::string& bytes) {
  bytes.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      bytes += static_cast<char>(c);
    } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size()) {
      bytes += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(text[++i]) & 0x3F));
    } else {
      return false;
    }
  }
  return true;
}

// ---- Writing helpers.

void putText(toml::table& table, std::string_view key, std::string_view text) {
  if (isUtf8(text)) {
    table.insert_or_assign(key, std::string(text));
    return;
  }
  toml::table bytes;
  bytes.insert("latin1", latin1ToUtf8(text));
  bytes.is_inline(true);
  table.insert_or_assign(key, std::move(bytes));
}

void putChoice(toml::table& table, std::string_view key, int32_t value, const Names& names) {
  if (value >= 0 && static_cast<size_t>(value) < names.size() && !names[value].empty()) {
    table.insert_or_assign(key, std::string(names[value]));
  } else {
    table.insert_or_assign(key, static_cast<int64_t>(value));
  }
}

toml::table& subTable(toml::table& parent, std::string_view key) {
  auto [it, inserted] = parent.insert(key, toml::table{});
  (void)inserted;
  return *it->second.as_table();
}

// True for a slot at its default: an empty string, 0, or a positive zero (a negative zero is written "-0").
bool isBlank(const std::string& value) {
  return value.empty();
}
bool isBlank(int32_t value) {
  return value == 0;
}
bool isBlank(double value) {
  return value == 0 && !std::signbit(value);
}

// A sparse inline table of the slots that are not blank, keyed by their index; nothing when all are.
template <typename Slots, typename Put>
void putSparse(toml::table& table, std::string_view key, const Slots& slots, Put put) {
  toml::table sparse;
  for (size_t i = 0; i < slots.size(); ++i)
    if (!isBlank(slots[i])) put(sparse, std::to_string(i), slots[i]);
  if (sparse.empty()) return;
  sparse.is_inline(true);
  table.insert_or_assign(key, std::move(sparse));
}

void putString(toml::table& t, const std::string& key, const std::string& value) {
  putText(t, key, value);
}
void putInteger(toml::table& t, const std::string& key, int32_t value) {
  t.insert_or_assign(key, static_cast<int64_t>(value));
}
void putReal(toml::table& t, const std::string& key, double value) {
  t.insert_or_assign(key, value);
}

// ---- Reading helpers.

int lineOf(const toml::node& node) {
  return static_cast<int>(node.source().begin.line);
}

class Reader {
 public:
  explicit Reader(std::vector<std::string>& warnings) : warnings_(warnings) {}

  [[noreturn]] void fail(const toml::node& node, const std::string& key, std::string reason) const {
    throw ReadError{lineOf(node), key, std::move(reason)};
  }
  void warnUnknown(const toml::node& node, const std::string& key) {
    unknown_.push_back({lineOf(node), key});
  }
  /// Unknown keys, formatted for `file`.
  void flushWarnings(const std::string& file) {
    for (const auto& [line, key] : unknown_)
      warnings_.push_back(file + ":" + std::to_string(line) + ": unknown key " + key + " (ignored)");
  }

  const toml::table& table(const toml::node& node, const std::string& key) const {
    if (const toml::table* table = node.as_table()) return *table;
    fail(node, key, "expected a table");
  }
  const toml::array& array(const toml::node& node, const std::string& key) const {
    if (const toml::array* array = node.as_array()) return *array;
    fail(node, key, "expected an array");
  }
  std::string text(const toml::node& node, const std::string& key) const {
    if (const auto* value = node.as_string()) return value->get();
    if (const toml::table* table = node.as_table(); table && table->size() == 1) {
      if (const toml::node* latin1 = table->get("latin1"); latin1 && latin1->is_string()) {
        std::string bytes;
        if (utf8ToLatin1(latin1->as_string()->get(), bytes)) return bytes;
        fail(*latin1, key + ".latin1", "a character beyond U+00FF cannot stand for a byte");
      }
    }
    fail(node, key, "expected a string");
  }
  bool boolean(const toml::node& node, const std::string& key) const {
    if (const auto* value = node.as_boolean()) return value->get();
    fail(node, key, "expected true or false");
  }
  int64_t integer(const toml::node& node, const std::string& key, int64_t low, int64_t high) const {
    const auto* value = node.as_integer();
    if (value == nullptr) fail(node, key, "expected an integer");
    if (value->get() < low || value->get() > high)
      fail(node, key, "expected an integer from " + std::to_string(low) + " to " + std::to_string(high));
    return value->get();
  }
  int32_t signedValue(const toml::node& node, const std::string& key) const {
    return static_cast<int32_t>(
        integer(node, key, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
  }
  uint32_t unsignedValue(const toml::node& node, const std::string& key) const {
    return static_cast<uint32_t>(integer(node, key, 0, std::numeric_limits<uint32_t>::max()));
  }
  double real(const toml::node& node, const std::string& key) const {
    if (const auto* value = node.as_floating_point()) return value->get();
    if (const auto* value = node.as_integer()) return static_cast<double>(value->get());
    fail(node, key, "expected a number");
  }
  int32_t choice(const toml::node& node, const std::string& key, const Names& names) const {
    if (node.is_integer()) return signedValue(node, key);
    if (const auto* value = node.as_string()) {
      for (size_t i = 0; i < names.size(); ++i)
        if (!names[i].empty() && names[i] == value->get()) return static_cast<int32_t>(i);
    }
    std::string expected;
    for (const std::string_view name : names) {
      if (name.empty()) continue;
      if (!expected.empty()) expected += ", ";
      expected += name;
    }
    fail(node, key, "expected one of " + expected + " (or a number)");
  }

  /// Calls `known` for each key of `table`; keys it does not take are warned about.
  void eachKey(const toml::table& table, const std::string& path,
               const std::function<bool(const std::string&, const toml::node&, const std::string&)>& known) {
    for (const auto& [key, node] : table) {
      const std::string name(key.str());
      const std::string full = path.empty() ? name : path + "." + name;
      if (!known(name, node, full)) warnUnknown(node, full);
    }
  }

  /// Reads a sparse table of reserved slots keyed by index into `slots`.
  template <typename Slots, typename Get>
  void sparse(const toml::node& node, const std::string& path, Slots& slots, Get get) {
    for (const auto& [key, value] : table(node, path)) {
      const std::string name(key.str());
      size_t index = 0;
      bool number = !name.empty() && name.size() < 6;
      for (const char c : name) number = number && c >= '0' && c <= '9';
      if (number) index = std::stoul(name);
      if (!number || index >= slots.size()) {
        warnUnknown(value, path + "." + name);
        continue;
      }
      slots[index] = get(value, path + "." + name);
    }
  }

 private:
  std::vector<std::string>& warnings_;
  std::vector<std::pair<int, std::string>> unknown_;
};

}  // namespace

// Every field of the stored form, by table and name; a friend of the classes whose fields it reads.
struct TomlFields {
  using StringField = std::string Configuration::*;
  using BoolField = bool Configuration::*;
  using IntField = int32_t Configuration::*;
  using UnsignedField = uint32_t Configuration::*;

  struct Setting {
    std::string_view table;
    std::string_view key;
    std::variant<StringField, BoolField, IntField, UnsignedField> field;
    const Names* choices = nullptr;  // for integer fields written as words
  };

  static const std::vector<Setting>& settings() {
    using C = Configuration;
    static const std::vector<Setting> table = {
        {"preprocessor", "include_path", &C::includePath_},
        {"preprocessor", "defines", &C::defines_},
        {"preprocessor", "use_include_environment", &C::useIncludeEnvironment_},
        {"preprocessor", "reparse_headers", &C::reparseHeaders_},
        {"preprocessor", "compiler_profile", &C::compilerProfile_},
        {"preprocessor", "compiler_version", &C::compilerVersion_},
        {"output", "html_output_file", &C::htmlOutputFile_},
        {"output", "rtf_output_file", &C::rtfOutputFile_},
        {"output", "win_help_output_file", &C::winHelpOutputFile_},
        {"output", "html_style", &C::htmlStyle_},
        {"output", "rtf_style", &C::rtfStyle_},
        {"output", "win_help_style", &C::winHelpStyle_},
        {"output", "background_image", &C::backgroundImage_},
        {"output", "background_colour", &C::backgroundColour_},
        {"output", "short_file_names", &C::shortFileNames_},
        {"output", "link_to_headers", &C::linkToHeaders_},
        {"output", "functions_in_toc", &C::functionsInToc_},
        {"document", "document_protected", &C::documentProtected_},
        {"document", "document_private", &C::documentPrivate_},
        {"document", "no_sort_members", &C::noSortMembers_},
        {"document", "tab_size", &C::tabSize_},
        {"comments", "no_auto_format", &C::noAutoFormat_},
        {"comments", "no_comments_before_prototypes", &C::noCommentsBeforePrototypes_},
        {"comments", "comments_after_prototype", &C::commentsAfterPrototype_},
        {"comments", "no_parameter_comments", &C::noParameterComments_},
        {"comments", "macro_comments", &C::macroComments_},
        {"comments", "no_auto_capitalize", &C::noAutoCapitalize_},
        {"comments", "duplicate_comment_choice", &C::duplicateCommentChoice_, &kCommentChoices},
        {"metrics", "metric_level", &C::metricLevel_, &kMetricLevels},
        {"metrics", "metrics_show_member_functions", &C::metricsShowMemberFunctions_},
        {"metrics", "class_min_statements", &C::classMinStatements_},
        {"metrics", "class_min_public_functions", &C::classMinPublicFunctions_},
        {"metrics", "class_min_complexity", &C::classMinComplexity_},
        {"metrics", "function_min_complexity", &C::functionMinComplexity_},
        {"metrics", "function_min_statements", &C::functionMinStatements_},
        {"reserved", "reserved_text", &C::reservedText_},
        {"reserved", "reserved_flag1", &C::reservedFlag1_},
        {"reserved", "reserved_flag2", &C::reservedFlag2_},
        {"reserved", "legacy_single_file", &C::legacySingleFile_},
        {"reserved", "legacy_flag", &C::legacyFlag_},
        {"reserved", "legacy_paper", &C::legacyPaper_},
    };
    return table;
  }

  // The settings of a new configuration, against which a setting counts as changed.
  static const Configuration& reference() {
    static const Configuration fresh;
    return fresh;
  }

  // ---- Writing.

  static void writeSetting(const Setting& setting, const Configuration& c, toml::table& section) {
    const Configuration& d = reference();
    std::visit(
        [&](auto field) {
          if (c.*field == d.*field) return;
          using Value = std::decay_t<decltype(c.*field)>;
          if constexpr (std::is_same_v<Value, std::string>) {
            putText(section, setting.key, c.*field);
          } else if constexpr (std::is_same_v<Value, bool>) {
            section.insert_or_assign(setting.key, c.*field);
          } else if constexpr (std::is_same_v<Value, int32_t>) {
            if (setting.choices) {
              putChoice(section, setting.key, c.*field, *setting.choices);
            } else {
              section.insert_or_assign(setting.key, static_cast<int64_t>(c.*field));
            }
          } else {
            section.insert_or_assign(setting.key, static_cast<int64_t>(c.*field));
          }
        },
        setting.field);
  }

  static toml::table item(const LayoutItem& item, bool root) {
    toml::table t;
    if (root || !item.name_.empty()) putText(t, "name", item.name_);
    if (!root || item.kind_ != LayoutItem::kChapter) putChoice(t, "kind", item.kind_, kItemKinds);
    if (!item.text_.empty()) putText(t, "text", item.text_);
    if (item.noCombineHeaders_) t.insert("no_combine_headers", true);
    if (item.preserveFormatting_) t.insert("preserve_formatting", true);
    if (item.noHeaderComments_) t.insert("no_header_comments", true);
    if (item.copyToOutput_) t.insert("copy_to_output", true);
    toml::table reserved;
    putSparse(reserved, "strings", item.reservedStrings_, putString);
    putSparse(reserved, "numbers", item.reservedNumbers_, putInteger);
    putSparse(reserved, "reals", item.reservedReals_, putReal);
    if (!reserved.empty()) {
      reserved.is_inline(true);
      t.insert("reserved", std::move(reserved));
    }
    if (item.childCount() > 0) {
      toml::array children;
      for (const auto& child : item.children_) children.push_back(TomlFields::item(*child, false));
      t.insert("children", std::move(children));
    }
    return t;
  }

  static toml::table tag(const CommentTag& tag) {
    toml::table t;
    putText(t, "tag_name", tag.tagName_);
    if (tag.operation_ != CommentTag::kKeepTag) putChoice(t, "operation", tag.operation_, kTagOperations);
    if (!tag.replacement_.empty()) putText(t, "replacement", tag.replacement_);
    if (tag.removeTextAfter_) t.insert("remove_text_after", true);
    if (tag.removeTextBefore_) t.insert("remove_text_before", true);
    if (tag.paragraphBreakBefore_) t.insert("paragraph_break_before", true);
    if (tag.formatting_ != CommentTag::kAutoFormat)
      putChoice(t, "formatting", tag.formatting_, kTagFormatting);
    toml::table reserved;
    putSparse(reserved, "texts", tag.reservedTexts_, putString);
    putSparse(reserved, "numbers", tag.reservedNumbers_, putInteger);
    if (!reserved.empty()) {
      reserved.is_inline(true);
      t.insert("reserved", std::move(reserved));
    }
    return t;
  }

  static std::string write(const Configuration& c) {
    toml::table root;
    for (const Setting& setting : settings()) writeSetting(setting, c, subTable(root, setting.table));

    if (!c.sourceEntries_.empty()) {
      toml::array files;
      for (const SourceEntry& entry : c.sourceEntries_) {
        toml::table file;
        putText(file, "path", entry.path);
        if (entry.includeSubfolders) file.insert("include_subfolders", true);
        files.push_back(std::move(file));
      }
      subTable(root, "sources").insert("files", std::move(files));
    }
    if (!c.commentTags_.empty()) {
      toml::array tags;
      for (const CommentTag& comment_tag : c.commentTags_) tags.push_back(tag(comment_tag));
      subTable(root, "comments").insert("tags", std::move(tags));
    }
    root.insert("arrangement", item(c.arrangement_, true));
    for (const auto& [name, value] : c.extensions_.values())
      putText(subTable(root, "extensions"), name, value);

    toml::table& reserved = subTable(root, "reserved");
    // The last slot carries the extension settings in the stored form; it is not written twice.
    std::vector<std::string> strings = c.reservedStrings_;
    if (!c.extensions_.empty()) strings.back().clear();
    putSparse(reserved, "strings", strings, putString);
    putSparse(reserved, "numbers", c.reservedNumbers_, putInteger);
    putSparse(reserved, "reals", c.reservedReals_, putReal);

    // Tables in reading order; each is written on its own so that the order is kept.
    std::string text =
        "# Quillet configuration. Settings left out keep their defaults; `man quillet` lists them.\n";
    for (const std::string_view name : {"sources", "preprocessor", "output", "document", "comments",
                                        "metrics", "arrangement", "extensions", "reserved"}) {
      toml::node* section = root.get(name);
      if (section == nullptr || section->as_table()->empty()) continue;
      toml::table alone;
      alone.insert(name, std::move(*section->as_table()));
      text += "\n" + formatted(alone) + "\n";
    }
    return text;
  }

  // The TOML text of `table`. Texts are written in the literal and multi-line forms where that reads back
  // as written; the library's writer drops a line break that starts a multi-line text and puts a lone
  // carriage return into a literal one, so each section is read back and, where it differs, written with
  // every text in quotes and every control character escaped.
  static std::string formatted(const toml::table& table) {
    constexpr toml::format_flags kReadable =
        toml::toml_formatter::default_flags & ~toml::format_flags::indentation;
    constexpr toml::format_flags kExact = kReadable & ~toml::format_flags::allow_multi_line_strings &
                                          ~toml::format_flags::allow_literal_strings &
                                          ~toml::format_flags::allow_real_tabs_in_strings;
    std::ostringstream readable;
    readable << toml::toml_formatter(table, kReadable);
    try {
      if (toml::parse(readable.str()) == table) return readable.str();
    } catch (const toml::parse_error&) {
    }
    std::ostringstream exact;
    exact << toml::toml_formatter(table, kExact);
    return exact.str();
  }

  // ---- Reading.

  static void readSetting(Reader& in, const Setting& setting, const toml::node& node, const std::string& key,
                          Configuration& c) {
    std::visit(
        [&](auto field) {
          using Value = std::decay_t<decltype(c.*field)>;
          if constexpr (std::is_same_v<Value, std::string>) {
            c.*field = in.text(node, key);
          } else if constexpr (std::is_same_v<Value, bool>) {
            c.*field = in.boolean(node, key);
          } else if constexpr (std::is_same_v<Value, int32_t>) {
            c.*field = setting.choices ? in.choice(node, key, *setting.choices) : in.signedValue(node, key);
          } else {
            c.*field = in.unsignedValue(node, key);
          }
        },
        setting.field);
  }

  static void readItem(Reader& in, const toml::node& node, const std::string& path, LayoutItem& item,
                       int depth) {
    if (depth > LayoutItem::kMaxStoredDepth) in.fail(node, path, "the arrangement nests too deeply");
    in.eachKey(
        in.table(node, path), path,
        [&](const std::string& key, const toml::node& value, const std::string& full) {
          if (key == "name") {
            item.name_ = in.text(value, full);
          } else if (key == "kind") {
            item.kind_ = in.choice(value, full, kItemKinds);
          } else if (key == "text") {
            item.text_ = in.text(value, full);
          } else if (key == "no_combine_headers") {
            item.noCombineHeaders_ = in.boolean(value, full);
          } else if (key == "preserve_formatting") {
            item.preserveFormatting_ = in.boolean(value, full);
          } else if (key == "no_header_comments") {
            item.noHeaderComments_ = in.boolean(value, full);
          } else if (key == "copy_to_output") {
            item.copyToOutput_ = in.boolean(value, full);
          } else if (key == "reserved") {
            in.eachKey(
                in.table(value, full), full,
                [&](const std::string& k, const toml::node& v, const std::string& f) {
                  if (k == "strings") {
                    in.sparse(v, f, item.reservedStrings_,
                              [&](const toml::node& n, const std::string& p) { return in.text(n, p); });
                  } else if (k == "numbers") {
                    in.sparse(v, f, item.reservedNumbers_, [&](const toml::node& n, const std::string& p) {
                      return in.signedValue(n, p);
                    });
                  } else if (k == "reals") {
                    in.sparse(v, f, item.reservedReals_,
                              [&](const toml::node& n, const std::string& p) { return in.real(n, p); });
                  } else {
                    return false;
                  }
                  return true;
                });
          } else if (key == "children") {
            const toml::array& children = in.array(value, full);
            for (size_t i = 0; i < children.size(); ++i)
              readItem(in, children[i], full + "[" + std::to_string(i) + "]", *item.addChild(), depth + 1);
          } else {
            return false;
          }
          return true;
        });
  }

  static CommentTag readTag(Reader& in, const toml::node& node, const std::string& path) {
    CommentTag tag;
    in.eachKey(
        in.table(node, path), path,
        [&](const std::string& key, const toml::node& value, const std::string& full) {
          if (key == "tag_name") {
            tag.tagName_ = in.text(value, full);
          } else if (key == "operation") {
            tag.operation_ = in.choice(value, full, kTagOperations);
          } else if (key == "replacement") {
            tag.replacement_ = in.text(value, full);
          } else if (key == "remove_text_after") {
            tag.removeTextAfter_ = in.boolean(value, full);
          } else if (key == "remove_text_before") {
            tag.removeTextBefore_ = in.boolean(value, full);
          } else if (key == "paragraph_break_before") {
            tag.paragraphBreakBefore_ = in.boolean(value, full);
          } else if (key == "formatting") {
            tag.formatting_ = in.choice(value, full, kTagFormatting);
          } else if (key == "reserved") {
            in.eachKey(
                in.table(value, full), full,
                [&](const std::string& k, const toml::node& v, const std::string& f) {
                  if (k == "texts") {
                    in.sparse(v, f, tag.reservedTexts_,
                              [&](const toml::node& n, const std::string& p) { return in.text(n, p); });
                  } else if (k == "numbers") {
                    in.sparse(v, f, tag.reservedNumbers_, [&](const toml::node& n, const std::string& p) {
                      return in.signedValue(n, p);
                    });
                  } else {
                    return false;
                  }
                  return true;
                });
          } else {
            return false;
          }
          return true;
        });
    return tag;
  }

  // The text of an extension setting: strings as written, other plain values in their usual spelling.
  static std::string extensionValue(Reader& in, const toml::node& node, const std::string& key) {
    if (node.is_boolean()) return node.as_boolean()->get() ? "true" : "false";
    if (node.is_integer()) return std::to_string(node.as_integer()->get());
    if (node.is_floating_point()) {
      std::ostringstream out;
      out << *node.as_floating_point();
      return out.str();
    }
    return in.text(node, key);
  }

  static void read(Reader& in, const toml::table& root, Configuration& c) {
    in.eachKey(root, "", [&](const std::string& table, const toml::node& node, const std::string&) {
      if (table == "arrangement") {
        readItem(in, node, table, c.arrangement_, 0);
        return true;
      }
      if (table == "extensions") {
        for (const auto& [key, value] : in.table(node, table)) {
          const std::string name(key.str());
          c.extensions_.set(name, extensionValue(in, value, table + "." + name));
        }
        return true;
      }
      bool known_table = table == "sources";
      for (const Setting& setting : settings()) known_table = known_table || setting.table == table;
      if (!known_table) return false;
      in.eachKey(in.table(node, table), table,
                 [&](const std::string& key, const toml::node& value, const std::string& full) {
                   for (const Setting& setting : settings()) {
                     if (setting.table != table || setting.key != key) continue;
                     readSetting(in, setting, value, full, c);
                     return true;
                   }
                   if (table == "sources" && key == "files") {
                     const toml::array& files = in.array(value, full);
                     for (size_t i = 0; i < files.size(); ++i) {
                       const std::string at = full + "[" + std::to_string(i) + "]";
                       SourceEntry entry;
                       bool has_path = false;
                       in.eachKey(in.table(files[i], at), at,
                                  [&](const std::string& k, const toml::node& v, const std::string& f) {
                                    if (k == "path") {
                                      entry.path = in.text(v, f), has_path = true;
                                    } else if (k == "include_subfolders") {
                                      entry.includeSubfolders = in.boolean(v, f);
                                    } else {
                                      return false;
                                    }
                                    return true;
                                  });
                       if (!has_path) in.fail(files[i], at + ".path", "a source entry needs a path");
                       c.sourceEntries_.push_back(std::move(entry));
                     }
                     return true;
                   }
                   if (table == "comments" && key == "tags") {
                     const toml::array& tags = in.array(value, full);
                     for (size_t i = 0; i < tags.size(); ++i)
                       c.commentTags_.push_back(readTag(in, tags[i], full + "[" + std::to_string(i) + "]"));
                     return true;
                   }
                   if (table == "reserved" && key == "strings") {
                     in.sparse(value, full, c.reservedStrings_,
                               [&](const toml::node& n, const std::string& p) { return in.text(n, p); });
                     return true;
                   }
                   if (table == "reserved" && key == "numbers") {
                     in.sparse(
                         value, full, c.reservedNumbers_,
                         [&](const toml::node& n, const std::string& p) { return in.signedValue(n, p); });
                     return true;
                   }
                   if (table == "reserved" && key == "reals") {
                     in.sparse(value, full, c.reservedReals_,
                               [&](const toml::node& n, const std::string& p) { return in.real(n, p); });
                     return true;
                   }
                   return false;
                 });
      return true;
    });
    c.modified_ = false;
  }
};

TomlReadResult readTomlConfiguration(std::string_view text, const std::string& file_name,
                                     Configuration& configuration) {
  TomlReadResult result;
  configuration = Configuration();
  if (const std::optional<TomlTextProblem> problem = tomlTextProblem(text)) {
    result.error = file_name + ":" + std::to_string(problem->position.line) + ":" +
                   std::to_string(problem->position.column) + ": " + problem->what;
    return result;
  }
  toml::table root;
  try {
    root = toml::parse(text, std::string_view(file_name));
  } catch (const toml::parse_error& error) {
    const toml::source_position at = error.source().begin;
    result.error = file_name + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) + ": " +
                   std::string(error.description());
    return result;
  }
  Reader in(result.warnings);
  try {
    TomlFields::read(in, root, configuration);
  } catch (const ReadError& error) {
    result.error = file_name + ":" + std::to_string(error.line) + ": " + error.key + ": " + error.reason;
    in.flushWarnings(file_name);
    return result;
  }
  in.flushWarnings(file_name);
  result.ok = true;
  return result;
}

std::string writeTomlConfiguration(const Configuration& configuration) {
  return TomlFields::write(configuration);
}

}  // namespace quillet
