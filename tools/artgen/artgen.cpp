// artgen: draws the Tarvosk title artwork and program icon.
//
// Everything is computed from code and a fixed-seed generator, so there is no
// source image to keep and every run writes the same bytes. (A different maths
// library could round a sine differently and move a pixel; rebuild and commit
// both files together rather than trusting a comparison across machines.)
//
//   g++ -std=c++17 -O2 -o /tmp/artgen tools/artgen/artgen.cpp && /tmp/artgen resources

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Small helpers

struct Rgb {
    float r = 0, g = 0, b = 0;
};

Rgb hex(uint32_t v) {
    return {float((v >> 16) & 255), float((v >> 8) & 255), float(v & 255)};
}

Rgb mix(Rgb a, Rgb b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scale(Rgb a, float k) {
    return {a.r * k, a.g * k, a.b * k};
}

Rgb add(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

float clamp01(float t) {
    return std::min(1.0f, std::max(0.0f, t));
}

float smooth(float e0, float e1, float x) {
    float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// Piecewise-linear colour ramp through evenly spaced stops.
Rgb ramp(const std::vector<uint32_t>& stops, float t) {
    t = clamp01(t) * float(stops.size() - 1);
    size_t i = std::min(size_t(t), stops.size() - 2);
    return mix(hex(stops[i]), hex(stops[i + 1]), t - float(i));
}

// Our own xorshift: std::mt19937 would do, but distributions are not
// guaranteed identical across standard libraries, and the output must be.
class Rng {
  public:
    explicit Rng(uint32_t seed) : s_(seed ? seed : 1) {}
    uint32_t next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_;
    }
    float unit() { return float(next() >> 8) / float(1 << 24); }
    int below(int n) { return int(next() % uint32_t(n)); }

  private:
    uint32_t s_;
};

// ---------------------------------------------------------------------------
// Little-endian file writing

class Bytes {
  public:
    void u8(unsigned v) { data_.push_back(uint8_t(v)); }
    void u16(unsigned v) {
        u8(v & 255);
        u8((v >> 8) & 255);
    }
    void u32(uint32_t v) {
        u16(v & 0xffff);
        u16(v >> 16);
    }
    void s32(int32_t v) { u32(uint32_t(v)); }
    size_t size() const { return data_.size(); }

    bool save(const std::string& path) const {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) {
            return false;
        }
        bool ok = std::fwrite(data_.data(), 1, data_.size(), f) == data_.size();
        return std::fclose(f) == 0 && ok;
    }

  private:
    std::vector<uint8_t> data_;
};

void infoHeader(Bytes& out, int width, int height, int bpp, uint32_t imageSize, int colours) {
    out.u32(40); // header size
    out.s32(width);
    out.s32(height);
    out.u16(1); // planes
    out.u16(unsigned(bpp));
    out.u32(0); // uncompressed
    out.u32(imageSize);
    out.s32(2835); // 72 dpi, only so viewers show a sensible print size
    out.s32(2835);
    out.u32(uint32_t(colours));
    out.u32(0); // every colour matters
}

void colourTable(Bytes& out, const std::vector<Rgb>& palette) {
    for (const Rgb& c : palette) {
        out.u8(unsigned(std::lround(c.b)));
        out.u8(unsigned(std::lround(c.g)));
        out.u8(unsigned(std::lround(c.r)));
        out.u8(0);
    }
}

// ---------------------------------------------------------------------------
// Bitmap font: 5x7 glyphs, one string per row, '#' = set. Only the letters the
// artwork needs; an unknown character draws as a gap rather than garbage.

struct Glyph {
    char ch;
    std::array<const char*, 7> rows;
};

const Glyph kFont[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
};

const Glyph* findGlyph(char ch) {
    for (const Glyph& g : kFont) {
        if (g.ch == ch) {
            return &g;
        }
    }
    return nullptr;
}

// Which pixels a shape covers; lettering is built and grown as masks.
struct Mask {
    int w = 0, h = 0;
    std::vector<uint8_t> bits;
    Mask() = default;
    Mask(int width, int height) : w(width), h(height), bits(size_t(width * height), 0) {}
    bool at(int x, int y) const {
        return x >= 0 && y >= 0 && x < w && y < h && bits[size_t(y * w + x)];
    }
    void set(int x, int y) { bits[size_t(y * w + x)] = 1; }
};

// Small text with each font pixel blown up to sx by sy.
Mask textMask(const std::string& text, int sx, int sy, int gap) {
    int n = int(text.size());
    Mask m(n * 5 * sx + (n - 1) * gap, 7 * sy);
    for (int i = 0; i < n; ++i) {
        const Glyph* g = findGlyph(text[size_t(i)]);
        if (!g) {
            continue;
        }
        int left = i * (5 * sx + gap);
        for (int y = 0; y < m.h; ++y) {
            for (int x = 0; x < 5 * sx; ++x) {
                if (g->rows[size_t(y / sy)][x / sx] == '#') {
                    m.set(left + x, y);
                }
            }
        }
    }
    return m;
}

// The title face: heavier letters on an 11x12 grid. Vertical strokes are three
// cells and horizontal ones two, the proportions of painted arcade lettering.
struct BigGlyph {
    char ch;
    std::array<const char*, 12> rows;
};

// clang-format off
const BigGlyph kTitleFont[] = {
    {'T', {
        "###########",
        "###########",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
        "....###....",
    }},
    {'A', {
        "...#####...",
        "..#######..",
        ".###...###.",
        "###.....###",
        "###.....###",
        "###.....###",
        "###########",
        "###########",
        "###.....###",
        "###.....###",
        "###.....###",
        "###.....###",
    }},
    {'R', {
        "#########..",
        "##########.",
        "###....####",
        "###.....###",
        "###....####",
        "##########.",
        "#########..",
        "###...###..",
        "###....###.",
        "###....###.",
        "###.....###",
        "###.....###",
    }},
    {'V', {
        "###.....###",
        "###.....###",
        "###.....###",
        "###.....###",
        "###.....###",
        "###.....###",
        ".###...###.",
        ".###...###.",
        "..###.###..",
        "..###.###..",
        "...#####...",
        "....###....",
    }},
    {'O', {
        "..#######..",
        ".#########.",
        "####...####",
        "###.....###",
        "###.....###",
        "###.....###",
        "###.....###",
        "###.....###",
        "###.....###",
        "####...####",
        ".#########.",
        "..#######..",
    }},
    {'S', {
        "..#########",
        ".##########",
        "####.......",
        "###........",
        "####.......",
        ".########..",
        "..########.",
        ".......####",
        "........###",
        ".......####",
        "##########.",
        "#########..",
    }},
    {'K', {
        "###....###.",
        "###...###..",
        "###..###...",
        "###.###....",
        "######.....",
        "#####......",
        "######.....",
        "###.###....",
        "###..###...",
        "###...###..",
        "###....###.",
        "###.....###",
    }},
};
// clang-format on

constexpr int kBigW = 11, kBigH = 12;

Mask titleGrid(const std::string& text, int gap) {
    int n = int(text.size());
    Mask m(n * kBigW + (n - 1) * gap, kBigH);
    for (int i = 0; i < n; ++i) {
        for (const BigGlyph& g : kTitleFont) {
            if (g.ch != text[size_t(i)]) {
                continue;
            }
            for (int y = 0; y < kBigH; ++y) {
                for (int x = 0; x < kBigW; ++x) {
                    if (g.rows[size_t(y)][x] == '#') {
                        m.set(i * (kBigW + gap) + x, y);
                    }
                }
            }
        }
    }
    return m;
}

// Enlarges 3x like pixel art scalers do: straight edges stay sharp, while the
// staircase of a diagonal is filled in so it reads as a slope, not as blocks.
Mask scale3x(const Mask& m) {
    Mask out(m.w * 3, m.h * 3);
    for (int y = 0; y < m.h; ++y) {
        for (int x = 0; x < m.w; ++x) {
            bool a = m.at(x - 1, y - 1), b = m.at(x, y - 1), c = m.at(x + 1, y - 1);
            bool d = m.at(x - 1, y), e = m.at(x, y), f = m.at(x + 1, y);
            bool g = m.at(x - 1, y + 1), h = m.at(x, y + 1), i = m.at(x + 1, y + 1);
            bool db = d == b && d != h && b != f;
            bool bf = b == f && b != d && f != h;
            bool dh = d == h && d != b && h != f;
            bool hf = h == f && d != h && b != f;
            bool px[9] = {
                db ? d : e, (db && e != c) || (bf && e != a) ? b : e,
                bf ? f : e, (db && e != g) || (dh && e != a) ? d : e,
                e,          (bf && e != i) || (hf && e != c) ? f : e,
                dh ? d : e, (dh && e != i) || (hf && e != g) ? h : e,
                hf ? f : e,
            };
            for (int k = 0; k < 9; ++k) {
                if (px[k]) {
                    out.set(x * 3 + k % 3, y * 3 + k / 3);
                }
            }
        }
    }
    return out;
}

// ---------------------------------------------------------------------------
// Title artwork. Painted in true colour first, then reduced to a palette that
// was built from the very colour functions used to paint, so each pixel has a
// close entry and dithering only has to bridge neighbouring shades.

constexpr int kW = 320;
constexpr int kH = 200;
constexpr int kHorizon = 138; // first row of lake
constexpr float kMoonX = 258, kMoonY = 84, kMoonR = 15;

const std::vector<uint32_t> kSkyStops = {0x03030f, 0x080a26, 0x141448, 0x2a1a66, 0x4e2272,
                                         0x84306e, 0xc04a5e, 0xec7a52, 0xf6b070};
const std::vector<uint32_t> kGoldStops = {0xfffbe0, 0xffe788, 0xf8c040, 0xe69428,
                                          0x7a2a10, 0xc85418, 0xf29030, 0xffd070};
const std::vector<uint32_t> kMoonStops = {0x6a6a98, 0xb0aac8, 0xe8e2d8, 0xfff8e4};
const std::vector<uint32_t> kFarStops = {0x1c1a44, 0x35285e, 0x5a3a78, 0x8a5282};
const std::vector<uint32_t> kNearStops = {0x05040c, 0x100c22, 0x1f1838, 0x3a3260, 0x7a76a8};
const std::vector<uint32_t> kLampStops = {0x6a1808, 0xc04810, 0xff9a30, 0xffe090};

Rgb skyAt(float t) {
    return ramp(kSkyStops, t);
}

// Water keeps the hue of what it mirrors but loses light and leans blue.
Rgb waterTint(Rgb c, float depth) {
    Rgb deep = hex(0x04061a);
    return mix(scale(c, 0.72f), deep, 0.25f + 0.45f * depth);
}

std::vector<Rgb> titlePalette() {
    std::vector<Rgb> p;
    auto sample = [&p](int n, auto fn) {
        for (int i = 0; i < n; ++i) {
            p.push_back(fn(n == 1 ? 0.0f : float(i) / float(n - 1)));
        }
    };
    sample(48, [](float t) { return skyAt(t); });
    sample(28, [](float t) { return waterTint(skyAt(t), 0.0f); });
    sample(12, [](float t) { return waterTint(skyAt(t), 1.0f); });
    // The moon's glow lies over a changing sky, so it needs a small grid of tints.
    for (float glow : {0.12f, 0.25f, 0.4f}) {
        sample(10, [glow](float t) { return mix(skyAt(0.45f + t * 0.4f), hex(0xd8d0e8), glow); });
    }
    sample(16, [](float t) { return ramp(kMoonStops, t); });
    sample(10, [](float t) { return mix(skyAt(0.5f), hex(0xd8d0e8), t * 0.8f); });
    sample(18, [](float t) { return ramp(kFarStops, t); });
    sample(20, [](float t) { return ramp(kNearStops, t); });
    sample(8, [](float t) { return ramp(kLampStops, t); });
    sample(30, [](float t) { return ramp(kGoldStops, t); });
    sample(10, [](float t) { return mix(hex(0x000000), hex(0x4a1410), t); });
    sample(8, [](float t) { return mix(hex(0x3a3458), hex(0xc8c0e0), t); });
    p.push_back(hex(0xffffff));
    p.push_back(hex(0xc8d8ff));
    p.push_back(hex(0xffe8b0));
    if (p.size() > 256) {
        std::fprintf(stderr, "palette overflows: %zu colours\n", p.size());
        std::exit(1);
    }
    // Fill to 256 with a neutral ramp: harmless extras the dither may use.
    int spare = 256 - int(p.size());
    sample(spare, [](float t) { return mix(hex(0x000000), hex(0xe0e0e8), t); });
    return p;
}

class Canvas {
  public:
    Canvas() : px_(size_t(kW * kH)), dither_(size_t(kW * kH), 1) {}

    Rgb& at(int x, int y) { return px_[size_t(y * kW + x)]; }
    const Rgb& at(int x, int y) const { return px_[size_t(y * kW + x)]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < kW && y < kH; }

    void set(int x, int y, Rgb c) {
        if (inside(x, y)) {
            at(x, y) = c;
        }
    }
    // Flat-coloured art (lettering) must stay crisp, so it opts out of dither.
    void setFlat(int x, int y, Rgb c) {
        if (inside(x, y)) {
            at(x, y) = c;
            dither_[size_t(y * kW + x)] = 0;
        }
    }
    void blend(int x, int y, Rgb c, float a) {
        if (inside(x, y)) {
            at(x, y) = mix(at(x, y), c, clamp01(a));
        }
    }
    bool dithered(int x, int y) const { return dither_[size_t(y * kW + x)] != 0; }

  private:
    std::vector<Rgb> px_;
    std::vector<uint8_t> dither_;
};

void paintSky(Canvas& c) {
    for (int y = 0; y < kHorizon; ++y) {
        float t = float(y) / float(kHorizon - 1);
        Rgb col = skyAt(t * t * 0.35f + t * 0.65f);
        for (int x = 0; x < kW; ++x) {
            c.at(x, y) = col;
        }
    }
}

void paintStars(Canvas& c, Rng& rng) {
    for (int i = 0; i < 380; ++i) {
        int x = rng.below(kW);
        int y = rng.below(kHorizon);
        float lum = rng.unit();
        // Stars fade out in the warm glow near the horizon.
        float fade = 1.0f - smooth(0.25f, 0.7f, float(y) / kHorizon);
        if (rng.unit() > fade) {
            continue;
        }
        Rgb star = lum > 0.8f ? hex(0xffffff) : (lum > 0.5f ? hex(0xc8d8ff) : hex(0xffe8b0));
        c.blend(x, y, star, (0.35f + 0.65f * lum) * fade);
        if (lum > 0.93f) {
            // The brightest few get a small cross so the sky has depth.
            for (int d : {-1, 1}) {
                c.blend(x + d, y, star, 0.45f * fade);
                c.blend(x, y + d, star, 0.45f * fade);
            }
        }
    }
}

void paintMoon(Canvas& c) {
    Rng craters(7);
    struct Crater {
        float x, y, r;
    };
    std::vector<Crater> spots;
    for (int i = 0; i < 7; ++i) {
        spots.push_back({kMoonX + (craters.unit() - 0.5f) * 20,
                         kMoonY + (craters.unit() - 0.5f) * 20, 1.5f + craters.unit() * 2.5f});
    }
    for (int y = 0; y < kHorizon; ++y) {
        for (int x = 0; x < kW; ++x) {
            float dx = x - kMoonX, dy = y - kMoonY;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d > kMoonR) {
                float glow = std::exp(-(d - kMoonR) / 16.0f) * 0.55f;
                c.blend(x, y, hex(0xd8d0e8), glow);
                continue;
            }
            // Lit from the upper left: brightness falls toward the lower right.
            float shade = 1.0f - 0.55f * clamp01((dx + dy) / (2.0f * kMoonR) + 0.5f);
            for (const Crater& k : spots) {
                float kd = std::hypot(x - k.x, y - k.y);
                if (kd < k.r) {
                    shade -= 0.18f;
                }
            }
            float rim = smooth(kMoonR - 1.2f, kMoonR, d);
            c.at(x, y) = mix(ramp(kMoonStops, clamp01(shade)), c.at(x, y), rim * 0.6f);
        }
    }
}

