// Raw scanning speed over every file of the googletest sources and of the C++ library headers, held in
// memory so that only the scanner is measured.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "common/file_contents.h"
#include "frontend/preprocessor/raw_scanner.h"
#include "source_trees.h"

namespace quillet::bench {
namespace {

std::vector<std::string> loadTexts(const std::string& root) {
  std::vector<std::string> texts;
  for (const std::string& file : filesBelow(root)) {
    std::string text;
    if (readFileContents(file, text)) texts.push_back(std::move(text));
  }
  return texts;
}

void scanTexts(benchmark::State& state, const std::vector<std::string>& texts) {
  if (texts.empty()) {
    state.SkipWithError("source tree not installed");
    return;
  }
  int64_t bytes = 0;
  for (const std::string& text : texts) bytes += static_cast<int64_t>(text.size());
  size_t tokens = 0;
  token_t token;
  for (auto _ : state) {
    for (const std::string& text : texts) {
      RawScanner scanner(text);
      do {
        scanner.nextToken(token);
        ++tokens;
      } while (token.kind != T_EOF);
    }
  }
  benchmark::DoNotOptimize(tokens);
  state.SetBytesProcessed(bytes * state.iterations());
  state.counters["tokens"] = benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}

void BM_RawScanGoogletest(benchmark::State& state) {
  static const std::vector<std::string> texts = loadTexts(kGoogletest);
  scanTexts(state, texts);
}
BENCHMARK(BM_RawScanGoogletest)->Unit(benchmark::kMillisecond);

void BM_RawScanLibstdcxx(benchmark::State& state) {
  static const std::vector<std::string> texts = loadTexts(kLibstdcxx);
  scanTexts(state, texts);
}
BENCHMARK(BM_RawScanLibstdcxx)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet::bench
