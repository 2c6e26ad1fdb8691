#include "frontend/preprocessor/module_pipeline.h"

#include <optional>
#include <utility>

#include "common/message_output.h"
#include "frontend/preprocessor/preprocessor.h"

namespace quillet {

namespace {

// Tokens are handed over by the block. The preprocessing thread runs ahead by at most this many blocks
// and modules, so that it never holds much more than a module's worth of tokens.
constexpr size_t kBlockSize = 512;
constexpr size_t kHeldBlocks = 16;
constexpr size_t kModulesAhead = 64;

}  // namespace

ModulePipeline::ModulePipeline(std::vector<std::string> modules, const FrontEndOptions& options,
                               HeaderCache& headerCache, bool keepRecords)
    : modules_(std::move(modules)),
      options_(options),
      headerCache_(headerCache),
      keepRecords_(keepRecords),
      thread_([this] { run(); }) {}

ModulePipeline::~ModulePipeline() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

// ---- The reading side ----

bool ModulePipeline::begin(size_t index) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !ready_.empty(); });
  Module& module = *ready_.front();
  if (module.index != index || module.skipped) {
    // Skipped (the only way the order can differ is a module the caller passed over, which it must not).
    if (module.index == index) ready_.pop_front();
    lock.unlock();
    changed_.notify_all();
    return false;
  }
  block_.clear();
  next_ = 0;
  last_ = token_t();
  exhausted_ = false;
  streamFailed_ = false;
  journal_ = module.journal;
  fileName_ = modules_[index];
  return true;
}

std::vector<HeaderRecordPtr> ModulePipeline::end() {
  // A cancelled run reads no further; the module's end is not worth waiting for.
  if (runCanceled()) return {};
  std::unique_ptr<Module> module;
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ready_.front()->ended; });
    module = std::move(ready_.front());
    ready_.pop_front();
    heldBlocks_ -= module->blocks.size();
  }
  changed_.notify_all();
  module->trailing.replay();
  return std::move(module->records);
}

void ModulePipeline::fail() {
  size_t index = 0;
  {
    const std::lock_guard lock(mutex_);
    index = ready_.front()->index;
  }
  if (streamFailed_) {
    // The preprocessor's own failure: its thread carried on as a run on one thread does.
    end();
    return;
  }
  // The reading failed: nothing after the last token read happened, the module's records included.
  restartAfter(index, journal_);
}

void ModulePipeline::restartAfter(size_t index, size_t journal) {
  {
    std::unique_lock lock(mutex_);
    restarting_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] { return idle_; });
    headerCache_.rollBack(journal);
    ready_.clear();
    heldBlocks_ = 0;
    nextToPreprocess_ = index + 1;
    restarting_ = false;
  }
  changed_.notify_all();
}

const token_t& ModulePipeline::nextToken() {
  if (exhausted_) return last_;
  while (next_ >= block_.size()) {
    if (nextBlock()) continue;
    // The module's tokens are used up: it ended, or the preprocessor failed here.
    exhausted_ = true;
    Module* module = nullptr;
    {
      const std::lock_guard lock(mutex_);
      module = ready_.front().get();
    }
    if (!module->failure) return last_;
    streamFailed_ = true;
    fileName_ = module->failedIn;
    module->trailing.replay();
    std::rethrow_exception(std::exchange(module->failure, nullptr));
  }
  Delivered& delivered = block_[next_++];
  if (delivered.effects) delivered.effects->replay();
  if (delivered.fileChanged) fileName_ = std::move(delivered.fileName);
  journal_ = delivered.journal;
  last_ = std::move(delivered.token);
  return last_;
}

bool ModulePipeline::nextBlock() {
  std::unique_lock lock(mutex_);
  Module& module = *ready_.front();
  changed_.wait(lock, [&module] { return !module.blocks.empty() || module.ended; });
  if (module.blocks.empty()) return false;
  block_ = std::move(module.blocks.front());
  module.blocks.pop_front();
  --heldBlocks_;
  next_ = 0;
  lock.unlock();
  changed_.notify_all();
  return true;
}

// ---- The preprocessing thread ----

void ModulePipeline::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    idle_ = true;
    changed_.notify_all();
    changed_.wait(lock, [this] {
      return stopping_ || (!restarting_ && nextToPreprocess_ < modules_.size() && ready_.size() < kModulesAhead);
    });
    if (stopping_) return;
    idle_ = false;
    const size_t index = nextToPreprocess_++;
    lock.unlock();
    auto module = std::make_unique<Module>();
    module->index = index;
    module->journal = headerCache_.journalPosition();
    module->skipped = headerCache_.contains(modules_[index]);
    module->ended = module->skipped;
    Module& entry = *module;
    lock.lock();
    ready_.push_back(std::move(module));
    changed_.notify_all();
    if (entry.skipped) continue;
    lock.unlock();
    preprocess(entry, modules_[index]);
    lock.lock();
  }
}

bool ModulePipeline::publish(Module& module, Block& block) {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return stopping_ || restarting_ || heldBlocks_ < kHeldBlocks; });
    if (stopping_ || restarting_) return false;
    module.blocks.push_back(std::move(block));
    ++heldBlocks_;
  }
  changed_.notify_all();
  block = Block();
  block.reserve(kBlockSize);
  return true;
}

void ModulePipeline::preprocess(Module& module, const std::string& file) {
  EffectCapture effects;
  std::vector<HeaderRecordPtr> records;
  std::exception_ptr failure;
  std::string failedIn;
  bool open = true;  // nobody asked to stop
  {
    const CaptureScope scope(&effects);
    std::optional<Preprocessor> preprocessor;
    Block block;
    block.reserve(kBlockSize);
    try {
      preprocessor.emplace(file, options_, headerCache_);
      std::string reading;
      bool first = true;
      // The end is read twice: the first end token may carry the module's last comments; the second is
      // the one a reader gets whenever it reads on.
      for (int ends = 0; open && ends < 2;) {
        Delivered delivered;
        delivered.token = preprocessor->nextToken();
        if (delivered.token.kind == T_EOF) ++ends;
        const std::string& current = preprocessor->currentFileName();
        if (first || current != reading) {
          reading = current;
          delivered.fileChanged = true;
          delivered.fileName = current;
          first = false;
        }
        if (!effects.empty()) delivered.effects = std::make_unique<EffectCapture>(effects.take());
        delivered.journal = headerCache_.journalPosition();
        block.push_back(std::move(delivered));
        if (block.size() == kBlockSize) open = publish(module, block);
      }
      if (open && !block.empty()) open = publish(module, block);
      if (open) records = preprocessor->takeModuleRecords();
    } catch (...) {
      // The tokens read before the failure come first; the reader meets the failure after them.
      if (open && !block.empty()) open = publish(module, block);
      failure = std::current_exception();
      failedIn = preprocessor && !preprocessor->currentFileName().empty() ? preprocessor->currentFileName()
                                                                          : file;
    }
    preprocessor.reset();  // what it reports on closing is captured too
  }
  if (!open) return;  // dropped by a restart or the end of the run
  // The next module sees this one's headers, as when each module is read to its end before the next.
  if (!failure && keepRecords_) headerCache_.add(records);
  {
    const std::lock_guard lock(mutex_);
    module.records = std::move(records);
    module.trailing = effects.take();
    module.failure = failure;
    module.failedIn = std::move(failedIn);
    module.ended = true;
  }
  changed_.notify_all();
}

}  // namespace quillet