// Midpoint displacement gives ridges that look weathered rather than sinusoidal.
std::vector<float> ridge(Rng& rng, float base, float rough, int detail) {
    int n = 512;
    std::vector<float> h(size_t(n + 1), base);
    h[0] = base + (rng.unit() - 0.5f) * rough;
    h[size_t(n)] = base + (rng.unit() - 0.5f) * rough;
    float amp = rough;
    for (int step = n; step > 1; step /= 2) {
        for (int i = step / 2; i < n; i += step) {
            h[size_t(i)] =
                (h[size_t(i - step / 2)] + h[size_t(i + step / 2)]) / 2 + (rng.unit() - 0.5f) * amp;
        }
        amp *= step > detail ? 0.62f : 0.45f;
    }
    std::vector<float> out(kW);
    for (int x = 0; x < kW; ++x) {
        out[size_t(x)] = h[size_t(x * n / kW)];
    }
    return out;
}

void paintFarRange(Canvas& c, Rng& rng) {
    std::vector<float> top = ridge(rng, 96, 70, 64);
    for (int x = 0; x < kW; ++x) {
        int y0 = int(top[size_t(x)]);
        // A wide slope estimate: a per-column one paints the light in stripes.
        float slope = (top[size_t(std::min(x + 4, kW - 1))] - top[size_t(std::max(x - 4, 0))]) / 4;
        for (int y = std::max(y0, 0); y < kHorizon; ++y) {
            // Haze thickens toward the valley floor, lifting the colour.
            float haze = smooth(float(y0), float(kHorizon), float(y));
            float lit = slope > 0 ? clamp01(slope * 0.5f) * std::exp(-float(y - y0) / 10.0f) : 0.0f;
            float edge = y - y0 < 2 ? 0.15f : 0.0f;
            c.at(x, y) = ramp(kFarStops, 0.1f + haze * 0.75f + lit * 0.4f + edge);
        }
    }
}

