#include "frontend/preprocessor/module_pipeline.h"

#include <optional>
#include <utility>

#include "common/message_output.h"
#include "frontend/preprocessor/preprocessor.h"

namespace quillet {

namespace {

// Tokens are handed over by the block; a few blocks may wait, so that the preprocessor runs ahead of the
// reader without holding a whole module.
constexpr size_t kBlockSize = 512;
constexpr size_t kWaitingBlocks = 8;

}  // namespace

ModulePipeline::ModulePipeline(const FrontEndOptions& options, HeaderCache& headerCache)
    : options_(options), headerCache_(headerCache), thread_([this] { run(); }) {}

ModulePipeline::~ModulePipeline() {
  abandon();
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void ModulePipeline::start(const std::string& module) {
  abandon();  // a module whose reading failed may still be running
  block_.clear();
  next_ = 0;
  last_ = token_t();
  exhausted_ = false;
  fileName_ = module;
  {
    const std::lock_guard lock(mutex_);
    requested_ = module;
    running_ = true;
    abandoned_ = false;
  }
  changed_.notify_all();
}

std::vector<HeaderRecordPtr> ModulePipeline::finish() {
  // A cancelled run reads no further; the rest of the module is not worth waiting for.
  if (runCanceled()) {
    abandon();
    return {};
  }
  std::unique_ptr<Ending> ending = takeEnding();
  if (!ending) return {};
  ending->effects.replay();
  return std::move(ending->records);
}

void ModulePipeline::abandon() {
  {
    std::unique_lock lock(mutex_);
    if (!running_) return;
    abandoned_ = true;
  }
  changed_.notify_all();
  if (std::unique_ptr<Ending> ending = takeEnding()) ending->effects.discard();
  block_.clear();
  next_ = 0;
}

std::unique_ptr<ModulePipeline::Ending> ModulePipeline::takeEnding() {
  std::unique_lock lock(mutex_);
  if (!running_) return nullptr;
  changed_.wait(lock, [this] { return ending_ != nullptr; });
  running_ = false;
  blocks_.clear();
  return std::move(ending_);
}

const token_t& ModulePipeline::nextToken() {
  if (exhausted_) return last_;
  while (next_ >= block_.size()) {
    if (nextBlock()) continue;
    // The module's tokens are used up: it ended, or the preprocessor failed here.
    std::exception_ptr failure;
    {
      const std::lock_guard lock(mutex_);
      if (ending_ && ending_->failure) {
        failure = std::exchange(ending_->failure, nullptr);
        fileName_ = ending_->failedIn;
      }
    }
    exhausted_ = true;
    if (failure) std::rethrow_exception(failure);
    return last_;
  }
  Delivered& delivered = block_[next_++];
  if (delivered.effects) delivered.effects->replay();
  if (delivered.fileChanged) fileName_ = std::move(delivered.fileName);
  last_ = std::move(delivered.token);
  return last_;
}

bool ModulePipeline::nextBlock() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !blocks_.empty() || ending_ != nullptr || !running_; });
  if (blocks_.empty()) return false;
  block_ = std::move(blocks_.front());
  blocks_.pop_front();
  next_ = 0;
  lock.unlock();
  changed_.notify_all();
  return true;
}

// ---- The preprocessor's thread ----

void ModulePipeline::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !requested_.empty(); });
    if (requested_.empty()) return;
    const std::string module = std::exchange(requested_, std::string());
    lock.unlock();
    preprocess(module);
    lock.lock();
  }
}

bool ModulePipeline::publish(Block& block) {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return abandoned_ || blocks_.size() < kWaitingBlocks; });
    if (abandoned_) return false;
    blocks_.push_back(std::move(block));
  }
  changed_.notify_all();
  block = Block();
  block.reserve(kBlockSize);
  return true;
}

void ModulePipeline::preprocess(const std::string& module) {
  auto ending = std::make_unique<Ending>();
  EffectCapture effects;
  {
    const CaptureScope scope(&effects);
    std::optional<Preprocessor> preprocessor;
    Block block;
    block.reserve(kBlockSize);
    bool open = true;  // the reading side still wants tokens
    try {
      preprocessor.emplace(module, options_, headerCache_);
      std::string file;
      bool first = true;
      // The end is read twice: the first end token may carry the module's last comments; the second is
      // the one a reader gets whenever it reads on.
      for (int ends = 0; open && ends < 2;) {
        Delivered delivered;
        delivered.token = preprocessor->nextToken();
        if (delivered.token.kind == T_EOF) ++ends;
        const std::string& current = preprocessor->currentFileName();
        if (first || current != file) {
          file = current;
          delivered.fileChanged = true;
          delivered.fileName = current;
          first = false;
        }
        if (!effects.empty()) delivered.effects = std::make_unique<EffectCapture>(effects.take());
        block.push_back(std::move(delivered));
        if (block.size() == kBlockSize) open = publish(block);
      }
      if (open && !block.empty()) open = publish(block);
      if (open) ending->records = preprocessor->takeModuleRecords();
    } catch (...) {
      // The tokens read before the failure come first; the reader meets the failure after them.
      if (open && !block.empty()) publish(block);
      ending->failure = std::current_exception();
      ending->failedIn = preprocessor && !preprocessor->currentFileName().empty()
                             ? preprocessor->currentFileName()
                             : module;
    }
    preprocessor.reset();  // what it reports on closing is captured too
  }
  ending->effects = effects.take();
  {
    const std::lock_guard lock(mutex_);
    ending_ = std::move(ending);
  }
  changed_.notify_all();
}

}  // namespace quillet
