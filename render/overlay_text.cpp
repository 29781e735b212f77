#include "render/overlay_text.h"
#include "sim/rating.h"
#include "sim/state.h"

#include <cstdarg>

namespace {

constexpr int32_t OVERLAY_DASHBOARD_Y = 462;

struct HelpLine {
    int32_t y;
    int32_t set;
    const char* text;
};

// Headings in set 1 with an empty line above them, 17 units a line.
constexpr HelpLine OVERLAY_HELP[] = {
    {459, 1, "controls:"},
    {425, 1, "***gears***"},
    {408, 0, "q - forward"},
    {391, 0, "a - neutral"},
    {374, 0, "z - reverse"},
    {340, 1, "***other controls***"},
    {323, 0, "s - start/stop engine"},
    {306, 0, "k - horn"},
    {289, 0, "scroll lock - door closing warning"},
    {272, 0, "l - show/hide mirrors"},
    {255, 0, "c - headlights on/off"},
    {221, 1, "***indicator***"},
    {204, 0, ". - right indicator"},
    {187, 0, ", - left indicator"},
    {153, 1, "***doors***"},
    {136, 0, "delete, end, page down - open doors"},
    {119, 0, "insert, home, page up - closed doors"},
    {85, 1, "***views***"},
    {68, 0, "f1 - cab view"},
    {51, 0, "f2 - vehicle view"},
    {34, 0, "f3 - bumper view"},
    {17, 0, "f4 - roof view"},
    {0, 0, "f5 - Another vehicle view"},
};

// The run state's texts may be unset in a state nobody loaded; print them as empty.
const char* orEmpty(const char* text)
{
    return text ? text : "";
}

#if defined(__GNUC__)
__attribute__((format(printf, 6, 7)))
#endif
void addLine(OverlayTexts& out, int32_t x, int32_t y, int32_t set, uint8_t colour,
             const char* format, ...)
{
    if (out.count >= OVERLAY_LINE_MAX)
        return;
    OverlayLine& line = out.lines[out.count++];
    line.x = x;
    line.y = y;
    line.set = set;
    line.colour = colour;
    va_list args;
    va_start(args, format);
    formatFontText(line.text, format, args);
    va_end(args);
}

void addDashboardLine(OverlayTexts& out)
{
    constexpr int32_t y = OVERLAY_DASHBOARD_Y;
    constexpr uint8_t c = OVERLAY_COLOUR_DASHBOARD;
    addLine(out, 445, y, 0, c, "%3.0fKM/H", vehicle.busSpeedAbs * SIM_KMH_PER_SPEED);
    addLine(out, 105, y, 0, c, "%2.0f", stops.passengersAlighted);
    addLine(out, 145, y, 0, c, "%2.0f", stops.passengersBoarded);
    addLine(out, 185, y, 0, c, "%2.0f", stops.passengersOnBoard);
    addLine(out, 390, y, 0, c, "%2.0fl", engine.fuel);
    addLine(out, 255, y, 0, c, "%2.0f", gameClock.clockHours);
    addLine(out, 277, y, 0, c, ":");
    addLine(out, 285, y, 0, c, "%2.0f", gameClock.clockMinutes);
    addLine(out, 307, y, 0, c, ":");
    addLine(out, 315, y, 0, c, "%2.0f", gameClock.clockSeconds);
}

void addInfoOverlay(OverlayTexts& out)
{
    constexpr uint8_t c = OVERLAY_COLOUR_WHITE;
    addLine(out, 0, 17, 0, c, "z=%3.2f", -vehicle.busZ);
    addLine(out, 0, 34, 0, c, "x=%3.2f", vehicle.busX);
    addLine(out, 0, 68, 0, c, "speed=%3.1fkm/h", vehicle.busSpeedAbs * SIM_KMH_PER_SPEED);
    addLine(out, 0, 51, 0, c, "gears:%s", orEmpty(vehicle.gearText));
    addLine(out, 0, 85, 0, c, "resor left-right:%3.5f", vehicle.bodyRoll);
    addLine(out, 0, 102, 0, c, "resor forward-reverse:%3.5f", vehicle.pitchSway);
    addLine(out, 0, 119, 0, c, "door 3:%s", orEmpty(doors.text[2]));
    addLine(out, 0, 136, 0, c, "door 2:%s", orEmpty(doors.text[1]));
    addLine(out, 0, 153, 0, c, "door 1:%s", orEmpty(doors.text[0]));
    addLine(out, 0, 170, 0, c, "angle=%3.2f", stops.stopBearing);
    addLine(out, 0, 187, 0, c, "fuel=%3.2f", engine.fuel);
    addLine(out, 0, 204, 0, c, "X=%3.2f", stops.stopDX);
    addLine(out, 0, 221, 0, c, "Z=%3.2f", stops.stopDZ);
    addLine(out, 0, 255, 0, c, "steer=%3.2f", vehicle.steer);
    addLine(out, 0, 238, 0, c, "fps=%2.0i", static_cast<int>(gameClock.framesPerSecond));
}

void addEndPanel(OverlayTexts& out)
{
    constexpr uint8_t c = OVERLAY_COLOUR_WHITE;
    addLine(out, 265, 272, 1, c, "info:");
    addLine(out, 195, 255, 0, c, "points:%3.0f", frameRating.endPoints);
    addLine(out, 275, 221, 1, c, "sugest:");
    // The verdict as the end panel's rating left it.
    addLine(out, 140, 204, 0, c, "%s", orEmpty(frameRating.endVerdict));
}

void addHelp(OverlayTexts& out)
{
    for (const HelpLine& help : OVERLAY_HELP)
        addLine(out, 0, help.y, help.set, OVERLAY_COLOUR_WHITE, "%s", help.text);
}

} // namespace

void buildOverlayTexts(OverlayTexts& out)
{
    out.count = 0;
    addDashboardLine(out);
    if (view.infoShown == 1)
        addInfoOverlay(out);
    if (run.runFinished == 1)
        addEndPanel(out);
    addLine(out, 1, 1, 0, OVERLAY_COLOUR_GREEN, "punishment:%3.0f", frameRating.punishment);
    if (run.paused == 1)
        addLine(out, 280, 255, 0, OVERLAY_COLOUR_WHITE, "pauza");
    if (view.helpShown == 1)
        addHelp(out);
}
