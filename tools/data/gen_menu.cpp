// The 13 menu pictures under "Dane/Menu/": logo, background, the four buttons selected ("gora")
// and not ("dol"), and the three panels (about with the keys, buses, new game).
//
// The game stretches each picture over a fixed quad, so every picture is drawn for its quad's
// shape on a 4:3 screen: the letters are squeezed by the stretch they will get. No picture has a
// pure black texel: black is the colour key, and after a run the menu is drawn without the alpha
// test, so a keyed texel would show as black instead of vanishing.
#include "sim/state.h"
#include "tools/common/bus_designs.h"
#include "tools/data/gen.h"
#include "tools/data/glyphs.h"
#include "tools/data/writers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr float MENU_SCREEN_ASPECT = 4.0f / 3.0f;
constexpr int MENU_FULL_SIZE = 1024;       // logo and background: square, shown at 4:3
constexpr int MENU_BUTTON_WIDTH = 512;
constexpr int MENU_BUTTON_HEIGHT = 64;
constexpr int MENU_PANEL_WIDTH = 1024;     // the panel quad is 1.8 x 1.2: 2:1 on a 4:3 screen
constexpr int MENU_PANEL_HEIGHT = 512;
constexpr float MENU_FULL_SQUEEZE = 1.0f / MENU_SCREEN_ASPECT;

struct Rgb {
    uint8_t r, g, b;
};

constexpr Rgb MENU_WHITE{240, 242, 246};
constexpr Rgb MENU_AMBER{255, 200, 70};
constexpr Rgb MENU_INK{26, 20, 10};
constexpr Rgb MENU_PANEL_TEXT{214, 222, 236};

uint8_t mix(uint8_t a, uint8_t b, float t)
{
    return static_cast<uint8_t>(std::lround(a + (b - a) * std::clamp(t, 0.0f, 1.0f)));
}

Rgb mixRgb(Rgb a, Rgb b, float t)
{
    return Rgb{mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t)};
}

void fill(Picture& p, int x0, int y0, int x1, int y1, Rgb c)
{
    p.fillRect(x0, y0, x1, y1, c.r, c.g, c.b);
}

// A rectangle blended over what is there, alpha 0..1.
void shade(Picture& p, int x0, int y0, int x1, int y1, Rgb c, float alpha)
{
    for (int y = std::max(0, y0); y < std::min(p.height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(p.width, x1); ++x) {
            uint8_t* px = p.at(x, y);
            px[0] = mix(px[0], c.r, alpha);
            px[1] = mix(px[1], c.g, alpha);
            px[2] = mix(px[2], c.b, alpha);
        }
}

void verticalGradient(Picture& p, int y0, int y1, Rgb top, Rgb bottom)
{
    for (int y = std::max(0, y0); y < std::min(p.height, y1); ++y)
        fill(p, 0, y, p.width, y + 1, mixRgb(top, bottom, static_cast<float>(y - y0) / std::max(1, y1 - y0 - 1)));
}

void border(Picture& p, int x0, int y0, int x1, int y1, int thickness, Rgb c)
{
    fill(p, x0, y0, x1, y0 + thickness, c);
    fill(p, x0, y1 - thickness, x1, y1, c);
    fill(p, x0, y0, x0 + thickness, y1, c);
    fill(p, x1 - thickness, y0, x1, y1, c);
}

// A filled ellipse, so circles stay round after the picture's stretch.
void ellipse(Picture& p, float cx, float cy, float rx, float ry, Rgb c)
{
    for (int y = static_cast<int>(cy - ry) - 1; y <= static_cast<int>(cy + ry) + 1; ++y)
        for (int x = static_cast<int>(cx - rx) - 1; x <= static_cast<int>(cx + rx) + 1; ++x) {
            const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f)
                p.set(x, y, c.r, c.g, c.b);
        }
}

// The colour key must not appear: nudge pure black to the darkest opaque grey.
void keepOpaque(Picture& p)
{
    for (size_t i = 0; i < p.rgb.size(); i += 3)
        if (p.rgb[i] == 0 && p.rgb[i + 1] == 0 && p.rgb[i + 2] == 0)
            p.rgb[i] = p.rgb[i + 1] = p.rgb[i + 2] = 2;
}

