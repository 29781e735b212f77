// The flat overlays, in the overlay's frame (0..5 across, 0..3.75 up, 640 x 480 text space on
// top): the gauge panel (a bar behind the dashboard line with its labels, a plate under the stop
// arrow) with the arrow itself, and the timetable board of line 128.
//
// In the default transparency mode the overlay is drawn without the alpha test, so nothing here
// relies on the colour key: the arrow is built as an arrow-shaped fan of plain triangles (tinted
// green or red by the game) and no panel quad covers the arrow's circle.
#include "tools/data/content_paint.h"
#include "tools/data/content_shapes.h"
#include "tools/data/content_stops.h"
#include "tools/data/content_text.h"
#include "tools/data/gen.h"

#include <cstdio>

namespace {

constexpr float ARROW_X = 0.3f, ARROW_Y = 3.175f;  // where the game turns the arrow
constexpr float BAR_Y0 = 3.44f;

void overlayQuad(ModelBuilder& m, float x0, float y0, float x1, float y1, int tex)
{
    faceQuad(m, v3(x0, y0, 0), v3(x1, y0, 0), v3(x1, y1, 0), v3(x0, y1, 0), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1},
             v3(0, 0, 1), tex);
}

Picture paintBar()
{
    // 512 x 32 over the whole width; the game prints the numbers in the upper half.
    Picture p(512, 32);
    gradientBox(p, 0, 0, 512, 32, Rgb{34, 44, 66}, Rgb{14, 18, 30});
    fillBox(p, 0, 30, 512, 32, Rgb{120, 140, 180});
    const struct {
        float x, w;
        const char* label;
    } fields[] = {{100, 34, "WYS."}, {140, 34, "WSI."}, {180, 34, "JEDZIE"}, {250, 94, "GODZINA"},
                  {385, 40, "PALIWO"}, {440, 104, "PRĘDKOŚĆ"}};
    for (const auto& f : fields) {
        const int x0 = static_cast<int>(f.x * 0.8f), x1 = static_cast<int>((f.x + f.w) * 0.8f);
        fillBox(p, x0 - 2, 1, x1 + 2, 16, Rgb{8, 10, 18});
        frameBox(p, x0 - 2, 1, x1 + 2, 16, 1, Rgb{70, 86, 120});
        drawTextCentred(p, f.label, (x0 + x1) / 2, 27, 8, Rgb{170, 190, 230}, FACE_SANS_BOLD);
    }
    // Small enough to end before the first counter box at x 78 (a ref of up to three characters).
    drawText(p, "LINIA " + lineRef(), 6, 22, 12, Rgb{250, 200, 60}, FACE_SANS_BOLD);
    return p;
}

Picture paintPlate()
{
    Picture p(128, 16, 20, 26, 40);
    frameBox(p, 0, 0, 128, 16, 1, Rgb{120, 140, 180});
    drawTextCentred(p, "PRZYSTANEK", 64, 12, 10, Rgb{220, 230, 250}, FACE_SANS_BOLD);
    return p;
}

std::string clockText(int minutes)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d:%02d", (minutes / 60) % 24, minutes % 60);
    return buf;
}