// The fortress crag sits on the near range, so the range needs to know where.
constexpr int kKeepX = 78;
constexpr float kCragTop = 108;

void paintNearRange(Canvas& c, Rng& rng, std::vector<int>& ground) {
    std::vector<float> top = ridge(rng, 118, 46, 32);
    ground.assign(kW, kHorizon);
    for (int x = 0; x < kW; ++x) {
        // Lift a crag to a fixed height under the fortress, so the fortress clears
        // the lettering whatever the ridge does; dip the land below the moon.
        float crag = std::exp(-std::pow((x - kKeepX) / 30.0f, 2.0f));
        float dip = 16.0f * std::exp(-std::pow((x - kMoonX) / 40.0f, 2.0f));
        float y0f = top[size_t(x)] + (kCragTop - top[size_t(x)]) * crag + dip;
        int y0 = int(std::min(y0f, float(kHorizon - 3)));
        ground[size_t(x)] = y0;
        float slope = top[size_t(std::min(x + 1, kW - 1))] - top[size_t(std::max(x - 1, 0))];
        for (int y = std::max(y0, 0); y < kHorizon; ++y) {
            float depth = float(y - y0);
            // Moonlight catches the slopes that face it, just under the crest.
            float lit = slope > 0 ? clamp01(slope * 0.3f) * std::exp(-depth / 5.0f) : 0.0f;
            float rim = depth < 1 ? 0.35f : 0.0f;
            float low = smooth(float(kHorizon - 10), float(kHorizon), float(y)) * 0.12f;
            c.at(x, y) = ramp(kNearStops, 0.12f + lit * 0.55f + rim + low);
        }
    }
}

