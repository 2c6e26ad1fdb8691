#include "stylesheet/evaluation_budget.h"

namespace quillet {

namespace {

// Process-wide, like the run it bounds: only one generation run exists at a time.
EvaluationBudget* g_budget = nullptr;

}  // namespace

EvaluationBudget::EvaluationBudget(EvaluationLimits limits) : limits_(limits), previous_(g_budget) {
  g_budget = this;
}

EvaluationBudget::~EvaluationBudget() {
  g_budget = previous_;
}

std::string EvaluationBudget::reason() const {
  if (steps_ > limits_.maxSteps)
    return "more than " + std::to_string(limits_.maxSteps) + " evaluation steps (max_evaluation_steps)";
  return "more than " + std::to_string(limits_.maxOutputBytes) + " bytes of output (max_output_bytes)";
}

bool chargeSteps(uint64_t steps) {
  if (!g_budget) return true;
  g_budget->steps_ += steps;
  return !g_budget->exhausted();
}

bool chargeOutput(uint64_t bytes) {
  if (!g_budget) return true;
  g_budget->outputBytes_ += bytes;
  return !g_budget->exhausted();
}

bool budgetExhausted() {
  return g_budget && g_budget->exhausted();
}

const EvaluationBudget* installedBudget() {
  return g_budget;
}

bool claimBudgetReport() {
  if (!g_budget || !g_budget->exhausted() || g_budget->reported_) return false;
  g_budget->reported_ = true;
  return true;
}

}  // namespace quillet
