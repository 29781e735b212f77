// The game's window on a desktop larger than the game: Okno 2, Okno 1, none; Alt+Enter; a late display.
#include "tests/support/desktop.h"
#include "tests/support/menu_screen.h"
#include "tests/support/test_util.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <tuple>
#include <unistd.h>

namespace {

struct Rect { int x, y, w, h; };

Rect fitted(const Rect& a)
{
    const int w = a.w * 3 > a.h * 4 ? a.h * 4 / 3 : a.w;
    const int h = w * 3 / 4;
    return {a.x + (a.w - w) / 2, a.y + (a.h - h) / 2, w, h};
}

// The 4:3 picture fills its fitted place to every edge, the bars beside it in the area are black.
bool pictureFills(const Screenshot& s, const Rect& area)
{
    const Rect p = fitted(area);
    const int right = p.x + p.w, bottom = p.y + p.h;
    const bool edges = s.litFraction(p.x + 2, p.y, p.x + 10, bottom, 2) > 0.5 &&
                       s.litFraction(right - 10, p.y, right - 2, bottom, 2) > 0.5 &&
                       s.litFraction(p.x, p.y + 2, right, p.y + 8, 2) > 0.5 &&
                       s.litFraction(p.x, bottom - 8, right, bottom - 2, 2) > 0.3;
    const bool bars = s.litFraction(area.x, area.y, p.x - 2, area.y + area.h, 2) < 0.01 &&
                      s.litFraction(right + 2, area.y, area.x + area.w, area.y + area.h, 2) < 0.01;
    return edges && bars;
}

Rect windowRect()
{
    const std::string info = runCommand("xwininfo -name Velbrant").out;
    auto field = [&](const char* label) {
        const size_t at = info.find(label);
        return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + std::strlen(label));
    };
    return {field("Absolute upper-left X:"), field("Absolute upper-left Y:"), field("Width:"),
            field("Height:")};
}

// Each case on an X server of its own; DISPLAY points at it while the case runs.
struct WindowE2e : ::testing::Test {
    TempDir tree;
    std::string previous = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    Spawned server, manager, game;

    void SetUp() override
    {
        if (!fileExists("/usr/bin/Xvfb"))
            GTEST_SKIP() << "no Xvfb";
        std::string name;
        for (int n = 200 + getpid() % 300; name.empty(); ++n)
            if (!fileExists("/tmp/.X11-unix/X" + std::to_string(n)) &&
                !fileExists("/tmp/.X" + std::to_string(n) + "-lock"))
                name = ":" + std::to_string(n);
        setenv("DISPLAY", name.c_str(), 1);
        std::filesystem::create_symlink(generatedTree() + "/Dane", tree.file("Dane"));
    }
    void TearDown() override
    {
        stopProgram(game);
        for (Spawned* p : {&manager, &server}) {
            endWith(*p, SIGTERM, 3000);
            stopProgram(*p);
        }
        if (previous.empty())
            unsetenv("DISPLAY");
        else
            setenv("DISPLAY", previous.c_str(), 1);
    }
    bool startServer()  // and wait until it answers
    {
        const char* screen[] = {getenv("DISPLAY"), "-screen", "0", "1920x1080x24", "-nolisten", "tcp"};
        server = spawnProgram("/usr/bin/Xvfb", {std::begin(screen), std::end(screen)}, "/");
        return waitUntil(5.0, [] { return succeeds("xdpyinfo"); });
    }
    void start(const std::string& options, const std::vector<std::string>& args = {}, bool managed = false)
    {
        ASSERT_TRUE(startServer());
        manager = managed ? spawnProgram("/usr/bin/openbox", {}, "/") : Spawned{};
        const auto managerUp = [] { return succeeds("xprop -root _NET_SUPPORTING_WM_CHECK | grep -q win"); };
        if (managed)
            ASSERT_TRUE(waitUntil(5.0, managerUp)) << "the window manager (openbox) is missing";
        writeFile(tree.file("Opcje.ini"), "[Opcje]\r\n" + options);
        game = startGame(tree.path, args);
        ASSERT_TRUE(waitForWindow("Velbrant", 20000)) << capturedErr(game);
    }

    static bool waitFor(const std::string& label, const std::function<bool(const Screenshot&)>& done,
                        double s = 30)
    {
        return waitForPicture(screenshotDir() + "/window-" + label + ".png", s, done);
    }
};

