#include "tools/data/writers.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

Picture::Picture(int w, int h, uint8_t r, uint8_t g, uint8_t b) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3)
{
    for (size_t i = 0; i < rgb.size(); i += 3) {
        rgb[i] = r;
        rgb[i + 1] = g;
        rgb[i + 2] = b;
    }
}

void Picture::set(int x, int y, uint8_t r, uint8_t g, uint8_t b)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    uint8_t* p = at(x, y);
    p[0] = r;
    p[1] = g;
    p[2] = b;
}

void Picture::fillRect(int x0, int y0, int x1, int y1, uint8_t r, uint8_t g, uint8_t b)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            set(x, y, r, g, b);
}

Picture Picture::halfSize() const
{
    Picture out(width / 2 > 0 ? width / 2 : 1, height / 2 > 0 ? height / 2 : 1);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            for (int c = 0; c < 3; ++c) {
                int sx = x * 2, sy = y * 2;
                int sx1 = sx + 1 < width ? sx + 1 : sx, sy1 = sy + 1 < height ? sy + 1 : sy;
                int sum = at(sx, sy)[c] + at(sx1, sy)[c] + at(sx, sy1)[c] + at(sx1, sy1)[c];
                out.at(x, y)[c] = static_cast<uint8_t>((sum + 2) / 4);
            }
    return out;
}

uint32_t Rng::next()
{
    // xorshift32: small, fast and the same everywhere.
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

float Rng::unit()
{
    return static_cast<float>(next() >> 8) / 16777216.0f;
}

float Rng::range(float lo, float hi)
{
    return lo + (hi - lo) * unit();
}

void makeDirs(const std::string& path, bool isDir)
{
    std::filesystem::path p(path);
    std::filesystem::path dir = isDir ? p : p.parent_path();
    if (!dir.empty())
        std::filesystem::create_directories(dir);
}

void writeBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    makeDirs(path);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

void writeTextFile(const std::string& path, const std::string& text)
{
    writeBinaryFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

static void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

static void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::vector<uint8_t> encodeBmp24(const Picture& picture)
{
    const uint32_t rowBytes = (static_cast<uint32_t>(picture.width) * 3 + 3) & ~3u;
    const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(picture.height);
    std::vector<uint8_t> out;
    out.reserve(54 + dataBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + dataBytes);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(picture.width));
    put32(out, static_cast<uint32_t>(picture.height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, dataBytes);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = picture.height - 1; y >= 0; --y) {  // bottom row first
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* p = picture.at(x, y);
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        for (uint32_t pad = static_cast<uint32_t>(picture.width) * 3; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    return out;
}

void writeBmp(const std::string& path, const Picture& picture)
{
    writeBinaryFile(path, encodeBmp24(picture));
}

void writeTexList(const std::string& path, const std::vector<std::string>& images)
{
    std::string text = std::to_string(images.size()) + "\n";
    for (const std::string& image : images)
        text += image + "\n";
    writeTextFile(path, text);
}

void ModelBuilder::tri(Vec3 a, Vec3 b, Vec3 c, Uv ta, Uv tb, Uv tc, int tex)
{
    tris.push_back(Tri{{a, b, c}, {ta, tb, tc}, tex});
}

void ModelBuilder::quad(Vec3 a, Vec3 b, Vec3 c, Vec3 d, int tex, float s0, float t0, float s1, float t1)
{
    tri(a, b, c, {s0, t0}, {s1, t0}, {s1, t1}, tex);
    tri(a, c, d, {s0, t0}, {s1, t1}, {s0, t1}, tex);
}

void ModelBuilder::box(Vec3 lo, Vec3 hi, int tex, bool inside, float texScale)
{
    auto face = [&](Vec3 a, Vec3 b, Vec3 c, Vec3 d, float w, float h) {
        float s1 = texScale > 0 ? w / texScale : 1.0f;
        float t1 = texScale > 0 ? h / texScale : 1.0f;
        if (inside)
            quad(d, c, b, a, tex, 0, 0, s1, t1);
        else
            quad(a, b, c, d, tex, 0, 0, s1, t1);
    };
    const float dx = hi.x - lo.x, dy = hi.y - lo.y, dz = hi.z - lo.z;
    // +z face (front as seen from +z)
    face({lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}, dx, dy);
    // -z face
    face({hi.x, lo.y, lo.z}, {lo.x, lo.y, lo.z}, {lo.x, hi.y, lo.z}, {hi.x, hi.y, lo.z}, dx, dy);
    // +x face
    face({hi.x, lo.y, hi.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {hi.x, hi.y, hi.z}, dz, dy);
    // -x face
    face({lo.x, lo.y, lo.z}, {lo.x, lo.y, hi.z}, {lo.x, hi.y, hi.z}, {lo.x, hi.y, lo.z}, dz, dy);
    // top
    face({lo.x, hi.y, hi.z}, {hi.x, hi.y, hi.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z}, dx, dz);
    // bottom
    face({lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z}, dx, dz);
}

void ModelBuilder::append(const ModelBuilder& other)
{
    tris.insert(tris.end(), other.tris.begin(), other.tris.end());
}

void ModelBuilder::groupByTexture(size_t from)
{
    if (from >= tris.size())
        return;
    std::vector<int> order;  // textures by first appearance
    for (size_t i = from; i < tris.size(); ++i)
        if (std::find(order.begin(), order.end(), tris[i].tex) == order.end())
            order.push_back(tris[i].tex);
    std::vector<Tri> grouped(tris.begin(), tris.begin() + static_cast<long>(from));
    grouped.reserve(tris.size());
    for (int tex : order)
        for (size_t i = from; i < tris.size(); ++i)
            if (tris[i].tex == tex)
                grouped.push_back(tris[i]);
    tris.swap(grouped);
}

static void appendNumber(std::string& out, float v)
{
    char buf[32];
    // Short, exact enough, and always with a point whatever the locale (written by hand).
    if (v == 0.0f)
        v = 0.0f;  // no "-0"
    std::snprintf(buf, sizeof buf, "%.4f", static_cast<double>(v));
    // Trim trailing zeros to keep files small.
    std::string s(buf);
    for (char& ch : s)
        if (ch == ',')
            ch = '.';
    if (s.find('.') != std::string::npos) {
        while (!s.empty() && s.back() == '0')
            s.pop_back();
        if (!s.empty() && s.back() == '.')
            s.pop_back();
    }
    if (s == "-0")
        s = "0";
    out += s;
}

void ModelBuilder::write(const std::string& path, const std::string& label) const
{
    std::string text = std::to_string(tris.size()) + "\n" + (label.empty() ? std::string("model") : label) + "\n";
    for (const Tri& t : tris) {
        for (const Vec3& v : t.v) {
            appendNumber(text, v.x);
            text += ' ';
            appendNumber(text, v.y);
            text += ' ';
            appendNumber(text, v.z);
            text += ' ';
        }
        for (const Uv& uv : t.uv) {
            appendNumber(text, uv.s);
            text += ' ';
            appendNumber(text, uv.t);
            text += ' ';
        }
        text += std::to_string(t.tex);
        text += '\n';
    }
    writeTextFile(path, text);
}

void appendFixed(std::string& out, float value, int decimals)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    out.append(buffer, result.ptr);
}
