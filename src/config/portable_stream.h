// The portable text encoding of a ".qlc" configuration file: typed values (integers, reals, strings and
// object records with back-references) written one after the other with no names. The configuration, its
// arrangement tree and its comment tags read and write themselves through these two classes; the editor and
// the tests use them directly. The writer builds the whole text in memory; the reader works over one
// in-memory buffer and never trusts an announced length or count beyond the bytes that remain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillet {

/// Class number of the record that stands for an absent object (a null link).
inline constexpr uint32_t kNullObjectClass = 32775;

class PortableWriter {
 public:
  /// Writes a signed integer in decimal followed by a line break.
  void writeSigned(int32_t value);
  /// Writes an unsigned integer in decimal followed by a line break.
  void writeUnsigned(uint32_t value);
  /// Writes a boolean as the signed integer 0 or 1.
  void writeBool(bool value) { writeSigned(value ? 1 : 0); }
  /// Writes a real in general notation with up to 16 significant digits, followed by a line break.
  void writeReal(double value);
  /// Writes a string: its length, a line break, then its escaped characters between double quotes.
  void writeString(std::string_view value);

  /// Restarts the object numbering; called before each top-level object.
  void beginObjectGraph();
  /// Writes "@" and the object's number when `object` was already written in this graph; false otherwise.
  bool writeReference(const void* object);
  /// Numbers `object` and opens its record of class `class_number`; its own values follow.
  void beginRecord(const void* object, uint32_t class_number);
  /// Closes the record opened last.
  void endRecord();
  /// Writes the null object: its empty record the first time in a graph, a reference afterwards.
  void writeNullObject();

  /// The text written so far.
  const std::string& text() const { return out_; }

 private:
  void writeStringPiece(std::string_view piece);

  std::string out_;
  int stringColumn_ = 0;  // characters written inside strings since the last break they caused
  std::unordered_map<const void*, int32_t> numbers_;
  int32_t nextNumber_ = 0;
  int32_t nullNumber_ = -1;
};

class PortableReader {
 public:
  /// What an object value turned out to be.
  enum class ObjectKind { kRecord, kReference, kNull };
  struct ObjectStart {
    ObjectKind kind = ObjectKind::kNull;
    uint32_t classNumber = 0;  // of the record, or of the object referred to
    size_t slot = 0;           // kRecord: the number to bind the new object to
    void* object = nullptr;    // kReference: the object referred to
  };

  /// A reader over `data`, which must outlive it.
  explicit PortableReader(std::string_view data) : data_(data) {}
  explicit PortableReader(const char* data) : data_(data) {}
  /// A temporary string would be gone before the first read.
  explicit PortableReader(std::string&&) = delete;

  /// Reads a signed 32-bit integer; false when none is there or it is out of range.
  bool readSigned(int32_t& value);
  /// Reads an unsigned 32-bit integer; false when none is there or it is out of range.
  bool readUnsigned(uint32_t& value);
  /// Reads an integer as a boolean: any non-zero value is true.
  bool readBool(bool& value);
  /// Reads a real.
  bool readReal(double& value);
  /// Reads a string; false when it is cut off or holds an unknown escape.
  bool readString(std::string& value);
  /// Reads a count of items that each take at least `min_item_bytes` bytes; false when the remaining bytes
  /// cannot hold that many, so a hostile count never drives an allocation or a long loop.
  bool readCount(uint32_t& count, size_t min_item_bytes);

  /// Restarts the object numbering; called before each top-level object.
  void beginObjectGraph();
  /// Reads the start of an object value: a new record (":" class "\[" ), a reference ("@" number) or the
  /// null object. A new record must be bound to its object with bindObject before anything else is read.
  bool readObjectStart(ObjectStart& start);
  /// Binds the object created for the record whose start gave `slot`.
  void bindObject(size_t slot, void* object) { objects_[slot].object = object; }
  /// Reads the end of a record ("\]").
  bool readRecordEnd();

  /// True when only white space remains.
  bool atEnd();
  /// Bytes not yet read.
  size_t remaining() const { return data_.size() - pos_; }

 private:
  struct Numbered {
    uint32_t classNumber;
    void* object;
  };
  void skipSpace();
  bool readInteger(int64_t& value, int64_t low, int64_t high);
  bool expect(std::string_view token);

  std::string_view data_;
  size_t pos_ = 0;
  std::vector<Numbered> objects_;
};

}  // namespace quillet
