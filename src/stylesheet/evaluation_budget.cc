#include "stylesheet/evaluation_budget.h"

namespace quillet {

namespace {

// Process-wide, like the run it bounds: only one generation run exists at a time. Threads that write
// pages charge it too.
std::atomic<EvaluationBudget*> g_budget{nullptr};

// Each thread gathers its charges and hands them in by the batch, so that threads writing pages side by
// side do not meet at every character. The thread's own charges count at once in its own questions, so a
// run on one thread stops exactly where it passes a bound; other threads' charges count within a batch.
constexpr uint64_t kBatch = 4096;
thread_local uint64_t t_steps = 0;
thread_local uint64_t t_bytes = 0;

}  // namespace

EvaluationBudget::EvaluationBudget(EvaluationLimits limits) : limits_(limits), previous_(g_budget.load()) {
  t_steps = 0;
  t_bytes = 0;
  g_budget = this;
}

EvaluationBudget::~EvaluationBudget() {
  t_steps = 0;
  t_bytes = 0;
  g_budget = previous_;
}

uint64_t EvaluationBudget::steps() const {
  return steps_.load(std::memory_order_relaxed) + (g_budget.load(std::memory_order_relaxed) == this ? t_steps : 0);
}

uint64_t EvaluationBudget::outputBytes() const {
  return outputBytes_.load(std::memory_order_relaxed) +
         (g_budget.load(std::memory_order_relaxed) == this ? t_bytes : 0);
}

std::string EvaluationBudget::reason() const {
  if (steps() > limits_.maxSteps)
    return "more than " + std::to_string(limits_.maxSteps) + " evaluation steps (max_evaluation_steps)";
  return "more than " + std::to_string(limits_.maxOutputBytes) + " bytes of output (max_output_bytes)";
}

bool chargeSteps(uint64_t steps) {
  EvaluationBudget* budget = g_budget.load(std::memory_order_relaxed);
  if (!budget) return true;
  t_steps += steps;
  if (t_steps >= kBatch) {
    budget->steps_.fetch_add(t_steps, std::memory_order_relaxed);
    t_steps = 0;
  }
  return !budget->exhausted();
}

bool chargeOutput(uint64_t bytes) {
  EvaluationBudget* budget = g_budget.load(std::memory_order_relaxed);
  if (!budget) return true;
  t_bytes += bytes;
  if (t_bytes >= kBatch) {
    budget->outputBytes_.fetch_add(t_bytes, std::memory_order_relaxed);
    t_bytes = 0;
  }
  return !budget->exhausted();
}

void handInCharges() {
  EvaluationBudget* budget = g_budget.load(std::memory_order_relaxed);
  if (budget) {
    budget->steps_.fetch_add(t_steps, std::memory_order_relaxed);
    budget->outputBytes_.fetch_add(t_bytes, std::memory_order_relaxed);
  }
  t_steps = 0;
  t_bytes = 0;
}

bool budgetExhausted() {
  const EvaluationBudget* budget = g_budget.load(std::memory_order_relaxed);
  return budget && budget->exhausted();
}

const EvaluationBudget* installedBudget() {
  return g_budget.load(std::memory_order_relaxed);
}

bool claimBudgetReport() {
  EvaluationBudget* budget = g_budget.load(std::memory_order_relaxed);
  if (!budget || !budget->exhausted()) return false;
  return !budget->reported_.exchange(true);
}

}  // namespace quillet
