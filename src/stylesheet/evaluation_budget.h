// Bounds on the work style sheets may do in one run: evaluation steps (sections run, list elements visited,
// condition tokens computed) and bytes of output. Loops nested deep over long lists, or count_if inside
// count_if, grow as the product of the list sizes; these bounds make such a style sheet stop in bounded
// time with a message instead of running for hours or filling the disk. The output stage installs one
// budget for the evaluations of a run; the evaluators and conditions charge it, from any thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace quillet {

/// The bounds of a budget; the run takes them from its configuration.
struct EvaluationLimits {
  uint64_t maxSteps = UINT64_MAX;
  uint64_t maxOutputBytes = UINT64_MAX;
};

class EvaluationBudget {
 public:
  /// Installs a budget of `limits` for as long as it lives (evaluations without one are not bounded).
  explicit EvaluationBudget(EvaluationLimits limits);
  ~EvaluationBudget();
  EvaluationBudget(const EvaluationBudget&) = delete;
  EvaluationBudget& operator=(const EvaluationBudget&) = delete;

  /// Steps taken so far (those charged on other threads once they are handed in).
  uint64_t steps() const;
  /// Bytes written so far (likewise).
  uint64_t outputBytes() const;
  /// True once either bound was passed.
  bool exhausted() const { return steps() > limits_.maxSteps || outputBytes() > limits_.maxOutputBytes; }
  /// Which bound was passed, for messages ("... more than N evaluation steps (max_evaluation_steps)").
  std::string reason() const;

 private:
  friend bool chargeSteps(uint64_t);
  friend bool chargeOutput(uint64_t);
  friend bool claimBudgetReport();
  friend void handInCharges();

  EvaluationLimits limits_;
  // Charges of every thread; each thread adds its own in batches (see the .cc file).
  std::atomic<uint64_t> steps_{0};
  std::atomic<uint64_t> outputBytes_{0};
  std::atomic<bool> reported_{false};
  EvaluationBudget* previous_;
};

/// Charges `steps` to the installed budget; false once it is exhausted.
bool chargeSteps(uint64_t steps);
/// Charges `bytes` of output to the installed budget; false once it is exhausted.
bool chargeOutput(uint64_t bytes);
/// True when an installed budget is exhausted.
bool budgetExhausted();
/// The installed budget, or null.
const EvaluationBudget* installedBudget();
/// True the first time it is asked after the installed budget ran out: the one who asks reports it.
bool claimBudgetReport();
/// Adds the charges the calling thread holds back to the installed budget; a thread that writes pages
/// for another calls it when each page is done.
void handInCharges();

}  // namespace quillet
