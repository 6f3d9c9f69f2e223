// The runner's link in game time: a datagram arrives the given number of ticks after the
// tick it was sent in (never sooner than the next), unreliable ones are lost at the given
// rate and reliable ones never, and a peer's tick waits for the others' previous one.
#include <gtest/gtest.h>

#include "MemoryLink.h"
#include "net/ConditionedLink.h"

namespace kelvane::net {
namespace {

struct Pair {
    explicit Pair(LinkConditions conditions) : A(hub, "a"), B(hub, "b"), SlowA(A, conditions), PlainB(B, {}) {
        ToB = SlowA.Connect("b");
        LinkEvent event;
        while (PlainB.Poll(event, 0))
            if (event.Kind == LinkEventKind::Connected) ToA = event.Peer;
        while (SlowA.Poll(event, 0)) {
        }
        SlowA.KeepInStep(ToB);
        PlainB.KeepInStep(ToA);
    }
    // The ticks in which b reads the datagrams a sends in tick 0.
    std::vector<uint64_t> ArrivalTicks(int datagrams, bool reliable) {
        std::vector<uint64_t> ticks;
        for (uint64_t tick = 0; tick < 20; ++tick) {
            SlowA.BeginTick(tick);
            PlainB.BeginTick(tick);
            if (tick == 0)
                for (int i = 0; i < datagrams; ++i) SlowA.Send(ToB, std::vector<uint8_t>{1, 2, 3}, reliable);
            SlowA.EndTick(tick);
            PlainB.EndTick(tick);
            LinkEvent event;
            while (PlainB.Poll(event, 0))
                if (event.Kind == LinkEventKind::Received && !event.Data.empty()) ticks.push_back(tick);
            while (SlowA.Poll(event, 0)) {
            }
        }
        return ticks;
    }
    testing::MemoryHub hub;
    testing::MemoryLink A, B;
    ConditionedLink SlowA, PlainB;
    PeerId ToB = 0, ToA = 0;
};

TEST(ConditionedLink, ADatagramArrivesTheDelayInTicksAfterItWasSentAndNeverInTheSameTick) {
    struct Case {
        uint32_t DelayMs;
        uint64_t Tick;
    };
    for (const Case& line : {Case{0, 1}, Case{39, 1}, Case{40, 1}, Case{120, 3}, Case{320, 8}}) {
        Pair pair(LinkConditions{line.DelayMs, 0, 0, 1});
        EXPECT_EQ(pair.ArrivalTicks(1, true), std::vector<uint64_t>{line.Tick}) << line.DelayMs << " ms";
    }
}

TEST(ConditionedLink, JitterSpreadsArrivalsAndLossTakesOnlyUnreliableOnes) {
    Pair jittered(LinkConditions{120, 40, 0, 3});
    const std::vector<uint64_t> ticks = jittered.ArrivalTicks(200, true);
    ASSERT_EQ(ticks.size(), 200u);
    EXPECT_EQ(*std::min_element(ticks.begin(), ticks.end()), 2u);
    EXPECT_EQ(*std::max_element(ticks.begin(), ticks.end()), 4u);
    Pair lossy(LinkConditions{0, 0, 25, 3});
    const size_t unreliable = lossy.ArrivalTicks(400, false).size();
    EXPECT_GT(unreliable, 250u);
    EXPECT_LT(unreliable, 350u);
    EXPECT_EQ(lossy.SlowA.Dropped(), 400 - unreliable);
    Pair reliable(LinkConditions{0, 0, 25, 3});
    EXPECT_EQ(reliable.ArrivalTicks(400, true).size(), 400u);
}

TEST(ConditionedLink, ATickBeginsOnlyOnceThePeersInStepHaveEndedThePreviousOne) {
    Pair pair(LinkConditions{});
    EXPECT_TRUE(pair.SlowA.InStep(0));
    pair.SlowA.BeginTick(0);
    pair.SlowA.EndTick(0);
    EXPECT_FALSE(pair.SlowA.InStep(1));  // b has not ended tick 0
    pair.PlainB.BeginTick(0);
    pair.PlainB.EndTick(0);
    LinkEvent event;
    while (pair.SlowA.Poll(event, 0)) {
    }
    EXPECT_TRUE(pair.SlowA.InStep(1));
    pair.SlowA.LetGo(pair.ToB);
    EXPECT_TRUE(pair.SlowA.InStep(100));  // a peer let go holds nothing up
}

}  // namespace
}  // namespace kelvane::net
