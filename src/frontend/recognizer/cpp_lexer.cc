#include "frontend/recognizer/cpp_lexer.h"

#include "frontend/recognizer/recognizer.h"

namespace quillet {

void CppLexer::Parse(TokenStream& preprocessor) {
  Recognizer recognizer(*this, preprocessor);
  recognizer.run();
}

}  // namespace quillet
