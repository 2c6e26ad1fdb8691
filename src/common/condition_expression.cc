#include "common/condition_expression.h"

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/message_output.h"

namespace quillet {

namespace {

// The results of condition texts evaluated so far in this process, bounded so that hostile input
// cannot grow it without end (results past the bound are computed but not remembered).
class ConditionCache {
 public:
  static constexpr size_t kMaxEntries = 100000;
  static constexpr size_t kMaxBytes = 16 << 20;

  bool find(std::string_view text, ConditionResult& result) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = results_.find(std::string(text));
    if (it == results_.end()) return false;
    result = it->second;
    return true;
  }
  void store(std::string_view text, const ConditionResult& result) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (results_.size() >= kMaxEntries || bytes_ + text.size() > kMaxBytes) return;
    if (results_.emplace(std::string(text), result).second) bytes_ += text.size();
  }

 private:
  std::mutex mutex_;
  std::unordered_map<std::string, ConditionResult> results_;
  size_t bytes_ = 0;
};

ConditionCache& conditionCache() {
  static ConditionCache cache;
  return cache;
}

// A value of the expression: 64 bits, signed or unsigned as the operands make it.
struct Value {
  uint64_t bits = 0;
  bool isUnsigned = false;

  int64_t asSigned() const { return static_cast<int64_t>(bits); }
  bool truth() const { return bits != 0; }
};

Value signedValue(int64_t v) {
  return {static_cast<uint64_t>(v), false};
}

enum class Op {
  kNumber,
  kName,
  kOpen,
  kClose,
  kQuestion,
  kColon,
  kOrOr,
  kAndAnd,
  kOr,
  kXor,
  kAnd,
  kEq,
  kNe,
  kLt,
  kGt,
  kLe,
  kGe,
  kShl,
  kShr,
  kPlus,
  kMinus,
  kStar,
  kSlash,
  kPercent,
  kNot,
  kTilde,
  kComma,
  kEnd,
};

struct Token {
  Op op = Op::kEnd;
  Value value;
};

