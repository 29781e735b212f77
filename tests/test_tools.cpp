// The tools as their users run them: velbrant-check's verdicts and modes, velbrant-sim's runs, bad arguments.
#include "tests/support/bmp_build.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

CommandResult check(const std::string& args)
{
    return runCommand("'" + builtProgram("velbrant-check") + "' " + args);
}

Lines lines(const std::string& text)
{
    Lines out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// Whether the output has this line, or with a trailing '*' a line that starts so.
bool hasLine(const std::string& out, const std::string& want)
{
    const bool prefix = !want.empty() && want.back() == '*';
    return ("\n" + out + "\n").find("\n" + (prefix ? want.substr(0, want.size() - 1) : want + "\n")) !=
        std::string::npos;
}

Lines splitCsv(const std::string& line)
{
    Lines fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"')
            fields.back() += line[i++];
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

CommandResult sim(const std::string& arguments, const std::string& data = generatedTree())
{
    return runCommand("'" + builtProgram("velbrant-sim") + "' --data '" + data + "' " + arguments);
}

int column(const Lines& header, const std::string& name)
{
    return static_cast<int>(std::find(header.begin(), header.end(), name) - header.begin());
}

const char* const TRI = "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 ";

} // namespace

TEST(CheckTool, TreesAreJudgedWithEachProblemNamed)
{
    const auto judge = [](const std::string& tree, int status, const Lines& want) {
        const CommandResult r = check("'" + tree + "'");
        EXPECT_EQ(r.status, status) << r.out;
        EXPECT_NE(r.out.find(status ? ": not playable\n" : ": playable\n"), std::string::npos) << r.out;
        if (want.empty())
            EXPECT_NE(r.out.find(": 0 problems"), std::string::npos) << r.out;
        for (const std::string& line : want)
            EXPECT_TRUE(hasLine(r.out, line)) << line << "\n" << r.out;
    };
    judge(generatedTree(), 0, {});
    TempDir broken, optional;
    for (const TempDir* t : {&broken, &optional})
        ASSERT_EQ(runCommand("cp -r '" + generatedTree() + "/.' '" + t->path + "/'").status, 0);
    const auto put = [&](const char* rel, const std::string& text) { writeFile(broken.file(rel), text); };
    std::remove(broken.file("Dane/Autobusy/Urbino12/DrzwiB.qx").c_str());
    std::remove(broken.file("Dane/Dzwiek/Volvo7000/klakson.sfx").c_str());
    std::string count, image;  // the first picture of a list, cut short
    std::istringstream(readFile(broken.file("Dane/Autobusy/Volvo7000/TeksturyN.tex"))) >> count >> image;
    const std::string whole = readFile(broken.file(image));
    put(image.c_str(), whole.substr(0, whole.size() / 2));
    const std::string tri = TRI;
    put("Dane/Autobusy/Volvo7000/Standrzwi.qx", "6\nlamps\n" + tri + "0\n" + tri + "0\n" +
        "0 0 0 1 0 0 zero 1 0 0 0 1 0 0 1 0\n" + tri + "999\n" + tri + "0\n" + tri + "0\n");
    put("Dane/Wskazniki/Wskazniki.qx", "3\npanel only\n" + tri + "0\n" + tri + "0\n" + tri + "0\n");
    put("Dane/Pojazdy/F125/TeksturyN.tex", "500\n");
    put("Dane/Rozklady/128/Przystanki.roz", "3\n1 2\n3 4\n");
    put("Dane/Dzwiek/Volvo7000/drzwi_o.sfx", std::string(3000, '\x5a'));
    put("Dane/Rozklady/128/Parametry.misji", "1\n2\n1e99\n4\n5\n6\n7\n8\n");
    put("Opcje.ini", "[Opcje]\r\nJakoscTekstur=2\r\nOkno=abc\r\nRozdzielczosc=9\r\n");
    const std::string stopsLine = "Dane/Rozklady/128/Przystanki.roz: count 3 but 2 stop pairs: the game reads stops "
                                  "that are not there";
    judge(broken.path, 1,
          {"Dane/Autobusy/Urbino12/DrzwiB.qx: missing required file",
           "Dane/Dzwiek/Volvo7000/klakson.sfx: missing required file",
           image + ": image refused: Image file conversion error. (slot 0 of *",
           "Dane/Autobusy/Volvo7000/Standrzwi.qx: bad number at line 5 (1 triangle cut short)",
           "Dane/Autobusy/Volvo7000/Standrzwi.qx: texture index 999 of triangle 3 out of its group*",
           "Dane/Wskazniki/Wskazniki.qx: too few triangles (3)*",
           "Dane/Pojazdy/F125/TeksturyN.tex: count 500 out of range (0..100)",
           stopsLine,
           "Dane/Dzwiek/Volvo7000/drzwi_o.sfx: sound refused: not a mono or stereo sound file the game can decode",
           "Opcje.ini: Okno=abc is no whole number: the game reads 0",
           "Opcje.ini: Rozdzielczosc=9 out of range (0..5)",
           "Dane/Rozklady/128/Parametry.misji: number out of range at line 3",
           "Opcje.ini: JakoscTekstur is 2: the game finds no texture list and stops"});
    const CommandResult game = sim("--ticks 1 - < /dev/null", broken.path);  // the game's own load prints the same
    EXPECT_TRUE(hasLine(game.err, stopsLine)) << game.err;
    std::remove(optional.file("Opcje.ini").c_str());
    runCommand("rm -rf '" + optional.file("Dane/Radio") + "'");
    std::remove(optional.file("Dane/Trasy/Test/TeksturyW.tex").c_str());  // the default quality reads N
    const std::string gauges = optional.file("Dane/Wskazniki/Wskazniki.qx");
    std::rename(gauges.c_str(), optional.file("Dane/Wskazniki/WSKAZNIKI.qx").c_str());
    judge(optional.path, 0,
          {"Dane/Wskazniki/Wskazniki.qx: found only as Dane/Wskazniki/WSKAZNIKI.qx, in another letter case (optional)",
           "Opcje.ini: missing file: every option takes its default (optional)",
           "Dane/Radio/: missing folder: the radio has no tracks (optional)",
           "Dane/Trasy/Test/TeksturyW.tex: missing optional file (optional)"});
}

// Each example of the modders' guide, put in place in a copy of the tree, passes the game's readers.
TEST(CheckTool, TheModdingGuidesExamplesPassTheGamesReaders)
{
    TempDir tree;
    ASSERT_EQ(runCommand("cp -r '" + generatedTree() + "/.' '" + tree.path + "/'").status, 0);
    std::istringstream guide(readFile(VELBRANT_SOURCE_DIR "/docs/modding.md"));
    const std::string marker = "<!-- example: ";
    Lines written;
    std::string path, text;
    bool inBlock = false;
    for (std::string line; std::getline(guide, line);) {
        if (line.rfind(marker, 0) == 0) {
            path = line.substr(marker.size(), line.find(" -->") - marker.size());
        } else if (!path.empty() && !inBlock && line.rfind("```", 0) == 0) {
            inBlock = true;
        } else if (inBlock && line == "```") {
            writeFile(tree.file(path), text);
            written.push_back(path);
            path.clear();
            text.clear();
            inBlock = false;
        } else if (inBlock) {
            text += line + "\n";
        }
    }
    EXPECT_EQ(written.size(), 6u) << "the six examples: .busa, .misji, .roz, .tex, .qx, Opcje.ini";
    const CommandResult r = check("'" + tree.path + "'");
    EXPECT_TRUE(hasLine(r.out, "velbrant-check: " + tree.path + ": 0 problems, 0 warnings: playable")) << r.out;
}

TEST(Tools, BadArgumentsAndMissingInputAreRefusedSayingWhy)
{
    TempDir work;
    writeFile(work.file("bad.txt"), "0 10 Shift_L\n");
    const auto prog = [](const char* name) { return "'" + builtProgram(name) + "' "; };
    const std::string chk = prog("velbrant-check"), data = prog("velbrant-data"), bare = prog("velbrant-sim"),
                      sim = bare + "--data '" + generatedTree() + "' ";
    const struct { std::string command; int status; const char* says; } cases[] = {  // says: in out or err
        {chk + "nothing", 1, "nothing: missing folder"},
        {chk, 1, "velbrant-check: . is no data tree: it has no Dane folder"},
        {chk + "--bogus", 2, ""},
        {chk + "--image only-one-argument", 2, ""},
        {sim + "bad.txt", 2, "Shift_L"},
        {sim + "--every 0 -", 2, ""},
        {sim, 2, ""},
        {sim + "--soak -", 2, ""},
        {bare + "--ticks 5 - < /dev/null", 1, "Parametry.busa"},  // no run files in the folder
        {data, 2, "usage"},
        {data + "--bogus", 2, "usage"},
        {data + "--icon 64", 2, "usage"},
        {data + "--icon 15 i.png", 2, "16 to 1024"},
        {data + "--icon 1025 i.png", 2, "16 to 1024"},
    };
    for (const auto& c : cases) {
        const CommandResult r = runCommand(c.command, work.path);
        EXPECT_EQ(r.status, c.status) << c.command << "\n" << r.err;
        const bool said = hasLine(r.out, c.says) || r.err.find(c.says) != std::string::npos;
        EXPECT_TRUE(said) << c.says << " in neither\n" << r.out << r.err;
    }
    EXPECT_FALSE(fileExists(work.file("i.png")));
    EXPECT_FALSE(fileExists(work.file("--bogus")));
}

TEST(CheckTool, ImageAndModelModesShowWhatTheGameReads)
{
    TempDir dir;
    BmpSpec spec;
    spec.width = 3, spec.height = 2;
    spec.pixels = rows24({{0x0000FF, 0x00FF00, 0xFF0000}, {0xFFFFFF, 0x000000, 0x102030}});
    writeFile(dir.file("p.bmp"), asString(buildBmp(spec)));
    EXPECT_EQ(check("--image '" + dir.file("p.bmp") + "' '" + dir.file("p.ppm") + "'").status, 0);
    const char ppm[] = "P6\n3 2\n255\n"
                       "\xff\xff\xff\x00\x00\x00\x10\x20\x30\x00\x00\xff\x00\xff\x00\xff\x00\x00";
    EXPECT_EQ(readFile(dir.file("p.ppm")), std::string(ppm, sizeof ppm - 1)) << "top row first, black kept";
    spec.headerSize = 64;
    writeFile(dir.file("v4.bmp"), asString(buildBmp(spec)));
    const CommandResult refused = check("--image '" + dir.file("v4.bmp") + "' '" + dir.file("v4.ppm") + "'");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, dir.file("v4.bmp") + ": Unknown DIB file format.\n");

    writeFile(dir.file("m.qx"), std::string("3\nthree\n") + TRI + "4\n" + TRI + "2\n" + TRI + "4\n");
    const CommandResult r = check("--model '" + dir.file("m.qx") + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, dir.file("m.qx") + ": 3 triangles\nlabel: three\ntexture indices: 2 (1) 4 (2)\n");
    EXPECT_EQ(check("--model '" + dir.file("none.qx") + "'").status, 1);
}

