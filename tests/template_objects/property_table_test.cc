#include "template_objects/property_table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "template_objects/evaluation_context.h"

namespace quillet {

namespace {

// A kind whose rows have names of every length the look-up compares differently: bytes, one or two
// overlapping 32-bit words, one, two or more 64-bit words.
struct Toy {
  int32_t tests = 0;
};

template <int32_t N>
int32_t number(const Toy&) {
  return N;
}

void writeMark(const Toy&, const EvaluationContext&, std::ostream& out) {
  out << "written";
}

StyleSheetObject* noList(Toy&) {
  return nullptr;
}

}  // namespace

template <>
struct PropertyTable<Toy> {
  static constexpr PropertyRow<Toy> kShort[] = {
      {"a", nullptr, number<1>},       {"bcd", nullptr, number<3>},      {"cdef", nullptr, number<4>},
      {"defghij", nullptr, number<7>}, {"efghijkl", nullptr, number<8>},
  };
  static constexpr PropertyRow<Toy> kLong[] = {
      {"fghijklmn", nullptr, number<9>},
      {"sixteen_letters_", nullptr, number<16>},
      {"seventeen_letters", nullptr, number<17>},
      {"twenty_five_letters_long_", writeMark, number<25>, noList},
  };
  static constexpr auto kRows = propertyRows(kShort, kLong);
};

namespace {

// The value of the test `name`, or -1 when the table does not know it.
int32_t tested(std::string_view name) {
  int32_t value = -1;
  return testProperty(Toy{}, name, value) ? value : -1;
}

TEST(PropertyTableTest, EveryByteOfEveryNameCounts) {
  for (const PropertyRow<Toy>& row : PropertyTable<Toy>::kRows) {
    const std::string name(row.name);
    EXPECT_EQ(tested(name), static_cast<int32_t>(name.size())) << name;
    EXPECT_EQ(tested(name + "x"), -1) << name;
    EXPECT_EQ(tested(name.substr(0, name.size() - 1)), -1) << name;
    for (size_t at = 0; at < name.size(); ++at) {
      std::string changed = name;
      changed[at] = '#';
      EXPECT_EQ(tested(changed), -1) << changed;
    }
  }
  EXPECT_EQ(tested(""), -1);
}

TEST(PropertyTableTest, EachAnswerComesOnlyFromItsOwnColumn) {
  Toy toy;
  std::ostringstream out;
  EXPECT_FALSE(writeProperty(toy, "cdef", EvaluationContext{}, out));
  EXPECT_TRUE(writeProperty(toy, "twenty_five_letters_long_", EvaluationContext{}, out));
  EXPECT_EQ(out.str(), "written");
  EXPECT_EQ(listProperty(toy, "cdef"), nullptr);
  int32_t value = 42;
  EXPECT_FALSE(testProperty(toy, "nothing", value));
  EXPECT_EQ(value, 42);
}

}  // namespace
}  // namespace quillet