TextStyle style(int face, int height, float squeeze, Rgb c)
{
    TextStyle s;
    s.face = face;
    s.pixelHeight = height;
    s.widthScale = squeeze;
    s.r = c.r;
    s.g = c.g;
    s.b = c.b;
    return s;
}

// Text with a soft drop shadow, for titles over pictures.
void shadowedText(Picture& p, int centreX, int baseline, const std::string& text, TextStyle s, int offset)
{
    TextStyle shadow = s;
    shadow.r = 8;
    shadow.g = 10;
    shadow.b = 20;
    drawTextCentred(p, centreX + offset, baseline + offset, text, shadow);
    drawTextCentred(p, centreX, baseline, text, s);
}

// A city bus seen from its right side, w x h texels; squeeze is the texels per screen pixel
// across (below 1 for pictures the game stretches sideways), so the wheels stay round.
Rgb rgbOf(BusColour c)
{
    return Rgb{c.r, c.g, c.b};
}

// A bus in its livery, side on, facing right.
void drawBusSide(Picture& p, int x, int y, int w, int h, float squeeze, BusColour bodyColour, BusColour skirtColour,
                 BusColour stripeColour)
{
    const Rgb body = rgbOf(bodyColour), stripe = rgbOf(stripeColour);
    const Rgb glass{56, 82, 110};
    const Rgb glassLight{120, 160, 190};
    const Rgb dark{22, 24, 30};
    const int roof = y + h / 12;
    const int bottom = y + h * 82 / 100;
    fill(p, x + w / 60, y, x + w - w / 60, roof, mixRgb(body, MENU_WHITE, 0.3f));  // roof hatch line
    fill(p, x, roof, x + w, bottom, body);
    // Windows band, with the windscreen at the front (right).
    const int winTop = roof + h / 10, winBottom = roof + h * 42 / 100;
    fill(p, x + w / 40, winTop, x + w - w / 40, winBottom, glass);
    for (int k = 1; k < 8; ++k) {
        const int px = x + w / 40 + k * (w - w / 20) / 8;
        fill(p, px - 2, winTop, px + 2, winBottom, body);
    }
    shade(p, x + w / 40, winTop, x + w - w / 40, winTop + (winBottom - winTop) / 3, glassLight, 0.35f);
    // Destination display above the windscreen.
    fill(p, x + w * 88 / 100, roof + h / 40, x + w - w / 30, winTop - h / 60, Rgb{30, 26, 12});
    fill(p, x + w * 89 / 100, roof + h / 25, x + w - w / 24, winTop - h / 40, MENU_AMBER);
    // Stripe under the windows.
    fill(p, x, winBottom + h / 30, x + w, winBottom + h / 12, stripe);
    // Three double doors.
    const int doorW = w / 11;
    for (int centre : {w * 84 / 100, w * 50 / 100, w * 17 / 100}) {
        const int dx = x + centre - doorW / 2;
        fill(p, dx, winTop, dx + doorW, bottom - h / 30, dark);
        fill(p, dx + 3, winTop + 3, dx + doorW / 2 - 2, bottom - h / 30 - 3, glass);
        fill(p, dx + doorW / 2 + 2, winTop + 3, dx + doorW - 3, bottom - h / 30 - 3, glass);
    }
    fill(p, x, bottom - h / 7, x + w, bottom, rgbOf(skirtColour));
    // Lamps and bumper.
    fill(p, x + w - w / 70, bottom - h / 6, x + w, bottom - h / 10, Rgb{255, 244, 200});
    fill(p, x, bottom - h / 6, x + w / 70, bottom - h / 10, Rgb{210, 40, 30});
    fill(p, x, bottom - h / 24, x + w, bottom, mixRgb(body, dark, 0.6f));
    // Wheels in their arches.
    const float r = h * 0.15f;
    for (int centre : {w * 30 / 100, w * 71 / 100}) {
        const float cx = static_cast<float>(x + centre);
        const float cy = static_cast<float>(bottom) - r * 0.15f;
        ellipse(p, cx, cy, r * 1.2f * squeeze, r * 1.2f, mixRgb(body, dark, 0.8f));
        ellipse(p, cx, cy, r * squeeze, r, dark);
        ellipse(p, cx, cy, r * 0.5f * squeeze, r * 0.5f, Rgb{150, 154, 162});
    }
}

