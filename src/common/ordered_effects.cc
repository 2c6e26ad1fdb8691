#include "common/ordered_effects.h"

#include "common/file_system.h"
#include "common/message_output.h"
#include "common/output_set.h"

namespace quillet {

namespace {

thread_local EffectCapture* t_capture = nullptr;
thread_local std::function<void()> t_barrier;
thread_local bool t_inBarrier = false;

// Keeps the barrier from running while it runs, or while captured effects are performed.
class BarrierHold {
 public:
  BarrierHold() : previous_(t_inBarrier) { t_inBarrier = true; }
  ~BarrierHold() { t_inBarrier = previous_; }
  BarrierHold(const BarrierHold&) = delete;
  BarrierHold& operator=(const BarrierHold&) = delete;

 private:
  bool previous_;
};

}  // namespace

void EffectCapture::replay() {
  const BarrierHold hold;
  std::vector<Effect> effects;
  effects.swap(effects_);
  for (Effect& effect : effects) {
    switch (effect.kind) {
      case Kind::kMessage:
        reportMessage(effect.text);
        break;
      case Kind::kStatus:
        reportStatus(effect.text);
        break;
      case Kind::kOutputFile:
        if (OutputSet* set = openOutputSet()) {
          set->add(std::move(effect.text), std::move(effect.path));
        } else {
          fileSystem().remove(effect.text);
        }
        break;
      case Kind::kOutputFailure:
        stopOutput(effect.text);
        break;
      case Kind::kCall:
        effect.step();
        break;
    }
  }
}

void EffectCapture::discard() {
  for (const Effect& effect : effects_)
    if (effect.kind == Kind::kOutputFile) fileSystem().remove(effect.text);
  effects_.clear();
}

EffectCapture* threadEffectCapture() {
  return t_capture;
}

EffectCapture* setThreadEffectCapture(EffectCapture* capture) {
  EffectCapture* previous = t_capture;
  t_capture = capture;
  return previous;
}

void setEffectBarrier(std::function<void()> barrier) {
  t_barrier = std::move(barrier);
}

void runEffectBarrier() {
  if (!t_barrier || t_inBarrier || t_capture) return;
  const BarrierHold hold;
  t_barrier();
}

}  // namespace quillet