void fillRect(Canvas& c, int x0, int y0, int x1, int y1, Rgb col) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            c.set(x, y, col);
        }
    }
}

// A pointed roof: a triangle from the apex down to the given width.
void roof(Canvas& c, int cx, int apex, int base, int halfWidth, Rgb col, Rgb rimCol) {
    for (int y = apex; y < base; ++y) {
        int hw = (y - apex) * halfWidth / std::max(1, base - apex);
        for (int x = cx - hw; x <= cx + hw; ++x) {
            c.set(x, y, x == cx + hw ? rimCol : col);
        }
    }
}

void tower(Canvas& c, int cx, int halfWidth, int top, int bottom, Rgb col, Rgb rimCol) {
    fillRect(c, cx - halfWidth, top, cx + halfWidth + 1, bottom, col);
    // The moon is to the right: a thin lit edge on that side.
    for (int y = top; y < bottom; ++y) {
        c.set(cx + halfWidth, y, rimCol);
    }
}

void windows(Canvas& c, int cx, int y, int count, int pitch) {
    Rgb warm = ramp(kLampStops, 0.75f);
    Rgb hot = ramp(kLampStops, 1.0f);
    int left = cx - (count - 1) * pitch / 2;
    for (int i = 0; i < count; ++i) {
        c.set(left + i * pitch, y, hot);
        c.set(left + i * pitch, y + 1, warm);
    }
}

