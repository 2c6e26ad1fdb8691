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
  for (const SectionToken& t : tokens) {
    const bool parameters = !t.firstParameter.empty() || !t.secondParameter.empty();
    result += t.kind == SectionToken::kLiteral
                  ? "[" + t.name + "]"
                  : "<" + (t.object.empty() ? "" : t.object + ".") + t.name +
                        (parameters ? "(" + t.firstParameter + "," + t.secondParameter + ")" : "") + ">";
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
  EXPECT_EQ(cut("my_variable_name here"), "<my_variable>[name here]");  // to the run's last underscore
  EXPECT_EQ(cut("chapter.class.name_ "), "<chapter.class.name>[ ]");
  EXPECT_EQ(cut("current_filename_+.html"), "<current_filename+>[.html]");
  EXPECT_EQ(cut("link_to_( a ,\tb ,\r\nc )!"), "<link_to(a,b,c)>[!]");
  EXPECT_EQ(cut("link_to_(class, x"), "<link_to(class,x)>");  // unclosed: to the end of the text
  EXPECT_EQ(cut("name_ (x)"), "<name>[ (x)]");                // only right after the underscore
  EXPECT_EQ(cut("see name_"), "[see ]<name>");
  // A "+" or "(" as the last character still belongs to the reference: no stray "+" reaches the output.
  EXPECT_EQ(cut("anchor_+"), "<anchor+>");
  EXPECT_EQ(cut("link_to_("), "<link_to>");
}

TEST(SectionTextTest, BudgetKeepsTheRestAsOneLiteral) {
  std::vector<SectionToken> tokens;
  size_t budget = 4;
  EXPECT_FALSE(cutSectionText("a_ b_ c_ d_", tokens, budget));
  EXPECT_EQ(describe(tokens), "<a>[ ]<b>[ c_ d_]");  // nothing of the text is lost
  EXPECT_EQ(budget, 0u);
}

TEST(SectionTextTest, FindsWhatTheReferencePatternFindsInLinearTime) {
  // The cutter's own scan must agree with the pattern engine on any text. A lone underscore is a reference
  // too, which is what "*" rather than "+" states.
  const Pattern pattern("[A-Za-z_\\.]*_");
  ASSERT_TRUE(pattern.ok());
  std::mt19937 random(7);
  const std::string alphabet = "a_._Z_ 1(+";
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    for (int i = static_cast<int>(random() % 16); i > 0; --i) text += alphabet[random() % alphabet.size()];
    std::vector<SectionToken> tokens;
    size_t budget = 100;
    cutSectionText(text, tokens, budget);
    const Pattern::Match match = pattern.search(text);
    const size_t first_reference = match.position > 0 ? 1 : 0;
    if (!match.found()) {
      EXPECT_TRUE(tokens.size() <= 1 && (tokens.empty() || tokens[0].kind == SectionToken::kLiteral)) << text;
    } else if (tokens.size() > first_reference && tokens[first_reference].kind == SectionToken::kReference) {
      const SectionToken& reference = tokens[first_reference];
      std::string path = reference.object.empty() ? reference.name : reference.object + "." + reference.name;
      if (path.ends_with("+")) path.pop_back();
      const std::string matched = text.substr(match.position, match.length - 1);
      EXPECT_TRUE(path == matched || "." + path == matched) << text;
    } else {
      ADD_FAILURE() << "no reference where the pattern matches: " << text;
    }
  }
  // Long runs of letters without an underscore would make a leftmost search by pattern quadratic.
  const auto start = std::chrono::steady_clock::now();
  std::vector<SectionToken> tokens;
  size_t budget = 10;
  EXPECT_TRUE(cutSectionText(std::string(8 << 20, 'a'), tokens, budget));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(PanoseTest, GroupsBecomeOneBlankUntilNoneIsLeft) {
  EXPECT_EQ(removePanoseGroups("{\\f0{\\*\\panose 020b0604020202020204}Arial;}"), "{\\f0 Arial;}");
  for (std::string text : {"{\\*\\panose 0A}", "{\\*\\panose }", "{\\*\\panose01}", "{\\*\\fonts 01}"}) {
    EXPECT_EQ(removePanoseGroups(text), text);
  }
  // Removing the inner group completes the outer one, twice over.
  EXPECT_EQ(removePanoseGroups("a{\\*\\panose{\\*\\panose{\\*\\panose 1}b}c}d"), "a d");
}

TEST(PanoseTest, AgreesWithRepeatedReplacementInLinearTime) {
  const Pattern pattern("{\\\\\\*\\\\panose [a-z0-9]+}");
  auto remove_repeatedly = [&](std::string text) {
    for (Pattern::Match m = pattern.search(text); m.found(); m = pattern.search(text))
      text.replace(m.position, m.length, " ");
    return text;
  };
  std::mt19937 random(11);
  const std::vector<std::string> pieces{"{\\*\\panose ", "{\\*\\panose", "}", "0", "a", " ", "{", "\\"};
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int i = static_cast<int>(random() % 12); i > 0; --i) text += pieces[random() % pieces.size()];
    EXPECT_EQ(removePanoseGroups(text), remove_repeatedly(text)) << text;
  }
  std::string nested;
  const int depth = 200000;
  for (int i = 0; i < depth; ++i) nested += "{\\*\\panose";
  nested += " 1}";
  for (int i = 1; i < depth; ++i) nested += "a}";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(removePanoseGroups(nested), " ");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace quillet
