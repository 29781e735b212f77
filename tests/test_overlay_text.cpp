// The overlay's texts as built from the run state: formats, cuts, which groups show in which
// order and set, and the rating figures they print after a run tick's rating (no context needed).
#include "render/overlay_text.h"
#include "sim/rating.h"
#include "sim/state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Overlay : ::testing::Test {
    OverlayTexts texts;
    void SetUp() override { resetAllRunState(); }
    // A run tick's rating, then its texts, as the frame dispatcher runs them.
    void rateAndBuild()
    {
        rateFrame();
        buildOverlayTexts(texts);
    }
    void showEverything()
    {
        static const std::string longVerdict(700, 'v');
        view.infoShown = 1;
        view.helpShown = 1;
        run.runFinished = 1;
        run.paused = 1;
        run.verdictText = longVerdict.c_str();
        run.punishment = 0.5f;  // between the verdict ranges: the rating keeps the verdict as it is
        rateAndBuild();
    }
    int indexOf(const std::string& text) const
    {
        for (int i = 0; i < texts.count; ++i)
            if (text == texts.lines[i].text)
                return i;
        return -1;
    }
    // The texts appear in this order (others may stand between them).
    void expectInOrder(const std::vector<std::string>& want) const
    {
        int last = -1;
        for (const std::string& w : want) {
            EXPECT_GT(indexOf(w), last) << '"' << w << '"';
            last = indexOf(w);
        }
    }
};

} // namespace

TEST_F(Overlay, TheDashboardShowsTenTextsInOneRowAndThePenaltyLine)
{
    vehicle.busSpeedAbs = 0.25f;  // 55.5 km/h, rounded to even
    engine.fuel = 199.5f;
    stops.passengersAlighted = 3.4f;
    stops.passengersBoarded = 12.6f;
    stops.passengersOnBoard = 7.0f;
    gameClock.clockHours = 8.0f;
    gameClock.clockMinutes = 5.0f;
    gameClock.clockSeconds = 59.0f;
    rateAndBuild();
    ASSERT_EQ(texts.count, 11);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(texts.lines[i].y, texts.lines[0].y);
    for (const char* t : {" 3", "13", " 7", " 8", ":", " 5", "59", "200l", " 56KM/H", "punishment:  0"})
        EXPECT_GE(indexOf(t), 0) << '"' << t << '"';
    EXPECT_EQ(texts.lines[10].colour, OVERLAY_COLOUR_GREEN);
}

TEST_F(Overlay, TheInfoShowsFifteenFormattedTextsInTheirOrder)
{
    view.infoShown = 1;
    vehicle.busZ = 12.5f;
    vehicle.busX = -3.0f;
    vehicle.gearText = "wsteczny";
    vehicle.busSpeed = -0.1f;
    vehicle.busSpeedAbs = 0.1f;
    vehicle.bodyRoll = -0.0123f;
    doors.text[0] = "otwarte";
    doors.text[1] = nullptr;  // unset texts print empty
    stops.stopBearing = 45.0f;
    stops.stopDX = 1.0f;
    stops.stopDZ = -2.0f;
    engine.fuel = 10.0f;
    vehicle.steer = 0.125f;
    vehicle.pitchSway = 0.5f;
    gameClock.framesPerSecond = 50;
    rateAndBuild();
    expectInOrder({"z=-12.50", "x=-3.00", "speed=22.2km/h", "gears:wsteczny", "resor left-right:-0.01230",
                   "resor forward-reverse:0.50000", "door 3:zamkniete", "door 2:", "door 1:otwarte",
                   "angle=45.00", "fuel=10.00", "X=1.00", "Z=-2.00", "steer=0.12", "fps=50"});
}

TEST_F(Overlay, EveryGroupShowsInItsOrderWithALongVerdictCut)
{
    showEverything();
    EXPECT_EQ(texts.count, 10 + 15 + 4 + 1 + 1 + 23);
    const std::string cut(FONT_TEXT_MAX - 1, 'v');
    expectInOrder({"fps=  ", "info:", "points:  0", "sugest:", cut, "punishment:  0", "pauza", "controls:",
                   "f5 - Another vehicle view"});
}

TEST_F(Overlay, HeadingsUseTheSecondFontSet)
{
    showEverything();
    EXPECT_EQ(texts.lines[indexOf("info:")].set, 1);
    EXPECT_EQ(texts.lines[indexOf("sugest:")].set, 1);
    for (int i = indexOf("controls:"); i < texts.count; ++i) {
        const bool heading = texts.lines[i].text[0] == '*' || i == indexOf("controls:");
        EXPECT_EQ(texts.lines[i].set, heading ? 1 : 0) << texts.lines[i].text;
    }
}

TEST_F(Overlay, PenaltyRulesRunOncePerTickAndTwiceUnderTheEndPanel)
{
    vehicle.busSpeedAbs = 1.0f;  // 222 km/h: every run of the rules charges 0.02
    rateAndBuild();
    EXPECT_NEAR(run.punishment, 0.02f, 1e-6f);
    run.runFinished = 1;
    rateAndBuild();
    EXPECT_NEAR(run.punishment, 0.06f, 1e-6f);
}

TEST_F(Overlay, TheVerdictShownIsTheOneTheRatingJustGave)
{
    vehicle.busSpeedAbs = 1.0f;
    run.runFinished = 1;
    run.punishment = 0.99f;
    run.verdictText = "great!!! you are super driver.";
    rateAndBuild();
    expectInOrder({"points:  1", "not bad, but you need more concetrate", "punishment:  1"});
}
