// A fixture for preprocessor tests: a scratch folder to write source trees into, a published run and a
// header cache, and helpers that preprocess a module and show its tokens.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/file_services.h"
#include "frontend/preprocessor/header_cache.h"
#include "frontend/preprocessor/preprocessor.h"
#include "support/scoped_run.h"

namespace quillet::testing {

class PreprocessorFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = ::testing::TempDir() + "quillet_" + std::to_string(getpid()) + "_" + info->test_suite_name() +
            "_" + info->name() + "/";
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_);
    forgetPathCaches();  // as a run does: the folders listed by earlier tests have changed since
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  /// Writes `text` to `relative` below the scratch folder; returns the file's path.
  std::string write(const std::string& relative, const std::string& text) {
    std::string path = root_ + relative;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
    cache_.forgetFiles();  // a run's lookups hold while its files stay as they are
    return path;
  }

  /// The tokens `preprocessor` delivers, up to the end.
  std::vector<token_t> tokensOf(Preprocessor& preprocessor) {
    std::vector<token_t> tokens;
    for (;;) {
      const token_t& token = preprocessor.nextToken();
      if (token.kind == T_EOF) break;
      tokens.push_back(token);
    }
    return tokens;
  }

  /// The texts of the tokens of `source` preprocessed as a module, separated by spaces.
  std::string preprocess(const std::string& source, const std::vector<std::string>& directories = {},
                         const std::vector<std::string>& defines = {}) {
    FrontEndOptions options = options_;
    options.includeDirectories = directories;
    options.defines = defines;
    Preprocessor preprocessor(write("module.cpp", source), options, cache_);
    preprocessor.setLimits(limits_);
    return join(tokensOf(preprocessor));
  }

  static std::string join(const std::vector<token_t>& tokens) {
    std::string text;
    for (const token_t& token : tokens) {
      if (!text.empty()) text += ' ';
      text += token.text;
    }
    return text;
  }

  std::string root_;
  ScopedRun run_;
  HeaderCache cache_;
  PreprocessorLimits limits_;  // what preprocess() runs with
  FrontEndOptions options_;    // what modules are read with
};

}  // namespace quillet::testing
