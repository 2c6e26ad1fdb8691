#include "stylesheet/section_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "common/pattern.h"

namespace quillet {
namespace {

// Tokens written compactly: a literal as [text], a reference as <object.name(first,second)>.
std::string describe(const std::vector<SectionToken>& tokens) {
  std::string result;
  for (const SectionToken& token : tokens) {
    if (token.kind == SectionToken::kLiteral) {
      result += "[" + token.name + "]";
      continue;
    }
    result += "<";
    if (!token.object.empty()) result += token.object + ".";
    result += token.name;
    if (!token.firstParameter.empty() || !token.secondParameter.empty()) {
      result += "(" + token.firstParameter + "," + token.secondParameter + ")";
    }
    result += ">";
  }
  return result;
}

std::string cut(std::string_view text) {
  std::vector<SectionToken> tokens;
  size_t budget = 1000;
  EXPECT_TRUE(cutSectionText(text, tokens, budget));
  EXPECT_EQ(budget, 1000 - tokens.size());
  return describe(tokens);
}

TEST(SectionTextTest, CutsReferencesAndLiterals) {
  EXPECT_EQ(cut("<H1>name_</H1>"), "[<H1>]<name>[</H1>]");
  EXPECT_EQ(cut("x_1 y"), "<x>[1 y]");
  EXPECT_EQ(cut("abc1_"), "[abc1]<>");  // a lone underscore is a reference with an empty name
  EXPECT_EQ(cut("plain text, no references."), "[plain text, no references.]");
  EXPECT_EQ(cut(""), "");
}

TEST(SectionTextTest, ReferenceRunsToTheLastUnderscore) {
  EXPECT_EQ(cut("my_variable_name here"), "<my_variable>[name here]");
  EXPECT_EQ(cut("current_filename_+.html"), "<current_filename+>[.html]");
  EXPECT_EQ(cut("a__"), "<a_>");
}

TEST(SectionTextTest, ObjectPathIsWhatPrecedesTheLastPeriod) {
  EXPECT_EQ(cut("class.name_"), "<class.name>");
  EXPECT_EQ(cut("chapter.class.name_ "), "<chapter.class.name>[ ]");
  EXPECT_EQ(cut("name._"), "<name.>");
  EXPECT_EQ(cut(".name_"), "<name>");  // an empty object path
}

TEST(SectionTextTest, ParametersInParentheses) {
  EXPECT_EQ(cut("anchor_(class)x"), "<anchor(class,)>[x]");
  EXPECT_EQ(cut("link_to_(class, _members)"), "<link_to(class,_members)>");
  EXPECT_EQ(cut("link_to_( a ,\tb ,\r\nc )!"), "<link_to(a,b,c)>[!]");
  EXPECT_EQ(cut("link_to_(class, x"), "<link_to(class,x)>");  // unclosed: to the end of the text
  EXPECT_EQ(cut("name_ (x)"), "<name>[ (x)]");                // only right after the underscore
}

TEST(SectionTextTest, ReferencesAtTheVeryEndOfTheText) {
  EXPECT_EQ(cut("see name_"), "[see ]<name>");
  // A "+" or "(" as the last character still belongs to the reference: no stray "+" reaches the output.
  EXPECT_EQ(cut("anchor_+"), "<anchor+>");
  EXPECT_EQ(cut("x name_+"), "[x ]<name+>");
  EXPECT_EQ(cut("link_to_("), "<link_to>");
  EXPECT_EQ(cut("_"), "<>");
}

TEST(SectionTextTest, BudgetKeepsTheRestAsOneLiteral) {
  std::vector<SectionToken> tokens;
  size_t budget = 4;
  EXPECT_FALSE(cutSectionText("a_ b_ c_ d_", tokens, budget));
  EXPECT_EQ(describe(tokens), "<a>[ ]<b>[ c_ d_]");  // nothing of the text is lost
  EXPECT_EQ(budget, 0u);

  tokens.clear();
  budget = 0;
  EXPECT_FALSE(cutSectionText("a_", tokens, budget));
  EXPECT_EQ(describe(tokens), "[a_]");
}

TEST(SectionTextTest, LongTextsCutInLinearTime) {
  // Long runs of letters without an underscore would make a naive leftmost search quadratic.
  const std::string letters(4 << 20, 'a');
  std::string mixed;
  for (int i = 0; i < (1 << 18); ++i) mixed += "word.x_ ";
  const auto start = std::chrono::steady_clock::now();
  std::vector<SectionToken> tokens;
  size_t budget = 1 << 20;
  EXPECT_TRUE(cutSectionText(letters, tokens, budget));
  EXPECT_EQ(tokens.size(), 1u);
  EXPECT_TRUE(cutSectionText(mixed, tokens, budget));
  EXPECT_EQ(tokens.size(), 1u + 2 * (1 << 18));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(SectionTextTest, FindsWhatTheReferencePatternFinds) {
  // The cutter's scan must agree with the pattern engine for any text. A lone underscore is a reference
  // too (so "abc1_" ends in one with an empty name), which is what "*" rather than "+" states.
  const Pattern pattern("[A-Za-z_\\.]*_");
  ASSERT_TRUE(pattern.ok());
  std::mt19937 random(7);
  const std::string alphabet = "a_._Z_ 1(+";
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 16);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    std::vector<SectionToken> tokens;
    size_t budget = 100;
    cutSectionText(text, tokens, budget);
    const Pattern::Match match = pattern.search(text);
    if (!match.found()) {
      EXPECT_TRUE(tokens.empty() || (tokens.size() == 1 && tokens[0].kind == SectionToken::kLiteral)) << text;
      continue;
    }
    const bool literal_first = match.position > 0;
    ASSERT_GT(tokens.size(), literal_first ? 1u : 0u) << text;
    if (literal_first) {
      EXPECT_EQ(tokens[0].name, text.substr(0, match.position)) << text;
    }
    const SectionToken& reference = tokens[literal_first ? 1 : 0];
    ASSERT_EQ(reference.kind, SectionToken::kReference) << text;
    const std::string path = text.substr(match.position, match.length - 1);
    const size_t period = path.rfind('.');
    const std::string name = period == std::string::npos ? path : path.substr(period + 1);
    const std::string object = period == std::string::npos ? "" : path.substr(0, period);
    EXPECT_EQ(reference.object, object) << text;
    EXPECT_EQ(
        reference.name.ends_with("+") ? reference.name.substr(0, reference.name.size() - 1) : reference.name,
        name)
        << text;
  }
}

TEST(PanoseTest, GroupsBecomeOneBlank) {
  EXPECT_EQ(removePanoseGroups("{\\f0{\\*\\panose 020b0604020202020204}Arial;}"), "{\\f0 Arial;}");
  EXPECT_EQ(removePanoseGroups("<p>{\\*\\panose 00}</p>{\\*\\panose ab}"), "<p> </p> ");
  // Not panose groups: upper case, no digits, no blank, another control word.
  for (std::string text : {"{\\*\\panose 0A}", "{\\*\\panose }", "{\\*\\panose01}", "{\\*\\fonts 01}", "x"}) {
    EXPECT_EQ(removePanoseGroups(text), text);
  }
}

TEST(PanoseTest, RemovalRepeatsUntilNoGroupIsLeft) {
  // Removing the inner group completes the outer one, twice over.
  EXPECT_EQ(removePanoseGroups("a{\\*\\panose{\\*\\panose{\\*\\panose 1}b}c}d"), "a d");
  EXPECT_EQ(removePanoseGroups("{\\*\\panose{\\*\\panose 1}{\\*\\panose 2}}"), "{\\*\\panose  }");
}

// Repeated replacement of the leftmost match, as the simplest statement of the rule.
std::string removeRepeatedly(std::string text) {
  const Pattern pattern("{\\\\\\*\\\\panose [a-z0-9]+}");
  for (;;) {
    const Pattern::Match match = pattern.search(text);
    if (!match.found()) return text;
    text.replace(match.position, match.length, " ");
  }
}

TEST(PanoseTest, AgreesWithRepeatedReplacement) {
  std::mt19937 random(11);
  const std::vector<std::string> pieces{"{\\*\\panose ", "{\\*\\panose", "}", "0", "a", " ", "{", "\\"};
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const int count = static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    EXPECT_EQ(removePanoseGroups(text), removeRepeatedly(text)) << text;
  }
}

TEST(PanoseTest, DeeplyNestedGroupsTakeLinearTime) {
  std::string text;
  const int depth = 200000;
  for (int i = 0; i < depth; ++i) text += "{\\*\\panose";
  text += " 1}";
  for (int i = 1; i < depth; ++i) text += "a}";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(removePanoseGroups(text), " ");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace quillet
