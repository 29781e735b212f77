// A whole game played with real keys, menu to exit, on a route of three stops straight ahead of the start.
#include "tests/support/desktop.h"
#include "tests/support/menu_screen.h"
#include "tests/support/test_util.h"

#include <array>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// The pavement left of the bus: light grey on the background, dark on the logo; the logo's red emblem.
const Area PAVEMENT{-0.95f, -0.60f, -0.42f, -0.38f};
const Area EMBLEM{-0.07f, 0.07f, 0.05f, 0.13f};

std::array<double, 3> meanRgb(const Screenshot& s, const Area& a)
{
    std::array<double, 3> m;
    meanOf(s, a, m.data());
    return m;
}
bool logoShows(const Screenshot& s)
{
    const auto m = meanRgb(s, EMBLEM);
    return m[0] > 60 && m[0] > m[1] + 30 && meanLevel(s, PAVEMENT) < 60;
}
bool backgroundShows(const Screenshot& s) { return meanLevel(s, PAVEMENT) > 90; }

// The stop arrow about its pivot (0.3, 3.175) of the 5 x 3.75 panel: green (1) near the stop, red (-1) not.
int arrowColour(const Screenshot& s)
{
    const int cx = static_cast<int>(0.3 / 5.0 * s.width),
              cy = static_cast<int>((1.0 - 3.175 / 3.75) * s.height), r = s.width / 16;
    const auto pure = [&](int c) {
        return s.share(cx - r, cy - r, cx + r + 1, cy + r + 1, [c](const uint8_t* p) {
            return p[c] > 90 && p[(c + 1) % 3] < 40 && p[(c + 2) % 3] < 40;
        });
    };
    const double green = pure(1), red = pure(0);  // at least 0.2 % of the box
    return green > 0.002 && green > red ? 1 : red > 0.002 && red > green ? -1 : 0;
}

double whiteInEndPanel(const Screenshot& s)
{
    return s.share(130 * s.width / 640, 190 * s.height / 480, 520 * s.width / 640, 280 * s.height / 480,
                   [](const uint8_t* p) { return p[0] > 240 && p[1] > 240 && p[2] > 240; });
}

struct Playthrough : ::testing::Test {
    TempDir dir;
    Spawned game;
    std::string tree;
    Screenshot standingRef;

    void SetUp() override
    {
        SKIP_WITHOUT_DISPLAY();
        tree = dir.path + "/tree";
        std::filesystem::copy(generatedTree(), tree, std::filesystem::copy_options::recursive);
        std::ifstream mission(tree + "/Dane/Rozklady/128/Parametry.misji");
        float startX = 0, startZ = 0, heading = 0;
        mission >> startX >> startZ >> heading;
        // Stop files hold the negative of world Z.
        const float dirX = std::sin(heading * 0.017453292f), dirZ = std::cos(heading * 0.017453292f);
        std::string stops = "3\n";
        for (float d : {20.0f, 40.0f, 60.0f})
            stops += std::to_string(startX + dirX * d) + " " + std::to_string(-(startZ + dirZ * d)) + "\n";
        writeFile(tree + "/Dane/Rozklady/128/Przystanki.roz", stops);
    }
    void TearDown() override { stopProgram(game); }

    static std::string path(const std::string& name) { return screenshotDir() + "/play-" + name + ".png"; }
    static Screenshot shot(const std::string& name) { return takeScreenshot(path(name)); }
    // Long enough for a tick to see it even when the game runs slowly.
    static void press(const std::string& key, int thenMs = 0) { pressKey(key, 300); pause(thenMs); }

    // The speed text as it read at the start ("0KM/H").
    bool standing(const Screenshot& s) const
    {
        return s.ok() &&
            difference(standingRef, s, s.width * 440 / 640, 0, s.width * 540 / 640, s.height / 24) < 0.5;
    }
    // The speed's tens digit ("%3.0fKM/H" at x 445: the second glyph) is lit from 10 km/h on.
    bool atLeastTenKmh(const Screenshot& s) const
    {
        return s.ok() &&
            difference(standingRef, s, s.width * 457 / 640, s.height * 3 / 480, s.width * 466 / 640,
                       s.height * 17 / 480) > 8.0;
    }

