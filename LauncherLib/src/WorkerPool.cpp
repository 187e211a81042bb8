#include "WorkerPool.h"

namespace LauncherLib {

WorkerPool::WorkerPool(std::size_t workers, std::size_t maxWaiting) : maxWaiting(maxWaiting) {
    for (std::size_t worker = 0; worker < workers; ++worker) {
        threads.emplace_back([this, worker] { Run(worker); });
    }
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
    }
    jobPosted.notify_all();
    for (std::thread& thread : threads) {
        thread.join();
    }
}

void WorkerPool::Post(Job job) {
    std::unique_lock<std::mutex> guard(lock);
    jobTaken.wait(guard, [this] { return waiting.size() < maxWaiting; });
    waiting.push_back(std::move(job));
    guard.unlock();
    jobPosted.notify_one();
}

void WorkerPool::Wait() {
    std::unique_lock<std::mutex> guard(lock);
    jobDone.wait(guard, [this] { return waiting.empty() && running == 0; });
}

void WorkerPool::Run(std::size_t worker) {
    std::unique_lock<std::mutex> guard(lock);
    while (true) {
        jobPosted.wait(guard, [this] { return !waiting.empty() || stopping; });
        if (waiting.empty()) {
            return;
        }
        Job job = std::move(waiting.front());
        waiting.pop_front();
        ++running;
        guard.unlock();
        jobTaken.notify_one();
        job(worker);
        guard.lock();
        --running;
        jobDone.notify_all();
    }
}

}  // namespace LauncherLib
