#pragma once
// Burning stars of a firework shell, followed through drag and gravity and
// recorded on film as a long exposure: every star leaves its whole path.

#include <vector>

#include "canvas.h"
#include "random.h"

namespace media {

struct Point {
    double x = 0, y = 0;
};

struct Star {
    Point start;              // offset from the burst centre at ignition, pixels
    double vx = 0, vy = 0;    // initial velocity, pixels per second, y downwards
    double drag = 1.5;        // per second
    double gravity = 40;      // pixels per second squared
    double burn = 1.5;        // seconds
    double darkUntil = 0;     // share of the burn spent flying unlit
    Light head{1, 1, 1};      // colour at ignition
    Light tail{1, 1, 1};      // colour when burning out
    double brightness = 100;  // light per second
    double width = 0.8;       // gaussian sigma of the streak, pixels
    double strobeHz = 0;      // blinking rate; 0 burns steadily
    double sparkRate = 0;     // charcoal sparks shed per second
    Light sparkColor{1, 0.6, 0.25};
    double sparkLife = 0.5;  // seconds
    double glitter = 0;      // sparkles per second
    int family = 0;          // stars of one family are scaled to fit together
};

// Offset of the star from the burst centre `t` seconds after ignition.
Point PositionAt(const Star& star, double t);

class StarField {
public:
    // `reach` is the farthest any light may go from the centre; stars also keep
    // `edgeMargin` pixels away from the border of the cell.
    StarField(Point center, double reach, int cellSize, double edgeMargin);

    void Add(const Star& star) { stars_.push_back(star); }

    // Shrinks each family that would leave the allowed area, then exposes all stars.
    void Render(Canvas& canvas, Random& random);

    // How far light may travel from the centre in the direction of `offset`: within
    // the reach and inside the cell shrunk by the margin, with rounded corners.
    double Limit(Point offset) const;

private:
    void FitFamilies(Random& random);
    bool Allowed(Point offset) const;
    void RenderStar(Canvas& canvas, Random& random, const Star& star, double scale) const;
    void RenderSpark(Canvas& canvas, Random& random, Point at, Point velocity, const Star& star, double scale) const;

    Point center_;
    double reach_;
    int cellSize_;
    double edgeMargin_;
    std::vector<Star> stars_;
    std::vector<double> familyScale_;
};

// A sparkle: a bright point with four short diffraction spikes.
void DrawSparkle(Canvas& canvas, Point at, double size, const Light& light);

double SmoothStep(double edge0, double edge1, double x);

}  // namespace media
