// Bad data reaching the player: one file of each kind the game reads, removed (and some damaged)
// in a copy of the generated tree, with the real program on the test display. The game either
// says what is wrong and ends with a non-zero status, or plays on where it is meant to (a missing
// picture costs its slot, a missing sound is silence, a missing model is empty and reported, no
// options file means the defaults). It never dies of a signal and never hangs. Which file of a
// tree is broken and how is velbrant-check's business (test_tools.cpp).
#include "tests/support/desktop.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// What became of one start: "ended N", "played on" (ended 0 on SIGTERM), "SIGNAL" or "HUNG".
std::string play(const std::string& tree, bool fromMenu, std::string* err)
{
    TempDir work;
    writeFile(work.file("alsoft.conf"),  // sound into a file: the sound files are really opened
              "[general]\ndrivers=wave\nchannels=stereo\nfrequency=22050\n[wave]\nfile=" +
                  work.file("out.wav") + "\n");
    const std::string diag = work.file("loads.txt");
    const std::vector<std::string> menu, run{"V"};
    Spawned game = startGame(tree, fromMenu ? menu : run, {"VELBRANT_DIAG_FILE=" + diag, "ALSOFT_LOGLEVEL=0",
                                                            "ALSOFT_CONF=" + work.file("alsoft.conf")});
    // Straight into a run the load is done inside window creation and the diagnostics line says
    // when; the menu loads its pictures at start.
    const auto loaded = [&] { return fromMenu ? waitForWindow("Velbrant", 50) : !readFile(diag).empty(); };
    if (waitUntil(40.0, loaded, &game))
        pause(fromMenu ? 1000 : 800);  // some ticks with what was loaded
    int status = waitForExit(game, 10);
    std::string what = status >= 0 ? "ended " + std::to_string(status) : "";
    if (status == -1) {
        status = endWith(game, SIGTERM, 15000);
        what = status == 0 ? "played on" : "played on, then " + std::to_string(status);
        what = status == -1 ? "HUNG" : what;
    }
    if (status == -2)
        what = "SIGNAL";
    *err = capturedErr(game);
    stopProgram(game);
    return what;
}

std::string damaged(const std::string& original)
{
    std::string out = original.substr(0, original.size() / 3);
    uint32_t state = 12345u;
    for (int i = 0; i < 700; ++i)
        out += static_cast<char>(((state = state * 214013u + 2531011u) >> 16) & 0xFF);
    return out;
}

const char* const ENDS = "ended 1";
const char* const PLAYS_ON = "played on";

} // namespace

TEST(BadData, OneFileOfEachKindRemovedOrDamaged)
{
    SKIP_WITHOUT_DISPLAY();
    struct Case {
        const char* file;
        const char* whenMissing;
        const char* message;  // what stderr holds when the file is missing; null: the file's name
        uint8_t fromMenu, damage;
    };
    const char* const noList = "Nie mog\xc4\x99 za\xc5\x82" "adowa\xc4\x87 pliku 'Tekstury.tex'.";
    const Case cases[] = {
        {"Dane/Trasy/Test/TeksturyN.tex", ENDS, noList, 0, 1},
        {"Dane/Rozklady/128/Parametry.misji", ENDS, nullptr, 0, 1},
        {"Dane/Autobusy/Volvo7000/Parametry.busa", ENDS, nullptr, 0, 0},
        {"Dane/Autobusy/Volvo7000/DrzwiA.qx", PLAYS_ON, "cannot open the model file", 0, 1},
        {"Dane/czcionka.gfx", PLAYS_ON, "Failed to open DIB file", 0, 0},
        {"Dane/Menu/nowagra_gora.gfx", PLAYS_ON, "Failed to open DIB file", 1, 0},
        {"Dane/Dzwiek/Volvo7000/klakson.sfx", PLAYS_ON, "", 0, 0},
        {"Dane/Menu/muzyka.wav", PLAYS_ON, "", 1, 0},
        {"Opcje.ini", PLAYS_ON, "", 0, 0},
    };
    TempDir tree;
    std::filesystem::copy(generatedTree(), tree.path, std::filesystem::copy_options::recursive);
    for (const Case& c : cases) {
        const std::string path = tree.file(c.file), original = readFile(path);
        ASSERT_FALSE(original.empty()) << c.file << " is not in the generated tree";
        std::string err;
        std::filesystem::remove(path);
        EXPECT_EQ(play(tree.path, c.fromMenu, &err), c.whenMissing) << c.file << " removed\n" << err;
        const std::string message = c.message ? c.message : "pliku '" + std::string(c.file) + "'";
        EXPECT_NE(err.find(message), std::string::npos) << c.file << " removed\n" << err;
        if (c.damage) {
            writeFile(path, damaged(original));
            const std::string what = play(tree.path, c.fromMenu, &err);
            const bool saysWhy = what.rfind("ended ", 0) == 0 && what != "ended 0" && !err.empty();
            EXPECT_TRUE(what == PLAYS_ON || saysWhy) << c.file << " damaged: " << what << "\n" << err;
        }
        writeFile(path, original);
    }
}