// --- Buttons -------------------------------------------------------------------------------

void drawButton(const std::string& path, const std::string& label, float quadWidth, bool selected)
{
    // The quad is quadWidth x 0.1 of the screen: this much wider than the picture on a 4:3 screen.
    const float shown = (quadWidth / 0.1f) * MENU_SCREEN_ASPECT;
    const float squeeze = (static_cast<float>(MENU_BUTTON_WIDTH) / MENU_BUTTON_HEIGHT) / shown;
    Picture p(MENU_BUTTON_WIDTH, MENU_BUTTON_HEIGHT);
    if (selected) {
        verticalGradient(p, 0, MENU_BUTTON_HEIGHT, Rgb{255, 214, 96}, Rgb{226, 136, 26});
        border(p, 0, 0, p.width, p.height, 3, Rgb{255, 244, 204});
        // A marker at the left: this is the item Enter picks.
        fill(p, 10, 14, 10 + static_cast<int>(std::lround(12 * squeeze)), p.height - 14, MENU_INK);
    } else {
        verticalGradient(p, 0, MENU_BUTTON_HEIGHT, Rgb{36, 56, 102}, Rgb{16, 26, 54});
        border(p, 0, 0, p.width, p.height, 2, Rgb{92, 116, 170});
    }
    const TextStyle s = style(GLYPH_FACE_SANS_BOLD, 38, squeeze, selected ? MENU_INK : MENU_WHITE);
    drawText(p, static_cast<int>(std::lround(48 * squeeze)), 46, label, s);
    keepOpaque(p);
    writeBmp(path, p);
}

// --- Logo and background -------------------------------------------------------------------

void drawLogo(const std::string& path)
{
    Picture p(MENU_FULL_SIZE, MENU_FULL_SIZE);
    verticalGradient(p, 0, p.height, Rgb{10, 14, 30}, Rgb{26, 36, 64});
    // A bus front as the emblem: body, windscreen, destination display, lamps.
    const int cx = MENU_FULL_SIZE / 2;
    const int halfW = static_cast<int>(150 * MENU_FULL_SQUEEZE);
    const int top = 190, bottom = 500;
    fill(p, cx - halfW, top, cx + halfW, bottom, Rgb{214, 60, 44});
    fill(p, cx - halfW + 12, top + 16, cx + halfW - 12, top + 62, Rgb{30, 26, 12});
    const TextStyle display = style(GLYPH_FACE_MONO_BOLD, 40, MENU_FULL_SQUEEZE, MENU_AMBER);
    drawTextCentred(p, cx, top + 54, "128", display);
    fill(p, cx - halfW + 12, top + 74, cx + halfW - 12, top + 210, Rgb{60, 92, 124});
    shade(p, cx - halfW + 12, top + 74, cx + halfW - 12, top + 120, Rgb{150, 190, 220}, 0.35f);
    fill(p, cx - halfW, top + 222, cx + halfW, top + 240, Rgb{240, 232, 210});
    ellipse(p, cx - halfW * 0.72f, top + 270.0f, 20 * MENU_FULL_SQUEEZE, 20, Rgb{255, 246, 200});
    ellipse(p, cx + halfW * 0.72f, top + 270.0f, 20 * MENU_FULL_SQUEEZE, 20, Rgb{255, 246, 200});
    fill(p, cx - halfW - 8, bottom - 8, cx + halfW + 8, bottom + 14, Rgb{40, 42, 50});
    fill(p, cx - halfW + 10, bottom + 14, cx - halfW + 50, bottom + 40, Rgb{30, 30, 34});
    fill(p, cx + halfW - 50, bottom + 14, cx + halfW - 10, bottom + 40, Rgb{30, 30, 34});

    shadowedText(p, cx, 680, "VELBRANT", style(GLYPH_FACE_SANS_BOLD, 150, MENU_FULL_SQUEEZE, MENU_WHITE), 6);
    drawTextCentred(p, cx, 760, "gra o jeździe autobusem miejskim",
                    style(GLYPH_FACE_SANS, 44, MENU_FULL_SQUEEZE, Rgb{200, 210, 230}));
    fill(p, cx - 220, 800, cx + 220, 804, MENU_AMBER);
    keepOpaque(p);
    writeBmp(path, p);
}

