// The rhythm of the monitor's polling thread, pass by pass.
#include "app/MonitorSchedule.h"

#include <gtest/gtest.h>

namespace {

using Work = MonitorSchedule::DeviceWork;

TEST(MonitorSchedule, ReadsEverySecondPassAndDrawsEveryPassWhileStatusIsShown)
{
    MonitorSchedule schedule;
    for (int pass = 0; pass < 6; ++pass) {
        const MonitorSchedule::Pass p = schedule.Next(true, false, false);
        const bool deviceTick = pass % 2 == 0;
        EXPECT_EQ(deviceTick ? Work::ReadLineStates : Work::None, p.work) << "pass " << pass;
        EXPECT_TRUE(p.draw) << "pass " << pass;
        // RX and TX are drawn off on the pass of the read, so an active line blinks.
        EXPECT_EQ(deviceTick, p.maskTraffic) << "pass " << pass;
    }
}

TEST(MonitorSchedule, DoesNothingWhileStatusIsHiddenAndNoTraceRuns)
{
    MonitorSchedule schedule;
    for (int pass = 0; pass < 5; ++pass) {
        const MonitorSchedule::Pass p = schedule.Next(false, false, false);
        EXPECT_EQ(Work::None, p.work);
        EXPECT_FALSE(p.draw);
        EXPECT_EQ(0, schedule.Tick());
    }
    // Shown again, the very next pass reads.
    EXPECT_EQ(Work::ReadLineStates, schedule.Next(true, false, false).work);
}

TEST(MonitorSchedule, ReadsWithoutDrawingWhileATraceRunsOnTheHiddenPage)
{
    MonitorSchedule schedule;
    EXPECT_EQ(Work::ReadLineStates, schedule.Next(false, false, true).work);
    const MonitorSchedule::Pass between = schedule.Next(false, false, true);
    EXPECT_EQ(Work::None, between.work);
    EXPECT_FALSE(between.draw);
    EXPECT_EQ(Work::ReadLineStates, schedule.Next(false, false, true).work);
}

TEST(MonitorSchedule, SendsAChangedTraceFlagInPlaceOfTheRead)
{
    MonitorSchedule schedule;
    const MonitorSchedule::Pass send = schedule.Next(true, true, true);
    EXPECT_EQ(Work::SendTrace, send.work);
    EXPECT_TRUE(send.draw);
    EXPECT_EQ(Work::None, schedule.Next(true, true, true).work);
    // While the device does not take it, every device tick tries again and reads nothing.
    EXPECT_EQ(Work::SendTrace, schedule.Next(true, true, true).work);
    schedule.Next(true, false, true);
    EXPECT_EQ(Work::ReadLineStates, schedule.Next(true, false, true).work);

    // Switching a trace off is sent even with the page hidden.
    MonitorSchedule hidden;
    EXPECT_EQ(Work::SendTrace, hidden.Next(false, true, false).work);
    EXPECT_EQ(1, hidden.Tick());
}

TEST(MonitorTickBox, ATickHandledLateDrawsTheBlinkHalfOfTheNewestPass)
{
    MonitorTickBox box;
    EXPECT_TRUE(box.Offer(true));
    EXPECT_FALSE(box.Offer(false));  // one tick waits already
    EXPECT_FALSE(box.Take());
    EXPECT_TRUE(box.Offer(true));
    box.Withdraw();
    EXPECT_TRUE(box.Offer(false));
}

}  // namespace
