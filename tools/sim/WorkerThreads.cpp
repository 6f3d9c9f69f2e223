#include "WorkerThreads.h"

#include <stdexcept>
#include <string>
#include <system_error>

namespace kelvane::sim {

WorkerThreads::WorkerThreads(std::function<void()> stop) : stop_(std::move(stop)) {}

WorkerThreads::~WorkerThreads() { StopAndJoin(); }

void WorkerThreads::StopAndJoin() {
    if (stop_) stop_();
    for (std::thread& thread : threads_)
        if (thread.joinable()) thread.join();
    threads_.clear();
}

void WorkerThreads::Start(unsigned count, const std::function<void()>& work) {
    threads_.reserve(threads_.size() + count);
    for (unsigned started = 0; started < count; ++started) {
        try {
            threads_.emplace_back(work);
        } catch (const std::system_error& error) {
            StopAndJoin();
            throw std::runtime_error("thread " + std::to_string(started + 1) + " of " + std::to_string(count) +
                                     " cannot be started: " + error.what());
        }
    }
}

}  // namespace kelvane::sim
