// Threads that cannot all be started: those that were are stopped and joined, and the
// error says which thread failed and why.

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>

#include "WorkerThreads.h"

namespace kelvane::sim {
namespace {

// Starts threads as the system does, until the `failing`th, which throws `error`.
ThreadStarter FailingAt(unsigned failing, std::function<void()> error) {
    auto started = std::make_shared<unsigned>(0);
    return [=](const std::function<void()>& work) {
        if (++*started == failing) error();
        return std::thread(work);
    };
}

TEST(WorkerThreads, AThreadThatCannotStartStopsAndJoinsThoseStarted) {
    struct Case {
        unsigned Count;
        unsigned Failing;
        std::function<void()> Error;
        std::string Message;
    };
    const Case cases[] = {
        {4, 1, [] { throw std::system_error(EAGAIN, std::generic_category()); },
         "thread 1 of 4 cannot be started: Resource temporarily unavailable"},
        {4, 3, [] { throw std::system_error(EAGAIN, std::generic_category()); },
         "thread 3 of 4 cannot be started: Resource temporarily unavailable"},
        {2, 2, [] { throw std::bad_alloc(); }, "thread 2 of 2 cannot be started: std::bad_alloc"},
    };
    for (const Case& c : cases) {
        std::atomic<bool> stop{false};
        std::atomic<unsigned> running{0};
        std::atomic<unsigned> ended{0};
        // Each thread runs until it is told to stop.
        const auto work = [&] {
            ++running;
            while (!stop) std::this_thread::yield();
            ++ended;
        };
        WorkerThreads threads([&stop] { stop = true; }, FailingAt(c.Failing, c.Error));
        try {
            threads.Start(c.Count, work);
            ADD_FAILURE() << c.Message << ": no error";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(error.what(), c.Message);
        }
        // Joined before Start returned: every thread started has ended, none is left.
        EXPECT_EQ(ended.load(), c.Failing - 1) << c.Message;
        EXPECT_EQ(running.load(), ended.load()) << c.Message;
        EXPECT_EQ(threads.Count(), 0u) << c.Message;
    }
}

TEST(WorkerThreads, TheWorkDoneAllThreadsAreJoinedAtTheEnd) {
    std::atomic<unsigned> ended{0};
    {
        WorkerThreads threads([] {});
        threads.Start(3, [&ended] { ++ended; });
        EXPECT_EQ(threads.Count(), 3u);
    }
    EXPECT_EQ(ended.load(), 3u);
}

}  // namespace
}  // namespace kelvane::sim
