#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace media {

namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<double> GaussianKernel(double sigma)
{
    const int reach = std::max(1, static_cast<int>(std::ceil(sigma * 3.0)));
    std::vector<double> kernel(2 * reach + 1);
    double sum = 0;
    for (int i = -reach; i <= reach; ++i) {
        kernel[i + reach] = std::exp(-(i * i) / (2.0 * sigma * sigma));
        sum += kernel[i + reach];
    }
    for (double& k : kernel) {
        k /= sum;
    }
    return kernel;
}

std::uint8_t ToByte(double value) { return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

}  // namespace

Canvas::Canvas(int width, int height) : width_(width), height_(height), light_(static_cast<std::size_t>(width) * height)
{
}

void Canvas::Splat(double x, double y, double sigma, const Light& light)
{
    const int reach = static_cast<int>(std::ceil(sigma * 2.5));
    const int cx = static_cast<int>(std::floor(x));
    const int cy = static_cast<int>(std::floor(y));
    const double norm = 1.0 / (2.0 * kPi * sigma * sigma);
    for (int py = cy - reach; py <= cy + reach + 1; ++py) {
        if (py < 0 || py >= height_) {
            continue;
        }
        const double dy = py + 0.5 - y;
        for (int px = cx - reach; px <= cx + reach + 1; ++px) {
            if (px < 0 || px >= width_) {
                continue;
            }
            const double dx = px + 0.5 - x;
            const double w = norm * std::exp(-(dx * dx + dy * dy) / (2.0 * sigma * sigma));
            At(px, py) += light * w;
        }
    }
}

void Canvas::AddGlow(double sigma, double strength)
{
    const std::vector<double> kernel = GaussianKernel(sigma);
    const int reach = static_cast<int>(kernel.size() / 2);
    std::vector<Light> across(light_.size());
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            Light sum;
            for (int k = -reach; k <= reach; ++k) {
                const int sx = x + k;
                if (sx >= 0 && sx < width_) {
                    sum += At(sx, y) * kernel[k + reach];
                }
            }
            across[static_cast<std::size_t>(y) * width_ + x] = sum;
        }
    }
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            Light sum;
            for (int k = -reach; k <= reach; ++k) {
                const int sy = y + k;
                if (sy >= 0 && sy < height_) {
                    sum += across[static_cast<std::size_t>(sy) * width_ + x] * kernel[k + reach];
                }
            }
            At(x, y) += sum * strength;
        }
    }
}

std::vector<Rgb8> Canvas::Develop(const Light& sky) const
{
    std::vector<Rgb8> pixels(light_.size());
    for (std::size_t i = 0; i < light_.size(); ++i) {
        const Light& l = light_[i];
        pixels[i].r = ToByte(sky.r + (255.0 - sky.r) * (1.0 - std::exp(-l.r)));
        pixels[i].g = ToByte(sky.g + (255.0 - sky.g) * (1.0 - std::exp(-l.g)));
        pixels[i].b = ToByte(sky.b + (255.0 - sky.b) * (1.0 - std::exp(-l.b)));
    }
    return pixels;
}

}  // namespace media
