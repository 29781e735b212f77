// A whole game played like a player, on the real program with real key events: the menu's opening
// fade and sliding buttons, a new game, the engine started, every camera view and the mirrors,
// driving to each stop with the dashboard's stop arrow as the guide, the doors worked, the run
// ended at the last stop with the verdict shown, back to the menu without the opening, a panel and
// back, and out through the exit fade. The stop file is replaced by three stops straight ahead of
// the start, so a keyboard driver steered by screenshots can reach them. Screenshots stay in the
// build's screenshots folder.
#include "tests/support/desktop.h"
#include "tests/support/menu_screen.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The background's pavement, left of the bus: light grey on the background, dark on the logo.
const Area PAVEMENT{-0.95f, -0.60f, -0.42f, -0.38f};
// The logo's emblem: the red front of a bus, between its lamps.
const Area EMBLEM{-0.07f, 0.07f, 0.05f, 0.13f};

bool logoShows(const Screenshot& s)
{
    double m[3];
    meanOf(s, EMBLEM, m);
    return m[0] > 60 && m[0] > m[1] + 30 && meanLevel(s, PAVEMENT) < 60;
}
bool backgroundShows(const Screenshot& s) { return meanLevel(s, PAVEMENT) > 90; }

// Mean colour of a rectangle given in fractions of the screen.
struct Rgbd {
    double r, g, b;
};
Rgbd meanAt(const Screenshot& s, double fx0, double fy0, double fx1, double fy1)
{
    double m[3];
    s.mean(static_cast<int>(fx0 * s.width), static_cast<int>(fy0 * s.height), static_cast<int>(fx1 * s.width),
           static_cast<int>(fy1 * s.height), m);
    return Rgbd{m[0], m[1], m[2]};
}

// The generated tree with three stops 20 units apart on the start's straight.
std::string makeShortRouteTree(const TempDir& dir)
{
    const std::string tree = dir.path + "/tree";
    std::filesystem::copy(generatedTree(), tree, std::filesystem::copy_options::recursive);
    std::ifstream mission(tree + "/Dane/Rozklady/128/Parametry.misji");
    float startX = 0, startZ = 0, heading = 0;
    mission >> startX >> startZ >> heading;
    // The stops lie ahead along the start heading; stop files hold the negative of world Z.
    const float dirX = std::sin(heading * 0.017453292f), dirZ = std::cos(heading * 0.017453292f);
    std::string stops = "3\n";
    for (int i = 1; i <= 3; ++i) {
        const float d = 20.0f * static_cast<float>(i);
        stops += std::to_string(startX + dirX * d) + " " + std::to_string(-(startZ + dirZ * d)) + "\n";
    }
    writeFile(tree + "/Dane/Rozklady/128/Przystanki.roz", stops);
    return tree;
}

// The dashboard's stop arrow: green within 5 units of the next stop, red otherwise. It turns about
// its pivot at (0.3, 3.175) of the gauge panel's 5 x 3.75 space.
int arrowColour(const Screenshot& s)
{
    const int cx = static_cast<int>(0.3 / 5.0 * s.width);
    const int cy = static_cast<int>((1.0 - 3.175 / 3.75) * s.height);
    const int r = s.width / 16;
    long green = 0, red = 0;
    for (int y = cy - r; y <= cy + r; ++y)
        for (int x = cx - r; x <= cx + r; ++x) {
            if (x < 0 || y < 0 || x >= s.width || y >= s.height)
                continue;
            const uint8_t* p = s.at(x, y);
            if (p[1] > 90 && p[0] < 40 && p[2] < 40)
                ++green;
            if (p[0] > 90 && p[1] < 40 && p[2] < 40)
                ++red;
        }
    if (green > 15 && green > red)
        return 1;
    if (red > 15 && red > green)
        return -1;
    return 0;
}

