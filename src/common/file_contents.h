// Reading and writing whole files through the file system in use. Every reader of the program (the scanner,
// the configuration and settings readers, the style sheets, inserted and linked documents, project files)
// reads through readInputFile, which holds the rules for input in one place: only regular files (or links
// to them) are read, never a pipe or a device, and each kind of file has a size limit. Every file the
// program writes goes through OutputFile: written to a temporary file beside its place and renamed into
// place once complete, or, while an output set is open (output_set.h), kept aside until the whole set is
// written.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "common/file_system.h"

namespace quillet {

/// The kinds of file the program reads; each has its own size limit.
enum class InputKind {
  kSource,         // C and C++ sources and headers
  kDocument,       // documents inserted into or linked from the documentation, files copied into the output
  kStyleSheet,     // style sheets
  kConfiguration,  // configurations and settings files
  kProject,        // project files: Developer Studio files, compilation databases, Doxyfiles
};

/// The largest file of `kind` that is read, in bytes: 256 MB for sources and documents, 64 MB for the rest.
uint64_t inputSizeLimit(InputKind kind);

/// How reading one input file ended.
struct InputRead {
  ReadOutcome outcome = ReadOutcome::kRead;
  std::string reason;  // the system's reason, for kCannotOpen

  bool ok() const { return outcome == ReadOutcome::kRead; }
  /// The problem as a message without its "error: " prefix, naming `path`: "NAME is not a regular file",
  /// "NAME is larger than 256 MB, ...", or "cannot open NAME: reason".
  std::string problem(const std::string& path, InputKind kind) const;
};

/// Reads the whole file `path` into `contents` when it is a regular file, or a link to one, no larger
/// than the limit of `kind`; a pipe or a device is refused at once, never waited on or read.
InputRead readInputFile(const std::string& path, InputKind kind, std::string& contents);

/// Reads the whole file `path` (binary) as a document; false when it cannot be read.
bool readFileContents(const std::string& path, std::string& contents);
/// As readFileContents, with the problem (as InputRead::problem gives it) in `error` on failure.
bool readFileContents(const std::string& path, std::string& contents, std::string& error);
/// Makes `contents` the whole file `path` through an OutputFile; false with the reason in `error`.
bool writeFileContents(const std::string& path, std::string_view contents, std::string& error);

/// A file being written: what goes to `stream()` is written to a new temporary file beside `path`, and
/// `commit` puts it in place (or hands it to the open output set). A file that is never committed, or
/// whose writing failed, is removed and the previous file at `path` stays as it was.
class OutputFile {
 public:
  /// A file to be written at `path`.
  explicit OutputFile(std::string path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  /// The stream that takes the file's bytes.
  std::ostream& stream() { return stream_; }
  /// The path the file is written to.
  const std::string& path() const { return path_; }
  /// True while every write succeeded.
  bool good() const { return buffer_.good(); }
  /// Finishes the file and puts it in place; false with the system's reason in `error` on failure, the
  /// previous file then left as it was.
  bool commit(std::string& error);

 private:
  // Collects bytes in a block and hands full blocks to the file; notes the first failure.
  class SinkBuffer final : public std::streambuf {
   public:
    explicit SinkBuffer(const std::string& path);
    void open(std::unique_ptr<FileSink> sink) { sink_ = std::move(sink); }
    bool good() const { return failed_.empty() && sink_ != nullptr; }
    bool finish(std::string& error);
    void fail(std::string reason);
    const std::string& failure() const { return failed_; }

   protected:
    std::streamsize xsputn(const char* data, std::streamsize count) override;
    int_type overflow(int_type c) override;

   private:
    bool put(std::string_view bytes);
    bool flushBlock();

    const std::string& path_;
    std::unique_ptr<FileSink> sink_;
    std::string block_;
    std::string failed_;
  };

  std::string path_;
  std::string temporary_;
  bool committed_ = false;
  SinkBuffer buffer_;
  std::ostream stream_;
};

}  // namespace quillet
