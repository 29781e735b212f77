// Bad data reaching the player: one file of each kind the game reads, removed (and some damaged)
// in a copy of the generated tree, with the real program on the test display. The game either
// says what is wrong and ends with a non-zero status, or plays on where it is meant to (a missing
// picture costs its slot, a missing sound is silence, a missing model is empty and reported, no
// options file means the defaults). It never dies of a signal and never hangs. Which file of a
// tree is broken and how is velbrant-check's business (test_tools.cpp).
#include "tests/support/desktop.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

void pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// What the game is meant to do with one file gone.
enum Expect {
    EXPECT_ENDS,     // message on stderr, non-zero status
    EXPECT_PLAYS_ON  // keeps running (and ends with 0 on SIGTERM), message on stderr if given
};

struct Case {
    std::string file;      // relative to the tree
    Expect whenMissing;
    std::string message;   // what stderr must hold when the file is missing (may be empty)
    bool fromMenu = false; // start in the menu instead of straight into a run
    bool damage = false;   // also try it damaged
};

struct Outcome {
    std::string what;  // "ended 1", "played on", "SIGNAL", "HUNG"
    bool ended = false;
    int status = 0;
    bool crashed = false;
    bool hung = false;
    std::string err;
};

// Damage: the first third of the file, then bytes that follow no format.
std::string damaged(const std::string& original, unsigned seed)
{
    std::string out = original.substr(0, original.size() / 3);
    uint32_t state = seed * 2654435761u + 12345u;
    for (int i = 0; i < 700; ++i) {
        state = state * 214013u + 2531011u;
        out += static_cast<char>((state >> 16) & 0xFF);
    }
    return out;
}

struct BadData : ::testing::Test {
    static TempDir* tree;  // one copy of the generated tree for the whole file, mended after each case
    TempDir runtime;
    TempDir work;
    std::vector<std::string> table;

    static void SetUpTestSuite()
    {
        tree = new TempDir();
        std::filesystem::copy(generatedTree(), tree->path, std::filesystem::copy_options::recursive);
    }
    static void TearDownTestSuite()
    {
        delete tree;
        tree = nullptr;
    }
    void SetUp() override
    {
        if (!haveDisplay())
            GTEST_SKIP() << "no X display";
        // Sound into a file, so the sound files are really opened even without a sound card.
        writeFile(work.file("alsoft.conf"),
                  "[general]\ndrivers=wave\nchannels=stereo\nfrequency=22050\n[wave]\nfile=" + work.file("out.wav") + "\n");
    }
    void TearDown() override
    {
        for (const std::string& line : table)
            std::printf("%s\n", line.c_str());
    }

    Outcome play(bool fromMenu)
    {
        const std::string diag = work.file("loads.txt");
        std::filesystem::remove(diag);
        Spawned game = spawnProgram(builtProgram("velbrant"), fromMenu ? std::vector<std::string>{} : std::vector<std::string>{"V"},
                                    tree->path,
                                    {"XDG_RUNTIME_DIR=" + runtime.path, "VELBRANT_DIAG_FILE=" + diag,
                                     "ALSOFT_CONF=" + work.file("alsoft.conf"), "ALSOFT_LOGLEVEL=0"});
        Outcome o;
        // Straight into a run the load is done inside window creation: the diagnostics line says
        // when. The menu loads its pictures at start: give it a moment of ticks.
        const Clock::time_point start = Clock::now();
        bool ready = false;
        while (std::chrono::duration<double>(Clock::now() - start).count() < 40.0) {
            if (!isRunning(game))
                break;
            if (!fromMenu && fileExists(diag) && !readFile(diag).empty()) {
                ready = true;
                break;
            }
            if (fromMenu && waitForWindow("Velbrant", 100)) {
                pause(1000);
                ready = true;
                break;
            }
            pause(50);
        }
        if (ready)
            pause(800);  // some ticks of the run with what was loaded
        const int status = waitForExit(game, ready ? 10 : 15000);
        if (status == -2) {
            o.crashed = true;
            o.what = "SIGNAL";
        } else if (status >= 0) {
            o.ended = true;
            o.status = status;
            o.what = "ended " + std::to_string(status);
        } else {
            sendSignal(game, SIGTERM);
            const int afterTerm = waitForExit(game, 15000);
            if (afterTerm == -1) {
                o.hung = true;
                o.what = "HUNG";
            } else if (afterTerm == -2) {
                o.crashed = true;
                o.what = "SIGNAL";
            } else {
                o.status = afterTerm;
                o.what = afterTerm == 0 ? "played on" : "played on, SIGTERM gave " + std::to_string(afterTerm);
            }
        }
        o.err = capturedErr(game);
        stopProgram(game);
        return o;
    }