// The autopilot finishes the route the same way twice and its recorded keys replay it; a key script of
// throttle and brake rises through the bands and stops, read from a file or standard input.
TEST(HeadlessDriver, AutopilotAndKeyScriptRuns)
{
    TempDir work;
    const CommandResult first = sim("--autopilot --every 100 --keys-out '" + work.file("keys.txt") + "'");
    ASSERT_EQ(first.status, 0) << first.err;
    const Lines rows = lines(first.out);
    ASSERT_GT(rows.size(), 10u);
    const Lines header = splitCsv(rows.front()), last = splitCsv(rows.back());
    ASSERT_EQ(header.size(), last.size());
    const Lines expected = {"tick",     "speed",   "kmh",   "heading", "x",    "z",       "gear",
                            "engine",   "fuel",    "doors", "sounds",  "stop", "onboard", "penalty",
                            "finished", "verdict", "clock", "lights",  "carx", "carz"};
    EXPECT_EQ(Lines(header.begin(), header.begin() + std::min(header.size(), expected.size())), expected);
    EXPECT_EQ(last[column(header, "finished")], "1");
    EXPECT_EQ(last[column(header, "verdict")], "great!!! you are super driver.") << "a careful drive earns the best";
    EXPECT_EQ(last[column(header, "speed")], "0.00000");
    for (size_t i = 1; i < rows.size(); ++i)  // a careful driver: never above 65 km/h
        EXPECT_LE(std::stod(splitCsv(rows[i])[column(header, "kmh")]), 65.0) << rows[i];
    EXPECT_EQ(sim("--autopilot --every 100").out, first.out);
    EXPECT_EQ(sim("--every 100 '" + work.file("keys.txt") + "'").out, first.out) << "the keys replay the run";

    writeFile(work.file("drive.txt"), "# start, forward gear, ten seconds of throttle, brake\n"
                                      "0 80 s\n81 82 q\n82 582 Up\n582 840 Down   # hold the brake\n");
    const CommandResult a = sim("'" + work.file("drive.txt") + "'");
    ASSERT_EQ(a.status, 0) << a.err;
    const Lines drive = lines(a.out);
    ASSERT_EQ(drive.size(), 841u) << "header and ticks 0..839";
    const int speed = column(header, "speed"), freq = column(header, "freq");
    ASSERT_LT(freq, static_cast<int>(header.size()));
    double top = 0.0;
    int drops = 0, previous = 0;
    for (int t = 82; t < 582; ++t) {
        const Lines row = splitCsv(drive[t + 1]);
        top = std::max(top, std::stod(row[speed]));
        drops += std::stoi(row[freq]) < previous ? 1 : 0;
        previous = std::stoi(row[freq]);
    }
    EXPECT_GT(top, 0.16) << "into the third band";
    EXPECT_GE(drops, 2) << "the engine pitch drops at each band";
    EXPECT_EQ(splitCsv(drive.back())[speed], "0.00000");
    EXPECT_EQ(sim("- < '" + work.file("drive.txt") + "'").out, a.out);
}