const Rect SCREEN{0, 0, 1920, 1080};

} // namespace

TEST_F(WindowE2e, ALateDisplayIsWaitedForAndFullScreenScalesTheMenuAndARunToTheDesktopsHeight)
{
    writeFile(tree.file("Opcje.ini"), "[Opcje]\r\nRozdzielczosc=0\r\nOkno=2\r\n");
    game = startGame(tree.path);
    EXPECT_GT(waitForExit(game, 10000), 0) << "runs without a display";
    EXPECT_NE(capturedErr(game).find("Nie mog\xc4\x99 utworzy\xc4\x87 okna"), std::string::npos)
        << capturedErr(game);
    game = startGame(tree.path);
    pause(300);
    ASSERT_TRUE(startServer());
    ASSERT_TRUE(waitForWindow("Velbrant", 20000)) << capturedErr(game);
    const Rect p = fitted(SCREEN);
    const auto menuIn = [&](const Screenshot& s) { return newGameButtonIn(s.crop(p.x, p.y, p.w, p.h)); };
    const auto menu = [&](const Screenshot& s) { return pictureFills(s, SCREEN) && menuIn(s); };
    ASSERT_TRUE(waitFor("menu", menu, 40)) << capturedErr(game);
    ASSERT_TRUE(waitForStillScreen(20.0, screenshotDir() + "/window-poll.png"));
    pressKey("Return");
    const auto run = [&](const Screenshot& s) { return pictureFills(s, SCREEN) && !menuIn(s); };
    EXPECT_TRUE(waitFor("run", run)) << capturedErr(game);
    EXPECT_EQ(endWith(game), 0) << capturedErr(game);
}

TEST_F(WindowE2e, AManagedWindowIsDecoratedCentredResizedWithItsPictureAndAltEnterSwitches)
{
    start("Rozdzielczosc=3\r\nOkno=1\r\n", {"V"}, true);
    Rect r = windowRect();
    EXPECT_EQ(std::make_tuple(r.w, r.h), std::make_tuple(640, 480));
    EXPECT_NEAR(r.x, (1920 - 640) / 2, 4);
    EXPECT_NEAR(r.y, (1080 - 480) / 2, 30);  // the title bar takes a little
    const std::string id = runCommand("xdotool search --name '^Velbrant$' | head -n 1 | tr -d '\\n'").out;
    EXPECT_TRUE(waitFor("window", [&](const Screenshot& s) { return pictureFills(s, r); }))
        << capturedErr(game);
    const std::string extents = runCommand("xprop -id " + id + " _NET_FRAME_EXTENTS").out;
    EXPECT_NE(extents.find('='), std::string::npos) << extents;
    EXPECT_EQ(extents.find("= 0, 0, 0, 0"), std::string::npos) << "no frame: " << extents;

    runCommand("xdotool windowsize " + id + " 1280 720");
    EXPECT_TRUE(waitFor("resized", [&](const Screenshot& s) {
        r = windowRect();
        return r.w == 1280 && r.h == 720 && pictureFills(s, r);
    })) << capturedErr(game);

    pressKey("alt+Return");
    EXPECT_TRUE(waitFor("managed-full", [&](const Screenshot& s) { return pictureFills(s, SCREEN); }, 10));
    pressKey("alt+Return");
    EXPECT_TRUE(waitFor("window-again", [&](const Screenshot& s) {
        r = windowRect();
        return r.w == 640 && r.h == 480 && pictureFills(s, r) && s.litFraction(0, 0, 200, 1080, 2) < 0.01;
    }, 10));
}

TEST_F(WindowE2e, WithoutOknoTheWindowStaysTopLeftAndAltEnterFillsTheScreen)
{
    start("Rozdzielczosc=3\r\n", {"V"});  // the desktop has no 640x480 mode
    EXPECT_TRUE(waitFor("top-left", [&](const Screenshot& s) {
        return pictureFills(s, {0, 0, 640, 480}) && s.litFraction(640, 0, 1920, 1080, 2) < 0.01 &&
               s.litFraction(0, 480, 640, 1080, 2) < 0.01;
    })) << capturedErr(game);
    runCommand("xdotool mousemove 100 100");  // no window manager: keys go where the pointer is
    pressKey("alt+Return");
    EXPECT_TRUE(waitFor("full-screen", [&](const Screenshot& s) { return pictureFills(s, SCREEN); }, 10));
}
