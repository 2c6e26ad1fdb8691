// Speed of the whole front end, reading the files from disk as a generation run does: preprocessing and
// recognizing every googletest source, and every standard header of the C++ library, each as a module
// with one header cache for the whole run. The callbacks keep nothing, so the numbers are those of the
// preprocessor and the recognizer together. Bytes are the source bytes read.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "frontend/preprocessor/header_cache.h"
#include "frontend/preprocessor/preprocessor.h"
#include "frontend/recognizer/null_lexer.h"
#include "source_trees.h"

namespace quillet::bench {
namespace {

void recognizeModules(benchmark::State& state, const std::vector<std::string>& modules) {
  if (modules.empty()) {
    state.SkipWithError("source tree not installed");
    return;
  }
  const std::vector<std::string> folders = includeFolders();
  int64_t bytes = 0;
  NullLexer lexer;
  for (auto _ : state) {
    HeaderCache cache;
    for (const std::string& module : modules) {
      if (cache.contains(module)) continue;
      Preprocessor preprocessor(module, folders, {"__cplusplus=201703", "__GNUC__=12", "__x86_64__"}, cache);
      lexer.Parse(preprocessor);
      bytes += static_cast<int64_t>(preprocessor.bytesRead());
      cache.add(preprocessor.takeModuleRecords());
    }
  }
  state.SetBytesProcessed(bytes);
  const double runs = static_cast<double>(state.iterations());
  state.counters["classes"] = static_cast<double>(lexer.classes) / runs;
  state.counters["functions"] = static_cast<double>(lexer.functions) / runs;
}

void BM_RecognizeGoogletest(benchmark::State& state) {
  recognizeModules(state, filesBelow(kGoogletest, ".cc"));
}
BENCHMARK(BM_RecognizeGoogletest)->Unit(benchmark::kMillisecond);

void BM_RecognizeLibstdcxx(benchmark::State& state) {
  recognizeModules(state, standardHeaders());
}
BENCHMARK(BM_RecognizeLibstdcxx)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet::bench
