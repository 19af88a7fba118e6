#include "platform/ThreadWake.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

std::atomic<int> ForeignCalls = 0;
void Foreign(int) {
    ++ForeignCalls;
}

// One test: the wake signal is picked on first use, and the handler that
// was there before must be in place by then.
TEST(ThreadWake, EndsABlockingCallAndLeavesOtherHandlersAlone) {
    struct sigaction Mine = {}, Before, After;
    Mine.sa_handler = Foreign;
    sigemptyset(&Mine.sa_mask);
    ASSERT_EQ(sigaction(SIGRTMAX, &Mine, &Before), 0);
    ASSERT_TRUE(ThreadWakeAvailable());
    ASSERT_EQ(sigaction(SIGRTMAX, nullptr, &After), 0);
    EXPECT_EQ(After.sa_handler, Foreign);

    int Pipe[2];
    ASSERT_EQ(pipe(Pipe), 0);
    std::atomic<bool> Ended = false;
    int Result = 0, Error = 0;
    std::thread Blocked([&] {
        AcceptWakes();
        char C;
        Result = int(read(Pipe[0], &C, 1));
        Error = errno;
        Ended = true;
    });
    const auto End = std::chrono::steady_clock::now() + 2s;
    while (!Ended && std::chrono::steady_clock::now() < End) {
        WakeThread(Blocked);
        std::this_thread::sleep_for(10ms);
    }
    if (!Ended)
        (void)!write(Pipe[1], "x", 1); // let the thread go before failing
    Blocked.join();
    EXPECT_TRUE(Ended);
    EXPECT_EQ(Result, -1);
    EXPECT_EQ(Error, EINTR) << "the call is not restarted";
    EXPECT_EQ(ForeignCalls, 0);
    close(Pipe[0]);
    close(Pipe[1]);
    sigaction(SIGRTMAX, &Before, nullptr);
}

} // namespace