TEST(HeadlessDriver, AnInfiniteValueInTheRunStateEndsTheSoak)
{
    // A stop so far that its distance overflows the float.
    TempDir copy;
    ASSERT_EQ(runCommand("cp -r '" + generatedTree() + "/.' '" + copy.path + "/'").status, 0);
    writeFile(copy.file("Dane/Rozklady/128/Przystanki.roz"), "2\n3e38 0\n0 0\n");
    const CommandResult r = sim("--autopilot --soak --ticks 1000 --every 100", copy.path);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("stops.stopDistance is out of range"), std::string::npos) << r.err;
}

// The play script's tree: written when missing or when the generator changed; the player's settings stay.
TEST(PlayScript, TheTreeIsWrittenAgainOnlyForAChangedGeneratorAndKeepsThePlayersSettings)
{
    TempDir dir;
    const std::string logo = dir.file("Dane/Menu/logo.gfx");
    const std::string refresh = "'" VELBRANT_SOURCE_DIR "/scripts/game-tree.sh' '" + builtProgram("velbrant-data") +
                                "' '" + dir.path + "'";
    ASSERT_EQ(runCommand(refresh).status, 0);
    writeFile(dir.file("Opcje.ini"), "[Opcje]\nOkno=1\n");
    std::remove(logo.c_str());
    ASSERT_EQ(runCommand(refresh).status, 0);
    EXPECT_NE(access(logo.c_str(), F_OK), 0) << "the same generator leaves the tree alone";
    writeFile(dir.file(".velbrant-data.sha256"), "an older generator\n");
    ASSERT_EQ(runCommand(refresh).status, 0);
    EXPECT_EQ(access(logo.c_str(), F_OK), 0) << "a changed generator writes the tree again";
    EXPECT_EQ(readFile(dir.file("Opcje.ini")), "[Opcje]\nOkno=1\n");
}

