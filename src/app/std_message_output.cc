#include "app/std_message_output.h"

#include <iostream>

namespace quillet {

StdMessageOutput::StdMessageOutput() : out_(std::cout) {}

StdMessageOutput::StdMessageOutput(std::ostream& out) : out_(out) {}

void StdMessageOutput::status(std::string_view text) {
  write(text);
}

void StdMessageOutput::report(std::string_view text) {
  write(text);
}

void StdMessageOutput::write(std::string_view text) {
  if (wasReported(text)) return;
  remember(text);
  out_ << ' ' << text << '\n';
  out_.flush();
}

}  // namespace quillet
