#include "rockets.h"

#include <algorithm>
#include <cmath>

namespace media {

namespace {

constexpr int kSupersampling = 4;
constexpr double kAxis = kRocketWidth / 2.0;

// Green, orange, blue, magenta, yellow.
const Light kBodyColours[kRocketColours] = {
    {0.25, 0.9, 0.35}, {1.0, 0.55, 0.15}, {0.3, 0.55, 1.0}, {0.92, 0.25, 0.88}, {1.0, 0.88, 0.2},
};

struct Paint {
    bool covered = false;
    Light colour;
};

// Light falls from the upper left: a round body is brightest left of its axis.
double CylinderShade(double x, double halfWidth)
{
    const double across = std::clamp((x - kAxis) / halfWidth, -1.0, 1.0);
    return 0.55 + 0.45 * std::cos((across + 0.35) * 1.3);
}

// NOLINTNEXTLINE(readability-function-cognitive-complexity): the parts of the rocket, one after the other.
Paint RocketAt(double x, double y, const Light& body, bool bright)
{
    const double dx = std::abs(x - kAxis);
    const Light white{1, 1, 1};
    // Nose cone.
    if (y >= 3 && y < 12) {
        const double half = 3.6 * (y - 3) / 9.0;
        if (dx <= half) {
            return {true, Mix(body, white, 0.35) * CylinderShade(x, std::max(half, 0.5))};
        }
    }
    // Fins, behind the body.
    if (y >= 23 && y < 33) {
        const double reach = 3.6 + 3.4 * (y - 23) / 10.0;
        if (dx > 3.5 && dx <= reach && y < 33 - 0.4 * (dx - 3.5)) {
            return {true, body * 0.7};
        }
    }
    // Body with a white band.
    if (y >= 12 && y < 31 && dx <= 3.6) {
        const bool band = (y >= 16 && y < 18.2) || (y >= 26 && y < 27.2);
        return {true, (band ? Mix(body, white, 0.8) : body) * CylinderShade(x, 3.6)};
    }
    // Nozzle.
    if (y >= 31 && y < 33.5 && dx <= 2.0) {
        return {true, Light{0.55, 0.55, 0.6} * CylinderShade(x, 2.0)};
    }
    // Flame: a white-hot core inside an orange teardrop; longer in the bright frame.
    const double flameEnd = bright ? 47.5 : 43.0;
    if (y >= 33.5 && y < flameEnd) {
        const double along = (y - 33.5) / (flameEnd - 33.5);
        const double half = 3.2 * std::sin(std::min(1.0, along * 2.2 + 0.35) * 1.5708) * (1.0 - along * 0.9);
        if (dx <= half) {
            const double heat = std::clamp(1.0 - dx / half * 0.7 - along * 0.8, 0.0, 1.0);
            const Light orange{1.0, 0.45, 0.1};
            const Light yellow{1.0, 0.95, 0.6};
            return {true, Mix(orange, yellow, heat) * (bright ? 1.0 : 0.75)};
        }
    }
    return {};
}

// A few sparks falling from the flame.
void AddSparks(std::vector<Light>& cell, bool bright)
{
    struct Spark {
        int x, y;
        double level;
    };
    const Spark dim[] = {{8, 45, 0.5}, {12, 47, 0.4}};
    const Spark lit[] = {{7, 48, 0.9}, {12, 46, 0.8}, {10, 49, 0.6}, {13, 48, 0.5}};
    const Light spark{1.0, 0.8, 0.4};
    if (bright) {
        for (const Spark& s : lit) cell[s.y * kRocketWidth + s.x] += spark * s.level;
    } else {
        for (const Spark& s : dim) cell[s.y * kRocketWidth + s.x] += spark * s.level;
    }
}

std::vector<Light> PaintRocket(const Light& body, bool bright)
{
    std::vector<Light> cell(static_cast<std::size_t>(kRocketWidth) * kRocketHeight);
    const double level = bright ? 1.0 : 0.5;
    for (int py = 0; py < kRocketHeight; ++py) {
        for (int px = 0; px < kRocketWidth; ++px) {
            Light sum;
            for (int sy = 0; sy < kSupersampling; ++sy) {
                for (int sx = 0; sx < kSupersampling; ++sx) {
                    const Paint paint =
                        RocketAt(px + (sx + 0.5) / kSupersampling, py + (sy + 0.5) / kSupersampling, body, bright);
                    if (paint.covered) {
                        sum += paint.colour;
                    }
                }
            }
            cell[py * kRocketWidth + px] = sum * (level / (kSupersampling * kSupersampling));
        }
    }
    AddSparks(cell, bright);
    return cell;
}

std::uint8_t ToByte(double value)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(value * 255.0), 0L, 255L));
}

}  // namespace

std::vector<Rgb8> PaintRocketSheet()
{
    std::vector<Rgb8> sheet(static_cast<std::size_t>(kRocketSheetWidth) * kRocketHeight);
    for (int frame = 0; frame < 2; ++frame) {
        for (int colour = 0; colour < kRocketColours; ++colour) {
            const std::vector<Light> cell = PaintRocket(kBodyColours[colour], frame == 1);
            const int left = (frame * kRocketColours + colour) * kRocketWidth;
            for (int y = 0; y < kRocketHeight; ++y) {
                for (int x = 0; x < kRocketWidth; ++x) {
                    const Light& l = cell[y * kRocketWidth + x];
                    sheet[static_cast<std::size_t>(y) * kRocketSheetWidth + left + x] = {ToByte(l.r), ToByte(l.g),
                                                                                         ToByte(l.b)};
                }
            }
        }
    }
    return sheet;
}

}  // namespace media
