// How often a run tick rates the driving, and what the overlay's two penalty lines show.
#include "render/overlay_text.h"
#include "sim/rating.h"
#include "sim/state.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class OverlayRating : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAllRunState();
        texts = OverlayTexts{};
    }

    int indexOf(const std::string& text) const
    {
        for (int i = 0; i < texts.count; ++i)
            if (text == texts.lines[i].text)
                return i;
        return -1;
    }

    // A run tick's rating, then its texts, as the frame dispatcher runs them.
    void rateAndBuild() { rateFrame(), buildOverlayTexts(texts); }

    OverlayTexts texts;
};

TEST_F(OverlayRating, PenaltyRulesRunOncePerTick)
{
    vehicle.busSpeedAbs = 1.0f;  // 222 km/h: every run of the rules charges 0.02
    rateAndBuild();
    EXPECT_NEAR(run.punishment, 0.02f, 1e-6f);
    rateAndBuild();
    EXPECT_NEAR(run.punishment, 0.04f, 1e-6f);
}

TEST_F(OverlayRating, PenaltyRulesRunTwiceWhileTheEndPanelShows)
{
    vehicle.busSpeedAbs = 1.0f;
    run.runFinished = 1;
    rateAndBuild();
    EXPECT_NEAR(run.punishment, 0.04f, 1e-6f);
}

TEST_F(OverlayRating, BothPenaltyLinesShowTheFloorOfTheTotal)
{
    run.punishment = 12.7f;
    run.runFinished = 1;
    rateAndBuild();
    EXPECT_GE(indexOf("points: 12"), 0);
    EXPECT_GE(indexOf("punishment: 12"), 0);
}

TEST_F(OverlayRating, TheVerdictShownIsTheOneTheRatingJustGave)
{
    run.punishment = 0.99f;
    run.verdictText = "great!!! you are super driver.";
    vehicle.busSpeedAbs = 1.0f;
    run.runFinished = 1;
    rateAndBuild();
    EXPECT_GE(indexOf("points:  1"), 0);
    EXPECT_GE(indexOf("not bad, but you need more concetrate"), 0);
    EXPECT_LT(indexOf("points:  1"), indexOf("not bad, but you need more concetrate"));
}

} // namespace