void paintFortress(Canvas& c, const std::vector<int>& ground) {
    Rgb body = ramp(kNearStops, 0.04f);
    Rgb rim = ramp(kNearStops, 0.62f);
    int base = ground[size_t(kKeepX)] + 4;

    // Curtain wall with crenellations, then the towers rising from it.
    int wallTop = base - 14;
    fillRect(c, kKeepX - 26, wallTop, kKeepX + 27, base, body);
    for (int x = kKeepX - 26; x <= kKeepX + 26; x += 4) {
        fillRect(c, x, wallTop - 3, x + 2, wallTop, body);
    }
    tower(c, kKeepX - 22, 4, base - 30, base, body, rim);
    roof(c, kKeepX - 22, base - 42, base - 29, 6, body, rim);
    tower(c, kKeepX + 21, 3, base - 26, base, body, rim);
    roof(c, kKeepX + 21, base - 36, base - 25, 5, body, rim);
    tower(c, kKeepX, 7, base - 40, base, body, rim);
    for (int x = kKeepX - 9; x <= kKeepX + 8; x += 4) {
        fillRect(c, x, base - 44, x + 2, base - 40, body);
    }
    fillRect(c, kKeepX - 9, base - 41, kKeepX + 10, base - 39, body);
    // A slender spire with a pennant gives the silhouette its signature.
    tower(c, kKeepX, 2, base - 50, base - 40, body, rim);
    roof(c, kKeepX, base - 58, base - 49, 3, body, rim);
    for (int y = base - 64; y < base - 57; ++y) {
        c.set(kKeepX, y, body);
    }
    for (int i = 0; i < 6; ++i) {
        for (int j = 0; j <= (6 - i) / 2; ++j) {
            c.set(kKeepX + 1 + i, base - 64 + j + i / 3, ramp(kLampStops, 0.4f));
        }
    }

    windows(c, kKeepX, base - 34, 2, 6);
    windows(c, kKeepX, base - 24, 3, 5);
    windows(c, kKeepX, base - 47, 1, 1);
    windows(c, kKeepX - 22, base - 22, 1, 1);
    windows(c, kKeepX + 21, base - 18, 1, 1);
    windows(c, kKeepX - 12, base - 9, 2, 6);
    windows(c, kKeepX + 13, base - 9, 1, 1);
}

void paintLake(Canvas& c, Rng& rng) {
    Canvas above = c;
    int depthRows = kH - kHorizon;
    for (int y = kHorizon; y < kH; ++y) {
        int k = y - kHorizon;
        float depth = float(k) / float(depthRows - 1);
        // Perspective: ripples grow and the mirror image stretches with distance.
        int src = kHorizon - 1 - int(float(k) * 0.9f);
        float amp = 0.4f + depth * 3.0f;
        float phase = float(y) * 0.55f + depth * depth * 9.0f;
        for (int x = 0; x < kW; ++x) {
            int sx = x + int(std::lround(std::sin(phase + x * 0.045f) * amp));
            sx = std::min(kW - 1, std::max(0, sx));
            c.at(x, y) = waterTint(above.at(sx, std::max(src, 0)), depth);
        }
    }
    // The moon's path on the water: broken bright streaks that narrow with distance.
    for (int y = kHorizon; y < kH; ++y) {
        float depth = float(y - kHorizon) / float(depthRows);
        float half = 4.0f + depth * 24.0f;
        // Far glitter is sparse and faint; it thickens toward the viewer.
        int count = 1 + int(depth * 3.0f);
        for (int streak = 0; streak < count; ++streak) {
            float off = (rng.unit() - 0.5f) * 2.0f * half;
            int len = 2 + rng.below(3 + int(depth * 10));
            float bright = (0.25f + 0.55f * rng.unit()) * (0.45f + 0.55f * depth);
            for (int i = 0; i < len; ++i) {
                int x = int(kMoonX + off) + i;
                float fall = 1.0f - std::fabs(off) / half;
                c.blend(x, y, ramp(kMoonStops, 0.85f), bright * fall);
            }
        }
    }
    // A sliver of mist where water meets land softens the hard mirror line.
    for (int x = 0; x < kW; ++x) {
        c.blend(x, kHorizon, ramp(kFarStops, 0.7f), 0.35f);
        c.blend(x, kHorizon + 1, ramp(kFarStops, 0.7f), 0.15f);
    }
}

Mask dilate(const Mask& m, int r) {
    Mask out = m;
    for (int y = 0; y < m.h; ++y) {
        for (int x = 0; x < m.w; ++x) {
            bool any = false;
            for (int dy = -r; dy <= r && !any; ++dy) {
                for (int dx = -r; dx <= r && !any; ++dx) {
                    any = m.at(x + dx, y + dy);
                }
            }
            out.bits[size_t(y * m.w + x)] = any;
        }
    }
    return out;
}

