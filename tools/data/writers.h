// Small writers the data generator builds every file from: pictures (BMP), models (.qx),
// texture lists (.tex) and plain text. Output is byte-for-byte the same on every run.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// An RGB picture, row 0 at the top, 3 bytes per pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    Picture() = default;
    Picture(int w, int h, uint8_t r = 0, uint8_t g = 0, uint8_t b = 0);
    void set(int x, int y, uint8_t r, uint8_t g, uint8_t b);  // ignores pixels outside
    void fillRect(int x0, int y0, int x1, int y1, uint8_t r, uint8_t g, uint8_t b);  // [x0,x1) x [y0,y1)
    uint8_t* at(int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    Picture halfSize() const;  // box-filtered, for the low texture quality
};

// Deterministic pseudo-random numbers for textures and layout (fixed seeds, no global state).
struct Rng {
    uint32_t state;
    explicit Rng(uint32_t seed) : state(seed ? seed : 1u) {}
    uint32_t next();
    float unit();                 // [0, 1)
    float range(float lo, float hi);
};

// Creates the folders of a path's parent (and the path itself when isDir).
void makeDirs(const std::string& path, bool isDir = false);
void writeTextFile(const std::string& path, const std::string& text);
// A number in fixed point with the given decimals, the same bytes whatever the user's locale.
void appendFixed(std::string& out, float value, int decimals);
void writeBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);
// A 24-bit uncompressed BMP with the 14-byte file header and the 40-byte info header.
std::vector<uint8_t> encodeBmp24(const Picture& picture);
void writeBmp(const std::string& path, const Picture& picture);
// A texture list: the count, then one path per line.
void writeTexList(const std::string& path, const std::vector<std::string>& images);

// A model being built: textured triangles, written as a .qx file.
struct Vec3 {
    float x, y, z;
};
struct Uv {
    float s, t;
};
struct ModelBuilder {
    struct Tri {
        std::array<Vec3, 3> v;
        std::array<Uv, 3> uv;
        int tex;
    };
    std::vector<Tri> tris;

    // Counter-clockwise seen from the visible side.
    void tri(Vec3 a, Vec3 b, Vec3 c, Uv ta, Uv tb, Uv tc, int tex);
    // A quad a-b-c-d, counter-clockwise seen from the visible side, texture (s0,t0)-(s1,t1)
    // with a at (s0,t0), b at (s1,t0), c at (s1,t1), d at (s0,t1).
    void quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, int tex, float s0 = 0, float t0 = 0, float s1 = 1, float t1 = 1);
    // An axis-aligned box with all six faces outward (or inward when inside is true).
    void box(Vec3 lo, Vec3 hi, int tex, bool inside = false, float texScale = 0);
    void append(const ModelBuilder& other);
    // Gathers triangles from index `from` on into runs of one texture, the runs in the order their
    // texture first appears and each run in its original order. The game binds a texture once per
    // run, so a model drawn in few runs costs far less per frame.
    void groupByTexture(size_t from = 0);
    void write(const std::string& path, const std::string& label) const;
};
