// A whole game played like a player, on the real program with real key events: the menu, a new
// game, the engine started, every camera view and the mirrors, driving to each stop with the
// dashboard's stop arrow as the guide, the doors worked, the run ended at the last stop with the
// verdict shown, back to the menu and out through the exit. The stop file is replaced by three
// stops straight ahead of the start, so a keyboard driver steered by screenshots can reach them.
// Screenshots stay in the build's screenshots folder.
#include "tests/support/desktop.h"
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

void pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The generated tree with three stops 45 units apart on the start's straight.
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
        const float d = 45.0f * static_cast<float>(i);
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

// Mean absolute difference of two screenshots over a rectangle.
double difference(const Screenshot& a, const Screenshot& b, int x0, int y0, int x1, int y1)
{
    double sum = 0;
    long n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            for (int c = 0; c < 3; ++c) {
                sum += std::abs(static_cast<int>(a.at(x, y)[c]) - static_cast<int>(b.at(x, y)[c]));
                ++n;
            }
    return n ? sum / static_cast<double>(n) : 0.0;
}

struct Playthrough : ::testing::Test {
    TempDir dir;
    TempDir runtime;
    Spawned game;
    std::string tree;

    void SetUp() override
    {
        if (!haveDisplay())
            GTEST_SKIP() << "no X display";
        tree = makeShortRouteTree(dir);
    }
    void TearDown() override { stopProgram(game); }

    Screenshot shot(const std::string& name) { return takeScreenshot(screenshotDir() + "/play-" + name + ".png"); }

    void startEngine()
    {
        keyDown("s");
        pause(3000);  // the starter needs more than 33 ticks and its sample to finish
        keyUp("s");
        pause(300);
        pressKey("q");
    }

    // Accelerates, coasts until the arrow turns green, brakes to a standstill.
    bool driveToNextStop(int index)
    {
        keyDown("Up");
        pause(2500);
        keyUp("Up");
        const auto start = Clock::now();
        int nudges = 0;
        while (std::chrono::duration<double>(Clock::now() - start).count() < 60.0) {
            Screenshot s = takeScreenshot(screenshotDir() + "/play-driving.png");
            if (s.ok() && arrowColour(s) == 1) {
                keyDown("Down");
                pause(2000);
                keyUp("Down");
                pause(300);
                Screenshot at = shot("at-stop-" + std::to_string(index));
                return at.ok() && arrowColour(at) == 1;
            }
            // Coasting barely slows the bus, but keep it moving if it ever stalls.
            if (std::chrono::duration<double>(Clock::now() - start).count() > 20.0 * (nudges + 1)) {
                pressKey("Up", 500);
                ++nudges;
            }
        }
        return false;
    }

    void serveStop()
    {
        pressKey("Delete");
        pressKey("End");
        pressKey("Next");
        pause(3000);  // the doors swing open
        shot("doors-open");
        pressKey("Insert");
        pressKey("Home");
        pressKey("Prior");
        pause(3000);  // and shut; the stop is served when the last one closes
    }
};

} // namespace

TEST_F(Playthrough, MenuNewGameDriveEveryStopVerdictMenuExit)
{
    game = spawnProgram(builtProgram("velbrant"), {}, tree, {"XDG_RUNTIME_DIR=" + runtime.path});
    ASSERT_TRUE(waitForWindow("Velbrant", 15000)) << capturedErr(game);

    // The opening fade lasts about 12 s, then the buttons slide in; Enter on "new game" loads.
    pause(15000);
    Screenshot menu = shot("menu");
    ASSERT_TRUE(menu.ok());
    pressKey("Return");
    pause(8000);
    ASSERT_TRUE(isRunning(game)) << capturedErr(game);
    Screenshot cab = shot("run-cab");
    ASSERT_TRUE(cab.ok());
    EXPECT_GT(difference(menu, cab, 0, 0, cab.width, cab.height), 10.0) << "the run frame replaced the menu";
    EXPECT_EQ(arrowColour(cab), -1) << "away from the first stop the arrow is red";

    // Every view shows another picture; the mirrors draw over the upper corners.
    Screenshot previous = cab;
    for (const char* key : {"F2", "F3", "F4", "F5", "F6"}) {
        pressKey(key);
        pause(400);
        Screenshot v = shot(std::string("view-") + key);
        ASSERT_TRUE(v.ok());
        EXPECT_GT(difference(previous, v, 0, 0, v.width, v.height), 2.0) << key;
        previous = v;
    }
    pressKey("F1");
    pause(400);
    Screenshot back = shot("view-F1");
    pressKey("l");
    pause(400);
    Screenshot leftMirror = shot("mirror-left");
    pressKey("l");
    pause(400);
    Screenshot bothMirrors = shot("mirror-both");
    const int w = back.width, h = back.height;
    EXPECT_GT(difference(back, leftMirror, 0, 0, w / 4, h / 2), 2.0) << "left mirror in the upper-left quarter";
    EXPECT_GT(difference(leftMirror, bothMirrors, w * 3 / 4 + 2, 0, w, h / 2), 2.0) << "right mirror upper right";
    pressKey("l");
    pause(300);

    startEngine();
    Screenshot standing = shot("engine-running");
    const int speedX0 = w * 440 / 640, speedY0 = 0, speedX1 = w * 540 / 640, speedY1 = h * 20 / 480;
    for (int stop = 0; stop < 3; ++stop) {
        if (stop == 0) {
            keyDown("Up");
            pause(1500);
            Screenshot moving = shot("speed-rising");
            keyUp("Up");
            EXPECT_GT(difference(standing, moving, speedX0, speedY0, speedX1, speedY1), 1.0)
                << "the speed text changes while driving";
            keyDown("Down");
            pause(1500);
            keyUp("Down");
        }
        ASSERT_TRUE(driveToNextStop(stop)) << "stop " << stop << "\n" << capturedErr(game);
        if (stop < 2)
            serveStop();
    }

    // At the last stop: headlights are off, the bus stands; the engine switch ends the run.
    Screenshot before = shot("before-end");
    pressKey("s", 300);
    pause(800);
    Screenshot finished = shot("verdict");
    EXPECT_GT(whiteInEndPanel(finished), whiteInEndPanel(before) + 150) << "the end panel shows the verdict";

    // Escape: back to the menu, the buttons slide in; Down to "exit", Enter, the fade, status 0.
    pressKey("Escape");
    pause(4000);
    Screenshot again = shot("menu-again");
    EXPECT_GT(difference(finished, again, 0, 0, w, h), 10.0);
    for (int i = 0; i < 3; ++i)
        pressKey("Down");
    pressKey("Return");
    EXPECT_EQ(waitForExit(game, 15000), 0) << capturedErr(game);
}

TEST_F(Playthrough, LettersStartStraightIntoARunAndEscapeEndsIt)
{
    for (const char* letter : {"S", "V"}) {
        game = spawnProgram(builtProgram("velbrant"), {letter}, tree, {"XDG_RUNTIME_DIR=" + runtime.path});
        ASSERT_TRUE(waitForWindow("Velbrant", 15000)) << capturedErr(game);
        pause(3000);
        Screenshot s = shot(std::string("letter-") + letter);
        ASSERT_TRUE(s.ok());
        EXPECT_EQ(arrowColour(s), -1) << letter << ": the run's dashboard is up at once";
        pressKey("Escape");
        EXPECT_EQ(waitForExit(game, 10000), 0) << letter << "\n" << capturedErr(game);
        game.pid = -1;
    }
}
