// A cursor over the significant tokens of one module, for the declaration recognizer. It reads forward
// from the preprocessor and keeps the most recent tokens itself, so that the recognizer can look ahead a
// few dozen tokens and step back over them, the very first token of a module included. Backslashes left
// over from continued lines are dropped here, so that no state and no look-ahead ever sees one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "frontend/preprocessor/token_stream.h"
#include "frontend/preprocessor/token.h"

namespace quillet {

class TokenCursor {
 public:
  /// How many tokens are held; a look-ahead may go this far (less one) and still step back.
  static constexpr size_t kHeld = 128;

  explicit TokenCursor(TokenStream& source) : source_(source) {}
  TokenCursor(const TokenCursor&) = delete;
  TokenCursor& operator=(const TokenCursor&) = delete;

  /// The next token other than a backslash (T_EOF, repeatedly, at the end). The reference stays valid while
  /// fewer than kHeld further tokens are read.
  const token_t& next();
  /// Un-reads the current token, so that next() returns it again; returns the token that is now current
  /// (an empty T_EOF token when there is none).
  const token_t& backUp();
  /// The token that next() will return, without consuming it.
  const token_t& peek();
  /// The token `distance` places before the current one, or null when it is no longer held.
  const token_t* before(size_t distance) const;

 private:
  token_t& slot(uint64_t index) { return ring_[index % kHeld]; }
  const token_t& slot(uint64_t index) const { return ring_[index % kHeld]; }
  bool held(uint64_t index) const { return index < fetched_ && fetched_ - index <= kHeld; }

  TokenStream& source_;
  std::array<token_t, kHeld> ring_;
  uint64_t fetched_ = 0;   // tokens taken from the preprocessor
  uint64_t position_ = 0;  // tokens delivered; the current one has index position_ - 1
  token_t none_;
};

}  // namespace quillet
