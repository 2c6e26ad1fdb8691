// The nodes of an integer expression tree. C_Like_Expression builds them from the text of a preprocessor
// condition or a template condition; each node evaluates itself with 32-bit two's-complement arithmetic.
#pragma once

#include <cstdint>
#include <memory>

namespace quillet {

class ExpObj {
 public:
  ExpObj() = default;
  virtual ~ExpObj() = default;
  ExpObj(const ExpObj&) = delete;
  ExpObj& operator=(const ExpObj&) = delete;

  /// The node's value; 0 for nodes without one.
  virtual int32_t Evaluate() { return 0; }
  /// The class code: 2 literal, 3 expression, 4 binary, 5 unary, 6 "(", 7 ")", 8 start, 9 stop.
  virtual int Kind() const = 0;
  /// The binding strength of an operator (higher binds tighter); 0 for everything else.
  virtual int Precedence() const { return 0; }
  /// The number of levels of the subtree rooted here (1 for a leaf).
  uint32_t height() const { return height_; }

 protected:
  uint32_t height_ = 1;
};

using ExpPtr = std::unique_ptr<ExpObj>;

class LiteralObj : public ExpObj {
 public:
  explicit LiteralObj(int32_t value) : value_(value) {}
  int32_t Evaluate() override { return value_; }
  int Kind() const override { return 2; }

 private:
  int32_t value_;
};

class BinaryObj : public ExpObj {
 public:
  int Kind() const override { return 4; }
  /// Makes `node` the left operand.
  void SetLeft(ExpPtr node);
  /// Makes `node` the right operand.
  void SetRight(ExpPtr node);

 protected:
  /// The left operand's value; 0 when it is missing.
  int32_t left() { return left_ ? left_->Evaluate() : 0; }
  /// The right operand's value; 0 when it is missing.
  int32_t right() { return right_ ? right_->Evaluate() : 0; }

 private:
  void updateHeight();
  ExpPtr left_;
  ExpPtr right_;
};

class UnaryObj : public ExpObj {
 public:
  int Kind() const override { return 5; }
  /// Makes `node` the operand.
  void SetLeft(ExpPtr node);

 protected:
  /// The operand's value; 0 when it is missing.
  int32_t operand() { return operand_ ? operand_->Evaluate() : 0; }

 private:
  ExpPtr operand_;
};

class Open_ParenObj : public ExpObj {
 public:
  int Kind() const override { return 6; }
  int Precedence() const override { return 9; }
};

class Close_ParenObj : public ExpObj {
 public:
  int Kind() const override { return 7; }
};

class StartObj : public ExpObj {
 public:
  int Kind() const override { return 8; }
};

class StopObj : public ExpObj {
 public:
  int Kind() const override { return 9; }
};

class OrObj : public BinaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 1; }
};

class AndObj : public BinaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 2; }
};

class EqualObj : public BinaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 3; }
};

class Not_EqualObj : public BinaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 3; }
};

class GreaterObj : public BinaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 4; }
};

class LessObj : public BinaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 4; }
};

class Greater_EqualObj : public BinaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 4; }
};

class Less_EqualObj : public BinaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 4; }
};

class Binary_AddObj : public BinaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 5; }
};

class Binary_SubObj : public BinaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 5; }
};

// "%" binds like "+" and "-", not like "*" and "/".
class ModObj : public BinaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 5; }
};

class MulObj : public BinaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 6; }
};

class DivObj : public BinaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 6; }
};

class Unary_Minus : public UnaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 7; }
};

class NotObj : public UnaryObj {
 public:
  int32_t Evaluate() override;
  int Precedence() const override { return 8; }
};

}  // namespace quillet
