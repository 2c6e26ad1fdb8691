// Comment processing and writing speed over every comment of the C++ library headers and of fmt (read in
// place and cut by the source scanner once, outside the timing): building a DocText for each, as the model
// builder does for every declaration (with their comment commands read, and once more with Markdown on),
// and writing each one in full as HTML with a link index to consult. Bytes are the raw comment bytes.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "config/configuration.h"
#include "frontend/preprocessor/raw_scanner.h"
#include "model/comment_markdown.h"
#include "model/doc_text.h"
#include "source_trees.h"
#include "template_objects/evaluation_context.h"
#include "template_objects/link_lookup.h"
#include "template_objects/style_sheet_filter.h"

namespace quillet::bench {
namespace {

const std::vector<std::string>& libraryComments() {
  static const std::vector<std::string> comments = [] {
    std::vector<std::string> found;
    std::vector<std::string> files = filesBelow(kLibstdcxx);
    for (const std::string& file : filesBelow(kFmt)) files.push_back(file);
    for (const std::string& file : files) {
      FileRawScanner scanner(file);
      token_t token;
      do {
        scanner.nextToken(token);
        if (token.comment) found.insert(found.end(), token.comment->begin(), token.comment->end());
      } while (token.kind != T_EOF);
    }
    return found;
  }();
  return comments;
}

int64_t totalBytes(const std::vector<std::string>& comments) {
  int64_t bytes = 0;
  for (const std::string& comment : comments) bytes += static_cast<int64_t>(comment.size());
  return bytes;
}

void BM_BuildComments(benchmark::State& state) {
  const std::vector<std::string>& comments = libraryComments();
  if (comments.empty()) {
    state.SkipWithError("source tree not installed");
    return;
  }
  for (auto _ : state) {
    for (const std::string& comment : comments) {
      DocText doc(comment, true, DocText::kDeclarationLevel, "header.h");
      benchmark::DoNotOptimize(doc.size());
    }
  }
  state.SetBytesProcessed(totalBytes(comments) * state.iterations());
  state.counters["comments"] =
      benchmark::Counter(static_cast<double>(comments.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_BuildComments)->Unit(benchmark::kMillisecond);

void BM_BuildCommentsMarkdown(benchmark::State& state) {
  const std::vector<std::string>& comments = libraryComments();
  if (comments.empty()) {
    state.SkipWithError("source tree not installed");
    return;
  }
  Configuration configuration;
  configuration.setCommentMarkdown(true);
  setCurrentConfiguration(&configuration);
  for (auto _ : state) {
    forgetMarkdownReadings();  // each round reads the comments as a run would, the first time
    for (const std::string& comment : comments) {
      DocText doc(comment, true, DocText::kDeclarationLevel, "header.h");
      benchmark::DoNotOptimize(doc.size());
    }
  }
  setCurrentConfiguration(nullptr);
  state.SetBytesProcessed(totalBytes(comments) * state.iterations());
}
BENCHMARK(BM_BuildCommentsMarkdown)->Unit(benchmark::kMillisecond);

// A link index that knows nothing, as for a word that names no documented symbol.
class NoLinks final : public LinkLookup {
 public:
  std::string namedLink(const EvaluationContext&, std::string_view) const override { return {}; }
};

void BM_WriteCommentsHtml(benchmark::State& state) {
  std::vector<DocText> docs;
  for (const std::string& comment : libraryComments())
    docs.emplace_back(comment, true, DocText::kDeclarationLevel, "header.h");
  if (docs.empty()) {
    state.SkipWithError("source tree not installed");
    return;
  }
  HTMLStyleSheetFilter filter;
  NoLinks links;
  EvaluationContext context;
  context.filter = &filter;
  context.linkIndex = &links;
  for (auto _ : state) {
    std::ostringstream out;
    for (const DocText& doc : docs) doc.WriteFull(context, "vector", out);
    benchmark::DoNotOptimize(out.tellp());
  }
  state.SetBytesProcessed(totalBytes(libraryComments()) * state.iterations());
}
BENCHMARK(BM_WriteCommentsHtml)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillet::bench
