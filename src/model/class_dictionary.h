// The class dictionary of the documented classes: finds a class by name and tells whether a name is a
// typedef standing for one of them. The document builds one from the classes it holds when it is sorted;
// class finishing reads it to collect references and to follow bases for virtual functions.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace quillet {

class Class;

class ClassDictionary {
 public:
  ClassDictionary() = default;
  ClassDictionary(const ClassDictionary&) = delete;
  ClassDictionary& operator=(const ClassDictionary&) = delete;

  /// Enters `documented` (which must outlive the dictionary) under its name; the first class of a name
  /// stays.
  void addClass(const Class& documented);
  /// Enters the typedef `name` as standing for the class called `className`, when that class is in the
  /// dictionary; the first typedef of a name stays.
  void addTypedef(std::string_view name, std::string_view className);

  /// The class called exactly `name`, or null.
  const Class* findClass(std::string_view name) const;
  /// The class the typedef `name` stands for, or null.
  const Class* findTypedefClass(std::string_view name) const;
  /// The specializations (X<int>, X<T*>) entered of the primary template called `name`, in the order
  /// entered.
  const std::vector<const Class*>& specializationsOf(std::string_view name) const;
  /// True when a class entered declares a virtual member function called `name`: only then can a
  /// function of that name be virtual through a base, so most functions need no walk over their bases.
  bool hasVirtualNamed(std::string_view name) const;

 private:
  struct StringHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
  };
  using Map = std::unordered_map<std::string, const Class*, StringHash, std::equal_to<>>;

  Map classes_;
  Map typedefs_;
  std::unordered_map<std::string, std::vector<const Class*>, StringHash, std::equal_to<>> specializations_;
  std::unordered_set<std::string, StringHash, std::equal_to<>> virtualNames_;
};

}  // namespace quillet