bool isWordStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isWordChar(char c) {
  return isWordStart(c) || isDigit(c);
}
int digitValue(char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// Reads an integer literal (a pp-number): its digits in the base its prefix gives, digit separators
// skipped, then the suffix. False for floating-point numbers and malformed suffixes.
bool readNumber(std::string_view text, size_t& i, Value& value) {
  size_t end = i;
  while (end < text.size() && (isWordChar(text[end]) || text[end] == '.' || text[end] == '\'')) ++end;
  std::string_view number = text.substr(i, end - i);
  i = end;
  int base = 10;
  size_t p = 0;
  if (number.size() > 1 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X')) {
    base = 16;
    p = 2;
  } else if (number.size() > 1 && number[0] == '0' && (number[1] == 'b' || number[1] == 'B')) {
    base = 2;
    p = 2;
  } else if (number[0] == '0') {
    base = 8;
  }
  uint64_t v = 0;
  bool overflow = false;
  size_t digits = 0;
  for (; p < number.size(); ++p) {
    if (number[p] == '\'') continue;
    int d = digitValue(number[p]);
    if (d >= base || (base != 16 && d >= 10)) {
      if (base == 8 && d < 10) return false;  // 08 is no number
      break;
    }
    if (v > (UINT64_MAX - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base)) overflow = true;
    v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    ++digits;
  }
  if (digits == 0 && base != 8) return false;
  // The suffix: "u" and "l", "ll" or "z" in either order and case; anything else (a period, an
  // exponent, "f") makes no integer.
  std::string_view suffix = number.substr(p);
  bool is_unsigned = false;
  size_t s = 0;
  auto take_u = [&] {
    if (s < suffix.size() && (suffix[s] == 'u' || suffix[s] == 'U')) {
      is_unsigned = true;
      ++s;
      return true;
    }
    return false;
  };
  auto take_size = [&] {
    if (s < suffix.size() && (suffix[s] == 'l' || suffix[s] == 'L')) {
      ++s;
      if (s < suffix.size() && suffix[s] == suffix[s - 1]) ++s;
      return true;
    }
    if (s < suffix.size() && (suffix[s] == 'z' || suffix[s] == 'Z')) {
      ++s;
      return true;
    }
    return false;
  };
  if (take_u()) {
    take_size();
  } else if (take_size()) {
    take_u();
  }
  if (s != suffix.size()) return false;
  if (overflow) v = UINT64_MAX;
  // A value too large for the signed type is unsigned, as compilers treat it.
  if (v > static_cast<uint64_t>(INT64_MAX)) is_unsigned = true;
  value = {v, is_unsigned};
  return true;
}

// Reads a character literal at text[i] == '\''; its value as the compiler gives it (multi-character
// literals shift earlier characters up by eight bits).
bool readCharacter(std::string_view text, size_t& i, Value& value) {
  ++i;
  int64_t v = 0;
  size_t count = 0;
  while (i < text.size() && text[i] != '\'') {
    int64_t c = static_cast<unsigned char>(text[i]);
    if (text[i] == '\\' && i + 1 < text.size()) {
      ++i;
      const char e = text[i];
      if (e == 'x') {
        c = 0;
        while (i + 1 < text.size() && digitValue(text[i + 1]) < 16) c = c * 16 + digitValue(text[++i]);
      } else if (e >= '0' && e <= '7') {
        c = e - '0';
        for (int k = 0; k < 2 && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '7'; ++k)
          c = c * 8 + (text[++i] - '0');
      } else {
        switch (e) {
          case 'n':
            c = '\n';
            break;
          case 't':
            c = '\t';
            break;
          case 'r':
            c = '\r';
            break;
          case 'a':
            c = '\a';
            break;
          case 'b':
            c = '\b';
            break;
          case 'f':
            c = '\f';
            break;
          case 'v':
            c = '\v';
            break;
          default:
            c = static_cast<unsigned char>(e);
        }
      }
      c &= 0xff;
    }
    v = count == 0 ? static_cast<int64_t>(static_cast<signed char>(c)) : (v << 8) | c;
    ++count;
    ++i;
  }
  if (i >= text.size() || count == 0) return false;
  ++i;  // the closing quote
  value = signedValue(v);
  return true;
}

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  ConditionResult run() {
    ConditionResult result;
    if (!advance()) return result;
    Value value;
    if (!comma(value, true) || current_.op != Op::kEnd) return result;
    result.valid = true;
    result.value = value.asSigned();
    return result;
  }

 private:
  static constexpr int kMaxDepth = 400;

  bool advance() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' ||
                                   text_[pos_] == '\r' || text_[pos_] == '\v' || text_[pos_] == '\f'))
      ++pos_;
    current_ = Token();
    if (pos_ >= text_.size()) return true;
    const char c = text_[pos_];
    const char next = pos_ + 1 < text_.size() ? text_[pos_ + 1] : '\0';
    if (isDigit(c) || (c == '.' && isDigit(next))) {
      current_.op = Op::kNumber;
      return readNumber(text_, pos_, current_.value);
    }
    if (c == '\'') {
      current_.op = Op::kNumber;
      return readCharacter(text_, pos_, current_.value);
    }
    if (isWordStart(c)) {
      size_t end = pos_;
      while (end < text_.size() && isWordChar(text_[end])) ++end;
      std::string_view word = text_.substr(pos_, end - pos_);
      pos_ = end;
      current_.op = Op::kNumber;
      current_.value = signedValue(word == "true" ? 1 : 0);  // every other name counts as 0
      return true;
    }
    size_t width = 2;
    if (c == '|' && next == '|') {
      current_.op = Op::kOrOr;
    } else if (c == '&' && next == '&') {
      current_.op = Op::kAndAnd;
    } else if (c == '=' && next == '=') {
      current_.op = Op::kEq;
    } else if (c == '!' && next == '=') {
      current_.op = Op::kNe;
    } else if (c == '<' && next == '=') {
      current_.op = Op::kLe;
    } else if (c == '>' && next == '=') {
      current_.op = Op::kGe;
    } else if (c == '<' && next == '<') {
      current_.op = Op::kShl;
    } else if (c == '>' && next == '>') {
      current_.op = Op::kShr;
    } else {
      width = 1;
      switch (c) {
        case '(':
          current_.op = Op::kOpen;
          break;
        case ')':
          current_.op = Op::kClose;
          break;
        case '?':
          current_.op = Op::kQuestion;
          break;
        case ':':
          current_.op = Op::kColon;
          break;
        case '|':
          current_.op = Op::kOr;
          break;
        case '^':
          current_.op = Op::kXor;
          break;
        case '&':
          current_.op = Op::kAnd;
          break;
        case '<':
          current_.op = Op::kLt;
          break;
        case '>':
          current_.op = Op::kGt;
          break;
        case '+':
          current_.op = Op::kPlus;
          break;
        case '-':
          current_.op = Op::kMinus;
          break;
        case '*':
          current_.op = Op::kStar;
          break;
        case '/':
          current_.op = Op::kSlash;
          break;
        case '%':
          current_.op = Op::kPercent;
          break;
        case '!':
          current_.op = Op::kNot;
          break;
        case '~':
          current_.op = Op::kTilde;
          break;
        case ',':
          current_.op = Op::kComma;
          break;
        default:
          return false;
      }
    }
    pos_ += width;
    return true;
  }

  // The binding strength of a binary operator; 0 for tokens that are none.
  static int precedence(Op op) {
    switch (op) {
      case Op::kOrOr:
        return 1;
      case Op::kAndAnd:
        return 2;
      case Op::kOr:
        return 3;
      case Op::kXor:
        return 4;
      case Op::kAnd:
        return 5;
      case Op::kEq:
      case Op::kNe:
        return 6;
      case Op::kLt:
      case Op::kGt:
      case Op::kLe:
      case Op::kGe:
        return 7;
      case Op::kShl:
      case Op::kShr:
        return 8;
      case Op::kPlus:
      case Op::kMinus:
        return 9;
      case Op::kStar:
      case Op::kSlash:
      case Op::kPercent:
        return 10;
      default:
        return 0;
    }
  }

  bool comma(Value& value, bool evaluate) {
    if (!conditional(value, evaluate)) return false;
    while (current_.op == Op::kComma) {
      if (!advance() || !conditional(value, evaluate)) return false;
    }
    return true;
  }

  bool conditional(Value& value, bool evaluate) {
    if (++depth_ > kMaxDepth) return false;
    bool ok = binary(value, 1, evaluate);
    if (ok && current_.op == Op::kQuestion) {
      const bool take_first = value.truth();
      Value first;
      Value second;
      ok = advance() && comma(first, evaluate && take_first) && current_.op == Op::kColon && advance() &&
           conditional(second, evaluate && !take_first);
      if (ok) {
        value = take_first ? first : second;
        value.isUnsigned = first.isUnsigned || second.isUnsigned;
      }
    }
    --depth_;
    return ok;
  }

  bool binary(Value& left, int min_precedence, bool evaluate) {
    if (!unary(left, evaluate)) return false;
    for (;;) {
      const Op op = current_.op;
      const int p = precedence(op);
      if (p == 0 || p < min_precedence) return true;
      if (!advance()) return false;
      // "&&" and "||" evaluate their right operand only when it decides the value.
      bool evaluate_right = evaluate;
      if (op == Op::kAndAnd) evaluate_right = evaluate && left.truth();
      if (op == Op::kOrOr) evaluate_right = evaluate && !left.truth();
      Value right;
      if (++depth_ > kMaxDepth || !binary(right, p + 1, evaluate_right)) return false;
      --depth_;
      left = apply(op, left, right, evaluate);
    }
  }

  bool unary(Value& value, bool evaluate) {
    if (++depth_ > kMaxDepth) return false;
    bool ok = true;
    const Op op = current_.op;
    switch (op) {
      case Op::kPlus:
      case Op::kMinus:
      case Op::kNot:
      case Op::kTilde:
        ok = advance() && unary(value, evaluate);
        if (op == Op::kMinus) value.bits = 0 - value.bits;
        if (op == Op::kTilde) value.bits = ~value.bits;
        if (op == Op::kNot) value = signedValue(value.truth() ? 0 : 1);
        break;
      case Op::kOpen:
        ok = advance() && comma(value, evaluate) && current_.op == Op::kClose && advance();
        break;
      case Op::kNumber:
        value = current_.value;
        ok = advance();
        break;
      default:
        ok = false;
    }
    --depth_;
    return ok;
  }

  static Value apply(Op op, Value a, Value b, bool evaluate) {
    const bool u = a.isUnsigned || b.isUnsigned;
    auto flag = [](bool t) { return signedValue(t ? 1 : 0); };
    switch (op) {
      case Op::kOrOr:
        return flag(a.truth() || b.truth());
      case Op::kAndAnd:
        return flag(a.truth() && b.truth());
      case Op::kOr:
        return {a.bits | b.bits, u};
      case Op::kXor:
        return {a.bits ^ b.bits, u};
      case Op::kAnd:
        return {a.bits & b.bits, u};
      case Op::kEq:
        return flag(a.bits == b.bits);
      case Op::kNe:
        return flag(a.bits != b.bits);
      case Op::kLt:
        return flag(u ? a.bits < b.bits : a.asSigned() < b.asSigned());
      case Op::kGt:
        return flag(u ? a.bits > b.bits : a.asSigned() > b.asSigned());
      case Op::kLe:
        return flag(u ? a.bits <= b.bits : a.asSigned() <= b.asSigned());
      case Op::kGe:
        return flag(u ? a.bits >= b.bits : a.asSigned() >= b.asSigned());
      case Op::kShl:
      case Op::kShr: {
        // The result has the left operand's type; a negative count shifts the other way.
        int64_t count = b.isUnsigned && b.bits > 64 ? 64 : b.asSigned();
        bool left = op == Op::kShl;
        if (count < 0) {
          left = !left;
          count = count < -64 ? 64 : -count;
        }
        Value r{0, a.isUnsigned};
        if (left) {
          r.bits = count >= 64 ? 0 : a.bits << count;
        } else if (a.isUnsigned) {
          r.bits = count >= 64 ? 0 : a.bits >> count;
        } else {
          const int64_t s = a.asSigned();
          r.bits = static_cast<uint64_t>(count >= 64 ? (s < 0 ? -1 : 0) : s >> count);
        }
        return r;
      }
      case Op::kPlus:
        return {a.bits + b.bits, u};
      case Op::kMinus:
        return {a.bits - b.bits, u};
      case Op::kStar:
        return {a.bits * b.bits, u};
      case Op::kSlash:
      case Op::kPercent: {
        if (b.bits == 0) {
          if (evaluate) reportMessage("error: division by zero.");
          return {0, u};
        }
        if (u) return {op == Op::kSlash ? a.bits / b.bits : a.bits % b.bits, true};
        if (a.asSigned() == INT64_MIN && b.asSigned() == -1)
          return op == Op::kSlash ? a : signedValue(0);  // the quotient wraps
        return signedValue(op == Op::kSlash ? a.asSigned() / b.asSigned() : a.asSigned() % b.asSigned());
      }
      default:
        return a;
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
  Token current_;
  int depth_ = 0;
};

}  // namespace

ConditionResult evaluateCondition(std::string_view text) {
  ConditionResult result;
  if (conditionCache().find(text, result)) return result;
  result = Parser(text).run();
  conditionCache().store(text, result);
  return result;
}

}  // namespace quillet