// Pixels of pure white in the area where the end panel prints its texts.
long whiteInEndPanel(const Screenshot& s)
{
    const double sx = s.width / 640.0, sy = s.height / 480.0;
    long n = 0;
    for (int y = static_cast<int>((480 - 290) * sy); y < static_cast<int>((480 - 200) * sy); ++y)
        for (int x = static_cast<int>(130 * sx); x < static_cast<int>(520 * sx); ++x) {
            const uint8_t* p = s.at(x, y);
            if (p[0] > 240 && p[1] > 240 && p[2] > 240)
                ++n;
        }
    return n;
}

struct Playthrough : ::testing::Test {
    TempDir dir;
    TempDir runtime;
    Spawned game;
    std::string tree;
    Screenshot standingRef;

    void SetUp() override
    {
        if (!haveDisplay())
            GTEST_SKIP() << "no X display";
        tree = makeShortRouteTree(dir);
    }
    void TearDown() override { stopProgram(game); }

    Screenshot shot(const std::string& name) { return takeScreenshot(screenshotDir() + "/play-" + name + ".png"); }

    // Presses a key long enough for a tick to see it even when the game runs slowly.
    static void press(const std::string& key) { pressKey(key, 300); }

    // The speed text reads "0KM/H" exactly as it did when the bus stood at the start.
    bool standing(const Screenshot& s) const
    {
        return s.ok() && difference(standingRef, s, speedX0(s), 0, speedX1(s), speedY1(s)) < 0.5;
    }
    // The speed's tens digit ("%3.0fKM/H" at x 445: the second glyph) is lit from 10 km/h on.
    bool atLeastTenKmh(const Screenshot& s) const
    {
        return s.ok() && difference(standingRef, s, s.width * 457 / 640, s.height * 3 / 480, s.width * 466 / 640,
                                    s.height * 17 / 480) > 8.0;
    }
    static int speedX0(const Screenshot& s) { return s.width * 440 / 640; }
    static int speedX1(const Screenshot& s) { return s.width * 540 / 640; }
    static int speedY1(const Screenshot& s) { return s.height * 20 / 480; }

    bool brakeToStandstill()
    {
        keyDown("Down");
        const auto start = Clock::now();
        bool stopped = false;
        while (!stopped && std::chrono::duration<double>(Clock::now() - start).count() < 20.0) {
            pause(300);
            stopped = standing(takeScreenshot(""));
        }
        pause(300);
        keyUp("Down");
        return stopped;
    }

    // Holds S until the engine catches, releases it, and checks that the throttle moves the bus.
    // A slow machine gives fewer ticks per second, so it tries again with S held once more.
    bool startEngine()
    {
        for (int attempt = 0; attempt < 4; ++attempt) {
            keyDown("s");
            pause(4000);  // the starter needs more than 33 ticks and its sample to finish
            keyUp("s");
            pause(500);
            press("q");
            keyDown("Up");
            pause(1500);
            keyUp("Up");
            Screenshot s = shot("engine-" + std::to_string(attempt));
            if (!standing(s))
                return brakeToStandstill();
        }
        return false;
    }

    // Accelerates to 10 km/h, coasts until the arrow turns green, brakes to a standstill.
    bool driveToNextStop(int index)
    {
        keyDown("Up");
        const bool moving = waitForPicture(screenshotDir() + "/play-accelerating.png", 60.0,
                                           [this](const Screenshot& s) { return atLeastTenKmh(s); });
        keyUp("Up");
        if (!moving)
            return false;
        const auto start = Clock::now();
        int nudges = 0;
        while (std::chrono::duration<double>(Clock::now() - start).count() < 120.0) {
            Screenshot s = takeScreenshot("");
            if (s.ok() && arrowColour(s) == 1) {
                if (!brakeToStandstill())
                    return false;
                Screenshot at = shot("at-stop-" + std::to_string(index));
                return at.ok() && arrowColour(at) == 1;
            }
            // Coasting barely slows the bus, but keep it moving if it ever stands.
            if (standing(s) || std::chrono::duration<double>(Clock::now() - start).count() > 30.0 * (nudges + 1)) {
                pressKey("Up", 1500);
                ++nudges;
            }
        }
        return false;
    }

