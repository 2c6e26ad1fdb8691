#include "common/pattern.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

// Counts every allocation of the test program, so that a test can prove that searching allocates nothing.
namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace quillet {
namespace {

Pattern::Match find(std::string_view pattern, std::string_view subject, size_t start = 0) {
  const Pattern compiled(pattern);
  EXPECT_EQ(compiled.status(), Pattern::kOk) << pattern;
  return compiled.search(subject, start);
}

bool foundAt(Pattern::Match match, size_t position, size_t length) {
  return match.position == position && match.length == length;
}

TEST(PatternTest, CompileReportsIllegalAndMalformedPatterns) {
  for (const char* illegal : {"", "*abc", "+", "?x"}) EXPECT_EQ(Pattern(illegal).status(), Pattern::kIllegal);
  for (const char* malformed : {"^*", "^+", "a**", "a+?", "[abc", "[a-", "x[\\]"}) {
    EXPECT_EQ(Pattern(malformed).status(), Pattern::kMalformed) << malformed;
  }
  EXPECT_EQ(Pattern().status(), Pattern::kIllegal);
  EXPECT_FALSE(Pattern().search("abc").found());
  EXPECT_FALSE(Pattern("[abc").search("abc").found());
}

TEST(PatternTest, LengthLimitCountsElementsAndClassesAsSeventeen) {
  EXPECT_EQ(Pattern(std::string(127, 'a')).status(), Pattern::kOk);
  EXPECT_EQ(Pattern(std::string(128, 'a')).status(), Pattern::kMalformed);
  EXPECT_EQ(Pattern(std::string(127, 'a') + "$").status(), Pattern::kMalformed);
  EXPECT_EQ(Pattern(std::string(126, 'a') + "*").status(), Pattern::kOk);
  EXPECT_EQ(Pattern(std::string(127, 'a') + "*").status(), Pattern::kMalformed);
  // A class and the end marker after it must fit: 110 + 17 elements is the most there is room for.
  EXPECT_EQ(Pattern(std::string(110, 'a') + "[xy]").status(), Pattern::kOk);
  EXPECT_EQ(Pattern(std::string(111, 'a') + "[xy]").status(), Pattern::kMalformed);
  EXPECT_TRUE(Pattern(std::string(110, 'a') + "[xy]").matchesWhole(std::string(110, 'a') + "y"));
  EXPECT_EQ(Pattern(std::string(110, 'a') + "[xy]*").status(), Pattern::kMalformed);
}

TEST(PatternTest, AnchorsOnlyAtTheEndsOfThePattern) {
  EXPECT_TRUE(find("a$b", "a$b").found());
  EXPECT_TRUE(foundAt(find("ab$", "xab"), 1, 2));
  EXPECT_FALSE(find("ab$", "abx").found());
  EXPECT_TRUE(foundAt(find("x^y", "ax^y"), 1, 3));
  EXPECT_FALSE(find("^ab", "xab").found());
  // The start anchor holds at the search's start position, not only at the subject's first character.
  EXPECT_TRUE(foundAt(find("^ab", "xab", 1), 1, 2));
  EXPECT_FALSE(find("^ab", "xxab", 1).found());
  EXPECT_TRUE(foundAt(find("^$", ""), 0, 0));
  EXPECT_TRUE(foundAt(find("$", "abc"), 3, 0));
  EXPECT_TRUE(foundAt(find("^", "abc", 2), 2, 0));
}

TEST(PatternTest, ClassesRangesAndNegation) {
  EXPECT_TRUE(find("[z-a]", "m").found());
  EXPECT_TRUE(find("[-a]", "-").found());
  EXPECT_TRUE(find("[a-]", "-").found());
  EXPECT_FALSE(find("[^0-9]", "5").found());
  EXPECT_TRUE(find("[^0-9]", "\n").found());  // only "." refuses a newline
  // After a range a "-" is a member of its own.
  EXPECT_TRUE(find("[a-c-e]", "-").found());
  EXPECT_TRUE(find("[a-c-e]", "e").found());
  EXPECT_FALSE(find("[a-c-e]", "d").found());
  EXPECT_TRUE(foundAt(find("[\\x41-\\x43]+", "zABCD"), 1, 3));
  EXPECT_TRUE(find("[\\]]", "]").found());
  EXPECT_TRUE(find("[$^.]+", "$^.").found());
  EXPECT_FALSE(find("a[]", "a").found());  // an empty class matches nothing
  EXPECT_TRUE(find("[^]", "\xff").found());
  EXPECT_TRUE(find("[\\x80-\\xff]", "\xe9").found());
}

TEST(PatternTest, EscapesGiveTheirBytes) {
  EXPECT_TRUE(find("\\x41", "A").found());
  EXPECT_TRUE(find("\\X4a", "J").found());
  EXPECT_TRUE(find("\\101", "A").found());
  EXPECT_TRUE(find("\\^a", "\x01").found());
  EXPECT_TRUE(find("\\^Z", "\x1a").found());
  EXPECT_TRUE(find("\\^1", "^1").found());  // no letter: a literal caret
  EXPECT_TRUE(find("\\b\\e\\f\\n\\r\\s\\t", "\b\x1b\f\n\r \t").found());
  EXPECT_TRUE(find("\\N\\S\\T", "\n \t").found());
  EXPECT_TRUE(find("a\\x", std::string_view("a\0", 2)).found());
  EXPECT_TRUE(foundAt(find("\\x414", "A4"), 0, 2));  // at most two hexadecimal digits
  EXPECT_TRUE(foundAt(find("\\1014", "A4"), 0, 2));  // at most three octal digits
  EXPECT_TRUE(find("\\777", "\xff").found());
  EXPECT_TRUE(find("\\.", ".").found());
  EXPECT_FALSE(find("\\.", "x").found());
  EXPECT_TRUE(find("\\[x", "[x").found());
  EXPECT_TRUE(find("\\q", "q").found());
  EXPECT_TRUE(foundAt(find("a\\", "xa\\"), 1, 2));  // a backslash ending the pattern is literal
}

TEST(PatternTest, ClosuresAreGreedyAndBackOff) {
  EXPECT_TRUE(foundAt(find("[A-Za-z_\\.]+_", "Foo_bar"), 0, 4));
  EXPECT_TRUE(foundAt(find("[A-Za-z_\\.]+_", "a_b_c d_"), 0, 4));
  EXPECT_TRUE(foundAt(find("[A-Za-z_\\.]+_", "  x_"), 2, 2));
  // The mandatory first match of "+" is never given back, so a lone underscore is no match.
  EXPECT_FALSE(find("[A-Za-z_\\.]+_", " _ ").found());
  EXPECT_FALSE(find("a+a", "a").found());
  EXPECT_TRUE(foundAt(find("a+a", "aaa"), 0, 3));
  EXPECT_FALSE(find("[A-Za-z_\\.]+_", "Foo bar").found());
  EXPECT_TRUE(foundAt(find("a.*b", "xaXbYbZ"), 1, 5));
  EXPECT_FALSE(find("a.*b", "a\nb").found());
  EXPECT_TRUE(foundAt(find("a.*", "ab\ncd"), 0, 2));
  EXPECT_TRUE(foundAt(find("x*", "abc"), 0, 0));
  EXPECT_TRUE(foundAt(find("b+", "aabbbc"), 2, 3));
  EXPECT_TRUE(foundAt(find("ab*c", "abbbc"), 0, 5));
  EXPECT_TRUE(foundAt(find("ab+c", "ac abc"), 3, 3));
  EXPECT_TRUE(foundAt(find("a[0-9]*[0-9]", "a123"), 0, 4));
  EXPECT_TRUE(foundAt(find("a*a*b", "aaab"), 0, 4));
  // The optional element takes what it can and never gives it back.
  EXPECT_TRUE(foundAt(find("ab?c", "ac"), 0, 2));
  EXPECT_FALSE(find("a?a", "a").found());
  EXPECT_TRUE(foundAt(find("colou?r", "color colour"), 0, 5));
}

TEST(PatternTest, RepeatedSearchRemovesEveryMatch) {
  const Pattern panose("{\\\\\\*\\\\panose [a-z0-9]+}");
  ASSERT_TRUE(panose.ok());
  std::string text = "a{\\*\\panose 020b0604}b{\\*\\panose 02}c{\\*\\panose }";
  for (Pattern::Match m = panose.search(text); m.found(); m = panose.search(text)) {
    text.replace(m.position, m.length, " ");
  }
  EXPECT_EQ(text, "a b c{\\*\\panose }");
}

TEST(PatternTest, SearchFromOrBeyondTheEnd) {
  EXPECT_TRUE(foundAt(find("x*", "abc", 3), 3, 0));
  EXPECT_TRUE(foundAt(find("$", "abc", 3), 3, 0));
  EXPECT_FALSE(find("a", "abc", 3).found());
  EXPECT_FALSE(find("x*", "abc", 4).found());
  EXPECT_TRUE(foundAt(find("c", "abcabc", 3), 5, 1));
}

TEST(PatternTest, MatchesWholeNeedsTheLeftmostMatchToCoverTheName) {
  EXPECT_FALSE(Pattern("Bar").matchesWhole("FooBar"));
  EXPECT_FALSE(Pattern("Foo").matchesWhole("FooBar"));
  EXPECT_TRUE(Pattern("Foo.*").matchesWhole("FooBar"));
  EXPECT_TRUE(Pattern("C[A-Z].*").matchesWhole("CWidget"));
  EXPECT_TRUE(Pattern("x*").matchesWhole(""));
  // The leftmost match is empty at 0, so a later full-length stretch does not count.
  EXPECT_FALSE(Pattern("b*").matchesWhole("ab"));
}

TEST(PatternTest, CopiesAreIndependent) {
  Pattern first("ab+");
  const Pattern copy = first;
  first.compile("*");
  EXPECT_EQ(first.status(), Pattern::kIllegal);
  EXPECT_TRUE(foundAt(copy.search("xabb"), 1, 3));
}

TEST(PatternTest, SearchNeverAllocates) {
  const Pattern nested("a*b*[a-z]+c?.*x$");
  const std::string subject(5000, 'a');
  const long before = g_allocations.load();
  for (int i = 0; i < 50; ++i) EXPECT_FALSE(nested.search(subject).found());
  EXPECT_EQ(g_allocations.load(), before);
}

TEST(PatternTest, PathologicalBacktrackingStaysFast) {
  // Without remembering failed positions these take exponential or quadratic time.
  std::string nested;
  for (int i = 0; i < 40; ++i) nested += "a*";
  nested += "b";
  const std::string as(20000, 'a');
  EXPECT_FALSE(find(nested, as).found());
  EXPECT_TRUE(foundAt(find(nested, as + "b"), 0, as.size() + 1));

  const std::string letters(2'000'000, 'x');
  EXPECT_FALSE(find("[A-Za-z_\\.]+_", letters).found());
  EXPECT_TRUE(foundAt(find("[A-Za-z_\\.]+_", letters + "_"), 0, letters.size() + 1));
  EXPECT_FALSE(find(".*.*.*y", letters).found());
}

}  // namespace
}  // namespace quillet
