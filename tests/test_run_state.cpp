#include "sim/state.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(RunState, ProgramStartValues)
{
    resetAllRunState();
    EXPECT_EQ(vehicle.gear, 1);
    EXPECT_STREQ(vehicle.gearText, "luz");
    EXPECT_EQ(engine.engineOff, 1);
    EXPECT_EQ(engine.starterBusy, 1);
    EXPECT_EQ(engine.engineLoopArmed, 0);
    EXPECT_STREQ(doors.door2Text, "zamkniete");
    EXPECT_EQ(stops.exchangeOpen, 1);
    EXPECT_EQ(stops.alightingPhase, 1);
    EXPECT_EQ(stops.boardingPhase, 0);
    EXPECT_EQ(stops.swayTick, 1);
    EXPECT_EQ(stops.swayRunning, 1);
    EXPECT_EQ(view.viewportCount, 1);
    EXPECT_EQ(view.cameraAtFront, 1);
    EXPECT_EQ(traffic.trafficRed, 1);
    EXPECT_FLOAT_EQ(otherCar.otherCarX, 4.2f);
    EXPECT_FLOAT_EQ(otherCar.otherCarZ, -20.0f);
    EXPECT_FLOAT_EQ(otherCar.otherCarHeading, 180.0f);
    EXPECT_FLOAT_EQ(otherCar.otherCarSpeed, 0.1f);
    EXPECT_EQ(latches.hornLatch, 1);
    EXPECT_EQ(latches.signalLatch, 0);
    ASSERT_NE(run.verdictText, nullptr);
    EXPECT_EQ(std::strlen(run.verdictText), 0u);
}
