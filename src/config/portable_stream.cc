#include "config/portable_stream.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>

namespace quillet {

namespace {

// Characters inside strings that fit on one line of the file before the writer breaks it.
constexpr int kStringLineLimit = 80;

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kRecordOpen = "\\[";
constexpr std::string_view kRecordClose = "\\]";

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The escape that stands for `c` inside a string, or an empty view when `c` is written as itself.
std::string_view namedEscape(char c) {
  switch (c) {
    case '\n':
      return "\\n";
    case '\t':
      return "\\t";
    case '\b':
      return "\\b";
    case '\r':
      return "\\r";
    case '\f':
      return "\\f";
    case '\\':
      return "\\\\";
    case '"':
      return "\\\"";
    case '{':
      return "\\[";
    case '}':
      return "\\]";
    default:
      return {};
  }
}

}  // namespace

void PortableWriter::writeSigned(int32_t value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out_.append(buffer, result.ptr);
  out_ += kLineBreak;
}

void PortableWriter::writeUnsigned(uint32_t value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out_.append(buffer, result.ptr);
  out_ += kLineBreak;
}

void PortableWriter::writeReal(double value) {
  char buffer[40];
  const int length = std::snprintf(buffer, sizeof buffer, "%.16g", value);
  out_.append(buffer, static_cast<size_t>(length));
  out_ += kLineBreak;
}

void PortableWriter::writeStringPiece(std::string_view piece) {
  const int length = static_cast<int>(piece.size());
  if (stringColumn_ + length > kStringLineLimit) {
    out_ += kLineBreak;
    stringColumn_ = 0;
  }
  out_ += piece;
  stringColumn_ += length;
}

void PortableWriter::writeString(std::string_view value) {
  writeUnsigned(static_cast<uint32_t>(value.size()));
  writeStringPiece("\"");
  for (const char c : value) {
    const std::string_view escape = namedEscape(c);
    if (!escape.empty()) {
      writeStringPiece(escape);
    } else if (c > ' ' && c < 0x7f) {
      writeStringPiece(std::string_view(&c, 1));
    } else {
      static constexpr char kHex[] = "0123456789abcdef";
      const auto byte = static_cast<unsigned char>(c);
      const char hex[4] = {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
      writeStringPiece(std::string_view(hex, 4));
    }
  }
  writeStringPiece("\"");
}

void PortableWriter::beginObjectGraph() {
  numbers_.clear();
  nextNumber_ = 0;
  nullNumber_ = -1;
}

bool PortableWriter::writeReference(const void* object) {
  const auto found = numbers_.find(object);
  if (found == numbers_.end()) return false;
  out_ += '@';
  writeSigned(found->second);
  return true;
}

void PortableWriter::beginRecord(const void* object, uint32_t class_number) {
  numbers_[object] = nextNumber_++;
  out_ += ':';
  writeUnsigned(class_number);
  out_ += kRecordOpen;
}

void PortableWriter::endRecord() {
  out_ += kRecordClose;
}

void PortableWriter::writeNullObject() {
  if (nullNumber_ >= 0) {
    out_ += '@';
    writeSigned(nullNumber_);
    return;
  }
  nullNumber_ = nextNumber_++;
  out_ += ':';
  writeUnsigned(kNullObjectClass);
  out_ += kRecordOpen;
  out_ += kRecordClose;
}

void PortableReader::skipSpace() {
  while (pos_ < data_.size() && isSpace(data_[pos_])) ++pos_;
}

bool PortableReader::expect(std::string_view token) {
  skipSpace();
  if (data_.substr(pos_, token.size()) != token) return false;
  pos_ += token.size();
  return true;
}

bool PortableReader::atEnd() {
  skipSpace();
  return pos_ == data_.size();
}

bool PortableReader::readInteger(int64_t& value, int64_t low, int64_t high) {
  skipSpace();
  const char* begin = data_.data() + pos_;
  const char* end = data_.data() + data_.size();
  int64_t parsed = 0;
  const auto result = std::from_chars(begin, end, parsed);
  if (result.ec != std::errc() || parsed < low || parsed > high) return false;
  pos_ += static_cast<size_t>(result.ptr - begin);
  value = parsed;
  return true;
}

bool PortableReader::readSigned(int32_t& value) {
  int64_t parsed = 0;
  if (!readInteger(parsed, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()))
    return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

bool PortableReader::readUnsigned(uint32_t& value) {
  int64_t parsed = 0;
  if (!readInteger(parsed, 0, std::numeric_limits<uint32_t>::max())) return false;
  value = static_cast<uint32_t>(parsed);
  return true;
}

bool PortableReader::readBool(bool& value) {
  int32_t parsed = 0;
  if (!readSigned(parsed)) return false;
  value = parsed != 0;
  return true;
}

bool PortableReader::readReal(double& value) {
  skipSpace();
  const char* begin = data_.data() + pos_;
  const char* end = data_.data() + data_.size();
  double parsed = 0;
  const auto result = std::from_chars(begin, end, parsed);
  if (result.ec != std::errc()) return false;
  pos_ += static_cast<size_t>(result.ptr - begin);
  value = parsed;
  return true;
}

bool PortableReader::readString(std::string& value) {
  uint32_t length = 0;
  if (!readUnsigned(length) || !expect("\"")) return false;
  value.clear();
  value.reserve(std::min<size_t>(length, remaining()));
  while (pos_ < data_.size()) {
    char c = data_[pos_++];
    if (c == '"') return true;
    if (c == '\r' || c == '\n') continue;
    if (c == '\\') {
      if (pos_ == data_.size()) return false;
      switch (data_[pos_++]) {
        case 'n':
          c = '\n';
          break;
        case 't':
          c = '\t';
          break;
        case 'b':
          c = '\b';
          break;
        case 'r':
          c = '\r';
          break;
        case 'f':
          c = '\f';
          break;
        case '\\':
          c = '\\';
          break;
        case '"':
          c = '"';
          break;
        case '[':
          c = '{';
          break;
        case ']':
          c = '}';
          break;
        case 'x': {
          int code = 0;
          for (int digits = 0; digits < 2 && pos_ < data_.size() && hexValue(data_[pos_]) >= 0; ++digits)
            code = code * 16 + hexValue(data_[pos_++]);
          c = static_cast<char>(code);
          break;
        }
        default:
          return false;
      }
    }
    if (value.size() < length) value += c;
  }
  return false;  // the closing quote never came
}

bool PortableReader::readCount(uint32_t& count, size_t min_item_bytes) {
  if (!readUnsigned(count)) return false;
  return static_cast<uint64_t>(count) * min_item_bytes <= remaining();
}

void PortableReader::beginObjectGraph() {
  objects_.clear();
}

bool PortableReader::readObjectStart(ObjectStart& start) {
  skipSpace();
  if (pos_ == data_.size()) return false;
  if (data_[pos_] == '@') {
    ++pos_;
    int32_t number = 0;
    if (!readSigned(number) || number < 0 || static_cast<size_t>(number) >= objects_.size()) return false;
    const Numbered& target = objects_[static_cast<size_t>(number)];
    start.classNumber = target.classNumber;
    start.object = target.object;
    if (target.classNumber == kNullObjectClass) {
      start.kind = ObjectKind::kNull;
      return true;
    }
    start.kind = ObjectKind::kReference;
    return target.object != nullptr;
  }
  if (data_[pos_] != ':') return false;
  ++pos_;
  uint32_t class_number = 0;
  if (!readUnsigned(class_number) || !expect(kRecordOpen)) return false;
  start.classNumber = class_number;
  start.object = nullptr;
  start.slot = objects_.size();
  objects_.push_back({class_number, nullptr});
  if (class_number == kNullObjectClass) {
    start.kind = ObjectKind::kNull;
    return expect(kRecordClose);
  }
  start.kind = ObjectKind::kRecord;
  return true;
}

bool PortableReader::readRecordEnd() {
  return expect(kRecordClose);
}

}  // namespace quillet
