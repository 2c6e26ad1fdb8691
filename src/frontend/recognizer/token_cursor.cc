#include "frontend/recognizer/token_cursor.h"

namespace quillet {

const token_t& TokenCursor::next() {
  if (position_ == fetched_) {
    // A backslash is what is left of a continued line; no state has a use for it.
    const token_t* token = &source_.nextToken();
    while (token->kind == '\\') token = &source_.nextToken();
    slot(fetched_) = *token;
    ++fetched_;
  }
  return slot(position_++);
}

const token_t& TokenCursor::backUp() {
  if (position_ > 0 && held(position_ - 1)) --position_;
  if (position_ == 0 || !held(position_ - 1)) return none_;
  return slot(position_ - 1);
}

const token_t& TokenCursor::peek() {
  const token_t& token = next();
  --position_;
  return token;
}

const token_t* TokenCursor::before(size_t distance) const {
  if (position_ <= distance) return nullptr;
  const uint64_t index = position_ - 1 - distance;
  return held(index) ? &slot(index) : nullptr;
}

}  // namespace quillet
