#include "common/file_contents.h"

#include <utility>

#include "common/file_system.h"
#include "common/message_output.h"

namespace quillet {

bool readFileContents(const std::string& path, std::string& contents) {
  std::string error;
  return readFileContents(path, contents, error);
}

bool readFileContents(const std::string& path, std::string& contents, std::string& error) {
  return fileSystem().readFile(path, contents, error);
}

bool writeFileContents(const std::string& path, std::string_view contents, std::string& error) {
  if (!fileSystem().writeFile(path, contents, error)) return false;
  reportFileWritten(path);  // a run counts what it wrote
  return true;
}

OutputFile::OutputFile(std::string path) : path_(std::move(path)), stream_(&buffer_) {}

bool OutputFile::commit(std::string& error) {
  return writeFileContents(path_, buffer_.text, error);
}

std::streamsize OutputFile::StringBuffer::xsputn(const char* data, std::streamsize count) {
  text.append(data, static_cast<size_t>(count));
  return count;
}

OutputFile::StringBuffer::int_type OutputFile::StringBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  text.push_back(traits_type::to_char_type(c));
  return c;
}

}  // namespace quillet
