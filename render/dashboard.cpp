#include "render/dashboard.h"
#include "render/font.h"
#include "assets/ids.h"
#include "sim/state.h"

#include <GL/gl.h>

#include <cmath>

namespace {

// The arrow turns about its own centre on the panel, in the panel's 5 x 3.75 space.
constexpr double DASH_ARROW_X = static_cast<double>(0.3f);
constexpr double DASH_ARROW_Y = static_cast<double>(3.175f);

OverlayTexts frameTexts;

void setLineColour(uint8_t colour)
{
    if (colour == OVERLAY_COLOUR_DASHBOARD)
        glColor3ub(151, 179, 228);
    else if (colour == OVERLAY_COLOUR_GREEN)
        glColor3f(0.0f, 1.0f, 0.0f);
    else
        glColor3f(1.0f, 1.0f, 1.0f);
}

} // namespace

void drawGaugePanel()
{
    glPushMatrix();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 5.0, 0.0, 3.75, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    // Standing exactly on the stop leaves no bearing (0 / 0); the arrow then just turns with the bus.
    const float bearing = std::isfinite(stops.stopBearing) ? stops.stopBearing : 0.0f;
    glPushMatrix();
    glTranslated(DASH_ARROW_X, DASH_ARROW_Y, 0.0);
    glRotatef(bearing + vehicle.busHeading, 0.0f, 0.0f, 1.0f);
    glTranslated(-DASH_ARROW_X, -DASH_ARROW_Y, 0.0);
    if (stops.atStop == 1)
        glColor3ub(0, 255, 0);
    else
        glColor3ub(255, 0, 0);
    glCallList(LIST_STOP_ARROW);
    glColor3ub(255, 255, 255);
    glPopMatrix();

    glPushMatrix();
    if (view.timetableShown == 1)
        glCallList(LIST_ROZKLAD);
    glCallList(LIST_WSKAZNIKI);
    glPopMatrix();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glPopMatrix();
}

void drawOverlayTexts(const OverlayTexts& texts)
{
    glDisable(GL_LIGHTING);
    int current = -1;
    for (int i = 0; i < texts.count && i < OVERLAY_LINE_MAX; ++i) {
        const OverlayLine& line = texts.lines[i];
        if (line.colour != current) {
            setLineColour(line.colour);
            current = line.colour;
        }
        printText(line.x, line.y, line.set, "%s", line.text);
    }
    // The scene's lists are coloured by the current colour: hand the next frame white.
    if (current != OVERLAY_COLOUR_WHITE)
        setLineColour(OVERLAY_COLOUR_WHITE);
    glEnable(GL_LIGHTING);
}

void drawDashboard()
{
    drawGaugePanel();
    buildOverlayTexts(frameTexts);
    drawOverlayTexts(frameTexts);
}
