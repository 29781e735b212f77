// The overlay's texts as built from the run state: positions, sets, colours, formats, which
// groups show, and the rating figures they print (no context needed).
#include "render/overlay_text.h"
#include "sim/rating.h"
#include "sim/state.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class OverlayTextsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAllRunState();
        texts = OverlayTexts{};
    }

    const OverlayLine* find(int x, int y) const
    {
        for (int i = 0; i < texts.count; ++i)
            if (texts.lines[i].x == x && texts.lines[i].y == y)
                return &texts.lines[i];
        return nullptr;
    }

    int indexOf(const std::string& text) const
    {
        for (int i = 0; i < texts.count; ++i)
            if (text == texts.lines[i].text)
                return i;
        return -1;
    }

    std::string textAt(int x, int y) const
    {
        const OverlayLine* line = find(x, y);
        return line ? line->text : "<none>";
    }

    // A run tick's rating, then its texts, as the frame dispatcher runs them.
    void rateAndBuild() { rateFrame(), buildOverlayTexts(texts); }

    OverlayTexts texts;
};

TEST_F(OverlayTextsTest, DashboardLineAloneWhenNothingElseIsShown)
{
    rateAndBuild();
    // Ten dashboard texts and the penalty line.
    ASSERT_EQ(texts.count, 11);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(texts.lines[i].y, 462) << i;
        EXPECT_EQ(texts.lines[i].set, 0) << i;
        EXPECT_EQ(texts.lines[i].colour, OVERLAY_COLOUR_DASHBOARD) << i;
    }
    EXPECT_STREQ(texts.lines[10].text, "punishment:  0");
    EXPECT_EQ(texts.lines[10].x, 1);
    EXPECT_EQ(texts.lines[10].y, 1);
    EXPECT_EQ(texts.lines[10].colour, OVERLAY_COLOUR_GREEN);
}

TEST_F(OverlayTextsTest, DashboardValuesAndPlaces)
{
    vehicle.busSpeedAbs = 0.25f;
    stops.passengersAlighted = 3.4f;
    stops.passengersBoarded = 12.6f;
    stops.passengersOnBoard = 7.0f;
    engine.fuel = 199.5f;
    gameClock.clockHours = 8.0f;
    gameClock.clockMinutes = 5.0f;
    gameClock.clockSeconds = 59.0f;
    rateAndBuild();
    EXPECT_EQ(textAt(445, 462), " 56KM/H");  // 0.25 x 222 = 55.5, rounded to even
    EXPECT_EQ(textAt(105, 462), " 3");
    EXPECT_EQ(textAt(145, 462), "13");
    EXPECT_EQ(textAt(185, 462), " 7");
    EXPECT_EQ(textAt(390, 462), "200l");
    EXPECT_EQ(textAt(255, 462), " 8");
    EXPECT_EQ(textAt(277, 462), ":");
    EXPECT_EQ(textAt(285, 462), " 5");
    EXPECT_EQ(textAt(307, 462), ":");
    EXPECT_EQ(textAt(315, 462), "59");
}

TEST_F(OverlayTextsTest, InfoOverlayInItsOrderWithPositiveSpeedWhenReversing)
{
    view.infoShown = 1;
    vehicle.busZ = 12.5f;
    vehicle.busX = -3.0f;
    vehicle.busSpeed = -0.1f;
    vehicle.busSpeedAbs = 0.1f;
    vehicle.gearText = "wsteczny";
    vehicle.bodyRoll = -0.0123f;
    vehicle.pitchSway = 0.5f;
    doors.door1Text = "otwarte";
    stops.stopBearing = 45.0f;
    engine.fuel = 10.0f;
    stops.stopDX = 1.0f;
    stops.stopDZ = -2.0f;
    vehicle.steer = 0.125f;
    gameClock.framesPerSecond = 0;
    rateAndBuild();
    const char* expected[] = {
        "z=-12.50", "x=-3.00", "speed=22.2km/h", "gears:wsteczny",
        "resor left-right:-0.01230", "resor forward-reverse:0.50000",
        "door 3:zamkniete", "door 2:zamkniete", "door 1:otwarte", "angle=45.00",
        "fuel=10.00", "X=1.00", "Z=-2.00", "steer=0.12", "fps=  "};
    const int ys[] = {17, 34, 68, 51, 85, 102, 119, 136, 153, 170, 187, 204, 221, 255, 238};
    ASSERT_EQ(texts.count, 10 + 15 + 1);
    for (int i = 0; i < 15; ++i) {
        const OverlayLine& line = texts.lines[10 + i];
        EXPECT_STREQ(line.text, expected[i]) << i;
        EXPECT_EQ(line.x, 0) << i;
        EXPECT_EQ(line.y, ys[i]) << i;
        EXPECT_EQ(line.set, 0) << i;
        EXPECT_EQ(line.colour, OVERLAY_COLOUR_WHITE) << i;
    }
}

