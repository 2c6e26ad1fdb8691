// Preprocessing speed, reading the files from disk as a generation run does: every googletest source
// as a module, and every standard header of the C++ library as a module, with one header cache for the
// whole run, and once more with headers reparsed for each module. Bytes are the source bytes read.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "frontend/preprocessor/header_cache.h"
#include "frontend/preprocessor/preprocessor.h"
#include "source_trees.h"

namespace quillet::bench {
namespace {

void preprocessModules(benchmark::State& state, const std::vector<std::string>& modules, bool reparse) {
  if (modules.empty()) {
    state.SkipWithError("source tree not installed");
    return;
  }
  const std::vector<std::string> folders = includeFolders();
  int64_t bytes = 0;
  size_t tokens = 0;
  for (auto _ : state) {
    HeaderCache cache;
    for (const std::string& module : modules) {
      if (cache.contains(module)) continue;
      Preprocessor preprocessor(module, folders, {"__GNUC__=12", "__x86_64__"}, cache);
      while (preprocessor.nextToken().kind != T_EOF) ++tokens;
      bytes += static_cast<int64_t>(preprocessor.bytesRead());
      if (!reparse) cache.add(preprocessor.takeModuleRecords());
    }
  }
  benchmark::DoNotOptimize(tokens);
  state.SetBytesProcessed(bytes);
  state.counters["tokens"] = benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}

void BM_PreprocessGoogletest(benchmark::State& state) {
  preprocessModules(state, filesBelow(kGoogletest, ".cc"), false);
}
BENCHMARK(BM_PreprocessGoogletest)->Unit(benchmark::kMillisecond);

void BM_PreprocessGoogletestReparsing(benchmark::State& state) {
  preprocessModules(state, filesBelow(kGoogletest, ".cc"), true);
}
BENCHMARK(BM_PreprocessGoogletestReparsing)->Unit(benchmark::kMillisecond);

void BM_PreprocessLibstdcxx(benchmark::State& state) {
  preprocessModules(state, standardHeaders(), false);
}
BENCHMARK(BM_PreprocessLibstdcxx)->Unit(benchmark::kMillisecond);

void BM_PreprocessLibstdcxxReparsing(benchmark::State& state) {
  preprocessModules(state, standardHeaders(), true);
}
BENCHMARK(BM_PreprocessLibstdcxxReparsing)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet::bench
