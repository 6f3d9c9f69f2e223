// A frame run again sounds nothing twice: each sound of a frame plays the first time a run
// of that frame starts it, and a sound only the corrected run starts plays late.
#include <gtest/gtest.h>

#include "media/Sound.h"
#include "net/SoundLedger.h"

namespace kelvane::net {
namespace {

class SoundLedgerTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i) waves_.Items.push_back(std::make_unique<TWaveCollectionItem>());
    }
    TWaveList waves_;
    SoundLedger ledger_{&waves_};
};

TEST_F(SoundLedgerTest, AFrameRunThreeTimesPlaysEachOfItsSoundsOnce) {
    for (int run = 0; run < 3; ++run) {
        ledger_.BeginFrame(10);
        ledger_.Play(1);
        ledger_.Play(1);  // two launches of the same sound in one frame are two sounds
        ledger_.Play(2);
        ledger_.BeginFrame(11);
        ledger_.Play(2);
    }
    EXPECT_EQ(waves_.PlayCount(1), 2u);
    EXPECT_EQ(waves_.PlayCount(2), 2u);
    EXPECT_EQ(ledger_.Played(), 4u);
}

TEST_F(SoundLedgerTest, TheCorrectedRunAddsWhatItStartsAndTakesNothingBack) {
    ledger_.BeginFrame(5);
    ledger_.Play(0);
    ledger_.BeginFrame(5);  // run again: the shot was not fired after all, a beam was
    ledger_.Play(1);
    EXPECT_EQ(waves_.PlayCount(0), 1u);
    EXPECT_EQ(waves_.PlayCount(1), 1u);
    ledger_.Forget(5);
    ledger_.BeginFrame(5);
    ledger_.Play(1);
    EXPECT_EQ(waves_.PlayCount(1), 2u);  // forgotten frames are never run again by the game
}

TEST_F(SoundLedgerTest, ABadSoundEndsTheFrameInEveryRun) {
    for (int run = 0; run < 2; ++run) {
        ledger_.BeginFrame(7);
        EXPECT_THROW(ledger_.Play(9), std::exception);
    }
}

}  // namespace
}  // namespace kelvane::net
