// Driving the real programs on the X display the test command provides (xvfb-run): start and
// stop them, press keys with xdotool, take screenshots and read their pixels.
#pragma once

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// End-to-end tests skip when no X display answers.
#define SKIP_WITHOUT_DISPLAY() \
    if (!haveDisplay())        \
    GTEST_SKIP() << "no X display"

void pause(int ms);
bool haveDisplay();

struct Spawned {
    int pid = -1;
    std::string errPath, outPath;  // the child's standard error and output, captured to files
};
// Starts a program in a folder with VELBRANT_NO_DIALOGS=1, a runtime folder (for the lock) of
// this test process's own, and extra "NAME=value" entries (which may replace those).
Spawned spawnProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workDir, const std::vector<std::string>& env = {});
// The built game, started so in a folder.
Spawned startGame(const std::string& workDir, const std::vector<std::string>& args = {},
                  const std::vector<std::string>& env = {});
// Its exit status within timeoutMs: -1 still running, -2 killed by a signal.
int waitForExit(const Spawned& p, int timeoutMs);
bool isRunning(const Spawned& p);
void sendSignal(const Spawned& p, int sig);
// Sends the signal and returns the exit status within the time, as waitForExit.
int endWith(const Spawned& p, int sig = SIGTERM, int timeoutMs = 10000);
// Kills and reaps the process if it still runs.
void stopProgram(Spawned& p);
std::string capturedErr(const Spawned& p);

// Polls done() every 100 ms until it holds (true), the time is up or the process has ended.
bool waitUntil(double timeoutS, const std::function<bool()>& done, const Spawned* alive = nullptr);
// Waits until a window with this exact name is mapped; false after timeoutMs.
bool waitForWindow(const std::string& name, int timeoutMs);

// Holds a key across ticks (xdotool keydown, a pause, keyup). Names are X11 key names.
void pressKey(const std::string& key, int holdMs = 100);
void keyDown(const std::string& key);
void keyUp(const std::string& key);

struct Screenshot {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // row 0 at the top
    bool ok() const { return width > 0 && height > 0; }
    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    // Visits the pixels of [x0,x1) x [y0,y1) within the picture and returns how many; how many
    // pass the test, and their share (0 for an empty rectangle).
    long each(int x0, int y0, int x1, int y1, const std::function<void(const uint8_t*)>& visit) const;
    long count(int x0, int y0, int x1, int y1, const std::function<bool(const uint8_t*)>& test) const;
    double share(int x0, int y0, int x1, int y1, const std::function<bool(const uint8_t*)>& test) const;
    void mean(int x0, int y0, int x1, int y1, double out[3]) const;
    // Share of pixels that are not (near) black.
    double litFraction(int x0, int y0, int x1, int y1, int threshold = 24) const;
    Screenshot crop(int x, int y, int w, int h) const;
};
// The whole screen's pixels; with a savePath also kept there as PNG for people to look at.
Screenshot takeScreenshot(const std::string& savePath);
// Mean absolute difference of the two pictures' channels over [x0,x1) x [y0,y1), 0..255.
double difference(const Screenshot& a, const Screenshot& b, int x0, int y0, int x1, int y1);
// Until two screenshots in a row show the same picture: a slide or fade has ended, so the menu
// takes keys again.
bool waitForStillScreen(double timeoutSeconds, const std::string& savePath, Screenshot* last = nullptr);
// Takes screenshots until one passes the test, then keeps one at savePath. The game's pace is
// ticks, and a busy machine gives fewer of them a second, so waits go by what the screen shows.
bool waitForPicture(const std::string& savePath, double timeoutSeconds,
                    const std::function<bool(const Screenshot&)>& test, Screenshot* last = nullptr);
// An X server of a test's own (Xvfb of a given size, optionally with a window manager). DISPLAY
// points at it while the object lives; the server may start later.
struct OwnDisplay {
    std::string name;
    Spawned server, manager;
    int width, height;
    OwnDisplay(int width, int height);
    ~OwnDisplay();
    bool startServer();   // waits until it answers
    bool startManager();  // openbox
private:
    std::string previous;
};

std::string screenshotDir();  // in the build tree
