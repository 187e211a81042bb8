// A fixed set of threads that run posted jobs in the order they were posted. At most a fixed
// number of jobs wait: Post blocks while that many do, so the poster never runs far ahead.
// Each job is told which of the threads runs it, so that it can use that thread's resources.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace LauncherLib {

class WorkerPool {
public:
    using Job = std::function<void(std::size_t worker)>;

    WorkerPool(std::size_t workers, std::size_t maxWaiting);
    // Runs the jobs still waiting, then ends the threads.
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void Post(Job job);
    // Returns when every posted job has run.
    void Wait();

private:
    void Run(std::size_t worker);

    std::size_t maxWaiting;
    std::mutex lock;
    std::condition_variable jobPosted;
    std::condition_variable jobTaken;
    std::condition_variable jobDone;
    std::deque<Job> waiting;
    std::size_t running = 0;
    bool stopping = false;
    std::vector<std::thread> threads;
};

}  // namespace LauncherLib
