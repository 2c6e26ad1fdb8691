// Reading and writing a whole file through the file system in use: the scanner, the style sheet reader, the
// configuration and the document inserter all work on one in-memory buffer rather than on a stream, and
// every output file is written whole.
#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace quillet {

/// Reads the whole file `path` (binary) into `contents`; false when it cannot be opened or read.
bool readFileContents(const std::string& path, std::string& contents);
/// As readFileContents, with the system's reason in `error` on failure.
bool readFileContents(const std::string& path, std::string& contents, std::string& error);
/// Makes `contents` the whole file `path` (written beside it and renamed into place); false with the
/// system's reason in `error` on failure, the old file left whole.
bool writeFileContents(const std::string& path, std::string_view contents, std::string& error);

/// An output file built in memory: what is written to `stream()` is kept, and `commit` writes it as the
/// whole file through the file system in use.
class OutputFile {
 public:
  /// A file to be written at `path`.
  explicit OutputFile(std::string path);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  /// The stream that collects the file's bytes.
  std::ostream& stream() { return stream_; }
  /// The bytes collected so far.
  const std::string& contents() const { return buffer_.text; }
  /// The path the file is written to.
  const std::string& path() const { return path_; }
  /// Writes the collected bytes as the file; false with the system's reason in `error` on failure.
  bool commit(std::string& error);

 private:
  // Appends every byte to one string; the string's own growth does the buffering.
  struct StringBuffer final : std::streambuf {
    std::string text;
    std::streamsize xsputn(const char* data, std::streamsize count) override;
    int_type overflow(int_type c) override;
  };

  std::string path_;
  StringBuffer buffer_;
  std::ostream stream_;
};

}  // namespace quillet
