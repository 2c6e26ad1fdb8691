// Page jobs: the file pass hands the pages that new_file starts to worker threads, and the output stays
// what one thread would write. Each job evaluates one page on its own copy of the object stack, with its
// effects (messages, finished files, a failed output) captured; the thread that started the jobs hands the
// effects on in the order it started them, and before any effect of its own. While that thread waits for
// a job, it evaluates jobs not yet started itself.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "common/ordered_effects.h"

namespace quillet {

class PageJobs {
 public:
  /// Jobs on `workers` threads besides the calling one (none: every job runs when started). The calling
  /// thread becomes the one that starts jobs and hands on their effects, until the jobs are destroyed.
  explicit PageJobs(unsigned workers);
  /// Finishes every job (handing on its effects) and ends the workers.
  ~PageJobs();
  PageJobs(const PageJobs&) = delete;
  PageJobs& operator=(const PageJobs&) = delete;

  /// The jobs that the calling thread may start now: the installed ones on the thread that installed them,
  /// outside any job; null everywhere else (pages then run where they are met).
  static PageJobs* startable();

  /// Starts `work`; effects of jobs finished by now, in order, are handed on first.
  void start(std::function<void()> work);
  /// Runs `step` after the effects of every job started so far and before those of jobs started later,
  /// without waiting for them: at once when no job is pending, else in its place in the order.
  void after(std::function<void()> step);
  /// Waits for every job started, handing on their effects in order; rethrows the first failure of a job.
  void finish();

 private:
  struct Job {
    std::function<void()> work;
    EffectCapture effects;
    std::exception_ptr failure;
    bool started = false;
    bool done = false;
  };

  void workerLoop();
  // The next job no thread took yet (advancing past steps placed among the jobs), or null; locked.
  std::shared_ptr<Job> takeUnstarted();
  // Runs `job` on the calling thread with its effects captured; the lock is held on entry and exit.
  void run(Job& job, std::unique_lock<std::mutex>& lock);
  // Hands on the effects of the finished jobs at the front; with `wait`, until no job is left.
  void retire(bool wait);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::shared_ptr<Job>> jobs_;  // in the order started, until retired
  size_t nextUnstarted_ = 0;               // index in jobs_ of the first job no thread took yet
  bool stopping_ = false;
  size_t limit_;  // jobs held at most before the starting thread waits
  std::vector<std::thread> workers_;
  PageJobs* previous_;
};

}  // namespace quillet
