// The module pipeline against modules read one after the other on one thread: the same tokens, the same
// messages in the same places, the same modules skipped; and a module whose reading fails leaves the
// header cache as a run on one thread leaves it.
#include "frontend/preprocessor/module_pipeline.h"

#include "frontend/preprocessor/module_parse.h"
#include "frontend/preprocessor/preprocessor_fixture.h"

namespace quillet::testing {
namespace {

// Tokens and messages of a run, in the order they come.
class Log : public MessageOutput {
 public:
  void status(std::string_view) override {}
  void report(std::string_view text) override { lines.push_back("message " + std::string(text)); }
  std::vector<std::string> lines;
};

class ModulePipelineTest : public PreprocessorFixture {
 protected:
  void SetUp() override {
    PreprocessorFixture::SetUp();
    write("a.h", "#ifndef A_H\n#define A_H\nint a;\n#include <missing.h>\nint b;\n#endif\n");
    modules_ = {write("one.cc", "#include \"a.h\"\nint one;\n"), root_ + "a.h",
                write("two.cc", "#include \"a.h\"\n#include <missing.h>\nint two;\n")};
    setCurrentMessageOutput(&log_);
  }

  // Reads `tokens` to the end, or `limit` tokens, logging each with its file.
  void read(TokenStream& tokens, size_t limit = SIZE_MAX) {
    for (size_t n = 0; n < limit; ++n) {
      const token_t& token = tokens.nextToken();
      const std::string& file = tokens.currentFileName();
      log_.lines.push_back(token.text + " in " + (file.starts_with(root_) ? file.substr(root_.size()) : file));
      if (token.kind == T_EOF) break;
    }
  }

  std::vector<std::string> modules_;
  Log log_;
};

TEST_F(ModulePipelineTest, SameTokensMessagesAndSkippedModulesAsOneThread) {
  std::vector<std::string> records;
  for (const std::string& module : modules_) {
    if (cache_.contains(module)) {
      log_.lines.push_back("skipped");
      continue;
    }
    std::vector<HeaderRecordPtr> read_records =
        parseModule(module, options_, cache_, [&](Preprocessor& p) { read(p); });
    for (const HeaderRecordPtr& record : read_records) records.push_back(record->fileName);
    cache_.add(std::move(read_records));
  }
  const std::vector<std::string> serial = std::exchange(log_.lines, {});

  HeaderCache cache;
  std::vector<std::string> piped;
  {
    ModulePipeline pipeline(modules_, options_, cache, true);
    for (size_t index = 0; index < modules_.size(); ++index) {
      if (!pipeline.begin(index)) {
        log_.lines.push_back("skipped");
        continue;
      }
      read(pipeline.tokens());
      for (const HeaderRecordPtr& record : pipeline.end()) piped.push_back(record->fileName);
    }
  }
  EXPECT_EQ(log_.lines, serial);
  EXPECT_EQ(piped, records);
  EXPECT_TRUE(cache.contains(root_ + "a.h"));
}

TEST_F(ModulePipelineTest, AFailedModuleTakesItsHeadersAndMissingFilesBackOut) {
  HeaderCache cache;
  ModulePipeline pipeline(modules_, options_, cache, true);
  ASSERT_TRUE(pipeline.begin(0));
  read(pipeline.tokens(), 1);  // "int" of a.h: the missing header further on is not reached yet
  pipeline.fail();
  // As on one thread, a.h was never recorded: it is a module of its own, and reports the missing header.
  ASSERT_TRUE(pipeline.begin(1));
  log_.lines.clear();
  read(pipeline.tokens());
  EXPECT_EQ(pipeline.end().size(), 1u);
  const std::string missing = "message warning: (" + root_ + "a.h:4) missing #include file missing.h.";
  ASSERT_GE(log_.lines.size(), 3u);
  EXPECT_EQ(log_.lines[0], "int in a.h");
  EXPECT_TRUE(log_.lines[3].starts_with(missing)) << log_.lines[3];
  // The next module replays a.h and reports the missing header no more.
  ASSERT_TRUE(pipeline.begin(2));
  log_.lines.clear();
  read(pipeline.tokens());
  pipeline.end();
  for (const std::string& line : log_.lines) EXPECT_FALSE(line.starts_with("message")) << line;
}

}  // namespace
}  // namespace quillet::testing