    bool brakeToStandstill()
    {
        keyDown("Down");
        const bool stopped = waitUntil(20.0, [this] { pause(300); return standing(takeScreenshot("")); });
        pause(300);
        keyUp("Down");
        return stopped;
    }

    // S until the engine catches, then the throttle must move the bus; again on a slow machine.
    bool startEngine()
    {
        for (int attempt = 0; attempt < 4; ++attempt) {
            pressKey("s", 4000);  // the starter needs more than 33 ticks and its sample to finish
            pause(500);
            press("q");
            pressKey("Up", 1500);
            if (!standing(shot("engine-" + std::to_string(attempt))))
                return brakeToStandstill();
        }
        return false;
    }

    bool driveToNextStop(int index)
    {
        keyDown("Up");
        const bool moving = waitForPicture(path("accelerating"), 60.0,
                                           [this](const Screenshot& s) { return atLeastTenKmh(s); });
        keyUp("Up");
        const auto start = Clock::now();
        int nudges = 0;
        const bool there = moving && waitUntil(120.0, [&] {
            const Screenshot s = takeScreenshot("");
            if (s.ok() && arrowColour(s) == 1)
                return true;
            if (standing(s) || secondsSince(start) > 30.0 * (nudges + 1)) {
                pressKey("Up", 1500);
                ++nudges;
            }
            return false;
        });
        return there && brakeToStandstill() && arrowColour(shot("at-stop-" + std::to_string(index))) == 1;
    }

    void serveStop()
    {
        for (const char* key : {"Delete", "End", "Next"})
            press(key);
        pause(3000);  // the doors swing open
        shot("doors-open");
        for (const char* key : {"Insert", "Home", "Prior"})
            press(key);
        pause(3000);  // and shut; the stop is served when the last one closes
    }
};

} // namespace

