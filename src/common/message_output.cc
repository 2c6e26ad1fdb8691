#include "common/message_output.h"

namespace quillet {

namespace {
MessageOutput* g_current_output = nullptr;
}  // namespace

MessageOutput::MessageOutput() {
  reported_.reserve(64);
}

void MessageOutput::startRun() {
  reported_.clear();
}

bool MessageOutput::wasReported(std::string_view text) const {
  return reported_.find(std::string(text)) != reported_.end();
}

void MessageOutput::remember(std::string_view text) {
  reported_.emplace(text);
}

MessageOutput* currentMessageOutput() {
  return g_current_output;
}

void setCurrentMessageOutput(MessageOutput* output) {
  g_current_output = output;
}

void reportMessage(std::string_view text) {
  if (g_current_output) g_current_output->report(text);
}

void reportStatus(std::string_view text) {
  if (g_current_output) g_current_output->status(text);
}

bool runCanceled() {
  return g_current_output && g_current_output->isCanceled();
}

}  // namespace quillet