void drawBackground(const std::string& path)
{
    Picture p(MENU_FULL_SIZE, MENU_FULL_SIZE);
    const int horizon = 700;
    // Evening sky.
    verticalGradient(p, 0, 420, Rgb{18, 30, 72}, Rgb{70, 70, 120});
    verticalGradient(p, 420, horizon, Rgb{70, 70, 120}, Rgb{214, 128, 78});
    // Skyline: blocks of flats with lit windows, from fixed random numbers.
    Rng rng(0x6d656e75u);
    int x = 0;
    while (x < MENU_FULL_SIZE) {
        const int w = static_cast<int>(rng.range(50.0f, 120.0f));
        const int top = static_cast<int>(rng.range(440.0f, 600.0f));
        const Rgb wall = mixRgb(Rgb{26, 30, 50}, Rgb{44, 44, 66}, rng.unit());
        fill(p, x, top, x + w - 2, horizon, wall);
        for (int wy = top + 12; wy + 10 < horizon - 10; wy += 22)
            for (int wx = x + 8; wx + 8 < x + w - 8; wx += 16)
                if (rng.unit() < 0.35f)
                    fill(p, wx, wy, wx + 8, wy + 10, mixRgb(Rgb{255, 210, 110}, Rgb{255, 240, 190}, rng.unit()));
        x += w;
    }
    // Pavement, kerb and road with its lane marks.
    fill(p, 0, horizon, p.width, horizon + 34, Rgb{128, 126, 130});
    fill(p, 0, horizon + 34, p.width, horizon + 42, Rgb{180, 178, 176});
    verticalGradient(p, horizon + 42, p.height, Rgb{58, 60, 66}, Rgb{36, 38, 44});
    for (int mx = 20; mx < p.width; mx += 120)
        fill(p, mx, 900, mx + 60, 910, Rgb{226, 226, 220});
    // A bus at the stop, on the right where no button or panel lies in the main menu.
    drawBusSide(p, 600, 720, 410, 170, MENU_FULL_SQUEEZE, VOLVO_BODY, VOLVO_SKIRT, VOLVO_ACCENT);

    shadowedText(p, MENU_FULL_SIZE / 2, 170, "VELBRANT", style(GLYPH_FACE_SANS_BOLD, 130, MENU_FULL_SQUEEZE, MENU_WHITE), 5);
    shadowedText(p, MENU_FULL_SIZE / 2, 240, "symulator autobusu miejskiego",
                 style(GLYPH_FACE_SANS, 42, MENU_FULL_SQUEEZE, Rgb{230, 226, 214}), 3);
    keepOpaque(p);
    writeBmp(path, p);
}

// --- Panels --------------------------------------------------------------------------------

constexpr int MENU_PANEL_TITLE_BAR = 64;

Picture panelBase(const std::string& title)
{
    Picture p(MENU_PANEL_WIDTH, MENU_PANEL_HEIGHT);
    verticalGradient(p, 0, p.height, Rgb{20, 30, 58}, Rgb{10, 16, 34});
    verticalGradient(p, 0, MENU_PANEL_TITLE_BAR, Rgb{52, 78, 140}, Rgb{30, 46, 92});
    fill(p, 0, MENU_PANEL_TITLE_BAR, p.width, MENU_PANEL_TITLE_BAR + 3, MENU_AMBER);
    border(p, 0, 0, p.width, p.height, 4, Rgb{120, 148, 206});
    drawText(p, 30, 46, title, style(GLYPH_FACE_SANS_BOLD, 34, 1.0f, MENU_WHITE));
    return p;
}