    // The first line of stderr that is the game's own (the audio libraries talk too).
    static std::string firstGameLine(const std::string& err)
    {
        size_t at = 0;
        while (at < err.size()) {
            size_t end = err.find('\n', at);
            if (end == std::string::npos)
                end = err.size();
            const std::string line = err.substr(at, end - at);
            if (!line.empty() && line.rfind("ALSA", 0) != 0 && line.rfind("AL lib", 0) != 0)
                return line.size() > 90 ? line.substr(0, 90) + "..." : line;
            at = end + 1;
        }
        return "";
    }

    void runCase(const Case& c)
    {
        const std::string path = tree->file(c.file);
        ASSERT_TRUE(fileExists(path)) << c.file << " is not in the generated tree";
        const std::string original = readFile(path);

        // Removed.
        std::filesystem::remove(path);
        const Outcome gone = play(c.fromMenu);
        writeFile(path, original);
        table.push_back("| " + c.file + " | removed | " + gone.what + " | " + firstGameLine(gone.err) + " |");
        EXPECT_FALSE(gone.crashed) << c.file << " removed:\n" << gone.err;
        EXPECT_FALSE(gone.hung) << c.file << " removed:\n" << gone.err;
        if (c.whenMissing == EXPECT_ENDS) {
            EXPECT_TRUE(gone.ended && gone.status != 0) << c.file << " removed: " << gone.what << "\n" << gone.err;
        } else {
            EXPECT_TRUE(!gone.ended && gone.status == 0) << c.file << " removed: " << gone.what << "\n" << gone.err;
        }
        if (!c.message.empty()) {
            EXPECT_NE(gone.err.find(c.message), std::string::npos) << c.file << " removed:\n" << gone.err;
        }

        if (!c.damage)
            return;
        // Damaged: whatever the game makes of it, it says so and ends, or plays on.
        writeFile(path, damaged(original, static_cast<unsigned>(std::hash<std::string>()(c.file))));
        const Outcome bad = play(c.fromMenu);
        writeFile(path, original);
        table.push_back("| " + c.file + " | damaged | " + bad.what + " | " + firstGameLine(bad.err) + " |");
        EXPECT_FALSE(bad.crashed) << c.file << " damaged:\n" << bad.err;
        EXPECT_FALSE(bad.hung) << c.file << " damaged:\n" << bad.err;
        if (bad.ended) {
            EXPECT_NE(bad.status, 0) << c.file << " damaged ended as if all were well";
            EXPECT_FALSE(firstGameLine(bad.err).empty()) << c.file << " damaged ended without a word";
        } else {
            EXPECT_EQ(bad.status, 0) << c.file << " damaged: " << bad.what;
        }
    }
};

TempDir* BadData::tree = nullptr;

const char* const LIST_MESSAGE = "Nie mog\xc4\x99 za\xc5\x82" "adowa\xc4\x87 pliku 'Tekstury.tex'.";
const char* const MODEL_MESSAGE = "cannot open the model file";
const char* const IMAGE_MESSAGE = "Failed to open DIB file";

} // namespace

TEST_F(BadData, OneFileOfEachKind)
{
    const Case cases[] = {
        {"Dane/Trasy/Test/TeksturyN.tex", EXPECT_ENDS, LIST_MESSAGE, false, true},
        {"Dane/Rozklady/128/Parametry.misji", EXPECT_ENDS, "pliku 'Dane/Rozklady/128/Parametry.misji'", false, true},
        {"Dane/Autobusy/Volvo7000/Parametry.busa", EXPECT_ENDS, "pliku 'Dane/Autobusy/Volvo7000/Parametry.busa'"},
        {"Dane/Autobusy/Volvo7000/DrzwiA.qx", EXPECT_PLAYS_ON, MODEL_MESSAGE, false, true},
        {"Dane/czcionka.gfx", EXPECT_PLAYS_ON, IMAGE_MESSAGE},
        {"Dane/Menu/nowagra_gora.gfx", EXPECT_PLAYS_ON, IMAGE_MESSAGE, true},
        {"Dane/Dzwiek/Volvo7000/klakson.sfx", EXPECT_PLAYS_ON, ""},
        {"Dane/Menu/muzyka.wav", EXPECT_PLAYS_ON, "", true},
        {"Opcje.ini", EXPECT_PLAYS_ON, ""},
    };
    for (const Case& c : cases)
        runCase(c);
}
