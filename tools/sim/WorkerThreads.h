#pragma once
// Threads that run one piece of work together and always end together. However the run
// ends (its work done, an error in the thread that waits for them, a thread that cannot
// be started), every thread is told to stop and joined before anything goes on, so no
// thread is ever left running or destroyed while it runs.

#include <functional>
#include <thread>
#include <vector>

namespace kelvane::sim {

// Starts one thread running the work; throws when it cannot (std::system_error from the
// system, std::bad_alloc). Tests hand in one that fails where they want it to.
using ThreadStarter = std::function<std::thread(const std::function<void()>&)>;

// The system's threads.
std::thread StartThread(const std::function<void()>& work);

class WorkerThreads {
public:
    // `stop` makes the work return soon: called before the threads are joined.
    explicit WorkerThreads(std::function<void()> stop, ThreadStarter start = StartThread);
    // Stops and joins every thread started.
    ~WorkerThreads();
    WorkerThreads(const WorkerThreads&) = delete;
    WorkerThreads& operator=(const WorkerThreads&) = delete;

    // Starts `count` threads running `work`. When one cannot be started (no memory, a
    // limit of threads), those started are stopped and joined and a std::runtime_error
    // says which could not start and why.
    void Start(unsigned count, const std::function<void()>& work);
    unsigned Count() const { return static_cast<unsigned>(threads_.size()); }

private:
    void StopAndJoin();

    std::function<void()> stop_;
    ThreadStarter start_;
    std::vector<std::thread> threads_;
};

}  // namespace kelvane::sim
