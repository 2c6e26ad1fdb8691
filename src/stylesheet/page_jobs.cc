#include "stylesheet/page_jobs.h"

#include "common/output_set.h"
#include "stylesheet/evaluation_budget.h"

namespace quillet {

namespace {

thread_local PageJobs* t_installed = nullptr;

}  // namespace

PageJobs::PageJobs(unsigned workers) : limit_(4 * (static_cast<size_t>(workers) + 1)), previous_(t_installed) {
  t_installed = this;
  setEffectBarrier([this] { retire(true); });
  workers_.reserve(workers);
  for (unsigned i = 0; i < workers; ++i) workers_.emplace_back([this] { workerLoop(); });
}

PageJobs::~PageJobs() {
  try {
    retire(true);
  } catch (...) {
    // A failure of a job was reported by finish() when anyone asked; here only the threads must end.
  }
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
  setEffectBarrier({});
  t_installed = previous_;
}

PageJobs* PageJobs::startable() {
  return t_installed && !threadEffectCapture() ? t_installed : nullptr;
}

void PageJobs::start(std::function<void()> work) {
  auto job = std::make_shared<Job>();
  job->work = std::move(work);
  if (workers_.empty()) {
    std::unique_lock lock(mutex_);
    jobs_.push_back(job);
    run(*job, lock);
    lock.unlock();
    retire(false);
    return;
  }
  {
    const std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  changed_.notify_one();
  retire(false);
  // Too many pages waiting: help until the oldest is done, so that held pages stay few.
  std::unique_lock lock(mutex_);
  while (jobs_.size() >= limit_) {
    if (std::shared_ptr<Job> next = takeUnstarted()) {
      run(*next, lock);
    } else {
      changed_.wait(lock);
    }
    if (jobs_.front()->done) {
      lock.unlock();
      retire(false);
      lock.lock();
    }
  }
}

void PageJobs::after(std::function<void()> step) {
  {
    const std::lock_guard lock(mutex_);
    if (!jobs_.empty()) {
      auto placed = std::make_shared<Job>();
      placed->effects.call(std::move(step));
      placed->started = true;
      placed->done = true;
      jobs_.push_back(std::move(placed));
      return;
    }
  }
  step();
}

std::shared_ptr<PageJobs::Job> PageJobs::takeUnstarted() {
  while (nextUnstarted_ < jobs_.size() && jobs_[nextUnstarted_]->started) ++nextUnstarted_;
  if (nextUnstarted_ >= jobs_.size()) return nullptr;
  return jobs_[nextUnstarted_++];
}

void PageJobs::finish() {
  retire(true);
}

void PageJobs::workerLoop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    std::shared_ptr<Job> job;
    changed_.wait(lock, [this, &job] { return (job = takeUnstarted()) != nullptr || stopping_; });
    if (!job) return;  // stopping, nothing left to take
    run(*job, lock);
  }
}

void PageJobs::run(Job& job, std::unique_lock<std::mutex>& lock) {
  job.started = true;
  lock.unlock();
  {
    const CaptureScope scope(&job.effects);
    try {
      job.work();
    } catch (...) {
      job.failure = std::current_exception();
    }
    handInCharges();
  }
  lock.lock();
  job.done = true;
  changed_.notify_all();
}

void PageJobs::retire(bool wait) {
  std::unique_lock lock(mutex_);
  while (!jobs_.empty()) {
    std::shared_ptr<Job> front = jobs_.front();
    if (!front->done) {
      if (!wait) return;
      // Waiting is idle time: take a job nobody started, else sleep until one ends.
      if (std::shared_ptr<Job> next = takeUnstarted()) {
        run(*next, lock);
      } else {
        changed_.wait(lock);
      }
      continue;
    }
    jobs_.pop_front();
    if (nextUnstarted_ > 0) --nextUnstarted_;
    lock.unlock();
    // A serial run starts no page once the output failed: what later pages did is dropped.
    if (outputStopped()) {
      front->effects.discard();
    } else {
      front->effects.replay();
    }
    if (front->failure) std::rethrow_exception(front->failure);
    lock.lock();
  }
}

}  // namespace quillet