// A four-point glint, the classic cue that the lettering is polished metal.
void sparkle(Canvas& c, int cx, int cy, int arm) {
    Rgb white = hex(0xffffff);
    Rgb pale = hex(0xfffbe0);
    c.setFlat(cx, cy, white);
    for (int i = 1; i <= arm; ++i) {
        Rgb col = i * 2 <= arm ? white : pale;
        c.setFlat(cx + i, cy, col);
        c.setFlat(cx - i, cy, col);
        c.setFlat(cx, cy + i, col);
        c.setFlat(cx, cy - i, col);
    }
    for (int d : {-1, 1}) {
        c.setFlat(cx + d, cy + d, pale);
        c.setFlat(cx + d, cy - d, pale);
    }
}

// The lettering is drawn in layers: soft dark halo, hard drop shadow, an outline
// and a bevelled metallic face, so it reads over both the sky and the moon glow.
void paintTitle(Canvas& c) {
    constexpr int pad = 6;
    Mask glyphs = scale3x(titleGrid("TARVOSK", 2));
    Mask face(glyphs.w + 2 * pad, glyphs.h + 2 * pad);
    for (int y = 0; y < glyphs.h; ++y) {
        for (int x = 0; x < glyphs.w; ++x) {
            if (glyphs.at(x, y)) {
                face.set(x + pad, y + pad);
            }
        }
    }
    Mask outline = dilate(face, 2);
    Mask halo = dilate(face, 5);
    int ox = (kW - face.w) / 2;
    int oy = 4;

    Rgb ink = hex(0x08020a);
    for (int y = 0; y < face.h; ++y) {
        for (int x = 0; x < face.w; ++x) {
            if (halo.at(x, y)) {
                c.blend(ox + x, oy + y, hex(0x05030f), 0.45f);
            }
        }
    }
    for (int y = 0; y < face.h; ++y) {
        for (int x = 0; x < face.w; ++x) {
            if (outline.at(x - 3, y - 3)) {
                c.setFlat(ox + x, oy + y, ink);
            }
        }
    }
    for (int y = 0; y < face.h; ++y) {
        for (int x = 0; x < face.w; ++x) {
            if (outline.at(x, y)) {
                c.setFlat(ox + x, oy + y, face.at(x, y) ? ink : hex(0x4a1410));
            }
        }
    }
    for (int y = 0; y < face.h; ++y) {
        float t = float(y - pad) / float(glyphs.h - 1);
        for (int x = 0; x < face.w; ++x) {
            if (!face.at(x, y)) {
                continue;
            }
            Rgb col = ramp(kGoldStops, t);
            bool lightEdge = !face.at(x, y - 1) || !face.at(x - 1, y) || !face.at(x, y - 2) ||
                             !face.at(x - 2, y);
            bool darkEdge = !face.at(x, y + 1) || !face.at(x + 1, y) || !face.at(x, y + 2) ||
                            !face.at(x + 2, y);
            if (lightEdge && !darkEdge) {
                col = mix(col, hex(0xfffbe0), 0.6f);
            } else if (darkEdge && !lightEdge) {
                col = mix(col, hex(0x4a1410), 0.55f);
            }
            c.setFlat(ox + x, oy + y, col);
        }
    }
    // Glints on the top-left corner of the first letter and the shoulder of the O.
    sparkle(c, ox + pad + 2, oy + pad + 1, 5);
    sparkle(c, ox + pad + 4 * (kBigW + 2) * 3 + 27, oy + pad + 5, 4);
}

void paintPublisher(Canvas& c) {
    Mask m = textMask("KELVANE", 1, 1, 2);
    int ox = 8;
    int oy = kH - m.h - 6;
    for (int y = 0; y < m.h; ++y) {
        for (int x = 0; x < m.w; ++x) {
            if (m.at(x, y)) {
                c.setFlat(ox + x + 1, oy + y + 1, hex(0x000000));
                c.setFlat(ox + x, oy + y, mix(hex(0x3a3458), hex(0xc8c0e0), 0.55f));
            }
        }
    }
}

float distance2(Rgb a, Rgb b) {
    // Weighted so green differences count most, as the eye does.
    float dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return 2 * dr * dr + 4 * dg * dg + 3 * db * db;
}

uint8_t nearest(const std::vector<Rgb>& palette, Rgb c) {
    size_t best = 0;
    float bestD = distance2(palette[0], c);
    for (size_t i = 1; i < palette.size(); ++i) {
        float d = distance2(palette[i], c);
        if (d < bestD) {
            bestD = d;
            best = i;
        }
    }
    return uint8_t(best);
}

// Ordered (Bayer) dither keeps gradients smooth yet stable: no crawling error
// diffusion patterns, and the same look a VGA-era artist would have used.
std::vector<uint8_t> quantise(const Canvas& c, const std::vector<Rgb>& palette) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    std::vector<uint8_t> idx(size_t(kW * kH));
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            Rgb col = c.at(x, y);
            if (c.dithered(x, y)) {
                float k = (float(bayer[y & 3][x & 3]) + 0.5f) / 16.0f - 0.5f;
                col = add(col, Rgb{k * 10, k * 10, k * 12});
            }
            idx[size_t(y * kW + x)] = nearest(palette, col);
        }
    }
    return idx;
}

