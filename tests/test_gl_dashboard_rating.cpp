// How often a frame's overlay runs the penalty rules, and what its two penalty lines show.
#include "render/overlay_text.h"
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

    OverlayTexts texts;
};

TEST_F(OverlayRating, PenaltyRulesRunOncePerFrame)
{
    vehicle.busSpeedAbs = 1.0f;  // 222 km/h: every run of the rules charges 0.02
    buildOverlayTexts(texts);
    EXPECT_NEAR(run.punishment, 0.02f, 1e-6f);
    buildOverlayTexts(texts);
    EXPECT_NEAR(run.punishment, 0.04f, 1e-6f);
}

TEST_F(OverlayRating, PenaltyRulesRunTwiceWhileTheEndPanelShows)
{
    vehicle.busSpeedAbs = 1.0f;
    run.runFinished = 1;
    buildOverlayTexts(texts);
    EXPECT_NEAR(run.punishment, 0.04f, 1e-6f);
}

TEST_F(OverlayRating, BothPenaltyLinesShowTheFloorOfTheTotal)
{
    run.punishment = 12.7f;
    run.runFinished = 1;
    buildOverlayTexts(texts);
    EXPECT_GE(indexOf("points: 12"), 0);
    EXPECT_GE(indexOf("punishment: 12"), 0);
}

TEST_F(OverlayRating, TheVerdictShownIsTheOneTheRatingJustGave)
{
    run.punishment = 0.99f;
    run.verdictText = "great!!! you are super driver.";
    vehicle.busSpeedAbs = 1.0f;
    run.runFinished = 1;
    buildOverlayTexts(texts);
    EXPECT_GE(indexOf("points:  1"), 0);
    EXPECT_GE(indexOf("not bad, but you need more concetrate"), 0);
    EXPECT_LT(indexOf("points:  1"), indexOf("not bad, but you need more concetrate"));
}

} // namespace
