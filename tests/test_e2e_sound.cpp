// The real program heard through the wave back end: each keyed sound is found where it was raised.
#include "tests/support/desktop.h"
#include "tests/support/test_util.h"
#include "tests/test_sound_analysis.h"

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

} // namespace

TEST(SoundEndToEnd, EachSoundIsHeardWhereItsKeyWasPressed)
{
    SKIP_WITHOUT_DISPLAY();
    ASSERT_FALSE(configBesideProgram());
    TempDir work;
    const std::string out = useWaveBackEnd(work.path);
    const OutputClock clock{out};
    Spawned game = startGame(generatedTree(), {"V"});
    const bool shown = waitForWindow("Velbrant", 20000);
    clock.wait(2.0);  // the run loads inside window creation; a few ticks pass
    if (!shown || !isRunning(game)) {
        stopProgram(game);
        FAIL() << (shown ? "ended early: " : "no window: ") << capturedErr(game);
    }

    // Keys held long enough for a slow software-drawn run; moments in seconds of the output.
    const auto hold = [&](const char* key, double s) {
        keyDown(key);
        clock.wait(s);
        keyUp(key);
        return clock.seconds();
    };
    const double starter = clock.seconds(), idle = hold("s", 5.0);  // the starter plays, the engine catches
    clock.wait(1.5);
    const double horn = clock.seconds(), hornUp = hold("k", 1.0);
    clock.wait(0.8);
    const double throttle = clock.seconds(), throttleUp = hold("Up", 3.0);
    hold("Down", 9.0);  // stop the bus so the door may open
    clock.wait(0.5);
    const double beforeDoor = clock.seconds(), door = beforeDoor + 0.3;
    clock.wait(0.3);
    pressKey("Delete", 200);
    clock.wait(1.5);
    EXPECT_EQ(endWith(game), 0) << capturedErr(game);
    const double ended = clock.seconds();

    const std::vector<float> heard = readOutput(out);
    ASSERT_GT(heard.size(), static_cast<size_t>(OUT_RATE * 10)) << "the output is too short";
    // The output runs from sound set-up to the shutdown; line it up on its end.
    const double offset = ended - static_cast<double>(heard.size()) / OUT_RATE;
    auto at = [&](double wall) { return wall - offset; };

    EXPECT_LT(rms(heard, 0.2, at(starter) - 0.1), 0.003) << "nothing plays before the engine starts";
    EXPECT_GT(rms(heard, at(starter) + 0.2, at(starter) + 1.2), 0.02) << "no starter";
    EXPECT_GT(rms(heard, at(idle) + 0.3, at(horn) - 0.1), 0.01) << "no idle engine";
    const double hornTone = toneLevel(heard, at(horn) + 0.2, at(hornUp) - 0.1, 466);
    EXPECT_GT(hornTone, 4.0 * toneLevel(heard, at(idle) + 0.3, at(horn) - 0.1, 466) + 0.005) << "no horn";
    EXPECT_LT(toneLevel(heard, at(hornUp) + 0.2, at(throttle) - 0.05, 466), 0.5 * hornTone)
        << "the horn went on after K was released";
    EXPECT_GT(crossingRate(heard, at(throttleUp) - 1.0, at(throttleUp) - 0.05),
              1.3 * crossingRate(heard, at(idle) + 0.3, at(horn) - 0.1))
        << "no throttle engine, or its pitch did not rise";
    EXPECT_GT(hissLevel(heard, at(door) + 0.05, at(door) + 0.6),
              2.0 * hissLevel(heard, at(beforeDoor) - 0.8, at(beforeDoor) - 0.1))
        << "no door";
}
