#include "frontend/preprocessor/token.h"

#include <array>

namespace quillet {

namespace {

struct Word {
  std::string_view text;
  int32_t kind;
};

// The word table. Every entry is distinct, so the first match is the only match.
constexpr std::array kWords = {
    Word{"void", T_TYPE},
    Word{"bool", T_TYPE},
    Word{"char", T_TYPE},
    Word{"wchar_t", T_TYPE},
    Word{"short", T_TYPE},
    Word{"int", T_TYPE},
    Word{"long", T_TYPE},
    Word{"float", T_TYPE},
    Word{"double", T_TYPE},
    Word{"__int64", T_TYPE},
    Word{"__int32", T_TYPE},
    Word{"__int16", T_TYPE},
    Word{"__int8", T_TYPE},
    Word{"unsigned", T_QUALIFIER},
    Word{"signed", T_QUALIFIER},
    Word{"volatile", T_QUALIFIER},
    Word{"static", T_QUALIFIER},
    Word{"const", T_QUALIFIER},
    Word{"virtual", T_QUALIFIER},
    Word{"__declspec", T_DECLSPEC},
    Word{"_declspec", T_DECLSPEC},
    Word{"extern", T_EXTERN},
    Word{"using", T_USING},
    Word{"namespace", T_NAMESPACE},
    Word{"register", T_REGISTER},
    Word{"inline", T_INLINE},
    Word{"class", T_CLASS_KEY},
    Word{"struct", T_CLASS_KEY},
    Word{"union", T_CLASS_KEY},
    Word{"public", T_PUBLIC},
    Word{"protected", T_PROTECTED},
    Word{"private", T_PRIVATE},
    Word{"template", T_TEMPLATE},
    Word{"friend", T_FRIEND},
    Word{"enum", T_ENUM},
    Word{"typedef", T_TYPEDEF},
    Word{"while", T_WHILE},
    Word{"do", T_DO},
    Word{"switch", T_SWITCH},
    Word{"case", T_CASE},
    Word{"default", T_DEFAULT},
    Word{"for", T_FOR},
    Word{"throw", T_THROW},
    Word{"include", T_INCLUDE},
    Word{"if", T_IF},
    Word{"ifdef", T_IFDEF},
    Word{"ifndef", T_IFNDEF},
    Word{"elif", T_ELIF},
    Word{"else", T_ELSE},
    Word{"endif", T_ENDIF},
    Word{"define", T_DEFINE},
    Word{"undef", T_UNDEF},
    Word{"error", T_ERROR},
    Word{"line", T_LINE},
    Word{"pragma", T_PRAGMA},
};

constexpr size_t kMaxWordLength = 10;
constexpr size_t kBuckets = 64;

// Words grouped by length and first letter, so that a lookup compares against one or two candidates.
struct WordIndex {
  std::array<std::array<int8_t, 4>, kBuckets> slots{};
  constexpr WordIndex() {
    for (auto& bucket : slots) bucket.fill(-1);
    for (size_t i = 0; i < kWords.size(); ++i) {
      auto& bucket = slots[bucketOf(kWords[i].text)];
      size_t k = 0;
      while (bucket[k] >= 0) ++k;  // a bucket never holds more than four words
      bucket[k] = static_cast<int8_t>(i);
    }
  }
  static constexpr size_t bucketOf(std::string_view w) {
    return (w.size() * 7 + static_cast<unsigned char>(w[0]) +
            static_cast<unsigned char>(w[w.size() - 1]) * 3) %
           kBuckets;
  }
};
constexpr WordIndex kIndex;

}  // namespace

int32_t wordKind(std::string_view text) {
  if (text.size() < 2 || text.size() > kMaxWordLength) return T_IDENTIFIER;
  for (int8_t i : kIndex.slots[WordIndex::bucketOf(text)]) {
    if (i < 0) break;
    if (kWords[static_cast<size_t>(i)].text == text) return kWords[static_cast<size_t>(i)].kind;
  }
  return T_IDENTIFIER;
}

}  // namespace quillet
