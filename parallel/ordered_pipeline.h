#pragma once
// The ordered pipeline of the many-chart runs (ziwei batch, the search):
// jobs handed in on the calling thread, done by the workers in any order and
// handed back in the order they came.

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace ziwei {

template <class Job>
class OrderedPipeline {
 public:
  OrderedPipeline(unsigned workers, std::function<void(Job&)> work) : work_(std::move(work)) {
    for (unsigned i = 0; i < workers; ++i) threads_.emplace_back([this] { run(); });
  }
  ~OrderedPipeline() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    jobReady_.notify_all();
    for (std::thread& thread : threads_) thread.join();
  }
  OrderedPipeline(const OrderedPipeline&) = delete;
  OrderedPipeline& operator=(const OrderedPipeline&) = delete;

  // Hands a job in.
  void push(Job job) {
    {
      const std::lock_guard lock(mutex_);
      jobs_.push_back({std::move(job), false});
    }
    jobReady_.notify_one();
  }

  // The jobs handed in and not yet taken back.
  std::size_t size() const { return jobs_.size(); }

  // The oldest job, once it is done; there must be one.
  Job pop() {
    std::unique_lock lock(mutex_);
    oldestDone_.wait(lock, [this] { return jobs_.front().done; });
    Job job = std::move(jobs_.front().job);
    jobs_.pop_front();
    --taken_;
    return job;
  }

 private:
  struct Entry {
    Job job;
    bool done;
  };

  void run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      jobReady_.wait(lock, [this] { return stopping_ || taken_ < jobs_.size(); });
      if (stopping_) return;
      // A deque keeps its elements in place as jobs are pushed and popped at
      // the ends, so that the entry can be worked on unlocked.
      Entry& entry = jobs_[taken_++];
      lock.unlock();
      work_(entry.job);
      lock.lock();
      entry.done = true;
      // Only the oldest job is waited for.
      if (&entry == &jobs_.front()) oldestDone_.notify_one();
    }
  }

  std::function<void(Job&)> work_;
  std::deque<Entry> jobs_;
  std::size_t taken_ = 0;  // the first jobs_ handed to workers
  bool stopping_ = false;
  std::mutex mutex_;
  std::condition_variable jobReady_;    // a job was handed in, or the pipeline stops
  std::condition_variable oldestDone_;  // the oldest job is done
  std::vector<std::thread> threads_;
};

}  // namespace ziwei
