#include "icon.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "canvas.h"
#include "png_file.h"

namespace media {

namespace {

constexpr int kSupersampling = 4;
constexpr double kPi = 3.14159265358979323846;
constexpr int kBitmapSizes[] = {16, 24, 32, 48, 64};
constexpr int kPngSize = 256;

struct Coverage {
    double alpha = 0;
    Light colour;
};

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    const double t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

// The icon at unit scale: x and y in [0, 1); `size` makes small icons bolder.
Coverage IconAt(double x, double y, int size)
{
    // Rounded tile of night sky.
    const double corner = 0.18;
    const double qx = std::max(std::abs(x - 0.5) - (0.5 - corner), 0.0);
    const double qy = std::max(std::abs(y - 0.5) - (0.5 - corner), 0.0);
    if (std::hypot(qx, qy) > corner) {
        return {};
    }
    Coverage c{1.0, Mix(Light{0.05, 0.07, 0.2}, Light{0.01, 0.01, 0.05}, y)};
    const Light white{1, 1, 1};
    const double cx = 0.5, cy = 0.44;

    // The trail the shell left on its way up, behind the burst.
    if (size >= 32 && y > cy && std::abs(x - cx - 0.015 * std::sin(y * 25.0)) < 0.008 + 0.5 / size) {
        c.colour = Mix(Light{1.0, 0.75, 0.35}, c.colour, std::clamp((y - cy) * 1.8, 0.0, 1.0));
    }

    const Light colours[] = {{1.0, 0.85, 0.3}, {1.0, 0.35, 0.3}, {0.4, 0.9, 1.0}, {1.0, 0.45, 0.9}};
    const bool small = size <= 24;
    const int rays = small ? 8 : 16;
    const double width = small ? 0.06 : std::max(0.018, 1.1 / size);
    for (int i = 0; i < rays; ++i) {
        const double a = 2.0 * kPi * i / rays + 0.13;
        // Every other ray is shorter, as stars of a real shell spread in depth.
        const double outer = (small || i % 2 == 0) ? 0.36 : 0.27;
        const double inner = 0.07;
        const double droop = 0.04 * outer;
        const double ex = cx + std::cos(a) * outer, ey = cy + std::sin(a) * outer + droop;
        const double sx = cx + std::cos(a) * inner, sy = cy + std::sin(a) * inner;
        const Light& colour = colours[i % 4];
        const double along = std::clamp(std::hypot(x - sx, y - sy) / (outer - inner), 0.0, 1.0);
        if (SegmentDistance(x, y, sx, sy, ex, ey) < width * (0.3 + 0.7 * along)) {
            c.colour = Mix(white, colour, along);
        }
        if (std::hypot(x - ex, y - ey) < width * (small ? 1.0 : 1.5)) {
            c.colour = Mix(colour, white, 0.55);
        }
    }
    if (std::hypot(x - cx, y - cy) < (small ? 0.09 : 0.05)) {
        c.colour = Light{1, 1, 0.9};
    }
    return c;
}

std::vector<Rgba8> PaintIcon(int size)
{
    std::vector<Rgba8> pixels(static_cast<std::size_t>(size) * size);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            double alpha = 0;
            Light colour;
            for (int sy = 0; sy < kSupersampling; ++sy) {
                for (int sx = 0; sx < kSupersampling; ++sx) {
                    const Coverage c = IconAt((px + (sx + 0.5) / kSupersampling) / size,
                                              (py + (sy + 0.5) / kSupersampling) / size, size);
                    alpha += c.alpha;
                    colour += c.colour * c.alpha;
                }
            }
            Rgba8& out = pixels[static_cast<std::size_t>(py) * size + px];
            if (alpha > 0) {
                colour = colour * (1.0 / alpha);
                out.r = static_cast<std::uint8_t>(std::lround(std::clamp(colour.r, 0.0, 1.0) * 255));
                out.g = static_cast<std::uint8_t>(std::lround(std::clamp(colour.g, 0.0, 1.0) * 255));
                out.b = static_cast<std::uint8_t>(std::lround(std::clamp(colour.b, 0.0, 1.0) * 255));
                out.a = static_cast<std::uint8_t>(std::lround(alpha / (kSupersampling * kSupersampling) * 255));
            }
        }
    }
    return pixels;
}

// An icon bitmap: header of doubled height, BGRA rows bottom-up, then the mask.
Bytes IconBitmap(const std::vector<Rgba8>& pixels, int size)
{
    const int maskRowBytes = ((size + 31) / 32) * 4;
    Bytes out;
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(size));
    PutU32(out, static_cast<std::uint32_t>(size * 2));
    PutU16(out, 1);
    PutU16(out, 32);
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(size * size * 4 + maskRowBytes * size));
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const Rgba8& p = pixels[static_cast<std::size_t>(y) * size + x];
            PutU8(out, p.b);
            PutU8(out, p.g);
            PutU8(out, p.r);
            PutU8(out, p.a);
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(maskRowBytes));
        for (int x = 0; x < size; ++x) {
            if (pixels[static_cast<std::size_t>(y) * size + x].a == 0) {
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        PutBytes(out, row);
    }
    return out;
}

}  // namespace

Bytes BuildIcon()
{
    std::vector<std::pair<int, Bytes>> images;
    for (int size : kBitmapSizes) {
        images.emplace_back(size, IconBitmap(PaintIcon(size), size));
    }
    images.emplace_back(kPngSize, EncodePng(PaintIcon(kPngSize), kPngSize, kPngSize));

    Bytes out;
    PutU16(out, 0);
    PutU16(out, 1);  // icon
    PutU16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const auto& [size, data] : images) {
        PutU8(out, size >= 256 ? 0 : static_cast<unsigned>(size));
        PutU8(out, size >= 256 ? 0 : static_cast<unsigned>(size));
        PutU8(out, 0);
        PutU8(out, 0);
        PutU16(out, 1);
        PutU16(out, 32);
        PutU32(out, static_cast<std::uint32_t>(data.size()));
        PutU32(out, offset);
        offset += static_cast<std::uint32_t>(data.size());
    }
    for (const auto& image : images) {
        PutBytes(out, image.second);
    }
    return out;
}

}  // namespace media
