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

static std::string shellQuote(const std::string& s)
{
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}
bool succeeds(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

bool haveDisplay() { return std::getenv("DISPLAY") && *std::getenv("DISPLAY") && succeeds("xdpyinfo"); }

Spawned spawnProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workDir, const std::vector<std::string>& env)
{
    static int counter = 0;
    const std::string errPath =
        screenshotDir() + "/proc-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".err";
    // The single-instance lock's folder: a game run by someone else neither blocks nor is blocked.
    const std::string runtimeDir = screenshotDir() + "/runtime-" + std::to_string(getpid());
    std::filesystem::create_directories(runtimeDir);
    std::vector<std::string> vars{"VELBRANT_NO_DIALOGS=1", "XDG_RUNTIME_DIR=" + runtimeDir};
    vars.insert(vars.end(), env.begin(), env.end());
    const pid_t pid = fork();
    if (pid == 0) {
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (chdir(workDir.c_str()) != 0 || err < 0 || dup2(err, 2) < 0)
            _exit(127);
        for (const std::string& e : vars)
            putenv(const_cast<char*>(e.c_str()));
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return {pid, errPath};
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
    if (p.pid <= 0)
        return -2;
    int status = 0;
    pid_t r = 0;
    waitUntil(timeoutMs / 1000.0, [&] { return (r = waitpid(p.pid, &status, WNOHANG)) != 0; });
    if (r == 0)
        return -1;  // still running
    return r == p.pid && WIFEXITED(status) ? WEXITSTATUS(status) : -2;
}

bool isRunning(const Spawned& p)  // not reaped: the exit status stays for waitForExit
{
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

double Screenshot::share(int x0, int y0, int x1, int y1,
                         const std::function<bool(const uint8_t*)>& test) const
{
    long n = 0;
    const long all = each(x0, y0, x1, y1, [&](const uint8_t* p) { n += test(p) ? 1 : 0; });
    return all ? static_cast<double>(n) / static_cast<double>(all) : 0.0;
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
    return share(x0, y0, x1, y1, [=](const uint8_t* p) { return std::max({p[0], p[1], p[2]}) > threshold; });
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

bool waitForStillScreen(double timeoutSeconds, const std::string& savePath)
{
    Screenshot previous;
    return waitForPicture(savePath, timeoutSeconds, [&](const Screenshot& s) {
        const bool still = previous.ok() && difference(previous, s, 0, 0, s.width, s.height) < 0.05;
        previous = s;
        pause(50);  // with the poll's own 100 ms, long enough for a slide to move between the two
        return still;
    });
}

Screenshot takeScreenshot(const std::string& savePath)
{
    const std::string data = runCommand("import -window root -depth 8 ppm:-").out, ppm = savePath + ".ppm";
    if (!savePath.empty()) {
        writeFile(ppm, data);
        succeeds("convert " + shellQuote(ppm) + " " + shellQuote(savePath) + " && rm " + shellQuote(ppm));
    }
    int w = 0, h = 0, maxv = 0, consumed = 0;
    const bool header =
        std::sscanf(data.c_str(), "P6 %d %d %d%n", &w, &h, &maxv, &consumed) == 3 && maxv == 255;
    const long start = consumed + 1, bytes = static_cast<long>(w) * h * 3;
    if (!header || static_cast<long>(data.size()) < start + bytes)
        return {};
    return {w, h, std::vector<uint8_t>(data.begin() + start, data.begin() + start + bytes)};
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