Bytes encodeBmp(const std::vector<uint8_t>& idx, const std::vector<Rgb>& palette) {
    constexpr uint32_t headers = 14 + 40;
    constexpr uint32_t table = 256 * 4;
    constexpr uint32_t image = kW * kH; // 320 is already a multiple of 4
    Bytes out;
    out.u8('B');
    out.u8('M');
    out.u32(headers + table + image);
    out.u32(0);
    out.u32(headers + table);
    infoHeader(out, kW, kH, 8, image, 256);
    colourTable(out, palette);
    for (int y = kH - 1; y >= 0; --y) {
        for (int x = 0; x < kW; ++x) {
            out.u8(idx[size_t(y * kW + x)]);
        }
    }
    return out;
}

Bytes makeTitle() {
    Canvas c;
    Rng rng(0x7a4b05c1);
    std::vector<int> ground;
    paintSky(c);
    paintStars(c, rng);
    paintMoon(c);
    paintFarRange(c, rng);
    paintNearRange(c, rng, ground);
    paintFortress(c, ground);
    paintLake(c, rng);
    paintTitle(c);
    paintPublisher(c);
    std::vector<Rgb> palette = titlePalette();
    return encodeBmp(quantise(c, palette), palette);
}

// ---------------------------------------------------------------------------
// Icon: 32x32 in the 16 standard VGA colours, drawn directly in palette indices
// because at this size every pixel is placed by intent.

enum Vga : uint8_t {
    Black,
    Blue,
    Green,
    Cyan,
    Red,
    Magenta,
    Brown,
    LightGrey,
    DarkGrey,
    LightBlue,
    LightGreen,
    LightCyan,
    LightRed,
    LightMagenta,
    Yellow,
    White
};

std::vector<Rgb> vgaPalette() {
    const uint32_t v[16] = {0x000000, 0x0000aa, 0x00aa00, 0x00aaaa, 0xaa0000, 0xaa00aa,
                            0xaa5500, 0xaaaaaa, 0x555555, 0x5555ff, 0x55ff55, 0x55ffff,
                            0xff5555, 0xff55ff, 0xffff55, 0xffffff};
    std::vector<Rgb> p;
    for (uint32_t c : v) {
        p.push_back(hex(c));
    }
    return p;
}

constexpr int kIcon = 32;

struct IconImage {
    std::array<uint8_t, kIcon * kIcon> colour{};
    std::array<uint8_t, kIcon * kIcon> opaque{};
    void put(int x, int y, uint8_t c) {
        if (x >= 0 && y >= 0 && x < kIcon && y < kIcon && opaque[size_t(y * kIcon + x)]) {
            colour[size_t(y * kIcon + x)] = c;
        }
    }
    uint8_t get(int x, int y) const { return colour[size_t(y * kIcon + x)]; }
};

// The emblem's tower doubles as the letter T: battlements form the bar.
// clang-format off
const char* const kIconTower[] = {
    "##.##.###.##.##",
    "###############",
    "###############",
    "###############",
    "....#######....",
    ".....#####.....",
    ".....#####.....",
    ".....#####.....",
    ".....#####.....",
    ".....#####.....",
    ".....#####.....",
    ".....#####.....",
    ".....#####.....",
    "....#######....",
    "...#########...",
};
// clang-format on

uint8_t iconSky(int x, int y) {
    // Share of the lighter colour per 2x2 ordered-dither cell, in quarters.
    static const int order[2][2] = {{0, 2}, {3, 1}};
    int cell = order[y & 1][x & 1];
    if (y < 5) {
        return Black;
    }
    if (y < 11) {
        return cell < (y - 4) / 2 ? Blue : Black;
    }
    if (y < 14) {
        return Blue;
    }
    return cell < std::min(2, (y - 12) / 2) ? Magenta : Blue;
}

void iconBackground(IconImage& im) {
    for (int y = 0; y < kIcon; ++y) {
        for (int x = 0; x < kIcon; ++x) {
            float dx = x - 15.5f, dy = y - 15.5f;
            bool in = dx * dx + dy * dy <= 15.6f * 15.6f;
            im.opaque[size_t(y * kIcon + x)] = in;
            // Night sky: black at the top, dithered through deep blue into a
            // purple glow above the peaks, echoing the title artwork's dusk.
            im.colour[size_t(y * kIcon + x)] = in ? iconSky(x, y) : uint8_t(Black);
        }
    }
    const int stars[][2] = {{9, 5}, {13, 3}, {6, 9}, {17, 6}, {27, 11}, {4, 13}};
    for (const auto& s : stars) {
        im.put(s[0], s[1], s[0] % 2 ? White : LightGrey);
    }
    // Crescent moon above the right arm of the T.
    for (int y = 0; y < kIcon; ++y) {
        for (int x = 0; x < kIcon; ++x) {
            float a = std::hypot(x - 22.0f, y - 5.5f), b = std::hypot(x - 20.3f, y - 4.3f);
            if (a <= 3.6f && b > 3.0f) {
                im.put(x, y, a > 2.9f ? Yellow : White);
            }
        }
    }
}

