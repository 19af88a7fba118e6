// Opening and closing the port many times leaves no descriptor and no
// thread behind, also when the line was lost while open.

#include "serial/XComDrv.h"
#include "tests/support/PtyPeer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::size_t Entries(const char* Folder) {
    const std::filesystem::directory_iterator All(Folder);
    return std::size_t(std::distance(begin(All), end(All)));
}

struct TUse {
    std::size_t Descriptors, Threads;
    friend bool operator==(const TUse&, const TUse&) = default;
};

void PrintTo(const TUse& U, std::ostream* Out) {
    *Out << U.Descriptors << " descriptors, " << U.Threads << " threads";
}

TUse Use() {
    return {Entries("/proc/self/fd"), Entries("/proc/self/task")};
}

// One opening: a byte each way, then close.
void Exchange(TXComm& Port, TPtyPeer& Peer) {
    Port.OpenDevice();
    ASSERT_TRUE(Port.WriteString("?"));
    ASSERT_EQ(Peer.Receive(1), "?");
    Peer.Send("!");
    std::string S;
    for (auto End = std::chrono::steady_clock::now() + 1s;
         S.empty() && std::chrono::steady_clock::now() < End;)
        Port.ReadString(S);
    ASSERT_EQ(S, "!");
    Port.CloseDevice();
}

TEST(PortCycles, AThousandOpeningsLeakNothing) {
    TPtyPeer Peer;
    TXComm Port;
    Port.SetDeviceName(Peer.Path());
    Port.SetSynchronize(false);
    Exchange(Port, Peer);
    const TUse Before = Use();
    for (int I = 0; I < 1000 && !HasFatalFailure(); ++I)
        Exchange(Port, Peer);
    EXPECT_EQ(Use(), Before);
}

TEST(PortCycles, LostLinesLeakNothing) {
    TXComm Port;
    Port.SetSynchronize(false);
    auto LoseOne = [&] {
        TPtyPeer Peer;
        Port.SetDeviceName(Peer.Path());
        Port.OpenDevice();
        Peer.HangUp();
        for (auto End = std::chrono::steady_clock::now() + 1s;
             !Port.LineLost() && std::chrono::steady_clock::now() < End;)
            std::this_thread::sleep_for(1ms);
        EXPECT_TRUE(Port.LineLost());
        Port.CloseDevice();
    };
    LoseOne();
    const TUse Before = Use();
    for (int I = 0; I < 200; ++I)
        LoseOne();
    EXPECT_EQ(Use(), Before);
}

} // namespace