TEST_F(OverlayTextsTest, FramesPerSecondIsPrintedAsAnInteger)
{
    view.infoShown = 1;
    gameClock.framesPerSecond = 50;
    rateAndBuild();
    EXPECT_GE(indexOf("fps=50"), 0);
}

TEST_F(OverlayTextsTest, EndPanelPrintsPointsBeforeTheVerdict)
{
    run.runFinished = 1;
    run.verdictText = "great!!! you are super driver.";
    rateAndBuild();
    ASSERT_EQ(texts.count, 10 + 4 + 1);
    EXPECT_STREQ(texts.lines[10].text, "info:");
    EXPECT_EQ(texts.lines[10].set, 1);
    EXPECT_EQ(texts.lines[10].x, 265);
    EXPECT_EQ(texts.lines[10].y, 272);
    EXPECT_STREQ(texts.lines[11].text, "points:  0");
    EXPECT_EQ(texts.lines[11].x, 195);
    EXPECT_EQ(texts.lines[11].y, 255);
    EXPECT_STREQ(texts.lines[12].text, "sugest:");
    EXPECT_EQ(texts.lines[12].set, 1);
    EXPECT_EQ(texts.lines[12].x, 275);
    EXPECT_EQ(texts.lines[12].y, 221);
    EXPECT_STREQ(texts.lines[13].text, "great!!! you are super driver.");
    EXPECT_EQ(texts.lines[13].x, 140);
    EXPECT_EQ(texts.lines[13].y, 204);
    EXPECT_STREQ(texts.lines[14].text, "punishment:  0");
}

TEST_F(OverlayTextsTest, PauseNotice)
{
    run.paused = 1;
    rateAndBuild();
    EXPECT_EQ(textAt(280, 255), "pauza");
    EXPECT_EQ(texts.lines[texts.count - 1].colour, OVERLAY_COLOUR_WHITE);
}

TEST_F(OverlayTextsTest, HelpHeadingsUseTheSecondSet)
{
    view.helpShown = 1;
    rateAndBuild();
    ASSERT_EQ(texts.count, 10 + 1 + 23);
    const OverlayLine& first = texts.lines[11];
    EXPECT_STREQ(first.text, "controls:");
    EXPECT_EQ(first.y, 459);
    EXPECT_EQ(first.set, 1);
    const OverlayLine& last = texts.lines[texts.count - 1];
    EXPECT_STREQ(last.text, "f5 - Another vehicle view");
    EXPECT_EQ(last.y, 0);
    EXPECT_EQ(last.set, 0);
    int headings = 0;
    for (int i = 11; i < texts.count; ++i) {
        EXPECT_EQ(texts.lines[i].x, 0);
        const bool heading = texts.lines[i].text[0] == '*' || i == 11;
        EXPECT_EQ(texts.lines[i].set, heading ? 1 : 0) << texts.lines[i].text;
        headings += texts.lines[i].set;
    }
    EXPECT_EQ(headings, 6);
    EXPECT_EQ(textAt(0, 289), "scroll lock - door closing warning");
    EXPECT_EQ(textAt(0, 136), "delete, end, page down - open doors");
}

TEST_F(OverlayTextsTest, EveryGroupAtOnceFitsAndKeepsItsOrder)
{
    view.infoShown = 1;
    view.helpShown = 1;
    run.runFinished = 1;
    run.paused = 1;
    rateAndBuild();
    EXPECT_EQ(texts.count, 10 + 15 + 4 + 1 + 1 + 23);
    EXPECT_LT(indexOf("fps=  "), indexOf("info:"));
    EXPECT_LT(indexOf("info:"), indexOf("punishment:  0"));
    EXPECT_LT(indexOf("punishment:  0"), indexOf("pauza"));
    EXPECT_LT(indexOf("pauza"), indexOf("controls:"));
}

TEST_F(OverlayTextsTest, UnsetTextsPrintEmpty)
{
    view.infoShown = 1;
    run.runFinished = 1;
    vehicle.gearText = nullptr;
    doors.door2Text = nullptr;
    run.verdictText = nullptr;
    run.punishment = 0.5f;  // between the verdict ranges: the rating keeps the verdict as it is
    rateAndBuild();
    EXPECT_GE(indexOf("gears:"), 0);
    EXPECT_GE(indexOf("door 2:"), 0);
    EXPECT_STREQ(texts.lines[10 + 15 + 3].text, "");
}

TEST_F(OverlayTextsTest, ALongVerdictIsCut)
{
    static const std::string longVerdict(700, 'v');
    run.runFinished = 1;
    run.verdictText = longVerdict.c_str();
    run.punishment = 0.5f;
    rateAndBuild();
    EXPECT_EQ(std::string(texts.lines[13].text), std::string(FONT_TEXT_MAX - 1, 'v'));
}

} // namespace
