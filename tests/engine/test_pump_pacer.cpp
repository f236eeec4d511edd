// The pace of the event pump: due before the first pump, not due right after one, due again once
// the interval has passed; a run lets events run at its first piece and reads Cancel after every
// one.
#include "engine/EngineProgress.h"
#include "tests/engine/EngineTestSupport.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

// Waits (up to a generous limit, not a measure of speed) until the pacer is due.
bool becomesDue(const PumpPacer& pacer)
{
    for (int i = 0; i < 20000 && !pacer.due(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return pacer.due();
}

// An interval far longer than the test: "not due" cannot come from a machine too slow to look in time.
TEST(EnginePumpPacerTest, NotDueRightAfterAPump)
{
    PumpPacer pacer(std::chrono::hours(1));
    EXPECT_TRUE(pacer.due());   // the first piece lets events run
    for (int round = 0; round < 3; ++round) {
        pacer.pumped();
        EXPECT_FALSE(pacer.due()) << round;
    }
}   // the pacer ends cleanly mid-interval

TEST(EnginePumpPacerTest, DueAgainOnceTheIntervalHasPassed)
{
    PumpPacer pacer(std::chrono::milliseconds(5));
    EXPECT_TRUE(pacer.due());
    for (int round = 0; round < 3; ++round) {
        pacer.pumped();
        EXPECT_TRUE(becomesDue(pacer)) << round;
    }
    // A pump before the interval is over starts it again; the pacer ends cleanly mid-interval.
    pacer.pumped();
    pacer.pumped();
    EXPECT_TRUE(becomesDue(pacer));
    pacer.pumped();
    // Interval 0: due after every pump.
    pacer.setInterval(std::chrono::milliseconds(0));
    EXPECT_TRUE(pacer.due());
    pacer.pumped();
    EXPECT_TRUE(pacer.due());
}

TEST(EnginePumpPacerTest, ARunPumpsAtItsFirstPieceAndReadsCancelAfterEveryPiece)
{
    struct Counting : HeadlessProgress {
        mutable int reads = 0;
        bool cancel() const override
        {
            ++reads;
            return false;
        }
    } progress;
    EngineOnDb t({{20, 20, 3}}, {{8, 5, 2, true}, {6, 4, 2, true}});
    t.engine.Settings.CutOrder = 1;
    t.engine.SetProgress(&progress);
    ASSERT_TRUE(t.Run());
    EXPECT_GE(progress.pumps, 1);
    // 8 layouts of 4 pieces, each on one sheet.
    ASSERT_EQ(8, t.engine.PatternNo);
    EXPECT_EQ(8 * 4, progress.reads);
}

}