void drawAboutPanel(const std::string& path)
{
    Picture p = panelBase("O grze");
    const TextStyle body = style(GLYPH_FACE_SANS, 19, 1.0f, MENU_PANEL_TEXT);
    const TextStyle heading = style(GLYPH_FACE_SANS_BOLD, 21, 1.0f, MENU_AMBER);
    drawWrapped(p, 30, 106, 474, 25,
                "Prowadzisz autobus miejski po trasie testowej, od przystanku do przystanku.\n"
                "Na przystanku stań tak, by strzałka na desce rozdzielczej zrobiła się zielona, "
                "otwórz drzwi i zaczekaj na pasażerów. Drzwi zamknij dopiero wtedy, gdy wszyscy przejdą.\n"
                "Punkty karne są za jazdę szybszą niż 65 km/h, za jazdę z otwartymi drzwiami i za "
                "zamknięcie drzwi przed pasażerami. Na ostatnim przystanku zgaś światła, stań i wyłącz "
                "silnik: zobaczysz sumę punktów i ocenę jazdy.\n"
                "Po trasie jeździ też drugi samochód, a w czasie jazdy gra radio.",
                body);

    fill(p, 524, 88, 526, MENU_PANEL_HEIGHT - 24, Rgb{70, 90, 140});
    drawText(p, 548, 102, "Klawisze", heading);
    struct KeyLine {
        const char* keys;
        const char* action;
    };
    const KeyLine lines[] = {
        {"S", "uruchom lub zgaś silnik (trzymaj)"},
        {"Q  A  Z", "bieg: przód, luz, wsteczny"},
        {"\u2191  \u2193", "gaz, hamulec"},
        {"\u2190  \u2192", "skręt"},
        {"Del End PgDn", "otwórz drzwi 1, 2, 3"},
        {"Ins Home PgUp", "zamknij drzwi 1, 2, 3"},
        {"Scroll Lock", "sygnał zamykania drzwi"},
        {"K", "klakson"},
        {",  .", "kierunkowskaz lewy, prawy"},
        {"C  X", "światła, oświetlenie wnętrza"},
        {"F1 \u2013 F6", "widoki, F6 z wnętrza"},
        {"L", "lusterka"},
        {"1  2  3  4", "radio: wstecz, od nowa, stop, dalej"},
        {"J  H  R  P", "informacje, pomoc, rozkład, pauza"},
        {"Esc", "powrót do menu"},
    };
    const TextStyle keyStyle = style(GLYPH_FACE_SANS_BOLD, 17, 1.0f, Rgb{255, 222, 140});
    int y = 134;
    for (const KeyLine& line : lines) {
        drawText(p, 548, y, line.keys, keyStyle);
        drawText(p, 704, y, line.action, style(GLYPH_FACE_SANS, 17, 1.0f, MENU_PANEL_TEXT));
        y += 24;
    }
    keepOpaque(p);
    writeBmp(path, p);
}

std::string kmh(float unitsPerTick)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f km/h", unitsPerTick * SIM_KMH_PER_SPEED);
    return text;
}

std::string litres(float capacity)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f l", capacity);
    return text;
}

void drawBusCard(Picture& p, int x, const std::string& name, BusColour body, BusColour skirt, BusColour stripe,
                 const std::string& speed,
                 const std::string& tank, const char* character, const char* start)
{
    shade(p, x, 88, x + 460, 444, Rgb{60, 80, 130}, 0.25f);
    border(p, x, 88, x + 460, 444, 2, Rgb{70, 90, 140});
    drawBusSide(p, x + 40, 104, 380, 120, 1.0f, body, skirt, stripe);
    drawText(p, x + 20, 262, name, style(GLYPH_FACE_SANS_BOLD, 24, 1.0f, MENU_AMBER));
    const TextStyle label = style(GLYPH_FACE_SANS, 17, 1.0f, Rgb{170, 184, 210});
    const TextStyle value = style(GLYPH_FACE_SANS_BOLD, 17, 1.0f, MENU_PANEL_TEXT);
    drawText(p, x + 20, 296, "Prędkość maksymalna:", label);
    drawText(p, x + 250, 296, "około " + speed, value);
    drawText(p, x + 20, 322, "Zbiornik paliwa:", label);
    drawText(p, x + 250, 322, tank, value);
    drawText(p, x + 20, 348, "Drzwi:", label);
    drawText(p, x + 250, 348, "trzy pary", value);
    drawWrapped(p, x + 20, 380, 420, 22, character, style(GLYPH_FACE_SANS, 17, 1.0f, MENU_PANEL_TEXT));
    drawText(p, x + 20, 432, start, style(GLYPH_FACE_MONO_BOLD, 16, 1.0f, Rgb{255, 222, 140}));
}

