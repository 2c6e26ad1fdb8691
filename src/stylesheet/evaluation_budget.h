// Bounds on the work style sheets may do in one run: evaluation steps (sections run, list elements visited,
// condition tokens computed) and bytes of output. Loops nested deep over long lists, or count_if inside
// count_if, grow as the product of the list sizes; these bounds make such a style sheet stop in bounded
// time with a message instead of running for hours or filling the disk. The output stage installs one
// budget for the evaluations of a run; the evaluators and conditions charge it.
#pragma once

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

  /// Steps taken so far.
  uint64_t steps() const { return steps_; }
  /// Bytes written so far.
  uint64_t outputBytes() const { return outputBytes_; }
  /// True once either bound was passed.
  bool exhausted() const { return steps_ > limits_.maxSteps || outputBytes_ > limits_.maxOutputBytes; }
  /// Which bound was passed, for messages ("... more than N evaluation steps (max_evaluation_steps)").
  std::string reason() const;

 private:
  friend bool chargeSteps(uint64_t);
  friend bool chargeOutput(uint64_t);
  friend bool claimBudgetReport();

  EvaluationLimits limits_;
  uint64_t steps_ = 0;
  uint64_t outputBytes_ = 0;
  bool reported_ = false;
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

}  // namespace quillet
