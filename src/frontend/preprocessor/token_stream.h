// What the declaration recognizer reads: the significant tokens of one module in order, the name of the
// file being read, and the front end's options. The preprocessor is one; the module pipeline hands on a
// preprocessor's tokens from another thread.
#pragma once

#include <string>

#include "frontend/preprocessor/front_end_options.h"
#include "frontend/preprocessor/token.h"

namespace quillet {

class TokenStream {
 public:
  virtual ~TokenStream() = default;

  /// The next token (T_EOF, repeatedly, at the end).
  virtual const token_t& nextToken() = 0;
  /// The file the latest token was read from.
  virtual const std::string& currentFileName() const = 0;
  /// The front end's options for the module.
  virtual const FrontEndOptions& options() const = 0;
};

}  // namespace quillet
