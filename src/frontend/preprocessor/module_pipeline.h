// The module pipeline: the modules of a run are preprocessed in order on a thread of their own, running
// ahead of the calling thread, which recognizes the declarations of one module after the other. The
// reading thread sees exactly what the preprocessor would have given it in a run on one thread: the same
// tokens, the same file names, the preprocessor's messages at the places where it reported them, and the
// same modules skipped for having been read as headers before. The preprocessing thread enters each
// module's header records into the header cache when the module ends; should reading the module then
// fail, its records are taken back out and the modules after it are preprocessed again.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/ordered_effects.h"
#include "frontend/preprocessor/header_cache.h"
#include "frontend/preprocessor/token_stream.h"

namespace quillet {

class ModulePipeline final : private TokenStream {
 public:
  /// Preprocesses `modules` in order with the front end's `options` against `headerCache`, entering the
  /// records of each module into the cache unless `keepRecords` is false (headers read again each time).
  ModulePipeline(std::vector<std::string> modules, const FrontEndOptions& options, HeaderCache& headerCache,
                 bool keepRecords);
  /// Stops the preprocessing thread.
  ~ModulePipeline() override;
  ModulePipeline(const ModulePipeline&) = delete;
  ModulePipeline& operator=(const ModulePipeline&) = delete;

  /// Turns to the module at `index`; modules are turned to in order, each once. False when the module is
  /// skipped: an earlier module read it as a header.
  bool begin(size_t index);
  /// The tokens of the current module. A failure of the preprocessor is thrown where it happened, with
  /// the file it was reading as the current file name.
  TokenStream& tokens() { return *this; }
  /// Ends the current module after its tokens were read: reports what the preprocessor reported after the
  /// last token read and returns the records of the files read (the module's first).
  std::vector<HeaderRecordPtr> end();
  /// Ends the current module whose reading failed: its records leave the header cache again, and the
  /// modules after it are preprocessed anew.
  void fail();

 private:
  // One token as the preprocessor delivered it, with what it reported while reading it and the file it
  // was then reading (only when that changed).
  struct Delivered {
    token_t token;
    bool fileChanged = false;
    std::string fileName;
    std::unique_ptr<EffectCapture> effects;
    size_t journal = 0;  // the header cache's journal position once the token was read
  };
  using Block = std::vector<Delivered>;
  // One module as preprocessed: its tokens in blocks, then its ending.
  struct Module {
    size_t index = 0;
    bool skipped = false;
    size_t journal = 0;  // the header cache's journal position when the module began
    std::deque<Block> blocks;
    bool ended = false;
    std::vector<HeaderRecordPtr> records;
    EffectCapture trailing;  // reported after the last token
    std::exception_ptr failure;
    std::string failedIn;
  };

  const token_t& nextToken() override;
  const std::string& currentFileName() const override { return fileName_; }
  const FrontEndOptions& options() const override { return options_; }

  void run();
  void preprocess(Module& module, const std::string& file);
  bool publish(Module& module, Block& block);
  bool nextBlock();
  void restartAfter(size_t index, size_t journal);

  const std::vector<std::string> modules_;
  const FrontEndOptions& options_;
  HeaderCache& headerCache_;
  const bool keepRecords_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Module>> ready_;  // preprocessed or in progress, in order
  size_t nextToPreprocess_ = 0;
  size_t heldBlocks_ = 0;   // blocks waiting in ready_
  bool restarting_ = false;  // the preprocessing thread is to drop what it does and start again
  bool idle_ = true;        // the preprocessing thread waits for work
  bool stopping_ = false;

  // The reading side.
  std::unique_ptr<Module> current_;
  Block block_;
  size_t next_ = 0;
  token_t last_;            // the latest token read, repeated once the module's tokens are used up
  bool exhausted_ = false;  // the tokens of the module were all read
  bool streamFailed_ = false;  // the preprocessor failed: its thread went on as on one thread
  size_t journal_ = 0;      // the journal position of the latest token read
  std::string fileName_;

  std::thread thread_;
};

}  // namespace quillet
