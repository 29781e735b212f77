// The tools as their users run them, no display needed: velbrant-check on the generated tree, on
// copies with broken files and in its picture and model modes; velbrant-sim's autopilot and key
// scripts on the generated tree, deterministic and replayable.
#include "assets/params.h"
#include "tests/support/bmp_build.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string check(const std::string& args, int* status = nullptr, const std::string& workDir = ".")
{
    CommandResult r = runCommand("'" + builtProgram("velbrant-check") + "' " + args, workDir);
    if (status)
        *status = r.status;
    return r.out;
}

// Whether the output has this line (or, with prefix, a line that starts so).
bool hasLine(const std::string& out, const std::string& line, bool prefix = false)
{
    std::istringstream in(out);
    for (std::string l; std::getline(in, l);)
        if (prefix ? l.rfind(line, 0) == 0 : l == line)
            return true;
    return false;
}
bool hasLineStarting(const std::string& out, const std::string& start) { return hasLine(out, start, true); }

// A private copy of the generated tree to break.
struct TreeCopy {
    TempDir dir;
    TreeCopy()
    {
        CommandResult r = runCommand("cp -r '" + generatedTree() + "/.' '" + dir.path + "/'");
        EXPECT_EQ(r.status, 0) << r.err;
    }
    std::string file(const std::string& rel) const { return dir.path + "/" + rel; }
};

std::string firstListedImage(const std::string& listPath)
{
    std::istringstream in(readFile(listPath));
    int count = 0;
    std::string name;
    in >> count >> name;
    return name;
}

} // namespace

TEST(CheckTool, GeneratedTreeIsPlayable)
{
    int status = -1;
    const std::string out = check("'" + generatedTree() + "'", &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find(": 0 problems"), std::string::npos) << out;
    EXPECT_NE(out.find(": playable\n"), std::string::npos) << out;
}

TEST(CheckTool, BrokenFilesAreNamedWithTheirProblem)
{
    TreeCopy tree;
    // 1. a missing model of the second bus
    std::remove(tree.file("Dane/Autobusy/Urbino12/DrzwiB.qx").c_str());
    // 2. a truncated picture named by a list
    const std::string image = firstListedImage(tree.file("Dane/Autobusy/Volvo7000/TeksturyN.tex"));
    ASSERT_FALSE(image.empty());
    const std::string bytes = readFile(tree.file(image));
    writeFile(tree.file(image), bytes.substr(0, bytes.size() / 2));
    // 3. a bad number on line 5 of a model, 4. a texture index far outside its group
    writeFile(tree.file("Dane/Autobusy/Volvo7000/Standrzwi.qx"),
              "6\nlamps\n"
              "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 0\n"
              "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 0\n"
              "0 0 0 1 0 0 zero 1 0 0 0 1 0 0 1 0\n"
              "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 999\n"
              "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 0\n"
              "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 0\n");
    // 5. too few triangles for the gauges' stop arrow
    writeFile(tree.file("Dane/Wskazniki/Wskazniki.qx"),
              "3\npanel only\n"
              "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 0\n"
              "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 0\n"
              "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 0\n");
    // 6. a list count beyond its group
    writeFile(tree.file("Dane/Pojazdy/F125/TeksturyN.tex"), "500\n");
    // 7. a bad number in the stops, 8. a missing sound
    writeFile(tree.file("Dane/Rozklady/128/Przystanki.roz"), "2\n1 2\n3 x\n");
    // 9. a number out of the float range in the mission
    writeFile(tree.file("Dane/Rozklady/128/Parametry.misji"), "1\n2\n1e99\n4\n5\n6\n7\n8\n");
    std::remove(tree.file("Dane/Dzwiek/Volvo7000/klakson.sfx").c_str());

    int status = -1;
    const std::string out = check("'" + tree.dir.path + "'", &status);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(hasLine(out, "Dane/Autobusy/Urbino12/DrzwiB.qx: missing required file")) << out;
    EXPECT_TRUE(hasLineStarting(out, image + ": image refused: Image file conversion error. (slot 0 of ")) << out;
    EXPECT_TRUE(hasLine(out, "Dane/Autobusy/Volvo7000/Standrzwi.qx: bad number at line 5 (1 triangle cut short)")) << out;
    EXPECT_TRUE(hasLineStarting(out, "Dane/Autobusy/Volvo7000/Standrzwi.qx: texture index 999 of triangle 3 out of its group"))
        << out;
    EXPECT_TRUE(hasLineStarting(out, "Dane/Wskazniki/Wskazniki.qx: too few triangles (3)")) << out;
    EXPECT_TRUE(hasLine(out, "Dane/Pojazdy/F125/TeksturyN.tex: count 500 out of range (0..100)")) << out;
    EXPECT_TRUE(hasLine(out, "Dane/Rozklady/128/Przystanki.roz: bad number at line 3")) << out;
    EXPECT_TRUE(hasLine(out, "Dane/Rozklady/128/Parametry.misji: number out of range at line 3")) << out;
    EXPECT_TRUE(hasLine(out, "Dane/Dzwiek/Volvo7000/klakson.sfx: missing required file")) << out;
    EXPECT_NE(out.find(": not playable\n"), std::string::npos);
}

