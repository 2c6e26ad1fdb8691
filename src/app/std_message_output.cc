#include "app/std_message_output.h"

#include <unistd.h>

#include <iostream>

#include "common/file_system.h"

namespace quillet {

namespace {

// The progress line is drawn at most this often, so that a run writing thousands of pages stays fast.
constexpr auto kRedrawInterval = std::chrono::milliseconds(80);

}  // namespace

StdMessageOutput::StdMessageOutput() : out_(std::cout) {}

StdMessageOutput::StdMessageOutput(std::ostream& out, bool live_progress) : out_(out), live_(live_progress) {}

void StdMessageOutput::status(std::string_view text) {
  write(text);
}

void StdMessageOutput::report(std::string_view text) {
  write(text);
}

void StdMessageOutput::write(std::string_view text) {
  if (wasReported(text)) return;
  remember(text);
  tally_.countLine(text);
  clearProgress();
  out_ << ' ' << text << '\n';
  drawProgress(true);
  out_.flush();
}

void StdMessageOutput::moduleProgress(size_t done, size_t total) {
  tally_.modules = total;
  tally_.modulesParsed = done;
  drawProgress(done == 0 || done == total);
}

void StdMessageOutput::fileWritten(std::string_view path) {
  tally_.countFile(path);
  drawProgress(false);
}

void StdMessageOutput::drawProgress(bool force) {
  if (!live_ || (tally_.modules == 0 && tally_.files == 0)) return;
  const auto now = std::chrono::steady_clock::now();
  if (!force && progressShown_ && now - lastDraw_ < kRedrawInterval) return;
  lastDraw_ = now;
  std::string line;
  if (tally_.modulesParsed < tally_.modules || tally_.files == 0) {
    line = "Parsing files: " + std::to_string(tally_.modulesParsed) + " of " + std::to_string(tally_.modules);
  } else {
    line = "Writing: " + std::to_string(tally_.pages) + " pages, " + std::to_string(tally_.files) + " files";
  }
  out_ << '\r' << line << "\x1b[K";
  out_.flush();
  progressShown_ = true;
}

void StdMessageOutput::clearProgress() {
  if (!progressShown_) return;
  out_ << "\r\x1b[K";
  progressShown_ = false;
}

void StdMessageOutput::finishProgress() {
  clearProgress();
  out_.flush();
}

bool wantsLiveProgress() {
  if (!environmentValue("CI").empty() || environmentValue("TERM") == "dumb") return false;
  return isatty(STDOUT_FILENO) == 1;
}

}  // namespace quillet
