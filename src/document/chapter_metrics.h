// The metrics of a chapter: counts summed over the classes and free functions filed in it and in its
// sub-chapters (statements, McCabe complexity, member functions, parameters, documented functions), five
// distributions of per-class and per-function values, and the lists of the chapter's own classes and
// functions that pass the configured thresholds. Each chapter owns one ChapterMetrics and fills it once
// when the document is sorted; the metric properties and charts are read from it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "template_objects/style_sheet_object_list.h"

namespace quillet {

class Class;
class Configuration;
class Function;

/// Counts of values: the count of value i at index i.
class Distribution {
 public:
  /// Values above this are counted here, so that a distribution stays a few megabytes at most.
  static constexpr uint32_t kLargestValue = 1u << 20;

  /// Counts one occurrence of `value`, growing the distribution as needed.
  void count(uint32_t value);
  /// Adds the counts of `other`, value by value.
  void add(const Distribution& other);
  /// The counts, index by value; empty when nothing was counted.
  std::span<const uint32_t> counts() const { return counts_; }
  /// The number of entries: one more than the largest value counted, 0 when none was.
  size_t size() const { return counts_.size(); }

 private:
  std::vector<uint32_t> counts_;
};

/// The five distributions of a chapter.
enum class MetricDistribution : size_t {
  kClassPublicMembers,  // public member functions per class
  kClassStatements,     // statements per class (its member functions together)
  kClassComplexity,     // McCabe complexity per class
  kFunctionStatements,  // statements per free function
  kFunctionComplexity,  // McCabe complexity per free function, for those above 0
};
inline constexpr size_t kMetricDistributionCount = 5;

/// What the metrics sum for a chapter and its sub-chapters.
struct MetricCounts {
  uint32_t classes = 0;
  uint32_t functions = 0;  // free functions
  uint32_t parameters = 0;
  uint32_t documentedFunctions = 0;  // free functions and non-private member functions with a comment
  uint32_t functionsWithStatements = 0;
  uint32_t functionStatements = 0;  // of the free functions
  uint32_t functionComplexity = 0;  // of the free functions
  uint32_t protectedMembers = 0;
  uint32_t publicMembers = 0;
  uint32_t classComplexity = 0;  // of all member functions
  uint32_t classStatements = 0;  // of all member functions

  /// Statements of free and member functions.
  uint64_t totalStatements() const { return uint64_t{functionStatements} + classStatements; }
  /// Free functions and public and protected member functions (private ones are not counted).
  uint64_t totalFunctions() const { return uint64_t{protectedMembers} + functions + publicMembers; }
  /// Adds every count of `other`.
  void add(const MetricCounts& other);
  /// True when every count is equal.
  bool operator==(const MetricCounts&) const = default;
};

/// The counts and distributions of a chapter.
struct MetricRecord {
  MetricCounts counts;
  std::array<Distribution, kMetricDistributionCount> distributions;

  /// The distribution of the given kind.
  const Distribution& distribution(MetricDistribution kind) const {
    return distributions[static_cast<size_t>(kind)];
  }
  Distribution& distribution(MetricDistribution kind) { return distributions[static_cast<size_t>(kind)]; }

  /// Counts one class filed in the chapter, with its member functions.
  void countClass(const Class& aClass);
  /// Counts one free function filed in the chapter.
  void countFunction(const Function& function);
  /// Adds the counts and distributions of a sub-chapter.
  void add(const MetricRecord& other);
};

/// The thresholds that select classes and functions for the metric lists (0: not set).
struct MetricThresholds {
  uint32_t classMinStatements = 0;
  uint32_t classMinPublicFunctions = 0;
  uint32_t classMinComplexity = 0;
  uint32_t functionMinStatements = 0;
  uint32_t functionMinComplexity = 0;
  bool showMemberFunctions = false;
  bool documentProtected = false;
  bool documentPrivate = false;

  /// The thresholds of `configuration`; none set when it is null.
  static MetricThresholds from(const Configuration* configuration);
  /// True when no class threshold is set, or a set one is below the class's value.
  bool listsClass(const Class& aClass) const;
  /// True when no function threshold is set, or a set one is below the function's value.
  bool listsFunction(const Function& function) const;
  /// True when the configuration documents members of access `access`.
  bool showsAccess(int32_t access) const;
};

/// A chapter's metrics: its record, its two metric lists, and the chart files drawn from it.
class ChapterMetrics {
 public:
  ChapterMetrics() = default;
  ChapterMetrics(const ChapterMetrics&) = delete;
  ChapterMetrics& operator=(const ChapterMetrics&) = delete;

  /// True once computed.
  bool computed() const { return computed_; }
  /// Counts the chapter's own classes and free functions and lists those that pass `thresholds`.
  void countOwn(std::span<const std::unique_ptr<Class>> classes,
                std::span<const std::unique_ptr<Function>> functions, const MetricThresholds& thresholds);
  /// Adds a computed sub-chapter's record.
  void addSubChapter(const ChapterMetrics& sub) { record_.add(sub.record_); }
  /// Marks the metrics computed; later computations return at once.
  void markComputed() { computed_ = true; }

  const MetricRecord& record() const { return record_; }
  /// "metric_class_list": the chapter's own classes that pass the thresholds.
  StyleSheetObjectSubsetList& classList() { return classList_; }
  /// "metric_function_list": the chapter's own free functions (then member functions, when configured)
  /// that pass the thresholds.
  StyleSheetObjectSubsetList& functionList() { return functionList_; }

  /// True the first time `path` is given: a chart file should be drawn there. Later calls answer false.
  bool firstDrawing(const std::string& path) { return drawnCharts_.insert(path).second; }

 private:
  MetricRecord record_;
  StyleSheetObjectSubsetList classList_{"metric_class_list"};
  StyleSheetObjectSubsetList functionList_{"metric_function_list"};
  std::unordered_set<std::string> drawnCharts_;
  bool computed_ = false;
};

}  // namespace quillet
