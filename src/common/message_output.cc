#include "common/message_output.h"

#include "common/ordered_effects.h"

namespace quillet {

namespace {
MessageOutput* g_current_output = nullptr;
}  // namespace

void RunTally::countLine(std::string_view text) {
  if (text.starts_with("error")) ++errors;
  if (text.starts_with("warning")) ++warnings;
}

void RunTally::countFile(std::string_view path) {
  ++files;
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return;
  std::string extension(path.substr(dot));
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (extension == ".html" || extension == ".htm" || extension == ".rtf") ++pages;
}

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
  if (EffectCapture* capture = threadEffectCapture()) {
    capture->message(text);
    return;
  }
  runEffectBarrier();
  if (g_current_output) g_current_output->report(text);
}

void reportStatus(std::string_view text) {
  if (EffectCapture* capture = threadEffectCapture()) {
    capture->status(text);
    return;
  }
  runEffectBarrier();
  if (g_current_output) g_current_output->status(text);
}

bool runCanceled() {
  return g_current_output && g_current_output->isCanceled();
}

void reportModuleProgress(size_t done, size_t total) {
  if (g_current_output) g_current_output->moduleProgress(done, total);
}

void reportFileWritten(std::string_view path) {
  if (g_current_output) g_current_output->fileWritten(path);
}

void reportOutputFailed() {
  if (g_current_output) g_current_output->outputFailed();
}

}  // namespace quillet
