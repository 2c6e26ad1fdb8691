#include "document/chapter_metrics.h"

#include <algorithm>

#include "config/configuration.h"
#include "model/class.h"
#include "model/function.h"

namespace quillet {

namespace {

// Statement and complexity counts only grow from 0; a negative one would be a fault upstream and counts 0.
uint32_t countOf(int32_t value) {
  return value > 0 ? static_cast<uint32_t>(value) : 0;
}

// The values of a class that the distributions count and the class thresholds test.
struct ClassValues {
  uint32_t statements = 0;
  uint32_t complexity = 0;
  uint32_t publicMembers = 0;
};

ClassValues valuesOf(const Class& aClass) {
  ClassValues values;
  for (const Function& member : *aClass.functions) {
    values.statements += countOf(member.size);
    values.complexity += countOf(member.mccabe);
    if (member.access == kAccessPublic) ++values.publicMembers;
  }
  return values;
}

// A set threshold lists a value strictly above it.
bool above(uint32_t threshold, uint32_t value) {
  return threshold != 0 && threshold < value;
}

}  // namespace

void Distribution::count(uint32_t value) {
  value = std::min(value, kLargestValue);
  if (value >= counts_.size()) counts_.resize(size_t{value} + 1);
  ++counts_[value];
}

void Distribution::add(const Distribution& other) {
  if (other.counts_.size() > counts_.size()) counts_.resize(other.counts_.size());
  for (size_t value = 0; value < other.counts_.size(); ++value) counts_[value] += other.counts_[value];
}

void MetricCounts::add(const MetricCounts& other) {
  classes += other.classes;
  functions += other.functions;
  parameters += other.parameters;
  documentedFunctions += other.documentedFunctions;
  functionsWithStatements += other.functionsWithStatements;
  functionStatements += other.functionStatements;
  functionComplexity += other.functionComplexity;
  protectedMembers += other.protectedMembers;
  publicMembers += other.publicMembers;
  classComplexity += other.classComplexity;
  classStatements += other.classStatements;
}

void MetricRecord::countClass(const Class& aClass) {
  ++counts.classes;
  for (const Function& member : *aClass.functions) {
    counts.parameters += static_cast<uint32_t>(member.args.size());
    if (member.access != kAccessPrivate && !member.CombinedComment().empty()) ++counts.documentedFunctions;
    if (member.size != 0) ++counts.functionsWithStatements;
    if (member.access == kAccessProtected) ++counts.protectedMembers;
  }
  const ClassValues values = valuesOf(aClass);
  counts.publicMembers += values.publicMembers;
  counts.classStatements += values.statements;
  counts.classComplexity += values.complexity;
  distribution(MetricDistribution::kClassPublicMembers).count(values.publicMembers);
  distribution(MetricDistribution::kClassStatements).count(values.statements);
  distribution(MetricDistribution::kClassComplexity).count(values.complexity);
}

void MetricRecord::countFunction(const Function& function) {
  ++counts.functions;
  counts.parameters += static_cast<uint32_t>(function.args.size());
  if (!function.CombinedComment().empty()) ++counts.documentedFunctions;
  if (function.size != 0) ++counts.functionsWithStatements;
  counts.functionStatements += countOf(function.size);
  counts.functionComplexity += countOf(function.mccabe);
  distribution(MetricDistribution::kFunctionStatements).count(countOf(function.size));
  if (function.mccabe != 0)
    distribution(MetricDistribution::kFunctionComplexity).count(countOf(function.mccabe));
}

void MetricRecord::add(const MetricRecord& other) {
  counts.add(other.counts);
  for (size_t kind = 0; kind < kMetricDistributionCount; ++kind)
    distributions[kind].add(other.distributions[kind]);
}

MetricThresholds MetricThresholds::from(const Configuration* configuration) {
  MetricThresholds thresholds;
  if (!configuration) return thresholds;
  thresholds.classMinStatements = configuration->classMinStatements();
  thresholds.classMinPublicFunctions = configuration->classMinPublicFunctions();
  thresholds.classMinComplexity = configuration->classMinComplexity();
  thresholds.functionMinStatements = configuration->functionMinStatements();
  thresholds.functionMinComplexity = configuration->functionMinComplexity();
  thresholds.showMemberFunctions = configuration->metricsShowMemberFunctions();
  thresholds.documentProtected = configuration->isDocumented(kAccessProtected);
  thresholds.documentPrivate = configuration->isDocumented(kAccessPrivate);
  return thresholds;
}

bool MetricThresholds::listsClass(const Class& aClass) const {
  if (classMinStatements == 0 && classMinPublicFunctions == 0 && classMinComplexity == 0) return true;
  const ClassValues values = valuesOf(aClass);
  return above(classMinStatements, values.statements) ||
         above(classMinPublicFunctions, values.publicMembers) || above(classMinComplexity, values.complexity);
}

bool MetricThresholds::listsFunction(const Function& function) const {
  if (functionMinStatements == 0 && functionMinComplexity == 0) return true;
  return above(functionMinStatements, countOf(function.size)) ||
         above(functionMinComplexity, countOf(function.mccabe));
}

bool MetricThresholds::showsAccess(int32_t access) const {
  switch (access) {
    case kAccessPublic:
      return true;
    case kAccessProtected:
      return documentProtected;
    case kAccessPrivate:
      return documentPrivate;
    default:
      return false;
  }
}

void ChapterMetrics::countOwn(std::span<const std::unique_ptr<Class>> classes,
                              std::span<const std::unique_ptr<Function>> functions,
                              const MetricThresholds& thresholds) {
  for (const auto& aClass : classes) {
    record_.countClass(*aClass);
    if (thresholds.listsClass(*aClass)) classList_.add(aClass.get());
  }
  for (const auto& function : functions) {
    record_.countFunction(*function);
    if (thresholds.listsFunction(*function)) functionList_.add(function.get());
  }
  if (!thresholds.showMemberFunctions) return;
  for (const auto& aClass : classes) {
    for (Function& member : *aClass->functions) {
      if (thresholds.showsAccess(member.access) && thresholds.listsFunction(member))
        functionList_.add(&member);
    }
  }
}

}  // namespace quillet
