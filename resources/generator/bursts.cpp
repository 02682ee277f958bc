#include "bursts.h"

#include <algorithm>
#include <cmath>

#include "burst_layout.h"
#include "random.h"
#include "star_field.h"

namespace media {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Sky of the photographs: a deep blue-black, far below the renderer's threshold.
const Light kSky{3, 4, 8};
// Light is kept this far inside the cell border and the revealed radius.
constexpr double kEdgeMargin = 12.0;
constexpr double kRadiusMargin = 6.0;

// A random direction in space as the camera sees it: depth drops out, so
// stars flying towards or away from the camera leave short streaks.
Point SphereDirection(Random& random)
{
    const double depth = random.Range(-1.0, 1.0);
    const double angle = random.Range(0.0, 2.0 * kPi);
    const double planar = std::sqrt(1.0 - depth * depth);
    return {planar * std::cos(angle), planar * std::sin(angle)};
}

// Initial speed that carries a star `reach` pixels against drag within `burn` seconds.
double LaunchSpeed(double reach, double drag, double burn) { return reach * drag / (1.0 - std::exp(-drag * burn)); }

Light Tint(double r, double g, double b) { return {r, g, b}; }

struct Shell {
    Point center;
    double reach;
};

// A star thrown from the centre in direction `d`.
Star Thrown(const Shell& shell, Point d, double reachFraction, double drag, double burn)
{
    Star star;
    const double speed = LaunchSpeed(shell.reach * reachFraction, drag, burn);
    star.vx = d.x * speed;
    star.vy = d.y * speed;
    star.drag = drag;
    star.burn = burn;
    return star;
}

// A star of a spherical shell: random direction, reach and burning time.
Star ThrownAtRandom(const Shell& shell, Random& random, double reachLow, double reachHigh, double drag, double burnLow,
                    double burnHigh)
{
    const Point d = SphereDirection(random);
    const double reach = random.Range(reachLow, reachHigh);
    const double burn = random.Range(burnLow, burnHigh);
    return Thrown(shell, d, reach, drag, burn);
}

// The flash of the bursting charge, white hot at the heart.
void AddCore(Canvas& canvas, Point at, const Light& colour, double size)
{
    canvas.Splat(at.x, at.y, size * 0.35, Light{1, 1, 1} * (size * size * 2.2));
    canvas.Splat(at.x, at.y, size, Mix(colour, Light{1, 1, 1}, 0.4) * (size * size * 3.0));
    canvas.Splat(at.x, at.y, size * 2.5, colour * (size * size * 3.0));
}

void Peony(Canvas& canvas, Random& random, const Shell& shell, int stars, const Light& head, const Light& tail,
           double brightness, double darkUntil)
{
    StarField field(shell.center, shell.reach, kCellSize, kEdgeMargin);
    for (int i = 0; i < stars; ++i) {
        Star star = ThrownAtRandom(shell, random, 0.9, 1.0, 1.5, 1.6, 1.9);
        star.gravity = 36;
        star.head = head;
        star.tail = tail;
        star.brightness = brightness * random.Range(0.8, 1.2);
        star.darkUntil = darkUntil;
        star.width = 0.75;
        star.family = i;
        field.Add(star);
    }
    field.Render(canvas, random);
}

void RedPeony(Canvas& canvas, Random& random, const Shell& shell)
{
    Peony(canvas, random, shell, 170, Tint(1.0, 0.7, 0.55), Tint(1.0, 0.24, 0.2), 150, 0.0);
    AddCore(canvas, shell.center, Tint(1.0, 0.5, 0.4), 5);
}

void GoldChrysanthemum(Canvas& canvas, Random& random, const Shell& shell)
{
    StarField field(shell.center, shell.reach, kCellSize, kEdgeMargin);
    for (int i = 0; i < 120; ++i) {
        Star star = ThrownAtRandom(shell, random, 0.92, 1.0, 1.3, 1.9, 2.1);
        star.gravity = 45;
        star.head = Tint(1.0, 0.85, 0.55);
        star.tail = Tint(0.85, 1.0, 0.9);
        star.brightness = 90;
        star.width = 0.7;
        star.sparkRate = 45;
        star.sparkColor = Tint(1.0, 0.7, 0.3);
        star.sparkLife = 0.5;
        star.family = i;
        field.Add(star);
    }
    field.Render(canvas, random);
    AddCore(canvas, shell.center, Tint(1.0, 0.75, 0.4), 5);
}

void Willow(Canvas& canvas, Random& random, const Shell& shell, int strands, const Light& head, const Light& tip,
            const Light& spark)
{
    StarField field(shell.center, shell.reach, kCellSize, kEdgeMargin);
    for (int i = 0; i < strands; ++i) {
        Star star = ThrownAtRandom(shell, random, 0.6, 0.75, 2.0, 3.4, 4.0);
        star.gravity = 62;
        star.head = head;
        star.tail = tip;
        star.brightness = 34;
        star.width = 0.6;
        star.sparkRate = 22;
        star.sparkColor = spark;
        star.sparkLife = 0.8;
        star.family = i;
        field.Add(star);
    }
    field.Render(canvas, random);
    AddCore(canvas, shell.center, spark, 5);
}

void BlueRing(Canvas& canvas, Random& random, const Shell& shell)
{
    StarField field(shell.center, shell.reach, kCellSize, kEdgeMargin);
    const double tilt = 0.55;
    const double roll = 0.35;
    const int count = 64;
    for (int i = 0; i < count; ++i) {
        const double a = 2.0 * kPi * (i + random.Range(-0.2, 0.2)) / count;
        const double x = std::cos(a);
        const double y = std::sin(a) * tilt;
        const Point d{x * std::cos(roll) - y * std::sin(roll), x * std::sin(roll) + y * std::cos(roll)};
        const double reach = random.Range(0.95, 1.0);
        Star star = Thrown(shell, d, reach, 1.6, random.Range(1.7, 1.9));
        star.gravity = 30;
        star.head = Tint(0.9, 0.95, 1.0);
        star.tail = Tint(0.45, 0.6, 1.0);
        star.brightness = 200;
        star.darkUntil = 0.35;
        star.width = 0.8;
        star.family = 0;
        field.Add(star);
    }
    for (int i = 0; i < 40; ++i) {
        Star star = ThrownAtRandom(shell, random, 0.25, 0.32, 1.8, 1.2, 1.2);
        star.gravity = 25;
        star.head = Tint(1.0, 0.9, 0.7);
        star.tail = Tint(1.0, 0.75, 0.4);
        star.brightness = 80;
        star.width = 0.7;
        star.family = 1;
        field.Add(star);
    }
    field.Render(canvas, random);
    AddCore(canvas, shell.center, Tint(0.6, 0.7, 1.0), 4);
}

void Palm(Canvas& canvas, Random& random, const Shell& shell)
{
    const int arms = 9;
    StarField field(shell.center, shell.reach, kCellSize, kEdgeMargin);
    // The rising comet that carried the shell.
    Star rise;
    rise.start = {random.Range(-3.0, 3.0), static_cast<double>(kCellSize) - shell.center.y - 4.0};
    rise.vx = 0;
    rise.vy = -LaunchSpeed(rise.start.y - 2.0, 0.8, 1.5);
    rise.drag = 0.8;
    rise.gravity = 0.1;
    rise.burn = 1.5;
    rise.head = Tint(1.0, 0.7, 0.4);
    rise.tail = Tint(1.0, 0.8, 0.5);
    rise.brightness = 30;
    rise.width = 0.6;
    rise.sparkRate = 30;
    rise.sparkColor = Tint(1.0, 0.65, 0.3);
    rise.sparkLife = 0.3;
    rise.family = arms;
    for (int i = 0; i < arms; ++i) {
        const double a = 2.0 * kPi * (i + random.Range(-0.15, 0.15)) / arms - kPi / 2;
        const Point d{std::cos(a), std::sin(a) * 0.85};
        Star star = Thrown(shell, d, random.Range(0.85, 1.0), 1.2, 2.4);
        star.gravity = 55;
        star.head = Tint(1.0, 0.95, 0.8);
        star.tail = Tint(1.0, 0.6, 0.3);
        star.brightness = 180;
        star.width = 1.3;
        star.sparkRate = 160;
        star.sparkColor = Tint(1.0, 0.7, 0.35);
        star.sparkLife = 0.6;
        star.family = i;
        field.Add(star);
    }
    field.Add(rise);
    field.Render(canvas, random);
    AddCore(canvas, shell.center, Tint(1.0, 0.7, 0.4), 5);
}

void GreenCrossette(Canvas& canvas, Random& random, const Shell& shell)
{
    StarField field(shell.center, shell.reach, kCellSize, kEdgeMargin);
    const int count = 18;
    for (int i = 0; i < count; ++i) {
        const double a = 2.0 * kPi * (i + random.Range(-0.3, 0.3)) / count;
        const double lift = random.Range(0.7, 1.0);
        const Point d{std::cos(a) * lift, std::sin(a) * lift};
        Star parent = Thrown(shell, d, 0.45, 1.2, 0.6);
        parent.gravity = 25;
        parent.head = Tint(0.9, 1.0, 0.85);
        parent.tail = Tint(0.7, 1.0, 0.6);
        parent.brightness = 160;
        parent.width = 0.8;
        parent.family = i;
        field.Add(parent);
        const Point split = PositionAt(parent, parent.burn);
        for (int k = 0; k < 4; ++k) {
            const double b = a + kPi / 4 + k * kPi / 2 + random.Range(-0.15, 0.15);
            Star child;
            child.start = split;
            const double speed = LaunchSpeed(shell.reach * 0.42, 1.6, 1.3);
            child.vx = std::cos(b) * speed;
            child.vy = std::sin(b) * speed;
            child.drag = 1.6;
            child.burn = random.Range(1.1, 1.4);
            child.gravity = 40;
            child.head = Tint(0.95, 1.0, 0.9);
            child.tail = Tint(0.5, 1.0, 0.45);
            child.brightness = 130;
            child.width = 0.75;
            child.glitter = 4;
            child.family = i;
            field.Add(child);
        }
    }
    field.Render(canvas, random);
    AddCore(canvas, shell.center, Tint(0.6, 1.0, 0.55), 4);
}

void SilverStrobe(Canvas& canvas, Random& random, const Shell& shell)
{
    StarField field(shell.center, shell.reach, kCellSize, kEdgeMargin);
    for (int i = 0; i < 110; ++i) {
        Star star = ThrownAtRandom(shell, random, 0.85, 1.0, 1.4, 2.0, 2.3);
        star.gravity = 40;
        star.head = Tint(1.0, 1.0, 1.0);
        star.tail = Tint(0.85, 0.9, 1.0);
        star.brightness = 180;
        star.width = 0.8;
        star.strobeHz = random.Range(9.0, 13.0);
        star.glitter = 6;
        star.family = i;
        field.Add(star);
    }
    field.Render(canvas, random);
    AddCore(canvas, shell.center, Tint(0.9, 0.9, 1.0), 5);
}

void PurplePistil(Canvas& canvas, Random& random, const Shell& shell)
{
    Peony(canvas, random, shell, 140, Tint(1.0, 0.85, 1.0), Tint(0.85, 0.45, 1.0), 150, 0.3);
    Shell pistil{shell.center, shell.reach * 0.5};
    Peony(canvas, random, pistil, 80, Tint(1.0, 0.9, 0.6), Tint(1.0, 0.6, 0.25), 110, 0.0);
    AddCore(canvas, shell.center, Tint(1.0, 0.8, 0.6), 5);
}

void MixedDahlia(Canvas& canvas, Random& random, const Shell& shell)
{
    const Light colours[] = {Tint(1.0, 0.35, 0.3), Tint(0.45, 1.0, 0.4), Tint(0.45, 0.6, 1.0), Tint(1.0, 0.9, 0.35),
                             Tint(0.9, 0.45, 1.0)};
    StarField field(shell.center, shell.reach, kCellSize, kEdgeMargin);
    for (int i = 0; i < 60; ++i) {
        Star star = ThrownAtRandom(shell, random, 0.9, 1.0, 1.2, 1.8, 2.0);
        star.gravity = 40;
        star.tail = colours[i % 5];
        star.head = Mix(star.tail, Tint(1, 1, 1), 0.6);
        star.brightness = 260;
        star.width = 1.2;
        star.family = i;
        field.Add(star);
    }
    field.Render(canvas, random);
    AddCore(canvas, shell.center, Tint(1.0, 0.9, 0.8), 5);
}

void CracklingChrysanthemum(Canvas& canvas, Random& random, const Shell& shell)
{
    StarField field(shell.center, shell.reach, kCellSize, kEdgeMargin);
    for (int i = 0; i < 100; ++i) {
        Star star = ThrownAtRandom(shell, random, 0.7, 0.8, 1.4, 1.7, 1.9);
        star.gravity = 40;
        star.head = Tint(1.0, 1.0, 0.95);
        star.tail = Tint(0.9, 0.92, 1.0);
        star.brightness = 90;
        star.width = 0.65;
        star.sparkRate = 30;
        star.sparkColor = Tint(1.0, 0.95, 0.85);
        star.sparkLife = 0.35;
        star.family = i;
        field.Add(star);
        // The crackle: a cluster of pops where the star burns out.
        const Point end = PositionAt(star, star.burn);
        const double scale = std::min(1.0, field.Limit(end) / std::max(1.0, std::hypot(end.x, end.y)));
        const int pops = 3 + random.Below(4);
        for (int k = 0; k < pops; ++k) {
            const double spread = shell.reach * 0.12;
            const Point at{shell.center.x + end.x * scale + random.Gaussian() * spread * 0.5,
                           shell.center.y + end.y * scale + random.Gaussian() * spread * 0.5};
            const double size = random.Range(1.5, 3.5);
            DrawSparkle(canvas, at, size, Tint(1.0, 0.95, 0.8) * random.Range(2.0, 4.0));
        }
    }
    field.Render(canvas, random);
    AddCore(canvas, shell.center, Tint(1.0, 1.0, 0.9), 5);
}

void ColourChangingPeony(Canvas& canvas, Random& random, const Shell& shell)
{
    Peony(canvas, random, shell, 150, Tint(0.55, 1.0, 0.95), Tint(1.0, 0.5, 0.75), 150, 0.0);
    AddCore(canvas, shell.center, Tint(0.6, 1.0, 0.9), 5);
}

void Spider(Canvas& canvas, Random& random, const Shell& shell)
{
    StarField field(shell.center, shell.reach, kCellSize, kEdgeMargin);
    for (int i = 0; i < 220; ++i) {
        Star star = ThrownAtRandom(shell, random, 0.85, 1.0, 2.5, 1.0, 1.2);
        star.gravity = 20;
        star.head = Tint(1.0, 0.95, 0.85);
        star.tail = Tint(1.0, 0.7, 0.35);
        star.brightness = 70;
        star.width = 0.55;
        star.sparkRate = 20;
        star.sparkColor = Tint(1.0, 0.75, 0.4);
        star.sparkLife = 0.3;
        star.family = i;
        field.Add(star);
    }
    field.Render(canvas, random);
    AddCore(canvas, shell.center, Tint(1.0, 0.85, 0.6), 5);
}

using Design = void (*)(Canvas&, Random&, const Shell&);

void GoldWillowDesign(Canvas& canvas, Random& random, const Shell& shell)
{
    Willow(canvas, random, shell, 90, Tint(1.0, 0.9, 0.65), Tint(1.0, 0.65, 0.3), Tint(1.0, 0.72, 0.38));
}

void SilverWillowDesign(Canvas& canvas, Random& random, const Shell& shell)
{
    Willow(canvas, random, shell, 55, Tint(0.95, 0.97, 1.0), Tint(1.0, 0.3, 0.35), Tint(0.8, 0.85, 1.0));
}

// One design per cell, each a different kind of shell and colour.
constexpr Design kDesigns[kBurstCount] = {
    RedPeony,
    GoldChrysanthemum,
    GoldWillowDesign,
    BlueRing,
    Palm,
    GreenCrossette,
    SilverStrobe,
    PurplePistil,
    MixedDahlia,
    CracklingChrysanthemum,
    ColourChangingPeony,
    Spider,
    SilverWillowDesign,
};

// Keeps all light inside the revealed disc and away from the cell border.
double RevealWeight(int x, int y, double cx, double cy, double radius)
{
    const double edge = std::min({x + 0.5, y + 0.5, kCellSize - x - 0.5, kCellSize - y - 0.5});
    const double distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
    return SmoothStep(3.0, 10.0, edge) * (1.0 - SmoothStep(radius - 8.0, radius, distance));
}

}  // namespace