Picture paintTimetable()
{
    const int N = 512;
    Picture p = noisePicture(N, N, Rgb{250, 244, 214}, 0.015f, 8, 401);
    frameBox(p, 0, 0, N, N, 6, Rgb{30, 90, 50});
    fillBox(p, 6, 6, N - 6, 76, Rgb{30, 90, 50});
    drawText(p, lineRef(), 20, 62, 54, Rgb{250, 210, 40}, FACE_SANS_BOLD);
    drawText(p, "ROZKŁAD JAZDY", 150, 36, 22, Rgb{250, 250, 240}, FACE_SANS_BOLD);
    drawText(p, "kierunek: " + lineDestination("ZAJEZDNIA"), 150, 64, 18, Rgb{230, 240, 230}, FACE_SANS);
    const std::vector<TimetableRow> rows = lineTimetable(4, 20);
    // The rows share 300 pixels, so the two foot lines stay inside the frame.
    const int top = 112, rowH = rows.empty() ? 30 : std::min(34, 300 / static_cast<int>(rows.size()));
    drawText(p, "przystanek", 20, 102, 15, Rgb{60, 60, 60}, FACE_SANS_BOLD);
    // One head over this run's column, one over the three later runs: four heads would touch.
    drawText(p, "teraz", 270, 102, 12, Rgb{60, 60, 60}, FACE_SANS_BOLD);
    drawText(p, "kolejne kursy", 328, 102, 12, Rgb{60, 60, 60}, FACE_SANS_BOLD);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int y = top + static_cast<int>(i) * rowH;
        if (i % 2 == 0)
            fillBox(p, 10, y, N - 10, y + rowH, Rgb{238, 230, 190});
        const int size = rowH * 6 / 10;
        drawText(p, std::to_string(i + 1) + ". " + rows[i].name, 20, y + rowH * 3 / 4, size, Rgb{20, 30, 20}, FACE_SANS);
        for (size_t r = 0; r < rows[i].times.size(); ++r)
            drawText(p, clockText(rows[i].times[r]), 270 + static_cast<int>(r) * 58, y + rowH * 3 / 4, size,
                     r == 0 ? Rgb{160, 20, 20} : Rgb{20, 30, 20}, r == 0 ? FACE_SANS_BOLD : FACE_SANS);
    }
    const int foot = top + static_cast<int>(rows.size()) * rowH + 16;
    fillBox(p, 10, foot, N - 10, foot + 2, Rgb{30, 90, 50});
    drawText(p, "Kursuje w dni robocze. Przystanki na żądanie: brak.", 20, foot + 26, 14, Rgb{40, 40, 40}, FACE_SANS);
    drawText(p, "R - pokaż / ukryj rozkład", 20, foot + 50, 14, Rgb{40, 40, 40}, FACE_SANS);
    return p;
}

}  // namespace

void genBoards(const std::string& dir)
{
    // Gauges: triangles 0-3 the panel (bar, arrow plate), 4 on the arrow round its pivot.
    TextureSet gauges{dir, "Dane/Wskazniki/", {}, {}};
    const int bar = gauges.add("pasek", paintBar());
    const int plate = gauges.add("tabliczka", paintPlate());
    const int arrow = gauges.add("strzalka", Picture(8, 8, 255, 255, 255));
    gauges.writeSingleList("Tekstury.tex");
    ModelBuilder panel;
    overlayQuad(panel, 0.0f, BAR_Y0, 5.0f, 3.75f, bar);
    overlayQuad(panel, 0.05f, 2.86f, 0.55f, 2.94f, plate);
    // The arrow points up (towards the stop straight ahead) before the game turns it.
    const float headBase = ARROW_Y + 0.02f, tip = ARROW_Y + 0.15f, tail = ARROW_Y - 0.12f;
    const float headHalf = 0.09f, shaftHalf = 0.035f;
    const Vec3 front = v3(0, 0, 1);
    faceTri(panel, v3(ARROW_X, tip, 0), v3(ARROW_X - headHalf, headBase, 0), v3(ARROW_X + headHalf, headBase, 0), Uv{0.5f, 1},
            Uv{0, 0}, Uv{1, 0}, front, arrow);
    faceQuad(panel, v3(ARROW_X - shaftHalf, tail, 0), v3(ARROW_X + shaftHalf, tail, 0),
             v3(ARROW_X + shaftHalf, headBase, 0), v3(ARROW_X - shaftHalf, headBase, 0), Uv{0, 0}, Uv{1, 0}, Uv{1, 1},
             Uv{0, 1}, front, arrow);
    panel.write(dir + "/Dane/Wskazniki/Wskazniki.qx", "gauges: panel 0-3, stop arrow from 4");

    TextureSet board{dir, "Dane/Rozklady/128/", {}, {}};
    const int sheet = board.add("rozklad", paintTimetable());
    board.writeSingleList("Tekstury.tex");
    ModelBuilder timetable;
    overlayQuad(timetable, 1.95f, 0.3f, 4.95f, 3.3f, sheet);
    timetable.write(dir + "/Dane/Rozklady/128/Rozklad.qx", "timetable of line 128");
}