    void serveStop()
    {
        press("Delete");
        press("End");
        press("Next");
        pause(3000);  // the doors swing open
        shot("doors-open");
        press("Insert");
        press("Home");
        press("Prior");
        pause(3000);  // and shut; the stop is served when the last one closes
    }
};

} // namespace

TEST_F(Playthrough, MenuNewGameDriveEveryStopVerdictMenuExit)
{
    game = spawnProgram(builtProgram("velbrant"), {}, tree, {"XDG_RUNTIME_DIR=" + runtime.path});
    ASSERT_TRUE(waitForWindow("Velbrant", 60000)) << capturedErr(game);

    // The logo rises from black and falls back, then the background, then the buttons slide in
    // from the left (about 12 s in all).
    const Clock::time_point opened = Clock::now();
    double brightest = 0.0, dimmest = 1e9, backgroundAt = 0.0;
    bool sawButtonsHalfIn = false;
    Screenshot menu;
    ASSERT_TRUE(waitForPicture(screenshotDir() + "/play-menu.png", 150.0, [&](const Screenshot& s) {
        double emblem[3];
        meanOf(s, EMBLEM, emblem);
        if (backgroundAt == 0.0 && logoShows(s)) {
            brightest = std::max(brightest, emblem[0]);
            dimmest = std::min(dimmest, emblem[0]);
        }
        if (backgroundAt == 0.0 && backgroundShows(s))
            backgroundAt = secondsSince(opened);
        sawButtonsHalfIn = sawButtonsHalfIn || (backgroundAt > 0.0 && amberShare(s, Area{-1.0f, -0.80f, 0.22f, 0.28f}) > 0.5 &&
                                                amberShare(s, Area{0.0f, 0.2f, 0.22f, 0.28f}) < 0.1);
        return backgroundAt > 0.0 && newGameButtonIn(s);
    }, &menu)) << capturedErr(game);
    const double buttonsAt = secondsSince(opened);
    EXPECT_GT(brightest, 150.0) << "the logo at full brightness";
    EXPECT_LT(dimmest, brightest * 0.75) << "and on its way up or down";
    EXPECT_TRUE(sawButtonsHalfIn);
    // Logo in and out take 8 s before the background; the buttons come after the 12 s fade.
    EXPECT_GT(backgroundAt, 6.0);
    EXPECT_GT(buttonsAt, 11.0);
    ASSERT_TRUE(waitForStillScreen(30.0, screenshotDir() + "/play-menu-still.png")) << "the buttons come to rest";
    press("Return");
    Screenshot cab;
    ASSERT_TRUE(waitForPicture(screenshotDir() + "/play-run-cab.png", 90.0,
                               [](const Screenshot& s) { return arrowColour(s) == -1; }, &cab))
        << capturedErr(game);
    ASSERT_TRUE(isRunning(game)) << capturedErr(game);
    EXPECT_GT(difference(menu, cab, 0, 0, cab.width, cab.height), 10.0) << "the run frame replaced the menu";

    // Every view shows another picture: sky above the horizon in the outside views (blue over the
    // red band under the panel), grey road below the bumper; from the cab a dark dashboard under
    // the street. The mirrors draw over the upper corners.
    Screenshot previous = cab;
    const Rgbd dash = meanAt(cab, 0.3, 0.8, 0.9, 0.95), ahead = meanAt(cab, 0.35, 0.15, 0.65, 0.6);
    EXPECT_LT(dash.r, 60) << "dashboard";
    EXPECT_GT(ahead.r + ahead.g + ahead.b, 3 * 80) << "windscreen view";
    for (const char* key : {"F2", "F3", "F4", "F5", "F6"}) {
        press(key);
        pause(600);
        Screenshot v = shot(std::string("view-") + key);
        ASSERT_TRUE(v.ok());
        EXPECT_GT(difference(previous, v, 0, 0, v.width, v.height), 2.0) << key;
        const Rgbd sky = meanAt(v, 0.3, 0.1, 0.7, 0.16), road = meanAt(v, 0.35, 0.75, 0.65, 0.95);
        if (std::string(key) != "F4" && std::string(key) != "F6") {
            EXPECT_GT(sky.b, sky.r + 10) << key << " sky";
        }
        if (std::string(key) == "F3") {
            EXPECT_LT(std::fabs(road.r - road.b), 20) << "road";
            EXPECT_GT(road.r, 40);
            EXPECT_LT(road.r, 140);
        }
        previous = v;
    }
    press("F1");
    pause(600);
    Screenshot back = shot("view-F1");
    press("l");
    pause(600);
    Screenshot leftMirror = shot("mirror-left");
    press("l");
    pause(600);
    Screenshot bothMirrors = shot("mirror-both");
    const int w = back.width, h = back.height;
    EXPECT_GT(difference(back, leftMirror, 0, 0, w / 4, h / 2), 2.0) << "left mirror in the upper-left quarter";
    EXPECT_GT(difference(leftMirror, bothMirrors, w * 3 / 4 + 2, 0, w, h / 2), 2.0) << "right mirror upper right";
    press("l");
    pause(600);

    standingRef = shot("standing");
    ASSERT_TRUE(startEngine()) << "the engine starts and the throttle moves the bus\n" << capturedErr(game);
    for (int stop = 0; stop < 3; ++stop) {
        ASSERT_TRUE(driveToNextStop(stop)) << "stop " << stop << "\n" << capturedErr(game);
        if (stop < 2)
            serveStop();
    }

    // At the last stop the engine switch ends the run and the end panel shows the verdict.
    Screenshot before = shot("before-end");
    press("s");
    pause(1500);
    Screenshot finished = shot("verdict");
    EXPECT_GT(whiteInEndPanel(finished), whiteInEndPanel(before) + 150) << "the end panel shows the verdict";

    // Escape: straight back to the background with the buttons sliding in, no opening fade.
    press("Escape");
    bool sawLogo = false;
    EXPECT_TRUE(waitForPicture(screenshotDir() + "/play-menu-again.png", 60.0, [&](const Screenshot& s) {
        sawLogo = sawLogo || logoShows(s);
        return newGameButtonIn(s);
    }));
    EXPECT_FALSE(sawLogo);
    EXPECT_TRUE(waitForStillScreen(30.0, "")) << "the buttons come to rest";

    // The about panel covers the buttons, its back button lit at the lower left; Enter goes back.
    for (const char* key : {"Up", "Up", "Down", "Down", "Return"}) {
        press(key);
        pause(200);
    }
    const Area backButton{-0.85f, -0.30f, -0.93f, -0.87f};
    EXPECT_TRUE(waitForPicture(screenshotDir() + "/play-about.png", 10.0, [&](const Screenshot& s) {
        return amberShare(s, backButton) > 0.4 && !newGameButtonIn(s) && meanLevel(s, Area{-0.5f, 0.5f, -0.6f, -0.1f}) < 70;
    })) << capturedErr(game);
    EXPECT_TRUE(waitForStillScreen(20.0, ""));
    press("Return");
    EXPECT_TRUE(waitForPicture("", 10.0, newGameButtonIn));
    EXPECT_TRUE(waitForStillScreen(30.0, ""));

    // Down to "exit" at a player's pace, Enter once it is lit: the picture fades, status 0.
    for (int i = 0; i < 3; ++i) {
        press("Down");
        pause(300);
    }
    Screenshot exitLit;
    EXPECT_TRUE(waitForPicture(screenshotDir() + "/play-exit-selected.png", 10.0, exitButtonSelected, &exitLit));
    press("Return");
    const Clock::time_point chosen = Clock::now();
    pause(1200);
    const Screenshot fading = shot("fading");
    EXPECT_LT(meanLevel(fading, PAVEMENT), meanLevel(exitLit, PAVEMENT) * 0.85);
    EXPECT_GT(meanLevel(fading, PAVEMENT), 5.0) << "the fade takes 4 s";
    EXPECT_EQ(waitForExit(game, 30000), 0) << capturedErr(game);
    EXPECT_GT(secondsSince(chosen), 3.0);
}
