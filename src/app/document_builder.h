// The building stage of a generation run: walks the arrangement tree in pre-order and places each item's
// content (external documents, embedded texts, copies of the declarations of the code store that its name
// selects) into the chapter the item's ancestors name, creating chapters as they are first needed, and
// notes the files that declare what was placed.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

namespace quillet {

class Chapter;
class CodeStore;
class Configuration;
class Document;
class LayoutItem;

/// The files that declare something placed in the document; the undocumented-files report skips them.
using DocumentedFiles = std::unordered_set<std::string>;

/// Fills `document` from the configuration's arrangement tree with copies of declarations of `store`, and
/// `documented` with the files declaring them; stops early when the run is cancelled.
void buildDocument(const Configuration& configuration, const CodeStore& store, Document& document,
                   DocumentedFiles& documented);

/// The chapter that receives `item`'s content: the path of its ancestors' names below the root, each chapter
/// found by exact name or appended; the document itself for an item directly under the root.
Chapter& chapterFor(const LayoutItem& item, Document& document);

/// True when the parsed file `parsed` is the file `named` of an arrangement item: compared without regard to
/// case and with "\" and "/" alike, the shorter path ends the longer one at a folder boundary.
bool sameSourceFile(std::string_view named, std::string_view parsed);

/// True when the first ten bytes (or all, when fewer) of `text` hold a byte that is neither printable nor a
/// line feed, tab or carriage return; bytes 0x80 to 0xFF count as printable.
bool looksBinary(const std::string& text);

}  // namespace quillet
