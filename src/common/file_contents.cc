#include "common/file_contents.h"

#include <utility>

#include "common/file_system.h"
#include "common/message_output.h"
#include "common/output_set.h"

namespace quillet {

namespace {

constexpr uint64_t kMegabyte = uint64_t{1} << 20;
// Bytes collected before they are handed to the file.
constexpr size_t kBlockSize = size_t{1} << 16;

const char* kindName(InputKind kind) {
  switch (kind) {
    case InputKind::kSource:
      return "source files";
    case InputKind::kDocument:
      return "documents";
    case InputKind::kStyleSheet:
      return "style sheets";
    case InputKind::kConfiguration:
      return "configurations";
    case InputKind::kProject:
      return "project files";
  }
  return "files";
}

}  // namespace

uint64_t inputSizeLimit(InputKind kind) {
  switch (kind) {
    case InputKind::kSource:
    case InputKind::kDocument:
      return 256 * kMegabyte;
    default:
      return 64 * kMegabyte;
  }
}

std::string InputRead::problem(const std::string& path, InputKind kind) const {
  switch (outcome) {
    case ReadOutcome::kRead:
      return {};
    case ReadOutcome::kNotRegular:
      return path + " is not a regular file";
    case ReadOutcome::kTooLarge:
      return path + " is larger than " + std::to_string(inputSizeLimit(kind) / kMegabyte) +
             " MB, the limit for " + kindName(kind) + "; it was not read";
    case ReadOutcome::kCannotOpen:
      break;
  }
  return "cannot open " + path + ": " + reason;
}

InputRead readInputFile(const std::string& path, InputKind kind, std::string& contents) {
  InputRead read;
  read.outcome = fileSystem().readFile(path, inputSizeLimit(kind), contents, read.reason);
  return read;
}

bool readFileContents(const std::string& path, std::string& contents) {
  return readInputFile(path, InputKind::kDocument, contents).ok();
}

bool readFileContents(const std::string& path, std::string& contents, std::string& error) {
  const InputRead read = readInputFile(path, InputKind::kDocument, contents);
  if (!read.ok()) error = read.problem(path, InputKind::kDocument);
  return read.ok();
}

bool writeFileContents(const std::string& path, std::string_view contents, std::string& error) {
  OutputFile file(path);
  file.stream().write(contents.data(), static_cast<std::streamsize>(contents.size()));
  return file.commit(error);
}

// ---- OutputFile ----

OutputFile::SinkBuffer::SinkBuffer(const std::string& path) : path_(path) {
  block_.reserve(kBlockSize);
}

void OutputFile::SinkBuffer::fail(std::string reason) {
  if (failed_.empty()) failed_ = reason.empty() ? std::string("write failed") : std::move(reason);
}

// Hands `bytes` to the file. The first failure closes it and stops the open output set at once, so that
// the stages stop writing rather than fill the rest of a full disk.
bool OutputFile::SinkBuffer::put(std::string_view bytes) {
  if (!good()) return false;
  if (bytes.empty() || sink_->write(bytes)) return true;
  std::string reason;
  sink_->close(reason);
  sink_.reset();
  fail(reason);
  if (OutputSet* set = openOutputSet()) set->fail("error: cannot write " + path_ + ": " + failed_);
  return false;
}

bool OutputFile::SinkBuffer::flushBlock() {
  const bool ok = put(block_);
  block_.clear();
  return ok;
}

bool OutputFile::SinkBuffer::finish(std::string& error) {
  if (good() && flushBlock()) {
    std::string reason;
    if (!sink_->close(reason)) fail(reason);
  }
  sink_.reset();
  if (!failed_.empty()) error = failed_;
  return failed_.empty();
}

std::streamsize OutputFile::SinkBuffer::xsputn(const char* data, std::streamsize count) {
  // A failed file takes no more bytes; its failure is told once, at commit.
  if (!good()) return count;
  const std::string_view bytes(data, static_cast<size_t>(count));
  if (block_.size() + bytes.size() > kBlockSize && !flushBlock()) return count;
  if (bytes.size() >= kBlockSize) {
    put(bytes);
  } else {
    block_.append(bytes);
  }
  return count;
}

OutputFile::SinkBuffer::int_type OutputFile::SinkBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char byte = traits_type::to_char_type(c);
  xsputn(&byte, 1);
  return c;
}

OutputFile::OutputFile(std::string path) : path_(std::move(path)), buffer_(path_), stream_(&buffer_) {
  OutputSet* set = openOutputSet();
  if (set && set->failed()) {
    buffer_.fail("the output was stopped");
    return;
  }
  if (set && !set->contains(path_)) {
    buffer_.fail("it lies outside the output folder");
    reportMessage("error: " + path_ + " lies outside the output folder; it is not written");
    return;
  }
  FileSystem& files = fileSystem();
  temporary_ = files.temporaryName(path_);
  std::string error;
  std::unique_ptr<FileSink> sink = files.createFile(temporary_, error);
  if (!sink) {
    // A file that cannot be created is the caller's to report ("cannot open output file"), as a folder
    // missing or not writable is; only a file that fails while it is written stops the set.
    temporary_.clear();
    buffer_.fail(error);
    return;
  }
  buffer_.open(std::move(sink));
}

OutputFile::~OutputFile() {
  if (committed_) return;
  std::string ignored;
  buffer_.finish(ignored);
  if (!temporary_.empty()) removeFile(temporary_);
}

bool OutputFile::commit(std::string& error) {
  if (committed_) return true;
  committed_ = true;
  OutputSet* set = openOutputSet();
  const bool written = buffer_.finish(error);
  if (!written) {
    if (!temporary_.empty()) removeFile(temporary_);
    // A file that could not be written stops the set (a refused one was told when it was refused).
    if (set && !temporary_.empty()) set->fail("error: cannot write " + path_ + ": " + error);
    temporary_.clear();
    return false;
  }
  if (set) {
    set->add(std::move(temporary_), path_);
    return true;
  }
  if (!fileSystem().rename(temporary_, path_)) {
    removeFile(temporary_);
    error = "cannot rename the written file into place";
    return false;
  }
  reportFileWritten(path_);
  return true;
}

}  // namespace quillet
