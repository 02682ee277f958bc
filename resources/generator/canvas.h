#pragma once
// A linear-light RGB film: light is added where it falls, then developed into
// 8-bit pixels the way a long exposure saturates towards white.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace media {

struct Light {
    double r = 0, g = 0, b = 0;

    Light operator*(double k) const { return {r * k, g * k, b * k}; }
    Light operator+(const Light& o) const { return {r + o.r, g + o.g, b + o.b}; }
    Light& operator+=(const Light& o)
    {
        r += o.r;
        g += o.g;
        b += o.b;
        return *this;
    }
};

inline Light Mix(const Light& a, const Light& b, double t) { return a * (1.0 - t) + b * t; }

struct Rgb8 {
    std::uint8_t r = 0, g = 0, b = 0;
};

class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Light& At(int x, int y) { return light_[static_cast<std::size_t>(y) * width_ + x]; }
    const Light& At(int x, int y) const { return light_[static_cast<std::size_t>(y) * width_ + x]; }

    // Adds the light spread as a round gaussian spot; the total stays `light`.
    void Splat(double x, double y, double sigma, const Light& light);

    // Adds a blurred copy of the film scaled by `strength` (the lens's soft glow).
    void AddGlow(double sigma, double strength);

    // Scales every point by `weight(x, y)`.
    template <typename Weight>
    void Attenuate(Weight weight)
    {
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                At(x, y) = At(x, y) * weight(x, y);
            }
        }
    }

    // Develops the exposure: each channel saturates as 1 - exp(-light).
    std::vector<Rgb8> Develop(const Light& sky) const;

private:
    int width_;
    int height_;
    std::vector<Light> light_;
};

}  // namespace media