TEST(CheckTool, MissingOptionalThingsStillPlay)
{
    TreeCopy tree;
    std::remove(tree.file("Opcje.ini").c_str());
    runCommand("rm -rf '" + tree.file("Dane/Radio") + "'");
    // The default quality reads the N lists; a missing W list is only a warning.
    std::remove(tree.file("Dane/Trasy/Test/TeksturyW.tex").c_str());
    int status = -1;
    const std::string out = check("'" + tree.dir.path + "'", &status);
    EXPECT_TRUE(hasLine(out, "Opcje.ini: missing file: every option takes its default (optional)")) << out;
    EXPECT_TRUE(hasLine(out, "Dane/Radio/: missing folder: the radio has no tracks (optional)")) << out;
    EXPECT_TRUE(hasLine(out, "Dane/Trasy/Test/TeksturyW.tex: missing optional file (optional)")) << out;
    EXPECT_EQ(status, 0) << out;
}

TEST(CheckTool, UnreadableListQualityStopsTheGame)
{
    TreeCopy tree;
    writeFile(tree.file("Opcje.ini"), "[Opcje]\r\nJakoscTekstur=2\r\n");
    int status = -1;
    const std::string out = check("'" + tree.dir.path + "'", &status);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(hasLine(out, "Opcje.ini: JakoscTekstur is 2: the game finds no texture list and stops")) << out;
}

TEST(CheckTool, MissingFolderIsNotPlayable)
{
    TempDir dir;
    int status = -1;
    const std::string out = check("'" + dir.file("nothing") + "'", &status);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(hasLine(out, dir.file("nothing") + ": missing folder")) << out;
    check("--bogus", &status);
    EXPECT_EQ(status, 2);
    check("--image only-one-argument", &status);
    EXPECT_EQ(status, 2);
}

