// Ordered effects: what a run shows or leaves behind (message lines, status lines, finished output files,
// a failed output set) in the order a run on one thread would. When pages are written on worker threads,
// each job collects its effects in an EffectCapture instead of performing them; the thread that started
// the jobs performs them, job by job, in the order it started the jobs. Before it performs an effect of its
// own, that thread runs its barrier, which hands on the effects of every job started before.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class EffectCapture {
 public:
  /// Records a message line, a status line, a finished output file or a failure of the output set.
  void message(std::string_view text) { effects_.push_back({Kind::kMessage, std::string(text), {}, {}}); }
  void status(std::string_view text) { effects_.push_back({Kind::kStatus, std::string(text), {}, {}}); }
  void outputFile(std::string temporary, std::string path) {
    effects_.push_back({Kind::kOutputFile, std::move(temporary), std::move(path), {}});
  }
  void outputFailure(std::string_view text) { effects_.push_back({Kind::kOutputFailure, std::string(text), {}, {}}); }
  /// Records a step that must happen in its place among the effects (a record in a shared index).
  void call(std::function<void()> step) { effects_.push_back({Kind::kCall, {}, {}, std::move(step)}); }

  /// True when nothing is recorded.
  bool empty() const { return effects_.empty(); }
  /// Moves the recorded effects into a new capture, leaving this one empty.
  EffectCapture take() {
    EffectCapture taken;
    taken.effects_.swap(effects_);
    return taken;
  }

  /// Performs the recorded effects in order on the calling thread, then forgets them.
  void replay();
  /// Forgets the recorded effects; the temporary files of output files are removed.
  void discard();

 private:
  enum class Kind { kMessage, kStatus, kOutputFile, kOutputFailure, kCall };
  struct Effect {
    Kind kind;
    std::string text;  // the line, or the temporary file
    std::string path;  // the output file's place
    std::function<void()> step;
  };
  std::vector<Effect> effects_;
};

/// The capture of the job the calling thread runs, or null when the thread performs its effects itself.
EffectCapture* threadEffectCapture();
/// Makes `capture` (or null) the calling thread's capture; answers the previous one.
EffectCapture* setThreadEffectCapture(EffectCapture* capture);

/// Makes `capture` the calling thread's capture while it lives, then the previous one again.
class CaptureScope {
 public:
  explicit CaptureScope(EffectCapture* capture) : previous_(setThreadEffectCapture(capture)) {}
  ~CaptureScope() { setThreadEffectCapture(previous_); }
  CaptureScope(const CaptureScope&) = delete;
  CaptureScope& operator=(const CaptureScope&) = delete;

 private:
  EffectCapture* previous_;
};

/// Installs `barrier` for the calling thread (empty to remove it): it runs before each effect that thread
/// performs itself, while it is not replaying.
void setEffectBarrier(std::function<void()> barrier);
/// Runs the calling thread's barrier, if it has one and is not already running it or replaying.
void runEffectBarrier();

}  // namespace quillet