void iconLandscape(IconImage& im) {
    // Peaks either side of the tower, snow-capped, then the lake below.
    const int peaks[][3] = {{5, 16, 8}, {12, 18, 6}, {24, 15, 8}, {30, 19, 5}};
    for (int x = 0; x < kIcon; ++x) {
        int top = 26;
        for (const auto& p : peaks) {
            top = std::min(top, p[1] + std::abs(x - p[0]) * 10 / p[2]);
        }
        for (int y = top; y < 24; ++y) {
            uint8_t col = y - top < 2 ? (y == top ? White : LightGrey) : DarkGrey;
            im.put(x, y, col);
        }
    }
    for (int y = 24; y < kIcon; ++y) {
        for (int x = 0; x < kIcon; ++x) {
            bool ripple = (y % 2 == 0) && ((x * 3 + y * 5) % 11 < 2);
            im.put(x, y, ripple ? LightCyan : (y == 24 ? Cyan : Blue));
        }
    }
}

void iconTower(IconImage& im) {
    const int left = 9, top = 9;
    int rows = int(sizeof(kIconTower) / sizeof(kIconTower[0]));
    auto solid = [&](int x, int y) {
        int tx = x - left, ty = y - top;
        return ty >= 0 && ty < rows && tx >= 0 && tx < 15 && kIconTower[ty][tx] == '#';
    };
    for (int y = 0; y < kIcon; ++y) {
        for (int x = 0; x < kIcon; ++x) {
            if (solid(x, y)) {
                // Light from the upper left, as on the title artwork's lettering.
                bool hi = !solid(x - 1, y) || !solid(x, y - 1);
                bool lo = !solid(x + 1, y) || !solid(x, y + 1);
                im.put(x, y, hi && !lo ? White : (lo ? Brown : Yellow));
            } else if (solid(x - 1, y) || solid(x + 1, y) || solid(x, y - 1) || solid(x, y + 1)) {
                im.put(x, y, Black);
            }
        }
    }
    // The window slot in the stem glows red, like the fortress windows.
    im.put(16, 16, Red);
    im.put(16, 17, LightRed);
}

void iconRing(IconImage& im) {
    for (int y = 0; y < kIcon; ++y) {
        for (int x = 0; x < kIcon; ++x) {
            float d = std::hypot(x - 15.5f, y - 15.5f);
            if (d > 14.6f) {
                im.put(x, y, Black);
            } else if (d > 13.7f) {
                im.put(x, y, y < 16 ? LightGrey : DarkGrey);
            }
        }
    }
}

Bytes encodeIco(const IconImage& im) {
    constexpr uint32_t xorBytes = kIcon * kIcon / 2; // 16 bytes a row, no padding
    constexpr uint32_t andBytes = kIcon * 4;         // 32 bits a row, already aligned
    constexpr uint32_t dib = 40 + 16 * 4 + xorBytes + andBytes;
    Bytes out;
    out.u16(0);
    out.u16(1); // icon, not cursor
    out.u16(1); // one image
    out.u8(kIcon);
    out.u8(kIcon);
    out.u8(16);
    out.u8(0);
    out.u16(1);
    out.u16(4);
    out.u32(dib);
    out.u32(6 + 16);
    // Height is doubled: the colour image and the mask are stacked.
    infoHeader(out, kIcon, kIcon * 2, 4, xorBytes + andBytes, 16);
    colourTable(out, vgaPalette());
    for (int y = kIcon - 1; y >= 0; --y) {
        for (int x = 0; x < kIcon; x += 2) {
            out.u8(unsigned(im.get(x, y) << 4 | im.get(x + 1, y)));
        }
    }
    for (int y = kIcon - 1; y >= 0; --y) {
        for (int x = 0; x < kIcon; x += 8) {
            unsigned bits = 0;
            for (int b = 0; b < 8; ++b) {
                bool clear = !im.opaque[size_t(y * kIcon + x + b)];
                bits |= unsigned(clear) << (7 - b);
            }
            out.u8(bits);
        }
    }
    return out;
}

Bytes makeIcon() {
    IconImage im;
    iconBackground(im);
    iconLandscape(im);
    iconTower(im);
    iconRing(im);
    // Transparent pixels must be black in the colour image: Windows XORs them
    // onto the desktop, and anything but zero would tint what lies beneath.
    for (int i = 0; i < kIcon * kIcon; ++i) {
        if (!im.opaque[size_t(i)]) {
            im.colour[size_t(i)] = Black;
        }
    }
    return encodeIco(im);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    std::string dir = argv[1];
    struct Output {
        std::string name;
        Bytes bytes;
        size_t expected;
    };
    Output outputs[] = {
        {"tarvosk.bmp", makeTitle(), 65078},
        {"tarvosk.ico", makeIcon(), 766},
    };
    for (const Output& o : outputs) {
        // A size mismatch means a header or row layout slipped; never ship that.
        if (o.bytes.size() != o.expected) {
            std::fprintf(stderr, "%s: built %zu bytes, expected %zu\n", o.name.c_str(),
                         o.bytes.size(), o.expected);
            return 1;
        }
        std::string path = dir + "/" + o.name;
        if (!o.bytes.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
