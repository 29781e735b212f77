#include "tests/support/desktop.h"
#include "tests/support/test_util.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

void pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {

void sleepMs(int ms)
{
    pause(ms);
}

std::string shellQuote(const std::string& s)
{
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

} // namespace

bool haveDisplay()
{
    const char* d = std::getenv("DISPLAY");
    if (!d || !*d)
        return false;
    return std::system("xdpyinfo >/dev/null 2>&1") == 0;
}

Spawned spawnProgram(const std::string& program, const std::vector<std::string>& args, const std::string& workDir,
                     const std::vector<std::string>& env)
{
    static int counter = 0;
    Spawned s;
    const std::string base = screenshotDir() + "/proc-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    s.errPath = base + ".err";
    s.outPath = base + ".out";
    const std::string runtimeDir = screenshotDir() + "/runtime-" + std::to_string(getpid());
    std::filesystem::create_directories(runtimeDir);
    pid_t pid = fork();
    if (pid == 0) {
        if (chdir(workDir.c_str()) != 0)
            _exit(127);
        int err = open(s.errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int out = open(s.outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (err >= 0)
            dup2(err, 2);
        if (out >= 0)
            dup2(out, 1);
        setenv("VELBRANT_NO_DIALOGS", "1", 1);
        // The single-instance lock lives in the runtime folder: one of this test process's own, so
        // a game someone else runs on the machine neither blocks the test nor is blocked by it.
        setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
        for (const std::string& e : env) {
            size_t eq = e.find('=');
            if (eq != std::string::npos)
                setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    s.pid = pid;
    return s;
}

int waitForExit(const Spawned& p, int timeoutMs)
{
    if (p.pid <= 0)
        return -2;
    for (int waited = 0;; waited += 20) {
        int status = 0;
        pid_t r = waitpid(p.pid, &status, WNOHANG);
        if (r == p.pid) {
            if (WIFEXITED(status))
                return WEXITSTATUS(status);
            return -2;
        }
        if (r < 0)
            return -2;
        if (waited >= timeoutMs)
            return -1;
        sleepMs(20);
    }
}

bool isRunning(const Spawned& p)
{
    // Asked without reaping the process, so its exit status stays for waitForExit.
    siginfo_t info{};
    return p.pid > 0 && waitid(P_PID, static_cast<id_t>(p.pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

void sendSignal(const Spawned& p, int sig)
{
    if (p.pid > 0)
        kill(p.pid, sig);
}

void stopProgram(Spawned& p)
{
    if (p.pid <= 0)
        return;
    if (waitpid(p.pid, nullptr, WNOHANG) == 0) {
        kill(p.pid, SIGKILL);
        waitpid(p.pid, nullptr, 0);
    }
    p.pid = -1;
}

std::string capturedErr(const Spawned& p)
{
    return readFile(p.errPath);
}

bool waitForWindow(const std::string& name, int timeoutMs)
{
    const std::string cmd = "xdotool search --onlyvisible --name " + shellQuote("^" + name + "$") + " >/dev/null 2>&1";
    for (int waited = 0; waited <= timeoutMs; waited += 100) {
        if (std::system(cmd.c_str()) == 0)
            return true;
        sleepMs(100);
    }
    return false;
}

void keyDown(const std::string& key)
{
    std::system(("xdotool keydown " + shellQuote(key) + " >/dev/null 2>&1").c_str());
}

void keyUp(const std::string& key)
{
    std::system(("xdotool keyup " + shellQuote(key) + " >/dev/null 2>&1").c_str());
}

void pressKey(const std::string& key, int holdMs)
{
    keyDown(key);
    sleepMs(holdMs);
    keyUp(key);
}

void Screenshot::mean(int x0, int y0, int x1, int y1, double out[3]) const
{
    double sum[3] = {0, 0, 0};
    long n = 0;
    for (int y = y0; y < y1 && y < height; ++y)
        for (int x = x0; x < x1 && x < width; ++x) {
            const uint8_t* p = at(x, y);
            for (int c = 0; c < 3; ++c)
                sum[c] += p[c];
            ++n;
        }
    for (int c = 0; c < 3; ++c)
        out[c] = n ? sum[c] / static_cast<double>(n) : 0.0;
}

double Screenshot::litFraction(int x0, int y0, int x1, int y1, int threshold) const
{
    long lit = 0, n = 0;
    for (int y = y0; y < y1 && y < height; ++y)
        for (int x = x0; x < x1 && x < width; ++x) {
            const uint8_t* p = at(x, y);
            if (p[0] > threshold || p[1] > threshold || p[2] > threshold)
                ++lit;
            ++n;
        }
    return n ? static_cast<double>(lit) / static_cast<double>(n) : 0.0;
}

std::string screenshotDir()
{
    const std::string dir = std::string(VELBRANT_BIN_DIR) + "/screenshots";
    std::filesystem::create_directories(dir);
    return dir;
}

double difference(const Screenshot& a, const Screenshot& b, int x0, int y0, int x1, int y1)
{
    if (a.width != b.width || a.height != b.height)
        return 255.0;
    double sum = 0;
    long n = 0;
    for (int y = y0; y < y1 && y < a.height; ++y)
        for (int x = x0; x < x1 && x < a.width; ++x)
            for (int c = 0; c < 3; ++c) {
                sum += std::abs(static_cast<int>(a.at(x, y)[c]) - static_cast<int>(b.at(x, y)[c]));
                ++n;
            }
    return n ? sum / static_cast<double>(n) : 0.0;
}

bool waitForStillScreen(double timeoutSeconds, const std::string& savePath, Screenshot* last)
{
    const auto start = std::chrono::steady_clock::now();
    Screenshot previous = takeScreenshot("");
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < timeoutSeconds) {
        pause(150);
        Screenshot s = takeScreenshot("");
        const bool still = s.ok() && previous.ok() && difference(previous, s, 0, 0, s.width, s.height) < 0.05;
        previous = s;
        if (still) {
            if (!savePath.empty())
                takeScreenshot(savePath);
            if (last)
                *last = s;
            return true;
        }
    }
    return false;
}

Screenshot takeScreenshot(const std::string& savePath)
{
    Screenshot shot;
    static int serial = 0;
    const std::string ppm = screenshotDir() + "/grab-" + std::to_string(getpid()) + "-" + std::to_string(serial++) + ".ppm";
    if (std::system(("import -window root -depth 8 ppm:" + shellQuote(ppm) + " >/dev/null 2>&1").c_str()) != 0)
        return shot;
    const std::string data = readFile(ppm);
    if (!savePath.empty())
        (void)!std::system(("convert " + shellQuote(ppm) + " " + shellQuote(savePath) + " >/dev/null 2>&1").c_str());
    std::remove(ppm.c_str());
    int w = 0, h = 0, maxv = 0, consumed = 0;
    if (std::sscanf(data.c_str(), "P6 %d %d %d%n", &w, &h, &maxv, &consumed) != 3 || maxv != 255)
        return shot;
    const size_t start = static_cast<size_t>(consumed) + 1;
    const size_t bytes = static_cast<size_t>(w) * h * 3;
    if (data.size() < start + bytes)
        return shot;
    shot.width = w;
    shot.height = h;
    shot.rgb.assign(data.begin() + static_cast<long>(start), data.begin() + static_cast<long>(start + bytes));
    return shot;
}

bool waitForPicture(const std::string& savePath, double timeoutSeconds, const std::function<bool(const Screenshot&)>& test,
                    Screenshot* last)
{
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < timeoutSeconds) {
        Screenshot s = takeScreenshot("");
        const bool ok = s.ok() && test(s);
        if (last)
            *last = s;
        if (ok) {
            if (!savePath.empty())
                takeScreenshot(savePath);
            return true;
        }
        pause(100);
    }
    return false;
}

OwnDisplay::OwnDisplay(int w, int h) : width(w), height(h)
{
    const char* d = std::getenv("DISPLAY");
    previous = d ? d : "";
    for (int n = 200 + getpid() % 300;; ++n) {
        const std::string number = std::to_string(n);
        if (!fileExists("/tmp/.X11-unix/X" + number) && !fileExists("/tmp/.X" + number + "-lock")) {
            name = ":" + number;
            break;
        }
    }
    setenv("DISPLAY", name.c_str(), 1);
}

OwnDisplay::~OwnDisplay()
{
    for (Spawned* p : {&manager, &server}) {
        sendSignal(*p, SIGTERM);
        waitForExit(*p, 3000);
        stopProgram(*p);
    }
    if (previous.empty())
        unsetenv("DISPLAY");
    else
        setenv("DISPLAY", previous.c_str(), 1);
}

bool OwnDisplay::startServer()
{
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    server = spawnProgram("/usr/bin/Xvfb", {name, "-screen", "0", screen, "-nolisten", "tcp"}, "/");
    for (int waited = 0; waited < 5000; waited += 50) {
        if (std::system("xdpyinfo >/dev/null 2>&1") == 0)
            return true;
        sleepMs(50);
    }
    return false;
}

bool OwnDisplay::startManager()
{
    manager = spawnProgram("/usr/bin/openbox", {}, "/");
    for (int waited = 0; waited < 5000; waited += 100) {
        if (std::system("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window") == 0)
            return true;
        sleepMs(100);
    }
    return false;
}
