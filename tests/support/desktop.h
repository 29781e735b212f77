// The real programs on the test's X display: starts and stops, xdotool keys, screenshots.
#pragma once

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#define SKIP_WITHOUT_DISPLAY() if (!haveDisplay()) GTEST_SKIP() << "no X display"

void pause(int ms);
bool haveDisplay();
bool succeeds(const std::string& command);  // the shell command exits 0; its output is dropped

struct Spawned {
    int pid = -1;
    std::string errPath;
};
// With VELBRANT_NO_DIALOGS=1, a runtime folder (the lock) of this process's own and "NAME=value"s.
Spawned spawnProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workDir, const std::vector<std::string>& env = {});
Spawned startGame(const std::string& workDir, const std::vector<std::string>& args = {},
                  const std::vector<std::string>& env = {});
// The exit status within timeoutMs: -1 still running, -2 killed by a signal.
int waitForExit(const Spawned& p, int timeoutMs);
bool isRunning(const Spawned& p);
int endWith(const Spawned& p, int sig = SIGTERM, int timeoutMs = 10000);  // signal, then waitForExit
void stopProgram(Spawned& p);  // kills and reaps it if it still runs
std::string capturedErr(const Spawned& p);

// Polls done() every 100 ms until it holds, the time is up or the process has ended.
bool waitUntil(double timeoutS, const std::function<bool()>& done, const Spawned* alive = nullptr);
bool waitForWindow(const std::string& name, int timeoutMs);

void pressKey(const std::string& key, int holdMs = 100);
void keyDown(const std::string& key);
void keyUp(const std::string& key);

struct Screenshot {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // row 0 at the top
    bool ok() const { return width > 0 && height > 0; }
    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    // Over [x0,x1) x [y0,y1) clipped to the picture: visits its pixels, the share of those passing.
    long each(int x0, int y0, int x1, int y1, const std::function<void(const uint8_t*)>& visit) const;
    double share(int x0, int y0, int x1, int y1, const std::function<bool(const uint8_t*)>& test) const;
    void mean(int x0, int y0, int x1, int y1, double out[3]) const;
    double litFraction(int x0, int y0, int x1, int y1, int threshold = 24) const;  // not near black
    Screenshot crop(int x, int y, int w, int h) const;
};
Screenshot takeScreenshot(const std::string& savePath);  // also kept as PNG with a savePath
// Mean absolute channel difference over [x0,x1) x [y0,y1), 0..255.
double difference(const Screenshot& a, const Screenshot& b, int x0, int y0, int x1, int y1);
// Waits go by what the screen shows, not by time: a busy machine gives fewer ticks a second.
bool waitForPicture(const std::string& savePath, double timeoutSeconds,
                    const std::function<bool(const Screenshot&)>& test, Screenshot* last = nullptr);
// Until two screenshots in a row are alike: a slide or fade has ended.
bool waitForStillScreen(double timeoutSeconds, const std::string& savePath);

std::string screenshotDir();  // in the build tree
