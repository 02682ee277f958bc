#include "instruments.h"

#include <algorithm>
#include <cmath>

#include "dsp.h"

namespace media {

namespace {

std::size_t Samples(double seconds) { return static_cast<std::size_t>(seconds * kSampleRate); }

// Fades the last `seconds` of a sound to silence, so no note ends in a click.
void FadeOut(std::vector<double>& sound, double seconds)
{
    const std::size_t fade = std::min(sound.size(), Samples(seconds));
    for (std::size_t i = 0; i < fade; ++i) {
        sound[sound.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(fade);
    }
}

}  // namespace

std::vector<double> Bell(double frequency, double velocity)
{
    const double ring = std::clamp(2.6 - (frequency - 300.0) / 600.0, 0.9, 2.6);
    std::vector<double> sound(Samples(ring * 2.2));
    Control index([](double t) { return 0.3 + 1.6 * std::exp(-t / 0.12); });
    Control decay([&](double t) { return std::exp(-t / ring); });
    Control shimmer([](double t) { return 0.25 * std::exp(-t / 0.25); });
    Control strike([](double t) { return 0.15 * std::exp(-t / 0.015); });
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double phase = kTwoPi * frequency * t;
        const double body = std::sin(phase + index.Next() * std::sin(phase));
        const double partials = shimmer.Next() * std::sin(4.0 * phase) + strike.Next() * std::sin(7.1 * phase);
        const double attack = std::min(1.0, t / 0.002);
        sound[i] = velocity * attack * decay.Next() * (body + partials);
    }
    FadeOut(sound, 0.05);
    return sound;
}

std::vector<double> Harp(double frequency, double velocity, Random& random)
{
    // A string of noise filtered by its own delay line; the averaging in the
    // loop adds half a sample, the rest of the period is interpolated.
    const double delay = kSampleRate / frequency - 0.5;
    const std::size_t whole = static_cast<std::size_t>(delay);
    const double fraction = delay - static_cast<double>(whole);
    const double loss = std::pow(10.0, -3.0 / (2.5 * frequency));
    std::vector<double> sound(Samples(2.2));
    double smooth = 0;
    for (std::size_t i = 0; i < whole + 2; ++i) {
        smooth = smooth * 0.4 + random.Range(-1.0, 1.0) * 0.6;
        sound[i] = smooth;
    }
    for (std::size_t i = whole + 2; i < sound.size(); ++i) {
        const double a = sound[i - whole] * (1.0 - fraction) + sound[i - whole - 1] * fraction;
        const double b = sound[i - whole - 1] * (1.0 - fraction) + sound[i - whole - 2] * fraction;
        sound[i] = loss * 0.5 * (a + b);
    }
    for (std::size_t i = 0; i < sound.size(); ++i) {
        sound[i] *= velocity * std::min(1.0, static_cast<double>(i) / 30.0);
    }
    FadeOut(sound, 0.3);
    return sound;
}

std::vector<double> Strings(double frequency, double seconds, double velocity, double spread)
{
    const double release = 0.7;
    std::vector<double> sound(Samples(seconds + release * 3.0));
    Sawtooth voices[3] = {Sawtooth(spread * 0.37), Sawtooth(spread * 0.71), Sawtooth(spread * 0.13)};
    const double detune[3] = {std::pow(2.0, (-7.0 - spread * 3.0) / 1200.0), 1.0,
                              std::pow(2.0, (6.0 + spread * 3.0) / 1200.0)};
    StateVariableFilter tone;
    tone.Tune(std::min(frequency * 5.0, 2600.0), 0.6);
    Control vibrato([&](double t) { return 1.0 + 0.0025 * std::sin(kTwoPi * (4.7 + spread) * t + spread * 5.0); });
    Control envelope([&](double t) { return Adsr(t, seconds, 0.35, 0.8, 0.85, release); });
    for (double& sample : sound) {
        const double pitch = frequency * vibrato.Next();
        double sum = 0;
        for (int v = 0; v < 3; ++v) {
            sum += voices[v].Next(pitch * detune[v]);
        }
        tone.Process(sum / 3.0);
        sample = tone.Low() * velocity * envelope.Next();
    }
    FadeOut(sound, 0.1);
    return sound;
}

std::vector<double> Horn(double frequency, double seconds, double velocity)
{
    const double release = 0.18;
    std::vector<double> sound(Samples(seconds + release * 5.0));
    Sawtooth saw;
    Sawtooth second(0.5);
    StateVariableFilter tone;
    Control vibrato(
        [](double t) { return 1.0 + 0.006 * std::clamp((t - 0.25) / 0.3, 0.0, 1.0) * std::sin(kTwoPi * 5.3 * t); });
    Control envelope([&](double t) { return Adsr(t, seconds, 0.04, 0.25, 0.8, release); });
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double pitch = frequency * vibrato.Next();
        const double level = envelope.Next();
        if (i % 16 == 0) {
            tone.Tune(frequency * (2.0 + 4.0 * level), 0.8);
        }
        tone.Process(saw.Next(pitch) * 0.7 + second.Next(pitch * 1.002) * 0.3);
        sound[i] = tone.Low() * velocity * level;
    }
    FadeOut(sound, 0.05);
    return sound;
}

