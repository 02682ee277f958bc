#include "sound_effects.h"

#include <algorithm>
#include <cmath>

#include "dsp.h"
#include "random.h"

namespace media {

namespace {

double Peak(const std::vector<double>& samples)
{
    double peak = 1e-9;
    for (double s : samples) {
        peak = std::max(peak, std::abs(s));
    }
    return peak;
}

}  // namespace

std::vector<std::uint8_t> LaunchWhoosh()
{
    Random random(0x1A0C4ull);
    std::vector<double> sound(kLaunchSamples);
    StateVariableFilter hiss;
    double whistlePhase = 0;
    const double length = static_cast<double>(kLaunchSamples) / kLaunchSampleRate;
    for (int i = 0; i < kLaunchSamples; ++i) {
        const double t = static_cast<double>(i) / kLaunchSampleRate;
        const double rise = t / length;
        if (i % 8 == 0) {
            hiss.Tune(500.0 + 2500.0 * std::sqrt(rise), 1.4);
        }
        hiss.Process(random.Range(-1.0, 1.0));
        // Loud as it leaves the tube, fading as it climbs away.
        const double swell = std::min(1.0, t / 0.06) * std::exp(-t / 1.1) * (1.0 - rise * rise);
        const double thump = std::exp(-t / 0.05) * std::sin(kTwoPi * 70.0 * t) * 0.8;
        whistlePhase += kTwoPi * (900.0 + 700.0 * rise) / kLaunchSampleRate;
        const double whistle = 0.12 * std::sin(whistlePhase) * std::min(1.0, t / 0.3) * (1.0 - rise);
        const double sparks = random.Chance(0.002 * (1.0 - rise)) ? random.Range(-0.6, 0.6) : 0.0;
        sound[i] = (hiss.Band() * 1.6 + whistle + sparks) * swell + thump;
    }
    const double gain = 100.0 / Peak(sound);
    std::vector<std::uint8_t> bytes(kLaunchSamples);
    for (int i = 0; i < kLaunchSamples; ++i) {
        const double dither = random.Unit();
        const double undither = random.Unit();
        bytes[i] =
            static_cast<std::uint8_t>(std::clamp(std::lround(128.0 + sound[i] * gain + dither - undither), 0L, 255L));
    }
    return bytes;
}

std::vector<std::int16_t> BurstCrackle()
{
    Random random(0xC4AC1Eull);
    std::vector<double> left(kCrackleFrames);
    std::vector<double> right(kCrackleFrames);
    // The boom of the bursting charge.
    StateVariableFilter rumble;
    rumble.Tune(180.0, 0.7);
    for (int i = 0; i < kCrackleFrames; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        rumble.Process(random.Range(-1.0, 1.0));
        const double boom = std::sin(kTwoPi * (45.0 + 30.0 * std::exp(-t / 0.08)) * t) * std::exp(-t / 0.35);
        const double body = rumble.Low() * 3.0 * std::exp(-t / 0.5);
        const double attack = std::min(1.0, t / 0.004);
        left[i] = right[i] = attack * (boom * 0.8 + body);
    }
    // The stars crackling, thick at first and thinning out.
    const double length = static_cast<double>(kCrackleFrames) / kSampleRate;
    for (double t = 0.25; t < length - 0.2;) {
        const double age = (t - 0.25) / (length - 0.45);
        t += random.Range(0.2, 1.8) * (0.004 + 0.05 * age * age);
        const double level = random.Range(0.2, 1.0) * (1.0 - age * 0.85);
        const double pan = random.Range(-0.9, 0.9);
        const int start = static_cast<int>(t * kSampleRate);
        const int pop = static_cast<int>(random.Range(0.0015, 0.004) * kSampleRate);
        for (int k = 0; k < pop && start + k < kCrackleFrames; ++k) {
            const double s = random.Range(-1.0, 1.0) * level * std::exp(-k / (pop * 0.3));
            left[start + k] += s * (1.0 - pan) * 0.5;
            right[start + k] += s * (1.0 + pan) * 0.5;
        }
    }
    // Echo from the surroundings.
    const int echo = static_cast<int>(0.19 * kSampleRate);
    for (int i = echo; i < kCrackleFrames; ++i) {
        left[i] += right[i - echo] * 0.25;
        right[i] += left[i - echo + 37] * 0.25;
    }
    const int fade = kSampleRate / 5;
    for (int i = 0; i < fade; ++i) {
        const double k = static_cast<double>(i) / fade;
        left[kCrackleFrames - 1 - i] *= k;
        right[kCrackleFrames - 1 - i] *= k;
    }
    const double gain = 0.7 * 32767.0 / std::max(Peak(left), Peak(right));
    std::vector<std::int16_t> frames(static_cast<std::size_t>(kCrackleFrames) * 2);
    for (std::size_t i = 0; i < static_cast<std::size_t>(kCrackleFrames); ++i) {
        frames[2 * i] = static_cast<std::int16_t>(std::lround(left[i] * gain));
        frames[2 * i + 1] = static_cast<std::int16_t>(std::lround(right[i] * gain));
    }
    return frames;
}

}  // namespace media
