// Bad data end to end: every file the game needs, removed and then damaged in turn, in a copy of
// the generated tree, with the real program on the test display. The game either says what is
// wrong on stderr and ends with a non-zero status, or plays on where it is meant to (a missing
// picture costs its slot, a missing sound is silence, a missing model is empty and reported,
// no options file means the defaults). It never dies of a signal and never hangs.
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
                pause(1500);
                ready = true;
                break;
            }
            pause(50);
        }
        if (ready)
            pause(1200);  // some ticks of the run with what was loaded
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

TEST_F(BadData, TextureLists)
{
    for (const char* f : {"Dane/Trasy/Test/TeksturyN.tex", "Dane/Autobusy/Volvo7000/TeksturyN.tex",
                          "Dane/Pojazdy/F125/TeksturyN.tex", "Dane/Wskazniki/Tekstury.tex",
                          "Dane/Rozklady/128/Tekstury.tex"})
        runCase({f, EXPECT_ENDS, LIST_MESSAGE});
}

TEST_F(BadData, RouteAndOtherModels)
{
    for (const char* f : {"Dane/Trasy/Test/Plansza.qx", "Dane/Trasy/Test/Niebo.qx", "Dane/Trasy/Test/ZoltyA.qx",
                          "Dane/Trasy/Test/CzerwonyA.qx", "Dane/Trasy/Test/ZielonyA.qx", "Dane/Trasy/Test/ZoltyB.qx",
                          "Dane/Trasy/Test/CzerwonyB.qx", "Dane/Trasy/Test/ZielonyB.qx", "Dane/Pojazdy/F125/Model.qx",
                          "Dane/Rozklady/128/Rozklad.qx", "Dane/Wskazniki/Wskazniki.qx"})
        runCase({f, EXPECT_PLAYS_ON, MODEL_MESSAGE});
}

TEST_F(BadData, BusModels)
{
    for (const char* f : {"ModelZew.qx", "ModelWew.qx", "Swiatlostop.qx", "Swiatlowsteczne.qx", "SwiatlokierL.qx",
                          "SwiatlokierP.qx", "Swiatlodrogowe.qx", "KoloprzednieL.qx", "KoloprzednieP.qx",
                          "Kolatylnie.qx", "Standrzwi.qx", "DrzwiA.qx", "DrzwiB.qx"})
        runCase({std::string("Dane/Autobusy/Volvo7000/") + f, EXPECT_PLAYS_ON, MODEL_MESSAGE});
}

TEST_F(BadData, RunFiles)
{
    for (const char* f : {"Dane/Autobusy/Volvo7000/Parametry.busa", "Dane/Rozklady/128/Parametry.misji",
                          "Dane/Rozklady/128/Przystanki.roz"})
        runCase({f, EXPECT_ENDS, std::string("pliku '") + f + "'"});
}

TEST_F(BadData, FontPictureAndATexture)
{
    runCase({"Dane/czcionka.gfx", EXPECT_PLAYS_ON, IMAGE_MESSAGE});
    // The first picture the route list names: only its slot is lost.
    const std::string list = readFile(tree->file("Dane/Trasy/Test/TeksturyN.tex"));
    char first[256] = {};
    ASSERT_EQ(std::sscanf(list.c_str(), "%*d %255s", first), 1);
    runCase({first, EXPECT_PLAYS_ON, IMAGE_MESSAGE});
}

TEST_F(BadData, MenuPicturesOfTheOpeningAndTheButtons)
{
    for (const char* f : {"logo", "tlo", "nowagra_gora", "nowagra_dol", "autobusy_gora", "autobusy_dol", "ogrze_gora"})
        runCase({std::string("Dane/Menu/") + f + ".gfx", EXPECT_PLAYS_ON, IMAGE_MESSAGE, true});
}

TEST_F(BadData, MenuPicturesOfTheButtonsAndPanels)
{
    for (const char* f : {"ogrze_dol", "wyjscie_gora", "wyjscie_dol", "ogrze", "autobusy", "nowagra"})
        runCase({std::string("Dane/Menu/") + f + ".gfx", EXPECT_PLAYS_ON, IMAGE_MESSAGE, true});
}

TEST_F(BadData, SoundFiles)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(tree->file("Dane/Dzwiek/Volvo7000")))
        files.push_back("Dane/Dzwiek/Volvo7000/" + entry.path().filename().string());
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty());
    for (const std::string& f : files)
        runCase({f, EXPECT_PLAYS_ON, ""});
    runCase({"Dane/Menu/muzyka.wav", EXPECT_PLAYS_ON, "", true});
}

TEST_F(BadData, OptionsFile)
{
    runCase({"Opcje.ini", EXPECT_PLAYS_ON, ""});
}
