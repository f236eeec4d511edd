// The progress bar, the event pump and waits, special folders.
#include "platform/gui/Events.h"
#include "platform/gui/Handler.h"
#include "platform/gui/ProgressBar.h"
#include "tests/platform_gui/GuiTestUtil.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

namespace {

TEST(ProgressBarTest, RangeAndRefusedValues)
{
    ProgressBar bar;
    bar.resize(200, 20);
    EXPECT_EQ(100.0f, bar.max());
    bar.setValue(50);
    EXPECT_DOUBLE_EQ(0.5, bar.fraction());
    bar.setMax(3);                         // below the value: accepted, the bar shows full
    EXPECT_EQ(50.0f, bar.value());
    EXPECT_DOUBLE_EQ(1.0, bar.fraction());
    EXPECT_THROW(bar.setValue(4), VbError);
    EXPECT_THROW(bar.setValue(-1), VbError);
    EXPECT_THROW(bar.setMax(0), VbError);
    bar.setValue(3);
    EXPECT_DOUBLE_EQ(1.0, bar.fraction());
    try {
        bar.setMax(-5);
    } catch (const VbError& e) {
        EXPECT_EQ(380, e.number());
    }
}

TEST(WaitTest, WaitsRunEventsOnlyWhenAsked)
{
    int fired = 0;
    QTimer::singleShot(0, [&] { ++fired; });
    WaitSeconds(0, true);                  // returns before any event runs
    EXPECT_EQ(0, fired);
    QElapsedTimer clock;
    clock.start();
    WaitSeconds(0.05, false);              // sleeps: no events
    EXPECT_GE(clock.elapsed(), 50);
    EXPECT_EQ(0, fired);
    WaitSeconds(0.02, true);
    EXPECT_EQ(1, fired);

    SetWaitScale(0.01);                    // tests shorten the waits
    EXPECT_EQ(10, WaitMilliseconds(1));
    EXPECT_EQ(1, WaitMilliseconds(0.0001));   // rounded up: a wait asked for never vanishes
    clock.restart();
    WaitSeconds(1, true);
    EXPECT_GE(clock.elapsed(), 10);
    SetWaitScale(1);
    EXPECT_EQ(1.0, WaitScale());
}

TEST(SpecialFolderTest, KnownFoldersThatExist)
{
    const QString profile = SpecialFolderPath(0x28);
    EXPECT_EQ(QDir::toNativeSeparators(QDir::homePath()), profile);
    EXPECT_EQ(QString(), SpecialFolderPath(9999));
    const QString desktop = SpecialFolderPath(0);
    EXPECT_TRUE(desktop.isEmpty() || QDir(desktop).exists());
}

}  // namespace
