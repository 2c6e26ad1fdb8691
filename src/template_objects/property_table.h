// Property tables: a kind of style sheet object lists every name it answers as one row of its table (how it
// writes the property, how it answers the test, which list it hands out), and answers WriteProperty, Test
// and GetList through writeProperty, testProperty and listProperty, which look the name up there. A kind's
// table is one constant array, joined while compiling from the shared row sets it includes and its own
// rows. Looking a name up costs what a chain of comparisons with the names written out would cost, because
// that is what the compiler makes of it: no allocation, no hashing, no call through a pointer. The writers
// and testers of numbers and of emptiness that many rows use come with it.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace quillet {

class StyleSheetObject;
struct EvaluationContext;

/// One name an object of type T answers. Each of the three answers may be missing (null): a row with only
/// a tester is a test the object knows but no property it writes.
template <typename T>
struct PropertyRow {
  /// Writes the property's value.
  using Writer = void (*)(const T& object, const EvaluationContext& context, std::ostream& out);
  /// The test's value: a number, or 1 and 0 for yes and no.
  using Tester = int32_t (*)(const T& object);
  /// The object handed out under the name (usually a list view over the object's collection), or null.
  using Lister = StyleSheetObject* (*)(T& object);

  std::string_view name;
  Writer write = nullptr;
  Tester test = nullptr;
  Lister list = nullptr;
};

/// The property table of the kind T. Each kind specializes it in its own source file (a friend of the kind
/// when rows need its private members) with one member, `static constexpr ... kRows = propertyRows(...)`.
template <typename T>
struct PropertyTable;

/// The rows of all `sets` as one array, made while compiling; a name listed twice stops the compilation.
template <typename T, size_t... Sizes>
consteval std::array<PropertyRow<T>, (Sizes + ...)> propertyRows(const PropertyRow<T> (&... sets)[Sizes]) {
  std::array<PropertyRow<T>, (Sizes + ...)> rows{};
  auto next = rows.begin();
  ((next = std::copy(std::begin(sets), std::end(sets), next)), ...);
  for (size_t i = 0; i < rows.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (rows[i].name == rows[j].name) throw std::logic_error("a property is listed twice");
    }
  }
  return rows;
}

namespace property_table_detail {

template <typename Word>
Word wordAt(const char* bytes) {
  Word word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

// True when the `Size` bytes at `a` and `b` are equal, compared as whole words; the last word of a name
// whose length is no multiple of the word size overlaps the one before. With `b` a constant, each step is
// one load and one comparison with a number, where memcmp would often be a call.
template <size_t Size>
bool sameBytes(const char* a, const char* b) {
  if constexpr (Size > 16) {
    return sameBytes<8>(a, b) && sameBytes<Size - 8>(a + 8, b + 8);
  } else if constexpr (Size > 8) {
    return sameBytes<8>(a, b) && sameBytes<8>(a + Size - 8, b + Size - 8);
  } else if constexpr (Size == 8) {
    return wordAt<uint64_t>(a) == wordAt<uint64_t>(b);
  } else if constexpr (Size >= 4) {
    return wordAt<uint32_t>(a) == wordAt<uint32_t>(b) &&
           wordAt<uint32_t>(a + Size - 4) == wordAt<uint32_t>(b + Size - 4);
  } else {
    for (size_t i = 0; i < Size; ++i) {
      if (a[i] != b[i]) return false;
    }
    return true;
  }
}

// Row `I` of T's table, as a constant: its name and its functions are known while compiling, so the
// comparison below is written out and the function is called directly.
template <typename T, size_t I>
inline constexpr PropertyRow<T> kRow = PropertyTable<T>::kRows[I];

template <typename T, size_t I>
bool hasName(std::string_view name) {
  constexpr std::string_view key = kRow<T, I>.name;
  return name.size() == key.size() && sameBytes<key.size()>(name.data(), key.data());
}

template <typename T, size_t I>
bool writeRow(const T& object, std::string_view name, const EvaluationContext& context, std::ostream& out) {
  if constexpr (kRow<T, I>.write == nullptr) {
    return false;
  } else {
    constexpr auto write = kRow<T, I>.write;
    if (!hasName<T, I>(name)) return false;
    write(object, context, out);
    return true;
  }
}

template <typename T, size_t I>
bool testRow(const T& object, std::string_view name, int32_t& value) {
  if constexpr (kRow<T, I>.test == nullptr) {
    return false;
  } else {
    constexpr auto test = kRow<T, I>.test;
    if (!hasName<T, I>(name)) return false;
    value = test(object);
    return true;
  }
}

template <typename T, size_t I>
bool listRow(T& object, std::string_view name, StyleSheetObject*& list) {
  if constexpr (kRow<T, I>.list == nullptr) {
    return false;
  } else {
    constexpr auto lister = kRow<T, I>.list;
    if (!hasName<T, I>(name)) return false;
    list = lister(object);
    return true;
  }
}

// One try of each row, in the table's order, until one answers.
template <typename T, size_t... I>
bool writeRows(const T& object, std::string_view name, const EvaluationContext& context, std::ostream& out,
               std::index_sequence<I...>) {
  return (writeRow<T, I>(object, name, context, out) || ...);
}

template <typename T, size_t... I>
bool testRows(const T& object, std::string_view name, int32_t& value, std::index_sequence<I...>) {
  return (testRow<T, I>(object, name, value) || ...);
}

template <typename T, size_t... I>
StyleSheetObject* listRows(T& object, std::string_view name, std::index_sequence<I...>) {
  StyleSheetObject* list = nullptr;
  static_cast<void>((listRow<T, I>(object, name, list) || ...));
  return list;
}

template <typename T>
using RowIndexes = std::make_index_sequence<PropertyTable<T>::kRows.size()>;

}  // namespace property_table_detail

/// True when `name` is a property of T's table, after writing its value for `object` to `out`.
template <typename T>
bool writeProperty(const T& object, std::string_view name, const EvaluationContext& context,
                   std::ostream& out) {
  return property_table_detail::writeRows(object, name, context, out, property_table_detail::RowIndexes<T>());
}

/// True when `name` is a test of T's table, after storing its value for `object` in `value` (left alone
/// otherwise).
template <typename T>
bool testProperty(const T& object, std::string_view name, int32_t& value) {
  return property_table_detail::testRows(object, name, value, property_table_detail::RowIndexes<T>());
}

/// The object that `object` hands out under `name` by T's table, or null.
template <typename T>
StyleSheetObject* listProperty(T& object, std::string_view name) {
  return property_table_detail::listRows(object, name, property_table_detail::RowIndexes<T>());
}

/// Writes the number that `Get` (a member or a const member function of T) gives for `object`.
template <typename T, auto Get>
void writeNumberValue(const T& object, const EvaluationContext&, std::ostream& out) {
  out << std::invoke(Get, object);
}

/// The number, or yes or no as 1 or 0, that `Get` gives for `object`.
template <typename T, auto Get>
int32_t testValue(const T& object) {
  return static_cast<int32_t>(std::invoke(Get, object));
}

/// 1 when what `Get` gives for `object` (a text, a comment) is not empty, else 0.
template <typename T, auto Get>
int32_t testNotEmpty(const T& object) {
  return std::invoke(Get, object).empty() ? 0 : 1;
}

/// The object (a list view, say) that `object` holds as its member `Member`, for a lister.
template <typename T, auto Member>
StyleSheetObject* memberObject(T& object) {
  return &std::invoke(Member, object);
}

}  // namespace quillet
