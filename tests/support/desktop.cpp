#include "tests/support/desktop.h"
#include "tests/support/test_util.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

namespace {

std::string shellQuote(const std::string& s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

bool succeeds(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

bool haveDisplay()
{
    const char* d = std::getenv("DISPLAY");
    return d && *d && succeeds("xdpyinfo");
}

Spawned spawnProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workDir, const std::vector<std::string>& env)
{
    static int counter = 0;
    const std::string base =
        screenshotDir() + "/proc-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    const Spawned s{-1, base + ".err", base + ".out"};
    // The single-instance lock's folder: a game run by someone else neither blocks nor is blocked.
    const std::string runtimeDir = screenshotDir() + "/runtime-" + std::to_string(getpid());
    std::filesystem::create_directories(runtimeDir);
    std::vector<std::string> vars{"VELBRANT_NO_DIALOGS=1", "XDG_RUNTIME_DIR=" + runtimeDir};
    vars.insert(vars.end(), env.begin(), env.end());
    const pid_t pid = fork();
    if (pid == 0) {
        const int err = open(s.errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int out = open(s.outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (chdir(workDir.c_str()) != 0 || err < 0 || out < 0)
            _exit(127);
        dup2(err, 2), dup2(out, 1);
        for (const std::string& e : vars)
            if (e.find('=') != std::string::npos)
                setenv(e.substr(0, e.find('=')).c_str(), e.substr(e.find('=') + 1).c_str(), 1);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return {pid, s.errPath, s.outPath};
}

Spawned startGame(const std::string& dir, const std::vector<std::string>& args,
                  const std::vector<std::string>& env)
{
    return spawnProgram(builtProgram("velbrant"), args, dir, env);
}

bool waitUntil(double timeoutS, const std::function<bool()>& done, const Spawned* alive)
{
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        if (done())
            return true;
        if ((alive && !isRunning(*alive)) ||
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >= timeoutS)
            return false;
        pause(100);
    }
}

int waitForExit(const Spawned& p, int timeoutMs)
{
    int result = p.pid > 0 ? -1 : -2;
    waitUntil(timeoutMs / 1000.0, [&] {
        int status = 0;
        const pid_t r = p.pid > 0 ? waitpid(p.pid, &status, WNOHANG) : -1;
        if (r == 0)
            return false;
        result = r == p.pid && WIFEXITED(status) ? WEXITSTATUS(status) : -2;
        return true;
    });
    return result;
}

bool isRunning(const Spawned& p)
{
    // Not reaped: the exit status stays for waitForExit.
    siginfo_t info{};
    return p.pid > 0 && waitid(P_PID, static_cast<id_t>(p.pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

int endWith(const Spawned& p, int sig, int timeoutMs)
{
    if (p.pid > 0)
        kill(p.pid, sig);
    return waitForExit(p, timeoutMs);
}

void stopProgram(Spawned& p)
{
    if (p.pid > 0 && waitpid(p.pid, nullptr, WNOHANG) == 0) {
        kill(p.pid, SIGKILL);
        waitpid(p.pid, nullptr, 0);
    }
    p.pid = -1;
}

std::string capturedErr(const Spawned& p) { return readFile(p.errPath); }

bool waitForWindow(const std::string& name, int timeoutMs)
{
    const std::string cmd = "xdotool search --onlyvisible --name " + shellQuote("^" + name + "$");
    return waitUntil(timeoutMs / 1000.0, [&] { return succeeds(cmd); });
}

void keyDown(const std::string& key) { succeeds("xdotool keydown " + shellQuote(key)); }
void keyUp(const std::string& key) { succeeds("xdotool keyup " + shellQuote(key)); }

void pressKey(const std::string& key, int holdMs)
{
    keyDown(key);
    pause(holdMs);
    keyUp(key);
}

long Screenshot::each(int x0, int y0, int x1, int y1, const std::function<void(const uint8_t*)>& visit) const
{
    long n = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, height); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, width); ++x, ++n)
            visit(at(x, y));
    return n;
}

long Screenshot::count(int x0, int y0, int x1, int y1, const std::function<bool(const uint8_t*)>& test) const
{
    long n = 0;
    each(x0, y0, x1, y1, [&](const uint8_t* p) { n += test(p) ? 1 : 0; });
    return n;
}

double Screenshot::share(int x0, int y0, int x1, int y1,
                         const std::function<bool(const uint8_t*)>& test) const
{
    const long all = each(x0, y0, x1, y1, [](const uint8_t*) {});
    return all ? static_cast<double>(count(x0, y0, x1, y1, test)) / static_cast<double>(all) : 0.0;
}

void Screenshot::mean(int x0, int y0, int x1, int y1, double out[3]) const
{
    double sum[3] = {0, 0, 0};
    const long n = each(x0, y0, x1, y1, [&](const uint8_t* p) {
        for (int c = 0; c < 3; ++c)
            sum[c] += p[c];
    });
    for (int c = 0; c < 3; ++c)
        out[c] = n ? sum[c] / static_cast<double>(n) : 0.0;
}

double Screenshot::litFraction(int x0, int y0, int x1, int y1, int threshold) const
{
    return share(x0, y0, x1, y1,
                 [=](const uint8_t* p) { return p[0] > threshold || p[1] > threshold || p[2] > threshold; });
}

Screenshot Screenshot::crop(int x, int y, int w, int h) const
{
    Screenshot c{w, h, {}};
    for (int row = 0; row < h; ++row)
        c.rgb.insert(c.rgb.end(), at(x, y + row), at(x, y + row) + static_cast<size_t>(w) * 3);
    return c;
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
    const long n = a.each(x0, y0, x1, y1, [&](const uint8_t* p) {
        const uint8_t* q = b.rgb.data() + (p - a.rgb.data());
        for (int c = 0; c < 3; ++c)
            sum += std::abs(static_cast<int>(p[c]) - static_cast<int>(q[c]));
    });
    return n ? sum / static_cast<double>(n * 3) : 0.0;
}

bool waitForStillScreen(double timeoutSeconds, const std::string& savePath, Screenshot* last)
{
    Screenshot previous;
    return waitForPicture(savePath, timeoutSeconds, [&](const Screenshot& s) {
        const bool still = previous.ok() && difference(previous, s, 0, 0, s.width, s.height) < 0.05;
        previous = s;
        pause(50);  // with the poll's own 100 ms, long enough for a slide to move between the two
        return still;
    }, last);
}

Screenshot takeScreenshot(const std::string& savePath)
{
    Screenshot shot;
    static int serial = 0;
    const std::string ppm =
        screenshotDir() + "/grab-" + std::to_string(getpid()) + "-" + std::to_string(serial++) + ".ppm";
    if (!succeeds("import -window root -depth 8 ppm:" + shellQuote(ppm)))
        return shot;
    const std::string data = readFile(ppm);
    if (!savePath.empty())
        succeeds("convert " + shellQuote(ppm) + " " + shellQuote(savePath));
    std::remove(ppm.c_str());
    int w = 0, h = 0, maxv = 0, consumed = 0;
    const bool header =
        std::sscanf(data.c_str(), "P6 %d %d %d%n", &w, &h, &maxv, &consumed) == 3 && maxv == 255;
    const size_t start = static_cast<size_t>(consumed) + 1, bytes = static_cast<size_t>(w) * h * 3;
    if (header && data.size() >= start + bytes)
        shot = {w, h,
                std::vector<uint8_t>(data.begin() + static_cast<long>(start),
                                     data.begin() + static_cast<long>(start + bytes))};
    return shot;
}

bool waitForPicture(const std::string& savePath, double timeoutSeconds,
                    const std::function<bool(const Screenshot&)>& test, Screenshot* last)
{
    return waitUntil(timeoutSeconds, [&] {
        Screenshot s = takeScreenshot("");
        const bool ok = s.ok() && test(s);
        if (last)
            *last = s;
        if (ok && !savePath.empty())
            takeScreenshot(savePath);
        return ok;
    });
}

OwnDisplay::OwnDisplay(int w, int h) : width(w), height(h)
{
    const char* d = std::getenv("DISPLAY");
    previous = d ? d : "";
    for (int n = 200 + getpid() % 300; name.empty(); ++n)
        if (!fileExists("/tmp/.X11-unix/X" + std::to_string(n)) &&
            !fileExists("/tmp/.X" + std::to_string(n) + "-lock"))
            name = ":" + std::to_string(n);
    setenv("DISPLAY", name.c_str(), 1);
}

OwnDisplay::~OwnDisplay()
{
    for (Spawned* p : {&manager, &server}) {
        endWith(*p, SIGTERM, 3000);
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
    return waitUntil(5.0, [] { return succeeds("xdpyinfo"); });
}

bool OwnDisplay::startManager()
{
    manager = spawnProgram("/usr/bin/openbox", {}, "/");
    const std::string check = "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window";
    return waitUntil(5.0, [&] { return succeeds(check); });
}
