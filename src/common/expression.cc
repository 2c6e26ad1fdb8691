#include "common/expression.h"

#include <cctype>

#include <limits>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>

namespace quillet {

namespace {

// The values of expression texts evaluated so far in this process. Once it holds kMaxEntries texts or
// kMaxBytes of text, new results are still computed but no longer remembered, so that hostile input
// cannot grow it without end.
class ResultCache {
 public:
  static constexpr size_t kMaxEntries = 100000;
  static constexpr size_t kMaxBytes = 16 << 20;

  std::optional<int32_t> find(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = values_.find(text);
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  bool contains(const std::string& text) { return find(text).has_value(); }
  void store(const std::string& text, int32_t value) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (values_.size() >= kMaxEntries || bytes_ + text.size() > kMaxBytes) return;
    if (values_.emplace(text, value).second) bytes_ += text.size();
  }

 private:
  std::mutex mutex_;
  std::unordered_map<std::string, int32_t> values_{2003};
  size_t bytes_ = 0;
};

ResultCache& resultCache() {
  static ResultCache cache;
  return cache;
}

ExpPtr makeNode(int code, const std::string& literal) {
  switch (code) {
    case 2:
      return std::make_unique<StopObj>();
    case 3: {
      int32_t value = 0;
      readCInteger(literal, value);
      return std::make_unique<LiteralObj>(value);
    }
    case 4:
      return std::make_unique<Binary_AddObj>();
    case 5:
      return std::make_unique<Binary_SubObj>();
    case 7:
      return std::make_unique<Unary_Minus>();
    case 8:
      return std::make_unique<MulObj>();
    case 9:
      return std::make_unique<DivObj>();
    case 10:
      return std::make_unique<Open_ParenObj>();
    case 11:
      return std::make_unique<Close_ParenObj>();
    case 12:
      return std::make_unique<AndObj>();
    case 13:
      return std::make_unique<OrObj>();
    case 14:
      return std::make_unique<EqualObj>();
    case 15:
      return std::make_unique<Not_EqualObj>();
    case 16:
      return std::make_unique<GreaterObj>();
    case 17:
      return std::make_unique<LessObj>();
    case 18:
      return std::make_unique<Greater_EqualObj>();
    case 19:
      return std::make_unique<Less_EqualObj>();
    case 20:
      return std::make_unique<NotObj>();
    case 21:
      return std::make_unique<ModObj>();
    default:
      return nullptr;  // a unary "+" makes no node
  }
}

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// The length of the C integer suffix ("u", "l", "ll" in either case and order) at `at`, or 0 when the
// characters there do not form one on their own (a suffix followed by more letters is no suffix).
size_t integerSuffixLength(std::string_view text, size_t at) {
  auto isU = [&](size_t i) { return i < text.size() && (text[i] == 'u' || text[i] == 'U'); };
  auto longLength = [&](size_t i) -> size_t {
    if (i >= text.size() || (text[i] != 'l' && text[i] != 'L')) return 0;
    return i + 1 < text.size() && text[i + 1] == text[i] ? 2 : 1;
  };
  size_t i = at;
  if (isU(i)) {
    ++i;
    i += longLength(i);
  } else if (const size_t n = longLength(i)) {
    i += n;
    if (isU(i)) ++i;
  }
  const bool word_goes_on =
      i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_');
  return word_goes_on ? 0 : i - at;
}

}  // namespace

size_t readCInteger(std::string_view text, int32_t& value) {
  int base = 10;
  size_t i = 0;
  if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && digitValue(text[2]) < 16) {
    base = 16;
    i = 2;
  } else if (!text.empty() && text[0] == '0') {
    base = 8;
  }
  constexpr uint64_t kMax = std::numeric_limits<int32_t>::max();
  uint64_t v = 0;
  size_t start = i;
  for (; i < text.size() && digitValue(text[i]) < base; ++i) {
    v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(digitValue(text[i]));
    if (v > kMax) v = kMax + 1;  // saturated; keep reading the digits
  }
  value = static_cast<int32_t>(v > kMax ? kMax : v);
  if (i == start && base != 8) return 0;
  // Preprocessor conditions such as "__cplusplus >= 201103L" carry C integer suffixes; they belong to the
  // number and do not change its value here.
  return i + integerSuffixLength(text, i);
}

Base_Expression::Base_Expression(std::string text) : text_(std::move(text)) {}

Base_Expression::~Base_Expression() = default;

void Base_Expression::parseText() {
  long balance = 0;
  for (char c : text_) balance += c == '(' ? 1 : c == ')' ? -1 : 0;
  if (balance != 0) {
    status_ = kExpressionUnbalanced;
    return;
  }
  Parse();
}

ExpPtr Base_Expression::popOperand() {
  if (operands_.empty()) {
    status_ = kExpressionInvalid;
    return nullptr;
  }
  ExpPtr node = std::move(operands_.back());
  operands_.pop_back();
  return node;
}

