#include "common/expression_nodes.h"

#include <algorithm>

#include "common/message_output.h"

namespace quillet {

namespace {

// Arithmetic wraps like the 32-bit machine the expressions were written for; computing in unsigned
// keeps it free of signed overflow.
int32_t wrap(uint32_t v) {
  return static_cast<int32_t>(v);
}
uint32_t bits(int32_t v) {
  return static_cast<uint32_t>(v);
}

void reportDivisionByZero() {
  reportMessage("error: division by zero.");
}

}  // namespace

void BinaryObj::SetLeft(ExpPtr node) {
  left_ = std::move(node);
  updateHeight();
}

void BinaryObj::SetRight(ExpPtr node) {
  right_ = std::move(node);
  updateHeight();
}

void BinaryObj::updateHeight() {
  height_ = 1 + std::max(left_ ? left_->height() : 0, right_ ? right_->height() : 0);
}

void UnaryObj::SetLeft(ExpPtr node) {
  operand_ = std::move(node);
  height_ = 1 + (operand_ ? operand_->height() : 0);
}

int32_t OrObj::Evaluate() {
  return left() != 0 || right() != 0 ? 1 : 0;
}
int32_t AndObj::Evaluate() {
  return left() != 0 && right() != 0 ? 1 : 0;
}
int32_t EqualObj::Evaluate() {
  return left() == right() ? 1 : 0;
}
int32_t Not_EqualObj::Evaluate() {
  return left() != right() ? 1 : 0;
}
int32_t GreaterObj::Evaluate() {
  return left() > right() ? 1 : 0;
}
int32_t LessObj::Evaluate() {
  return left() < right() ? 1 : 0;
}
int32_t Greater_EqualObj::Evaluate() {
  return left() >= right() ? 1 : 0;
}
int32_t Less_EqualObj::Evaluate() {
  return left() <= right() ? 1 : 0;
}
int32_t Binary_AddObj::Evaluate() {
  return wrap(bits(left()) + bits(right()));
}
int32_t Binary_SubObj::Evaluate() {
  return wrap(bits(left()) - bits(right()));
}
int32_t MulObj::Evaluate() {
  return wrap(bits(left()) * bits(right()));
}

// The divisor is evaluated first; after a division by zero the dividend is not evaluated. The most
// negative value divided by -1 wraps to itself and leaves no remainder.
int32_t DivObj::Evaluate() {
  int32_t divisor = right();
  if (divisor == 0) {
    reportDivisionByZero();
    return 0;
  }
  int32_t dividend = left();
  if (divisor == -1) return wrap(0u - bits(dividend));
  return dividend / divisor;
}

int32_t ModObj::Evaluate() {
  int32_t divisor = right();
  if (divisor == 0) {
    reportDivisionByZero();
    return 0;
  }
  int32_t dividend = left();
  if (divisor == -1) return 0;
  return dividend % divisor;
}

int32_t Unary_Minus::Evaluate() {
  return wrap(0u - bits(operand()));
}
int32_t NotObj::Evaluate() {
  return operand() == 0 ? 1 : 0;
}

}  // namespace quillet