// A straight lane north from the start past two stops: the autopilot drives it to the last stop,
// the checker takes it, and names a lane that misses a stop and a car path that is refused.
TEST(HeadlessDriver, AutopilotDrivesTheTreesLaneFileAndTheCheckerChecksIt)
{
    TempDir tree;
    ASSERT_EQ(runCommand("cp -r '" + generatedTree() + "/.' '" + tree.path + "/'").status, 0);
    writeFile(tree.file("Dane/Rozklady/128/Parametry.misji"), "0\n0\n0\n120\n7\n40\n5\n0\n");
    writeFile(tree.file("Dane/Rozklady/128/Przystanki.roz"), "2\n0 -60\n0 -120\n");
    writeFile(tree.file("Dane/Rozklady/128/Pas.trasy"), "2\n0 0\n0 -140\n");
    const CommandResult r = sim("--autopilot --every 100000", tree.path);
    ASSERT_EQ(r.status, 0) << r.err;
    const Lines header = splitCsv(lines(r.out).front()), last = splitCsv(lines(r.out).back());
    EXPECT_EQ(std::make_tuple(last[column(header, "finished")], last[column(header, "stop")]), std::make_tuple("1", "1"));
    EXPECT_NEAR(std::stod(last[column(header, "z")]), 120.0, 5.0);
    EXPECT_EQ(check("'" + tree.path + "'").status, 0);
    writeFile(tree.file("Dane/Rozklady/128/Pas.trasy"), "2\n0 0\n0 -100\n");
    writeFile(tree.file("Dane/Trasy/Test/Samochod.trasa"), "3\n0 0 0.3\n0 9 0.3\n");
    const std::string out = check("'" + tree.path + "'").out;
    EXPECT_TRUE(hasLine(out, "Dane/Rozklady/128/Pas.trasy: does not pass within 5 units of stop 2 after stop 1")) << out;
    EXPECT_TRUE(hasLine(out, "Dane/Trasy/Test/Samochod.trasa: the file ends at line 4 before its 3 points")) << out;
}