TEST_F(Playthrough, MenuNewGameDriveEveryStopVerdictMenuExit)
{
    game = startGame(tree);
    ASSERT_TRUE(waitForWindow("Velbrant", 60000)) << capturedErr(game);

    // The logo rises and falls, then the background, then the buttons slide in.
    const Clock::time_point opened = Clock::now();
    double brightest = 0.0, dimmest = 1e9, backgroundAt = 0.0;
    bool sawButtonsHalfIn = false;
    ASSERT_TRUE(waitForPicture(path("menu"), 150.0, [&](const Screenshot& s) {
        if (backgroundAt == 0.0 && logoShows(s)) {
            brightest = std::max(brightest, meanRgb(s, EMBLEM)[0]);
            dimmest = std::min(dimmest, meanRgb(s, EMBLEM)[0]);
        }
        if (backgroundAt == 0.0 && backgroundShows(s))
            backgroundAt = secondsSince(opened);
        sawButtonsHalfIn = sawButtonsHalfIn ||
            (backgroundAt > 0.0 && amberShare(s, {-1.0f, -0.80f, 0.22f, 0.28f}) > 0.5 &&
             amberShare(s, {0.0f, 0.2f, 0.22f, 0.28f}) < 0.1);
        return backgroundAt > 0.0 && newGameButtonIn(s);
    })) << capturedErr(game);
    EXPECT_GT(brightest, 150.0);
    EXPECT_LT(dimmest, brightest * 0.75);
    EXPECT_TRUE(sawButtonsHalfIn);
    ASSERT_TRUE(waitForStillScreen(30.0, path("menu-still")));
    press("Return");
    Screenshot cab;
    const auto arrowRed = [](const Screenshot& s) { return arrowColour(s) == -1; };
    ASSERT_TRUE(waitForPicture(path("run-cab"), 90.0, arrowRed, &cab)) << capturedErr(game);

    // From the cab a dark dashboard under the street; each view another picture, with sky and road or not.
    const auto ahead = meanRgb(cab, {-0.3f, 0.3f, -0.2f, 0.7f});
    EXPECT_LT(meanRgb(cab, {-0.4f, 0.8f, -0.9f, -0.6f})[0], 60) << "dashboard";
    EXPECT_GT(ahead[0] + ahead[1] + ahead[2], 3 * 80) << "windscreen view";
    Screenshot previous = cab;
    const std::tuple<const char*, bool, bool> views[] = {{"F2", 1, 0}, {"F3", 1, 1}, {"F4", 0, 0},
                                                         {"F5", 1, 0}, {"F6", 0, 0}, {"F1", 0, 0}};
    for (const auto& [key, sky, road] : views) {
        press(key, 600);
        const Screenshot v = shot(std::string("view-") + key);
        ASSERT_TRUE(v.ok());
        EXPECT_GT(difference(previous, v, 0, 0, v.width, v.height), 2.0) << key;
        const auto up = meanRgb(v, {-0.4f, 0.4f, 0.68f, 0.8f}),
                   down = meanRgb(v, {-0.3f, 0.3f, -0.9f, -0.5f});
        if (sky)
            EXPECT_GT(up[2], up[0] + 10) << key << " sky";
        if (road) {
            EXPECT_NEAR(down[0], down[2], 20) << key << " road grey";
            EXPECT_NEAR(down[0], 90, 50) << key << " road brightness";
        }
        previous = v;
    }
    press("l", 600);
    const Screenshot leftMirror = shot("mirror-left");
    press("l", 600);
    const Screenshot bothMirrors = shot("mirror-both");
    const int w = previous.width, h = previous.height;
    EXPECT_GT(difference(previous, leftMirror, 0, 0, w / 4, h / 2), 2.0) << "left mirror";
    EXPECT_GT(difference(leftMirror, bothMirrors, w * 3 / 4 + 2, 0, w, h / 2), 2.0) << "right mirror";
    press("l", 600);

    standingRef = shot("standing");
    ASSERT_TRUE(startEngine()) << "the engine starts and the throttle moves the bus\n" << capturedErr(game);
    for (int stop = 0; stop < 3; ++stop) {
        ASSERT_TRUE(driveToNextStop(stop)) << "stop " << stop << "\n" << capturedErr(game);
        if (stop < 2)
            serveStop();
    }

    // The engine switch at the last stop ends the run with the verdict.
    const double before = whiteInEndPanel(shot("before-end"));
    press("s", 1500);
    EXPECT_GT(whiteInEndPanel(shot("verdict")), before + 0.004) << "the end panel shows the verdict";

    // Escape: back to the sliding buttons without the opening.
    press("Escape");
    bool sawLogo = false;
    EXPECT_TRUE(waitForPicture(path("menu-again"), 60.0, [&](const Screenshot& s) {
        sawLogo = sawLogo || logoShows(s);
        return newGameButtonIn(s);
    }));
    EXPECT_FALSE(sawLogo);
    EXPECT_TRUE(waitForStillScreen(30.0, ""));
    // Down to "exit", Enter once it is lit: the picture fades, status 0.
    for (int i = 0; i < 3; ++i)
        press("Down", 300);
    Screenshot exitLit;
    EXPECT_TRUE(waitForPicture(path("exit-selected"), 10.0, exitButtonSelected, &exitLit));
    press("Return");
    pause(1200);
    const double fading = meanLevel(shot("fading"), PAVEMENT);
    EXPECT_LT(fading, meanLevel(exitLit, PAVEMENT) * 0.85);
    EXPECT_GT(fading, 5.0);
    EXPECT_EQ(waitForExit(game, 30000), 0) << capturedErr(game);
}
