#include "star_field.h"

#include <algorithm>
#include <cmath>

namespace media {

namespace {

constexpr double kTwoPi = 6.28318530717958647692;
const Light kWhite{1, 1, 1};

constexpr double kCornerRadius = 50.0;

// Brightness over the star's life u in [0, 1]: quick ignition, slow burn-out.
double LifeEnvelope(double u, double darkUntil)
{
    const double ignition = SmoothStep(darkUntil, darkUntil + 0.14, u);
    const double fade = u < 0.65 ? 1.0 : std::pow(std::max(0.0, 1.0 - u) / 0.35, 1.4);
    return ignition * fade;
}

double Length(Point p) { return std::sqrt(p.x * p.x + p.y * p.y); }

}  // namespace

double SmoothStep(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

Point PositionAt(const Star& star, double t)
{
    const double slowed = (1.0 - std::exp(-star.drag * t)) / star.drag;
    const double fall = star.gravity / star.drag * (t - slowed);
    return {star.start.x + star.vx * slowed, star.start.y + star.vy * slowed + fall};
}

StarField::StarField(Point center, double reach, int cellSize, double edgeMargin)
    : center_(center), reach_(reach), cellSize_(cellSize), edgeMargin_(edgeMargin)
{
}

bool StarField::Allowed(Point offset) const
{
    if (Length(offset) > reach_) {
        return false;
    }
    const double half = cellSize_ * 0.5;
    const double inner = half - edgeMargin_ - kCornerRadius;
    const double qx = std::abs(center_.x + offset.x - half) - inner;
    const double qy = std::abs(center_.y + offset.y - half) - inner;
    const double outside = Length({std::max(qx, 0.0), std::max(qy, 0.0)}) + std::min(std::max(qx, qy), 0.0);
    return outside <= kCornerRadius;
}

double StarField::Limit(Point offset) const
{
    const double length = Length(offset);
    if (length < 1e-9) {
        return reach_;
    }
    const Point unit{offset.x / length, offset.y / length};
    double inside = 0;
    double outside = reach_ + 1.0;
    while (outside - inside > 0.05) {
        const double middle = 0.5 * (inside + outside);
        (Allowed({unit.x * middle, unit.y * middle}) ? inside : outside) = middle;
    }
    return inside;
}

void StarField::FitFamilies(Random& random)
{
    int families = 0;
    for (const Star& star : stars_) {
        families = std::max(families, star.family + 1);
    }
    familyScale_.assign(families, 1.0);
    for (const Star& star : stars_) {
        constexpr int kSamples = 48;
        for (int i = 1; i <= kSamples; ++i) {
            const Point p = PositionAt(star, star.burn * i / kSamples);
            const double ratio = Length(p) / Limit(p);
            if (ratio > 0) {
                familyScale_[star.family] = std::min(familyScale_[star.family], 1.0 / ratio);
            }
        }
    }
    // Stars held back by the border stop short by a little each, as real ones would.
    for (double& scale : familyScale_) {
        if (scale < 1.0) {
            scale *= random.Range(0.88, 1.0);
        }
    }
}

void StarField::Render(Canvas& canvas, Random& random)
{
    FitFamilies(random);
    for (const Star& star : stars_) {
        RenderStar(canvas, random, star, familyScale_[star.family]);
    }
}

void StarField::RenderStar(Canvas& canvas, Random& random, const Star& star, double scale) const
{
    const double flickerPhase = random.Unit();
    const double flickerRate = random.Range(5.0, 11.0);
    const double strobePhase = random.Unit();
    double sparkDue = random.Range(0.2, 1.0) / std::max(star.sparkRate, 1e-9);
    double t = 0;
    Point previous = PositionAt(star, 0);
    while (t < star.burn) {
        const Point ahead = PositionAt(star, t + 1e-3);
        const double speed = Length({ahead.x - previous.x, ahead.y - previous.y}) * 1e3 * scale;
        const double dt = std::clamp(0.3 / std::max(speed, 1e-6), 1e-4, 4e-3);
        t += dt;
        const Point p = PositionAt(star, t);
        const Point velocity{(p.x - previous.x) / dt, (p.y - previous.y) / dt};
        previous = p;

        const double u = t / star.burn;
        const double envelope = LifeEnvelope(u, star.darkUntil);
        double level = envelope * (1.0 + 0.2 * std::sin(kTwoPi * (flickerRate * t + flickerPhase)));
        if (star.strobeHz > 0 && std::fmod(t * star.strobeHz + strobePhase, 1.0) > 0.4) {
            level *= 0.04;
        }
        Light colour = Mix(star.head, star.tail, SmoothStep(0.05, 0.95, u));
        colour = Mix(kWhite, colour, SmoothStep(star.darkUntil, star.darkUntil + 0.1, u));
        const Point at{center_.x + p.x * scale, center_.y + p.y * scale};
        canvas.Splat(at.x, at.y, star.width * (1.0 + 0.25 * u), colour * (star.brightness * level * dt));

        if (star.sparkRate > 0) {
            sparkDue -= dt * envelope;
            while (sparkDue <= 0) {
                sparkDue += random.Range(0.3, 1.7) / star.sparkRate;
                RenderSpark(canvas, random, at, {velocity.x * scale, velocity.y * scale}, star, scale);
            }
        }
        if (star.glitter > 0 && random.Chance(star.glitter * dt * envelope)) {
            const double size = random.Range(2.0, 5.0);
            DrawSparkle(canvas, at, size, colour * (star.brightness * random.Range(0.01, 0.03)));
        }
    }
}

void StarField::RenderSpark(Canvas& canvas, Random& random, Point at, Point velocity, const Star& star,
                            double scale) const
{
    const double life = star.sparkLife * random.Range(0.4, 1.0);
    double vx = velocity.x * 0.15 + random.Gaussian() * 12.0 * scale;
    double vy = velocity.y * 0.15 + random.Gaussian() * 12.0 * scale;
    const Light ember{star.sparkColor.r * 0.9, star.sparkColor.g * 0.35, star.sparkColor.b * 0.1};
    const double dt = 0.01;
    for (double t = 0; t < life; t += dt) {
        const double u = t / life;
        vx -= vx * 4.0 * dt;
        vy += (star.gravity * 1.2 * scale - vy * 4.0) * dt;
        at.x += vx * dt;
        at.y += vy * dt;
        const double level = (1.0 - u) * (1.0 - u);
        canvas.Splat(at.x, at.y, 0.6, Mix(star.sparkColor, ember, u) * (0.6 * level));
    }
}

void DrawSparkle(Canvas& canvas, Point at, double size, const Light& light)
{
    canvas.Splat(at.x, at.y, 0.7, light);
    const int steps = static_cast<int>(size * 3);
    for (int i = 1; i <= steps; ++i) {
        const double d = size * i / steps;
        const Light spike = light * (0.12 * (1.0 - static_cast<double>(i) / (steps + 1)));
        canvas.Splat(at.x + d, at.y, 0.5, spike);
        canvas.Splat(at.x - d, at.y, 0.5, spike);
        canvas.Splat(at.x, at.y + d, 0.5, spike);
        canvas.Splat(at.x, at.y - d, 0.5, spike);
    }
}

}  // namespace media