void drawBusesPanel(const std::string& path)
{
    Picture p = panelBase("Autobusy");
    drawBusCard(p, 36, "Miejski Szybki", VOLVO_BODY, VOLVO_SKIRT, VOLVO_ACCENT, kmh(VOLVO_TOP_SPEED),
                litres(VOLVO_FUEL_CAPACITY), "Dwunastometrowy, żwawo przyspiesza i najszybciej jedzie.",
                "velbrant-play V  \u2013 od razu w trasę");
    drawBusCard(p, 528, "Miejski Łagodny", URBINO_BODY, URBINO_SKIRT, URBINO_ACCENT, kmh(URBINO_TOP_SPEED),
                litres(URBINO_FUEL_CAPACITY), "Dwunastometrowy, spokojniejszy, mocniej hamuje i dalej zajedzie.",
                "velbrant-play S  \u2013 od razu w trasę");
    drawTextCentred(p, MENU_PANEL_WIDTH / 2, 484,
                    "Nowa gra z menu to jazda autobusem \u201eMiejski Szybki\u201d. Escape w trasie wraca do menu.",
                    style(GLYPH_FACE_SANS, 17, 1.0f, Rgb{190, 200, 222}));
    keepOpaque(p);
    writeBmp(path, p);
}

void drawNewGamePanel(const std::string& path)
{
    Picture p = panelBase("Nowa gra");
    drawTextCentred(p, MENU_PANEL_WIDTH / 2, 210, "Wczytywanie trasy\u2026",
                    style(GLYPH_FACE_SANS_BOLD, 52, 1.0f, MENU_WHITE));
    // A loading bar, full: the picture stands while the whole load runs in one go.
    border(p, 212, 250, 812, 284, 3, Rgb{120, 148, 206});
    for (int k = 0; k < 20; ++k)
        fill(p, 220 + k * 29, 258, 220 + k * 29 + 23, 276, mixRgb(Rgb{226, 136, 26}, Rgb{255, 214, 96}, k / 19.0f));
    const TextStyle tip = style(GLYPH_FACE_SANS, 19, 1.0f, MENU_PANEL_TEXT);
    drawWrapped(p, 150, 340, 724, 28,
                "Na początek: przytrzymaj S, aż silnik zaskoczy, wybierz bieg Q i ruszaj strzałką w górę. "
                "Na przystanku otwórz drzwi klawiszami Delete, End i Page\u00a0Down, a gdy pasażerowie "
                "przejdą, zamknij je: Insert, Home, Page\u00a0Up.",
                tip);
    keepOpaque(p);
    writeBmp(path, p);
}

} // namespace

void genMenuPictures(const std::string& dir)
{
    const std::string menu = dir + "/Dane/Menu/";
    makeDirs(menu, true);
    drawLogo(menu + "logo.gfx");
    drawBackground(menu + "tlo.gfx");
    struct Button {
        const char* name;
        const char* label;
        float quadWidth;  // of its list: 23 and 24 are 0.92 wide, 25 is 0.68, 26 is 0.74
    };
    const Button buttons[] = {
        {"nowagra", "Nowa gra", 0.92f},
        {"autobusy", "Autobusy", 0.92f},
        {"ogrze", "O grze", 0.68f},
        {"wyjscie", "Wyjście", 0.74f},
    };
    for (const Button& b : buttons) {
        drawButton(menu + b.name + "_gora.gfx", b.label, b.quadWidth, true);
        drawButton(menu + b.name + "_dol.gfx", b.label, b.quadWidth, false);
    }
    drawAboutPanel(menu + "ogrze.gfx");
    drawBusesPanel(menu + "autobusy.gfx");
    drawNewGamePanel(menu + "nowagra.gfx");
}