void Base_Expression::Output(ExpPtr node) {
  if (node->Kind() == 4) {
    auto* binary = static_cast<BinaryObj*>(node.get());
    ExpPtr right = popOperand();
    ExpPtr left = popOperand();
    binary->SetRight(std::move(right));
    binary->SetLeft(std::move(left));
  } else if (node->Kind() == 5) {
    static_cast<UnaryObj*>(node.get())->SetLeft(popOperand());
  }
  if (node->height() > kMaxHeight) {
    // Too deep to evaluate or destroy safely by recursion; the expression is refused.
    status_ = kExpressionInvalid;
    return;
  }
  operands_.push_back(std::move(node));
}

void Base_Expression::Process(ExpPtr node) {
  switch (node->Kind()) {
    case 2:
    case 3:
      Output(std::move(node));
      return;
    case 4:
    case 5:
    case 6: {
      while (true) {
        if (operators_.empty()) {
          status_ = kExpressionInvalid;
          return;
        }
        const ExpObj& top = *operators_.back();
        int stacked = top.Kind() == 6 ? 0 : top.Kind() == 7 ? -1 : top.Precedence();
        if (node->Precedence() > stacked) break;
        ExpPtr popped = std::move(operators_.back());
        operators_.pop_back();
        Output(std::move(popped));
      }
      operators_.push_back(std::move(node));
      return;
    }
    case 7:
    case 9: {
      int until = node->Kind() == 7 ? 6 : 8;  // ")" closes up to "(", the end up to the start
      while (true) {
        if (operators_.empty()) {
          status_ = kExpressionInvalid;
          return;
        }
        ExpPtr popped = std::move(operators_.back());
        operators_.pop_back();
        if (popped->Kind() == until) return;
        Output(std::move(popped));
      }
    }
    default:
      return;
  }
}

ExpObj* Base_Expression::Parse() {
  if (resultCache().contains(text_)) return nullptr;
  operators_.push_back(std::make_unique<StartObj>());
  std::string literal;
  int code = 1;
  while (true) {
    int result = NextToken(literal, code);
    if (result != kExpressionValid) {
      status_ = result;
      break;
    }
    if (ExpPtr node = makeNode(code, literal)) Process(std::move(node));
    literal.clear();
    if (code == 2) break;
  }
  if (status_ == kExpressionValid) {
    if (operands_.empty()) {
      status_ = kExpressionInvalid;
    } else {
      root_ = popOperand();
    }
  }
  return root_.get();
}

int32_t Base_Expression::Evaluate() {
  ResultCache& cache = resultCache();
  if (std::optional<int32_t> cached = cache.find(text_)) return *cached;
  if (status_ != kExpressionValid || !root_) return 0;
  int32_t value = root_->Evaluate();
  cache.store(text_, value);
  return value;
}

C_Like_Expression::C_Like_Expression(std::string text) : Base_Expression(std::move(text)) {
  parseText();
}

int C_Like_Expression::NextToken(std::string& literal, int& code) {
  const std::string& s = text();
  while (position_ < s.size() && isSpace(s[position_])) ++position_;
  if (position_ >= s.size()) {
    code = 2;
    return kExpressionValid;
  }
  char c = s[position_];
  char next = position_ + 1 < s.size() ? s[position_ + 1] : '\0';
  int previous = code;
  // After the start, "(" or an operator, "+" and "-" are signs.
  bool after_operand = !(previous == 1 || previous == 10 || (previous >= 4 && previous <= 9) ||
                         (previous >= 12 && previous <= 21));
  size_t width = 1;
  switch (c) {
    case '!':
      if (next == '=')
        code = 15, width = 2;
      else
        code = 20;
      break;
    case '%':
      code = 21;
      break;
    case '&':
      if (next != '&') return ++position_, kExpressionInvalidToken;
      code = 12, width = 2;
      break;
    case '|':
      if (next != '|') return ++position_, kExpressionInvalidToken;
      code = 13, width = 2;
      break;
    case '=':
      if (next != '=') return ++position_, kExpressionInvalidToken;
      code = 14, width = 2;
      break;
    case '*':
      code = 8;
      break;
    case '/':
      code = 9;
      break;
    case '+':
      code = after_operand ? 4 : 6;
      break;
    case '-':
      code = after_operand ? 5 : 7;
      break;
    case '<':
      if (next == '=')
        code = 19, width = 2;
      else
        code = 17;
      break;
    case '>':
      if (next == '=')
        code = 18, width = 2;
      else
        code = 16;
      break;
    case '(':
      code = 10;
      break;
    case ')':
      code = 11;
      break;
    default:
      if (c >= '0' && c <= '9') {
        int32_t ignored = 0;
        width = readCInteger(std::string_view(s).substr(position_), ignored);
        literal.append(s, position_, width);
        code = 3;
        break;
      }
      ++position_;
      return kExpressionInvalidToken;
  }
  position_ += width;
  return kExpressionValid;
}

}  // namespace quillet
