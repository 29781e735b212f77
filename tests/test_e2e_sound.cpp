// The real program heard through OpenAL Soft's wave back end: driven by key events (engine
// start, idle, horn, throttle, a door), each sound is found in the output where it was raised.
#include "tests/support/desktop.h"
#include "tests/support/test_util.h"
#include "tests/test_sound_analysis.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

using namespace soundtest;

namespace {

// The level of the output's first difference: the hiss of air, not the engine's low beat.
double hissLevel(const std::vector<float>& s, double from, double to)
{
    std::vector<float> d(s.size(), 0.0f);
    for (size_t i = 1; i < s.size(); ++i)
        d[i] = s[i] - s[i - 1];
    return rms(d, from, to);
}

// Zero crossings a second: it rises and falls with the pitch of everything heard.
double crossingRate(const std::vector<float>& s, double from, double to)
{
    const size_t a = frameAt(from), b = std::min(frameAt(to), s.size());
    if (b <= a + 1)
        return 0.0;
    int crossings = 0;
    for (size_t i = a + 1; i < b; ++i)
        crossings += (s[i - 1] < 0.0f) != (s[i] < 0.0f) ? 1 : 0;
    return crossings / (static_cast<double>(b - a) / OUT_RATE);
}

struct Moment {
    const char* what;
    double at = 0.0;  // seconds into the output
};

} // namespace

TEST(SoundEndToEnd, EachSoundIsHeardWhereItsKeyWasPressed)
{
    if (!haveDisplay())
        GTEST_SKIP() << "no X display";
    ASSERT_FALSE(configBesideProgram());
    TempDir work;
    const std::string out = useWaveBackEnd(work.path);
    const OutputClock clock{out};
    Spawned game = spawnProgram(builtProgram("velbrant"), {"V"}, generatedTree(),
                                {"XDG_RUNTIME_DIR=" + work.path, "ALSOFT_CONF=" + work.path + "/alsoft.conf"});
    if (!waitForWindow("Velbrant", 20000)) {
        const std::string err = capturedErr(game);
        stopProgram(game);
        FAIL() << "no window: " << err;
    }
    clock.wait(2.0);  // the run's load is done inside window creation; let a few ticks pass
    ASSERT_TRUE(isRunning(game)) << capturedErr(game);

    Moment quietEnd{"quiet"}, starter{"starter"}, idle{"idle"}, horn{"horn"}, hornUp{"horn released"},
        throttle{"throttle"}, throttleUp{"throttle released"}, door{"door"};
    quietEnd.at = clock.seconds();
    starter.at = clock.seconds();
    // Every step counts ticks, and a software-drawn run may manage far fewer than 50 a second:
    // the keys are held long enough for the slowest.
    keyDown("s");
    clock.wait(5.0);  // the starter plays, the engine catches
    keyUp("s");
    idle.at = clock.seconds();
    clock.wait(1.5);
    horn.at = clock.seconds();
    keyDown("k");
    clock.wait(1.0);
    keyUp("k");
    hornUp.at = clock.seconds();
    clock.wait(0.8);
    throttle.at = clock.seconds();
    keyDown("Up");
    clock.wait(3.0);
    keyUp("Up");
    throttleUp.at = clock.seconds();
    keyDown("Down");  // stop the bus so the door may open
    clock.wait(9.0);
    keyUp("Down");
    clock.wait(0.5);
    const double beforeDoor = clock.seconds();
    door.at = beforeDoor + 0.3;
    clock.wait(0.3);
    pressKey("Delete", 200);
    clock.wait(1.5);
    sendSignal(game, SIGTERM);
    EXPECT_EQ(waitForExit(game, 10000), 0) << capturedErr(game);
    const double ended = clock.seconds();

    const std::vector<float> heard = readOutput(out);
    ASSERT_GT(heard.size(), static_cast<size_t>(OUT_RATE * 10)) << "the output is too short";
    // The output runs from sound set-up to the shutdown; line it up on its end.
    const double offset = ended - static_cast<double>(heard.size()) / OUT_RATE;
    auto at = [&](double wall) { return wall - offset; };

    EXPECT_LT(rms(heard, 0.2, at(quietEnd.at) - 0.1), 0.003) << "nothing plays before the engine starts";
    EXPECT_GT(rms(heard, at(starter.at) + 0.2, at(starter.at) + 1.2), 0.02) << "no starter";
    const double idleLevel = rms(heard, at(idle.at) + 0.3, at(horn.at) - 0.1);
    EXPECT_GT(idleLevel, 0.01) << "no idle engine";
    // The horn's upper tone against the idle engine just before it.
    const double hornTone = toneLevel(heard, at(horn.at) + 0.2, at(hornUp.at) - 0.1, 466);
    const double idleTone = toneLevel(heard, at(idle.at) + 0.3, at(horn.at) - 0.1, 466);
    EXPECT_GT(hornTone, 4.0 * idleTone + 0.005) << "no horn";
    EXPECT_LT(toneLevel(heard, at(hornUp.at) + 0.2, at(throttle.at) - 0.05, 466), 0.5 * hornTone)
        << "the horn went on after K was released";
    // Under throttle the engine's pitch climbs well above idle.
    const double idlePitch = crossingRate(heard, at(idle.at) + 0.3, at(horn.at) - 0.1);
    const double throttlePitch = crossingRate(heard, at(throttleUp.at) - 1.0, at(throttleUp.at) - 0.05);
    EXPECT_GT(rms(heard, at(throttleUp.at) - 1.0, at(throttleUp.at) - 0.05), 0.005) << "no throttle engine";
    EXPECT_GT(throttlePitch, 1.3 * idlePitch) << "the engine's pitch did not rise under throttle";
    const double doorHiss = hissLevel(heard, at(door.at) + 0.05, at(door.at) + 0.6);
    const double calmHiss = hissLevel(heard, at(beforeDoor) - 0.8, at(beforeDoor) - 0.1);
    EXPECT_GT(doorHiss, 2.0 * calmHiss) << "no door";
    std::printf("starter %.4f idle %.4f horn %.4f/%.4f pitch %.0f/%.0f door %.4f/%.4f\n",
                rms(heard, at(starter.at) + 0.2, at(starter.at) + 1.2), idleLevel, hornTone, idleTone, throttlePitch,
                idlePitch, doorHiss, calmHiss);
}
