// The module pipeline: a module is preprocessed on a thread of its own while the calling thread reads its
// tokens, so that preprocessing and declaration recognition run side by side. The reading thread sees
// exactly what the preprocessor would have given it: the same tokens, the same file names, and the
// preprocessor's messages at the places where it reported them. Modules are taken one at a time, so the
// header cache changes only between modules, on the reading thread, as in a run on one thread.
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
  /// A pipeline preprocessing with the front end's `options` against `headerCache`.
  ModulePipeline(const FrontEndOptions& options, HeaderCache& headerCache);
  /// Abandons a module in progress and ends the thread.
  ~ModulePipeline() override;
  ModulePipeline(const ModulePipeline&) = delete;
  ModulePipeline& operator=(const ModulePipeline&) = delete;

  /// Starts preprocessing `module` on the pipeline's thread; the previous module must be finished.
  void start(const std::string& module);
  /// The tokens of the module started, with the preprocessor's messages reported as they are read. A
  /// failure of the preprocessor is thrown where it happened, with the file it was reading as the current
  /// file name.
  TokenStream& tokens() { return *this; }
  /// Waits for the module's preprocessing to end, reports what the preprocessor reported after the last
  /// token read, and returns the records of the files read (the module's first). When the run was
  /// cancelled the module is abandoned instead and no records come back.
  std::vector<HeaderRecordPtr> finish();
  /// Stops the module in progress; what it would still report is dropped.
  void abandon();

 private:
  // One token as the preprocessor delivered it, with what it reported while reading it and the file it
  // was then reading (only when that changed).
  struct Delivered {
    token_t token;
    bool fileChanged = false;
    std::string fileName;
    std::unique_ptr<EffectCapture> effects;
  };
  using Block = std::vector<Delivered>;
  // What the preprocessor's thread hands over when a module ends.
  struct Ending {
    std::vector<HeaderRecordPtr> records;
    EffectCapture effects;
    std::exception_ptr failure;
    std::string failedIn;
  };

  const token_t& nextToken() override;
  const std::string& currentFileName() const override { return fileName_; }
  const FrontEndOptions& options() const override { return options_; }

  void run();
  void preprocess(const std::string& module);
  bool publish(Block& block);
  bool nextBlock();
  std::unique_ptr<Ending> takeEnding();

  const FrontEndOptions& options_;
  HeaderCache& headerCache_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::string requested_;       // the module to preprocess next; empty when none is asked for
  std::deque<Block> blocks_;    // delivered and not yet read
  std::unique_ptr<Ending> ending_;
  bool running_ = false;    // a module was started and its ending not yet taken
  bool abandoned_ = false;  // the reading side wants no more of the module
  bool stopping_ = false;

  // The reading side.
  Block block_;
  size_t next_ = 0;
  token_t last_;           // the latest token read, repeated once the module's tokens are used up
  bool exhausted_ = false;  // the tokens of the module were all read
  std::string fileName_;

  std::thread thread_;
};

}  // namespace quillet