std::vector<double> Bass(double frequency, double seconds, double velocity)
{
    std::vector<double> sound(Samples(seconds + 0.5));
    Control harmonics([](double t) { return std::exp(-t / 0.3); });
    Control envelope([&](double t) { return Adsr(t, seconds, 0.006, 0.9, 0.35, 0.08); });
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double phase = kTwoPi * frequency * static_cast<double>(i) / kSampleRate;
        const double wave =
            std::sin(phase) + harmonics.Next() * (0.35 * std::sin(2.0 * phase) + 0.15 * std::sin(3.0 * phase));
        sound[i] = wave * velocity * envelope.Next();
    }
    FadeOut(sound, 0.05);
    return sound;
}

std::vector<double> Drum(double velocity)
{
    std::vector<double> sound(Samples(0.6));
    double phase = 0;
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double frequency = 48.0 + 70.0 * std::exp(-t / 0.04);
        phase += kTwoPi * frequency / kSampleRate;
        const double attack = std::min(1.0, t / 0.002);
        sound[i] = std::sin(phase) * velocity * attack * std::exp(-t / 0.16);
    }
    FadeOut(sound, 0.05);
    return sound;
}

std::vector<double> SleighBells(double velocity, Random& random)
{
    std::vector<double> sound(Samples(0.35));
    StateVariableFilter hiss;
    hiss.Tune(7500.0, 1.2);
    const double jingles[3] = {random.Range(5200, 5600), random.Range(6800, 7300), random.Range(8600, 9100)};
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        hiss.Process(random.Range(-1.0, 1.0));
        double ring = 0;
        for (double f : jingles) {
            ring += std::sin(kTwoPi * f * t);
        }
        const double shake = std::exp(-t / 0.05) * (1.0 + 0.6 * std::exp(-std::pow((t - 0.045) / 0.01, 2.0)));
        const double attack = std::min(1.0, t / 0.003);
        sound[i] = velocity * attack * shake * (hiss.Band() * 0.8 + ring * 0.08);
    }
    FadeOut(sound, 0.05);
    return sound;
}

std::vector<double> Cymbal(double velocity, Random& random)
{
    std::vector<double> sound(Samples(3.0));
    StateVariableFilter air;
    air.Tune(6000.0, 0.7);
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        air.Process(random.Range(-1.0, 1.0));
        const double attack = std::min(1.0, t / 0.01);
        sound[i] = air.High() * velocity * attack * std::exp(-t / 0.9);
    }
    FadeOut(sound, 0.3);
    return sound;
}

}  // namespace media
