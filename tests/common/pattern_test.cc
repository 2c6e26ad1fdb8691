#include "common/pattern.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <initializer_list>
#include <new>
#include <string>

// Counts every allocation of the test program, so that a test can prove that searching allocates nothing.
namespace {
std::atomic<long> g_allocations{0};
}  // namespace

// Kept out of line so that the compiler does not pair the malloc and free below with new and delete.
[[gnu::noinline]] void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
  std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace quillet {
namespace {

constexpr size_t kNone = Pattern::npos;

// One search: the pattern, the subject, the start, and the expected position (kNone: no match) and length.
struct Case {
  std::string_view pattern, subject;
  size_t start, position, length;
};

void expectSearches(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    const Pattern pattern(c.pattern);
    ASSERT_TRUE(pattern.ok()) << c.pattern;
    const Pattern::Match match = pattern.search(c.subject, c.start);
    EXPECT_EQ(match.position, c.position) << c.pattern << " in " << c.subject;
    EXPECT_EQ(match.length, c.position == kNone ? 0 : c.length) << c.pattern << " in " << c.subject;
  }
}

TEST(PatternTest, StatusOfIllegalMalformedAndOverlongPatterns) {
  for (const char* text : {"", "*abc", "+", "?x"}) EXPECT_EQ(Pattern(text).status(), Pattern::kIllegal);
  for (const char* text : {"^*", "^+", "a**", "a+?", "[abc", "[a-", "x[\\]"}) {
    EXPECT_EQ(Pattern(text).status(), Pattern::kMalformed) << text;
  }
  EXPECT_EQ(Pattern(std::string(127, 'a')).status(), Pattern::kOk);
  EXPECT_EQ(Pattern(std::string(128, 'a')).status(), Pattern::kMalformed);
  EXPECT_EQ(Pattern(std::string(127, 'a') + "$").status(), Pattern::kMalformed);
  EXPECT_EQ(Pattern(std::string(126, 'a') + "*").status(), Pattern::kOk);
  // A class takes 17 elements, and it and the end marker after it must both fit.
  EXPECT_EQ(Pattern(std::string(110, 'a') + "[xy]").status(), Pattern::kOk);
  EXPECT_EQ(Pattern(std::string(111, 'a') + "[xy]").status(), Pattern::kMalformed);
  EXPECT_EQ(Pattern(std::string(110, 'a') + "[xy]*").status(), Pattern::kMalformed);
  EXPECT_TRUE(Pattern(std::string(110, 'a') + "[xy]").matchesWhole(std::string(110, 'a') + "y"));
  // Patterns that did not compile find nothing; copies keep their own elements.
  EXPECT_FALSE(Pattern().search("abc").found());
  Pattern changed("ab+");
  const Pattern copy = changed;
  changed.compile("[abc");
  EXPECT_FALSE(changed.search("abc").found());
  EXPECT_EQ(copy.search("xabb").length, 3u);
}

TEST(PatternTest, AnchorsClassesAndEscapes) {
  // clang-format off
  expectSearches({
      {"a$b", "a$b", 0, 0, 3}, {"ab$", "xab", 0, 1, 2}, {"ab$", "abx", 0, kNone, 0},
      {"x^y", "ax^y", 0, 1, 3}, {"^ab", "xab", 0, kNone, 0}, {"^ab", "xab", 1, 1, 2},
      {"^ab", "xxab", 1, kNone, 0}, {"$", "abc", 0, 3, 0}, {"^$", "", 0, 0, 0},
      {"[z-a]", "m", 0, 0, 1}, {"[-a]", "-", 0, 0, 1}, {"[a-]", "-", 0, 0, 1},
      {"[^0-9]", "5", 0, kNone, 0}, {"[^0-9]", "\n", 0, 0, 1}, {"[a-c-e]", "d-", 0, 1, 1},
      {"[\\x41-\\x43]+", "zABCD", 0, 1, 3}, {"[\\]]", "]", 0, 0, 1}, {"[$^.]+", "$^.", 0, 0, 3},
      {"a[]", "a", 0, kNone, 0}, {"[^]", "\xff", 0, 0, 1}, {"\\x41", "A", 0, 0, 1},
      {"\\X4a", "J", 0, 0, 1}, {"\\101", "A", 0, 0, 1}, {"\\^a", "\x01", 0, 0, 1},
      {"\\^Z", "\x1a", 0, 0, 1}, {"\\^1", "^1", 0, 0, 2}, {"\\x414", "A4", 0, 0, 2},
      {"\\1014", "A4", 0, 0, 2}, {"\\777", "\xff", 0, 0, 1}, {"\\.", "x.", 0, 1, 1},
      {"\\[x", "[x", 0, 0, 2}, {"\\q", "q", 0, 0, 1}, {"a\\", "xa\\", 0, 1, 2},
      {"\\b\\e\\f\\n\\r\\s\\t", "\b\x1b\f\n\r \t", 0, 0, 7}, {"\\N\\S\\T", "\n \t", 0, 0, 3},
      {"a\\x", std::string_view("a\0", 2), 0, 0, 2},
  });
  // clang-format on
}

TEST(PatternTest, ClosuresAreGreedyAndBackOff) {
  // clang-format off
  expectSearches({
      {"[A-Za-z_\\.]+_", "Foo_bar", 0, 0, 4}, {"[A-Za-z_\\.]+_", "a_b_c d_", 0, 0, 4},
      {"[A-Za-z_\\.]+_", "  x_", 0, 2, 2}, {"[A-Za-z_\\.]+_", "Foo bar", 0, kNone, 0},
      // The mandatory first match of "+" is never given back, so a lone underscore is no match.
      {"[A-Za-z_\\.]+_", " _ ", 0, kNone, 0}, {"a+a", "a", 0, kNone, 0}, {"a+a", "aaa", 0, 0, 3},
      {"a.*b", "xaXbYbZ", 0, 1, 5}, {"a.*b", "a\nb", 0, kNone, 0}, {"a.*", "ab\ncd", 0, 0, 2},
      {"x*", "abc", 0, 0, 0}, {"b+", "aabbbc", 0, 2, 3}, {"ab+c", "ac abc", 0, 3, 3},
      {"a[0-9]*[0-9]", "a123", 0, 0, 4}, {"a*a*b", "aaab", 0, 0, 4}, {"ab?c", "ac", 0, 0, 2},
      // The optional element takes what it can and never gives it back.
      {"a?a", "a", 0, kNone, 0}, {"colou?r", "color colour", 0, 0, 5},
      // From the subject's end only patterns that match the empty text are found.
      {"x*", "abc", 3, 3, 0}, {"$", "abc", 3, 3, 0}, {"a", "abc", 3, kNone, 0},
      {"x*", "abc", 4, kNone, 0}, {"c", "abcabc", 3, 5, 1},
  });
  // clang-format on
  EXPECT_FALSE(Pattern("Bar").matchesWhole("FooBar"));
  EXPECT_FALSE(Pattern("Foo").matchesWhole("FooBar"));
  EXPECT_TRUE(Pattern("Foo.*").matchesWhole("FooBar"));
  EXPECT_FALSE(Pattern("b*").matchesWhole("ab"));  // the leftmost match is the empty one at 0
}

TEST(PatternTest, RepeatedSearchRemovesEveryMatch) {
  const Pattern panose("{\\\\\\*\\\\panose [a-z0-9]+}");
  std::string text = "a{\\*\\panose 020b0604}b{\\*\\panose 02}c{\\*\\panose }";
  for (Pattern::Match m = panose.search(text); m.found(); m = panose.search(text)) {
    text.replace(m.position, m.length, " ");
  }
  EXPECT_EQ(text, "a b c{\\*\\panose }");
}

TEST(PatternTest, SearchIsFastAndNeverAllocates) {
  // Without remembering where the rest of the pattern failed, these take exponential or quadratic time.
  std::string nested;
  for (int i = 0; i < 40; ++i) nested += "a*";
  const Pattern many(nested + "b"), words("[A-Za-z_\\.]+_"), dots(".*.*.*y");
  const std::string as(20000, 'a'), letters(2'000'000, 'x');
  const std::string as_b = as + "b", letters_ = letters + "_";
  const long before = g_allocations.load();
  EXPECT_FALSE(many.search(as).found());
  EXPECT_EQ(many.search(as_b).length, as_b.size());
  EXPECT_FALSE(words.search(letters).found());
  EXPECT_EQ(words.search(letters_).length, letters_.size());
  EXPECT_FALSE(dots.search(letters).found());
  EXPECT_EQ(g_allocations.load(), before);
}

}  // namespace
}  // namespace quillet
