// Painting by code for the generated textures: colours, tileable noise, shapes, and the two texture
// qualities of every image. Everything here is deterministic (seeded noise, no global state except
// the read-only font of content_text).
//
// Colour key: the game makes pure black texels transparent, and only a few parts of the scene are
// drawn with the alpha test on (the bus interior and the door leaves). So a painted picture never
// holds (0,0,0) unless it is meant as a hole: finishTexture lifts stray black to (1,1,1), and
// KEY_BLACK is painted afterwards where holes are wanted.
#pragma once

#include "tools/data/writers.h"

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
};

constexpr Rgb KEY_BLACK{0, 0, 0};

Rgb mixRgb(Rgb a, Rgb b, float t);   // t = 0 gives a, 1 gives b
Rgb scaleRgb(Rgb c, float f);        // brightness factor, clamped
Rgb getPixel(const Picture& p, int x, int y);
void putPixel(Picture& p, int x, int y, Rgb c);
void blendPixel(Picture& p, int x, int y, Rgb c, float alpha);

// Smooth value noise in [0,1] that tiles with the given period (in lattice cells).
float tileNoise(float x, float y, int period, uint32_t seed);
// Sum of octaves of tileNoise, tiling over a picture of size `size` with `cells` cells at the base.
float fractalNoise(float x, float y, int size, int cells, int octaves, uint32_t seed);

// A picture filled with base colour varied by fractal noise (amount = +-brightness fraction).
Picture noisePicture(int w, int h, Rgb base, float amount, int cells, uint32_t seed);
// Adds fine per-pixel grain (+-amount brightness) inside [x0,x1) x [y0,y1).
void addGrain(Picture& p, int x0, int y0, int x1, int y1, float amount, uint32_t seed);
void fillBox(Picture& p, int x0, int y0, int x1, int y1, Rgb c);
void blendBox(Picture& p, int x0, int y0, int x1, int y1, Rgb c, float alpha);
// Vertical gradient from top colour to bottom colour over [y0,y1).
void gradientBox(Picture& p, int x0, int y0, int x1, int y1, Rgb top, Rgb bottom);
void frameBox(Picture& p, int x0, int y0, int x1, int y1, int thickness, Rgb c);
// Anti-aliased disc and ring (outer radius r, inner radius r - width).
void fillDisc(Picture& p, float cx, float cy, float r, Rgb c);
void fillRing(Picture& p, float cx, float cy, float r, float width, Rgb c);
// Anti-aliased thick line segment.
void drawLine(Picture& p, float x0, float y0, float x1, float y1, float width, Rgb c);
// A convex polygon, filled (points in picture pixels).
void fillPolygon(Picture& p, const std::vector<float>& xy, Rgb c);

// Replaces every pure black texel by (1,1,1) so nothing is keyed by accident.
void liftBlack(Picture& p);

// The images of one texture list, written in both qualities: name.bmp (full size) and
// name_n.bmp (half size). The slot of an image is its position in the list.
struct TextureSet {
    std::string dir;     // the tree's root
    std::string folder;  // relative folder with trailing '/', e.g. "Dane/Trasy/Test/"
    std::vector<std::string> full;
    std::vector<std::string> half;

    // Writes the picture (stray black lifted unless keyed) and returns its slot.
    int add(const std::string& name, Picture picture, bool keyed = false);
    // "TeksturyW.tex" (full size) and "TeksturyN.tex" (half size) in the folder.
    void writeQualityLists() const;
    // One list of the full-size images (the boards have no quality choice).
    void writeSingleList(const std::string& listName) const;
};
