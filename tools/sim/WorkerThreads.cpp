#include "WorkerThreads.h"

#include <stdexcept>
#include <string>

namespace kelvane::sim {

std::thread StartThread(const std::function<void()>& work) { return std::thread(work); }

WorkerThreads::WorkerThreads(std::function<void()> stop, ThreadStarter start)
    : stop_(std::move(stop)), start_(std::move(start)) {}

WorkerThreads::~WorkerThreads() { StopAndJoin(); }

void WorkerThreads::StopAndJoin() {
    if (stop_) stop_();
    for (std::thread& thread : threads_)
        if (thread.joinable()) thread.join();
    threads_.clear();
}

void WorkerThreads::Start(unsigned count, const std::function<void()>& work) {
    const auto cannotStart = [&](unsigned thread, const std::exception& error) {
        StopAndJoin();
        return std::runtime_error("thread " + std::to_string(thread) + " of " + std::to_string(count) +
                                  " cannot be started: " + error.what());
    };
    // Room for all first: a started thread is then never lost to a vector that cannot grow.
    try {
        threads_.reserve(threads_.size() + count);
    } catch (const std::exception& error) {
        throw cannotStart(1, error);
    }
    for (unsigned started = 0; started < count; ++started) {
        try {
            threads_.push_back(start_(work));
        } catch (const std::exception& error) {
            throw cannotStart(started + 1, error);
        }
    }
}

}  // namespace kelvane::sim