TEST(CheckTool, ImageModeWritesThePictureAsTheGameDecodesIt)
{
    TempDir dir;
    BmpSpec spec;
    spec.width = 3;
    spec.height = 2;
    spec.pixels = rows24({{0x0000FF, 0x00FF00, 0xFF0000}, {0xFFFFFF, 0x000000, 0x102030}});
    writeFile(dir.file("p.bmp"), asString(buildBmp(spec)));
    int status = -1;
    const std::string out = check("--image '" + dir.file("p.bmp") + "' '" + dir.file("p.ppm") + "'", &status);
    EXPECT_EQ(status, 0) << out;
    const std::string header = "P6\n3 2\n255\n";
    const std::string want = header + std::string("\xff\xff\xff\x00\x00\x00\x10\x20\x30"
                                                  "\x00\x00\xff\x00\xff\x00\xff\x00\x00",
                                                  18);
    EXPECT_EQ(readFile(dir.file("p.ppm")), want) << "top row first, black kept (no colour key)";

    spec.headerSize = 64;
    writeFile(dir.file("v4.bmp"), asString(buildBmp(spec)));
    const std::string refused = check("--image '" + dir.file("v4.bmp") + "' '" + dir.file("v4.ppm") + "'", &status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(refused, dir.file("v4.bmp") + ": Unknown DIB file format.\n");
}

TEST(CheckTool, ModelModeListsCountLabelAndIndices)
{
    TempDir dir;
    writeFile(dir.file("m.qx"),
              "3\nthree little triangles\n"
              "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 4\n"
              "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 2\n"
              "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 4\n");
    int status = -1;
    const std::string out = check("--model '" + dir.file("m.qx") + "'", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, dir.file("m.qx") + ": 3 triangles\nlabel: three little triangles\ntexture indices: 2 (1) 4 (2)\n");
    check("--model '" + dir.file("none.qx") + "'", &status);
    EXPECT_EQ(status, 1);
}

namespace {

std::vector<std::string> splitCsv(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

std::string sim(const std::string& arguments)
{
    return "'" + builtProgram("velbrant-sim") + "' --data '" + generatedTree() + "' " + arguments;
}

int column(const std::vector<std::string>& header, const std::string& name)
{
    for (size_t i = 0; i < header.size(); ++i)
        if (header[i] == name)
            return static_cast<int>(i);
    return -1;
}

}  // namespace

TEST(HeadlessDriver, AutopilotFinishesTheRouteDeterministicallyAndReplays)
{
    TempDir work;
    const CommandResult first = runCommand(sim("--autopilot --every 100 --keys-out '" + work.file("keys.txt") + "'"));
    ASSERT_EQ(first.status, 0) << first.err;
    const std::vector<std::string> rows = lines(first.out);
    ASSERT_GT(rows.size(), 10u);
    const std::vector<std::string> header = splitCsv(rows.front());
    const std::vector<std::string> last = splitCsv(rows.back());
    ASSERT_EQ(header.size(), last.size());
    const char* const expected[] = {"tick", "speed", "kmh",   "heading",  "x",       "z",     "gear",
                                    "engine", "fuel", "doors", "sounds",  "stop",    "onboard", "penalty",
                                    "finished", "verdict", "clock", "lights", "carx", "carz"};
    for (size_t i = 0; i < sizeof expected / sizeof expected[0]; ++i)
        EXPECT_EQ(header[i], expected[i]);
    EXPECT_EQ(last[column(header, "finished")], "1");
    EXPECT_FALSE(last[column(header, "verdict")].empty());
    EXPECT_EQ(last[column(header, "speed")], "0.00000");
    RouteTable stops{};
    ASSERT_TRUE(readStopsFile((generatedTree() + "/Dane/Rozklady/128/Przystanki.roz").c_str(), &stops));
    EXPECT_EQ(std::stoi(last[column(header, "stop")]), stops.stopCount - 1);
    // A careful driver: never above 65 km/h.
    for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_LE(std::stod(splitCsv(rows[i])[column(header, "kmh")]), 65.0) << rows[i];

    const CommandResult second = runCommand(sim("--autopilot --every 100"));
    ASSERT_EQ(second.status, 0);
    EXPECT_EQ(second.out, first.out) << "two runs, same output";

    const CommandResult replay = runCommand(sim("--every 100 '" + work.file("keys.txt") + "'"));
    ASSERT_EQ(replay.status, 0) << replay.err;
    EXPECT_EQ(replay.out, first.out) << "the recorded keys replay the same run";
}

TEST(HeadlessDriver, ThrottleAndBrakeScriptRisesThroughTheBandsAndStops)
{
    TempDir work;
    writeFile(work.file("drive.txt"),
              "# start, forward gear, ten seconds of throttle, brake\n"
              "0 40 s\n41 42 q\n42 542 Up\n542 800 Down   # hold the brake\n");
    const CommandResult a = runCommand(sim("'" + work.file("drive.txt") + "'"));
    ASSERT_EQ(a.status, 0) << a.err;
    const std::vector<std::string> rows = lines(a.out);
    ASSERT_EQ(rows.size(), 801u) << "header and ticks 0..799";
    const std::vector<std::string> header = splitCsv(rows.front());
    const int speed = column(header, "speed");
    const int freq = column(header, "freq");
    ASSERT_GE(freq, 0);
    double top = 0.0;
    int drops = 0;
    int previous = 0;
    for (int t = 42; t < 542; ++t) {
        const std::vector<std::string> row = splitCsv(rows[t + 1]);
        top = std::max(top, std::stod(row[speed]));
        const int f = std::stoi(row[freq]);
        drops += f < previous ? 1 : 0;
        previous = f;
    }
    EXPECT_GT(top, 0.16) << "into the third band";
    EXPECT_GE(drops, 2) << "the engine pitch drops at each band";
    EXPECT_EQ(splitCsv(rows.back())[speed], "0.00000");
    const CommandResult b = runCommand(sim("'" + work.file("drive.txt") + "'"));
    EXPECT_EQ(a.out, b.out);
    // The same script on standard input.
    const CommandResult c = runCommand(sim("- < '" + work.file("drive.txt") + "'"));
    EXPECT_EQ(a.out, c.out);
}

TEST(HeadlessDriver, RejectsUnknownKeysAndBadArguments)
{
    TempDir work;
    writeFile(work.file("bad.txt"), "0 10 Shift_L\n");
    const CommandResult bad = runCommand(sim("'" + work.file("bad.txt") + "'"));
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("Shift_L"), std::string::npos);
    EXPECT_EQ(runCommand(sim("--every 0 -")).status, 2);
    EXPECT_EQ(runCommand(sim("")).status, 2);
    const CommandResult noData =
        runCommand("'" + builtProgram("velbrant-sim") + "' --ticks 5 -  < /dev/null", work.path);
    EXPECT_NE(noData.status, 0) << "no run files in an empty folder";
    EXPECT_NE(noData.err.find("Parametry.busa"), std::string::npos);
}

TEST(HeadlessDriver, AnInfiniteValueInTheRunStateEndsTheSoak)
{
    // A stop so far away that its distance overflows the float: the check must see it.
    TempDir copy;
    std::filesystem::copy(generatedTree(), copy.path, std::filesystem::copy_options::recursive);
    writeFile(copy.file("Dane/Rozklady/128/Przystanki.roz"), "2\n3e38 0\n0 0\n");
    const CommandResult r = runCommand("'" + builtProgram("velbrant-sim") + "' --data '" + copy.path + "' --autopilot --soak --ticks 1000 --every 100");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("stops.stopDistance is out of range"), std::string::npos) << r.err;
}

TEST(HeadlessDriver, SoakNeedsTheAutopilot)
{
    const CommandResult r = runCommand("'" + builtProgram("velbrant-sim") + "' --soak -", ".");
    EXPECT_EQ(r.status, 2);
}
