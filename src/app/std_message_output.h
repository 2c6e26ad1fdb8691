// The console face of the message output: used by the batch run, writes each new line to a stream.
#pragma once

#include <iosfwd>

#include "common/message_output.h"

namespace quillet {

class StdMessageOutput : public MessageOutput {
 public:
  /// Writes to standard output.
  StdMessageOutput();
  /// Writes to `out`, which must outlive this object.
  explicit StdMessageOutput(std::ostream& out);

  /// Writes " " + text + line break, once per run.
  void status(std::string_view text) override;
  /// Writes " " + text + line break, once per run.
  void report(std::string_view text) override;

 private:
  void write(std::string_view text);
  std::ostream& out_;
};

}  // namespace quillet