std::vector<Rgb8> PaintBurst(int index)
{
    Random random(0xF1AE5EEDull + static_cast<std::uint64_t>(index) * 7919);
    const Point center{kSourceCenterX[index] + 0.5, kSourceCenterY[index] + 0.5};
    const double revealed = kMaxRadius[index] - 2.0;
    const Shell shell{center, revealed - kRadiusMargin};
    Canvas canvas(kCellSize, kCellSize);
    kDesigns[index](canvas, random, shell);
    canvas.AddGlow(2.0, 0.18);
    canvas.AddGlow(8.0, 0.07);
    canvas.Attenuate([&](int x, int y) { return RevealWeight(x, y, center.x, center.y, revealed); });
    std::vector<Rgb8> pixels = canvas.Develop(kSky);
    // A little film grain, so the sky is not a flat fill.
    for (Rgb8& p : pixels) {
        const int grain = random.Below(3) - 1;
        p.r = static_cast<std::uint8_t>(std::clamp(p.r + grain, 0, 255));
        p.g = static_cast<std::uint8_t>(std::clamp(p.g + grain, 0, 255));
        p.b = static_cast<std::uint8_t>(std::clamp(p.b + grain, 0, 255));
    }
    return pixels;
}

std::vector<Rgb8> PaintBurstStrip()
{
    std::vector<Rgb8> strip(static_cast<std::size_t>(kStripWidth) * kStripHeight);
    for (int i = 0; i < kBurstCount; ++i) {
        const std::vector<Rgb8> cell = PaintBurst(i);
        const std::ptrdiff_t left = static_cast<std::ptrdiff_t>(i) * kCellSize;
        for (int y = 0; y < kCellSize; ++y) {
            std::copy_n(cell.begin() + static_cast<std::ptrdiff_t>(y) * kCellSize, kCellSize,
                        strip.begin() + static_cast<std::ptrdiff_t>(y) * kStripWidth + left);
        }
    }
    return strip;
}

}  // namespace media
