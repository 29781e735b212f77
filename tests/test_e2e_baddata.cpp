// One file of each kind removed (some damaged): the game says why and ends non-zero, or plays on where
// meant to; never a signal or a hang.
#include "tests/support/desktop.h"
#include "tests/support/test_util.h"
#include "tests/test_sound_analysis.h"

#include <filesystem>
#include <string>

namespace {

// "ended N", "played on" (ended 0 on SIGTERM), "SIGNAL" or "HUNG".
std::string play(const std::string& tree, bool fromMenu, std::string* err)
{
    TempDir work;
    soundtest::useWaveBackEnd(work.path);  // sound into a file: the sound files really are opened
    const std::string diag = work.file("loads.txt");
    const std::vector<std::string> menu, run{"V"};
    Spawned game = startGame(tree, fromMenu ? menu : run, {"VELBRANT_DIAG_FILE=" + diag});
    // A run loads inside window creation, the diagnostics line says when; the menu loads at start.
    const auto loaded = [&] { return fromMenu ? waitForWindow("Velbrant", 50) : !readFile(diag).empty(); };
    if (waitUntil(40.0, loaded, &game))
        pause(fromMenu ? 1000 : 800);  // some ticks with what was loaded
    const int ended = waitForExit(game, 10), status = ended == -1 ? endWith(game, SIGTERM, 15000) : ended;
    *err = capturedErr(game);
    stopProgram(game);
    if (status < 0)
        return status == -1 ? "HUNG" : "SIGNAL";
    if (ended >= 0)
        return "ended " + std::to_string(status);
    return status == 0 ? "played on" : "played on, then " + std::to_string(status);
}

std::string damaged(const std::string& original)
{
    std::string out = original.substr(0, original.size() / 3);
    uint32_t state = 12345u;
    for (int i = 0; i < 700; ++i)
        out += static_cast<char>(((state = state * 214013u + 2531011u) >> 16) & 0xFF);
    return out;
}

const char* const ENDS = "ended 1", *const PLAYS_ON = "played on";

} // namespace

TEST(BadData, OneFileOfEachKindRemovedOrDamaged)
{
    SKIP_WITHOUT_DISPLAY();
    // message: what stderr holds when the file is missing; null: the file's name
    struct Case { const char* file; const char* whenMissing; const char* message; uint8_t fromMenu, damage; };
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
            if (what != PLAYS_ON) {  // or it ends, saying why
                EXPECT_EQ(what.rfind("ended ", 0), 0u) << c.file << " damaged: " << what;
                EXPECT_NE(what, "ended 0") << c.file << " damaged: a failure reported as success";
                EXPECT_FALSE(err.empty()) << c.file << " damaged: ended without saying why";
            }
        }
        writeFile(path, original);
    }
}
